#include "arrondis.h"
#include "geometrie_essai.h"
#include "seriesmesurees.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A 900 × 400 plotting area without a unit: 0.002 s and 450 000 px/s at zoom 1.
class Zoom : public ::testing::Test {
protected:
    TGeometrieGraphe g = grapheSansCentrale(900, 400);
    int L = g.gauche();
};

} // namespace

TEST_F(Zoom, IndicesBornesEtRetour) {
    const struct {
        int demande, index;
        bool change;
        int largeChange;
    } cas[] = {{7, 6, true, 5},     {7, 6, false, 5},  {-1, 0, true, 500},
               {-1, 0, false, 500}, {1, 1, true, 250}, {3, 3, true, 50}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.demande);
        EXPECT_EQ(g.setZoomHX(c.demande, {0, 0.002}), c.change);
        EXPECT_EQ(g.zoomIndexH, c.index);
        EXPECT_EQ(g.zoomH, tableZoom[static_cast<std::size_t>(c.index)]);
        EXPECT_EQ(g.SBHor.largeChange, c.largeChange);
        EXPECT_EQ(g.setZoomVX(c.demande), c.change);
        EXPECT_EQ(g.ZoomIndexV, c.index);
        EXPECT_EQ(g.SBVert.largeChange, c.largeChange);
        EXPECT_EQ(g.SBHor.active, c.index > 0);
        EXPECT_EQ(g.SBVert.active, c.index > 0);
        EXPECT_FALSE(g.bloqueSB) << "the zoom releases the scroll bars when done";
    }
}

TEST_F(Zoom, ZoomUnBarresAZeroEtOrigineAGauche) {
    g.setZoomHX(4, {0.0005, 0.0008});
    g.setZoomVX(4);
    ASSERT_NE(g.xOri, L);
    g.setZoomHX(0, {0.0005, 0.0008});
    g.setZoomVX(0);
    EXPECT_EQ(g.xOri, L);
    EXPECT_EQ(g.yOri, g.mSup + 200);
    EXPECT_EQ(g.SBHor.position, 0);
    EXPECT_EQ(g.SBVert.position, 0);
}

// Markers 1/3 of the plot apart at zoom 2 are centred; at zoom 10 the visible first marker
// stays 3 pixels right of the left edge; else the visible second one 3 pixels left of the
// right edge.
TEST_F(Zoom, HorizontalAutourDesMarqueurs) {
    const double ta = 0.0005;
    const double tb = ta + 300 / (2 * g.axeT.EchA);
    EXPECT_TRUE(g.setZoomHX(1, {ta, tb}));
    EXPECT_NEAR((g.xe(ta) + g.xe(tb)) / 2.0, L + 450, 1);
    EXPECT_EQ(g.xe(tb) - g.xe(ta), 300);
    EXPECT_EQ(g.SBHor.position, tronque((g.xOri - L) * 1000.0 / (900 * (1 - g.zoomH))));

    EXPECT_TRUE(g.setZoomHX(3, {ta, tb}));
    EXPECT_EQ(g.xe(ta), L + 3);
    EXPECT_GE(g.xOri, g.xOriMin);
    EXPECT_LE(g.xOri, g.xOriMax);

    TGeometrieGraphe h = grapheSansCentrale(900, 400);
    h.setZoomHX(3, {-0.01, 0.001});
    EXPECT_EQ(h.xe(0.001), L + 900 - 3);
}

// Centring on markers past the end of the series clamps the origin: the end of the series
// stands at the right edge and the bar at its end.
TEST_F(Zoom, HorizontalBorneAuBout) {
    g.setZoomHX(3, {0.0019, 0.002});
    EXPECT_EQ(g.xOriMin, L + 900 * (1 - 10));
    EXPECT_EQ(g.xOri, g.xOriMin);
    EXPECT_EQ(g.SBHor.position, 1000);
}

