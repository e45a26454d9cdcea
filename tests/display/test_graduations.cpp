#include "geometrie.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(PasGraduation, TableUnDeuxCinq) {
    const struct {
        int k;
        float attendu;
    } cas[] = {{-14, 2e-5f}, {-3, 0.1f}, {-1, 0.5f}, {0, 1}, {1, 2}, {2, 5}, {4, 20}, {21, 1e7f}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.k);
        EXPECT_FLOAT_EQ(pasGraduation(c.k), c.attendu);
    }
}

// One graduation is 1 / T[k] units, a whole number of pixels apart.
TEST(CherchePas, EspacementEntreLesBornes) {
    const struct {
        double s;
        int eMin, eMax, k, espacement;
        double ech;
    } cas[] = {
        {1000, 80, 150, 3, 100, 1000},    // 0.1 V per graduation
        {10, 80, 150, -3, 100, 10},       // 10 V per graduation
        {333, 25, 50, 3, 33, 330},        // 33.3 px shrunk to 33: the scale follows
        {100, 80, 150, 0, 100, 100},      // already inside the bounds
        {1e9, 80, 150, 6, 10000000, 1e9}, // stopped at the highest step allowed
        // A single-precision full scale: 60 / 0.02f is 3000.00006, and 150.000003 pixels
        // are on the limit, not beyond it.
        {60 / static_cast<double>(0.02f), 80, 150, 4, 150, 3000},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.s);
        const TPasGraduation p = cherchePas(c.s, c.eMin, c.eMax, -6, 6);
        EXPECT_EQ(p.k, c.k);
        EXPECT_EQ(p.espacement, c.espacement);
        EXPECT_NEAR(p.ech, c.ech, 1e-6 * c.ech);
    }
}

// Without a plotting area the scale is 0 or below: the search must neither divide by zero
// nor give a spacing of zero pixels.
TEST(CherchePas, EchelleNulleOuNegative) {
    for (const double s : {0.0, -5.0, 1e-12, static_cast<double>(NAN)}) {
        SCOPED_TRACE(s);
        const TPasGraduation p = cherchePas(s, 25, 50, -6, 6);
        EXPECT_GE(p.espacement, 1);
        EXPECT_TRUE(std::isfinite(p.ech));
        EXPECT_GT(p.ech, 0);
    }
}

TEST(IndicesGraduation, BornesExactes) {
    const float sep = 0.1f;
    const struct {
        float vMin, vMax;
        int premier, dernier;
    } cas[] = {
        {-2 * sep, 2 * sep, -2, 2},   // exactly −2 and +2 graduations
        {2 * sep, 5 * sep, 3, 5},     // +2: the first graduation is above the bottom
        {-5 * sep, -2 * sep, -5, -3}, // −2 at the top: the last is below it
        {0, 0.35f, 0, 3},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.vMin);
        const TIndicesGraduation n = indicesGraduation(c.vMin, c.vMax, sep);
        EXPECT_EQ(n.premier, c.premier);
        EXPECT_EQ(n.dernier, c.dernier);
    }
}

TEST(IndicesGraduation, PasInutilisableAucuneGraduation) {
    for (const float sep : {0.0f, -1.0f, INFINITY, NAN}) {
        SCOPED_TRACE(sep);
        const TIndicesGraduation n = indicesGraduation(-1, 1, sep);
        EXPECT_GT(n.premier, n.dernier);
    }
    EXPECT_GT(indicesGraduation(NAN, 1, 0.1f).premier, indicesGraduation(NAN, 1, 0.1f).dernier);
}
