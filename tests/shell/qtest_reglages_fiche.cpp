// The settings panel of the main window on the SP5 simulator: what the teacher types,
// picks and clicks reaches the unit, the panel shows what the unit kept, and the next
// acquisition uses it.
#include "fiche_essai.h"

#include <QComboBox>
#include <QLineEdit>

class TestReglagesFiche : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;

    TCentrale& unite() { return *fiche->centrales.SP5; }
    TComposantsFiche& c() { return fiche->composants; }

    // The window as it starts on the simulator (EA0, 20 ms, 1001 points), active so that
    // its fields take the focus.
    void ouvrir() {
        fiche = std::make_unique<TFicheKirvaneMixte>(demarrage(nullptr));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        fiche->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fiche.get()));
        QTRY_VERIFY(c().PanelEcranTab->isVisible() && c().CBDureeTotale->isVisible());
        QCOMPARE(fiche->modeGeneral(), MODE_VIERGE);
    }

    void entrer(QWidget* champ) {
        champ->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(champ->hasFocus());
    }
    // Leaving a field: the focus goes to the start button.
    void quitter(QWidget* champ) {
        c().BAcquisition->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(!champ->hasFocus());
    }
    // A click on a check box's square.
    void cocher(QCheckBox* boite) {
        QTest::mouseClick(boite, Qt::LeftButton, {}, QPoint(6, boite->height() / 2));
    }
    // Typing a whole new text into an editable list, then leaving it.
    void taper(QComboBox* liste, const QString& texte) {
        entrer(liste);
        liste->lineEdit()->selectAll();
        QTest::keyClicks(liste->lineEdit(), texte);
        quitter(liste);
    }

