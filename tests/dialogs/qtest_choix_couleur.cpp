// The colour chooser on screen: it opens on the start colour, pointing picks, a click
// freezes the choice for 5 s (an injected clock stands for the time), leaving the circle
// before any click gives the start colour back, and picking follows the displayed circle.
#include "cerclechromatique.h"
#include "composantchoixcouleur.h"
#include "couleursqt.h"
#include "fichechoixcouleur.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

class TestChoixCouleur : public QObject {
    Q_OBJECT

    qint64 maintenant = 0;

    std::unique_ptr<TFicheChoixCouleurCercleChro> ouvrir(TColor depart) {
        auto f = std::make_unique<TFicheChoixCouleurCercleChro>(depart);
        f->horloge = [this] { return maintenant; };
        f->show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(f.get())); }();
        [&] { QTRY_VERIFY(!f->premierActivate); }();
        return f;
    }
    static QPoint centre(const TFicheChoixCouleurCercleChro& f) {
        return QPoint(f.pbC->width() / 2, f.pbC->height() / 2);
    }
    static QPoint versDroite(const TFicheChoixCouleurCercleChro& f, double part) {
        return centre(f) + QPoint(static_cast<int>(f.pbC->width() / 2.0 * part), 0);
    }
    static void composantes(const TFicheChoixCouleurCercleChro& f, int r, int v, int b) {
        QCOMPARE(f.SERouge->value(), r);
        QCOMPARE(f.SEVert->value(), v);
        QCOMPARE(f.SEBleu->value(), b);
        QCOMPARE(f.GRouge->value(), r);
        QCOMPARE(f.GVert->value(), v);
        QCOMPARE(f.GBleu->value(), b);
    }

