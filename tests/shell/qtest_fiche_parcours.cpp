// The main window as a pupil meets it, on the SP5 simulator: a value typed and not yet
// confirmed, a quit given up, the measurement panel closed, permanent mode switched off
// while the frames run, the unit's own button clicked.
#include "fiche_essai.h"
#include "graphefiche.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScreen>

class TestFicheParcours : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;

    TCentrale& unite() { return *fiche->centrales.SP5; }
    TComposantsFiche& c() { return fiche->composants; }

    // The window as it starts (EA0, 20 ms, 1001 points), active so that its fields take the
    // focus.
    void ouvrir(TDemarrageFiche d) {
        fiche = std::make_unique<TFicheKirvaneMixte>(std::move(d));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        fiche->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fiche.get()));
        QTRY_VERIFY(c().PanelEcranTab->isVisible() && c().CBDureeTotale->isVisible());
    }
    void ouvrir() { ouvrir(demarrage(nullptr)); }

    void entrer(QWidget* champ) {
        champ->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(champ->hasFocus());
    }
    void cocher(QCheckBox* boite) {
        QTest::mouseClick(boite, Qt::LeftButton, {}, QPoint(6, boite->height() / 2));
    }
    void F10() { QTest::keyRelease(QApplication::focusWidget(), Qt::Key_F10); }
    // A single acquisition with F10, to its end.
    void acquerir() {
        F10();
        QTRY_COMPARE(fiche->modeGeneral(), MODE_MESURES);
    }
    // A permanent acquisition started with F10; action runs while the frames go on.
    void pendantLeModePermanent(const std::function<void()>& action) {
        if (!c().CBModePermanent->isChecked())
            cocher(c().CBModePermanent);
        QTimer::singleShot(300, this, [this, action] {
            QVERIFY(fiche->modeGeneral() == MODE_ACQ_PERMANENTE);
            action();
        });
        F10();
        QTRY_COMPARE_WITH_TIMEOUT(fiche->modeGeneral(), MODE_PERMANENT_ARRETE, 5000);
    }