private slots:
    void cleanup() { fermer(fiche); }

    // The panel starts with the unit's lists and its default timing.
    void lePanneauMontreLesReglagesDeLUnite() {
        ouvrir();
        QCOMPARE(c().CBDureeTotale->currentText(), QStringLiteral("20 ms"));
        QCOMPARE(c().CBNbPoints->currentText(), QStringLiteral("1001"));
        QVERIFY(c().CBDureeTotale->findText(QStringLiteral("50 ms")) >= 0);
        QCOMPARE(c().CBNbPoints->itemText(c().CBNbPoints->count() - 1), QStringLiteral("50001"));
        QVERIFY(c().CBVoiesActives[0]->isChecked());
        QVERIFY(!c().CBVoiesActives[1]->isChecked());
        // Manual trigger: the threshold, channel and pretrigger controls are off.
        QVERIFY(c().CBTypeDeclenchement->isEnabled());
        QVERIFY(!c().EditUSeuilDecl->isEnabled());
        QVERIFY(!c().CBPretrigX->isEnabled());
        // Closing with a typed duration in the list: nothing applies after the rules are gone.
        entrer(c().CBDureeTotale);
        QTest::keyClicks(c().CBDureeTotale->lineEdit(), QStringLiteral("5"));
        fiche.reset();
    }

    // Picking the next item with the keyboard and leaving the list applies it.
    void choisirUneDureeDansLaListe() {
        ouvrir();
        const QString teAvant = c().iTe->accessibleName();
        entrer(c().CBDureeTotale);
        QTest::keyClick(c().CBDureeTotale, Qt::Key_Down);
        QCOMPARE(c().CBDureeTotale->currentText(), QStringLiteral("50 ms"));
        quitter(c().CBDureeTotale);
        QCOMPARE(unite().dureeTotale0X, 0.05);
        // 50 ms over 1000 intervals: 50 µs.
        QVERIFY(c().iTe->accessibleName() != teAvant);
        // 50 µs: written with a raised exponent.
        QVERIFY2(c().iTe->accessibleName().startsWith(u'5') &&
                     c().iTe->accessibleName().contains(QStringLiteral("-5")),
                 qPrintable(c().iTe->accessibleName()));
        QVERIFY(!c().iTe->pixmap().isNull());
        QCOMPARE(fiche->modeGeneral(), MODE_REGLAGES_MODIFIES);
        QVERIFY(boites->avertissements.isEmpty());
    }

    // An unreadable duration: the message, the unit keeps its duration.
    void uneDureeIllisibleEstSignalee() {
        ouvrir();
        taper(c().CBDureeTotale, QStringLiteral("abc"));
        QCOMPARE(boites->avertissements,
                 QStringList{
                     QString::fromUtf8("Valeur de durée totale incorrecte. Veuillez rectifier.")});
        QCOMPARE(unite().dureeTotale0X, 0.02);
    }

    // The +/- buttons step the list, from an item or from a typed value.
    void lesBoutonsParcourentLaListe() {
        struct Cas {
            const char* tape; // nullptr: start from the selected item (20 ms)
            bool plus;
            const char* attendu;
            double duree;
        };
        const Cas cas[] = {
            {nullptr, true, "50 ms", 0.05},
            {nullptr, false, "10 ms", 0.01},
            {"7 ms", true, "10 ms", 0.01},
            {"7 ms", false, "5 ms", 0.005},
        };
        for (const Cas& k : cas) {
            const QByteArray nom = QByteArray(k.tape ? k.tape : "20 ms") + (k.plus ? " +" : " -");
            ouvrir();
            if (k.tape)
                taper(c().CBDureeTotale, QString::fromUtf8(k.tape));
            QTest::mouseClick(k.plus ? c().SBDureeTotalePlus : c().SBDureeTotaleMoins,
                              Qt::LeftButton);
            QVERIFY2(c().CBDureeTotale->currentText() == QString::fromUtf8(k.attendu),
                     nom.constData());
            QVERIFY2(qFuzzyCompare(unite().dureeTotale0X, k.duree), nom.constData());
            cleanup();
        }
    }

    // More points than the unit holds: it keeps its largest count, and the list shows it.
    void tropDePointsDonneLeMaximum() {
        ouvrir();
        taper(c().CBNbPoints, QStringLiteral("60000"));
        QCOMPARE(unite().nbPtsAffX, int64_t{50001});
        QCOMPARE(c().CBNbPoints->currentText(), QStringLiteral("50001"));
        QVERIFY(boites->avertissements.isEmpty());
        // The + button then stays on the last item.
        QTest::mouseClick(c().SBNbPointsPlus, Qt::LeftButton);
        QCOMPARE(unite().nbPtsAffX, int64_t{50001});
        QTest::mouseClick(c().SBNbPointsMoins, Qt::LeftButton);
        QCOMPARE(c().CBNbPoints->currentText(), QStringLiteral("20001"));
    }

    // Input boxes change the active inputs; a switched-off input's value is emptied.
    void lesEntreesActives() {
        ouvrir();
        fiche->TimerAcqDirTimer();
        QVERIFY(!c().EditValU[0]->text().isEmpty());
        cocher(c().CBVoiesActives[0]);
        QVERIFY(!unite().VoiesX[0].active);
        QVERIFY(c().EditValU[0]->text().isEmpty());
        QVERIFY(!c().EditValU[0]->isEnabled());
        QVERIFY(!c().RGCalsEA[0]->isEnabled());
        cocher(c().CBVoiesActives[1]);
        QVERIFY(unite().VoiesX[1].active);
        QCOMPARE(unite().VoiesActivesSignaux.at(0), 1);
        QCOMPARE(unite().nbVoiesSignaux, 1);
        QVERIFY(c().RGCalsEA[1]->isEnabled());
        // The live values follow: EA1 written, EA0 left empty.
        fiche->TimerAcqDirTimer();
        QVERIFY(c().EditValU[0]->text().isEmpty());
        QVERIFY(c().EditValU[1]->text().endsWith(u'V'));
        // No input left: the start is refused and the live values stop.
        cocher(c().CBVoiesActives[1]);
        QCOMPARE(unite().nbVoiesActivesX, 0);
        QTest::keyRelease(fiche.get(), Qt::Key_F10);
        QCOMPARE(boites->avertissements.size(), 1);
        QVERIFY(!fiche->TimerAcqDir.isActive());
    }

    // F10 acquires with the settings just chosen.
    void lAcquisitionPrendLesNouveauxReglages() {
        ouvrir();
        taper(c().CBNbPoints, QStringLiteral("101"));
        cocher(c().CBVoiesActives[1]);
        QTest::keyRelease(fiche.get(), Qt::Key_F10);
        QTRY_COMPARE(fiche->modeGeneral(), MODE_MESURES);
        QCOMPARE(fiche->series.nbVoiesMesurees, 2);
        QCOMPARE(fiche->series.tv2.size(), size_t{2});
        for (const auto& colonne : fiche->series.tv2)
            QCOMPARE(static_cast<int64_t>(colonne.size()), int64_t{101});
        QCOMPARE(c().CBNbPoints->currentText(), QStringLiteral("101"));
        // Idle again: the live values run.
        QVERIFY(fiche->TimerAcqDir.isActive());
    }

    // "Mode permanent": the trigger box becomes the synchronisation; a change made while
    // the frames run is applied between two frames and shown when the acquisition stops.
    void unReglagePendantLeModePermanent() {
        ouvrir();
        cocher(c().CBModePermanent);
        QCOMPARE(c().GBDeclenchement->title(), QStringLiteral("Synchronisation"));
        QCOMPARE(c().CBTypeDeclenchement->itemText(0), QStringLiteral("aucune"));
        QCOMPARE(fiche->modeGeneral(), MODE_VIERGE);
        int64_t pointsPendant = 0;
        QTimer::singleShot(300, this, [this] {
            QVERIFY(acquisitionEnCours(fiche->modeGeneral()));
            QVERIFY(c().SBNbPointsMoins->isEnabled());
            QTest::mouseClick(c().SBNbPointsMoins, Qt::LeftButton);
        });
        QTimer::singleShot(900, this, [this, &pointsPendant] {
            pointsPendant = unite().nbPtsAffX;
            if (acquisitionEnCours(fiche->modeGeneral()))
                c().BAcquisition->click();
        });
        QTest::keyRelease(fiche.get(), Qt::Key_F10);
        QTRY_COMPARE(fiche->modeGeneral(), MODE_PERMANENT_ARRETE);
        QCOMPARE(pointsPendant, int64_t{501}); // applied while the frames ran
        QCOMPARE(unite().nbPtsAffX, int64_t{501});
        QCOMPARE(c().CBNbPoints->currentText(), QStringLiteral("501"));
        // The interval follows: 20 ms over 500 intervals, 40 µs.
        QVERIFY2(c().iTe->accessibleName().startsWith(u'4'), qPrintable(c().iTe->accessibleName()));
        QCOMPARE(static_cast<int64_t>(fiche->series.tv2.at(0).size()), int64_t{501});
    }

    // The threshold trigger enables its controls; a threshold beyond the range is kept
    // inside it.
    void leDeclenchementSurSeuil() {
        ouvrir();
        c().CBTypeDeclenchement->setFocus();
        QTest::keyClick(c().CBTypeDeclenchement, Qt::Key_Down);
        QCOMPARE(unite().modeDecl, 1);
        QVERIFY(c().EditUSeuilDecl->isEnabled());
        QVERIFY(c().RGSensDeclenchement->isEnabled());
        entrer(c().EditUSeuilDecl);
        c().EditUSeuilDecl->selectAll();
        QTest::keyClicks(c().EditUSeuilDecl, QStringLiteral("50"));
        quitter(c().EditUSeuilDecl);
        QCOMPARE(unite().USeuilDecl, 9.0f); // 90 % of ±10 V
        QCOMPARE(c().EditUSeuilDecl->text(), QStringLiteral("9"));
    }

    // Live values: the voltage text; a unit gone empties the fields and starts the poll.
    void lesValeursDirectes() {
        ouvrir();
        QVERIFY(fiche->TimerAcqDir.isActive());
        fiche->TimerAcqDirTimer();
        const QString t = c().EditValU[0]->text();
        QVERIFY2(t.startsWith(QStringLiteral("  ")) && t.endsWith(u'V'), qPrintable(t));
        fiche->TimerPresenceSP5.stop();
        debrancherSimulateur(true);
        fiche->TimerAcqDirTimer();
        QVERIFY(c().EditValU[0]->text().isEmpty());
        QVERIFY(fiche->TimerPresenceSP5.isActive());
        debrancherSimulateur(false);
        fiche->TimerAcqDirTimer();
        QVERIFY(!c().EditValU[0]->text().isEmpty());
    }
};

QTEST_MAIN(TestReglagesFiche)
#include "qtest_reglages_fiche.moc"
