#include "geometrie_essai.h"
#include "seriesmesurees.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Eight inputs on four ranges (±10, ±5, ±1, ±0.2 V); label templates of 5, 4, 6 and 7
// characters so that each column has its own width.
TSourceAxes source(std::vector<int> calibres, std::vector<int> actives) {
    TSourceAxes s;
    s.nbCalEAKirvane = 4;
    s.nbEAU = 8;
    s.idxCalibreUt = std::move(calibres);
    s.idxCalibreUt.resize(8, 0);
    s.active.assign(8, false);
    for (int i : actives)
        s.active[static_cast<std::size_t>(i)] = true;
    s.VoiesActivesSignaux = actives;
    s.nbVoiesActivesX = static_cast<int>(actives.size());
    s.calibresDispo = {10, 5, 1, 0.2f};
    s.twCals = {"+10.0", "+5.0", "+1.000", "+0.2000"};
    s.dureeTotale0X = 1;
    return s;
}

} // namespace

TEST(Marges, ArrondiAuPairDeLaMargeBasse) {
    const struct { int h, mInf; } cas[] = {{5, 12}, {15, 34}, {11, 25}, {10, 23}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.h);
        TGeometrieGraphe g(mesureFixe(c.h));
        g.larT = 800;
        g.hauT = 600;
        g.prepareAxesX(nullptr, nullptr);
        EXPECT_EQ(g.mSup, 2 * c.h);
        EXPECT_EQ(g.mInf, c.mInf);
        EXPECT_EQ(g.mGau1, 5 * largeurCaractere + 4);
        EXPECT_EQ(g.hauG, 600 - g.mSup - g.mInf);
        EXPECT_EQ(g.larG, 800 - g.mGau1 - 3 - 3);
        EXPECT_EQ(g.xgr1[0], g.mGau1 - 3);
        EXPECT_EQ(g.xgr2[0], g.mGau1);
    }
}

// Three active inputs on two ranges and an earlier series on a third: three axes, in the
// order in which the ranges first appear, the earlier series' range last.
TEST(AttributionAxes, ParCalibreDansLOrdreDApparition) {
    TSeriesMesurees series;
    series.nbVoiesMesurees = 1;
    series.voiesMesurees.resize(1);
    series.voiesMesurees[0].calVM = 3;
    const TSourceAxes src = source({2, 2, 0}, {0, 1, 2});
    TGeometrieGraphe g(mesureFixe(15));
    g.larT = 1000;
    g.hauT = 700;
    g.axeQuadrilleX = 3;
    g.prepareAxesX(&src, &series);

    EXPECT_EQ(g.nbAxes, 3);
    EXPECT_EQ(g.AxesX[0].calA, 2);
    EXPECT_EQ(g.AxesX[1].calA, 0);
    EXPECT_EQ(g.AxesX[2].calA, 3);
    EXPECT_EQ(g.AxesX[3].calA, -1);
    EXPECT_EQ(g.axesDesCalibres, (std::array<int, 4>{1, -1, 0, 2}));
    ASSERT_EQ(series.voiesMesurees.size(), 9u);
    const int axes[] = {2, 0, 0, 1, -1};
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(series.voiesMesurees[static_cast<std::size_t>(k)].axeVM, axes[k]);
    }
    EXPECT_EQ(g.axeQuadrilleX, 0) << "an axis that disappeared falls back to axis 0";

    // Columns: axis 0 ("+1.000"), axis 1 ("+10.0") left, axis 2 ("+0.2000") right.
    EXPECT_EQ(g.mGau1, 6 * largeurCaractere + 4);
    EXPECT_EQ(g.mgau2, 5 * largeurCaractere + 2);
    EXPECT_EQ(g.mDroi1, 7 * largeurCaractere + 2);
    EXPECT_EQ(g.mDroi2, 1);
    const int L = g.mGau1 + g.mgau2;
    const int R = L + g.larG;
    EXPECT_EQ(g.larG, 1000 - L - g.mDroi1 - 1 - 3);
    EXPECT_EQ((std::array<int, 3>{g.xgr1[0], g.xgr1[1], g.xgr1[2]}),
              (std::array<int, 3>{g.mGau1 - 4, L - 4, R}));
    EXPECT_EQ((std::array<int, 3>{g.xgr2[0], g.xgr2[1], g.xgr2[2]}),
              (std::array<int, 3>{L, L, R + 4}));

    // Graduations give each input and each series the scale of its axis.
    g.prepareQuadAxes(&src, &series);
    EXPECT_FLOAT_EQ(g.echsVoies[0], static_cast<float>(g.AxesX[0].EchA));
    EXPECT_FLOAT_EQ(g.echsVoies[2], static_cast<float>(g.AxesX[1].EchA));
    EXPECT_FLOAT_EQ(series.voiesMesurees[0].echVM, static_cast<float>(g.AxesX[2].EchA));
    // ±1 V fills the plot height: about hauG / 2 pixels per volt before the whole-pixel
    // shrink, which never gains more than the step.
    EXPECT_LE(g.AxesX[0].EchA, g.hauG / 2.0);
    EXPECT_GT(g.AxesX[0].EchA, g.hauG / 2.0 * 0.9);
}

