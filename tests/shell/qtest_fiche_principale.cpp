// The main window started as a teacher starts it, against the SP5 simulator, with the
// questions answered by the test.
#include "fiche_essai.h"
#include "fichekirvanemixte.h"
#include "fichekirvanemixtetitre.h"
#include "sp5.h"

#include <QLibrary>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestFichePrincipale : public QObject, private TEssaiFiche {
    Q_OBJECT

private slots:
    void init() { QFile::remove(dossier.path() + "/Kirvane.ini"); }

    void demarreSurLeSimulateurEtEcritLesReglagesALaSortie() {
        TFicheKirvaneMixteTitre titre(QStringLiteral("Kirvane - 0.1.0.0"));
        {
            TFicheKirvaneMixte fiche(demarrage(&titre));
            fiche.show();
            fiche.finInitialisation();
            QVERIFY(QTest::qWaitForWindowExposed(&fiche));
            QCOMPARE(fiche.windowTitle(),
                     QString::fromUtf8("Kirvane : pilotage des interfaces SYSAM SP5, SYSAM V6 et "
                                       "SYSAM CAMPUS"));
            const QString memo = titre.MemoDemarrage->toPlainText();
            QVERIFY(memo.startsWith("Détection SYSAM SP5...\nCentrale SIMULATION SP5 installée "
                                    "\nCentrale SIMULATION SP5 connectée \n"));
            QVERIFY(memo.contains("Centrale SYSAM V6 non installée sur cet ordinateur"));
            QVERIFY(memo.endsWith("Démarrage terminé"));
            QVERIFY(boites->typesProposes.empty()); // one kind: no chooser
            QCOMPARE(fiche.composants.EditPresence->text(),
                     QString("Centrale SIMULATION SP5 connectée"));
            QCOMPARE(fiche.composants.gbCanaux[0]->title(), QString("Canal 0"));
            QVERIFY(fiche.composants.CBModeDiff[3]->isVisibleTo(&fiche));
            QCOMPARE(fiche.composants.RGCalsEA[5]->nbElements(), 4);
            QVERIFY(fiche.composants.CBVoiesActives[0]->isChecked());
            QCOMPARE(fiche.composants.CBNbPoints->currentText(), QString("1001"));
            QCOMPARE(fiche.modeGeneral(), 0);
            QVERIFY(fiche.composants.BAcquisition->isEnabled());
            QVERIFY(!fiche.composants.SBNouveau->isEnabled());
            QVERIFY(!fiche.composants.SBenregistrerRW3->isEnabled());
            QVERIFY(fiche.composants.CBDureeTotale->isEnabled());
            QCOMPARE(fiche.composants.SBNouveau->toolTip(),
                     QString::fromUtf8("Commencer une nouvelle expérience \n(effacement des "
                                       "données acquises et \nréinitialisation des réglages)."));

            // The close request: No keeps the window, Yes closes it.
            boites->reponses = {TReponse::Non};
            QVERIFY(!fiche.close());
            QCOMPARE(boites->questions.last(),
                     QString::fromUtf8("Désirez-vous vraiment quitter \"Kirvane\" ?"));
            boites->reponses = {TReponse::Oui};
            QVERIFY(fiche.close());
        }
        // First run: the settings of the Part are stored at exit, with their types.
        QSettings ini(dossier.path() + "/Kirvane.ini", QSettings::IniFormat);
        TMagasinReglagesQSettings relu(dossier.path() + "/Kirvane.ini");
        QCOMPARE(relu.lireEntier(NomsReglages::NOMBRE_UTILISATIONS).value_or(-1), 1);
        QCOMPARE(relu.lireReel(NomsReglages::DUREE_TOTALE).value_or(-1), 0.02);
        QCOMPARE(relu.lireEntier(NomsReglages::NOMBRE_POINTS).value_or(-1), 1001);
        QCOMPARE(relu.lireBooleen(NomsReglages::VERSION_REGRESSI).value_or(false), true);
        QCOMPARE(relu.lireTexte(NomsReglages::CHEMIN_REGRESSI).value_or("x"), QString());
        QCOMPARE(relu.lireEntier(NomsReglages::COULEURS_REGRESSI).value_or(-1), 1);
        QCOMPARE(relu.lireReel(NomsReglages::SEUIL_PRETRIG).value_or(-1), 5.0);
        QCOMPARE(relu.lireEntier(NomsReglages::couleurVoie(0)).value_or(-1), 0x02000090);
    }

    void sansAucuneBibliothequeLaFenetreResteUtilisable() {
        TFicheKirvaneMixte fiche(demarrage(nullptr, false, false));
        fiche.show();
        fiche.finInitialisation();
        QCOMPARE(boites->avertissements.size(), 1);
        QVERIFY(boites->avertissements[0].startsWith("Aucune centrale \n- SYSAM SP5"));
        QVERIFY(!fiche.composants.BAcquisition->isEnabled());
        QCOMPARE(fiche.composants.gbCanaux[0]->title(), QString(" Voie/Canal 1"));
        QVERIFY(!fiche.composants.CBVoiesActives[4]->isVisibleTo(&fiche));
        QVERIFY(!fiche.composants.CBModeDiff[0]->isVisibleTo(&fiche));
        QVERIFY(!fiche.TimerPresenceSP5.isActive());
        QCOMPARE(fiche.composants.EditValU[0]->text(), QString(" 0,00 V"));
    }

    void leChoixEntreDeuxCentrales() {
        {
            TDemarrageFiche d = demarrage(nullptr, true);
            boites->choix = CENTRALE_V6;
            TFicheKirvaneMixte fiche(std::move(d));
            QCOMPARE(boites->typesProposes, (std::set<int>{CENTRALE_V6, CENTRALE_SIMULATION_SP5}));
            QCOMPARE(fiche.composants.SBCentrales_.size(), size_t(2));
            QCOMPARE(fiche.centrales.typeCentraleActive, int(CENTRALE_V6));
            QCOMPARE(fiche.composants.gbCanaux[0]->title(), QString("EA 1"));
            QVERIFY(!fiche.composants.gbCanaux[3]->isVisibleTo(&fiche));
            QCOMPARE(fiche.composants.EditPresence->text(),
                     QString("Centrale SYSAM V6 non connectée"));
        }
        // Abandoning the choice: no unit, and closing asks nothing.
        TDemarrageFiche d = demarrage(nullptr, true);
        boites->choix = -1;
        TFicheKirvaneMixte fiche(std::move(d));
        QVERIFY(fiche.peutFermer);
        QVERIFY(!fiche.centrales.SP5);
        QVERIFY(fiche.close());
        QVERIFY(boites->questions.isEmpty());
    }

    void leSondageSuitLeDebranchementEtLeRebranchement() {
        TFicheKirvaneMixte fiche(demarrage(nullptr));
        fiche.finInitialisation();
        QVERIFY(fiche.TimerPresenceSP5.isActive());
        debrancherSimulateur(true);
        QTRY_COMPARE_WITH_TIMEOUT(fiche.composants.EditPresence->text(),
                                  QString("Centrale SIMULATION SP5 non connectée"), 3000);
        debrancherSimulateur(false);
        QTRY_COMPARE_WITH_TIMEOUT(fiche.composants.EditPresence->text(),
                                  QString("Centrale SIMULATION SP5 connectée"), 3000);
    }

    void laDispositionSuitLaTailleDeLaFenetre() {
        TFicheKirvaneMixte fiche(demarrage(nullptr));
        fiche.finInitialisation();
        fiche.resize(1060, 725);
        fiche.redimensionnement();
        QCOMPARE(fiche.composants.SBNouveau->geometry(), QRect(2, 2, 26, 26));
        QCOMPARE(fiche.composants.gbCanaux[0]->width(), 250);
        QCOMPARE(fiche.composants.PBoutons->height(), 30);
        QCOMPARE(fiche.composants.panelParametres->width(), 169);
        // Reducing the channel panel leaves a strip; restoring brings the boxes back.
        fiche.SBRedRegClick(fiche.composants.SBRedRegVoies);
        QVERIFY(!fiche.composants.ScrBoxVoies->isVisibleTo(&fiche));
        QCOMPARE(fiche.composants.SBRedRegVoies->text(), QString::fromUtf8("  ▲"));
        fiche.SBRedRegClick(fiche.composants.SBRedRegVoies);
        QVERIFY(fiche.composants.ScrBoxVoies->isVisibleTo(&fiche));
    }
};

QTEST_MAIN(TestFichePrincipale)
#include "qtest_fiche_principale.moc"
