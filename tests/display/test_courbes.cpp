#include "courbes.h"
#include "geometrie_essai.h"
#include "seriesmesurees.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>

TEST(ChoixModeDessin, PointsParColonne) {
    const struct {
        const char* quoi;
        int64_t nbIntervalles;
        int largeur;
        double zoomH;
        int mode;
    } cas[] = {
        {"10 000 points sur 500 pixels", 10000, 500, 1, modeSegmentsVerticaux},
        {"les mêmes au zoom 10", 1000, 500, 10, modeLignes},
        {"20 points: croix", 20, 500, 1, modeLignesPoints},
        {"100 points: lignes", 100, 500, 1, modeLignes},
        {"juste au seuil des segments", 29999, 10000, 1, modeSegmentsVerticaux},
        {"juste sous le seuil des segments", 29998, 10000, 1, modeLignes},
        {"100 points sur 790 pixels: juste au-dessus du seuil des croix", 100, 790, 1, modeLignes},
        {"10 sur 79: juste au-dessus du seuil des croix", 10, 79, 1, modeLignes},
        {"juste sous le seuil des croix", 126582278, 1000000000, 1, modeLignesPoints},
        {"au-dessus du seuil des croix", 10, 78, 1, modeLignes},
        {"croix jugées au zoom 1", 10, 400, 10, modeLignes},
        {"une seule colonne", 7, 0, 1, modeLignes},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.quoi);
        const TChoixModeDessin choix = choisirModeDessin(c.nbIntervalles, c.largeur, c.zoomH);
        EXPECT_EQ(choix.modeDessinVM, c.mode);
        const double attendu = c.largeur == 0 ? double(c.nbIntervalles)
                                              : double(c.nbIntervalles) / c.largeur * c.zoomH;
        EXPECT_FLOAT_EQ(choix.nbPPP, static_cast<float>(attendu));
    }
}

// The style of series filling the 2 ms time axis of a graph without a unit.
TEST(ChoixModeDessin, SurLeGraphe) {
    const TGeometrieGraphe g = grapheSansCentrale(500, 200);
    const double duree = 0.002;
    const int largeur = g.xe(duree) - g.xe(0.0);
    ASSERT_GT(largeur, 300);
    const struct {
        int64_t n;
        int mode;
    } cas[] = {{10000, modeSegmentsVerticaux}, {100, modeLignes}, {20, modeLignesPoints}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.n);
        const auto choix = setModeDessinVM(g, duree / (c.n - 1), duree, c.n);
        ASSERT_TRUE(choix.has_value());
        EXPECT_EQ(choix->modeDessinVM, c.mode);
        EXPECT_NEAR(choix->nbPPP, double(c.n - 1) / largeur, 0.02 * c.n / largeur);
    }
    EXPECT_FALSE(setModeDessinVM(g, 0.0, duree, 100).has_value()) << "unknown sampling";
    EXPECT_FALSE(setModeDessinVM(g, duree / 99, duree, 0).has_value()) << "no point shown";
}

namespace {

constexpr TColor couleurVoie = 0x00306090; // red 0x90, green 0x60, blue 0x30
constexpr QRgb fondZone = 0xFFFFFF;

QRgb rgb(TColor c) {
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)) & 0xFFFFFF;
}

// A 200 × 100 plotting area over 2 ms, one committed series on the current axis scaled
// 40 pixels per volt, drawn onto an image where everything starts white.
class Courbes : public ::testing::Test {
protected:
    void SetUp() override {
        image = QImage(g.larT, g.hauT, QImage::Format_RGB32);
        image.fill(fondZone);
        ajouteSerie(couleurVoie, 0);
    }
    void ajouteSerie(TColor cl, int axe, std::vector<float> valeurs = {}) {
        TVoieMesuree v;
        v.echVM = echelle;
        v.clVM = cl;
        v.axeVM = axe;
        series.voiesMesurees.push_back(v);
        series.tv2.push_back(std::move(valeurs));
        series.nbVoiesMesurees = static_cast<int>(series.tv2.size());
    }
    void valeurs(int k, std::vector<float> v) {
        series.voiesMesurees[k].max = *std::max_element(v.begin(), v.end());
        series.voiesMesurees[k].min = *std::min_element(v.begin(), v.end());
        series.tv2[k] = std::move(v);
    }
    // n points spread over the 2 ms of the axis.
    TParamsTrace params(int64_t n) const { return {duree / double(n - 1), duree, n}; }
    template <typename F> void dessine(F&& f) {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        f(p);
    }
    QRgb pixel(int x, int y) const { return image.pixel(x, y) & 0xFFFFFF; }
    int y(double u) const { return g.ye(u, echelle); }
    int nbPixelsHorsZone() const {
        const QRect zone = rectCourbes(g);
        int n = 0;
        for (int yy = 0; yy < image.height(); ++yy)
            for (int xx = 0; xx < image.width(); ++xx)
                n += !zone.contains(xx, yy) && pixel(xx, yy) != fondZone;
        return n;
    }
    bool imageVierge() const {
        for (int yy = 0; yy < image.height(); ++yy)
            for (int xx = 0; xx < image.width(); ++xx)
                if (pixel(xx, yy) != fondZone)
                    return false;
        return true;
    }

