// The chromatic circle and the picking on it, and the colour component arithmetic of the
// chooser, without a window.
#include "cerclechromatique.h"
#include "composantchoixcouleur.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(CercleChromatique, CentreBlancAnneauSatureBordSombre) {
    const int R = 100;
    const QImage c = cercleChromatique(R, QColor(240, 240, 240));
    ASSERT_EQ(c.size(), QSize(2 * R + 4, 2 * R + 4));
    const int o = R + 2;
    EXPECT_EQ(QColor(c.pixel(o, o)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(c.pixel(0, 0)), QColor(200, 200, 200));    // outline
    EXPECT_EQ(QColor(c.pixel(3, 3)), QColor(240, 240, 240));    // background
    EXPECT_EQ(QColor(c.pixel(o + 60, o)), QColor(255, 0, 0));   // 0°: red
    EXPECT_EQ(QColor(c.pixel(o - 60, o)), QColor(0, 255, 255)); // 180°: cyan
    EXPECT_NEAR(QColor(c.pixel(o, o - 60)).hue(), 90, 1);       // between yellow and green
    // At 0° the hexagon's corner touches the rim: no darkening; at 30°, beyond the hexagon
    // (0.87 R), the colour is nearly black at the rim.
    EXPECT_EQ(QColor(c.pixel(o + R - 1, o)), QColor(255, 0, 0));
    const QColor bord = c.pixel(o + 86, o - 50);
    EXPECT_LT(bord.red(), 20);
    EXPECT_LT(bord.green(), 20);
    const QColor avantHexagone = c.pixel(o + 69, o - 40); // 0.8 R at 30°: full orange
    EXPECT_EQ(avantHexagone.red(), 255);
    EXPECT_NEAR(avantHexagone.green(), 128, 2);
    // Half-way up the white ramp the hue is pale, not yet full.
    const QColor pale = c.pixel(o + 27, o);
    EXPECT_EQ(pale.red(), 255);
    EXPECT_GT(pale.green(), 60);
    EXPECT_LT(pale.green(), 200);
}

TEST(CercleChromatique, Rampe) {
    EXPECT_DOUBLE_EQ(rampe(2.0, 2.0, 6.0, 10.0, 30.0), 10.0);
    EXPECT_DOUBLE_EQ(rampe(6.0, 2.0, 6.0, 10.0, 30.0), 30.0);
    EXPECT_DOUBLE_EQ(rampe(4.0, 2.0, 6.0, 10.0, 30.0), 20.0);
}

// A 40 × 40 image of four coloured quarters: the disc is centred at (20, 20) with a radius of
// 18; picking reaches 17.
TEST(CercleChromatique, PointerSurLImageAffichee) {
    QImage image(40, 40, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, 20, 20, QColor(255, 0, 0));
    p.fillRect(20, 0, 20, 20, QColor(0, 255, 0));
    p.fillRect(0, 20, 20, 20, QColor(0, 0, 255));
    p.fillRect(20, 20, 20, 20, QColor(1, 2, 3));
    p.end();
    const struct {
        QPoint point;
        std::optional<TColor> couleur;
    } cas[] = {
        {{10, 10}, 0x000000FFu},  {{30, 10}, 0x0000FF00u},  {{10, 30}, 0x00FF0000u},
        {{30, 30}, 0x00030201u},  {{36, 20}, 0x00030201u}, // 16.5 from the centre
        {{37, 20}, std::nullopt},                          // 17.5
        {{1, 1}, std::nullopt},                            // a corner
        {{-1, 20}, std::nullopt}, {{40, 20}, std::nullopt},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.point.x() * 100 + c.point.y());
        EXPECT_EQ(couleurSousPoint(image, c.point), c.couleur);
    }
    // A stretched display: the centre moves with it.
    const QImage large = image.scaled(80, 40);
    EXPECT_EQ(couleurSousPoint(large, {50, 10}), 0x0000FF00u);
    EXPECT_EQ(couleurSousPoint(large, {5, 20}), std::nullopt);
}

TEST(ComposantChoixCouleur, Composantes) {
    TComposantChoixCouleurCercleChro c;
    c.Setcouleur(0x02563412);
    EXPECT_EQ(c.fRouge, 0x12);
    EXPECT_EQ(c.fVert, 0x34);
    EXPECT_EQ(c.fBleu, 0x56);
    EXPECT_EQ(c.fCouleur, 0x00563412u); // rebuilt from the components
    c.Setrouge(255);
    EXPECT_EQ(c.fCouleur, 0x005634FFu);
    c.Setvert(0);
    EXPECT_EQ(c.fCouleur, 0x005600FFu);
    c.Setbleu(1);
    EXPECT_EQ(c.fCouleur, 0x000100FFu);
}

} // namespace
