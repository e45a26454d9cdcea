// The measurement table in the main window, against the SP5 simulator: shown after an
// acquisition, following a marker drag and a running acquisition, and deleting series from
// its crosses. With KIRVANE_CAPTURES set to a folder, the window is saved there.
#include "couleursqt.h"
#include "fiche_essai.h"
#include "graphefiche.h"

#include <QScrollBar>
#include <QTimer>
#include <cmath>

namespace {

void capturer(QWidget& fiche, const char* nom) {
    const QByteArray dossier = qgetenv("KIRVANE_CAPTURES");
    if (dossier.isEmpty())
        return;
    QCoreApplication::processEvents();
    fiche.grab().save(QString::fromLocal8Bit(dossier) + "/" + nom + ".png");
}

} // namespace

class TestTableauFiche : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;

    // The window at 1366 × 768 after an acquisition by F10 of the inputs given (20 ms,
    // 1001 points on the simulator), the table shown by its button.
    void acquerirEtMontrer(std::initializer_list<int> entrees) {
        fiche = std::make_unique<TFicheKirvaneMixte>(demarrage(nullptr));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        fiche->resize(1366, 768);
        QTRY_VERIFY(fiche->composants.PanelEcranTab->isVisible());
        for (int i : entrees)
            if (!fiche->composants.CBVoiesActives[i]->isChecked())
                fiche->composants.CBVoiesActives[i]->click();
        QVERIFY(!fiche->composants.SBVoirTableau->isEnabled()); // nothing to show yet
        QTest::keyRelease(fiche.get(), Qt::Key_F10);
        QTRY_COMPARE(fiche->modeGeneral(), MODE_MESURES);
        QCOMPARE(fiche->series.nbVoiesMesurees, static_cast<int>(entrees.size()));
        QVERIFY(fiche->composants.SBVoirTableau->isEnabled());
        QTest::mouseClick(fiche->composants.SBVoirTableau, Qt::LeftButton);
        QVERIFY(fiche->PTableauVisible);
        QVERIFY(fiche->composants.PTableau->isVisible());
        QVERIFY(fiche->MAJTableauFaite);
    }

    TTableauMesures& tableau() { return fiche->tableau; }

    // The question of the cross of table column c, answered by `reponse`.
    void cliquerCroix(int c, TReponse reponse) {
        boites->reponses = {reponse};
        TGrilleMesures* g = fiche->composants.SGMesures;
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->centreCellule(c, 2));
    }

