// The graph as the engine feeds it from the SP5 simulator: the time axis of the unit's
// durations, and the sweep of slow frames drawn batch after batch as the window does.
#include "dessingraphe.h"
#include "ecrangraphe.h"
#include "geometrie_essai.h"
#include "moteuracquisition.h"
#include "simulateur_sp5_essai.h"
#include "sp5.h"
#include "traceuracquisition.h"
#include "vue_essai.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>

#ifdef KIRVANE_SP5SIM

namespace {

const QString cheminSimulateur = QStringLiteral(KIRVANE_SP5SIM);

class EcranSP5 : public SimulateurSP5Essai {
protected:
    void SetUp() override {
        chargerSimulateur(cheminSimulateur);
        if (HasFatalFailure())
            return;
        unite = std::make_unique<TSP5>(cheminSimulateur, 1);
        ASSERT_TRUE(unite->CentraleInstallee);
    }
    void TearDown() override {
        if (unite)
            unite->liberer(true);
        unite.reset();
        SimulateurSP5Essai::TearDown();
    }
    std::unique_ptr<TSP5> unite;
};

// The time axis of a unit's duration on a plot larG pixels wide, graduation limits
// 80 / 150 pixels: multiplier, spacing and labels.
TEST_F(EcranSP5, AxeDuTemps) {
    struct Cas {
        double duree;
        int larG;
        const char* sp10Mult;
        int espacement;
        QStringList etiquettes;
    };
    const Cas cas[] = {
        // 10 ms counts in milliseconds (the full scale 0.01 is not a power of ten below).
        {0.01, 600, "-3", 120, {"0", "2", "4", "6", "8"}},
        {0.01, 1000, "-3", 100, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}},
        // 30000 px/s: 150 pixels is within the limits, not beyond them.
        {0.02, 600, "-3", 150, {"0", "5", "10", "15"}},
        {1e-4, 600, "-5", 120, {"0", "2", "4", "6", "8"}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.duree);
        SCOPED_TRACE(c.larG);
        unite->setDurees(c.duree, 101, false);
        ASSERT_NEAR(unite->dureeTotale0X, c.duree, 1e-12);
        const TSourceAxes src = sourceAxes(*unite);
        TGeometrieGraphe g(mesureFixe(15));
        g.larT = 800;
        g.hauT = 400;
        g.prepareAxesX(&src, nullptr);
        g.larT += c.larG - g.larG;
        g.prepareAxesX(&src, nullptr);
        g.prepareQuadAxes(&src, nullptr);
        ASSERT_EQ(g.larG, c.larG);
        ASSERT_EQ(g.eMinSousGradH, 80);
        ASSERT_EQ(g.eMaxSousGradH, 150);
        EXPECT_EQ(g.axeT.sp10Mult, QString::fromLatin1(c.sp10Mult));
        EXPECT_EQ(g.espaDivH, c.espacement);
        QStringList etiquettes;
        for (int n = g.nGradH1; n <= g.nGradH2; ++n)
            etiquettes << texteGraduationTemps(g, n, QLatin1Char(','));
        EXPECT_EQ(etiquettes, c.etiquettes);
    }
}

// A view that draws every batch on the graph image as the window does: the strip ahead of
// the sweep restored from the background, then the points.
class TVueBalayage : public TVueEssai {
public:
    TEcranGraphe ecran{mesureFixe(15)};
    TTraceurAcquisition traceur;
    TCentrale* unite = nullptr;
    TSeriesMesurees* series = nullptr;
    QImage trameComplete;           // the image once the first frame is drawn whole
    int raccordsDansUneColonne = 0; // batches starting in the column the previous one ended
    int64_t dernierPoint = -1;
    double dt = 0.0;

    void setModeDessinVM() override {
        ecran.setModeDessinVM(etatEcran(unite, MODE_ACQ_PERMANENTE), *series);
    }
    void dessinerLot(const TLotAcquisition& l) override {
        TVueEssai::dessinerLot(l);
        if (!trameComplete.isNull())
            return;
        if (!l.premierLot && ecran.g.xe(l.premier * l.dt0X) == ecran.g.xe(dernierPoint * l.dt0X))
            ++raccordsDansUneColonne;
        effacerAvantLot(ecran.iEcranX, ecran.bmEcran0, ecran.g, l);
        traceur.dessinerLot(ecran.iEcranX, ecran.g, l, ecran.modeDessinVM, clsV0);
        dernierPoint = l.dernier;
        dt = l.dt0X;
        if (l.ptFront == unite->nbPts0X - 1)
            trameComplete = ecran.iEcranX.copy();
    }
};

// Slow frames in the dense style: every pixel column the first sweep went over holds its
// stroke; restoring the strip ahead of a batch never wipes the column left of it.
TEST_F(EcranSP5, BalayageDenseSansColonneBlanche) {
    sim.SetAcceleration(10.0);
    unite->setDurees(0.5, 5001, false); // slow frames, about 5 points per pixel column
    TSeriesMesurees series;
    TVueBalayage vue;
    vue.unite = unite.get();
    vue.series = &series;
    vue.enregistrerLots = false;
    vue.ecran.redimensionnementEcran(1060, 725, 1.0, 1.0, etatEcran(unite.get(), MODE_VIERGE),
                                     series);
    TMoteurAcquisition moteur(unite.get(), series, vue);
    moteur.setModepermanent(true);
    moteur.MODEGENERAL = MODE_PERMANENT_ARRETE;
    vue.pendantMessages = [&](int) {
        if (!vue.trameComplete.isNull() && moteur.MODEGENERAL == 5)
            moteur.BAcquisitionClick();
    };
    moteur.BAcquisitionClick();
    ASSERT_EQ(moteur.modeBalayage, 0);
    ASSERT_EQ(vue.ecran.modeDessinVM, modeSegmentsVerticaux);
    ASSERT_FALSE(vue.trameComplete.isNull());
    ASSERT_GT(vue.raccordsDansUneColonne, 3) << "the boundaries this is about";

    const TGeometrieGraphe& g = vue.ecran.g;
    const QImage& fond = vue.ecran.bmEcran0;
    const QImage& image = vue.trameComplete;
    // The last column still accumulates its points: it is drawn with the next one.
    const int xFin = std::min(g.xe(vue.dernierPoint * vue.dt) - 1, g.gauche() + g.larG - 1);
    ASSERT_GT(xFin - g.xe(0.0), 900);
    int colonnesVides = 0;
    for (int x = g.xe(0.0); x < xFin; ++x) {
        bool trait = false;
        for (int y = g.mSup; y < g.mSup + g.hauG && !trait; ++y)
            trait = image.pixel(x, y) != fond.pixel(x, y);
        if (!trait && ++colonnesVides <= 3)
            ADD_FAILURE() << "column " << x << " holds no stroke";
    }
    EXPECT_EQ(colonnesVides, 0);
}

} // namespace

#endif