TEST(AttributionAxes, AucuneEntreeActiveUnAxeSurLeCalibreDeLaPremiere) {
    const TSourceAxes src = source({1, 3}, {});
    TGeometrieGraphe g(mesureFixe(15));
    g.prepareAxesX(&src, nullptr);
    EXPECT_EQ(g.nbAxes, 1);
    EXPECT_EQ(g.AxesX[0].calA, 1);
}

TEST(AttributionAxes, EntreeInactiveSansAxe) {
    TSourceAxes src = source({0, 1}, {0, 1});
    src.active[1] = false;
    TSeriesMesurees series;
    TGeometrieGraphe g(mesureFixe(15));
    g.prepareAxesX(&src, &series);
    EXPECT_EQ(g.nbAxes, 1);
    EXPECT_EQ(series.voiesMesurees[1].axeVM, -1);
    EXPECT_EQ(series.voiesMesurees[1].calVM, -1);
}

TEST(EchelleTemps, PleineEchelleEtMultiplicateur) {
    const struct {
        double duree;
        float maxAxe, mult;
        const char* sp10;
    } cas[] = {
        {0.02, 0.02f, 0.001f, "-3"},
        // Powers of ten stored a hair below their value (0.01f is 0.0099999998).
        {0.01, 0.01f, 0.001f, "-3"},
        {1e-4, 1e-4f, 1e-5f, "-5"},
        {0.05, 0.05f, 0.001f, "-3"},
        {0.0015, 0.0015f, 1e-4f, "-4"},
        {0.0193, 0.02f, 0.001f, "-3"},
        {1, 1, 1, ""},
        {1.5, 1.5f, 1, ""},
        {1500, 1500, 1, ""},
        {2000, 2000, 100, "2"},
        {1501, 1600, 100, "2"},
        // A duration of zero or below stands for the default 0.002 s.
        {0, 0.002f, 1e-4f, "-4"},
        {-3, 0.002f, 1e-4f, "-4"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.duree);
        TSourceAxes src = source({0}, {0});
        src.dureeTotale0X = c.duree;
        TGeometrieGraphe g(mesureFixe(15));
        g.larT = 900;
        g.hauT = 600;
        g.prepareAxesX(&src, nullptr);
        EXPECT_FLOAT_EQ(g.axeT.maxAxe, c.maxAxe);
        EXPECT_FLOAT_EQ(g.axeT.mult, c.mult);
        EXPECT_EQ(g.axeT.sp10Mult, QString::fromLatin1(c.sp10));
        g.prepareQuadAxes(&src, nullptr);
        EXPECT_TRUE(std::isfinite(g.axeT.EchA));
        EXPECT_GT(g.axeT.EchA, 0);
    }
}