    static constexpr double duree = 0.002;
    static constexpr float echelle = 40.0f;
    TGeometrieGraphe g = grapheSansCentrale(200, 100);
    TSeriesMesurees series;
    QImage image;
};

TEST_F(Courbes, LignesDansLaCouleurDeLaVoie) {
    valeurs(0, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
    const TParamsTrace p = params(5);
    dessine([&](QPainter& c) { dessineCourbesRepos(c, g, series, modeLignes, p); });
    const int x = (g.xe(p.dtAX) + g.xe(2 * p.dtAX)) / 2;
    EXPECT_EQ(pixel(x, y(0.5)), rgb(couleurVoie));
    EXPECT_EQ(pixel(x, y(0.5) - 3), fondZone);
    EXPECT_EQ(pixel(x, y(0.0)), fondZone);
}

// Earlier series are drawn pale while an acquisition runs.
TEST_F(Courbes, SeriesAnterieuresEclaircies) {
    valeurs(0, {-0.5f, -0.5f, -0.5f});
    const TParamsTrace p = params(3);
    dessine([&](QPainter& c) { dessineSeriesAnterieures(c, g, series, modeLignes, p); });
    EXPECT_EQ(pixel(g.xe(p.dtAX / 2), y(-0.5)), rgb(eclaircirCouleur(couleurVoie, 90)));
}

// Values far beyond the axis in every style: nothing leaks out of the plotting area.
TEST_F(Courbes, RienHorsDeLaZone) {
    std::vector<float> v;
    for (int i = 0; i < 400; ++i)
        v.push_back(i % 2 ? 100.0f : -100.0f);
    valeurs(0, v);
    for (int mode : {modeSegmentsVerticaux, modeLignes, modeLignesPoints}) {
        SCOPED_TRACE(mode);
        image.fill(fondZone);
        dessine([&](QPainter& c) { dessineCourbesRepos(c, g, series, mode, params(400)); });
        EXPECT_EQ(nbPixelsHorsZone(), 0);
        EXPECT_FALSE(imageVierge());
    }
}

// Dense style: each pixel column is one stroke from the smallest to the greatest value
// of its samples, paler the taller it is.
TEST_F(Courbes, SegmentsVerticauxRemplissentLaColonne) {
    std::vector<float> v;
    for (int i = 0; i < 5000; ++i)
        v.push_back(i % 2 ? 0.5f : -0.25f);
    valeurs(0, v);
    const auto nbPPP = [&] {
        std::optional<float> r;
        dessine([&](QPainter& c) {
            r = dessineCourbesRepos(c, g, series, modeSegmentsVerticaux, params(5000));
        });
        return r;
    }();
    ASSERT_TRUE(nbPPP.has_value());
    EXPECT_GT(*nbPPP, 3.0f);
    const int haut = y(0.5), bas = y(-0.25);
    const int pourcent =
        static_cast<int>(std::lround(std::min(80.0, 30.0 / (g.hauG / 2.0 - 1) * (bas - haut))));
    const QRgb attendu = rgb(eclaircirCouleur(couleurVoie, pourcent));
    ASSERT_NE(attendu, fondZone);
    for (int x : {g.xe(0.0) + 1, g.xe(duree / 2), g.xe(duree) - 5}) {
        SCOPED_TRACE(x);
        for (int yy = haut; yy <= bas; ++yy)
            ASSERT_EQ(pixel(x, yy), attendu) << yy;
        EXPECT_EQ(pixel(x, haut - 1), fondZone);
        EXPECT_EQ(pixel(x, bas + 1), fondZone);
    }
}

// Three points, each in its own column: the strokes stop at the last point of the data
// instead of running past it.
TEST_F(Courbes, SegmentsVerticauxTroisPoints) {
    valeurs(0, {0.0f, 0.5f, -0.5f});
    const double dt = duree / 2;
    for (int64_t kMax : {2, 1000}) {
        SCOPED_TRACE(kMax);
        image.fill(fondZone);
        dessine([&](QPainter& c) {
            TDessinCourbes(c, g, series, dt).dessineUneCourbeSegsVerts(0, 1, 0, kMax, 0, 0);
        });
        EXPECT_NE(pixel(g.xe(0.0), y(0.25)), fondZone);
        EXPECT_NE(pixel(g.xe(dt), y(-0.4)), fondZone) << "the third point is drawn";
        EXPECT_EQ(nbPixelsHorsZone(), 0);
    }
}

// One point makes no segment in either joined style; crosses still show it.
TEST_F(Courbes, UnSeulPoint) {
    valeurs(0, {0.25f});
    dessine([&](QPainter& c) {
        TDessinCourbes d(c, g, series, duree);
        d.dessineUneCourbeLignes(0, 2, 0, 10, 0, 0);
        d.dessineUneCourbeSegsVerts(0, 1, 0, 10, 0, 0);
    });
    EXPECT_TRUE(imageVierge());
    dessine([&](QPainter& c) {
        TDessinCourbes(c, g, series, duree).dessineUneCourbePoints(0, 0, 10, 0, 0);
    });
    EXPECT_EQ(pixel(g.xe(0.0), y(0.25) - 1), rgb(couleurVoie));
}

// The settings may promise more points than a series holds (a series kept from an
// acquisition with other settings), and the series being acquired is no committed one.
TEST_F(Courbes, LecteursBornesParLaSerie) {
    valeurs(0, {0.5f, 0.5f, 0.5f, 0.5f});
    constexpr TColor couleurCourante = 0x00009000;
    ajouteSerie(couleurCourante, 0, std::vector<float>(1000, -0.5f));
    series.nbVoiesMesurees = 1;
    const TParamsTrace p{duree / 999, duree, 1000};
    for (int mode : {modeSegmentsVerticaux, modeLignes, modeLignesPoints}) {
        SCOPED_TRACE(mode);
        image.fill(fondZone);
        dessine([&](QPainter& c) { dessineCourbesRepos(c, g, series, mode, p); });
        EXPECT_NE(pixel(g.xe(p.dtAX), y(0.5)), fondZone);
        EXPECT_EQ(pixel(g.xe(duree / 2), y(-0.5)), fondZone);
        EXPECT_EQ(pixel(g.xe(duree / 2), y(0.5)), fondZone) << "nothing past the data";
    }
}

// Crosses are 4 pixels long on each side on the current axis, 2 elsewhere.
TEST_F(Courbes, CroixSelonLAxe) {
    valeurs(0, {0.0f, 0.0f});
    const struct {
        int axe;
        int h;
    } cas[] = {{0, 4}, {1, 2}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.axe);
        series.voiesMesurees[0].axeVM = c.axe;
        image.fill(fondZone);
        dessine([&](QPainter& p) {
            TDessinCourbes(p, g, series, duree).dessineUneCourbePoints(0, 0, 1, 0, 0);
        });
        const int x = g.xe(duree), y0 = y(0.0);
        EXPECT_EQ(pixel(x, y0 - c.h), rgb(couleurVoie));
        EXPECT_EQ(pixel(x, y0 - c.h - 1), fondZone);
        EXPECT_EQ(pixel(x - c.h, y0), rgb(couleurVoie));
        EXPECT_EQ(pixel(x + c.h, y0), fondZone) << "the end pixel is left out";
    }
}

