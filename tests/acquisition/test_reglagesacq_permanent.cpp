// Changes made while an acquisition runs become pending settings for the engine; idle
// changes keep the committed series; "Acquisition précédente" brings back the timing and
// the point count that were shown.
#include "seriesmesurees.h"
#include "test_reglagesacq_essai.h"

#include <functional>

namespace {

TReglageEnAttente attendu(TSortieMP code,
                          const std::function<void(TReglageEnAttente&)>& remplir = {}) {
    TReglageEnAttente r;
    r.code = code;
    if (remplir)
        remplir(r);
    return r;
}

class ReglagesPendantAcq : public ::testing::Test {
protected:
    void SetUp() override {
        r.setCentrale(&u);
        r.setSeries(&series);
        r.reglagesDefautMI();
    }

    // One acquisition committed: every column filled with its series number + 1.
    void acquerirEtValider() {
        series.ajouterLesCourbesX = false;
        series.PrepareTV2(u, false);
        for (size_t s = 0; s < series.tv2.size(); ++s)
            std::fill(series.tv2[s].begin(), series.tv2[s].end(), static_cast<float>(s + 1));
        TContexteValidation ctx;
        ctx.maintenant = QDateTime(QDate(2026, 3, 2), QTime(10, 0));
        series.valider(u, TTypeValidation::Simple, ctx);
        recepteur.premiere = false;
    }

