// A full redraw of the graph by window state: while an acquisition runs (single or
// permanent), the earlier series are drawn into the background bmEcran0 that the sweep
// restores ahead of each batch; at rest the background is left alone.
#include "ecrangraphe.h"
#include "geometrie_essai.h"
#include "seriessynthetiques.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

TEST(EcranEtats, LeFondDesTramesSuitLesSeriesPendantUneAcquisition) {
    const QRgb temoin = qRgb(255, 0, 255);
    for (int m = MODE_VIERGE; m <= MODE_TRANSFERT_CALC; ++m) {
        const auto mode = static_cast<TModeGeneral>(m);
        SCOPED_TRACE(m);
        TGrapheSynthetique s = grapheSynthetique(501, 0.05, mode);
        TEcranGraphe ecran(mesureFixe(15));
        ecran.redimensionnementEcran(800, 500, 1.0, 1.0, s.etat, s.series);
        ASSERT_FALSE(ecran.bmEcran0.isNull());
        ecran.bmEcran0.fill(temoin);
        // The redraw with curves the engine asks for between two permanent frames.
        ecran.dessineEcranN(s.etat, s.series, true);
        int repeints = 0;
        for (int y = 0; y < ecran.bmEcran0.height(); ++y)
            for (int x = 0; x < ecran.bmEcran0.width(); ++x)
                repeints += ecran.bmEcran0.pixel(x, y) != temoin;
        // Written out rather than asked of acquisitionEnCours, which this checks.
        if (mode == MODE_ACQ_SIMPLE || mode == MODE_ACQ_PERMANENTE)
            EXPECT_GT(repeints, ecran.g.larG * ecran.g.hauG / 2) << "background not refreshed";
        else
            EXPECT_EQ(repeints, 0) << "background touched at rest";
    }
}

} // namespace