// A series whose visible part fits in one pixel column: one stroke between its extremes.
TEST_F(Courbes, UneSeuleColonne) {
    valeurs(0, {0.5f, -0.5f, 0.25f});
    g.zoomH = 1e-9;
    dessine([&](QPainter& c) { dessineCourbesRepos(c, g, series, modeLignes, params(3)); });
    const int x = g.xe(0.0);
    EXPECT_NE(pixel(x, y(0.5)), fondZone);
    EXPECT_NE(pixel(x, y(-0.5)), fondZone);
    EXPECT_EQ(pixel(x, y(-0.5) + 1), fondZone);
    EXPECT_EQ(pixel(x + 1, y(0.0)), fondZone);
}

// The trigger mark is a broken red line across the plotting area, absent in manual mode.
TEST_F(Courbes, MarqueDeclenchement) {
    const double t = duree / 4;
    const int x = g.xe(t);
    for (int modeDecl : {0, 1}) {
        SCOPED_TRACE(modeDecl);
        image.fill(fondZone);
        dessine([&](QPainter& c) { dessinetPretrig(c, g, modeDecl, t); });
        int rouges = 0;
        for (int yy = g.mSup; yy < g.mSup + g.hauG; ++yy)
            rouges += pixel(x, yy) == 0xFF0000u;
        if (modeDecl == 0) {
            EXPECT_TRUE(imageVierge());
        } else {
            EXPECT_GT(rouges, g.hauG / 3);
            EXPECT_LT(rouges, g.hauG) << "dash-dot, not solid";
            EXPECT_EQ(nbPixelsHorsZone(), 0);
        }
    }
}

TEST(Legende, CadreGrilleEtZigzag) {
    QImage image(40, 24, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    {
        QPainter p(&image);
        dessineLegende(p, 40, 24, couleurVoie);
    }
    const auto pixel = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(pixel(20, 0), 0x808080u) << "frame";
    EXPECT_EQ(pixel(39, 12), 0x808080u) << "frame";
    EXPECT_EQ(pixel(7, 20), rgb(couleurVoie)) << "zigzag vertex (w / 6, 5 h / 6)";
    EXPECT_EQ(pixel(13, 4), rgb(couleurVoie)) << "zigzag vertex (2 w / 6, h / 6)";
    EXPECT_EQ(pixel(31, 8), 0xFFFFFFu) << "white inside";
    int argent = 0;
    for (int x = 1; x < 39; ++x)
        argent += pixel(x, 20) == 0xC0C0C0u;
    EXPECT_GT(argent, 5) << "dotted grid line at y = h / 2 + h / 3";
    EXPECT_LT(argent, 38);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_NE(pixel(x, y), 0xFF00FFu) << x << ", " << y;
}

} // namespace
