// The simulated CAMPUS through the real window: at start, with only simulators, the
// simulated SP5 is active without a question; the tool bar's button switches to the
// simulated CAMPUS, whose V1 is then acquired.
#include "fiche_essai.h"

#include <QToolButton>
#include <algorithm>

namespace {
const QString cheminSimulateurCampus = QStringLiteral(KIRVANE_SIMULATEUR_CAMPUS);
}

class TestCampusFiche : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;

    TComposantsFiche& c() { return fiche->composants; }

private slots:
    void cleanup() {
        if (fiche) {
            boites->reponses = {TReponse::Oui, TReponse::Non};
            fiche->close();
            fiche.reset();
        }
    }

    void basculeSurLaCampusSimuleeEtAcquiertV1() {
        TDemarrageFiche d = demarrage(nullptr);
        d.chemins[FAMILLE_CAMPUS] = {cheminSimulateurCampus};
        fiche = std::make_unique<TFicheKirvaneMixte>(std::move(d));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        // Two simulators and nothing real: no question, the simulated SP5 first.
        QVERIFY(boites->typesProposes.empty());
        QCOMPARE(fiche->centrales.typeCentraleActive, CENTRALE_SIMULATION_SP5);
        QCOMPARE(c().SBCentrales_.size(), size_t{2});
        QToolButton* campus = nullptr;
        for (QToolButton* b : c().SBCentrales_)
            if (b->property("typeCentrale").toInt() == CENTRALE_SIMULATION_CAMPUS)
                campus = b;
        QVERIFY(campus);
        QCOMPARE(campus->text(), QStringLiteral("SIMULATION CAMPUS"));
        QCOMPARE(campus->toolTip(), QStringLiteral("Sélection de la centrale SIMULATION CAMPUS"));

        QTest::mouseClick(campus, Qt::LeftButton);
        QCOMPARE(fiche->centrales.typeCentraleActive, CENTRALE_SIMULATION_CAMPUS);
        TCentrale& u = *fiche->centrales.SP5;
        QCOMPARE(u.nomCentrale, QStringLiteral("SIMULATION CAMPUS"));
        QVERIFY(campus->isChecked());
        QTRY_COMPARE_WITH_TIMEOUT(c().EditPresence->text(),
                                  QStringLiteral("Centrale SIMULATION CAMPUS connectée"), 3000);
        QCOMPARE(u.nbVoiesActivesX, 1);
        QCOMPARE(u.VoiesActivesX[0], 0);
        QVERIFY(boites->avertissements.isEmpty());

        QTest::keyRelease(QApplication::focusWidget() ? QApplication::focusWidget()
                                                      : static_cast<QWidget*>(fiche.get()),
                          Qt::Key_F10);
        QTRY_COMPARE_WITH_TIMEOUT(fiche->modeGeneral(), MODE_MESURES, 10000);
        QVERIFY2(boites->avertissements.isEmpty(),
                 qPrintable(boites->avertissements.join(QLatin1Char('\n'))));
        QCOMPARE(fiche->series.nbVoiesMesurees, 1);
        QCOMPARE(u.NbProcessus, 0);
        // V1 of the simulator: a 5 V sine, every point inside it and the wave seen whole.
        const std::vector<float>& v1 = fiche->series.tv2[0];
        QVERIFY(static_cast<int64_t>(v1.size()) >= u.nbPtsAX);
        const auto [bas, haut] =
            std::minmax_element(v1.begin(), v1.begin() + static_cast<std::ptrdiff_t>(u.nbPtsAX));
        QVERIFY2(*haut > 4.0f && *haut < 5.5f, qPrintable(QString::number(*haut)));
        QVERIFY2(*bas < -4.0f && *bas > -5.5f, qPrintable(QString::number(*bas)));
    }
};

QTEST_MAIN(TestCampusFiche)
#include "qtest_campus_fiche.moc"