private slots:
    void cleanup() { fermer(fiche); }

    // The frame starts inside the screen's free area, 5 pixels from its corner.
    void laFenetreDemarreDansLEcran() {
        ouvrir();
        const QRect zone = fiche->screen()->availableGeometry();
        QVERIFY(zone.contains(fiche->frameGeometry()));
        QCOMPARE(fiche->frameGeometry().topLeft(), zone.topLeft() + QPoint(5, 5));
    }

    // A value typed or picked and not confirmed is what the acquisition uses, with F10 as
    // with the button.
    void leChampEnCoursSAppliqueAuDemarrage() {
        enum Champ { duree, points, seuil };
        struct Cas {
            const char* nom;
            Champ champ;
            bool parF10; // else the button, pressed without taking the focus
        };
        const Cas cas[] = {
            {"durée tapée, F10", duree, true},
            {"durée tapée, bouton", duree, false},
            {"points choisis au clavier, F10", points, true},
            {"seuil tapé, F10", seuil, true},
        };
        for (const Cas& k : cas) {
            ouvrir();
            int64_t pointsChoisis = 1001;
            switch (k.champ) {
            case duree:
                entrer(c().CBDureeTotale);
                c().CBDureeTotale->lineEdit()->selectAll();
                QTest::keyClicks(c().CBDureeTotale->lineEdit(), QStringLiteral("50 ms"));
                break;
            case points:
                entrer(c().CBNbPoints);
                QTest::keyClick(c().CBNbPoints, Qt::Key_Up);
                pointsChoisis = c().CBNbPoints->currentText().toLongLong();
                QVERIFY2(pointsChoisis > 0 && pointsChoisis < 1001, k.nom);
                break;
            case seuil:
                c().CBTypeDeclenchement->setFocus();
                QTest::keyClick(c().CBTypeDeclenchement, Qt::Key_Down); // "sur seuil"
                entrer(c().EditUSeuilDecl);
                c().EditUSeuilDecl->selectAll();
                QTest::keyClicks(c().EditUSeuilDecl, QStringLiteral("2"));
                break;
            }
            if (k.parF10)
                F10();
            else
                c().BAcquisition->click();
            QTRY_COMPARE(fiche->modeGeneral(), MODE_MESURES);
            QVERIFY2(boites->avertissements.isEmpty(), k.nom);
            switch (k.champ) {
            case duree:
                QVERIFY2(qFuzzyCompare(unite().dureeTotaleAX, 0.05), k.nom);
                QVERIFY2(c().CBDureeTotale->currentText() == QStringLiteral("50 ms"), k.nom);
                break;
            case points:
                QVERIFY2(static_cast<int64_t>(fiche->series.tv2.at(0).size()) == pointsChoisis,
                         k.nom);
                break;
            case seuil:
                QVERIFY2(unite().USeuilDecl == 2.0f, k.nom);
                QVERIFY2(c().EditUSeuilDecl->text() == QStringLiteral("2"), k.nom);
                break;
            }
            cleanup();
        }
    }

    // Giving up a quit or a new experiment leaves the live values running; the next
    // acquisition shows them again.
    void renoncerLaisseLesTimers() {
        struct Cas {
            const char* nom;
            bool quitter; // else "Nouveau"
            QList<TReponse> reponses;
            qsizetype questions;
            qsizetype dialogues; // save dialogs opened (and cancelled)
        };
        const Cas cas[] = {
            {"quitter, Non", true, {TReponse::Non}, 1, 0},
            {"quitter, Oui puis Annuler", true, {TReponse::Oui, TReponse::Annuler}, 2, 0},
            {"quitter, enregistrement abandonné", true, {TReponse::Oui, TReponse::Oui}, 2, 1},
            {"nouveau, Annuler", false, {TReponse::Annuler}, 1, 0},
            {"nouveau, enregistrement abandonné", false, {TReponse::Oui}, 1, 1},
        };
        for (const Cas& k : cas) {
            ouvrir();
            acquerir();
            const bool acqDir = fiche->TimerAcqDir.isActive();
            const bool presence = fiche->TimerPresenceSP5.isActive();
            QVERIFY(acqDir);
            boites->reponses = k.reponses;
            QTest::mouseClick(k.quitter ? c().SBQuitter : c().SBNouveau, Qt::LeftButton);
            QTRY_VERIFY2(boites->questions.size() == k.questions, k.nom);
            QTest::qWait(50); // the close request, queued, has returned
            QVERIFY2(fiche->isVisible() && fiche->series.nbVoiesMesurees == 1, k.nom);
            QVERIFY2(boites->dialoguesEnregistrement.size() == k.dialogues, k.nom);
            QVERIFY2(fiche->TimerAcqDir.isActive() == acqDir, k.nom);
            QVERIFY2(fiche->TimerPresenceSP5.isActive() == presence, k.nom);
            QVERIFY2(!fiche->bloqueTimerAcqDirecte, k.nom);
            // The next acquisition: the live value comes back after it.
            acquerir();
            QVERIFY2(fiche->TimerAcqDir.isActive(), k.nom);
            fiche->TimerAcqDirTimer();
            QVERIFY2(!c().EditValU[0]->text().isEmpty(), k.nom);
            cleanup();
        }
    }

    // "Nouveau" forgets what was measured: pointing, series count, values of inputs off.
    void nouveauEffaceLesAffichages() {
        ouvrir();
        cocher(c().CBVoiesActives[1]);
        acquerir();
        QCOMPARE(c().EditMessageX->text(), QString::fromUtf8("2 séries acquises"));
        fiche->TimerAcqDirTimer();
        QVERIFY(!c().EditValU[1]->text().isEmpty());
        // As pointing a curve leaves them.
        c().EditSerieP->setText(QStringLiteral("EA0"));
        c().EditPointP->setText(QStringLiteral("t = 1,000 ms   u = 2,000 V"));
        boites->reponses = {TReponse::Non}; // not saved
        QTest::mouseClick(c().SBNouveau, Qt::LeftButton);
        QCOMPARE(fiche->modeGeneral(), MODE_VIERGE);
        QCOMPARE(fiche->series.nbVoiesMesurees, 0);
        QVERIFY(!c().CBVoiesActives[1]->isChecked());
        QVERIFY(c().EditValU[1]->text().isEmpty());
        QVERIFY(c().EditSerieP->text().isEmpty());
        QVERIFY(c().EditPointP->text().isEmpty());
        QVERIFY(c().EditMessageX->text().isEmpty());
        QVERIFY(fiche->TimerAcqDir.isActive());
        fiche->TimerAcqDirTimer();
        QVERIFY(!c().EditValU[0]->text().isEmpty());
        QVERIFY(c().EditValU[1]->text().isEmpty());
    }

    // The second input of a differential channel alone is no signal: the start is refused
    // as with no input; a permanent acquisition losing its last signal ends and keeps it.
    void unCanalDifferentielSansPremiereEntree() {
        const QString aucune = QString::fromUtf8(
            "Aucune entrée analogique n'est active. \n\rActivez au moins une entrée !");
        ouvrir();
        cocher(c().CBVoiesActives[4]);
        cocher(c().CBVoiesActives[0]);
        cocher(c().CBModeDiff[0]);
        QCOMPARE(unite().nbVoiesSignaux, 0);
        QVERIFY(unite().VoiesX[4].active);
        F10();
        QCOMPARE(boites->avertissements, QStringList{aucune});
        QVERIFY(fiche->modeGeneral() < MODE_MESURES);
        QCOMPARE(fiche->series.nbVoiesMesurees, 0);
        cleanup();

        ouvrir();
        cocher(c().CBVoiesActives[4]);
        cocher(c().CBModeDiff[0]);
        QCOMPARE(unite().nbVoiesSignaux, 1); // EA0 - EA4
        pendantLeModePermanent([this] { cocher(c().CBVoiesActives[0]); });
        QCOMPARE(fiche->series.nbVoiesMesurees, 1);
        QVERIFY(boites->avertissements.isEmpty());
    }

    // Closing the measurement panel brings back the threshold trigger's controls.
    void lesControlesDuSeuilApresLePanneauDeMesures() {
        for (const bool parFermer : {true, false}) {
            ouvrir();
            acquerir();
            c().CBTypeDeclenchement->setFocus();
            QTest::keyClick(c().CBTypeDeclenchement, Qt::Key_Down); // "sur seuil"
            QWidget* const controles[] = {c().RGSensDeclenchement, c().CBVoieSynchro,
                                          c().EditUSeuilDecl, c().CBPretrigX};
            for (QWidget* w : controles)
                QVERIFY(w->isEnabled());
            QTest::mouseClick(c().SBMesures, Qt::LeftButton);
            QCOMPARE(fiche->modeGeneral(), MODE_MESURES_ECRAN);
            QVERIFY(!c().EditUSeuilDecl->isEnabled());
            QTest::mouseClick(parFermer ? static_cast<QWidget*>(c().BFermerMesuresSurEcran)
                                        : static_cast<QWidget*>(c().SBMesures),
                              Qt::LeftButton);
            QCOMPARE(fiche->modeGeneral(), MODE_MESURES);
            for (QWidget* w : controles)
                QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
            cleanup();
        }
    }

    // "Acquisition précédente" is offered after a timing change, not once an acquisition
    // was made with the new timing, single or permanent.
    void acquisitionPrecedenteApresUneAcquisition() {
        for (const bool permanente : {false, true}) {
            ouvrir();
            acquerir();
            QVERIFY(!c().BAcquisitionPrecedente->isEnabled());
            QTest::mouseClick(c().SBDureeTotalePlus, Qt::LeftButton);
            QVERIFY(c().BAcquisitionPrecedente->isEnabled());
            if (permanente)
                pendantLeModePermanent([this] { c().BAcquisition->click(); });
            else
                acquerir();
            QVERIFY(!c().BAcquisitionPrecedente->isEnabled());
            cleanup();
        }
    }

    // "Mode permanent" unticked while fast frames run: the trigger box reads as in single
    // acquisitions once the frames stop.
    void modePermanentDecocheEnTramesRapides() {
        ouvrir();
        cocher(c().CBModePermanent);
        QCOMPARE(c().GBDeclenchement->title(), QStringLiteral("Synchronisation"));
        QVERIFY(unite().dureeTotale0X <= unite().tRemanence); // fast frames
        pendantLeModePermanent([this] { cocher(c().CBModePermanent); });
        QVERIFY(!c().CBModePermanent->isChecked());
        QCOMPARE(c().GBDeclenchement->title(), QString::fromUtf8("Déclenchement"));
        QCOMPARE(c().CBTypeDeclenchement->itemText(0), QStringLiteral("manuel"));
        QCOMPARE(c().CBTypeDeclenchement->currentText(), QStringLiteral("manuel"));
    }

    // The active unit's own button: same unit object and settings, messages emptied, the
    // polls back after 500 ms.
    void leBoutonDeLaCentraleActive() {
        TDemarrageFiche d = demarrage(nullptr, true);
        boites->choix = CENTRALE_SIMULATION_SP5;
        ouvrir(std::move(d));
        QCOMPARE(c().SBCentrales_.size(), size_t{2});
        QToolButton* bouton = nullptr;
        for (QToolButton* b : c().SBCentrales_)
            if (b->property("typeCentrale").toInt() == CENTRALE_SIMULATION_SP5)
                bouton = b;
        QVERIFY(bouton && bouton->isChecked());
        QTest::mouseClick(c().SBDureeTotalePlus, Qt::LeftButton);
        acquerir();
        const TCentrale* avant = fiche->centrales.SP5.get();
        QVERIFY(!c().EditMessageX->text().isEmpty());
        QVERIFY(!c().EditPresence->text().isEmpty());
        QTest::mouseClick(bouton, Qt::LeftButton);
        QCOMPARE(fiche->centrales.SP5.get(), avant);
        QVERIFY(qFuzzyCompare(unite().dureeTotale0X, 0.05));
        QCOMPARE(fiche->series.nbVoiesMesurees, 1);
        QVERIFY(c().EditMessageX->text().isEmpty());
        QVERIFY(c().EditPresence->text().isEmpty());
        QVERIFY(!fiche->TimerAcqDir.isActive());
        QVERIFY(!fiche->TimerPresenceSP5.isActive());
        QTest::qWait(300);
        QVERIFY(!fiche->TimerAcqDir.isActive());
        QTRY_VERIFY_WITH_TIMEOUT(fiche->TimerAcqDir.isActive(), 1000);
        QVERIFY(fiche->TimerPresenceSP5.isActive());
        QVERIFY(!fiche->bloqueTimerAcqDirecte);
        QTRY_COMPARE_WITH_TIMEOUT(c().EditPresence->text(),
                                  QString("Centrale SIMULATION SP5 connectée"), 3000);
    }
};

QTEST_MAIN(TestFicheParcours)
#include "qtest_fiche_parcours.moc"
