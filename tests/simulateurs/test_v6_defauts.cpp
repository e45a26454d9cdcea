// The faults the simulated V6 injects on request: each one as the host sees it.
#include "outils_v6.h"

using namespace v6test;

namespace {

TEST_F(SimulateurV6, DebrancheLaPoigneeDonneDesErreursPuisRebrancheUneUniteNeuve) {
    ASSERT_EQ(commande(h, "N0100"), attendu("N0100", "OK"));
    SimV6_SetDebranche(1);
    DWORD n = 0;
    uint8_t o[4] = {'2'};
    EXPECT_EQ(FT_GetQueueStatus(h, &n), FT_IO_ERROR);
    EXPECT_EQ(FT_Write(h, o, 1, &n), FT_IO_ERROR);
    EXPECT_EQ(FT_Read(h, o, 1, &n), FT_IO_ERROR);
    EXPECT_EQ(FT_SetBaudRate(h, 1250000), FT_IO_ERROR);
    char description[] = "Sysam-V6";
    FT_HANDLE autre = nullptr;
    EXPECT_EQ(FT_OpenEx(description, 2, &autre), FT_DEVICE_NOT_FOUND);
    SimV6_SetDebranche(0);
    EXPECT_EQ(FT_GetQueueStatus(h, &n), FT_IO_ERROR) << "the old handle stays dead";
    EXPECT_EQ(FT_Close(h), FT_OK);
    h = ouvrePort();
    // A freshly powered unit: the run takes the default number of steps (1010).
    ecrit(h, "F");
    EXPECT_EQ(lit(h, 9), octets("F:03F2@\n\r"));
    ecrit(h, "\x1B");
    EXPECT_EQ(lit(h, 1), octets("\x1B"));
}

TEST_F(SimulateurV6, UnEchoSurNSePerd) {
    SimV6_SetEchoPerdu(3);
    // The third character has no echo: a driver stops there and the reply never comes.
    EXPECT_EQ(commande(h, "V00040F0F0F"), octets("V0"));
    SimV6_SetEchoPerdu(0);
    // The unfinished command is forgotten after half a second, or at ESC.
    ecrit(h, "\x1B");
    EXPECT_EQ(lit(h, 1), octets("\x1B"));
    EXPECT_EQ(commande(h, "2"), attendu("2", "V6SIMUL"));
}

TEST_F(SimulateurV6, LesDefautsDeTrame) {
    struct Cas {
        int32_t defaut;
        std::string recu;
    };
    for (const Cas& c :
         {Cas{SIMV6_SANS_DEUX_POINTS, "2V6SIMUL@\n\r"}, Cas{SIMV6_SANS_AROBASE, "2:V6SIMUL\n\r"},
          Cas{SIMV6_SANS_LF, "2:V6SIMUL@\r"}, Cas{SIMV6_SANS_CR, "2:V6SIMUL@\n"},
          Cas{SIMV6_REPONSE_VIDE, "2:@\n\r"}}) {
        SCOPED_TRACE(c.defaut);
        SimV6_SetDefautReponse(c.defaut, 2); // the second reply from now
        EXPECT_EQ(commande(h, "2"), attendu("2", "V6SIMUL"));
        ecrit(h, "2");
        EXPECT_EQ(litTout(h, 0.05), octets(c.recu));
        EXPECT_EQ(commande(h, "2"), attendu("2", "V6SIMUL"));
        SimV6_SetDefautReponse(SIMV6_REPONSE_NORMALE, 0);
    }
}

TEST_F(SimulateurV6, UnEchoEnRetard) {
    SimV6_SetRetardEcho(0.3);
    const auto debut = std::chrono::steady_clock::now();
    ecrit(h, "2");
    const Octets r = lit(h, 12);
    EXPECT_GE(std::chrono::steady_clock::now() - debut, std::chrono::milliseconds(300));
    EXPECT_EQ(r, attendu("2", "V6SIMUL")) << "late, but whole";
}

TEST_F(SimulateurV6, LEnregistrementDeCalibrageSArreteEnRoute) {
    SimV6_SetCalibrageInterrompu(40);
    ecrit(h, "0");
    const Octets r = litTout(h, 0.1);
    ASSERT_EQ(r.size(), 2u + 40);
    EXPECT_EQ(r[1], ':');
    SimV6_SetCalibrageInterrompu(-1);
    ecrit(h, "0");
    EXPECT_EQ(lit(h, 133).size(), 133u);
}

TEST_F(SimulateurV6, UnOctetDEchantillonSurNSePerd) {
    programme("V000F0F0F0F", 0xF830, 35, "E0000000", 0);
    SimV6_SetPerteOctets(7);
    ASSERT_TRUE(demarre(h, 'F', 35).complet);
    const Octets r = litTout(h, 0.1);
    EXPECT_EQ(r.size(), 70u - 10) << "the 7th, 14th … sample bytes are lost";
    Octets attendus;
    for (int s = 0; s < 35; ++s) {
        const int c = codeDe(0, SimV6_Tension(0, s * 1e-4));
        attendus.push_back(static_cast<uint8_t>(c & 0xFF));
        attendus.push_back(static_cast<uint8_t>(c >> 8));
    }
    for (std::size_t k = 7; k <= attendus.size(); k += 6)
        attendus.erase(attendus.begin() + static_cast<std::ptrdiff_t>(k - 1));
    EXPECT_EQ(r, attendus);
}

TEST_F(SimulateurV6, UnDeclenchementQuiNeVientJamais) {
    SimV6_SetDeclenchementAbsent(1);
    const int seuil = codeDe(0, 2);
    programme("V000F0F0F0F", 0xF830, 20, "E202" + hex4(seuil).substr(1) + "0", 4);
    ecrit(h, "F");
    EXPECT_EQ(litTout(h, 0.2), octets("F")) << "a sine through 2 V, yet no report";
    ecrit(h, "\x1B");
    EXPECT_EQ(lit(h, 1), octets("\x1B"));
    SimV6_SetDeclenchementAbsent(0);
    ASSERT_TRUE(demarre(h, 'F', 20).complet) << "the next run triggers";
}

TEST_F(SimulateurV6, DesOctetsDEchantillonEgauxAuxCaracteresDuProtocole) {
    SimV6_SetOctetsPieges(1);
    programme("V00040F0F0F", 0xF830, 6, "E0000000", 0);
    ASSERT_TRUE(demarre(h, 'F', 6).complet);
    const Octets r = lit(h, 24);
    ASSERT_EQ(r.size(), 24u);
    for (std::size_t k = 0; k < r.size(); k += 2)
        EXPECT_EQ(r[k], (Octets{0x1B, ':', '@'}[(k / 2) % 3])) << k;
}

} // namespace
