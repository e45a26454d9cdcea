// The tool bar's "Options" through the real window on the SP5 simulator: what "Appliquer"
// changes at once (defaults, options, curve colours, the CSV separator of the next save)
// and stores, what "Annuler" keeps, and the typed values refused.
#include "fiche_essai.h"
#include "fichekirvanemixteoptions.h"
#include "graphefiche.h"
#include "seriessynthetiques.h"

#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {
constexpr double duree = 0.02;
constexpr int64_t nbPts = 1001;
} // namespace

class TestPreferencesFiche : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;
    QStringList informations;
    bool pendantOuvert = false;

    // The window on the simulator, holding eight synthetic series in the default colours.
    void ouvrir() {
        QFile::remove(dossier.filePath(QStringLiteral("Kirvane.ini"))); // the defaults
        fiche = std::make_unique<TFicheKirvaneMixte>(demarrage(nullptr));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        TGrapheSynthetique s = grapheSynthetique(nbPts, duree);
        fiche->series = std::move(s.series);
        fiche->series.enregistrerX = true;
        TCentrale& u = *fiche->centrales.SP5;
        u.dtAX = s.etat.dtAX;
        u.nbPtsAX = nbPts;
        u.dureeTotaleAX = duree;
        fiche->moteur->MODEGENERAL = MODE_MESURES;
        activeBoutonsOutils(fiche->etat, fiche->faits());
        fiche->appliquerEtat();
        fiche->graphe->ecran.g.t0 = 0.0f;
        fiche->graphe->ecran.curseurs.tFin = duree;
        informations.clear();
        TFicheKirvaneMixteOptions& d = fiche->preferences();
        d.informer = [this](const QString& t) { informations << t; };
    }

    // Clicks "Options" and runs the action on the dialog while it is shown modally.
    void dansLeDialogue(const std::function<void(TFicheKirvaneMixteOptions&)>& action) {
        TFicheKirvaneMixteOptions& d = fiche->preferences();
        pendantOuvert = false;
        QTimer::singleShot(0, &d, [this, &d, action] {
            pendantOuvert = d.isVisible();
            d.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            action(d);
        });
        // Never left hanging: a dialog still open long after is abandoned.
        QTimer::singleShot(30000, &d, [&d] {
            if (d.isVisible())
                d.reject();
        });
        QVERIFY(fiche->composants.SBOptions->isEnabled());
        QTest::mouseClick(fiche->composants.SBOptions, Qt::LeftButton);
        QVERIFY(pendantOuvert);
        QVERIFY(!d.isVisible());
    }

    static void taper(QComboBox* liste, const QString& texte) {
        liste->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(liste->hasFocus());
        liste->lineEdit()->selectAll();
        QTest::keyClicks(liste->lineEdit(), texte);
    }

