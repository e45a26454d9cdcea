// The tool bar's Calc transfer in the window, against a recording office on the real worker
// thread: state 8 while it runs (closing refused), the message and the controls given back at
// the end; an office that cannot be reached turns the button off for the run.
#include "calc_enregistreur.h"
#include "fiche_essai.h"
#include "graphefiche.h"
#include "seriessynthetiques.h"

#include <QGuiApplication>
#include <QProgressBar>

namespace {
constexpr double duree = 0.02;
constexpr int64_t nbPts = 1001;
constexpr int attenteMs = 20000;
} // namespace

class TestCalcFiche : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;
    CalcEnregistreur* calc = nullptr;

    void ouvrir(bool repond) {
        TDemarrageFiche d = demarrage(nullptr);
        auto c = std::make_unique<CalcEnregistreur>();
        calc = c.get();
        calc->repond = repond;
        d.calc = std::move(c);
        fiche = std::make_unique<TFicheKirvaneMixte>(std::move(d));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        TGrapheSynthetique g = grapheSynthetique(nbPts, duree);
        fiche->series = std::move(g.series);
        TCentrale& u = *fiche->centrales.SP5;
        u.dt0X = u.dtAX = g.etat.dtAX;
        u.nbPts0X = u.nbPtsAX = u.nbPtsAffX = nbPts;
        u.dureeTotale0X = u.dureeTotaleAX = duree;
        fiche->LOInstalle = true; // whatever this machine has
        fiche->moteur->MODEGENERAL = MODE_MESURES;
        activeBoutonsOutils(fiche->etat, fiche->faits());
        fiche->appliquerEtat();
        fiche->graphe->ecran.g.t0 = 0.0f;
        fiche->graphe->ecran.curseurs.tFin = duree;
        QVERIFY(fiche->composants.SBtransfertDirectOOLO->isEnabled());
    }

    void fermer() {
        fiche->series.enregistrerX = false;
        boites->reponses = {TReponse::Oui};
        fiche->close();
        fiche.reset();
    }

private slots:
    void transfertSurLeFilDeTravail() {
        ouvrir(true);
        const int nbCourbes = fiche->series.nbVoiesMesurees;
        QTest::mouseClick(fiche->composants.SBtransfertDirectOOLO, Qt::LeftButton);
        // The office works on the worker thread; the window is in state 8 until the end.
        QCOMPARE(fiche->modeGeneral(), MODE_TRANSFERT_CALC);
        QVERIFY(!fiche->composants.BAcquisition->isEnabled());
        QVERIFY(!fiche->composants.SBtransfertDirectOOLO->isEnabled());
        QVERIFY(QGuiApplication::overrideCursor());
        // Closing is refused meanwhile.
        fiche->close();
        QVERIFY(fiche->isVisible());
        QCOMPARE(boites->avertissements.value(0),
                 QString::fromUtf8(TextesOutils::TRANSFERT_CALC_EN_COURS));

        QTRY_COMPARE_WITH_TIMEOUT(fiche->modeGeneral(), MODE_MESURES, attenteMs);
        QCOMPARE(fiche->composants.EditMessageX->text(), messageTransfertCalcTermine());
        QVERIFY(fiche->composants.BAcquisition->isEnabled());
        QVERIFY(fiche->composants.SBtransfertDirectOOLO->isEnabled());
        QVERIFY(fiche->composants.EditPresence->isVisibleTo(fiche.get()));
        QVERIFY(!fiche->composants.PBarExcel->isVisibleTo(fiche.get()));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(boites->avertissements.size(), 1);
        QCOMPARE(calc->appelsDe("nouveauClasseur"), QStringList{"nouveauClasseur Transfert"});
        QCOMPARE(calc->appelsDe("ecrireNombres"),
                 QStringList{QStringLiteral("ecrireNombres 5 1001x%1").arg(nbCourbes + 1)});
        QCOMPARE(calc->appels.last(), QStringLiteral("suspendreAffichage 0"));

        // The second transfer asks when the option says so; abandoned, nothing is written.
        fiche->reglages.optionTransfertOOo = OPTION_TOO_DEMANDER;
        const qsizetype appels = calc->appels.size();
        QTest::mouseClick(fiche->composants.SBtransfertDirectOOLO, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(fiche->modeGeneral(), MODE_MESURES, attenteMs);
        QCOMPARE(boites->nbChoixCalc, 1);
        QCOMPARE(calc->appels.mid(appels), QStringList{"classeurVivant"});
        QCOMPARE(fiche->transfertCalc().numTransfertOOO_CC, 1);
        fermer();
    }

    void officeInjoignableBoutonEteintPourLaSession() {
        ouvrir(false);
        QTest::mouseClick(fiche->composants.SBtransfertDirectOOLO, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(fiche->modeGeneral(), MODE_MESURES, attenteMs);
        QCOMPARE(boites->avertissements, QStringList{messageCalcIntrouvable()});
        QCOMPARE(boites->genres, QList<TGenreMessage>{TGenreMessage::Information});
        QVERIFY(!fiche->composants.SBtransfertDirectOOLO->isEnabled());
        QVERIFY(fiche->composants.BAcquisition->isEnabled());
        // A later commit enables the tool bar again, but not this button.
        activeBoutonsOutils(fiche->etat, fiche->faits());
        fiche->appliquerEtat();
        QVERIFY(fiche->composants.SBenregistrerRW3->isEnabled());
        QVERIFY(!fiche->composants.SBtransfertDirectOOLO->isEnabled());
        QCOMPARE(calc->appels, QStringList{"connecter"});
        fermer();
    }
};

QTEST_MAIN(TestCalcFiche)
#include "qtest_calc_fiche.moc"
