// Labels with subscripts and superscripts drawn on an image; reduction of bitmaps.
#include "bitmap.h"
#include "indices.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr QRgb BLANC = 0xFFFFFFFF;
constexpr TColor NOIR = 0x000000;
constexpr TColor VERT = 0x00FF00;

QFont policeEssai() {
    QFont police(QStringLiteral("DejaVu Sans"));
    police.setPixelSize(20);
    return police;
}

// Bounding box of the pixels of `zone` that differ from `fond` (or equal `couleur`).
QRect encre(const QImage& image, QRect zone, QRgb fond) {
    QRect boite;
    zone &= image.rect();
    for (int y = zone.top(); y <= zone.bottom(); ++y)
        for (int x = zone.left(); x <= zone.right(); ++x)
            if (image.pixel(x, y) != fond)
                boite |= QRect(x, y, 1, 1);
    return boite;
}

QRect pixelsDeCouleur(const QImage& image, QRgb couleur) {
    QRect boite;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == couleur)
                boite |= QRect(x, y, 1, 1);
    return boite;
}

class TexteIndices : public ::testing::Test {
protected:
    void SetUp() override {
        image.fill(BLANC);
        ASSERT_EQ(QFontInfo(policeEssai()).family(), QStringLiteral("DejaVu Sans"));
    }

    // Draws one label on a fresh white image.
    void dessiner(int x, int y, int maxX, int maxY, int ancre, int effet, TColor texte,
                  std::int64_t fond, const QString& label, TColor halo = 0x808080) {
        image.fill(BLANC);
        QPainter p(&image);
        p.setFont(policeEssai());
        dessinerTexteIndices(p, x, y, maxX, maxY, ancre, effet, texte, fond, halo, label);
    }

    int hauteurTp() const { return QFontMetrics(policeEssai(), &image).height(); }

    QImage image{400, 160, QImage::Format_RGB32};
};

} // namespace

TEST(PreparerTexteIndices, MarquesRemplaceesEnUnePasse) {
    struct Cas {
        const char* texte;
        QString attendu;
    };
    const Cas cas[] = {
        {"u[EA0]", QStringLiteral("u\x0B"
                                  "EA0\x0C")},
        {"S.m(-1)", QStringLiteral("S.m\x09-1\x0A")},
        {"((", QStringLiteral("(")},
        {"))", QStringLiteral(")")},
        {"[[x]]", QStringLiteral("[x]")},
        {"(((", QStringLiteral("(\x09")},
        {"a//1b//2", QStringLiteral("a\x07"
                                    "b\x08")},
        {"//3 / //", QStringLiteral("//3 / //")},
        {"", QString()},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.texte);
        EXPECT_EQ(preparerTexteIndices(QString::fromUtf8(c.texte)), c.attendu);
    }
}

TEST_F(TexteIndices, IndiceAbaisseExposantRemonte) {
    struct Cas {
        const char* label;
        const char* base; // the normal text before the first mark
        bool abaisse;     // subscript (lower) or superscript (higher)
    };
    const Cas cas[] = {{"u[EA0]", "u", true}, {"u[AS-V1]", "u", true}, {"m(2)", "m", false}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.label);
        dessiner(10, 10, 0, 0, 0, 0, NOIR, FOND_TRANSPARENT, QString::fromUtf8(c.label));
        const int finBase =
            10 + QFontMetrics(policeEssai(), &image).horizontalAdvance(QString::fromUtf8(c.base));
        const QRect base = encre(image, QRect(0, 0, finBase, image.height()), BLANC);
        const QRect marque =
            encre(image, QRect(finBase + 1, 0, image.width(), image.height()), BLANC);
        ASSERT_FALSE(base.isEmpty());
        ASSERT_FALSE(marque.isEmpty());
        if (c.abaisse)
            EXPECT_GT(marque.bottom(), base.bottom() + hauteurTp() / 8);
        else
            EXPECT_LT(marque.bottom(), base.bottom() - hauteurTp() / 8);
        // The small size: the marked part is less tall than a capital of the normal size.
        EXPECT_LT(marque.height(), QFontMetrics(policeEssai(), &image).capHeight());
    }
}

