// Pictures of the tool bar and arrows of the spin buttons.
#include "imagesboutons.h"

#include <QtTest>

class TestImagesBoutons : public QObject {
    Q_OBJECT
private slots:
    void imagesDesBoutons_data();
    void imagesDesBoutons();
    void imagesToutesDifferentes();
    void icone();
    void flechesDesBoutonsSpin_data();
    void flechesDesBoutonsSpin();
};

namespace {

int pixelsOpaques(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qAlpha(img.pixel(x, y)) > 64;
    return n;
}

bool estNoir(const QImage& img, int x, int y) {
    return img.pixel(x, y) == qRgb(0, 0, 0);
}

// Black pixels of a row inside the edges (the dark edge runs up column w = width - 4).
int noirsDeLaLigne(const QImage& img, int y) {
    int n = 0;
    for (int x = 2; x < img.width() - 4; ++x)
        n += estNoir(img, x, y);
    return n;
}

} // namespace

void TestImagesBoutons::imagesDesBoutons_data() {
    QTest::addColumn<int>("bouton");
    QTest::addColumn<int>("s");
    for (int b = 0; b < NB_IMAGES_BOUTONS; ++b)
        for (int s : {26, 32})
            QTest::addRow("%d-%d", b, s) << b << s;
}

void TestImagesBoutons::imagesDesBoutons() {
    QFETCH(int, bouton);
    QFETCH(int, s);
    const auto b = ImageBouton(bouton);
    const QImage normal = imageBouton(b, EtatBouton::Normal, s);
    const QImage gris = imageBouton(b, EtatBouton::Desactive, s);
    const QImage enfonce = imageBouton(b, EtatBouton::Enfonce, s);
    const QImage bas = imageBouton(b, EtatBouton::Verrouille, s);
    for (const QImage* img : {&normal, &gris, &enfonce, &bas})
        QCOMPARE(img->size(), QSize(s, s));
    // A real picture covers a good part of its square, and leaves some of it free.
    const int n = pixelsOpaques(normal);
    QVERIFY2(n > s * s / 5, qPrintable(QString::number(n)));
    QVERIFY(n < s * s);
    QVERIFY(normal != gris);
    QVERIFY(normal != enfonce);
    QVERIFY(normal != bas);
    QVERIFY(enfonce != bas);
    // The disabled picture is grey: no colour left.
    const QImage g = gris.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            const QRgb c = g.pixel(x, y);
            if (qAlpha(c) == 0)
                continue;
            QVERIFY(qAbs(qRed(c) - qGreen(c)) <= 2 && qAbs(qGreen(c) - qBlue(c)) <= 2);
        }
}

void TestImagesBoutons::imagesToutesDifferentes() {
    for (int a = 0; a < NB_IMAGES_BOUTONS; ++a)
        for (int b = a + 1; b < NB_IMAGES_BOUTONS; ++b)
            QVERIFY2(imageBouton(ImageBouton(a), EtatBouton::Normal, 26) !=
                         imageBouton(ImageBouton(b), EtatBouton::Normal, 26),
                     qPrintable(QStringLiteral("%1 %2").arg(a).arg(b)));
}

void TestImagesBoutons::icone() {
    const QIcon icone = iconeBouton(ImageBouton::EnregistrerRW3, 26);
    const QImage normal = icone.pixmap(26, QIcon::Normal, QIcon::Off).toImage();
    const QImage gris = icone.pixmap(26, QIcon::Disabled, QIcon::Off).toImage();
    const QImage bas = icone.pixmap(26, QIcon::Normal, QIcon::On).toImage();
    QCOMPARE(normal.convertToFormat(QImage::Format_ARGB32),
             imageBouton(ImageBouton::EnregistrerRW3, EtatBouton::Normal, 26)
                 .convertToFormat(QImage::Format_ARGB32));
    QCOMPARE(gris.convertToFormat(QImage::Format_ARGB32),
             imageBouton(ImageBouton::EnregistrerRW3, EtatBouton::Desactive, 26)
                 .convertToFormat(QImage::Format_ARGB32));
    QCOMPARE(bas.convertToFormat(QImage::Format_ARGB32),
             imageBouton(ImageBouton::EnregistrerRW3, EtatBouton::Verrouille, 26)
                 .convertToFormat(QImage::Format_ARGB32));
}

void TestImagesBoutons::flechesDesBoutonsSpin_data() {
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("hb");
    QTest::newRow("nominal") << 14 << 15;
    QTest::newRow("agrandi") << 18 << 19;
    QTest::newRow("nombre de points") << 14 << 11;
}

void TestImagesBoutons::flechesDesBoutonsSpin() {
    QFETCH(int, w);
    QFETCH(int, hb);
    const QColor face(240, 240, 240);
    const int c = w / 2 + 1;
    const int d = hb / 3;
    for (bool plus : {true, false}) {
        const QImage img = imageFlecheSpin(w, hb, plus, face);
        QCOMPARE(img.size(), QSize(w + 4, hb + 4));
        // The marked pixel is transparent, the rest is opaque.
        QCOMPARE(qAlpha(img.pixel(0, hb + 3)), 0);
        QCOMPARE(img.pixel(w + 3, 0), face.rgb());
        QCOMPARE(img.pixel(0, 0), face.rgb());
        // Edges: dark along the bottom and up the right side, light along top and left.
        QVERIFY(estNoir(img, 0, hb) && estNoir(img, w - 1, hb));
        QVERIFY(estNoir(img, w, hb) && estNoir(img, w, 1));
        QCOMPARE(img.pixel(1, hb - 1), qRgb(255, 255, 255));
        QCOMPARE(img.pixel(w - 2, 1), qRgb(255, 255, 255));
        // Triangle: base 2d + 1 wide, apex d away; up for plus, down for minus.
        const int base = plus ? 2 * hb / 3 + 1 : hb / 3 + 1;
        const int sommet = plus ? base - d : base + d;
        QVERIFY(estNoir(img, c - d, base) && estNoir(img, c + d, base));
        QVERIFY(!estNoir(img, c - d - 1, base));
        QVERIFY(estNoir(img, c, sommet));
        const int auDela = plus ? sommet - 1 : sommet + 1;
        QCOMPARE(noirsDeLaLigne(img, auDela), 0);
        const int versSommet = plus ? -1 : 1;
        // Rows narrow from the base to the apex.
        for (int y = base; y != sommet; y += versSommet)
            QVERIFY(noirsDeLaLigne(img, y) > noirsDeLaLigne(img, y + versSommet));
        QCOMPARE(noirsDeLaLigne(img, base), 2 * d + 1);
    }
}

QTEST_MAIN(TestImagesBoutons)
#include "qtest_images_boutons.moc"
