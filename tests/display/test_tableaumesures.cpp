#include "couleursqt.h"
#include "formats.h"
#include "seriesmesurees.h"
#include "tableaumesures.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The texts of the cells, one case per row: the unit of time, times measured from the left
// green marker, values near zero, the regional separator and the exponent forms.
struct CasTexte {
    const char* quoi;
    QString obtenu;
    const char* attendu;
};

TEST(TexteTableau, Cas) {
    const CasTexte cas[] = {
        {"0.0005 s in µs", uniteTemps(0.0005).sUniteT, "µs"},
        {"1 ms still in µs", uniteTemps(0.001).sUniteT, "µs"},
        {"0.5 s in ms", uniteTemps(0.5).sUniteT, "ms"},
        {"1 s still in ms", uniteTemps(1.0).sUniteT, "ms"},
        {"2 s in s", uniteTemps(2.0).sUniteT, "s"},
        // 2e-6 s × 1 000 001 = 2.000002, five digits: 2.
        {"2 µs after t0", texteTempsTableau(1, 2e-6, 0.0, uniteTemps(0.0005).multT, ','), "2"},
        {"before the marker", texteTempsTableau(0, 1e-4, 0.01, 1000.0, ','), "-10"},
        {"marker moved", texteTempsTableau(150, 1e-4, 0.01, 1000.0, ','), "5"},
        {"five digits", texteTempsTableau(1, 0.0123456, 0.0, 1000.0, ','), "12,346"},
        {"separator of the region", texteTempsTableau(1, 0.0123456, 0.0, 1000.0, '.'), "12.346"},
        {"under 1 % of the interval", texteValeurTableau(5e-7f, 1.0f, 1e-4, ','), "0"},
        {"just above it", texteValeurTableau(2e-6f, 1.0f, 1e-4, ','), "2E-006"},
        {"negative noise", texteValeurTableau(-5e-7f, 1.0f, 1e-4, ','), "0"},
        {"four digits", texteValeurTableau(1.234567f, 1.0f, 1e-4, ','), "1,235"},
        {"negative", texteValeurTableau(-2.5f, 1.0f, 1e-4, ','), "-2,5"},
        {"in mV", texteValeurTableau(0.0123456f, 1000.0f, 1e-4, ','), "12,35"},
        {"in µV", texteValeurTableau(0.00012f, 1e6f, 1e-4, ','), "120"},
        // One second between points: 5 mV is a measure, not noise around zero.
        {"slow series", texteValeurTableau(0.005f, 1.0f, 1.0, ','), "0,005"},
        {"slow series, noise", texteValeurTableau(5e-6f, 1.0f, 1.0, ','), "0"},
    };
    for (const CasTexte& c : cas)
        EXPECT_EQ(c.obtenu, QString::fromUtf8(c.attendu)) << c.quoi;
}

TEST(TexteTableau, PlageTeinteeEtCouleurs) {
    const TPlageTeintee p = plageTeintee(0.01, 0.02, 1e-4);
    EXPECT_EQ(p.premier, 100);
    EXPECT_EQ(p.dernier, 200); // 200.02 rounded
    EXPECT_FALSE(plageTeintee(0.0, 0.02, 0.0).contient(0));
    EXPECT_EQ(clfdSGTitre(), 0xD9CABCu);
    EXPECT_EQ(clfdSGSelT(), 0xEFE9E4u);
}

// Two committed series of 1001 points over 0.1 s, the second cut short.
class Tableau : public ::testing::Test {
protected:
    void SetUp() override {
        setSeparateurDecimal(',');
        s.nbVoiesMesurees = 2;
        s.tv2 = {std::vector<float>(1001), std::vector<float>(600)};
        for (int k = 0; k < 1001; ++k)
            s.tv2[0][k] = 0.001f * static_cast<float>(k);
        for (int k = 0; k < 600; ++k)
            s.tv2[1][k] = -1.5f;
        s.voiesMesurees.resize(2);
        s.voiesMesurees[0].sEnteteVM = QStringLiteral("u[0_M]");
        s.voiesMesurees[0].sUniteVM = QStringLiteral("V");
        s.voiesMesurees[1].sEnteteVM = QStringLiteral("u[1_M]");
        s.voiesMesurees[1].sUniteVM = QStringLiteral("mV");
        s.voiesMesurees[1].multVM = 1000.0f;
        p.dtAX = 1e-4;
        p.dureeTotaleAX = 0.1;
        p.nbPtsAX = 1001;
        p.tFin = 0.1;
    }
    QImage peindre(int premiereLigne) const {
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter pe(&image);
        t.dessiner(pe, image.size(), premiereLigne, 1);
        return image;
    }
    TSeriesMesurees s;
    TParamsTableau p;
    TTableauMesures t;
};