TEST_F(TexteIndices, CrochetDoubleDessineUnSeulCrochet) {
    dessiner(10, 10, 0, 0, 0, 0, NOIR, FOND_TRANSPARENT, QStringLiteral("a((b"));
    const QImage label = image;
    ASSERT_FALSE(encre(label, label.rect(), BLANC).isEmpty());

    image.fill(BLANC);
    {
        QPainter p(&image);
        p.setFont(policeEssai());
        p.setPen(Qt::black);
        p.drawText(QPoint(10, 10 + QFontMetrics(policeEssai(), &image).ascent()),
                   QStringLiteral("a(b"));
    }
    EXPECT_EQ(label, image);
}

TEST_F(TexteIndices, FondTransparentLaisseLeFond) {
    // Text in the colour of the image: only a filled box could change a pixel.
    const QRgb fondImage = qRgb(0x99, 0x66, 0x33);
    const TColor memeCouleur = 0x336699;
    struct Cas {
        std::int64_t fond;
        bool inchange;
    };
    const Cas cas[] = {{FOND_TRANSPARENT, true}, {-5000, true}, {-999, false}, {VERT, false}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.fond);
        image.fill(fondImage);
        QPainter p(&image);
        p.setFont(policeEssai());
        dessinerTexteIndices(p, 20, 20, 0, 0, 0, 0, memeCouleur, c.fond, 0x808080,
                             QStringLiteral("Tp[2]"));
        p.end();
        EXPECT_EQ(encre(image, image.rect(), fondImage).isEmpty(), c.inchange);
    }
}

TEST_F(TexteIndices, AncresPlacentLaBoite) {
    dessiner(50, 40, 0, 0, 0, 0, NOIR, VERT, QStringLiteral("Tp[ab]"));
    const QRect boite0 = pixelsDeCouleur(image, qRgb(0, 255, 0));
    ASSERT_EQ(boite0.topLeft(), QPoint(50, 40));
    ASSERT_EQ(boite0.height(), hauteurTp() + 2);
    const int W = boite0.width(), H = boite0.height();
    ASSERT_GT(W, hauteurTp()); // text width plus margins

    struct Cas {
        int ancre, x, y, maxX, maxY;
        QPoint coin; // expected top-left corner of the box
    };
    const Cas cas[] = {
        {3, 50, 40, 0, 0, {50, 40}},
        {1, 200, 100, 0, 0, {200 - W, 100 - H}},
        {2, 200, 40, 0, 0, {200 - W, 40}},
        {4, 50, 100, 0, 0, {50, 100 - H}},
        {5, 20, 40, 380, 160, {20 + (380 - 20 - W) / 2, 40}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.ancre);
        dessiner(c.x, c.y, c.maxX, c.maxY, c.ancre, 0, NOIR, VERT, QStringLiteral("Tp[ab]"));
        EXPECT_EQ(pixelsDeCouleur(image, qRgb(0, 255, 0)), QRect(c.coin, QSize(W, H)));
    }
}

