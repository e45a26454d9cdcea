#include "arrondis.h"
#include "geometrie_essai.h"
#include "gestessouris.h"
#include "seriesmesurees.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// A 500 × 200 plotting area over 2 ms: L = 40, R = 540, mSup = 30, bottom 230.
class Gestes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(g.xe(0.002), R);
        reglages(1000, 0.002);
        c.tFin = 0.002;
        c.xeT0X = g.xe(0.0);
        c.xetFX = g.xe(c.tFin);
    }
    void reglages(int n, double duree, TModeGeneral modeGeneral = MODE_MESURES) {
        ctx.MODEGENERAL = modeGeneral;
        ctx.dt0X = ctx.dtAX = duree / (n - 1);
        ctx.dureeTotale0X = duree;
        ctx.nbPtsAX = n;
        ctx.series = &series;
    }
    TReponseGeste appui(int x, int y, TBoutonSouris b = TBoutonSouris::Gauche) {
        return gestes.iEcranXMouseDown(b, x, y, ctx);
    }
    TReponseGeste bouge(int x, int y, bool tenu = true) {
        return gestes.iEcranXMouseMove(x, y, tenu, ctx);
    }
    TReponseGeste lache() { return gestes.iEcranXMouseUp(ctx); }

    static constexpr int L = 40, R = 540, haut = 30, bas = 230;
    TGeometrieGraphe g = grapheSansCentrale(500, 200);
    TCurseurs c;
    TSeriesMesurees series;
    TContexteGestes ctx;
    TGestesGraphe gestes{g, c};
};

// Four axes on four ranges, texts 7 pixels per character: mGau1 39, mgau2 37 (L = 76),
// mDroi1 and mDroi2 44.
TGeometrieGraphe grapheQuatreAxes() {
    TGeometrieGraphe g(mesureFixe(15));
    g.larT = 700;
    g.hauT = 300;
    TSourceAxes s;
    s.nbCalEAKirvane = 4;
    s.nbEAU = 4;
    s.nbVoiesActivesX = 4;
    for (int i = 0; i < 4; ++i) {
        s.idxCalibreUt.push_back(i);
        s.active.push_back(true);
        s.VoiesActivesSignaux.push_back(i);
    }
    s.calibresDispo = {10.0f, 5.0f, 1.0f, 0.2f};
    s.twCals = {QStringLiteral("+10.0"), QStringLiteral("+5.00"), QStringLiteral("+1.000"),
                QStringLiteral("+0.200")};
    s.dureeTotale0X = 0.002;
    g.prepareAxesX(&s, nullptr);
    g.prepareQuadAxes(&s, nullptr);
    return g;
}

double significatif(double v, int n) {
    arrondiSignificatif(v, n);
    return v;
}

} // namespace

TEST_F(Gestes, EcartMinimal) {
    const struct {
        const char* quoi;
        double dt0X;
        int zoom;
        int ecart;
    } cas[] = {
        {"1000 points sur 500 pixels", 0.002 / 1000, 0, 5},
        {"1000 points, zoom 2", 0.002 / 1000, 1, 10},
        {"20 points", 0.002 / 20, 0, 10},
        {"100 000 points: un pixel au moins", 0.002 / 100000, 0, 1},
        {"pas nul", 0.0, 0, 10},
        {"pas négatif", -1e-3, 0, 10},
        {"pas indéfini", std::nan(""), 0, 10},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.quoi);
        g.setZoomHX(k.zoom, {0, 0.002});
        EXPECT_EQ(ecartMinimal(g, k.dt0X), k.ecart);
    }
}

// The start marker dragged past the end marker stops g pixels before it, on a sample,
// and never on the end marker's sample.
TEST_F(Gestes, DebutArreteAvantLaFin) {
    for (const int n : {1000, 20}) {
        SCOPED_TRACE(n);
        reglages(n, 0.002);
        const double dt = ctx.dt0X;
        c.tFin = dt * ((n - 1) / 2);
        c.xetFX = g.xe(c.tFin);
        c.xeT0X = L;
        g.t0 = 0;
        ASSERT_EQ(appui(L + 2, haut + 10).suite, TSuiteGeste::RedessinRapide);
        ASSERT_EQ(gestes.modeS, MODES_T0);
        const TReponseGeste r = bouge(R + 50, haut + 10);
        EXPECT_EQ(r.suite, TSuiteGeste::RedessinRapide);
        EXPECT_EQ(c.xeT0X, c.xetFX - ecartMinimal(g, dt));
        EXPECT_NEAR(g.t0 / dt, std::round(g.t0 / dt), 1e-3) << "on a sample";
        EXPECT_LE(g.t0, c.tFin - 0.999 * dt);
        bouge(-500, haut + 10);
        EXPECT_EQ(c.xeT0X, L) << "stops at the left edge";
        EXPECT_EQ(g.t0, 0.0f);
        const TReponseGeste fin = lache();
        EXPECT_EQ(fin.suite, TSuiteGeste::RedessinComplet);
        EXPECT_TRUE(fin.tableau);
        EXPECT_EQ(gestes.modeS, MODES_AUCUN);
    }
}

