// The main window with the two simulators: the simulated SP5 starts without a question,
// the tool bar switches to the simulated V6, and an acquisition draws EA1's sine.
#include "fiche_essai.h"
#include "graphefiche.h"

#include <QLibrary>
#include <cmath>

class TestFicheV6 : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;
    TComposantsFiche& c() { return fiche->composants; }

private slots:
    void cleanup() {
        if (fiche) {
            boites->reponses = {TReponse::Oui, TReponse::Non};
            fiche->close();
        }
        fiche.reset();
    }

    void basculerSurLaV6SimuleeEtAcquerir() {
        TDemarrageFiche d = demarrage(nullptr);
        d.chemins[FAMILLE_V6] = {QStringLiteral(KIRVANE_SIMULATEUR_V6)};
        boites->choix = -1; // a question would abandon the start
        fiche = std::make_unique<TFicheKirvaneMixte>(std::move(d));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        fiche->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fiche.get()));
        QVERIFY(boites->typesProposes.empty()); // no question
        QCOMPARE(fiche->centrales.typeCentraleActive, int(CENTRALE_SIMULATION_SP5));
        QCOMPARE(c().SBCentrales_.size(), size_t{2});
        QToolButton* boutonV6 = nullptr;
        for (QToolButton* b : c().SBCentrales_)
            if (b->property("typeCentrale").toInt() == CENTRALE_SIMULATION_V6)
                boutonV6 = b;
        QVERIFY(boutonV6);
        QCOMPARE(boutonV6->text(), QStringLiteral("SIMULATION V6"));

        QTest::mouseClick(boutonV6, Qt::LeftButton);
        QCOMPARE(fiche->centrales.typeCentraleActive, int(CENTRALE_SIMULATION_V6));
        TCentrale& u = *fiche->centrales.SP5;
        QVERIFY(u.CentralePresente);
        QCOMPARE(c().LTitreVoies[0]->text(), QStringLiteral("EA1"));
        QTRY_COMPARE_WITH_TIMEOUT(c().EditPresence->text(),
                                  QStringLiteral("Centrale SIMULATION V6 connectée"), 3000);

        QTRY_VERIFY(QApplication::focusWidget() != nullptr);
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_F10);
        QTRY_COMPARE_WITH_TIMEOUT(fiche->modeGeneral(), MODE_MESURES, 5000);
        QVERIFY(boites->avertissements.isEmpty());
        QCOMPARE(fiche->series.nbVoiesMesurees, 1);
        const auto& col = fiche->series.tv2[0];
        QCOMPARE(static_cast<int64_t>(col.size()), u.nbPtsAffX);
        // EA1 as the simulator gives it (a 5 V, 100 Hz sine), within two converter steps.
        static QLibrary bibli(QStringLiteral(KIRVANE_SIMULATEUR_V6));
        bibli.setLoadHints(QLibrary::PreventUnloadHint);
        auto tension =
            reinterpret_cast<double (*)(int32_t, double)>(bibli.resolve("SimV6_Tension"));
        QVERIFY(tension);
        const double pas = 50.0 / 4096.0;
        int ecarts = 0;
        for (std::size_t k = 0; k < col.size(); ++k) {
            const double t = static_cast<double>(k) * u.dt0X;
            if (std::fabs(col[k] - tension(0, t)) > 2.0 * pas)
                ++ecarts;
        }
        QCOMPARE(ecarts, 0);
        QVERIFY(std::fabs(fiche->series.voiesMesurees[0].max - 5.0) < 0.05);
    }
};

QTEST_MAIN(TestFicheV6)
#include "qtest_fiche_v6.moc"
