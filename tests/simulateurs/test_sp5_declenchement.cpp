// Threshold and external triggers of the simulated SP5, with the pretrigger samples kept
// from before the trigger and the registers read back after it.
#include "outils_sp5.h"

#include <numbers>

using namespace sp5test;

namespace {

constexpr double dt = 10e-6;      // period word 99
constexpr uint32_t pretrig = 503; // 500 time steps before the "pre" sample
constexpr uint32_t nbPoints = 2000;

class DeclenchementSP5 : public SimulateurSP5 {
protected:
    void SetUp() override {
        SimulateurSP5::SetUp();
        SimSP5_SetAcceleration(1000);
    }
    // The absolute time step of the stream's first sample: the one among candidates for
    // which every sample decodes to EA0's signal within 2 steps; −1 when none does.
    long debutDuFlux(const std::vector<uint16_t>& mots, long candidat) const {
        for (long d = candidat - 3; d <= candidat + 3; ++d) {
            bool accord = d >= 0;
            for (size_t k = 0; accord && k < mots.size(); ++k) {
                const double u = coef.volts(0, 0, false, mots[k] >> 4);
                accord = std::fabs(u - SimSP5_Tension(0, (d + static_cast<long>(k)) * dt)) <=
                         2 * coef.gain(0, 0);
            }
            if (accord)
                return d;
        }
        return -1;
    }
};

struct CasSeuil {
    const char* nom;
    bool montant;
    double tFranchissement; // the first crossing of 1 V by EA0 that leaves 500 steps before
};

TEST_F(DeclenchementSP5, LeSeuilDeclencheAvecSesPointsDAvant) {
    const double t0 = std::asin(0.2) / (2 * std::numbers::pi * 100); // 5 sin(2π 100 t) = 1 V
    const CasSeuil cas[] = {
        // the crossings at t0 and 5 ms − t0 come before 500 steps exist: refused
        {"montant", true, 0.01 + t0},
        {"descendant", false, 0.015 - t0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const int seuil = coef.code(0, 0, false, 1.0);
        Programme p;
        p.motPeriode = 99;
        p.nbPoints = nbPoints;
        p.declenchement = c.montant ? 0x06 : 0x02;
        p.seuil = static_cast<uint16_t>(seuil);
        p.pretrig = pretrig;
        p.hysteresis = static_cast<uint8_t>(coef.code(0, 0, false, 0.025) >> 8);
        programme(p);
        ViderFifo();
        demarre();
        const auto mots = litMots(nbPoints);
        ASSERT_EQ(mots.size(), nbPoints);
        EXPECT_EQ(litOctets(0x20, 3), pretrig);

        const uint16_t pre = static_cast<uint16_t>(litOctets(0x6B, 2));
        const uint16_t post = static_cast<uint16_t>(litOctets(0x6D, 2));
        if (c.montant) {
            EXPECT_LT(pre >> 4, seuil);
            EXPECT_GE(post >> 4, seuil);
        } else {
            EXPECT_GT(pre >> 4, seuil);
            EXPECT_LE(post >> 4, seuil);
        }
        EXPECT_EQ(mots[pretrig - 3], pre);
        EXPECT_EQ(mots[pretrig - 2], post);

        const long preAttendu = std::lround(std::floor(c.tFranchissement / dt));
        const long d = debutDuFlux(mots, preAttendu - (pretrig - 3));
        ASSERT_GE(d, 0) << "the stream follows EA0 step by step";
        EXPECT_NEAR((d + pretrig - 3) * dt, c.tFranchissement, 2 * dt);
        arrete();
    }
}

// A single charge from t = 0 (no period): EA0 crosses 1 V once, at 2.5 ms (step 251).
TEST_F(DeclenchementSP5, UnFranchissementAvantLesPointsDAvantEstRefuse) {
    SimSP5_SetSignal(0, SIMSP5_CHARGE, 4.5, 0, 0, 0.01);
    const double tFranchissement = -0.01 * std::log(1 - 1 / 4.5);
    struct Cas {
        uint32_t pretrig;
        bool declenche;
    };
    for (const Cas c : {Cas{203, true}, Cas{503, false}}) {
        SCOPED_TRACE(c.pretrig);
        Programme p;
        p.declenchement = 0x06;
        p.seuil = static_cast<uint16_t>(coef.code(0, 0, false, 1.0));
        p.pretrig = c.pretrig;
        p.nbPoints = 400;
        programme(p);
        ViderFifo();
        demarre();
        const auto mots = litMots(400, c.declenche ? 5 : 0.1);
        if (!c.declenche) {
            EXPECT_TRUE(mots.empty()) << "the only crossing comes before 500 steps exist";
        } else {
            ASSERT_EQ(mots.size(), 400u);
            EXPECT_EQ(mots[200], litOctets(0x6B, 2));
            const long pre = std::lround(std::floor(tFranchissement / dt));
            // The slow charge moves less than a step per sample: a few starts fit.
            EXPECT_NEAR(debutDuFlux(mots, pre - 200), pre - 200, 3);
        }
        arrete();
    }
}

TEST_F(DeclenchementSP5, UnSeuilJamaisAtteintLaisseLaFifoVide) {
    Programme p;
    p.declenchement = 0x06;
    p.seuil = static_cast<uint16_t>(coef.code(0, 0, false, 6.0)); // EA0 peaks at 5 V
    p.pretrig = 3;
    programme(p);
    demarre();
    EXPECT_TRUE(litMots(1, 0.1).empty());
}

struct CasExterne {
    const char* nom;
    uint8_t octet;
    double front;    // negative: the automatic edge
    double tPremier; // time of the first sample after the edge
    uint32_t compte; // 12.5 ns steps from the edge to that sample
};

TEST_F(DeclenchementSP5, LeFrontExterneDonneSonDecompte) {
    const CasExterne cas[] = {
        {"montant", 0x05, 0.0123456, 0.01235, 352},
        {"descendant", 0x01, 0.0123456, 0.01235, 352},
        {"sur un échantillon", 0x05, 0.02, 0.02, 0},
        {"automatique", 0x05, -1, 0.01, 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        SimSP5_SetFrontExterne(c.front);
        Programme p;
        p.nbPoints = nbPoints;
        p.declenchement = c.octet;
        p.pretrig = 103;
        programme(p);
        ViderFifo();
        demarre();
        const auto mots = litMots(nbPoints);
        ASSERT_EQ(mots.size(), nbPoints);
        EXPECT_EQ(litOctets(0x20, 3), 103u);
        EXPECT_EQ(litOctets(0x6F, 4), c.compte);
        const long premier = std::lround(c.tPremier / dt);
        EXPECT_EQ(debutDuFlux(mots, premier - 100), premier - 100);
        arrete();
    }
}

TEST_F(DeclenchementSP5, LeFrontAutomatiqueAttendLesPointsDAvant) {
    Programme p;
    p.nbPoints = 3000;
    p.declenchement = 0x05;
    p.pretrig = 2003; // 20 ms of pretrigger: the edge comes when they exist
    programme(p);
    demarre();
    const auto mots = litMots(3000);
    ASSERT_EQ(mots.size(), 3000u);
    EXPECT_EQ(debutDuFlux(mots, 0), 0);
}

TEST_F(DeclenchementSP5, UnDeclenchementQuiNeVientPasLaisseLaFifoVide) {
    struct Cas {
        const char* nom;
        uint8_t octet;
        bool absent;
        double front;
    };
    const Cas cas[] = {
        {"seuil absent", 0x06, true, -1},
        {"externe absent", 0x05, true, -1},
        {"front avant les points d'avant", 0x05, false, 0.0001},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        SimSP5_SetDeclenchementAbsent(c.absent);
        SimSP5_SetFrontExterne(c.front);
        SimSP5_SetAcceleration(1e5);
        Programme p;
        p.declenchement = c.octet;
        p.seuil = static_cast<uint16_t>(coef.code(0, 0, false, 1.0));
        p.pretrig = 103;
        programme(p);
        demarre();
        EXPECT_TRUE(litMots(1, 0.1).empty());
        arrete();
    }
    SimSP5_SetDeclenchementAbsent(1);
    programme(Programme{});
    demarre();
    EXPECT_EQ(litMots(1000).size(), 1000u) << "the manual trigger needs no trigger";
}

} // namespace
