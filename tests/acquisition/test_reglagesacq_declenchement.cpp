// Trigger controls: type, direction, input, threshold and the pretrigger offer; the
// threshold kept inside the range of the trigger input.
#include "formats.h"
#include "test_reglagesacq_essai.h"

namespace {

class ReglagesDeclenchement : public ReglagesSansBibliotheque {};

TEST_F(ReglagesDeclenchement, ControlesSelonLeType) {
    const struct {
        int type;
        bool sens, voie, seuil, pretrig;
    } cas[] = {
        {0, false, false, false, false},
        {1, true, true, true, true},
        {2, true, false, false, true}, // the SP5 lets the user choose the external edge
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.type);
        const TEffetsReglages e = r.clicTypeDeclenchement(c.type);
        EXPECT_EQ(u.modeDecl, c.type);
        EXPECT_EQ(r.etat.indexTypeDeclenchement, c.type);
        EXPECT_EQ(r.etat.RGSensDeclenchement, c.sens);
        EXPECT_EQ(r.etat.CBVoieSynchro, c.voie);
        EXPECT_EQ(r.etat.EditUSeuilDecl, c.seuil);
        EXPECT_EQ(r.etat.CBPretrigX, c.pretrig);
        EXPECT_EQ(r.pretrigActif, c.pretrig);
        // Manual: the graph is redrawn; otherwise the pretrigger mark is drawn.
        EXPECT_EQ(e.grapheAvecCourbes, c.type == 0);
        EXPECT_EQ(e.marquePretrig, c.type != 0);
    }
}

// The threshold mode acquires one point more than it shows.
TEST_F(ReglagesDeclenchement, PointSupplementaireEnModeSeuil) {
    r.changeNbPts(QStringLiteral("501"));
    r.changeTypeDecl(1);
    EXPECT_EQ(u.nbPtsAffX, 501);
    EXPECT_EQ(u.nbPts0X, 502);
    EXPECT_EQ(r.etat.texteNbPoints, QStringLiteral("501"));
    r.changeNbPts(QStringLiteral("201"));
    EXPECT_EQ(u.nbPts0X, 202);
    r.changeTypeDecl(0);
    EXPECT_EQ(u.nbPts0X, 201);
}

TEST_F(ReglagesDeclenchement, PretrigSelonLaDuree) {
    r.changeTypeDecl(1);
    r.clicPretrig(2);
    EXPECT_EQ(u.idxPretrig, 2);
    EXPECT_FLOAT_EQ(u.tauxPretrig, 50.0f);
    // Past tMaxPretrigDispo (5 s): list disabled, the unit gets 0 %.
    r.ChangeDureeTotale(QStringLiteral("10 s"));
    EXPECT_FALSE(r.pretrigActif);
    EXPECT_FALSE(r.etat.CBPretrigX);
    EXPECT_EQ(u.idxPretrig, 0);
    EXPECT_EQ(r.etat.indexPretrig, 2);
    // Exactly at the limit it is offered again with the list's choice.
    r.ChangeDureeTotale(QStringLiteral("5 s"));
    EXPECT_TRUE(r.etat.CBPretrigX);
    EXPECT_EQ(u.idxPretrig, 2);
    // A longer limit offers it for 10 s too.
    r.tMaxPretrigDispo = 20.0;
    r.ChangeDureeTotale(QStringLiteral("10 s"));
    EXPECT_TRUE(r.etat.CBPretrigX);
    // A unit without pretrigger never offers one.
    u.pretrigDispo = false;
    r.prepareComposantsDeclenchement();
    EXPECT_FALSE(r.etat.CBPretrigX);
    EXPECT_EQ(u.idxPretrig, 0);
}

TEST_F(ReglagesDeclenchement, SeuilDansLeCalibre) {
    // EA0 triggers; its range goes from ±10 V (index 0) to ±1 V (index 2).
    const struct {
        float seuil;
        float attendu;
    } cas[] = {{5.0f, 0.9f}, {-5.0f, -0.9f}, {0.5f, 0.5f}, {-0.3f, -0.3f}, {0.0f, 0.0f}};
    r.changeTypeDecl(1);
    for (const auto& c : cas) {
        SCOPED_TRACE(c.seuil);
        r.changeCalibre(0, 0);
        r.changeUSeuil(QString::number(c.seuil));
        ASSERT_FLOAT_EQ(u.USeuilDecl, c.seuil);
        r.changeCalibre(0, 2);
        EXPECT_NEAR(u.USeuilDecl, c.attendu, 1e-6);
        EXPECT_EQ(r.etat.texteSeuil, texteG6(u.USeuilDecl));
    }
    // Another input's range leaves the threshold alone.
    r.changeCalibre(0, 0);
    r.changeUSeuil(QStringLiteral("5"));
    r.activationVoie(1, true);
    r.changeCalibre(1, 2);
    EXPECT_FLOAT_EQ(u.USeuilDecl, 5.0f);
}