TEST_F(Tableau, CellulesEtDimensions) {
    ASSERT_TRUE(t.MAJTableau(s, p));
    EXPECT_EQ(t.nbLignes(), 1004);
    EXPECT_EQ(t.nbColonnes(), 4);
    const std::tuple<int, int, const char*> cellules[] = {
        {1, 0, "t"},       {0, 1, "Unités"}, {1, 1, "ms"},   {2, 0, "u[0_M]"},
        {3, 1, "mV"},      {2, 2, ""},       {0, 3, "0"},    {0, 1003, "1000"},
        {1, 3, "0"},       {1, 13, "1"},     {2, 1003, "1"}, {2, 503, "0,5"},
        {3, 602, "-1500"}, {3, 603, ""},     {3, 1003, ""}, // past the end of the short series
        {4, 3, ""},        {2, 1004, ""},
    };
    for (const auto& [c, r, attendu] : cellules)
        EXPECT_EQ(t.texte(c, r), QString::fromUtf8(attendu)) << c << ", " << r;
    // The index column holds the largest index, the series columns their widest name.
    EXPECT_GT(t.largeurColonne(0), 0);
    EXPECT_EQ(t.largeurColonne(2), t.largeurColonne(3));
    EXPECT_EQ(t.hauteurLigne(0), 20);
    EXPECT_EQ(t.hauteurLigne(5), 18);
}

TEST_F(Tableau, LesLignesNeDepassentPasLesSeries) {
    // The point count was raised after the acquisition: rows stop at the longest series.
    p.nbPtsAX = 5001;
    ASSERT_TRUE(t.MAJTableau(s, p));
    EXPECT_EQ(t.nbLignes(), 1004);
    p.nbPtsAX = 300;
    ASSERT_TRUE(t.MAJTableau(s, p));
    EXPECT_EQ(t.nbLignes(), 303);
}

TEST_F(Tableau, SansSerieLeTableauResteCommeIlEtait) {
    ASSERT_TRUE(t.MAJTableau(s, p));
    TSeriesMesurees vide;
    EXPECT_FALSE(t.MAJTableau(vide, p));
    EXPECT_EQ(t.nbColonnes(), 4);
    p.nbPtsAX = 0;
    EXPECT_FALSE(t.MAJTableau(s, p));
    EXPECT_EQ(t.texte(2, 0), QStringLiteral("u[0_M]"));
}

TEST_F(Tableau, LesCroixDesSeries) {
    ASSERT_TRUE(t.MAJTableau(s, p));
    EXPECT_EQ(t.serieDeLaCroix(1, 2), -1); // the time column
    EXPECT_EQ(t.serieDeLaCroix(0, 2), -1);
    EXPECT_EQ(t.serieDeLaCroix(2, 2), 0);
    EXPECT_EQ(t.serieDeLaCroix(3, 2), 1);
    EXPECT_EQ(t.serieDeLaCroix(3, 1), -1);
    EXPECT_EQ(t.serieDeLaCroix(3, 3), -1);
    EXPECT_EQ(t.serieDeLaCroix(4, 2), -1);
}

TEST_F(Tableau, LeCurseurVertDeplaceLesTempsEtLaTeinte) {
    p.t0 = 0.01;
    p.tFin = 0.05;
    ASSERT_TRUE(t.MAJTableau(s, p));
    EXPECT_EQ(t.texte(1, 3), QStringLiteral("-10"));
    EXPECT_EQ(t.texte(1, 103), QStringLiteral("0"));
    EXPECT_FALSE(t.teintee(3 + 99));
    EXPECT_TRUE(t.teintee(3 + 100));
    EXPECT_TRUE(t.teintee(3 + 500));
    EXPECT_FALSE(t.teintee(3 + 501));
    EXPECT_FALSE(t.teintee(1)); // a header row
}