// Without a unit: 80 px/V on a 400-pixel plot, 0.002 s, graduations every 100 pixels in time.
TEST(GraduationsSansCentrale, PasEtIndices) {
    TGeometrieGraphe g = grapheSansCentrale(1000, 400);
    EXPECT_EQ(g.eMinSousGradH, 80);
    EXPECT_EQ(g.eMaxSousGradH, 150);
    EXPECT_EQ(g.espaDivH, 100);
    EXPECT_NEAR(g.sepRt, 2e-4, 1e-10);
    EXPECT_EQ(g.nGradH1, 0);
    EXPECT_EQ(g.nGradH2, 9); // (1000 − 3) pixels hold 9 whole graduations after t = 0
    EXPECT_EQ(g.xOri, g.gauche());
    EXPECT_EQ(g.yOri, g.mSup + 200);
    // 80 px/V: one graduation of 0.5 V every 40 pixels (eMax 50 at this aspect).
    EXPECT_EQ(g.espaDivV1[0], 40);
    EXPECT_NEAR(g.sepR[0], 0.5, 1e-6);
    EXPECT_EQ(g.nGradV11[0], -5); // ±2.5 V on the 400 pixels
    EXPECT_EQ(g.nGradV12[0], 5);
}

// Origin on a half pixel: ties go to the even neighbour.
TEST(Origines, DemiPixelAuPair) {
    const struct { int hauG, yOri; } cas[] = {{301, 150}, {303, 152}, {300, 150}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.hauG);
        const TGeometrieGraphe g = grapheSansCentrale(500, c.hauG);
        EXPECT_EQ(g.yOri - g.mSup, c.yOri);
    }
}

// A plotting area of a few pixels or none: nothing divides by zero, every graduation
// kept is at least one pixel apart and their count stays within the pixels.
TEST(Degenere, ZoneDeTraceMinuscule) {
    for (const int taille : {0, 1, 3, 40}) {
        SCOPED_TRACE(taille);
        TGeometrieGraphe g(mesureFixe(15));
        g.larT = taille;
        g.hauT = taille;
        const TSourceAxes src = source({0, 1}, {0, 1});
        g.prepareAxesX(&src, nullptr);
        g.prepareQuadAxes(&src, nullptr);
        EXPECT_GE(g.larG, 1);
        EXPECT_GE(g.hauG, 1);
        EXPECT_GE(g.espaDivH, 1);
        EXPECT_TRUE(std::isfinite(g.axeT.EchA));
        EXPECT_LE(g.nGradH2 - g.nGradH1, g.larG + 1);
        for (int a = 0; a < g.nbAxes; ++a) {
            EXPECT_GE(g.espaDivV1[a], 1);
            EXPECT_TRUE(std::isfinite(g.AxesX[a].EchA));
            EXPECT_LE(g.nGradV12[a] - g.nGradV11[a], g.hauG + 2);
        }
        EXPECT_TRUE(std::isfinite(g.tr(g.gauche() + 5)));
        EXPECT_TRUE(std::isfinite(g.U1(g.mSup, g.AxesX[0].EchA)));
    }
}

// Four ranges: the fourth axis's column stands right of the third's, and its ticks run
// along the left of its own column.
TEST(AttributionAxes, QuatreAxes) {
    const TSourceAxes src = source({0, 1, 2, 3}, {0, 1, 2, 3});
    TGeometrieGraphe g(mesureFixe(15));
    g.larT = 1000;
    g.hauT = 700;
    g.prepareAxesX(&src, nullptr);
    ASSERT_EQ(g.nbAxes, 4);
    EXPECT_EQ(g.mDroi2, 7 * largeurCaractere + 2);
    const int R = g.gauche() + g.larG;
    EXPECT_EQ(g.larG, 1000 - g.gauche() - g.mDroi1 - g.mDroi2 - 3);
    EXPECT_EQ(g.xgr1[3], R + g.mDroi1);
    EXPECT_EQ(g.xgr2[3], R + g.mDroi1 + 4);
}
