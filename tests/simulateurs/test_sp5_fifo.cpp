// The simulated SP5's FIFO: order of the signals, codes, word format, transfer size,
// lost words, real-time pacing.
#include "outils_sp5.h"

#include <set>
#include <thread>

using namespace sp5test;

namespace {

// A distinct constant on every input, no noise: every word says which signal it carries.
class FifoSP5 : public SimulateurSP5 {
protected:
    void SetUp() override {
        SimulateurSP5::SetUp();
        SimSP5_SetBruit(0);
        for (int i = 0; i < 8; ++i)
            SimSP5_SetSignal(i, SIMSP5_CONSTANTE, 0, 0, u[i], 0);
        SimSP5_SetAcceleration(1e4);
    }
    // The code expected for the signal carried by input e.
    int attendu(int e, uint8_t modeDiff) const {
        const bool diff = e < 4 && ((modeDiff >> e) & 1);
        return coef.code(e, 0, diff, diff ? u[e] - u[e + 4] : u[e]);
    }

    const double u[8] = {-3.5, -2.5, -1.5, -0.5, 0.5, 1.5, 2.5, 3.5};
};

struct CasOrdre {
    const char* nom;
    uint8_t voies;
    uint8_t modeDiff;
    std::vector<int> ordre;
};

TEST_F(FifoSP5, LesSignauxArriventDansLOrdreDeLaCentrale) {
    const CasOrdre cas[] = {
        {"0, 5, 4 en mode commun", 0x31, 0x00, {0, 5, 4}},
        {"4, 1, 6 en mode commun", 0x52, 0x00, {4, 1, 6}},
        {"toutes en mode commun", 0xFF, 0x00, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"canal 0 différentiel", 0x01, 0x01, {0}},
        {"canal 0 différentiel, bit de EA4 posé à tort", 0x11, 0x01, {0}},
        {"canal 1 différentiel parmi 0, 1, 4", 0x13, 0x02, {0, 1, 4}},
        {"canaux 2 et 3 différentiels, EA4 seule", 0x1C, 0x0C, {4, 2, 3}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        Programme p;
        p.voies = c.voies;
        p.modeDiff = c.modeDiff;
        p.nbPoints = 40;
        programme(p);
        demarre();
        const size_t n = 40 * c.ordre.size();
        const auto mots = litMots(n + 1, 0.05);
        ASSERT_EQ(mots.size(), n) << "exactly the programmed time steps";
        for (size_t k = 0; k < n; ++k)
            ASSERT_EQ(mots[k] >> 4, attendu(c.ordre[k % c.ordre.size()], c.modeDiff)) << k;
        arrete();
        ViderFifo();
    }
}

TEST_F(FifoSP5, LeTransfertEstPlafonneEtPeutCouperUnPasDeTemps) {
    Programme p;
    p.voies = 0x31; // order 0, 5, 4
    p.nbPoints = 100;
    programme(p);
    EXPECT_EQ(TailleTransfertFifo(100), 100);
    demarre();
    uint16_t tampon[256];
    std::vector<uint16_t> mots;
    for (int lu; (lu = LireFifo(tampon)) > 0;) {
        EXPECT_LE(lu, 100);
        mots.insert(mots.end(), tampon, tampon + lu);
    }
    ASSERT_EQ(mots.size(), 300u);
    const int ordre[3] = {0, 5, 4};
    for (size_t k = 0; k < mots.size(); ++k)
        ASSERT_EQ(mots[k] >> 4, attendu(ordre[k % 3], 0)) << "word " << k << " across reads";
}

TEST_F(FifoSP5, LesBitsBasDesMotsNeSontJamaisTousNuls) {
    SimulateurSP5::SetUp(); // the default signals, with noise
    SimSP5_SetAcceleration(1e4);
    Programme p;
    p.voies = 0xFF;
    p.nbPoints = 500;
    programme(p);
    demarre();
    const auto mots = litMots(4000);
    ASSERT_EQ(mots.size(), 4000u);
    std::set<int> quartets;
    for (uint16_t m : mots) {
        ASSERT_NE(m & 0x0F, 0);
        quartets.insert(m & 0x0F);
    }
    EXPECT_GT(quartets.size(), 4u) << "the low bits vary";
}

TEST_F(FifoSP5, LesPertesDeMotsRetirentUnMotSurN) {
    Programme p;
    p.voies = 0x07;
    p.nbPoints = 200;
    programme(p);
    demarre();
    const auto complets = litMots(600);
    ASSERT_EQ(complets.size(), 600u);
    arrete();
    SimSP5_SetPerteMots(7);
    ViderFifo();
    demarre();
    const auto troues = litMots(600, 0.3);
    std::vector<uint16_t> attendus;
    for (size_t k = 0; k < complets.size(); ++k)
        if ((k + 1) % 7 != 0)
            attendus.push_back(complets[k]);
    EXPECT_EQ(troues, attendus);
}

TEST_F(FifoSP5, LesCodesRedonnentLesSignauxParDefaut) {
    SimulateurSP5::SetUp(); // default signals, noise ±1 step
    SimSP5_SetAcceleration(100);
    const int calibres[8] = {0, 1, 0, 1, 2, 1, 1, 3};
    Programme p;
    p.voies = 0xFF;
    std::copy(calibres, calibres + 8, p.calibres);
    p.motPeriode = 199; // 20 µs
    p.nbPoints = 5000;  // 100 ms: whole periods of every default signal
    programme(p);
    demarre();
    const auto mots = litMots(40000);
    ASSERT_EQ(mots.size(), 40000u);
    double pireEcart = 0, maxEA0 = -100, minEA0 = 100, pireNominal = 0;
    for (size_t k = 0; k < mots.size(); ++k) {
        const int e = static_cast<int>(k % 8);
        // The unit's own time of the step (word + 1) × 100 ns × step: the square wave's edges
        // fall exactly on samples and must be computed the same way.
        const double t = static_cast<double>(k / 8) * (200 * 1e-7);
        const int code = mots[k] >> 4;
        const double u = coef.volts(e, calibres[e], false, code);
        const double pas = coef.gain(e, calibres[e]);
        const double ecart = std::fabs(u - SimSP5_Tension(e, t)) / pas;
        pireEcart = std::max(pireEcart, ecart);
        const double r[4] = {10, 5, 1, 0.2};
        const double nominal = code * 2 * r[calibres[e]] / 4096 - r[calibres[e]];
        pireNominal = std::max(pireNominal, std::fabs(nominal - SimSP5_Tension(e, t)) / pas);
        if (e == 0) {
            maxEA0 = std::max(maxEA0, u);
            minEA0 = std::min(minEA0, u);
        }
    }
    EXPECT_LE(pireEcart, 2.0);
    EXPECT_NEAR(maxEA0, 5, 0.02);
    EXPECT_NEAR(minEA0, -5, 0.02);
    EXPECT_GT(pireNominal, 5.0) << "a driver ignoring the calibration is visibly off";
}

TEST_F(FifoSP5, LeBruitEstReproductibleDUneCourseALAutre) {
    SimSP5_SetBruit(3);
    Programme p;
    p.nbPoints = 2000;
    programme(p);
    demarre();
    const auto premiere = litMots(2000);
    arrete();
    ViderFifo();
    demarre();
    const auto seconde = litMots(2000);
    ASSERT_EQ(premiere.size(), 2000u);
    EXPECT_EQ(premiere, seconde);
    std::set<int> codes;
    for (uint16_t m : premiere) {
        EXPECT_LE(std::abs((m >> 4) - attendu(0, 0)), 3);
        codes.insert(m >> 4);
    }
    EXPECT_EQ(codes.size(), 7u) << "every step of the noise shows";
}

TEST_F(FifoSP5, LesEchantillonsArriventAuRythmeProgramme) {
    SimSP5_SetAcceleration(1);
    Programme p;
    p.motPeriode = 999; // 100 µs: 1000 points take 100 ms
    p.nbPoints = 1000;
    programme(p);
    const auto depart = std::chrono::steady_clock::now();
    demarre();
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    uint16_t tampon[256];
    size_t lus = 0;
    for (int n; (n = LireFifo(tampon)) > 0;)
        lus += n;
    const double ecoule =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - depart).count();
    EXPECT_GE(lus, 1u) << "the first sample is due at once";
    EXPECT_LE(static_cast<double>(lus), ecoule / 100e-6 + 1) << "never ahead of time";
    EXPECT_LT(lus, 1000u);
    lus += litMots(1000 - lus, 5).size();
    EXPECT_EQ(lus, 1000u);
    EXPECT_GE(std::chrono::steady_clock::now() - depart, std::chrono::microseconds(99900));
}

TEST_F(FifoSP5, ViderFifoJetteCeQuiEstArrive) {
    SimSP5_SetAcceleration(1e-3); // 100 ms steps take 100 s
    Programme p;
    p.motPeriode = 999999; // 100 ms
    p.nbPoints = 10;
    programme(p);
    demarre();
    ViderFifo();
    uint16_t tampon[256];
    EXPECT_EQ(LireFifo(tampon), 0);
    SimSP5_SetAcceleration(1e6);
    const auto reste = litMots(9);
    ASSERT_EQ(reste.size(), 9u) << "later samples still come";
    EXPECT_EQ(LireFifo(tampon), 0);
}

} // namespace
