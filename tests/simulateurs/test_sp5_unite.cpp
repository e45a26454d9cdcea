// The simulated SP5 seen through its library: registers, calibration record, direct
// measurement, unplugging, untrusted arguments.
#include "outils_sp5.h"

#include <set>

using namespace sp5test;

namespace {

TEST_F(SimulateurSP5, ChaqueRegistreEcritSeRelit) {
    const auto valeur = [](int adr) {
        const uint8_t v = static_cast<uint8_t>(adr * 37 + 11);
        return adr == 0x24 ? static_cast<uint8_t>(v & 0xEE) : v; // no run, no measurement
    };
    for (int adr = 0; adr <= 0x72; ++adr)
        EcrireRegistre(static_cast<uint8_t>(adr), valeur(adr));
    for (int adr = 0; adr <= 0x72; ++adr) {
        SCOPED_TRACE(adr);
        const bool capteur = adr >= 0x41 && adr <= 0x44;
        EXPECT_EQ(LireRegistre(static_cast<uint8_t>(adr)), capteur ? 0 : valeur(adr));
    }
}

TEST_F(SimulateurSP5, LEnregistrementDeCalibrageSuitSonPlan) {
    uint8_t record[379 + 8];
    std::memset(record, 0xAB, sizeof record);
    RecupereCalibration(record);
    EXPECT_EQ(record[379], 0xAB) << "the record is 379 bytes";
    EXPECT_EQ(std::string(reinterpret_cast<char*>(record + 2), record[1]), "SPSIMUL");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(record + 367), record[366]), "SPSIMUL");
    double date = 0;
    std::memcpy(&date, record + 350, 8);
    EXPECT_GT(date, 40000);
    EXPECT_LT(date, 50000);

    const double r[4] = {10, 5, 1, 0.2};
    std::set<float> gains, offsets;
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 4; ++k) {
            const double nominal = 2 * r[k] / 4096;
            EXPECT_LE(std::fabs(coef.ampli[4 * c + k] / nominal - 1), 0.02);
            EXPECT_GE(std::fabs(coef.ampli[4 * c + k] / nominal - 1), 0.004);
            EXPECT_LE(std::fabs(coef.offsetDiff[4 * c + k] + r[k]), 0.05);
            gains.insert(coef.ampli[4 * c + k]);
        }
    for (int i = 0; i < 8; ++i)
        for (int k = 0; k < 4; ++k) {
            EXPECT_LE(std::fabs(coef.offset[4 * i + k] + r[k]), 0.05);
            EXPECT_GT(std::fabs(coef.offset[4 * i + k] + r[k]), 0);
            offsets.insert(coef.offset[4 * i + k]);
        }
    EXPECT_EQ(gains.size(), 16u) << "every channel and range has its own gain";
    EXPECT_EQ(offsets.size(), 32u);
}

TEST_F(SimulateurSP5, LeGainNulNeToucheQueLEnregistrement) {
    SimSP5_SetBruit(0);
    Programme p;
    p.nbPoints = 50;
    SimSP5_SetAcceleration(1e4);
    programme(p);
    demarre();
    const auto avant = litMots(50);
    arrete();

    SimSP5_SetGainNul(1);
    const Coefficients nul = Coefficients::lus();
    for (float a : nul.ampli)
        EXPECT_EQ(a, 0.0f);
    EXPECT_EQ(nul.offset[5], coef.offset[5]);
    ViderFifo();
    demarre();
    EXPECT_EQ(litMots(50), avant) << "the unit converts with its true coefficients";
}

TEST_F(SimulateurSP5, LaMesureDirecteRemplitLesRegistresDeChaqueEntree) {
    SimSP5_SetBruit(0);
    const double u[8] = {3.2, -1.7, 0.45, 0.12, 4.1, -0.8, 0.3, -0.05};
    const int calibres[8] = {0, 1, 2, 3, 1, 1, 2, 3};
    for (int i = 0; i < 8; ++i)
        SimSP5_SetSignal(i, SIMSP5_CONSTANTE, 0, 0, u[i], 0);
    Programme p;
    p.modeDiff = 0x02; // channel 1 measures EA1 − EA5
    std::copy(calibres, calibres + 8, p.calibres);
    programme(p);
    EcrireRegistre(0x24, 0x10);
    EcrireRegistre(0x24, 0x11);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        const int bas = LireRegistre(static_cast<uint8_t>(0x53 + 2 * i));
        const int haut = LireRegistre(static_cast<uint8_t>(0x54 + 2 * i));
        const int code = ((haut << 4) & 0xFFF) | (bas >> 4);
        const bool diff = i == 1;
        const double tension = diff ? u[1] - u[5] : u[i];
        EXPECT_EQ(code, coef.code(i, calibres[i], diff, tension));
        EXPECT_NE(bas & 0x0F, 0);
    }
    uint16_t tampon[256];
    EXPECT_EQ(LireFifo(tampon), 0) << "a direct measurement starts no run";
    EcrireRegistre(0x24, 0x00);
}