// The value at the vertical centre stays there from one zoom to the next.
TEST_F(Zoom, VerticalGardeLaValeurAuCentre) {
    g.setZoomVX(1);
    ASSERT_TRUE(g.SBVertScroll(500));
    EXPECT_EQ(g.yOri, g.mSup + 100);
    const double ech = g.AxesX[0].EchA;
    const int centre = g.mSup + 200;
    const double c = g.U1(centre, ech);
    EXPECT_TRUE(g.setZoomVX(2));
    EXPECT_NEAR(g.U1(centre, ech), c, 1 / (g.zoomV * ech));
    EXPECT_EQ(g.SBVert.position, 312); // Trunc(−250 × 2000 / (400 × −4))
    EXPECT_GE(g.yOri, g.yOriMin);
    EXPECT_LE(g.yOri, g.yOriMax);
}

TEST_F(Zoom, DefilementBloqueOuSuivi) {
    g.setZoomHX(2, {0, 0});
    const struct {
        int position, xOri;
    } cas[] = {{0, L}, {1000, L - 3600}, {500, L - 1800}, {1500, L - 3600}, {-20, L}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.position);
        EXPECT_TRUE(g.SBHorScroll(c.position));
        EXPECT_EQ(g.xOri, c.xOri);
    }
    g.bloqueSB = true;
    EXPECT_FALSE(g.SBHorScroll(500));
    EXPECT_FALSE(g.SBVertScroll(500));
    EXPECT_EQ(g.xOri, L);
}

// tr(xe(t)) and U1(ye(u)) give back the value within half a pixel, at every zoom.
TEST_F(Zoom, ConversionsAllerRetour) {
    for (const int index : {0, 2, 6}) {
        SCOPED_TRACE(index);
        g.setZoomHX(index, {0.0005, 0.0006});
        g.setZoomVX(index);
        const double pixelT = 1 / (g.zoomH * g.axeT.EchA);
        const double ech = g.echsVoies[0];
        const double pixelU = 1 / (g.zoomV * ech);
        for (int i = 0; i <= 20; ++i) {
            const double t = 0.002 * i / 20;
            const double u = -2.5 + 0.25 * i;
            EXPECT_NEAR(g.tr(g.xe(t)), t, pixelT / 2 + 1e-12);
            EXPECT_NEAR(g.U1(g.ye(u, ech), ech), u, pixelU / 2 + 1e-12);
            EXPECT_EQ(g.ye(0, u), g.ye(u, ech));
        }
        EXPECT_EQ(g.xe(0), g.xOri);
        EXPECT_EQ(g.ye(0.0, ech), g.yOri);
    }
}

TEST_F(Zoom, BoutonsSelonLIndex) {
    const struct {
        int indexH, indexV;
        bool plusH, moinsH, plusV, moinsV;
    } cas[] = {{0, 0, true, false, true, false},
               {6, 3, false, true, true, true},
               {2, 6, true, true, false, true}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.indexH);
        g.setZoomHX(c.indexH, {0, 0});
        g.setZoomVX(c.indexV);
        const auto b = g.activerZooms(MODE_REGLAGES_MODIFIES);
        ASSERT_TRUE(b.has_value());
        EXPECT_EQ((std::array<bool, 4>{b->plusH, b->moinsH, b->plusV, b->moinsV}),
                  (std::array<bool, 4>{c.plusH, c.moinsH, c.plusV, c.moinsV}));
    }
    EXPECT_FALSE(g.activerZooms(MODE_ACQ_SIMPLE).has_value()) << "acquisition running";
    EXPECT_FALSE(g.activerZooms(MODE_ACQ_PERMANENTE).has_value());
}

TEST_F(Zoom, AxeCourantParAxeOuParSerie) {
    std::vector<TVoieMesuree> voies(2);
    voies[0].axeVM = 2;
    voies[0].echVM = 42;
    voies[1].axeVM = -1;
    voies[1].echVM = 7;
    g.AxesX[1].EchA = 13;
    const struct {
        int p, axe;
        double ech;
    } cas[] = {
        {~1, 1, 13}, {~0, 0, g.AxesX[0].EchA}, {0, 2, 42}, {1, 0, 7}, {5, 0, g.AxesX[0].EchA}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.p);
        EXPECT_DOUBLE_EQ(g.MAJAxeQuadrille(c.p, voies), c.ech);
        EXPECT_EQ(g.axeQuadrilleX, c.axe);
    }
}