TEST_F(TexteIndices, LimitesMaxXMaxY) {
    dessiner(0, 0, 0, 0, 0, 0, NOIR, VERT, QStringLiteral("Tp"));
    const QSize taille = pixelsDeCouleur(image, qRgb(0, 255, 0)).size();
    const int W = taille.width(), H = taille.height();

    struct Cas {
        int ancre, x, y, maxX, maxY;
        QRect boite; // expected box, before cutting at the image's edges
    };
    const Cas cas[] = {
        // The whole box stays left of maxX and above maxY.
        {0, 1000, 1000, 300, 150, {300 - W, 150 - H, W, H}},
        {0, 290, 10, 300, 150, {300 - W, 10, W, H}},
        // Raised to 0 when maxY > 0.
        {0, -30, -20, 300, 150, {0, 0, W, H}},
        {1, 10, 10, 300, 150, {0, 0, W, H}},
        // No limits at all: the box may leave the image.
        {0, -30, 20, 0, 0, {-30, 20, W, H}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        dessiner(c.x, c.y, c.maxX, c.maxY, c.ancre, 0, NOIR, VERT, QStringLiteral("Tp"));
        EXPECT_EQ(pixelsDeCouleur(image, qRgb(0, 255, 0)), c.boite & image.rect());
    }
}

TEST_F(TexteIndices, HaloEtRelief) {
    struct Cas {
        int effet;
        bool rouge, blanc, noir;
    };
    // Grey image, blue text; halo red; relief black and white.
    const Cas cas[] = {{0, false, false, false}, {1, true, false, false}, {2, false, true, true}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.effet);
        image.fill(qRgb(128, 128, 128));
        QPainter p(&image);
        p.setFont(policeEssai());
        dessinerTexteIndices(p, 20, 20, 0, 0, 0, c.effet, 0xFF0000, FOND_TRANSPARENT, 0x0000FF,
                             QStringLiteral("HIL[1]"));
        p.end();
        EXPECT_EQ(!pixelsDeCouleur(image, qRgb(255, 0, 0)).isEmpty(), c.rouge);
        EXPECT_EQ(!pixelsDeCouleur(image, qRgb(255, 255, 255)).isEmpty(), c.blanc);
        EXPECT_EQ(!pixelsDeCouleur(image, qRgb(0, 0, 0)).isEmpty(), c.noir);
        EXPECT_FALSE(pixelsDeCouleur(image, qRgb(0, 0, 255)).isEmpty()); // the text itself
    }
}

TEST_F(TexteIndices, EtatDuPinceauRestitue) {
    QPainter p(&image);
    QFont police = policeEssai();
    p.setFont(police);
    const QBrush pinceau(Qt::red, Qt::Dense4Pattern);
    p.setBrush(pinceau);
    p.setPen(QPen(Qt::darkCyan, 3));
    dessinerTexteIndices(p, 5, 5, 400, 160, 0, 1, NOIR, VERT, 0x808080, QStringLiteral("x(2)"));
    EXPECT_EQ(p.brush(), pinceau);
    EXPECT_EQ(p.font(), police);
    EXPECT_EQ(p.font().pixelSize(), 20);
    EXPECT_EQ(p.pen(), QPen(Qt::darkCyan, 3));
}

// ---------------------------------------------------------------------------------------------

namespace {

QImage imageDe(int largeur, int hauteur, const std::function<QRgb(int, int)>& pixel) {
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    for (int y = 0; y < hauteur; ++y)
        for (int x = 0; x < largeur; ++x)
            image.setPixel(x, y, pixel(x, y));
    return image;
}

} // namespace

TEST(ReduireBitmap, MoyenneParBlocArrondieAuPair) {
    // Each 2 x 2 block (pixels in reading order) and its expected rounded mean.
    struct Bloc {
        QRgb pixels[4];
        QRgb moyenne;
    };
    const Bloc blocs[2][2] = {
        {{{qRgb(10, 2, 3), qRgb(11, 3, 4), qRgb(12, 2, 3), qRgb(12, 3, 4)}, qRgb(11, 2, 4)},
         {{qRgb(0, 255, 1), qRgb(0, 255, 2), qRgb(0, 255, 1), qRgb(1, 255, 2)}, qRgb(0, 255, 2)}},
        {{{qRgb(100, 7, 0), qRgb(101, 8, 0), qRgb(100, 8, 0), qRgb(101, 8, 0)}, qRgb(100, 8, 0)},
         {{qRgb(200, 50, 9), qRgb(201, 50, 9), qRgb(202, 51, 9), qRgb(203, 51, 9)},
          qRgb(202, 50, 9)}},
    };
    const QImage source = imageDe(
        4, 4, [&](int x, int y) { return blocs[y / 2][x / 2].pixels[(y % 2) * 2 + x % 2]; });
    QImage cible(2, 2, QImage::Format_RGB32);
    reduireBitmap(source, cible);
    ASSERT_EQ(cible.size(), QSize(2, 2));
    EXPECT_EQ(cible.format(), QImage::Format_RGB888);
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(std::to_string(i) + "," + std::to_string(j));
            EXPECT_EQ(cible.pixel(i, j), blocs[j][i].moyenne);
        }
}

