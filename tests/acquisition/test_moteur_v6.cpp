// The engine end to end with the V6 driver over the simulator library: the store holds
// EA1's sine, and an unplugged unit ends the acquisition with what was read kept.
#include "moteuracquisition.h"
#include "simulateur_v6_essai.h"
#include "vue_essai.h"

#include <algorithm>
#include <cmath>

#ifdef KIRVANE_V6SIM

namespace {

class MoteurV6 : public SimulateurV6Essai {
protected:
    void SetUp() override {
        chargerSimulateur(QStringLiteral(KIRVANE_V6SIM));
        if (HasFatalFailure())
            return;
        unite = creerUnite();
        ASSERT_TRUE(unite->CentralePresente);
        moteur = std::make_unique<TMoteurAcquisition>(unite.get(), series, vue);
    }
    void TearDown() override {
        moteur.reset();
        if (unite)
            unite->liberer(true);
        SimulateurV6Essai::TearDown();
    }
    // Points 0..n-1 of store column 0 are EA1 at k × dt0X, within two converter steps.
    void verifierEA1(int64_t n) {
        const double pas = 50.0 / 4096.0;
        int ecarts = 0;
        for (int64_t k = 0; k < n; ++k) {
            const double attendu = sim.Tension(0, static_cast<double>(k) * unite->dt0X);
            if (std::fabs(series.tv2[0][k] - attendu) > 2.0 * pas && ++ecarts < 4)
                ADD_FAILURE() << "point " << k << ": " << series.tv2[0][k] << " au lieu de "
                              << attendu;
        }
        EXPECT_EQ(ecarts, 0);
    }

    std::unique_ptr<TSYSAMV6> unite;
    TSeriesMesurees series;
    TVueEssai vue;
    std::unique_ptr<TMoteurAcquisition> moteur;
};

TEST_F(MoteurV6, AcquisitionManuelleDeEA1) {
    unite->setDurees(0.02, 1001, false);
    moteur->BAcquisitionClick();
    EXPECT_EQ(moteur->MODEGENERAL, 2);
    EXPECT_TRUE(vue.avertissements.empty());
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    ASSERT_EQ(series.tv2[0].size(), 1001u);
    verifierEA1(1001);
    EXPECT_NEAR(series.voiesMesurees[0].max, 5.0, 0.03);
}

TEST_F(MoteurV6, DebranchementPendantLAcquisition) {
    unite->setDurees(0.2, 1001, false);
    int64_t lus = -1;
    vue.pendantMessages = [&](int) {
        if (lus < 0 && moteur->ptFront > 200) {
            lus = moteur->ptFront;
            sim.SetDebranche(1);
        }
    };
    moteur->BAcquisitionClick();
    EXPECT_EQ(moteur->MODEGENERAL, 2);
    ASSERT_EQ(vue.avertissements.size(), 1u);
    EXPECT_EQ(vue.avertissements[0], TMoteurAcquisition::texteDebranchement);
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    ASSERT_GT(lus, 200);
    verifierEA1(lus + 1);
    EXPECT_EQ(unite->NbProcessus, 0);
}

} // namespace

#endif
