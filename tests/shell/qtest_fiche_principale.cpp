#include "fichekirvanemixte.h"

#include <QtTest>

class TestFichePrincipale : public QObject {
    Q_OBJECT
private slots:
    void ouvreAvecSonTitreEtSeFerme() {
        TFicheKirvaneMixte fiche;
        fiche.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fiche));
        QCOMPARE(fiche.windowTitle(),
                 QString::fromUtf8("Kirvane : pilotage des interfaces SYSAM SP5, SYSAM V6 et "
                                   "SYSAM CAMPUS"));
        QVERIFY(fiche.close());
        QVERIFY(!fiche.isVisible());
    }
};

QTEST_MAIN(TestFichePrincipale)
#include "qtest_fiche_principale.moc"