TEST_F(SimulateurSP5, DebrancheeLaCentraleSeTaitEtRebrancheeElleRepart) {
    SimSP5_SetAcceleration(1e4);
    programme(Programme{});
    demarre();
    SimSP5_SetDebranche(1);
    EXPECT_FALSE(Present());
    for (int adr : {0x00, 0x09, 0x24, 0x41, 0x6B})
        EXPECT_EQ(LireRegistre(static_cast<uint8_t>(adr)), 0xFF);
    uint16_t tampon[256];
    EXPECT_EQ(LireFifo(tampon), 0);
    EcrireRegistre(0x00, 0x05);
    uint8_t record[379] = {};
    RecupereCalibration(record);
    EXPECT_EQ(record[1], 7) << "the record is given even without the unit";

    SimSP5_SetDebranche(0);
    EXPECT_TRUE(Present());
    EXPECT_EQ(LireRegistre(0x00), 0) << "a freshly powered unit";
    EXPECT_EQ(LireFifo(tampon), 0) << "the run did not survive";
    programme(Programme{});
    demarre();
    EXPECT_EQ(litMots(1000).size(), 1000u);
}

TEST_F(SimulateurSP5, SeulLeFrontMontantDuBitDeMarcheArme) {
    SimSP5_SetAcceleration(1e4);
    Programme p;
    p.nbPoints = 600;
    programme(p);
    demarre();
    const auto reference = litMots(600);
    arrete();
    ViderFifo();
    TailleTransfertFifo(100); // the reads stop at 300 words
    demarre();
    auto mots = litMots(300);
    ASSERT_EQ(mots.size(), 300u);
    EcrireRegistre(0x24, 0x01); // written again while running: no new run
    EcrireRegistre(0x00, 0x03); // settings wait for the next rise
    const auto suite = litMots(300);
    mots.insert(mots.end(), suite.begin(), suite.end());
    ASSERT_EQ(reference.size(), 600u);
    EXPECT_EQ(mots, reference);
}

TEST_F(SimulateurSP5, ResetArreteLaCourse) {
    programme(Programme{});
    demarre();
    Reset();
    EXPECT_EQ(LireRegistre(0x24), 0);
    SimSP5_SetAcceleration(1e4);
    uint16_t tampon[256];
    EXPECT_EQ(LireFifo(tampon), 0);
    EXPECT_EQ(LireRegistre(0x00), 0x01) << "the programming stays";
}

TEST_F(SimulateurSP5, LesArgumentsAbsurdesNeFontNiPlanterNiAttendre) {
    EXPECT_EQ(LireFifo(nullptr), 0);
    RecupereCalibration(nullptr);
    EcrireFifo(nullptr, -5);
    AfficheInfos();
    EXPECT_EQ(SimSP5_Configurer(nullptr), 0);
    SimSP5_SetSignal(-1, SIMSP5_SINUS, 1, 1, 0, 0);
    SimSP5_SetSignal(8, SIMSP5_SINUS, 1, 1, 0, 0);
    SimSP5_SetSignal(0, 99, 1, 1, 0, 0);
    SimSP5_SetSignal(0, SIMSP5_SINUS, NAN, 1, 0, 0);
    EXPECT_NEAR(SimSP5_Tension(0, 0.0025), 5, 1e-9) << "bad signals are ignored";
    EXPECT_EQ(SimSP5_Tension(9, 0.1), 0);
    EXPECT_EQ(SimSP5_Tension(0, NAN), 0);
    SimSP5_SetAcceleration(NAN);
    SimSP5_SetAcceleration(-4);
    SimSP5_SetAcceleration(1e300);
    SimSP5_SetBruit(-7);
    SimSP5_SetPerteMots(-3);
    SimSP5_SetFrontExterne(NAN);

    struct Cas {
        const char* nom;
        Programme p;
    };
    Programme zeroPoint, enorme, octetAbsurde, seuilHors, sansVoie, periodeEnorme;
    zeroPoint.nbPoints = 0;
    enorme.nbPoints = 0xFFFFFF;
    enorme.motPeriode = 0;
    enorme.voies = 0xFF;
    octetAbsurde.declenchement = 0xFF;
    seuilHors.declenchement = 0x06;
    seuilHors.seuil = 0xFFFF;
    seuilHors.pretrig = 0xFFFFFF;
    sansVoie.voies = 0;
    periodeEnorme.motPeriode = 0xFFFFFFFFFFull;
    const Cas cas[] = {{"0 point", zeroPoint},          {"points sans fin", enorme},
                       {"octet absurde", octetAbsurde}, {"seuil hors échelle", seuilHors},
                       {"aucune voie", sansVoie},       {"période énorme", periodeEnorme}};
    uint16_t tampon[256];
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        SimSP5_SetAcceleration(1e9);
        programme(c.p);
        demarre();
        const auto debut = std::chrono::steady_clock::now();
        for (int k = 0; k < 20; ++k) {
            const int32_t n = LireFifo(tampon);
            EXPECT_GE(n, 0);
            EXPECT_LE(n, 256);
        }
        ViderFifo();
        EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::milliseconds(500));
        arrete();
    }
}

TEST_F(SimulateurSP5, LaTailleDeTransfertEstRameneeEntre1Et256) {
    const std::pair<int32_t, int32_t> cas[] = {{100, 100}, {0, 1}, {-5, 1}, {1000, 256}, {1, 1}};
    for (auto [demande, attendue] : cas)
        EXPECT_EQ(TailleTransfertFifo(demande), attendue) << demande;
}

} // namespace
