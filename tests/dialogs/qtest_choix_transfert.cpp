// The three transfer choice dialogs: texts, OK enabled by a choice, nothing ticked at each
// use, Cancel and the close box abandoning, the background gradient.
#include "fichechoixtransfert.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

using TChoix = TFicheChoixTransfert::TChoix;
Q_DECLARE_METATYPE(std::shared_ptr<TFicheChoixTransfert>)

class TestChoixTransfert : public QObject {
    Q_OBJECT

    // Runs `action` on the dialog once its modal loop has started, then returns the choice.
    static std::optional<TChoix>
    repondre(TFicheChoixTransfert& f, const std::function<void(TFicheChoixTransfert&)>& action) {
        QTimer::singleShot(0, &f, [&f, action] {
            QVERIFY(f.isVisible());
            action(f);
        });
        return f.choisir();
    }

private slots:
    void textes_data();
    void textes();
    void okSeulementApresUnChoix();
    void choixEtAbandons();
    void degrade();
};

void TestChoixTransfert::textes_data() {
    QTest::addColumn<std::shared_ptr<TFicheChoixTransfert>>("fiche");
    QTest::addColumn<QString>("titre");
    QTest::addColumn<QString>("logiciel");
    QTest::addColumn<QString>("nouveau");
    QTest::addColumn<QString>("actuel");
    QTest::newRow("Regressi") << std::shared_ptr<TFicheChoixTransfert>(
                                     new TFicheKirvaneMixteChoixTR)
                              << "Transfert vers REGRESSI..."
                              << "REGRESSI"
                              << "créer un nouveau document REGRESSI"
                              << "créer une nouvelle page dans REGRESSI actuellement en cours";
    QTest::newRow("Excel") << std::shared_ptr<TFicheChoixTransfert>(new TFicheKirvaneMixteChoixTE)
                           << "Transfert vers EXCEL..."
                           << "EXCEL"
                           << "créer un nouveau classeur EXCEL"
                           << "créer une nouvelle feuille dans le classeur EXCEL actif";
    QTest::newRow("Calc")
        << std::shared_ptr<TFicheChoixTransfert>(new TFicheKirvaneMixteChoixTOO)
        << "Transfert vers OpenOffice.org Calc"
        << "OpenOffice.org Calc"
        << "créer un nouveau classeur OpenOffice.org Calc"
        << "créer une nouvelle feuille dans le classeur OpenOffice.org Calc actif";
}

void TestChoixTransfert::textes() {
    QFETCH(std::shared_ptr<TFicheChoixTransfert>, fiche);
    QFETCH(QString, titre);
    QFETCH(QString, logiciel);
    QFETCH(QString, nouveau);
    QFETCH(QString, actuel);
    QCOMPARE(fiche->windowTitle(), titre);
    QCOMPARE(fiche->LTexte->text(), QStringLiteral("Lors du transfert vers ") + logiciel +
                                        QStringLiteral(" que vous souhaitez, vous pouvez, dans "
                                                       "l'état actuel des choses, "));
    QCOMPARE(fiche->RBNouveau->text(), nouveau);
    QCOMPARE(fiche->RBActuel->text(), actuel);
    QCOMPARE(fiche->LOuBien->text(), QStringLiteral("ou bien"));
    QCOMPARE(fiche->LCochez->text(),
             QStringLiteral("Choisissez en cochant ci-dessus, puis cliquez sur -->"));
    QVERIFY(fiche->LCochez->alignment() & Qt::AlignRight);
    QCOMPARE(fiche->LSinon->text(), QStringLiteral("Sinon: -->"));
    QCOMPARE(fiche->BOK->text(), QStringLiteral("OK"));
    QCOMPARE(fiche->BAnnuler->text(), QStringLiteral("Annuler"));
    QVERIFY(!fiche->IIllustration->pixmap().isNull());
    QCOMPARE(fiche->RBNouveau->palette().color(QPalette::Window), QColor(Qt::white));
}

