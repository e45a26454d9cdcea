// TSYSAMV6 against the V6 simulator library over the D2XX link: the signal decoded with the
// unit's calibration, and the threshold crossing where the pretrigger puts it.
#include "simulateur_v6_essai.h"

#include <QThread>

#include <algorithm>
#include <chrono>
#include <cmath>

#ifdef KIRVANE_V6SIM

namespace {

class V6Simulateur : public SimulateurV6Essai {
protected:
    void SetUp() override {
        chargerSimulateur(QStringLiteral(KIRVANE_V6SIM));
        if (HasFatalFailure())
            return;
        c = creerUnite();
        ASSERT_TRUE(c->CentralePresente);
    }
    void TearDown() override {
        if (c)
            c->liberer(true);
        SimulateurV6Essai::TearDown();
    }
    // Reads until n words came, the unit was lost or 3 s passed.
    std::vector<int> lire(std::size_t n) {
        std::vector<int> codes;
        TFifoSP5 fifo{};
        const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (codes.size() < n && std::chrono::steady_clock::now() < fin) {
            const int a = c->LireFifo(&fifo);
            if (a < 0)
                break;
            for (int k = 0; k < a; ++k)
                codes.push_back(fifo[k] >> 4);
            if (a == 0)
                QThread::msleep(1);
        }
        return codes;
    }
    void armer() {
        c->Reset();
        c->prepareTousPRX(true);
        c->TailleTransfertFifo(256);
        c->ViderFifo();
        c->declencheAcq();
    }

    std::unique_ptr<TSYSAMV6> c;
};

TEST_F(V6Simulateur, SinusDeEA1DecodeADeuxPasPres) {
    EXPECT_EQ(c->numeroSerie, "V6SIMUL");
    c->setModeDeclenchement(0, false);
    c->setDurees(0.02, 1001, false);
    armer();
    ASSERT_TRUE(c->acqPeriodiqueEnCours);
    const std::vector<int> codes = lire(1001);
    c->arreteAcq();
    ASSERT_GE(codes.size(), 1001u);
    const double pas = std::fabs(c->Ux(0, 2049) - c->Ux(0, 2048));
    EXPECT_NEAR(pas, 50.0 / 4096.0, 0.05 * 50.0 / 4096.0); // calibrated near nominal
    int ecarts = 0;
    double max = -100;
    for (std::size_t k = 0; k < 1001; ++k) {
        const double t = static_cast<double>(k) * c->dt0X;
        const double lu = c->Ux(0, codes[k]);
        max = std::max(max, lu);
        if (std::fabs(lu - sim.Tension(0, t)) > 2.0 * pas && ++ecarts < 5)
            ADD_FAILURE() << "point " << k << " : " << lu << " au lieu de " << sim.Tension(0, t);
    }
    EXPECT_EQ(ecarts, 0);
    EXPECT_NEAR(max, 5.0, 2.0 * pas);
}

TEST_F(V6Simulateur, SeuilLeCroisementOuLePretrigLeDit) {
    c->setModeDeclenchement(1, false);
    c->setDurees(0.02, 1001, false);
    c->setPretrig(1, false); // 25 %
    c->setVoieSynchro(0, false);
    c->setSensDeclSeuil(0, false);
    c->setSeuilDecl(1.0f);
    armer();
    ASSERT_TRUE(c->acqPeriodiqueEnCours);
    const std::vector<int> codes = lire(static_cast<std::size_t>(c->nbPts0X));
    c->arreteAcq();
    ASSERT_GE(codes.size(), static_cast<std::size_t>(c->nbPts0X));
    const int k = c->nbPtsPretrig;
    ASSERT_EQ(k, 250);
    // Rising through 1 V between the points k and k + 1, and nowhere else near.
    EXPECT_LT(c->Ux(0, codes[k]), 1.0);
    EXPECT_GT(c->Ux(0, codes[k + 1]), 1.0);
    EXPECT_GE(c->dtPretrig, 0.0);
    EXPECT_LE(c->dtPretrig, c->dt0X);
    for (int j = k - 5; j < k; ++j)
        EXPECT_LT(c->Ux(0, codes[j]), c->Ux(0, codes[j + 1]) + 0.05) << j; // still rising
}

} // namespace

#endif
