#include "formats.h"
#include "geometrie_essai.h"
#include "pointage.h"
#include "seriesmesurees.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A 500 × 200 plotting area over 2 ms (250 pixels per millisecond), left edge x = 40, top
// y = 30, 0 V at y = 130; the series are scaled 40 pixels per volt.
class Pointage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(g.gauche(), 40);
        ASSERT_EQ(g.xe(0.0), 40);
        ASSERT_EQ(g.xe(0.002), 540);
        ASSERT_EQ(g.ye(0.0, echelle), 130);
    }
    // Committed series k of n points, all at u except those given.
    void serie(int n, float u, std::vector<std::pair<int, float>> points = {}) {
        std::vector<float> v(static_cast<size_t>(n), u);
        for (const auto& [j, uj] : points)
            v[static_cast<size_t>(j)] = uj;
        TVoieMesuree d;
        d.echVM = echelle;
        series.voiesMesurees.push_back(d);
        series.tv2.push_back(std::move(v));
        series.nbVoiesMesurees = static_cast<int>(series.tv2.size());
    }
    // Value shown dy pixels below 0 V.
    static float sous(int dy) { return -dy / echelle; }
    TResultatPointage pointe(int64_t n, int x, int y) const {
        return elementPointe(g, series, 0.002 / double(n - 1), n, x, y);
    }

    static constexpr float echelle = 40.0f;
    TGeometrieGraphe g = grapheSansCentrale(500, 200);
    TSeriesMesurees series;
};

} // namespace

// 21 points, 25 pixels apart: point j at x = 40 + 25 j.
TEST_F(Pointage, PointLePlusProche) {
    serie(21, 0.5f); // y = 110
    const struct {
        const char* quoi;
        int x, y;
        TResultatPointage attendu;
    } cas[] = {
        {"sur le point 3", 115, 110, {0, 3}},
        {"3 pixels à droite", 118, 110, {0, 3}},
        {"3 et 4 pixels: distance 5", 118, 114, {0, 3}},
        {"6 pixels au-dessus, sur le palier", 115, 104, {-1, -1}},
        {"entre deux points à 12 pixels", 127, 104, {-1, -1}},
        {"au-dessus de la zone", 115, 29, {-1, -1}},
        {"à gauche de la zone", 39, 110, {-1, -1}},
        {"à droite de la zone", 541, 110, {-1, -1}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.quoi);
        EXPECT_EQ(pointe(21, c.x, c.y), c.attendu);
    }
}

// Two channels at the same distance: the later one wins.
TEST_F(Pointage, VoieSuivanteGagneLesEgalites) {
    serie(21, 0.5f);
    serie(21, 0.5f);
    EXPECT_EQ(pointe(21, 116, 111), (TResultatPointage{1, 3}));
    // Symmetric about the mouse: 2 pixels above and below.
    series.tv2[0].assign(21, 0.5f);  // y = 110
    series.tv2[1].assign(21, 0.45f); // y = 112
    EXPECT_EQ(pointe(21, 115, 111), (TResultatPointage{1, 3}));
}

// A nearer point on an earlier channel is kept when a later channel has a farther one.
TEST_F(Pointage, PointPlusProcheDUneVoiePrecedenteGarde) {
    serie(21, sous(1));  // y = 131
    serie(21, sous(4));  // y = 134: 4 pixels, within reach but farther
    serie(21, sous(40)); // out of reach
    EXPECT_EQ(pointe(21, 115, 130), (TResultatPointage{0, 3}));
    // And the other way round.
    series.tv2[0].assign(21, sous(4));
    series.tv2[1].assign(21, sous(1));
    EXPECT_EQ(pointe(21, 115, 130), (TResultatPointage{1, 3}));
}

// 101 points 5 pixels apart; the mouse at x = 42 is nearest to point 0 (x = 40), whose
// height alone counts, and 3 pixels left of point 1. At equal distances the earlier point
// wins.
TEST_F(Pointage, PointPrecedentGagneDansUneVoie) {
    const struct {
        const char* quoi;
        int dy0, dy1;
        int attendu;
    } cas[] = {
        {"égalité 0 / 1", 3, 0, 0},
        {"1 plus proche", 4, 0, 1},
        {"0 plus proche", 3, 1, 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.quoi);
        series = {};
        serie(101, 2.0f, {{0, sous(c.dy0)}, {1, sous(c.dy1)}});
        ASSERT_EQ(g.xe(0.002 / 100), 45);
        EXPECT_EQ(pointe(101, 42, 130), (TResultatPointage{0, c.attendu}));
    }
}