void TestChoixTransfert::okSeulementApresUnChoix() {
    TFicheKirvaneMixteChoixTR f;
    QCOMPARE(f.RBNouveauFichier, f.RBNouveau);
    QCOMPARE(f.BChoixTROK, f.BOK);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(!f.RBNouveauFichier->isChecked() && !f.RBNouvellePage->isChecked());
    QVERIFY(!f.BChoixTROK->isEnabled());
    QTest::mouseClick(f.RBNouvellePage, Qt::LeftButton, {},
                      QPoint(6, f.RBNouvellePage->height() / 2));
    QVERIFY(f.RBNouvellePage->isChecked());
    QVERIFY(f.BChoixTROK->isEnabled());
    QTest::mouseClick(f.RBNouveauFichier, Qt::LeftButton, {},
                      QPoint(6, f.RBNouveauFichier->height() / 2));
    QVERIFY(f.RBNouveauFichier->isChecked() && !f.RBNouvellePage->isChecked());
    QVERIFY(f.BChoixTROK->isEnabled());
    // The next use starts from nothing ticked again.
    f.preparer();
    QVERIFY(!f.RBNouveauFichier->isChecked() && !f.RBNouvellePage->isChecked());
    QVERIFY(!f.BChoixTROK->isEnabled());
    f.hide();
}

void TestChoixTransfert::choixEtAbandons() {
    TFicheKirvaneMixteChoixTE f;
    const auto cocherPuisOK = [](QRadioButton* TFicheChoixTransfert::*bouton) {
        return [bouton](TFicheChoixTransfert& d) {
            // Nothing ticked and OK off at the start of every use.
            QVERIFY(!d.RBNouveau->isChecked() && !d.RBActuel->isChecked());
            QVERIFY(!d.BOK->isEnabled());
            QTest::keyClick(d.BOK, Qt::Key_Space); // a disabled OK does nothing
            (d.*bouton)->click();
            d.BOK->click();
        };
    };
    QCOMPARE(repondre(f, cocherPuisOK(&TFicheChoixTransfert::RBActuel)),
             std::optional<TChoix>(TChoix::DocumentActuel));
    QCOMPARE(repondre(f, cocherPuisOK(&TFicheChoixTransfert::RBNouveau)),
             std::optional<TChoix>(TChoix::NouveauDocument));
    // Cancel, the close box and Escape abandon, even with a choice ticked.
    const std::function<void(TFicheChoixTransfert&)> abandons[] = {
        [](TFicheChoixTransfert& d) {
            d.RBActuel->click();
            d.BAnnuler->click();
        },
        [](TFicheChoixTransfert& d) {
            d.RBNouveau->click();
            d.close();
        },
        [](TFicheChoixTransfert& d) { QTest::keyClick(&d, Qt::Key_Escape); },
    };
    for (const auto& abandon : abandons)
        QCOMPARE(repondre(f, abandon), std::optional<TChoix>());
    QVERIFY(!f.isVisible());
}

void TestChoixTransfert::degrade() {
    QCOMPARE(couleurDegradeChoix(0, 101), QColor(224, 224, 224));
    QCOMPARE(couleurDegradeChoix(100, 101), QColor(255, 255, 255));
    // 50 %: 224 + 31 × 50 / 100, truncated.
    QCOMPARE(couleurDegradeChoix(50, 101), QColor(239, 239, 239));
    TFicheKirvaneMixteChoixTOO f;
    f.resize(560, 300);
    const QImage image = f.grab().toImage();
    QCOMPARE(QColor(image.pixel(0, image.height() - 2)), QColor(224, 224, 224));
    QCOMPARE(QColor(image.pixel(image.width() - 1, image.height() - 2)), QColor(255, 255, 255));
}

QTEST_MAIN(TestChoixTransfert)
#include "qtest_choix_transfert.moc"