private slots:
    void init() { maintenant = 1000; }

    void textesEtCouleurDeDepart() {
        auto f = ouvrir(0x02854200); // 0, 66, 133
        QCOMPARE(f->windowTitle(), QStringLiteral("Choix d'une couleur"));
        QCOMPARE(f->ButtonAnnuler->text(), QStringLiteral("Annuler "));
        QCOMPARE(f->clChoisie, TColor(0x02854200));
        composantes(*f, 0, 66, 133);
        QVERIFY(f->SERouge->findChild<QLineEdit*>()->isReadOnly()); // the arrows only
        QVERIFY(f->pbC->isVisible());
        QVERIFY(f->width() <= TFicheChoixCouleurCercleChro::largeurConception);
        // The sample shows the colour on black and on white.
        const QImage e = f->pbE->grab().toImage();
        const int h = e.height() / 2;
        QCOMPARE(QColor(e.pixel(2, 2)), QColor(Qt::black));
        QCOMPARE(QColor(e.pixel(2, e.height() - 2)), QColor(Qt::white));
        QCOMPARE(QColor(e.pixel(e.width() / 2, h / 2)), QColor(0, 66, 133));
        QCOMPARE(QColor(e.pixel(e.width() / 2, h + h / 2)), QColor(0, 66, 133));
    }

    // Pointing picks; leaving the circle before any click gives the start colour back, so
    // that "open, move to OK, click" keeps the curve's colour.
    void survolPuisSortieSansClic() {
        auto f = ouvrir(0x02854200);
        QTest::mouseMove(f->pbC, centre(*f));
        QTRY_COMPARE(f->clChoisie, TColor(0x00FFFFFF));
        composantes(*f, 255, 255, 255);
        QCOMPARE(f->StatusBar1->currentMessage(),
                 QStringLiteral("Cliquez sur une couleur, puis affinez si nécessaire à l'aide "
                                "des boites d'ajustage "));
        QTest::mouseMove(f->pbC, QPoint(1, 1)); // a corner, off the disc
        QTRY_COMPARE(f->clChoisie, TColor(0x02854200));
        QTest::mouseMove(f->pbC, centre(*f));
        QTRY_COMPARE(f->clChoisie, TColor(0x00FFFFFF));
        QTest::mouseMove(f->ButtonOK);
        QTRY_COMPARE(f->clChoisie, TColor(0x02854200));
        QTest::mouseClick(f->ButtonOK, Qt::LeftButton);
        QCOMPARE(f->result(), int(QDialog::Accepted));
        QCOMPARE(f->clChoisie, TColor(0x02854200));
    }

    // A click fixes the colour for 5 s: pointing elsewhere changes nothing until the clock
    // has moved on; leaving the circle keeps the clicked colour.
    void clicGeleCinqSecondes() {
        auto f = ouvrir(0);
        const QPoint rouge = versDroite(*f, 0.6);
        QTest::mouseClick(f->pbC, Qt::LeftButton, {}, rouge);
        const TColor clique = f->clChoisie;
        QCOMPARE(clique & 0xFF, TColor(255));
        QCOMPARE(f->StatusBar1->currentMessage(),
                 QStringLiteral("Affinez si nécessaire à l'aide des boites d'ajustage; validez "
                                "avec [OK] "));
        maintenant += 4999;
        QTest::mouseMove(f->pbC, centre(*f));
        QTest::qWait(20);
        QCOMPARE(f->clChoisie, clique);
        QTest::mouseMove(f->ButtonAnnuler);
        QTest::qWait(20);
        QCOMPARE(f->clChoisie, clique);
        maintenant += 1;
        QTest::mouseMove(f->pbC, centre(*f));
        QTRY_COMPARE(f->clChoisie, TColor(0x00FFFFFF));
        // A click off the disc chooses black.
        maintenant += 10000;
        QTest::mouseClick(f->pbC, Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(f->clChoisie, TColor(0));
    }

    void boitesDAjustage() {
        auto f = ouvrir(0x00000000);
        f->SERouge->setValue(255);
        QCOMPARE(f->clChoisie, TColor(0x000000FF));
        composantes(*f, 255, 0, 0);
        const QImage e = f->pbE->grab().toImage();
        QCOMPARE(QColor(e.pixel(e.width() / 2, e.height() / 4)), QColor(255, 0, 0));
        QCOMPARE(QColor(e.pixel(e.width() / 2, e.height() * 3 / 4)), QColor(255, 0, 0));
        // A refined colour stays when the pointer leaves for OK.
        QTest::mouseMove(f->ButtonOK);
        QTest::qWait(20);
        QCOMPARE(f->clChoisie, TColor(0x000000FF));
    }

    // After a resize the circle is stretched; pointing reads what is displayed, around its
    // true centre.
    void apresRedimensionnement() {
        auto f = ouvrir(0);
        const QSize avant = f->pbC->size();
        f->resize(f->width() - 150, f->height() - 100);
        QTRY_VERIFY(f->pbC->size() != avant);
        const QImage ecran = f->pbC->grab().toImage();
        for (double part : {0.0, 0.3, 0.6, -0.6}) {
            const QPoint p = versDroite(*f, part);
            QTest::mouseMove(f->pbC, p);
            QTRY_COMPARE(f->clChoisie, versTColor(QColor(ecran.pixel(p))));
        }
        QCOMPARE(f->clChoisie & 0xFF, TColor(0)); // cyan on the left
        QCOMPARE(couleurSousPoint(f->pbC->affichee(), centre(*f)), TColor(0x00FFFFFF));
    }

    void composantOkEtAnnuler() {
        TComposantChoixCouleurCercleChro c;
        c.Setcouleur(0x00102030);
        c.fTitre = QStringLiteral("Couleur de la courbe de la voie EA2");
        c.avantExecution = [](TFicheChoixCouleurCercleChro& f) {
            QTimer::singleShot(0, &f, [&f] {
                QCOMPARE(f.windowTitle(), QStringLiteral("Couleur de la courbe de la voie EA2"));
                f.SEBleu->setValue(0xFF);
                f.ButtonAnnuler->click();
            });
        };
        QVERIFY(!c.execute());
        QCOMPARE(c.fCouleur, TColor(0x00102030));
        c.avantExecution = [](TFicheChoixCouleurCercleChro& f) {
            QTimer::singleShot(0, &f, [&f] {
                f.SEBleu->setValue(0xFF);
                f.ButtonOK->click();
            });
        };
        QVERIFY(c.execute());
        QCOMPARE(c.fCouleur, TColor(0x00FF2030));
        QCOMPARE(c.fBleu, uint8_t(0xFF));
    }
};

QTEST_MAIN(TestChoixCouleur)
#include "qtest_choix_couleur.moc"