// Between two points of a steep segment, along it: the channel with no point.
TEST_F(Pointage, SegmentRaide) {
    serie(21, 0.0f, {{4, -2.0f}, {5, 2.0f}}); // (140, 210) to (165, 50)
    const TResultatPointage p = pointe(21, 152, 133);
    EXPECT_EQ(p, (TResultatPointage{0, -1}));
    const TTextesPointage t = affichePointPointe(series, 0.0001, p);
    EXPECT_TRUE(t.point.isEmpty());
    // Off its direction by far more than 1.8°, or above both ends.
    EXPECT_EQ(pointe(21, 152, 160), (TResultatPointage{-1, -1}));
    EXPECT_EQ(pointe(21, 165, 40), (TResultatPointage{-1, -1}));
    // A vertical segment of one pixel column: a series of 2001 points, 0.25 pixel apart.
    series = {};
    serie(2001, 0.0f, {{400, -2.0f}, {401, 2.0f}});
    const int x = g.xe(400 * 0.002 / 2000);
    ASSERT_EQ(x, g.xe(401 * 0.002 / 2000));
    EXPECT_EQ(pointe(2001, x, 150).voieMesureeP, 0);
}

TEST_F(Pointage, SeriesCourtesEtValeursAberrantes) {
    // One point: only its height counts, and no segment is looked for.
    serie(1, 0.5f);
    EXPECT_EQ(elementPointe(g, series, 0.0001, 1, 300, 110), (TResultatPointage{0, 0}));
    EXPECT_EQ(elementPointe(g, series, 0.0001, 1, 300, 120), (TResultatPointage{-1, -1}));
    // The acquisition says 21 points, the series holds 5: never read beyond them.
    series = {};
    serie(5, 0.5f, {{4, 1.0f}});
    const TResultatPointage p = pointe(21, 290, 90); // over point 10
    EXPECT_EQ(p, (TResultatPointage{0, 4}));
    EXPECT_TRUE(affichePointPointe(series, 0.0001, {0, 10}).point.isEmpty());
    // No sampling, no point, no series.
    EXPECT_EQ(elementPointe(g, series, 0.0, 21, 115, 110), (TResultatPointage{-1, -1}));
    EXPECT_EQ(elementPointe(g, series, -1.0, 21, 115, 110), (TResultatPointage{-1, -1}));
    EXPECT_EQ(elementPointe(g, series, 0.0001, 0, 115, 110), (TResultatPointage{-1, -1}));
    EXPECT_EQ(elementPointe(g, TSeriesMesurees{}, 0.0001, 21, 115, 110),
              (TResultatPointage{-1, -1}));
}

TEST(TextesPointage, SerieEtPoint) {
    setSeparateurDecimal(u',');
    TSeriesMesurees s;
    TVoieMesuree d;
    d.sEnteteVM = QStringLiteral("u[EA{1}_2]");
    s.voiesMesurees.push_back(d);
    s.tv2.push_back({0.0f, 0.0f, 0.0f, -1.5f});
    s.nbVoiesMesurees = 1;
    const TTextesPointage t = affichePointPointe(s, 0.0001, {0, 3});
    EXPECT_EQ(t.serie, QStringLiteral("uEA1_2"));
    // From the start of the series, whatever the start marker.
    EXPECT_EQ(t.point, QString::fromUtf8("t = 300,0 µs   u = -1,500 V"));
    const TTextesPointage segment = affichePointPointe(s, 0.0001, {0, -1});
    EXPECT_EQ(segment.serie, QStringLiteral("uEA1_2"));
    EXPECT_TRUE(segment.point.isEmpty());
    const TTextesPointage rien = affichePointPointe(s, 0.0001, {});
    EXPECT_TRUE(rien.serie.isEmpty());
    EXPECT_TRUE(rien.point.isEmpty());
    setSeparateurDecimal(u'.');
}

TEST(TextesMesures, InstantsComptesDepuisLeDebut) {
    setSeparateurDecimal(u',');
    // The start marker is a single-precision time.
    const TTextesMesuresT t = afficheMesuresT(0.002f, 0.005, 0.0125);
    EXPECT_EQ(t.EditT0M, QStringLiteral("  3,00 ms"));
    EXPECT_EQ(t.EditTFM, QStringLiteral("  10,5 ms"));
    EXPECT_EQ(t.EditDTM, QStringLiteral("  7,50 ms"));
    const TTextesMesuresU u = afficheMesuresU(1.5, -0.25);
    EXPECT_EQ(u.EditUmaxM, QStringLiteral("  1,50 V"));
    EXPECT_EQ(u.EditUMinM, QStringLiteral("  -250 mV"));
    EXPECT_EQ(u.EditDUM, QStringLiteral("  1,75 V"));
    EXPECT_EQ(afficheMesuresU(-0.25, 1.5).EditDUM, QStringLiteral("  1,75 V"));
    setSeparateurDecimal(u'.');
}
