// The settings against the SP5 simulator: what the unit accepts is what the lists show,
// and the changes that program the unit reach its registers.
#include "test_reglagesacq_essai.h"

namespace {

class ReglagesSimulateur : public SimulateurSP5 {
protected:
    void SetUp() override {
        SimulateurSP5::SetUp();
        u = std::make_unique<TSP5>(chemin, 1);
        ASSERT_TRUE(u->Presente());
        r.setCentrale(u.get());
        r.reglagesDefautMI();
    }

    // The unit's registers equal the driver's programming image.
    void verifierRegistres() {
        EXPECT_EQ(sim.LireRegistre(0x00), u->PR_VoiesAA00);
        EXPECT_EQ(sim.LireRegistre(0x01), u->PR_CalEA01);
        EXPECT_EQ(sim.LireRegistre(0x02), u->PR_CalEA02);
        EXPECT_EQ(sim.LireRegistre(0x03), u->PR_CalEA03);
        EXPECT_EQ(sim.LireRegistre(0x09), u->PR_nbpts09);
        EXPECT_EQ(sim.LireRegistre(0x0A), u->PR_nbpts0A);
        EXPECT_EQ(sim.LireRegistre(0x0B), u->PR_nbpts0B);
        EXPECT_EQ(sim.LireRegistre(0x1D), u->PR_DeclenchementG1D);
    }

    std::unique_ptr<TSP5> u;
    TRecepteurEssai recepteur;
    TReglagesAcq r{recepteur};
};

TEST_F(ReglagesSimulateur, PointsLimitesParLUnite) {
    r.entreeNbPoints();
    r.saisieNbPoints(QStringLiteral("60000"));
    r.sortieNbPoints();
    EXPECT_EQ(u->nbPtsAffX, 50001);
    EXPECT_EQ(r.etat.texteNbPoints, QStringLiteral("50001"));
    EXPECT_EQ(r.etat.itemsNbPoints.value(r.etat.indexNbPoints), QStringLiteral("50001"));
    // The next range change sends the whole programming, the new count included.
    r.changeCalibre(0, 1);
    verifierRegistres();
    const int n =
        sim.LireRegistre(0x09) | sim.LireRegistre(0x0A) << 8 | sim.LireRegistre(0x0B) << 16;
    EXPECT_GT(n, 0);
}

TEST_F(ReglagesSimulateur, DeclenchementProgramme) {
    r.activationVoie(1, true);
    r.changeTypeDecl(1);
    r.clicVoieSynchro(1);
    r.changeUSeuil(QStringLiteral("1500 mV"));
    r.clicSensDeclenchement(1);
    r.changeCalibre(1, 2); // ±1 V: the threshold follows
    EXPECT_EQ(u->voieSynchro, 1);
    EXPECT_NEAR(u->USeuilDecl, 0.9f, 1e-6);
    verifierRegistres();
    EXPECT_EQ(sim.LireRegistre(0x1E), u->PR_SeuilTrig1E);
    EXPECT_EQ(sim.LireRegistre(0x1F), u->PR_SeuilTrig1F);
}

} // namespace
