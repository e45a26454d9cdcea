// The graph in the main window, with a synthetic store of eight series: what a teacher sees
// and does with the mouse and the tool bar. With KIRVANE_CAPTURES set to a folder, the
// window is also saved there at each step (run under a real display to look at it).
#include "couleursqt.h"
#include "fiche_essai.h"
#include "graphefiche.h"
#include "seriessynthetiques.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTimer>

namespace {

constexpr double duree = 0.02;
constexpr int64_t nbPts = 1001;

void capturer(QWidget& fiche, const char* nom) {
    const QByteArray dossier = qgetenv("KIRVANE_CAPTURES");
    if (dossier.isEmpty())
        return;
    QCoreApplication::processEvents();
    fiche.grab().save(QString::fromLocal8Bit(dossier) + "/" + nom + ".png");
}

QColor pixel(const TGrapheFiche& g, QPoint p) {
    return g.ecran.iEcranX.pixelColor(p);
}

} // namespace

class TestGrapheFiche : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;

    TGrapheFiche& graphe() { return *fiche->graphe; }

    // The window at its design size, holding the synthetic series as if just acquired.
    void ouvrir() {
        fiche = std::make_unique<TFicheKirvaneMixte>(demarrage(nullptr));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        fiche->resize(1060, 725);
        // The layout follows a resize 100 ms later, the panels hidden meanwhile.
        QTRY_VERIFY(fiche->composants.PanelVoies->isVisible() &&
                    fiche->composants.PanelEcranTab->isVisible());
        TGrapheSynthetique s = grapheSynthetique(nbPts, duree);
        fiche->series = std::move(s.series);
        TCentrale& u = *fiche->centrales.SP5;
        u.dt0X = u.dtAX = s.etat.dtAX;
        u.nbPts0X = u.nbPtsAX = u.nbPtsAffX = nbPts;
        u.dureeTotale0X = u.dureeTotaleAX = duree;
        fiche->moteur->MODEGENERAL = MODE_MESURES;
        // As at the end of an acquisition: tool buttons and zooms enabled.
        activeBoutonsOutils(fiche->etat, fiche->faits());
        ::activerZooms(fiche->etat, fiche->faits(), fiche->modeGeneral());
        fiche->appliquerEtat();
        graphe().ecran.curseurs.tFin = graphe().ecran.curseurs.tFinM = duree;
        fiche->redimensionnement();
        graphe().redessiner(true);
    }

    QPoint pointDeCourbe(int k, int64_t i) {
        const TGeometrieGraphe& g = graphe().ecran.g;
        const TVoieMesuree& v = fiche->series.voiesMesurees[k];
        return {g.xe(i * fiche->centrales.SP5->dtAX),
                g.ye(fiche->series.tv2[k][static_cast<size_t>(i)], v.echVM)};
    }