// The end marker released beyond the total duration stops at it, on a sample.
TEST_F(Gestes, FinBorneeParLaDuree) {
    const struct {
        const char* quoi;
        double dt0X;
        double duree;
        double tFin;
    } cas[] = {
        {"durée multiple du pas", 2e-6, 0.0018, 0.0018},
        {"durée entre deux échantillons", 1e-4, 0.00117, 0.0011},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.quoi);
        ctx.dt0X = ctx.dtAX = k.dt0X;
        ctx.dureeTotale0X = k.duree;
        c.tFin = 0.001;
        c.xetFX = g.xe(c.tFin);
        ASSERT_EQ(appui(c.xetFX + 3, haut - 5).suite, TSuiteGeste::RedessinRapide);
        ASSERT_EQ(gestes.modeS, MODES_TFIN);
        bouge(R + 80, 100);
        EXPECT_EQ(c.xetFX, R);
        lache();
        EXPECT_NEAR(c.tFin, k.tFin, 1e-12);
        EXPECT_LE(c.tFin, k.duree);
    }
}

TEST(GestesAxes, ColonnesDesEtiquettes) {
    TGeometrieGraphe g = grapheQuatreAxes();
    ASSERT_EQ(g.nbAxes, 4);
    ASSERT_EQ(g.gauche(), 76);
    const int R = g.gauche() + g.larG;
    TCurseurs c;
    c.xeT0X = c.xetFX = -1000; // nothing to grab
    TSeriesMesurees series;
    TContexteGestes ctx;
    ctx.MODEGENERAL = MODE_MESURES;
    ctx.series = &series;
    const struct {
        const char* quoi;
        int courant, x, y;
        int axe; // -1: no axis chosen
    } cas[] = {
        {"colonne 0", 1, 5, 100, 0},
        {"colonne 0, bord droit", 1, 37, 100, 0},
        {"colonne 0 déjà courante", 0, 5, 100, -1},
        {"entre les colonnes 0 et 1", 0, 38, 100, -1},
        {"colonne 1", 0, 39, 100, 1},
        {"colonne 1, bord droit", 0, 74, 100, 1},
        {"colonne 2", 0, R + 3, 100, 2},
        {"contre le tracé", 0, R + 2, 100, -1},
        {"colonnes 2 et 3 jointives: la 3", 0, R + 44, 100, 3},
        {"colonne 3, bord droit", 0, R + 88, 100, 3},
        {"au-delà", 1, R + 89, 100, -1},
        {"sous l'image", 1, 5, 301, -1},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.quoi);
        g.axeQuadrilleX = k.courant;
        TGestesGraphe gestes(g, c);
        const TReponseGeste r = gestes.iEcranXMouseDown(TBoutonSouris::Gauche, k.x, k.y, ctx);
        if (k.axe >= 0) {
            EXPECT_EQ(r.suite, TSuiteGeste::AxeChoisi);
            EXPECT_EQ(r.pAxe, ~k.axe);
            EXPECT_TRUE(r.mesuresU);
        } else {
            EXPECT_EQ(r.suite, TSuiteGeste::PointageVide);
        }
        EXPECT_EQ(gestes.modeS, MODES_AUCUN);
    }
}

// A click in the label column of the current axis goes on to grabbing the marker there.
TEST(GestesAxes, ColonneDeLAxeCourantSaisitLeCurseur) {
    TGeometrieGraphe g = grapheQuatreAxes();
    const int L = g.gauche();
    TCurseurs c;
    c.xeT0X = L;
    c.xetFX = L + g.larG;
    c.tFin = 0.002;
    TContexteGestes ctx;
    ctx.MODEGENERAL = MODE_PERMANENT_ARRETE;
    ctx.dt0X = ctx.dtAX = 0.002 / 99;
    ctx.dureeTotale0X = 0.002;
    for (const int courant : {0, 1}) {
        SCOPED_TRACE(courant);
        g.axeQuadrilleX = courant;
        TGestesGraphe gestes(g, c);
        const TReponseGeste r = gestes.iEcranXMouseDown(TBoutonSouris::Gauche, L - 2, 50, ctx);
        EXPECT_EQ(r.suite, courant == 1 ? TSuiteGeste::RedessinRapide : TSuiteGeste::AxeChoisi);
        EXPECT_EQ(gestes.modeS, courant == 1 ? MODES_T0 : MODES_AUCUN);
        if (courant == 1) {
            EXPECT_EQ(c.xeT0X, L) << "kept inside the plot";
            EXPECT_EQ(g.t0, 0.0f);
        }
    }
}

