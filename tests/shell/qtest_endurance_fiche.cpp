// The main window through a long permanent run on the SP5 simulator, offscreen: durations,
// point counts and inputs changed while frames run, the unit unplugged and plugged back,
// stops and restarts. Qt must print no warning and the window must make no widget it
// does not free. The duration (seconds) comes from KIRVANE_DUREE_ENDURANCE_FICHE.
#include "fiche_essai.h"
#include "lecture.h"

#include <QComboBox>
#include <QElapsedTimer>

#include <random>

namespace {

QStringList avertissementsQt;
QtMessageHandler gestionnairePrecedent = nullptr;

void intercepter(QtMsgType type, const QMessageLogContext& contexte, const QString& texte) {
    if (type != QtDebugMsg && type != QtInfoMsg)
        avertissementsQt << texte;
    if (gestionnairePrecedent)
        gestionnairePrecedent(type, contexte, texte);
}

} // namespace

class TestEnduranceFiche : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;
    std::mt19937 alea{7};

    TComposantsFiche& c() { return fiche->composants; }
    int tirage(int a, int b) { return std::uniform_int_distribution<int>(a, b)(alea); }

    // An item of the list chosen as the user does (the list's activated signal), among those
    // whose value stays at most maxi.
    void choisir(QComboBox* liste, double maxi, QStringView unite) {
        QList<int> possibles;
        for (int i = 0; i < liste->count(); ++i) {
            double v = 0.0;
            if (texteVersReel(liste->itemText(i), v, unite) == 0 && v <= maxi)
                possibles << i;
        }
        if (possibles.isEmpty())
            return;
        const int i = possibles[tirage(0, static_cast<int>(possibles.size()) - 1)];
        liste->setCurrentIndex(i);
        emit liste->activated(i);
    }

private slots:
    void enduranceEnModePermanent() {
        const double duree = qEnvironmentVariableIsSet("KIRVANE_DUREE_ENDURANCE_FICHE")
                                 ? qEnvironmentVariable("KIRVANE_DUREE_ENDURANCE_FICHE").toDouble()
                                 : 20.0;
        avertissementsQt.clear();
        gestionnairePrecedent = qInstallMessageHandler(intercepter);

        fiche = std::make_unique<TFicheKirvaneMixte>(demarrage(nullptr));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        QTRY_VERIFY(c().CBDureeTotale->isVisible());
        QTest::mouseClick(c().CBModePermanent, Qt::LeftButton, {},
                          QPoint(6, c().CBModePermanent->height() / 2));
        QVERIFY(c().CBModePermanent->isChecked());

        QElapsedTimer total;
        total.start();
        bool fini = false, debranche = false, demarrageDemande = false;
        QElapsedTimer depuisDebranchement;
        qsizetype widgetsApresEchauffement = -1;
        int changements = 0, debranchements = 0, arrets = 0, lancements = 0;

        QTimer actions;
        actions.setInterval(150);
        connect(&actions, &QTimer::timeout, this, [&] {
            const TModeGeneral mode = fiche->modeGeneral();
            if (widgetsApresEchauffement < 0 && total.elapsed() > 3000 &&
                mode == MODE_ACQ_PERMANENTE)
                widgetsApresEchauffement = QApplication::allWidgets().size();
            if (total.elapsed() > duree * 1000.0) {
                if (mode == MODE_ACQ_PERMANENTE)
                    c().BAcquisition->click();
                else if (!debranche)
                    fini = true;
                else {
                    debrancherSimulateur(false);
                    debranche = false;
                }
                return;
            }
            if (mode == MODE_ACQ_PERMANENTE) {
                const int t = tirage(0, 99);
                if (t < 12) {
                    choisir(c().CBDureeTotale, 0.3, u"s");
                    ++changements;
                } else if (t < 24) {
                    choisir(c().CBNbPoints, 5000, {});
                    ++changements;
                } else if (t < 30) {
                    QCheckBox* b = c().CBVoiesActives[tirage(1, 3)];
                    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
                    ++changements;
                } else if (t < 32) {
                    debrancherSimulateur(true);
                    debranche = true;
                    depuisDebranchement.start();
                    ++debranchements;
                } else if (t < 35) {
                    c().BAcquisition->click();
                    ++arrets;
                }
                return;
            }
            if (debranche) {
                if (depuisDebranchement.elapsed() > 500) {
                    debrancherSimulateur(false);
                    debranche = false;
                }
                return;
            }
            // Idle with the unit back: start again once the presence poll has seen it.
            if (!demarrageDemande && !acquisitionEnCours(mode) && c().BAcquisition->isEnabled() &&
                fiche->centrales.SP5Presente) {
                demarrageDemande = true;
                QTimer::singleShot(0, this, [&] {
                    if (!c().CBModePermanent->isChecked())
                        QTest::mouseClick(c().CBModePermanent, Qt::LeftButton, {},
                                          QPoint(6, c().CBModePermanent->height() / 2));
                    if (!c().CBVoiesActives[0]->isChecked())
                        QTest::mouseClick(c().CBVoiesActives[0], Qt::LeftButton, {},
                                          QPoint(6, c().CBVoiesActives[0]->height() / 2));
                    ++lancements;
                    demarrageDemande = false;
                    c().BAcquisition->click(); // returns when the permanent run ends
                });
            }
        });
        actions.start();
        QTRY_VERIFY_WITH_TIMEOUT(fini, static_cast<int>(duree * 1000.0) + 30000);
        actions.stop();
        QTRY_VERIFY(!acquisitionEnCours(fiche->modeGeneral()));
        qInstallMessageHandler(gestionnairePrecedent);

        qInfo("fenêtre : %d lancements, %d changements, %d débranchements, %d arrêts ; "
              "%lld widgets après l'échauffement, %lld à la fin",
              lancements, changements, debranchements, arrets,
              static_cast<long long>(widgetsApresEchauffement),
              static_cast<long long>(QApplication::allWidgets().size()));
        QVERIFY2(avertissementsQt.isEmpty(), qPrintable(avertissementsQt.join(QLatin1Char('\n'))));
        QVERIFY(lancements >= 2);
        QVERIFY(changements > 0);
        QVERIFY(widgetsApresEchauffement > 0);
        QVERIFY(QApplication::allWidgets().size() <= widgetsApresEchauffement);
        // The live values and the presence poll still run: the unit unplugged is reported
        // missing, then present again once plugged back.
        debrancherSimulateur(true);
        QTRY_VERIFY_WITH_TIMEOUT(c().EditPresence->text().contains(QStringLiteral("non connectée")),
                                 5000);
        debrancherSimulateur(false);
        QTRY_VERIFY_WITH_TIMEOUT(fiche->centrales.SP5Presente &&
                                     !c().EditPresence->text().contains(QStringLiteral("non")),
                                 5000);

        boites->reponses = {TReponse::Non, TReponse::Non};
        fiche->peutFermer = true;
        fiche->close();
        fiche.reset();
    }
};

QTEST_MAIN(TestEnduranceFiche)
#include "qtest_endurance_fiche.moc"