private slots:
    void cleanup() { fermer(fiche); }

    void lesCourbesSontDessineesDansLeCadre() {
        ouvrir();
        capturer(*fiche, "graphe_taille_de_conception");
        if (!qgetenv("KIRVANE_CAPTURES").isEmpty())
            graphe().ecran.iEcranX.save(qgetenv("KIRVANE_CAPTURES") + "/image_graphe.png");
        const TGeometrieGraphe& g = graphe().ecran.g;
        QCOMPARE(g.nbAxes, 4); // the four ranges of the series
        QCOMPARE(graphe().ecran.iEcranX.size(), fiche->composants.iEcranX->size());
        // Background around the plot, white inside it, EA0's colour on its curve.
        QCOMPARE(pixel(graphe(), QPoint(1, g.hauT - 2)), QColor(240, 240, 240));
        const QPoint p = pointDeCourbe(0, 300);
        QCOMPARE(pixel(graphe(), p), versQColor(clsV0[0]));
        QCOMPARE(pixel(graphe(), QPoint(g.gauche() + 3, g.mSup + 2)), QColor(Qt::white));
        // The end marker stands on the last point: its triangle above the plot is green.
        const int xFin = graphe().ecran.curseurs.xetFX;
        QCOMPARE(xFin, g.xe(duree));
        int verts = 0;
        for (int y = g.mSup; y < g.mSup + g.hauG; ++y)
            verts += pixel(graphe(), QPoint(xFin, y)) == QColor(0, 128, 0);
        QVERIFY(verts > g.hauG / 3); // a dashed line
    }

    void leZoomEtLeDefilement() {
        ouvrir();
        QVERIFY(!fiche->composants.SBHor->isEnabled());
        QVERIFY(fiche->composants.SBZoomPlusH->isEnabled());
        QVERIFY(!fiche->composants.SBZoomMoinsH->isEnabled());
        QTest::mouseClick(fiche->composants.SBZoomPlusH, Qt::LeftButton);
        QTest::mouseClick(fiche->composants.SBZoomPlusH, Qt::LeftButton);
        const TGeometrieGraphe& g = graphe().ecran.g;
        QCOMPARE(g.zoomIndexH, 2);
        QVERIFY(fiche->composants.SBHor->isEnabled());
        QVERIFY(fiche->composants.SBZoomMoinsH->isEnabled());
        capturer(*fiche, "graphe_zoom_5");
        // Scrolling to the end brings the last point to the right edge.
        fiche->composants.SBHor->setValue(1000);
        QCOMPARE(g.xOri, g.xOriMin);
        QVERIFY(g.xe(0.0) < g.gauche());
        QVERIFY(g.xe(duree) <= g.gauche() + g.larG);
    }

    void leModeMesuresEtLePointage() {
        ouvrir();
        QTest::mouseClick(fiche->composants.SBMesures, Qt::LeftButton);
        QCOMPARE(fiche->modeGeneral(), MODE_MESURES_ECRAN);
        QVERIFY(fiche->composants.PanelMesuresSurEcran->isVisible());
        QVERIFY(!fiche->composants.BAcquisition->isEnabled());
        QCOMPARE(fiche->composants.CBAxes->count(), 4);
        // The levels at ±90 % of the current axis's range (10 V), the instants at the ends.
        QCOMPARE(fiche->composants.EditUmaxM->text(), QString("  9.00 V"));
        QCOMPARE(fiche->composants.EditUMinM->text(), QString("  -9.00 V"));
        QCOMPARE(fiche->composants.EditDUM->text(), QString("  18.0 V"));
        QCOMPARE(fiche->composants.EditDTM->text(), QString("  20.0 ms"));
        capturer(*fiche, "graphe_mesures");

        // Hovering a point of EA1's curve names its series and shows its coordinates.
        const QPoint p = pointDeCourbe(1, 100);
        QTest::mouseMove(fiche->composants.iEcranX, p);
        QCOMPARE(fiche->composants.EditSerieP->text(), QString("u1_M"));
        QVERIFY(fiche->composants.EditPointP->text().startsWith("t = "));

        QTest::mouseClick(fiche->composants.BFermerMesuresSurEcran, Qt::LeftButton);
        QCOMPARE(fiche->modeGeneral(), MODE_MESURES);
        QVERIFY(!fiche->composants.PanelMesuresSurEcran->isVisible());
        QVERIFY(!fiche->composants.SBMesures->isChecked());
    }

    void glisserLeCurseurDeFin() {
        ouvrir();
        const TGeometrieGraphe& g = graphe().ecran.g;
        const int x = graphe().ecran.curseurs.xetFX;
        const int y = g.mSup + 20;
        QTest::mousePress(fiche->composants.iEcranX, Qt::LeftButton, {}, QPoint(x, y));
        QTest::mouseMove(fiche->composants.iEcranX, QPoint(x - 200, y));
        QTest::mouseRelease(fiche->composants.iEcranX, Qt::LeftButton, {}, QPoint(x - 200, y));
        const double tFin = graphe().ecran.curseurs.tFin;
        QVERIFY(tFin < duree);
        // Snapped to a sample.
        const double dt = fiche->centrales.SP5->dt0X;
        QCOMPARE(std::round(tFin / dt) * dt, tFin);
        capturer(*fiche, "graphe_curseur_deplace");
    }

    // F10 on the unit as the window starts (EA0, 20 ms, 1001 points on the simulator): the
    // acquisition runs, the store holds EA0's series and the graph shows it in its colour.
    void f10LanceUneAcquisition() {
        fiche = std::make_unique<TFicheKirvaneMixte>(demarrage(nullptr));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        QTRY_VERIFY(fiche->composants.PanelEcranTab->isVisible());
        QCOMPARE(fiche->modeGeneral(), MODE_VIERGE);
        // Before any acquisition the end marker already spans the settings' duration.
        QCOMPARE(graphe().ecran.curseurs.tFin, fiche->centrales.SP5->dureeTotale0X);
        QTest::keyRelease(fiche.get(), Qt::Key_F10);
        QTRY_COMPARE(fiche->modeGeneral(), MODE_MESURES);
        QCOMPARE(fiche->series.nbVoiesMesurees, 1);
        const auto& u = fiche->series.tv2[0];
        QCOMPARE(static_cast<int64_t>(u.size()), fiche->centrales.SP5->nbPtsAX);
        QVERIFY(*std::max_element(u.begin(), u.end()) > 1.0f);
        QVERIFY(fiche->composants.SBenregistrerRW3->isEnabled());
        QCOMPARE(fiche->composants.BAcquisition->text(),
                 QString::fromUtf8("Démarrer l'acquisition"));
        const QImage& image = graphe().ecran.iEcranX;
        const QColor couleur = versQColor(clsV0[0]);
        int pixels = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                pixels += image.pixelColor(x, y) == couleur;
        QVERIFY(pixels > 200);
        capturer(*fiche, "acquisition_f10");

        // A new experiment, the measurements not saved ("Non" to saving them): the store is
        // emptied, the graph too.
        boites->reponses = {TReponse::Non};
        QTest::mouseClick(fiche->composants.SBNouveau, Qt::LeftButton);
        QCOMPARE(fiche->modeGeneral(), MODE_VIERGE);
        QCOMPARE(fiche->series.nbVoiesMesurees, 0);
        QVERIFY(!fiche->composants.SBenregistrerRW3->isEnabled());
        int restants = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                restants += image.pixelColor(x, y) == couleur;
        QCOMPARE(restants, 0);
    }

    // Permanent mode in the window: frames follow each other until the button stops them;
    // the last complete frame is committed and drawn.