private slots:
    void cleanup() { fermer(fiche); }

    // The dialog shows the window's values; "Appliquer" takes every choice at once.
    void appliquerPrendEffetDansLaFenetre() {
        ouvrir();
        QVERIFY(fiche->TimerPresenceSP5.isActive());
        const TColor vert = 0x0000C000;
        dansLeDialogue([&](TFicheKirvaneMixteOptions& d) {
            QVERIFY(!fiche->TimerPresenceSP5.isActive());
            QCOMPARE(d.windowTitle(), QStringLiteral("Kirvane - Préférences"));
            QCOMPARE(d.PCPreferences->currentWidget(), d.TSparametresTemporels);
            QCOMPARE(d.PCPreferences->count(), 5);
            QCOMPARE(d.CBDureeTotaledft->currentText(), QStringLiteral("20 ms"));
            QCOMPARE(d.CBNbPointsdft->currentText(), QStringLiteral("1001"));
            QCOMPARE(d.CBSeuilPretrig->currentText(), QStringLiteral("5 s"));
            QCOMPARE(d.CBSeuilPretrig->itemText(0), QStringLiteral("1 s"));
            QVERIFY(d.GBPretrig->isVisibleTo(&d));
            QVERIFY(d.RBNePasEffacerTrame->isChecked());
            QVERIFY(d.RBTransfertREGNouveauFichier->isChecked());
            QVERIFY(d.RBTransfertEXCELNouveauClasseur->isChecked());
            QVERIFY(d.RBTransfertOONouveauClasseur->isChecked());
            QVERIFY(d.RBSeparateurCSVPoint->isChecked());
            QVERIFY(d.CBCouleursRegressi->isChecked());
            QVERIFY(!d.CBREGDEfaut->isEnabled()); // no standard place for Regressi here
            QCOMPARE(d.gbCanaux[2]->title(), QStringLiteral(" Canal 2 "));
            QCOMPARE(d.lbs[6]->text(), QStringLiteral("Voie EA6"));
            QCOMPARE(d.couleursPanneaux, clsV0);

            taper(d.CBDureeTotaledft, QStringLiteral("50 ms"));
            taper(d.CBNbPointsdft, QStringLiteral("2001"));
            d.BOptionsAnnuler->setFocus(Qt::TabFocusReason);
            QTRY_COMPARE(d.CBDureeTotaledft->currentText(), QStringLiteral("50 ms"));
            QTRY_COMPARE(d.regles.v.NbPtsDFT, int64_t(2001));
            d.RBEffacerTrame->setChecked(true);
            d.RBTransfertREGNouvellePage->setChecked(true);
            d.RBTransfertEXCELDemander->setChecked(true);
            d.RBTransfertOONouvelleFeuille->setChecked(true);
            d.RBSeparateurCSVVirgule->setChecked(true);
            d.CBCouleursRegressi->setChecked(false);
            d.CBEnregistrerCouleurs->setChecked(true);
            QString titre;
            d.choisirCouleur = [&](TColor depart, const QString& t) -> std::optional<TColor> {
                titre = t;
                return depart == clsV0[2] ? std::optional<TColor>(vert) : std::nullopt;
            };
            d.PCPreferences->setCurrentWidget(d.TSCouleurs);
            QTest::mouseClick(d.pCVoies[2], Qt::LeftButton);
            QCOMPARE(titre, QStringLiteral("Couleur de la courbe de la voie EA2"));
            QCOMPARE(d.couleursPanneaux[2], vert);
            QTest::mouseClick(d.BOptionsOK, Qt::LeftButton);
        });
        QVERIFY(informations.isEmpty());
        QVERIFY(fiche->TimerPresenceSP5.isActive());
        const TReglagesKirvane& r = fiche->reglages;
        // 50 ms as the unit's 100 ns steps give it.
        QVERIFY(std::fabs(r.DureeTotaleDFT - 0.05) < 1e-8);
        QCOMPARE(r.NbPtsDFT, int64_t(2001));
        QCOMPARE(r.optionTransfertREGRESSI, 1);
        QCOMPARE(r.optionTransfertEXCEL, 3);
        QCOMPARE(r.optionTransfertOOo, 1);
        QCOMPARE(r.optionSeparateurCSV, 1);
        QCOMPARE(r.OptionCouleursRegressi, 0);
        QVERIFY(r.enregistrerCouleurs);
        QVERIFY(fiche->moteur->optionEffaceTrame);
        QCOMPARE(r.clsVX[2], vert);
        QCOMPARE(fiche->reglagesAcq->DureeTotaleDFT, r.DureeTotaleDFT);
        // The stored curve of EA2 is recoloured, the others keep theirs.
        QCOMPARE(fiche->series.voiesMesurees[2].clVM, vert);
        QCOMPARE(fiche->series.voiesMesurees[1].clVM, clsV0[1]);
        QVERIFY(fiche->composants.SBNouveau->isEnabled());

        // The next CSV file takes the comma.
        boites->fichierChoisi = dossier.filePath(QStringLiteral("virgule.csv"));
        QTest::mouseClick(fiche->composants.SBEnregistrerCSV, Qt::LeftButton);
        QFile csv(boites->fichierChoisi);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> l = csv.readAll().split('\n');
        QCOMPARE(l.size(), 1 + int(nbPts) + 1); // header, rows, the end of the last line
        QVERIFY(l[0].startsWith("t(s);u[0_M](V);"));
        int virgules = 0;
        for (qsizetype k = 1; k < l.size(); ++k) {
            QVERIFY2(!l[k].contains('.'), l[k].constData());
            virgules += l[k].contains(',') ? 1 : 0;
        }
        QVERIFY(virgules > 900);

        // A new experiment starts from the new defaults.
        boites->reponses = {TReponse::Non};
        QTest::mouseClick(fiche->composants.SBNouveau, Qt::LeftButton);
        QTRY_COMPARE(fiche->composants.CBDureeTotale->currentText(), QStringLiteral("50 ms"));
        QCOMPARE(fiche->composants.CBNbPoints->currentText(), QStringLiteral("2001"));

        // Stored at exit.
        const double dureeRetenue = r.DureeTotaleDFT;
        cleanup();
        TMagasinReglagesQSettings stock(dossier.filePath(QStringLiteral("Kirvane.ini")));
        QCOMPARE(stock.lireEntier(NomsReglages::SEPARATEUR_CSV), 1);
        QCOMPARE(stock.lireEntier(NomsReglages::OPTION_EXCEL), 3);
        QCOMPARE(stock.lireReel(NomsReglages::DUREE_TOTALE), dureeRetenue);
        QCOMPARE(stock.lireEntier(NomsReglages::couleurVoie(2)), std::int32_t(vert));
    }

    // "Annuler" gives the default timing back; the pretrigger limit chosen stays.
    void annulerGardeLeSeuilDuPretrig() {
        ouvrir();
        dansLeDialogue([&](TFicheKirvaneMixteOptions& d) {
            taper(d.CBDureeTotaledft, QStringLiteral("50 ms"));
            d.BOptionsAnnuler->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(std::fabs(d.regles.v.DureeTotaleDFT - 0.05) < 1e-8);
            d.CBSeuilPretrig->setCurrentIndex(3);
            emit d.CBSeuilPretrig->activated(3); // "10 s"
            d.RBSeparateurCSVVirgule->setChecked(true);
            d.PCPreferences->setCurrentWidget(d.TSCouleurs);
            QTest::mouseClick(d.BReinitialiserCouleurs, Qt::LeftButton);
            QTest::mouseClick(d.BOptionsAnnuler, Qt::LeftButton);
        });
        QCOMPARE(fiche->reglages.DureeTotaleDFT, 0.02);
        QCOMPARE(fiche->reglages.tMaxPretrigDispo, 10.0);
        QCOMPARE(fiche->reglagesAcq->tMaxPretrigDispo, 10.0);
        QCOMPARE(fiche->reglages.optionSeparateurCSV, 0);
        // Shown again: the dialog reloads the window's values.
        dansLeDialogue([&](TFicheKirvaneMixteOptions& d) {
            QCOMPARE(d.CBDureeTotaledft->currentText(), QStringLiteral("20 ms"));
            QCOMPARE(d.CBSeuilPretrig->currentText(), QStringLiteral("10 s"));
            QVERIFY(d.RBSeparateurCSVPoint->isChecked());
            QCOMPARE(d.PCPreferences->currentWidget(), d.TSparametresTemporels);
            d.BOptionsAnnuler->click();
        });
    }

    // Refused entries: the message, the value in force shown again, the dialog kept open
    // while a field is wrong, even when "Appliquer" runs before the field is left.
    void saisiesRefusees() {
        ouvrir();
        dansLeDialogue([&](TFicheKirvaneMixteOptions& d) {
            taper(d.CBDureeTotaledft, QStringLiteral("-20 ms"));
            QTest::keyClick(d.CBDureeTotaledft, Qt::Key_Return); // to the point list
            QTRY_COMPARE(informations, QStringList{QStringLiteral("Valeur minimale admise: 1 µs")});
            QVERIFY(d.isVisible());
            QCOMPARE(d.CBDureeTotaledft->currentText(), QStringLiteral("20 ms"));

            informations.clear();
            taper(d.CBNbPointsdft, QStringLiteral("1e30"));
            d.BOptionsOK->click(); // the field not left yet
            QCOMPARE(informations,
                     QStringList{QStringLiteral("Valeur maximale admise: 50001 points")});
            QVERIFY(d.isVisible());
            QCOMPARE(d.CBNbPointsdft->currentText(), QStringLiteral("1001"));

            informations.clear();
            taper(d.CBDureeTotaledft, QStringLiteral("1 h 30"));
            QTest::keyClick(d.CBDureeTotaledft, Qt::Key_Enter);
            QTRY_COMPARE(informations, QStringList{QStringLiteral(
                                           "Saisie incorrecte de la durée totale par défaut")});
            QVERIFY(d.isVisible());

            informations.clear();
            taper(d.CBNbPointsdft, QStringLiteral("0"));
            d.BOptionsOK->click();
            QCOMPARE(informations, QStringList{QStringLiteral("Valeur minimale admise: 1 point")});
            QVERIFY(d.isVisible());
            taper(d.CBNbPointsdft, QStringLiteral("60000"));
            d.BOptionsOK->click();
            QVERIFY(d.isVisible());
            taper(d.CBNbPointsdft, QStringLiteral("5001"));
            d.BOptionsOK->click();
        });
        QCOMPARE(fiche->reglages.NbPtsDFT, int64_t(5001));
        QVERIFY(std::fabs(fiche->reglages.DureeTotaleDFT - 0.02) < 1e-8);
    }

    // "Changer" picks the Regressi program (run under Wine here); a vanished file puts the
    // default place back.
    void programmeRegressi() {
        ouvrir();
        QFile regressi(dossier.filePath(QStringLiteral("REGRESSI.EXE")));
        QVERIFY(regressi.open(QIODevice::WriteOnly));
        regressi.close();
        dansLeDialogue([&](TFicheKirvaneMixteOptions& d) {
            d.choisirProgrammeRegressi = [&] { return regressi.fileName(); };
            d.PCPreferences->setCurrentWidget(d.TSTransfertRegressi);
            QTest::mouseClick(d.BVersionRegressi, Qt::LeftButton);
            QCOMPARE(d.EditCheminVersionREG->text(), regressi.fileName());
            QVERIFY(!d.CBREGDEfaut->isChecked());
            QVERIFY(d.MemoGuideTransfertRegressi->toPlainText().startsWith(
                QStringLiteral("Le transfert vers REGRESSI se fait par l'intermédiaire")));
            d.BOptionsOK->click();
        });
        QVERIFY(!fiche->reglages.versionRegressiDefaut);
        QCOMPARE(fiche->reglages.cheminREGRESSINonDefautX, regressi.fileName());
        dansLeDialogue([&](TFicheKirvaneMixteOptions& d) {
            QCOMPARE(d.EditCheminVersionREG->text(), regressi.fileName());
            d.choisirProgrammeRegressi = [&] {
                return dossier.filePath(QStringLiteral("parti/REGRESSI.EXE"));
            };
            QTest::mouseClick(d.BVersionRegressi, Qt::LeftButton);
            QVERIFY(d.CBREGDEfaut->isChecked());
            QVERIFY(d.EditCheminVersionREG->text().isEmpty());
            d.BOptionsOK->click();
        });
        QVERIFY(fiche->reglages.versionRegressiDefaut);
    }
};

QTEST_MAIN(TestPreferencesFiche)
#include "qtest_preferences_fiche.moc"
