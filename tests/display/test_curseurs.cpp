#include "curseurs.h"
#include "formats.h"
#include "geometrie_essai.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

TEST(EtiquettesCurseurs, TexteDeLaFin) {
    setSeparateurDecimal(u',');
    const struct {
        double duree, zoomH;
        const char* attendu;
    } cas[] = {
        {0.0012345, 1, "t[Fin]= 1,23 ms"},   {0.0012345, 5, "t[Fin]= 1,23 ms"},
        {0.0012345, 10, "t[Fin]= 1,235 ms"}, {0.0012345, 100, "t[Fin]= 1,235 ms"},
        {2.5, 2, "t[Fin]= 2,50 s"},          {0.0, 1, "t[Fin]= 0,00 s"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.attendu);
        EXPECT_EQ(texteCurseurFin(c.duree, c.zoomH), QString::fromUtf8(c.attendu));
    }
    setSeparateurDecimal(u'.');
}

TEST(EtiquettesCurseurs, PlacementDesEtiquettes) {
    constexpr int L = 40, R = 540, wA = 35, wB = 70;
    const struct {
        const char* quoi;
        int x0, xF;
        TPlaceEtiquettes attendu;
    } cas[] = {
        {"éloignés: centrées", 100, 400, {83, 365}},
        {"proches: écartées du milieu", 200, 210, {165, 210}},
        {"début au bord gauche", 40, 400, {23, 365}},
        {"début hors du tracé", -100, 300, {23, 265}},
        {"fin au bord droit", 100, 540, {83, 460}},
        {"les deux au bord droit", 540, 540, {415, 460}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.quoi);
        const TPlaceEtiquettes p = placeEtiquettes(L, R, c.x0, c.xF, wA, wB);
        EXPECT_EQ(p.xst0, c.attendu.xst0);
        EXPECT_EQ(p.xstF, c.attendu.xstF);
    }
    // Wherever the markers are, the labels never overlap and the end label stays left of
    // the right edge.
    for (int x0 = -200; x0 <= 800; x0 += 7)
        for (int xF = x0; xF <= 800; xF += 11) {
            const TPlaceEtiquettes p = placeEtiquettes(L, R, x0, xF, wA, wB);
            ASSERT_LT(p.xst0 + wA, p.xstF) << x0 << " " << xF;
            ASSERT_LE(p.xstF + wB, R - 1) << x0 << " " << xF;
        }
}

namespace {

constexpr QRgb blanc = 0xFFFFFF;
constexpr QRgb vert = 0x008000;
constexpr QRgb rouge = 0xFF0000;

// The markers on a 500 × 200 plotting area (L = 40, R = 540, mSup = 30) painted onto a
// white image.
class PeintureCurseurs : public ::testing::Test {
protected:
    void SetUp() override {
        g.fontEcran.setPixelSize(12);
        image = QImage(g.larT, g.hauT, QImage::Format_RGB32);
        image.fill(blanc);
    }
    template <typename F> void peint(F&& f) {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        f(p);
    }
    QRgb pixel(int x, int y) const { return image.pixel(x, y) & 0xFFFFFF; }
    int nbColonne(int x, QRgb couleur) const {
        int n = 0;
        for (int y = g.mSup; y <= g.mSup + g.hauG; ++y)
            n += pixel(x, y) == couleur;
        return n;
    }
    int nbImage(QRgb couleur) const {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += pixel(x, y) == couleur;
        return n;
    }

    static constexpr int L = 40, R = 540;
    TGeometrieGraphe g = grapheSansCentrale(500, 200);
    TCurseurs c;
    QImage image;
};

} // namespace

TEST_F(PeintureCurseurs, MarqueursVerts) {
    c.xeT0X = 100;
    c.xetFX = 600; // beyond the right edge
    c.tFin = 0.0015;
    peint([&](QPainter& p) { dessineCurseursT(p, g, c); });
    // A dashed line across the plot.
    EXPECT_GT(nbColonne(100, vert), g.hauG / 3);
    EXPECT_LT(nbColonne(100, vert), g.hauG);
    EXPECT_EQ(nbColonne(101, vert), 0);
    // The end marker: a triangle at the right edge pointing out, no line.
    EXPECT_EQ(pixel(541, g.mSup - 7), vert);
    EXPECT_EQ(nbColonne(539, vert), 0);
    // The end marker's solid styles fill both triangles again.
    EXPECT_EQ(pixel(100, g.mSup - 8), vert);
    // The labels, black on their grey boxes, at the places the rule gives.
    const QFontMetrics fm(g.fontEcran, &image);
    const TPlaceEtiquettes place =
        placeEtiquettes(L, R, 100, 600, fm.horizontalAdvance(QStringLiteral("t = 0")),
                        fm.horizontalAdvance(texteCurseurFin(0.0015, 1)));
    EXPECT_EQ(c.xst0, place.xst0);
    EXPECT_EQ(c.xstF, place.xstF);
    EXPECT_GT(nbImage(0xF0F0F0), 0);
    int noirs = 0;
    for (int y = 2; y < 2 + fm.height(); ++y)
        for (int x = c.xstF; x < c.xstF + fm.horizontalAdvance(QStringLiteral("t[Fin]")); ++x)
            noirs += qGray(pixel(x, y)) < 100;
    EXPECT_GT(noirs, 0);
}

TEST_F(PeintureCurseurs, TrianglesCreuxQuandLaFinEstDansLeTrace) {
    c.xeT0X = 100;
    c.xetFX = 300;
    peint([&](QPainter& p) { dessineCurseursT(p, g, c); });
    EXPECT_GT(nbColonne(300, vert), 0);
    EXPECT_EQ(pixel(100, g.mSup - 4), vert) << "tip of the triangle";
    EXPECT_EQ(pixel(100, g.mSup - 8), blanc) << "dashed outline, not filled";
}

TEST_F(PeintureCurseurs, MarqueursRouges) {
    c.xeT0M = 20; // left of the plot
    c.xeTFM = 300;
    c.yeUmaxM = 80;
    c.yeUMinM = g.mSup + g.hauG + 1; // below the plot: not drawn
    peint([&](QPainter& p) {
        dessineCurseursMesureT(p, g, c);
        dessineCurseursMesureU(p, g, c);
    });
    EXPECT_EQ(pixel(39, g.mSup - 7), rouge) << "triangle at the left edge";
    EXPECT_EQ(nbColonne(20, rouge), 0);
    EXPECT_GT(nbColonne(300, rouge), g.hauG / 3);
    EXPECT_EQ(pixel(300, g.mSup - 8), rouge) << "filled triangle";
    // The upper level: a dashed line from L + 1 to R - 1.
    int rouges = 0;
    for (int x = L + 1; x <= R - 1; ++x)
        rouges += pixel(x, 80) == rouge;
    EXPECT_GT(rouges, 150);
    EXPECT_LT(rouges, R - L - 1);
    EXPECT_NE(pixel(L, 80), rouge);
    EXPECT_NE(pixel(R, 80), rouge);
    for (int x = 0; x < image.width(); ++x)
        EXPECT_NE(pixel(x, c.yeUMinM), rouge) << x;
}