TEST_F(ReglagesDeclenchement, SaisieDuSeuil) {
    r.changeTypeDecl(1);
    r.changeUSeuil(QStringLiteral("2,5"));
    r.entreeSeuil();
    r.saisieSeuil(QStringLiteral("seuil"));
    TEffetsReglages e = r.sortieSeuil();
    EXPECT_EQ(
        e.information,
        QString::fromUtf8("La valeur du seuil de déclenchement comporte une erreur de saisie."));
    EXPECT_FLOAT_EQ(u.USeuilDecl, 2.5f);
    EXPECT_EQ(r.etat.texteSeuil, QStringLiteral("2,5"));
    // Typed in millivolts, and beyond the range.
    r.entreeSeuil();
    r.saisieSeuil(QStringLiteral("-250 mV"));
    EXPECT_TRUE(r.sortieSeuil().information.isEmpty());
    EXPECT_FLOAT_EQ(u.USeuilDecl, -0.25f);
    EXPECT_EQ(r.etat.texteSeuil, QStringLiteral("-0,25"));
    r.changeUSeuil(QStringLiteral("12"));
    EXPECT_FLOAT_EQ(u.USeuilDecl, 9.0f);
    EXPECT_EQ(r.etat.texteSeuil, QStringLiteral("9"));
}

TEST_F(ReglagesDeclenchement, VoieEtSens) {
    r.activationVoie(2, true);
    r.activationVoie(5, true);
    r.changeTypeDecl(1);
    EXPECT_EQ(r.etat.itemsVoieSynchro, (QStringList{"EA0", "EA2", "EA5"}));
    r.clicVoieSynchro(1);
    EXPECT_EQ(u.voieSynchro, 2);
    EXPECT_EQ(r.etat.indexVoieSynchro, 1);
    // An index past the signals is not read.
    r.clicVoieSynchro(7);
    EXPECT_EQ(u.voieSynchro, 2);
    // Channel 1 differential: EA5 is measured with EA1 and cannot trigger by itself.
    r.activationModeDiff(1, true);
    EXPECT_EQ(r.etat.itemsVoieSynchro, (QStringList{"EA0", "EA2"}));
    EXPECT_FALSE(r.etat.voieActivable[5]);
    EXPECT_FALSE(r.etat.calibreActif[5]);
    r.activationModeDiff(1, false);
    EXPECT_TRUE(r.etat.voieActivable[5]);
    EXPECT_TRUE(r.etat.calibreActif[5]);

    r.clicSensDeclenchement(1);
    EXPECT_EQ(u.sensDeclSeuil, 1);
    r.changeTypeDecl(2);
    r.clicSensDeclenchement(1);
    EXPECT_EQ(u.sensDeclEchelon, 1);
    EXPECT_EQ(r.etat.indexSensDeclenchement, 1);
}

TEST_F(ReglagesDeclenchement, ReglagesParDefaut) {
    r.activationVoie(3, true);
    r.activationModeDiff(0, true);
    r.changeCalibre(0, 3);
    r.changeTypeDecl(1);
    r.changeNbPts(QStringLiteral("51"));
    r.ChangeDureeTotale(QStringLiteral("1 s"));
    const TEffetsReglages e = r.reglagesDefautMI();
    EXPECT_TRUE(e.modeDessinVM);
    EXPECT_EQ(u.modeDecl, 0);
    EXPECT_EQ(u.nbVoiesActivesX, 1);
    EXPECT_TRUE(u.VoiesX[0].active);
    EXPECT_EQ(u.VoiesX[0].idxCalibreUt, 0);
    EXPECT_FALSE(u.canauxDiff[0]);
    EXPECT_NEAR(u.dureeTotale0X, 0.02, 1e-9);
    EXPECT_EQ(u.nbPtsAffX, 1001);
    EXPECT_EQ(u.nbPtsAX, 0);
    EXPECT_DOUBLE_EQ(u.dtAX, u.dt0X);
    EXPECT_EQ(r.modeBalayage, 1); // 20 ms is read after its end
    EXPECT_FALSE(r.etat.BAcquisitionPrecedente);
    EXPECT_EQ(r.etat.voieActive, (std::array<bool, 8>{true}));
    EXPECT_FALSE(r.etat.EditUSeuilDecl);
    EXPECT_EQ(r.etat.texteNbPoints, QStringLiteral("1001"));
    EXPECT_EQ(r.etat.texteDureeTotale, QStringLiteral("20 ms"));
}

TEST_F(ReglagesDeclenchement, TextesDuModePermanent) {
    r.setModePermanent(true);
    EXPECT_EQ(r.etat.titreDeclenchement, QStringLiteral("Synchronisation"));
    EXPECT_EQ(r.etat.itemsTypeDeclenchement.front(), QStringLiteral("aucune"));
    r.setModePermanent(false);
    EXPECT_EQ(r.etat.titreDeclenchement, QString::fromUtf8("Déclenchement"));
    EXPECT_EQ(r.etat.itemsTypeDeclenchement, (QStringList{"manuel", "sur seuil", "externe"}));
}

} // namespace