private slots:
    void cleanup() { fermer(fiche); }

    void leTableauMontreLaSerieAcquise() {
        acquerirEtMontrer({0});
        capturer(*fiche, "tableau_apres_f10");
        const TCentrale& u = *fiche->centrales.SP5;
        QCOMPARE(tableau().nbColonnes(), 3);
        QCOMPARE(tableau().nbLignes(), static_cast<int>(u.nbPtsAX) + 3);
        QCOMPARE(tableau().texte(2, 0), fiche->series.voiesMesurees[0].sEnteteVM);
        QCOMPARE(tableau().texte(1, 1), QStringLiteral("ms"));
        // The 5 V sine of EA0 at a quarter period (2.5 ms): close to 5 V.
        const int64_t k = static_cast<int64_t>(std::llround(0.0025 / u.dtAX));
        const double v = fiche->series.tv2[0][static_cast<size_t>(k)];
        QVERIFY(v > 4.5);
        QCOMPARE(tableau().texte(2, static_cast<int>(k) + 3).replace(',', '.').toDouble(),
                 std::round(v * 1000) / 1000);
        // The table stands right of the graph, as wide as its columns, the graph narrower.
        QVERIFY(fiche->composants.PTableau->x() >
                fiche->composants.PEcran->x() + fiche->composants.PEcran->width());
        QVERIFY(fiche->composants.PTableau->width() >= tableau().largeurColonnes());
        // Every row tinted: the markers span the whole series. The grid paints it.
        const QImage image = fiche->composants.SGMesures->viewport()->grab().toImage();
        const QPoint p = fiche->composants.SGMesures->centreCellule(1, 5) + QPoint(0, 6);
        QCOMPARE(image.pixelColor(p.x() - 20, p.y()), versQColor(clfdSGSelT()));
        // Scrolling to the end shows the last point.
        fiche->composants.SGMesures->verticalScrollBar()->setValue(
            fiche->composants.SGMesures->verticalScrollBar()->maximum());
        QVERIFY(fiche->composants.SGMesures->premiereLigne() > 900);
        // Hidden again by its button.
        QTest::mouseClick(fiche->composants.SBVoirTableau, Qt::LeftButton);
        QVERIFY(!fiche->composants.PTableau->isVisible());
    }

    void lesLignesTeinteesSuiventLeCurseur() {
        acquerirEtMontrer({0});
        TGrapheFiche& g = *fiche->graphe;
        const int x = g.ecran.curseurs.xetFX;
        const int y = g.ecran.g.mSup + 20;
        QVERIFY(tableau().teintee(1003));
        QTest::mousePress(fiche->composants.iEcranX, Qt::LeftButton, {}, QPoint(x, y));
        QTest::mouseMove(fiche->composants.iEcranX, QPoint(x / 2, y));
        QTest::mouseRelease(fiche->composants.iEcranX, Qt::LeftButton, {}, QPoint(x / 2, y));
        const double tFin = g.ecran.curseurs.tFin;
        QVERIFY(tFin < 0.015);
        const int64_t dernier = std::llround(tFin * 1.0001 / fiche->centrales.SP5->dtAX);
        QCOMPARE(tableau().plage().dernier, dernier);
        QVERIFY(tableau().teintee(static_cast<int>(dernier) + 3));
        QVERIFY(!tableau().teintee(static_cast<int>(dernier) + 4));
    }

    void supprimerLesSeries() {
        acquerirEtMontrer({0, 1});
        const QString nom1 = fiche->series.voiesMesurees[1].sEnteteVM;
        const std::vector<float> serie0 = fiche->series.tv2[0];
        // A click on the time column's row 2 asks nothing.
        cliquerCroix(1, TReponse::Oui);
        QVERIFY(boites->questions.isEmpty());
        // "Non": nothing changes.
        cliquerCroix(3, TReponse::Non);
        QCOMPARE(boites->questions,
                 QStringList{QString::fromUtf8("Supprimer effectivement la série de mesures ") +
                             nom1 + " ?"});
        QCOMPARE(fiche->series.nbVoiesMesurees, 2);
        QCOMPARE(tableau().nbColonnes(), 4);
        // "Oui": the second series goes, the table, the graph's store and the counter follow.
        cliquerCroix(3, TReponse::Oui);
        QCOMPARE(fiche->series.nbVoiesMesurees, 1);
        QCOMPARE(tableau().nbColonnes(), 3);
        QCOMPARE(fiche->series.tv2[0], serie0);
        QCOMPARE(fiche->composants.EditMessageX->text(), QString::fromUtf8(" 1 série acquise"));
        QVERIFY(fiche->composants.PTableau->isVisible());
        QVERIFY(fiche->composants.SBenregistrerRW3->isEnabled());
        capturer(*fiche, "tableau_apres_suppression");
        // The last one: the table is hidden, its button and "Ajouter les courbes" disabled.
        cliquerCroix(2, TReponse::Oui);
        QCOMPARE(boites->questions.size(), 3);
        QCOMPARE(fiche->series.nbVoiesMesurees, 0);
        QCOMPARE(fiche->centrales.SP5->nbPtsAX, 0);
        QVERIFY(!fiche->PTableauVisible);
        QVERIFY(!fiche->composants.PTableau->isVisible());
        QVERIFY(!fiche->composants.SBVoirTableau->isChecked());
        QVERIFY(!fiche->composants.SBVoirTableau->isEnabled());
        QVERIFY(!fiche->composants.CBAjouterCourbes->isEnabled());
        QVERIFY(!fiche->composants.CBAjouterCourbes->isChecked());
        QVERIFY(!fiche->composants.SBenregistrerRW3->isEnabled());
        QCOMPARE(fiche->composants.EditMessageX->text(), QString::fromUtf8("0 séries acquises"));
    }

    // A second, slower acquisition while the table is shown: halfway through, the table holds
    // the points read so far and nothing after them; at the end, the whole series.
    void leTableauSuitUneAcquisitionEnCours() {
        acquerirEtMontrer({0});
        fiche->centrales.SP5->setDurees(1.0, 1001, true);
        int colonnes = -1;
        QString debut, fin;
        QTimer::singleShot(600, fiche.get(), [&] {
            colonnes = tableau().nbColonnes();
            debut = tableau().texte(2, 3 + 10);
            fin = tableau().texte(2, 3 + 1000);
        });
        QTest::keyRelease(fiche.get(), Qt::Key_F10);
        QTRY_COMPARE(fiche->modeGeneral(), MODE_MESURES);
        QCOMPARE(colonnes, 3);
        QVERIFY(!debut.isEmpty());
        QVERIFY(fin.isEmpty());
        QCOMPARE(tableau().texte(1, 1), QStringLiteral("ms"));
        QVERIFY(!tableau().texte(2, 3 + 1000).isEmpty());
    }

    // "Nouveau" empties the store and hides the table.
    void nouveauCacheLeTableau() {
        acquerirEtMontrer({0});
        boites->reponses = {TReponse::Non};
        QTest::mouseClick(fiche->composants.SBNouveau, Qt::LeftButton);
        QVERIFY(!fiche->PTableauVisible);
        QVERIFY(!fiche->composants.PTableau->isVisible());
        QCOMPARE(tableau().nbColonnes(), 2);
    }
};

QTEST_MAIN(TestTableauFiche)
#include "qtest_tableau_fiche.moc"
