#include "dessingraphe.h"
#include "geometrie_essai.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The empty graph of a 300 × 200 plot without a unit, measured with the real font.
class Dessin : public ::testing::Test {
protected:
    void SetUp() override {
        g.larT = 400;
        g.hauT = 300;
        g.prepareAxesX(nullptr, nullptr);
        g.prepareQuadAxes(nullptr, nullptr);
        image = QImage(g.larT, g.hauT, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        dessineFondEcran(p, g);
        dessineQuadAxesV(p, g);
        dessineQuadAxeH(p, g);
    }
    QRgb pixel(int x, int y) const { return image.pixel(x, y) & 0xFFFFFF; }

    TGeometrieGraphe g{mesureTextePolice()};
    QImage image;
};

constexpr QRgb noir = 0x000000;
constexpr QRgb blanc = 0xFFFFFF;
constexpr QRgb fond = 0xF0F0F0;
constexpr QRgb gris = 0x808080;
constexpr QRgb rouge = 0xFF0000;

} // namespace

TEST_F(Dessin, FondZoneEtAxes) {
    const int L = g.gauche();
    const int bas = g.mSup + g.hauG;
    const float demiV = g.sepR[0] / 2;
    const struct {
        const char* quoi;
        int x, y;
        QRgb couleur;
    } sondes[] = {
        {"bord de l'image", 0, 0, noir},
        {"bord droit", g.larT - 1, g.hauT / 2, noir},
        {"fond hors zone", g.larT - 3, 2, fond},
        {"zone de tracé", g.xe(g.sepRt / 2), g.ye(demiV, g.AxesX[0].EchA), blanc},
        {"axe vertical", L, g.mSup - 2, noir},
        {"axe vertical au-dessus", L, g.mSup - 4, noir},
        {"axe du temps", L + g.larG / 2 + 1, bas, noir},
        {"axe du temps dépasse", L + g.larG + 3, bas, noir},
        {"graduation de l'axe courant", g.xgr2[0] + 3,
         g.ye(g.sepR[0] * g.nGradV12[0], g.AxesX[0].EchA), rouge},
    };
    for (const auto& s : sondes) {
        SCOPED_TRACE(s.quoi);
        EXPECT_EQ(pixel(s.x, s.y), s.couleur) << s.x << ", " << s.y;
    }
    for (int x = 0; x < g.larT; ++x)
        ASSERT_NE(pixel(x, g.hauT / 2), 0xFF00FFu) << "the background covers the image";
}

// The grid of the current axis and the time grid are dotted grey lines.
TEST_F(Dessin, Quadrillages) {
    const int L = g.gauche();
    const int y = g.ye(g.sepR[0] * g.nGradV12[0], g.AxesX[0].EchA);
    int grisLigne = 0;
    for (int x = L + 5; x < L + g.larG - 5; ++x)
        grisLigne += pixel(x, y) == gris;
    EXPECT_GT(grisLigne, g.larG / 4);
    EXPECT_LT(grisLigne, g.larG); // dotted, not solid

    const int x = g.xe(g.nGradH2 * g.sepRt);
    int grisColonne = 0;
    for (int yy = g.mSup + 1; yy < g.mSup + g.hauG - 1; ++yy)
        grisColonne += pixel(x, yy) == gris;
    EXPECT_GT(grisColonne, g.hauG / 4);
    EXPECT_GT(g.nGradH2, g.nGradH1);
}
