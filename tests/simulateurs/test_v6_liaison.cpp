// The simulated V6 seen through its D2XX functions: opening, port settings, echo, the
// framing of every command, the calibration record, untrusted arguments.
#include "outils_v6.h"

#include <cmath>
#include <set>

using namespace v6test;

namespace {

TEST(OuvertureV6, SeulementParSaDescriptionEtUneFoisALaFois) {
    SimV6_Reinitialiser();
    struct Cas {
        const char* description;
        DWORD flags;
    };
    for (const Cas& c : {Cas{"Sysam-V6", FT_OPEN_BY_SERIAL_NUMBER}, Cas{"Sysam-V5", 2},
                         Cas{"sysam-v6", 2}, Cas{"Sysam-V6 ", 2}, Cas{"", 2}}) {
        std::string d = c.description;
        FT_HANDLE h = &d; // overwritten
        EXPECT_EQ(FT_OpenEx(d.data(), c.flags, &h), FT_DEVICE_NOT_FOUND) << c.description;
        EXPECT_EQ(h, nullptr);
    }
    EXPECT_EQ(FT_OpenEx(nullptr, 2, nullptr), FT_INVALID_PARAMETER);
    FT_HANDLE sansDescription = nullptr;
    EXPECT_EQ(FT_OpenEx(nullptr, 2, &sansDescription), FT_DEVICE_NOT_FOUND);

    char description[] = "Sysam-V6";
    FT_HANDLE h = nullptr, autre = nullptr;
    ASSERT_EQ(FT_OpenEx(description, 2, &h), FT_OK);
    EXPECT_NE(h, nullptr);
    EXPECT_NE(FT_OpenEx(description, 2, &autre), FT_OK) << "the device is in use";
    EXPECT_EQ(FT_Close(h), FT_OK);
    EXPECT_EQ(FT_Close(h), FT_INVALID_HANDLE) << "closed once";
    DWORD n = 0;
    EXPECT_EQ(FT_GetQueueStatus(h, &n), FT_INVALID_HANDLE);
    ASSERT_EQ(FT_OpenEx(description, 2, &autre), FT_OK);
    EXPECT_NE(autre, h) << "a new handle each time";
    EXPECT_EQ(FT_GetQueueStatus(h, &n), FT_INVALID_HANDLE) << "an old handle stays dead";
    EXPECT_EQ(FT_Close(autre), FT_OK);
}

TEST(OuvertureV6, LeJournalGardeLaSequenceEtLesReglages) {
    SimV6_Reinitialiser();
    FT_HANDLE h = ouvrePort();
    EXPECT_EQ(FT_Close(h), FT_OK);
    char texte[512];
    const int32_t n = SimV6_Journal(texte, sizeof texte);
    EXPECT_EQ(std::string(texte),
              "FT_OpenEx(Sysam-V6,2);FT_SetBaudRate(1250000);FT_SetDataCharacteristics(8,0,0);"
              "FT_SetFlowControl(0x0100,0x11,0x13);FT_SetChars(0,0,0,0);"
              "FT_SetTimeouts(100,1000);FT_SetRts;FT_Purge(1);FT_Purge(2);FT_Close;");
    EXPECT_EQ(n, static_cast<int32_t>(std::strlen(texte)));
    char court[5];
    EXPECT_EQ(SimV6_Journal(court, sizeof court), n) << "the whole length, whatever fits";
    EXPECT_STREQ(court, "FT_O");
    SimV6_ViderJournal();
    EXPECT_EQ(SimV6_Journal(nullptr, 0), 0);
}

// At another speed or framing the unit hears noise: no echo, nothing done.
TEST(OuvertureV6, LUniteNEntendQueLeBonReglage) {
    SimV6_Reinitialiser();
    struct Cas {
        ULONG baud;
        UCHAR bits, stop, parite;
        bool entendu;
    };
    for (const Cas& c :
         {Cas{1250000, 8, 0, 0, true}, Cas{1240000, 8, 0, 0, true}, Cas{115200, 8, 0, 0, false},
          Cas{3000000, 8, 0, 0, false}, Cas{1250000, 7, 0, 0, false}, Cas{1250000, 8, 2, 0, false},
          Cas{1250000, 8, 0, 2, false}}) {
        SCOPED_TRACE(c.baud);
        char description[] = "Sysam-V6";
        FT_HANDLE h = nullptr;
        ASSERT_EQ(FT_OpenEx(description, 2, &h), FT_OK);
        ASSERT_EQ(FT_SetBaudRate(h, c.baud), FT_OK);
        ASSERT_EQ(FT_SetDataCharacteristics(h, c.bits, c.stop, c.parite), FT_OK);
        const int64_t avant = SimV6_OctetsRecus();
        ecrit(h, "2");
        EXPECT_EQ(lit(h, 12, c.entendu ? 1 : 0.05), c.entendu ? attendu("2", "V6SIMUL") : Octets{});
        EXPECT_EQ(SimV6_OctetsRecus() - avant, c.entendu ? 1 : 0);
        EXPECT_EQ(FT_Close(h), FT_OK);
    }
}

TEST_F(SimulateurV6, ChaqueCommandeEstEnvoyeeEnEchoPuisRepondueEnTrame) {
    SimV6_SetSignal(1, SIMV6_CONSTANTE, 0, 0, 2.5, 0);
    struct Cas {
        std::string commande;
        std::string reponse; // "?" : three hexadecimal digits
    };
    const std::string code = hex4(codeDe(1, 2.5)).substr(1);
    for (const Cas& c : {
             Cas{"I", "OK"},
             Cas{"2", "V6SIMUL"},
             Cas{"V00040F0F0F", "OK"},
             Cas{"V0F0F0F0F0F", "OK"},
             Cas{"V080002040F", "OK"}, // the output first, then the inputs
             Cas{"V00000F0F0F", ""},   // an input twice
             Cas{"V01040F0F0F", ""},   // not an input of this unit
             Cas{"V10040F0F0F", ""},
             Cas{"PF830", "OK"},
             Cas{"P0000", "OK"},
             Cas{"Pf830", ""}, // upper-case digits only
             Cas{"N03F2", "OK"},
             Cas{"N0000", ""},
             Cas{"E0000000", "OK"},
             Cas{"E1020000", "OK"},
             Cas{"E2027FF0", "OK"},
             Cas{"E3020014", "OK"},
             Cas{"E2027FF1", ""}, // no input 1 in the code table of this unit
             Cas{"E5000000", ""},
             Cas{"O00FE", "OK"},
             Cas{"OXYZW", ""},
             Cas{"A2", code},
             Cas{"A6", ""},
         }) {
        SCOPED_TRACE(c.commande);
        EXPECT_EQ(commande(h, c.commande), attendu(c.commande, c.reponse));
    }
}

TEST_F(SimulateurV6, UnOctetQuiNEstPasUnOrdreEstRenvoyeSansReponse) {
    ecrit(h, "xZ\x1B");
    EXPECT_EQ(lit(h, 3), octets("xZ\x1B"));
    EXPECT_EQ(litTout(h, 0.05), Octets{});
    // ESC forgets a command begun.
    ecrit(h, "PF8\x1B");
    EXPECT_EQ(lit(h, 4), octets("PF8\x1B"));
    EXPECT_EQ(commande(h, "2"), attendu("2", "V6SIMUL"));
}

TEST_F(SimulateurV6, UneCommandeEnvoyeeDUnBlocEstComprise) {
    ecrit(h, "N0010I");
    EXPECT_EQ(lit(h, 18), octets("N0010:OK@\n\rI:OK@\n\r"));
}

TEST_F(SimulateurV6, LEnregistrementDeCalibrageSuitSonPlan) {
    ecrit(h, "0");
    const Octets r = lit(h, 1 + 1 + 128 + 3);
    ASSERT_EQ(r.size(), 133u);
    EXPECT_EQ(r[0], '0');
    EXPECT_EQ(r[1], ':');
    EXPECT_EQ(std::string(r.end() - 3, r.end()), "@\n\r");
    EXPECT_EQ(litTout(h, 0.05), Octets{}) << "nothing after the record";
    const uint8_t* record = r.data() + 2;
    const auto single = [&](int offset) {
        float f = 0;
        std::memcpy(&f, record + offset, 4);
        return static_cast<double>(f);
    };
    std::set<double> gains, offsets;
    for (int e = 0; e < 3; ++e) {
        SCOPED_TRACE(e);
        double gain = 0, offset = 0;
        SimV6_Coefficients(e, &gain, &offset);
        EXPECT_EQ(single(4 * e), gain);
        EXPECT_EQ(single(16 + 4 * e), offset);
        const double ecartGain = std::abs(gain / (50.0 / 4096) - 1);
        EXPECT_GE(ecartGain, 0.004);
        EXPECT_LE(ecartGain, 0.021);
        EXPECT_GE(std::abs(offset + 25), 0.04);
        EXPECT_LE(std::abs(offset + 25), 0.13);
        gains.insert(gain);
        offsets.insert(offset);
    }
    EXPECT_EQ(gains.size(), 3u) << "each input its own gain";
    EXPECT_EQ(offsets.size(), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record + 64)), "V6SIMUL");
    EXPECT_EQ(record[64 + 15], 0);
    EXPECT_GT(std::strlen(reinterpret_cast<const char*>(record + 80)), 0u);
}