private:
    // Permanent mode in the window, frames of `duree` seconds, stopped by the button after
    // `attenteMs`: the curve stays on screen while the frames run, and the last complete
    // frame is committed.
    void permanentJusquAuClic(double duree, int attenteMs, const char* capture) {
        fiche = std::make_unique<TFicheKirvaneMixte>(demarrage(nullptr));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        QTRY_VERIFY(fiche->composants.PanelEcranTab->isVisible());
        fiche->centrales.SP5->setDurees(duree, 1001, true);
        fiche->composants.CBModePermanent->click();
        QVERIFY(fiche->composants.CBModePermanent->isChecked());
        int modeVu = -1;
        int pixelsVus = 0; // EA0's colour on screen while the frames run
        QTimer::singleShot(attenteMs, fiche.get(), [&] {
            modeVu = fiche->modeGeneral();
            const QImage& image = graphe().ecran.iEcranX;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    pixelsVus += image.pixelColor(x, y) == versQColor(clsV0[0]);
            capturer(*fiche, capture);
            fiche->composants.BAcquisition->click(); // "Arrêter"
        });
        QTest::keyRelease(fiche.get(), Qt::Key_F10);
        QCOMPARE(modeVu, MODE_ACQ_PERMANENTE);
        QVERIFY(pixelsVus > 100);
        QTRY_COMPARE(fiche->modeGeneral(), MODE_PERMANENT_ARRETE);
        QCOMPARE(fiche->series.nbVoiesMesurees, 1);
        const auto& u = fiche->series.tv2[0];
        QCOMPARE(static_cast<int64_t>(u.size()), fiche->centrales.SP5->nbPtsAX);
        QVERIFY(*std::max_element(u.begin(), u.end()) > 1.0f);
        QCOMPARE(fiche->composants.BAcquisition->text(),
                 QString::fromUtf8("Démarrer l'acquisition"));
    }

private slots:
    // Fast frames, drawn out of sight and shown whole.
    void modePermanentTramesRapides() { permanentJusquAuClic(0.02, 400, "permanent_rapide"); }
    // Slow frames, swept over the previous one.
    void modePermanentTramesLentes() { permanentJusquAuClic(0.5, 1300, "permanent_lent"); }

    // Closing the window while a 2 s acquisition runs: the acquisition stops at once, the
    // measurements are committed, then the usual questions close the window.
    void fermerPendantUneAcquisition() {
        fiche = std::make_unique<TFicheKirvaneMixte>(demarrage(nullptr));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        fiche->centrales.SP5->setDurees(2.0, 1001, true);
        boites->reponses = {TReponse::Oui, TReponse::Non}; // quit: yes; save: no
        QTimer::singleShot(300, fiche.get(), [this] { fiche->close(); });
        QElapsedTimer t;
        t.start();
        QTest::keyRelease(fiche.get(), Qt::Key_F10);
        // The loop has returned well before the 2 s, with what was read committed.
        QVERIFY(t.elapsed() < 1500);
        QCOMPARE(fiche->modeGeneral(), MODE_MESURES);
        QCOMPARE(fiche->series.nbVoiesMesurees, 1);
        // Then the close request comes back with its questions and closes the window.
        QTRY_VERIFY_WITH_TIMEOUT(!fiche->isVisible(), 3000);
        QCOMPARE(boites->questions.size(), 2);
        fiche.reset();
    }
};

QTEST_MAIN(TestGrapheFiche)
#include "qtest_graphe_fiche.moc"