TEST_F(Gestes, PasDePanSansZoom) {
    EXPECT_EQ(appui(300, 100).suite, TSuiteGeste::PointageVide);
    EXPECT_EQ(gestes.modeS, MODES_AUCUN);
    const int xOri = g.xOri;
    EXPECT_EQ(bouge(200, 100).suite, TSuiteGeste::PointageVide);
    EXPECT_EQ(g.xOri, xOri);
    lache();

    ASSERT_TRUE(g.setZoomHX(2, {0.0, 0.002})); // zoom 5
    ASSERT_TRUE(g.setZoomVX(1));               // zoom 2
    const int xOri0 = g.xOri, yOri0 = g.yOri;
    appui(300, 100);
    ASSERT_EQ(gestes.modeS, MODES_PAN);
    TReponseGeste r = bouge(200, 130);
    EXPECT_EQ(r.suite, TSuiteGeste::RedessinPan);
    EXPECT_EQ(g.xOri, std::clamp(xOri0 - 100, g.xOriMin, g.xOriMax));
    EXPECT_EQ(g.SBHor.position, arrondi((g.xOri - L) * 1000.0 / ((1 - 5.0) * 500)));
    EXPECT_EQ(g.yOri, std::clamp(yOri0 + 30, g.yOriMin, g.yOriMax));
    EXPECT_EQ(g.SBVert.position, arrondi((g.yOri - haut - 100.0) * 2000.0 / ((1 - 2.0) * 200)));
    EXPECT_EQ(c.xeT0X, g.xe(g.t0));
    EXPECT_EQ(c.xetFX, g.xe(c.tFin));
    bouge(-5000, -5000);
    EXPECT_EQ(g.xOri, g.xOriMin);
    EXPECT_EQ(g.SBHor.position, 1000);
    EXPECT_EQ(g.yOri, g.yOriMin);
    EXPECT_EQ(g.SBVert.position, 1000);
    // A move without the left button ends the pan.
    bouge(100, 100, false);
    EXPECT_EQ(gestes.modeS, MODES_AUCUN);
}

TEST_F(Gestes, NiveauxRouges) {
    reglages(1000, 0.002, MODE_MESURES_ECRAN);
    c.xeT0M = c.xeTFM = -1000;
    c.yeUmaxM = 50;
    c.yeUMinM = 150;
    const double ech = g.AxesX[0].EchA;
    ASSERT_GT(ech, 0);
    EXPECT_EQ(appui(L + 1, 150).suite, TSuiteGeste::PointageVide) << "left of the levels";
    lache();
    ASSERT_EQ(appui(100, 152).suite, TSuiteGeste::RedessinRapide);
    ASSERT_EQ(gestes.modeS, MODES_UMIN);
    const struct {
        const char* quoi;
        int y;
        int ye;
    } basses[] = {{"au-dessus du haut", 20, 55}, {"sous la zone", 1000, bas}, {"libre", 140, 140}};
    for (const auto& k : basses) {
        SCOPED_TRACE(k.quoi);
        const TReponseGeste r = bouge(100, k.y);
        EXPECT_TRUE(r.mesuresU);
        EXPECT_EQ(c.yeUMinM, k.ye);
        EXPECT_DOUBLE_EQ(c.UMinM, significatif(g.U1(k.ye, ech), 3));
    }
    EXPECT_EQ(lache().suite, TSuiteGeste::RedessinComplet);
    ASSERT_EQ(appui(200, 48).suite, TSuiteGeste::RedessinRapide);
    ASSERT_EQ(gestes.modeS, MODES_UMAX);
    const struct {
        const char* quoi;
        int y;
        int ye;
    } hautes[] = {{"au-dessus de la zone", -50, haut}, {"sous le bas", 400, 135}};
    for (const auto& k : hautes) {
        SCOPED_TRACE(k.quoi);
        bouge(300, k.y);
        EXPECT_EQ(c.yeUmaxM, k.ye);
        EXPECT_DOUBLE_EQ(c.UMaxM, significatif(g.U1(k.ye, ech), 3));
    }
}

TEST_F(Gestes, InstantsRouges) {
    reglages(1000, 0.002, MODE_MESURES_ECRAN);
    g.axeT.EchA = 248000; // times of the pixels with more than 4 significant digits
    c.t0M = 0;
    c.tFinM = 0.002;
    c.xeT0M = L;
    c.xeTFM = R;
    ASSERT_EQ(appui(R - 3, 100).suite, TSuiteGeste::RedessinRapide);
    ASSERT_EQ(gestes.modeS, MODES_TFINM);
    TReponseGeste r = bouge(0, 100);
    EXPECT_TRUE(r.mesuresT);
    EXPECT_EQ(c.xeTFM, L + 5);
    r = bouge(291, 100);
    EXPECT_EQ(c.xeTFM, 291);
    EXPECT_DOUBLE_EQ(c.tFinM, significatif(g.tr(291), 4));
    EXPECT_NE(c.tFinM, g.tr(291)) << "4 significant digits";
    lache();
    ASSERT_EQ(appui(L + 1, 100).suite, TSuiteGeste::RedessinRapide);
    ASSERT_EQ(gestes.modeS, MODES_T0M);
    bouge(1000, 100);
    EXPECT_EQ(c.xeT0M, 291 - 5);
}