TEST_F(SimulateurV6, LaLectureDirecteDonneLaTensionDuMoment) {
    SimV6_SetSignal(0, SIMV6_CONSTANTE, 0, 0, -3.2, 0);
    SimV6_SetSignal(2, SIMV6_CONSTANTE, 0, 0, 20.5, 0);
    SimV6_SetBruit(1);
    for (const auto& [c, e, u] : {std::tuple{"A0", 0, -3.2}, std::tuple{"A4", 2, 20.5}}) {
        const Octets r = commande(h, c);
        ASSERT_EQ(r.size(), 2u + 1 + 3 + 3) << c;
        const int code = std::stoi(std::string(r.begin() + 3, r.begin() + 6), nullptr, 16);
        EXPECT_NEAR(code, codeDe(e, u), 1) << c;
    }
}

TEST_F(SimulateurV6, LesArgumentsDouteuxNeFontRienCasser) {
    DWORD n = 0;
    uint8_t o[4];
    EXPECT_EQ(FT_Read(h, nullptr, 4, &n), FT_INVALID_PARAMETER);
    EXPECT_EQ(FT_Read(h, o, 4, nullptr), FT_INVALID_PARAMETER);
    EXPECT_EQ(FT_Write(h, nullptr, 4, &n), FT_INVALID_PARAMETER);
    EXPECT_EQ(FT_GetQueueStatus(h, nullptr), FT_INVALID_PARAMETER);
    EXPECT_EQ(FT_SetBaudRate(h, 0), FT_INVALID_PARAMETER);
    EXPECT_EQ(FT_Read(nullptr, o, 4, &n), FT_INVALID_HANDLE);
    EXPECT_EQ(FT_Write(o, o, 4, &n), FT_INVALID_HANDLE);
    SimV6_SetSignal(5, SIMV6_SINUS, 1, 1, 0, 0);
    SimV6_SetSignal(0, 99, 1, 1, 0, 0);
    SimV6_SetSignal(0, SIMV6_SINUS, NAN, 1, 0, 0);
    EXPECT_NEAR(SimV6_Tension(0, 0.0025), 5, 1e-9) << "the default sine stays";
    EXPECT_EQ(SimV6_Tension(3, 0.1), 0);
    EXPECT_EQ(SimV6_Tension(0, NAN), 0);
    double g = -1;
    SimV6_Coefficients(3, &g, nullptr);
    EXPECT_EQ(g, -1);
    // A read that asks for more than comes ends with the read time-out (100 ms).
    const auto debut = std::chrono::steady_clock::now();
    EXPECT_EQ(FT_Read(h, o, 4, &n), FT_OK);
    EXPECT_EQ(n, 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(2));
}

TEST(SignauxV6, LesSignauxParDefautSontCeuxDuMode) {
    SimV6_Reinitialiser();
    struct Cas {
        int entree;
        double t, u;
    };
    for (const Cas& c : {Cas{0, 0.0025, 5}, Cas{0, 0.0075, -5}, Cas{0, 0.01, 0}, Cas{1, 0.001, 2},
                         Cas{1, 0.011, -2}, Cas{1, 0.021, 2}, Cas{2, 0, 0},
                         Cas{2, 0.01, 4.5 * (1 - std::exp(-1.0))},
                         Cas{2, 0.1 + 0.02, 4.5 * (1 - std::exp(-2.0))}}) {
        EXPECT_NEAR(SimV6_Tension(c.entree, c.t), c.u, 1e-6) << c.entree << " " << c.t;
    }
}

} // namespace