    TSP5 u{QString(), 1};
    TRecepteurEssai recepteur;
    TReglagesAcq r{recepteur};
    TSeriesMesurees series;
};

TEST_F(ReglagesPendantAcq, ChangementsEnModePermanent) {
    r.activationVoie(1, true);
    r.changeTypeDecl(1);
    const struct {
        const char* nom;
        std::function<TEffetsReglages(TReglagesAcq&)> action;
        TReglageEnAttente attendu;
    } cas[] = {
        {"calibre", [](TReglagesAcq& x) { return x.clicCalibre(1, 2); },
         attendu(MP_CALIBRE,
                 [](TReglageEnAttente& m) {
                     m.MPEntree = 1;
                     m.MPCalibre = 2;
                 })},
        {"entrée", [](TReglagesAcq& x) { return x.clicVoieActive(3, true); },
         attendu(MP_VOIE_ACTIVE,
                 [](TReglageEnAttente& m) {
                     m.MPEntree = 3;
                     m.MPVoieActive = true;
                 })},
        {"différentiel", [](TReglagesAcq& x) { return x.clicModeDiff(0, true); },
         attendu(MP_MODE_DIFF,
                 [](TReglageEnAttente& m) {
                     m.MPEntree = 0;
                     m.MPModeDiff = true;
                 })},
        {"durée +", [](TReglagesAcq& x) { return x.clicDureeTotalePlus(); },
         attendu(MP_DUREE_TOTALE, [](TReglageEnAttente& m) { m.MPDureeTotale = "50 ms"; })},
        {"points -", [](TReglagesAcq& x) { return x.clicNbPointsMoins(); },
         attendu(MP_NB_POINTS, [](TReglageEnAttente& m) { m.MPNbPts = "501"; })},
        {"type", [](TReglagesAcq& x) { return x.clicTypeDeclenchement(2); },
         attendu(MP_TYPE_DECL, [](TReglageEnAttente& m) { m.MPTypeDecl = 2; })},
        {"sens", [](TReglagesAcq& x) { return x.clicSensDeclenchement(1); },
         attendu(MP_SENS_DECL, [](TReglageEnAttente& m) { m.MPSensDecl = 1; })},
        {"voie", [](TReglagesAcq& x) { return x.clicVoieSynchro(1); },
         attendu(MP_VOIE_SYNCHRO, [](TReglageEnAttente& m) { m.MPVoieSynchro = 1; })},
        {"prétrig", [](TReglagesAcq& x) { return x.clicPretrig(3); },
         attendu(MP_PRETRIG, [](TReglageEnAttente& m) { m.MPPretrig = 3; })},
        {"seuil",
         [](TReglagesAcq& x) {
             x.entreeSeuil();
             x.saisieSeuil(QStringLiteral("1,5"));
             return x.sortieSeuil();
         },
         attendu(MP_SEUIL, [](TReglageEnAttente& m) { m.MPUSeuil = "1,5"; })},
        {"précédente", [](TReglagesAcq& x) { return x.clicAcquisitionPrecedente(); },
         attendu(MP_ACQ_PRECEDENTE)},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        r.reglagesDefautMI();
        r.activationVoie(1, true);
        r.changeTypeDecl(1);
        const double duree = u.dureeTotale0X;
        const int64_t points = u.nbPtsAffX;
        const int calibre = u.VoiesX[1].idxCalibreUt;
        const int mode = u.modeDecl;
        const float seuil = u.USeuilDecl;
        recepteur.recus.clear();
        recepteur.etat = MODE_ACQ_PERMANENTE;
        const TEffetsReglages e = c.action(r);
        recepteur.etat = MODE_VIERGE;
        ASSERT_EQ(recepteur.recus.size(), 1u);
        EXPECT_EQ(recepteur.recus[0], c.attendu);
        EXPECT_TRUE(e.reglageEnregistre);
        // Nothing reaches the unit before the engine applies it between two frames.
        EXPECT_DOUBLE_EQ(u.dureeTotale0X, duree);
        EXPECT_EQ(u.nbPtsAffX, points);
        EXPECT_EQ(u.VoiesX[1].idxCalibreUt, calibre);
        EXPECT_EQ(u.modeDecl, mode);
        EXPECT_FLOAT_EQ(u.USeuilDecl, seuil);
        EXPECT_FALSE(u.VoiesX[3].active);
    }
}

// Between two frames the engine applies what was recorded: the unit then has the new
// settings, the same as an idle change would give.
TEST_F(ReglagesPendantAcq, ApplicationEntreDeuxTrames) {
    r.activationVoie(1, true);
    r.changeTypeDecl(1);
    recepteur.etat = MODE_ACQ_PERMANENTE;
    r.clicCalibre(0, 2);
    r.selectionDureeTotale(r.etat.itemsDureeTotale.indexOf(QStringLiteral("1 s")));
    r.saisieNbPoints(QStringLiteral("60000"));
    r.sortieNbPoints();
    r.clicVoieSynchro(1);
    r.clicVoieActive(3, true);
    r.clicPretrig(1);
    ASSERT_EQ(recepteur.recus.size(), 6u);
    for (const TReglageEnAttente& m : recepteur.recus)
        r.appliquer(m);
    EXPECT_EQ(u.VoiesX[0].idxCalibreUt, 2);
    EXPECT_NEAR(u.dureeTotale0X, 1.0, 1e-9);
    EXPECT_EQ(u.nbPtsAffX, 50001);
    EXPECT_EQ(u.nbPts0X, 50002);
    EXPECT_EQ(u.voieSynchro, 1);
    EXPECT_TRUE(u.VoiesX[3].active);
    EXPECT_EQ(u.idxPretrig, 1);
    EXPECT_EQ(r.etat.texteNbPoints, QStringLiteral("50001"));
    EXPECT_EQ(r.etat.texteDureeTotale, QStringLiteral("1 s"));
    // No new pending setting comes out of applying one.
    EXPECT_EQ(recepteur.recus.size(), 6u);
    EXPECT_FALSE(r.appliquer(attendu(SORTIE_ARRET)).reglageEnregistre);
}

// During a single acquisition the trigger controls do nothing (they are disabled).
TEST_F(ReglagesPendantAcq, DeclenchementIgnoreEnAcquisitionSimple) {
    recepteur.etat = MODE_ACQ_SIMPLE;
    r.clicTypeDeclenchement(1);
    r.clicPretrig(2);
    EXPECT_TRUE(recepteur.recus.empty());
    EXPECT_EQ(u.modeDecl, 0);
}

TEST_F(ReglagesPendantAcq, TexteTapePendantLAcquisition) {
    recepteur.etat = MODE_ACQ_PERMANENTE;
    r.saisieDureeTotale(QStringLiteral("7 ms"));
    r.clicDureeTotalePlus();
    ASSERT_EQ(recepteur.recus.size(), 1u);
    EXPECT_EQ(recepteur.recus[0].MPDureeTotale, QStringLiteral("10 ms"));
    // The typed text stays; the item is not selected.
    EXPECT_EQ(r.etat.indexDureeTotale, -1);
    EXPECT_EQ(r.etat.texteDureeTotale, QStringLiteral("7 ms"));
    // Picking in the list records the item; leaving it records the text again.
    r.entreeNbPoints();
    r.selectionNbPoints(0);
    r.sortieNbPoints();
    ASSERT_EQ(recepteur.recus.size(), 3u);
    EXPECT_EQ(recepteur.recus[1].MPNbPts, QStringLiteral("11"));
    EXPECT_EQ(recepteur.recus[2].MPNbPts, QStringLiteral("11"));
    EXPECT_EQ(u.nbPtsAffX, 1001);
    // While bloque or bloqueExit, nothing is recorded.
    r.bloque = true;
    r.clicNbPointsPlus();
    r.bloque = false;
    r.bloqueExit = true;
    r.sortieDureeTotale();
    EXPECT_EQ(recepteur.recus.size(), 3u);
}

// The engine applies a pending change with the change routine; the last input switched
// off during an acquisition asks for the commit.
TEST_F(ReglagesPendantAcq, DerniereEntreeCoupeePendantLAcquisition) {
    recepteur.etat = MODE_ACQ_PERMANENTE;
    const TEffetsReglages e = r.activationVoie(0, false);
    EXPECT_EQ(u.nbVoiesActivesX, 0);
    EXPECT_TRUE(e.validerAcquisition);
    EXPECT_EQ(e.viderValeurU, 0);
    EXPECT_FALSE(r.etat.valeurActive[0]);
    recepteur.etat = MODE_MESURES;
    EXPECT_FALSE(r.activationVoie(0, true).validerAcquisition);
    EXPECT_FALSE(r.activationVoie(0, false).validerAcquisition);
}

// Idle changes never drop the committed series: the store is replaced only when the
// next acquisition starts.
TEST_F(ReglagesPendantAcq, ChangementAuReposGardeLesSeries) {
    r.activationVoie(1, true);
    acquerirEtValider();
    ASSERT_EQ(series.nbVoiesMesurees, 2);
    const auto donnees = series.tv2;
    r.prepareCBAjouterCourbes();
    EXPECT_TRUE(r.etat.CBAjouterCourbes);

    r.changeNbPts(QStringLiteral("101"));
    r.changeTypeDecl(1);
    r.activationVoie(2, true);
    r.activationModeDiff(0, true);
    r.ChangeDureeTotale(QStringLiteral("50 ms"));
    EXPECT_EQ(series.nbVoiesMesurees, 2);
    for (int s = 0; s < 2; ++s)
        EXPECT_EQ(series.tv2[s], donnees[s]) << s;
    // The timing differs now: no appending, the previous timing is offered.
    EXPECT_FALSE(r.etat.CBAjouterCourbes);
    EXPECT_TRUE(r.etat.BAcquisitionPrecedente);
}

// "Acquisition précédente" in threshold mode: the shown count comes back, the unit adds
// its extra point once, and the timing is the committed one again.
TEST_F(ReglagesPendantAcq, AcquisitionPrecedenteEnModeSeuil) {
    const struct {
        int mode;
        const char* points;
    } cas[] = {{1, "21"}, {1, "11"}, {1, "1001"}, {0, "21"}, {2, "51"}};
    for (const auto& c : cas) {
        SCOPED_TRACE(std::to_string(c.mode) + " " + c.points);
        r.reglagesDefautMI();
        r.changeTypeDecl(c.mode);
        r.changeNbPts(QString::fromUtf8(c.points));
        const int64_t montres = u.nbPtsAffX;
        const int64_t acquis = u.nbPts0X;
        const double duree = u.dureeTotale0X;
        acquerirEtValider();
        EXPECT_EQ(u.nbPtsAX, acquis);
        EXPECT_EQ(TReglagesAcq::nbPtsAffichesAX(u), montres);

        r.changeNbPts(QStringLiteral("201"));
        r.ChangeDureeTotale(QStringLiteral("1 s"));
        ASSERT_TRUE(r.etat.BAcquisitionPrecedente);
        const TEffetsReglages e = r.clicAcquisitionPrecedente();
        EXPECT_EQ(u.nbPtsAffX, montres);
        EXPECT_EQ(u.nbPts0X, acquis);
        EXPECT_NEAR(u.dureeTotale0X, duree, duree * 1e-9);
        EXPECT_TRUE(u.memesParametresTemporels());
        EXPECT_FALSE(r.etat.BAcquisitionPrecedente);
        EXPECT_TRUE(r.etat.CBAjouterCourbes);
        EXPECT_EQ(r.etat.texteNbPoints, QString::number(montres));
        EXPECT_TRUE(e.grapheAvecCourbes);
    }
}

} // namespace
