#include "geometrie_essai.h"
#include "traceuracquisition.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// A 400 × 200 plot without a unit: input 0 on range 0 (±10 V full height).
class Traceur : public ::testing::Test {
protected:
    void SetUp() override {
        g = grapheSansCentrale(400, 200);
        image = QImage(g.larT, g.hauT, QImage::Format_RGB32);
        image.fill(Qt::white);
        couleurs.fill(0x0000FF); // red
        colonne.assign(2001, 0.0f);
        lot.nbSignaux = 1;
        lot.voies = voies;
        lot.colonnes = colonnes;
        colonnes[0] = colonne.data();
    }
    int pixelsRouges() const {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == QColor(255, 0, 0);
        return n;
    }
    TGeometrieGraphe g = grapheSansCentrale(400, 200);
    QImage image;
    std::array<TColor, 8> couleurs{};
    std::vector<float> colonne;
    int voies[1] = {0};
    const float* colonnes[1] = {nullptr};
    TLotAcquisition lot;
    TTraceurAcquisition traceur;
};

} // namespace

// Two batches of a flat line: the second continues the first without a gap.
TEST_F(Traceur, LesLotsSeRaccordent) {
    lot.dt0X = g.axeT.maxAxe / 20.0;
    lot.premier = 0;
    lot.dernier = 9;
    lot.premierLot = true;
    traceur.dessinerLot(image, g, lot, modeLignes, couleurs);
    lot.premier = 10;
    lot.dernier = 20;
    lot.premierLot = false;
    traceur.dessinerLot(image, g, lot, modeLignes, couleurs);
    const int y = g.ye(0, 0.0);
    for (int x = g.xe(0.0); x <= g.xe(20 * lot.dt0X) && x < g.gauche() + g.larG; ++x)
        EXPECT_EQ(image.pixelColor(x, y), QColor(255, 0, 0)) << x;
}

// Dense style: one stroke per pixel column between the extremes of its points, paler
// the taller; nothing outside the plotting area.
TEST_F(Traceur, StyleDenseUnTraitParColonne) {
    for (size_t k = 0; k < colonne.size(); ++k)
        colonne[k] = k % 2 ? 1.0f : -1.0f;
    lot.dt0X = g.axeT.maxAxe / 2000.0;
    lot.premier = 0;
    lot.dernier = 2000;
    lot.premierLot = true;
    traceur.dessinerLot(image, g, lot, modeSegmentsVerticaux, couleurs);
    const int x = g.xe(0.0) + 10;
    const QColor c = image.pixelColor(x, g.ye(0, 0.0));
    EXPECT_NE(c, QColor(Qt::white));
    EXPECT_GT(c.green(), 0); // lightened: a tall stroke
    EXPECT_EQ(image.pixelColor(x, g.ye(0, 2.0)), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(g.gauche() - 2, g.ye(0, 0.0)), QColor(Qt::white));
}

// A batch with nothing written draws nothing.
TEST_F(Traceur, LotVide) {
    lot.premier = 5;
    lot.dernier = 4;
    lot.dt0X = 1e-3;
    traceur.dessinerLot(image, g, lot, modeLignes, couleurs);
    EXPECT_EQ(pixelsRouges(), 0);
}

// The strip of one batch: from the column of its first point (one pixel before t = 0 for
// the first batch) to two pixels ahead of its last point, right edge excluded.
TEST(BandeEffacee, BornesDeLaBande) {
    const TGeometrieGraphe g = grapheSansCentrale(500, 200);
    const double dt = g.axeT.maxAxe / 500.0;
    struct Cas {
        bool premierLot;
        int64_t premier, dernier;
        int x0, x1; // x1 excluded
    };
    const int o = g.xe(0.0);
    const Cas cas[] = {
        {true, 0, 39, o - 1, g.xe(40 * dt) + 2},
        {false, 40, 79, g.xe(40 * dt), g.xe(80 * dt) + 2},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.premier);
        TLotAcquisition lot;
        lot.premierLot = c.premierLot;
        lot.tBande0 = c.premierLot ? 0.0 : c.premier * dt;
        lot.tBande1 = (c.dernier + 1) * dt;
        const QRect r = bandeEffacee(g, lot, 300);
        EXPECT_EQ(r.left(), c.x0);
        EXPECT_EQ(r.left() + r.width(), c.x1);
        EXPECT_EQ(r.height(), 300);
    }
}