TEST_F(Tableau, PeintureDesCouleurs) {
    p.t0 = 0.01;
    ASSERT_TRUE(t.MAJTableau(s, p));
    // Rows from 95 on: 95..99 white, 100 on tinted.
    const QImage image = peindre(3 + 95);
    const int yDonnees = t.hauteurLigne(0) + 2 * t.hauteurLigne(1);
    const int h = t.hauteurLigne(3);
    const int xT = t.largeurColonne(0) + 2; // left edge of the time column
    auto couleur = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };
    const QRgb titre = versQColor(clfdSGTitre()).rgb() & 0xFFFFFF;
    const QRgb teinte = versQColor(clfdSGSelT()).rgb() & 0xFFFFFF;
    EXPECT_EQ(couleur(xT, yDonnees + 1), 0xFFFFFFu);
    EXPECT_EQ(couleur(xT, yDonnees + 5 * h + 1), teinte);
    EXPECT_EQ(couleur(2, yDonnees + 1), titre);           // index column
    EXPECT_EQ(couleur(xT, t.hauteurLigne(0) + 2), titre); // unit row
    // Beyond the last column, the grid's white.
    EXPECT_EQ(couleur(399, yDonnees + 1), 0xFFFFFFu);
    // The cross of the first series: black pixels in its cell of row 2.
    const int x2 = t.largeurColonne(0) + t.largeurColonne(1);
    const int y2 = t.hauteurLigne(0) + t.hauteurLigne(1);
    int noirs = 0;
    for (int x = x2; x < x2 + t.largeurColonne(2); ++x)
        for (int y = y2; y < y2 + t.hauteurLigne(2); ++y)
            noirs += qGray(image.pixel(x, y)) < 60;
    EXPECT_GT(noirs, 10);
    // The cell under a point of that cross, and one of a data row.
    EXPECT_EQ(t.celluleEn({x2 + 3, y2 + 3}, image.size(), 3 + 95, 1), QPoint(2, 2));
    EXPECT_EQ(t.celluleEn({xT, yDonnees + 2 * h + 1}, image.size(), 3 + 95, 1), QPoint(1, 100));
    EXPECT_EQ(t.celluleEn({399, 5}, image.size(), 3, 1), QPoint(-1, -1));
}

TEST_F(Tableau, AcquisitionEnCours) {
    // One committed series and one being filled: frame 1 of a double-frame column, read up
    // to point 9; after it the previous frame (frame 0) still shows.
    s.nbVoiesMesurees = 1;
    s.tv2[1].assign(2002, 0.0f);
    for (int k = 0; k < 1001; ++k)
        s.tv2[1][k] = 1.0f;
    for (int k = 1001; k < 2002; ++k)
        s.tv2[1][k] = 2.0f;
    TAcquisitionEnCours e;
    e.premiereColonne = 1;
    e.noms = {QStringLiteral("u[1]")};
    e.ptFront = 9;
    e.pt0Trame = 1001;
    e.nbPts0X = 1001;
    e.trameX = 1;
    e.modeDoubleTrameX = true;
    p.enCours = e;
    ASSERT_TRUE(t.MAJTableau(s, p));
    EXPECT_EQ(t.nbColonnes(), 4);
    EXPECT_EQ(t.texte(3, 0), QStringLiteral("u[1]"));
    EXPECT_EQ(t.texte(3, 3 + 9), QStringLiteral("2"));
    EXPECT_EQ(t.texte(3, 3 + 10), QStringLiteral("1"));
    EXPECT_EQ(t.serieDeLaCroix(3, 2), -1); // not a committed series
    // A single acquisition: nothing shown past the points read.
    p.enCours->modeDoubleTrameX = false;
    p.enCours->pt0Trame = 0;
    ASSERT_TRUE(t.MAJTableau(s, p));
    EXPECT_EQ(t.texte(3, 3 + 9), QStringLiteral("1"));
    EXPECT_EQ(t.texte(3, 3 + 10), QString());
}

} // namespace
