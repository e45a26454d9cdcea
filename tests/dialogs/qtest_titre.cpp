// The title window: start-up lines, fade-out steps, about mode and the unit page.
#include "fichekirvanemixtetitre.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

class TestTitre : public QObject {
    Q_OBJECT
private slots:
    void lignesDeDemarrage();
    void disparitionPasAPas();
    void fenetreAProposPlusRapide();
    void changerDePageArreteLeFondu();
};

void TestTitre::lignesDeDemarrage() {
    TFicheKirvaneMixteTitre f(QStringLiteral("Kirvane - 0.1.0.0"));
    QVERIFY(!f.isVisible());
    QCOMPARE(f.windowTitle(), QStringLiteral("Kirvane - 0.1.0.0"));
    QCOMPARE(f.LabelTitreFicheTitre->text(), QStringLiteral("Kirvane - 0.1.0.0"));
    QCOMPARE(f.PageControl1->tabText(0), QStringLiteral("   A propos de Kirvane...   "));
    QVERIFY(!f.PageControl1->isTabVisible(1));
    QVERIFY(f.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(f.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(f.ButtonFermerFicheTitre->text(), QStringLiteral("Sysam, ouvre-toi !"));
    f.setVersion(QStringLiteral("0.1.0.0"));
    QCOMPARE(f.LabelVersion->text(), QStringLiteral("Version 0.1.0.0"));
    QVERIFY(f.MemoDemarrage->isReadOnly());
    f.ajouterLigneDemarrage(QStringLiteral("Détection SYSAM SP5..."));
    f.ajouterLigneDemarrage(QStringLiteral("Centrale SYSAM SP5 installée "));
    QCOMPARE(f.MemoDemarrage->toPlainText(),
             QStringLiteral("Détection SYSAM SP5...\nCentrale SYSAM SP5 installée "));
    // Client height: pages + title + 16.
    QCOMPARE(f.height(), f.PageControl1->height() + f.LabelTitreFicheTitre->height() + 16);
    QCOMPARE(f.PageControl1->height(), 598);
    QCOMPARE(f.width(), 504);
    // Nothing of the page spills out of it.
    f.show();
    const QRect page = f.TSProgramme->rect();
    for (QWidget* w : {static_cast<QWidget*>(f.Image1), static_cast<QWidget*>(f.LabelObjectif),
                       static_cast<QWidget*>(f.LabelVersion), static_cast<QWidget*>(f.LabelCredits),
                       static_cast<QWidget*>(f.MemoDemarrage)})
        QVERIFY2(page.contains(w->geometry()), qPrintable(QStringLiteral("%1 %2 %3 dans %4 %5")
                                                              .arg(w->metaObject()->className())
                                                              .arg(w->y())
                                                              .arg(w->height())
                                                              .arg(page.width())
                                                              .arg(page.height())));
}

void TestTitre::disparitionPasAPas() {
    TFicheKirvaneMixteTitre f(QStringLiteral("Kirvane - 0.1.0.0"));
    f.show();
    const int hPages = f.PageControl1->height();
    const int hFenetre = f.height();
    const int hMemo = f.MemoDemarrage->height();
    f.demarrerDisparition(10);
    QVERIFY(f.TimerFicheTitre->isActive());
    QCOMPARE(f.TimerFicheTitre->interval(), 10);
    int attendu = 255;
    int pas = 0;
    while (attendu > 0) {
        f.TimerFicheTitreTimer();
        attendu -= 5;
        ++pas;
        if (attendu == 0)
            break;
        QCOMPARE(f.alpha(), attendu);
        QVERIFY(qAbs(f.windowOpacity() - attendu / 255.0) < 0.01);
        QCOMPARE(f.MemoDemarrage->isVisible(), attendu >= 180);
        QCOMPARE(f.PageControl1->height(), attendu >= 180 ? hPages : hPages - hMemo);
        QVERIFY(f.isVisible());
    }
    QCOMPARE(pas, 51);
    QVERIFY(!f.TimerFicheTitre->isActive());
    QVERIFY(!f.isVisible());
    QCOMPARE(f.alpha(), 255);
    QCOMPARE(f.windowOpacity(), 1.0);
    QVERIFY(!f.premiereFois);
    QCOMPARE(f.height(), hFenetre - (hMemo / 3 + 35));
    QCOMPARE(f.MemoDemarrage->height(), hMemo - 35);
    QVERIFY(f.ButtonFermerFicheTitre->isVisibleTo(&f));
    const int basPages = f.PageControl1->y() + f.PageControl1->height();
    QCOMPARE(f.ButtonFermerFicheTitre->y(),
             (basPages + f.height() - f.ButtonFermerFicheTitre->height()) / 2);
    QVERIFY(basPages <= f.ButtonFermerFicheTitre->y());
    QVERIFY(f.ButtonFermerFicheTitre->geometry().bottom() < f.height());
}

void TestTitre::fenetreAProposPlusRapide() {
    TFicheKirvaneMixteTitre f(QStringLiteral("Kirvane - 0.1.0.0"));
    f.show();
    f.demarrerDisparition(10);
    while (f.isVisible())
        f.TimerFicheTitreTimer();
    const int hFenetre = f.height();
    const int hPages = f.PageControl1->height();

    f.montrerAPropos();
    QVERIFY(f.isVisible());
    QCOMPARE(f.ButtonFermerFicheTitre->text(), QStringLiteral("Sysam, ferme-toi !"));
    QVERIFY(!f.MemoDemarrage->isVisible()); // not shown again after the first fade-out
    QTest::mouseClick(f.ButtonFermerFicheTitre, Qt::LeftButton);
    QVERIFY(f.TimerFicheTitre->isActive());
    QCOMPARE(f.TimerFicheTitre->interval(), 5);
    // The real timer runs it out; 51 steps of 5 ms.
    QTRY_VERIFY_WITH_TIMEOUT(!f.isVisible(), 5000);
    QCOMPARE(f.alpha(), 255);
    // The window shrinks only once.
    QCOMPARE(f.height(), hFenetre);
    QCOMPARE(f.PageControl1->height(), hPages);
}

void TestTitre::changerDePageArreteLeFondu() {
    TFicheKirvaneMixteTitre f(QStringLiteral("Kirvane - 0.1.0.0"));
    f.setInterface(QStringLiteral("SYSAM SP5"), QStringLiteral("SPSIMUL"));
    f.setOngletInterfaceVisible(true);
    QVERIFY(f.PageControl1->isTabVisible(1));
    QVERIFY(f.LabelNumeroSerie->text().contains(QStringLiteral("SPSIMUL")));
    QVERIFY(f.LabelNomCentrale->text().contains(QStringLiteral("SYSAM SP5")));
    f.show();
    f.demarrerDisparition(10);
    f.TimerFicheTitreTimer();
    f.PageControl1->setCurrentIndex(1);
    QVERIFY(!f.TimerFicheTitre->isActive());
    QCOMPARE(f.alpha(), 250);
    f.setOngletInterfaceVisible(false);
    QVERIFY(!f.PageControl1->isTabVisible(1));
}

QTEST_MAIN(TestTitre)
#include "qtest_titre.moc"
