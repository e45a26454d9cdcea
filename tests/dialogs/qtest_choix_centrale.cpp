// The chooser of the unit kind: placement of the kinds offered, choosing and abandoning.
#include "fichekirvanechoixcentrale.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

class TestChoixCentrale : public QObject {
    Q_OBJECT
private slots:
    void textes();
    void placementSelonLesTypes_data();
    void placementSelonLesTypes();
    void choisirPuisRenoncer();
    void okDonneLeType();
    void echapOuFermerAbandonne();
};

namespace {
int bas(const QWidget* w) {
    return w->y() + w->height();
}
} // namespace

void TestChoixCentrale::textes() {
    TFicheKirvaneChoixCentrale d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Kirvane - Choix d'une centrale ... "));
    QCOMPARE(d.LChoixCentrale->text(),
             QStringLiteral("Plusieurs centrales sont connectées à l'ordinateur.\n"
                            "Veuillez choisir celle qui doit être utilisée."));
    QCOMPARE(d.SBSysamSP5->text(), QStringLiteral("SYSAM SP5"));
    QCOMPARE(d.SBSysamV6->text(), QStringLiteral("SYSAM V6"));
    QCOMPARE(d.SBSysamCAMPUS->text(), QStringLiteral("SYSAM CAMPUS"));
    QCOMPARE(d.BAbandonner->text(), QStringLiteral("Abandonner"));
    QCOMPARE(d.LCommentaireCAMPUS->text(),
             QStringLiteral("- Fréquence d'échantillonnage maximale 10 MHz \n"
                            "- 4 entrées différentielles de tension, 4 calibres par voie\n"
                            "- Capteurs non reconnus automatiquement"));
    for (QLabel* l : {d.LCommentaireSP5, d.LCommentaireV6, d.LCommentaireCAMPUS}) {
        QVERIFY(!l->text().contains(QLatin1Char('\r')));
        // Every line fits the label.
        const QFontMetrics fm(l->font());
        for (const QString& ligne : l->text().split(QLatin1Char('\n')))
            QVERIFY2(fm.horizontalAdvance(ligne) <= l->width(), qPrintable(ligne));
        QVERIFY(fm.lineSpacing() * l->text().count(QLatin1Char('\n')) < l->height());
    }
    QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
}

void TestChoixCentrale::placementSelonLesTypes_data() {
    QTest::addColumn<QList<int>>("types");
    QTest::newRow("SP5 et CAMPUS") << QList<int>{1, 3};
    QTest::newRow("les trois") << QList<int>{1, 2, 3};
    QTest::newRow("SP5 et V6") << QList<int>{1, 2};
    QTest::newRow("V6 et CAMPUS") << QList<int>{3, 2};
}

void TestChoixCentrale::placementSelonLesTypes() {
    QFETCH(QList<int>, types);
    TFicheKirvaneChoixCentrale d;
    d.PrepareChoixCentrale(QSet<int>(types.begin(), types.end()));
    const std::array<QToolButton*, 3> boutons{d.SBSysamSP5, d.SBSysamV6, d.SBSysamCAMPUS};
    const std::array<QLabel*, 3> labels{d.LCommentaireSP5, d.LCommentaireV6, d.LCommentaireCAMPUS};
    // Kinds in the order SP5, V6, CAMPUS, 100 pixels apart, the first 40 below the text;
    // after CAMPUS the buttons come 40 below it.
    int y = bas(d.LChoixCentrale) + 40;
    for (int i = 0; i < 3; ++i) {
        const bool offert = types.contains(i + 1);
        QCOMPARE(boutons[i]->isVisibleTo(&d), offert);
        QCOMPARE(labels[i]->isVisibleTo(&d), offert);
        if (!offert)
            continue;
        QCOMPARE(boutons[i]->y(), y);
        QCOMPARE(labels[i]->y(), y);
        y += i == 2 ? boutons[i]->height() + 40 : 100;
    }
    QCOMPARE(d.BOKChoixCentrale->y(), y);
    QCOMPARE(d.BAbandonner->y(), y);
    QCOMPARE(d.pChoixCentrale->height(), bas(d.BAbandonner) + 20);
    QCOMPARE(d.height(), bas(d.pChoixCentrale) + 10);
    // No overlap between a kind's button and the next one.
    QVERIFY(d.SBSysamSP5->height() < 100);
}

void TestChoixCentrale::choisirPuisRenoncer() {
    TFicheKirvaneChoixCentrale d;
    d.PrepareChoixCentrale({1, 3});
    d.show();
    QVERIFY(!d.BOKChoixCentrale->isEnabled());
    QVERIFY(!d.SBSysamSP5->isChecked() && !d.SBSysamCAMPUS->isChecked());
    QTest::mouseClick(d.SBSysamSP5, Qt::LeftButton);
    QVERIFY(d.BOKChoixCentrale->isEnabled());
    QCOMPARE(d.typeCentraleAActiver1, 1);
    QTest::mouseClick(d.SBSysamCAMPUS, Qt::LeftButton);
    QVERIFY(d.SBSysamCAMPUS->isChecked());
    QVERIFY(!d.SBSysamSP5->isChecked());
    QCOMPARE(d.typeCentraleAActiver1, 3);
    // A second click lifts the button: nothing chosen.
    QTest::mouseClick(d.SBSysamCAMPUS, Qt::LeftButton);
    QVERIFY(!d.SBSysamCAMPUS->isChecked());
    QCOMPARE(d.typeCentraleAActiver1, -1);
    QVERIFY(!d.BOKChoixCentrale->isEnabled());
}

void TestChoixCentrale::okDonneLeType() {
    TFicheKirvaneChoixCentrale d;
    d.PrepareChoixCentrale({2, 3});
    d.open();
    QTest::mouseClick(d.SBSysamV6, Qt::LeftButton);
    QTest::mouseClick(d.BOKChoixCentrale, Qt::LeftButton);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.typeCentraleAActiver1, 2);

    // Shown again with V6 active: its button is down and OK is available at once.
    d.typeCentraleActive = 2;
    d.open();
    QVERIFY(d.SBSysamV6->isChecked());
    QVERIFY(d.BOKChoixCentrale->isEnabled());
    QCOMPARE(d.typeCentraleAActiver1, 2);
    d.accept();
}

void TestChoixCentrale::echapOuFermerAbandonne() {
    TFicheKirvaneChoixCentrale d;
    d.PrepareChoixCentrale({1, 3});
    d.open();
    QTest::mouseClick(d.SBSysamSP5, Qt::LeftButton);
    QTest::keyClick(&d, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(d.typeCentraleAActiver1, -1);

    d.open();
    QTest::mouseClick(d.SBSysamCAMPUS, Qt::LeftButton);
    d.close(); // the close box
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(d.typeCentraleAActiver1, -1);

    d.open();
    QTest::mouseClick(d.BAbandonner, Qt::LeftButton);
    QCOMPARE(d.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestChoixCentrale)
#include "qtest_choix_centrale.moc"