TEST(ReduireBitmap, BlocsDeTaillesInegales) {
    // One row of greys 0, 10, 20, ...: each target pixel averages the columns it covers.
    struct Cas {
        int largeurSource, largeurCible;
        std::vector<int> attendus;
    };
    const Cas cas[] = {
        {5, 2, {10, 30}},    // columns 0-2 and 2-4
        {7, 3, {5, 30, 55}}, // columns 0-1, 2-4, 5-6
        {4, 1, {15}},        // 15 exactly
        {2, 1, {5}},         // 5 exactly
        {6, 6, {0, 10, 20, 30, 40, 50}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::to_string(c.largeurSource) + " -> " + std::to_string(c.largeurCible));
        const QImage source =
            imageDe(c.largeurSource, 1, [](int x, int) { return qRgb(10 * x, 10 * x, 10 * x); });
        QImage cible(c.largeurCible, 1, QImage::Format_RGB888);
        reduireBitmap(source, cible);
        for (int i = 0; i < c.largeurCible; ++i)
            EXPECT_EQ(qRed(cible.pixel(i, 0)), c.attendus[i]) << "colonne " << i;
    }
}

TEST(ReduireBitmap, CiblePlusGrandeQueLaSource) {
    // Every target pixel copies the source block it falls on, never outside the source.
    const QImage source =
        imageDe(3, 3, [](int x, int y) { return qRgb(10 * x + 1, 10 * y + 2, 50); });
    QImage cible(7, 5, QImage::Format_RGB888);
    reduireBitmap(source, cible);
    const int colonnes[7] = {0, 0, 1, 1, 2, 2, 2};
    const int lignes[5] = {0, 1, 1, 2, 2};
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 7; ++i) {
            SCOPED_TRACE(std::to_string(i) + "," + std::to_string(j));
            EXPECT_EQ(cible.pixel(i, j), source.pixel(colonnes[i], lignes[j]));
        }

    // A single source pixel fills any target.
    QImage grande(9, 4, QImage::Format_RGB888);
    reduireBitmap(imageDe(1, 1, [](int, int) { return qRgb(7, 8, 9); }), grande);
    EXPECT_TRUE(encre(grande, grande.rect(), qRgb(7, 8, 9)).isEmpty());
}

TEST(ReduireBitmap, ImagesVidesNeChangentRien) {
    QImage cible(3, 3, QImage::Format_RGB32);
    cible.fill(qRgb(1, 2, 3));
    const QImage avant = cible;
    int appels = 0;
    reduireBitmap(QImage(), cible, [&] { ++appels; });
    EXPECT_EQ(cible, avant);

    QImage vide;
    reduireBitmap(imageDe(4, 4, [](int, int) { return qRgb(9, 9, 9); }), vide, [&] { ++appels; });
    EXPECT_TRUE(vide.isNull());
    EXPECT_EQ(appels, 0);
}

TEST(ReduireBitmap, MessagesToutesLesDixLignes) {
    struct Cas {
        int lignesCible, appels;
    };
    const Cas cas[] = {{1, 1}, {10, 1}, {11, 2}, {25, 3}, {30, 3}};
    const QImage source = imageDe(40, 40, [](int x, int y) { return qRgb(x, y, 0); });
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.lignesCible);
        QImage cible(8, c.lignesCible, QImage::Format_RGB888);
        int appels = 0;
        reduireBitmap(source, cible, [&] { ++appels; });
        EXPECT_EQ(appels, c.appels);
    }
}