TEST_F(Gestes, BoutonsEtModesSansEffet) {
    EXPECT_EQ(appui(L, 100, TBoutonSouris::Droit).suite, TSuiteGeste::Rien);
    EXPECT_EQ(gestes.modeS, MODES_DROIT);
    EXPECT_EQ(bouge(300, 100).suite, TSuiteGeste::Rien);
    EXPECT_EQ(c.xeT0X, L);
    EXPECT_EQ(lache().suite, TSuiteGeste::Rien);
    EXPECT_EQ(gestes.modeS, MODES_AUCUN);
    EXPECT_EQ(appui(L, 100, TBoutonSouris::Autre).suite, TSuiteGeste::Rien);
    EXPECT_EQ(gestes.modeS, MODES_AUCUN);
    for (const TModeGeneral mode :
         {MODE_VIERGE, MODE_REGLAGES_MODIFIES, MODE_ACQ_SIMPLE, MODE_ACQ_PERMANENTE,
          MODE_TRANSFERT_EXCEL, MODE_TRANSFERT_CALC}) {
        SCOPED_TRACE(mode);
        ctx.MODEGENERAL = mode;
        EXPECT_EQ(appui(L, 100).suite, TSuiteGeste::Rien);
        EXPECT_EQ(gestes.modeS, MODES_AUCUN);
    }
}

TEST_F(Gestes, CourbeSousLaSouris) {
    reglages(21, 0.002);
    TVoieMesuree d;
    d.echVM = 40.0f;
    d.axeVM = 0;
    series.voiesMesurees.push_back(d);
    series.tv2.push_back(std::vector<float>(21, 0.5f)); // y = 110, a point every 25 pixels
    series.nbVoiesMesurees = 1;
    const TReponseGeste survol = bouge(116, 111);
    EXPECT_EQ(survol.suite, TSuiteGeste::PointageCourbe);
    EXPECT_EQ(survol.pointe, (TResultatPointage{0, 3}));
    const TReponseGeste clic = appui(116, 111);
    EXPECT_EQ(clic.suite, TSuiteGeste::CourbeChoisie);
    EXPECT_EQ(clic.pAxe, 0);
    EXPECT_EQ(clic.pointe, (TResultatPointage{0, 3}));
    EXPECT_EQ(gestes.modeS, MODES_AUCUN);
    EXPECT_EQ(gestes.pointeP, (TResultatPointage{0, 3}));
    bouge(300, 200);
    EXPECT_EQ(gestes.pointeP, (TResultatPointage{-1, -1}));
}

// No sampling, no duration, no time scale: nothing divides by zero, every value stays
// finite and the markers stay inside the plot.
TEST_F(Gestes, ValeursAberrantes) {
    ctx.dt0X = ctx.dtAX = 0;
    ctx.dureeTotale0X = 0;
    ctx.nbPtsAX = 0;
    ctx.series = nullptr;
    g.axeT.EchA = 0;
    appui(L, 100);
    ASSERT_EQ(gestes.modeS, MODES_T0);
    bouge(R + 100, 100);
    EXPECT_TRUE(std::isfinite(g.t0));
    EXPECT_GE(c.xeT0X, L);
    lache();
    appui(R, 100);
    ASSERT_EQ(gestes.modeS, MODES_TFIN);
    bouge(-100, 100);
    EXPECT_TRUE(std::isfinite(c.tFin));
    EXPECT_LE(c.xetFX, R);
    lache();
    EXPECT_EQ(bouge(300, 100).suite, TSuiteGeste::PointageVide);
}

// A new current axis: the levels keep their rows and are read in its scale.
TEST_F(Gestes, NiveauxRelusSurLeNouvelAxe) {
    c.yeUmaxM = 80;
    c.yeUMinM = 170;
    relireNiveaux(g, c, 40.0);
    EXPECT_DOUBLE_EQ(c.UMaxM, (g.yOri - 80) / 40.0);
    EXPECT_DOUBLE_EQ(c.UMinM, (g.yOri - 170) / 40.0);
    relireNiveaux(g, c, 0.0); // an unused axis has no scale: the values stay
    EXPECT_DOUBLE_EQ(c.UMaxM, (g.yOri - 80) / 40.0);
}
