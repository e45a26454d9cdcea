// Axis assignment, margins, time full scale and graduations of the graph.
#include "arrondis.h"
#include "geometrie.h"
#include "seriesmesurees.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double dureeSansCentrale = 0.002;

// Range r of an input, or -1 when it has no slot in the table of axes per range.
int calibreValide(int r) {
    return r >= 0 && r < 4 ? r : -1;
}

// The decimal value the single-precision full scale stands for: 0.01f is 0.0099999998,
// whose decimal exponent would be −3 instead of −2.
double valeurDecimale(float maxAxe) {
    double v = maxAxe;
    arrondiSignificatif(v, 7);
    return v;
}

} // namespace

void TGeometrieGraphe::prepareAxesX(const TSourceAxes* source, TSeriesMesurees* series) {
    // 1. Axis assignment: axes in the order in which their ranges first appear.
    nbAxes = 0;
    axesDesCalibres.fill(-1);
    for (TAxe& a : AxesX)
        a.calA = -1;
    auto axePour = [this](int r) {
        r = calibreValide(r);
        if (r < 0)
            return -1;
        if (axesDesCalibres[r] >= 0)
            return axesDesCalibres[r];
        if (nbAxes >= 4)
            return -1;
        const int a = nbAxes++;
        axesDesCalibres[r] = a;
        AxesX[a].calA = r;
        return a;
    };
    if (source) {
        const int nbAnciennes = series ? series->nbVoiesMesurees : 0;
        if (series) {
            const std::size_t voulu = static_cast<std::size_t>(nbAnciennes + source->nbEAU);
            const std::size_t avant = series->voiesMesurees.size();
            if (voulu > avant) {
                series->voiesMesurees.resize(voulu);
                for (std::size_t i = avant; i < voulu; ++i)
                    series->voiesMesurees[i].axeVM = series->voiesMesurees[i].calVM = -1;
            }
        }
        const int nbActives = std::min<int>(source->nbVoiesActivesX,
                                            static_cast<int>(source->VoiesActivesSignaux.size()));
        for (int j = 0; j < nbActives; ++j) {
            const int i = source->VoiesActivesSignaux[j];
            if (i < 0 || i >= static_cast<int>(source->idxCalibreUt.size()))
                continue;
            const bool active = i < static_cast<int>(source->active.size()) && source->active[i];
            const int r = source->idxCalibreUt[i];
            const int a = active ? axePour(r) : -1;
            const std::size_t d = static_cast<std::size_t>(nbAnciennes + j);
            if (series && d < series->voiesMesurees.size()) {
                series->voiesMesurees[d].axeVM = a;
                series->voiesMesurees[d].calVM = a >= 0 ? r : -1;
            }
        }
        for (int k = 0; series && k < nbAnciennes; ++k) {
            TVoieMesuree& vm = series->voiesMesurees[static_cast<std::size_t>(k)];
            vm.axeVM = axePour(vm.calVM);
        }
        if (nbAxes == 0) {
            nbAxes = 1;
            const int r = source->idxCalibreUt.empty() ? 0 : source->idxCalibreUt[0];
            AxesX[0].calA = std::max(0, calibreValide(r));
        }
    } else {
        nbAxes = 1;
        AxesX[0].calA = 0;
    }

    // 2. Margins: label columns as wide as the widest label of the axis's range.
    QFont gras = fontEcran;
    gras.setBold(true);
    const int h = mesure_(QStringLiteral("Tp"), gras).height();
    auto largeurModele = [&](int a) {
        const int r = AxesX[a].calA;
        QString modele = QStringLiteral("+10.0");
        if (source && r >= 0 && r < static_cast<int>(source->twCals.size()))
            modele = source->twCals[static_cast<std::size_t>(r)];
        return mesure_(modele, gras).width();
    };
    mSup = 2 * h;
    mInf = arrondi(2.3 * h);
    mGau1 = largeurModele(0) + 4;
    mgau2 = nbAxes >= 2 ? largeurModele(1) + 2 : 1;
    mDroi1 = nbAxes >= 3 ? largeurModele(2) + 2 : 1;
    mDroi2 = nbAxes == 4 ? largeurModele(3) + 2 : 1;
    redimensionner(larT, hauT);
    const int L = gauche();
    const int R = L + larG;
    xgr1.fill(0);
    xgr2.fill(0);
    if (nbAxes == 1) {
        xgr1[0] = mGau1 - 3;
        xgr2[0] = mGau1;
    } else {
        xgr1[0] = mGau1 - 4;
        xgr2[0] = L;
        xgr1[1] = L - 4;
        xgr2[1] = L;
        if (nbAxes >= 3) {
            xgr1[2] = R;
            xgr2[2] = R + 4;
        }
        // The fourth axis's ticks run along its own label column, right of the third's.
        if (nbAxes == 4) {
            xgr1[3] = R + mDroi1;
            xgr2[3] = R + mDroi1 + 4;
        }
    }
    if (nbAxes == 1 || axeQuadrilleX >= nbAxes || axeQuadrilleX < 0)
        axeQuadrilleX = 0;

    // 3. Time full scale and label multiplier. A duration of zero or below (or not a
    // number) would give an infinite scale: the default duration stands in for it.
    double duree = source ? source->dureeTotale0X : dureeSansCentrale;
    if (!(duree > 0) || !std::isfinite(duree))
        duree = dureeSansCentrale;
    axeT.maxAxe = arrondiLisible(10, duree);
    if (!(axeT.maxAxe > 0) || !std::isfinite(axeT.maxAxe))
        axeT.maxAxe = static_cast<float>(dureeSansCentrale);
    const int e = decomposeMantisse(valeurDecimale(axeT.maxAxe)).exposant;
    if (axeT.maxAxe <= 0.05f || axeT.maxAxe >= 1501) {
        axeT.mult = static_cast<float>(std::pow(10.0, e - 1));
        axeT.sp10Mult = QString::number(e - 1);
    } else {
        axeT.mult = 1;
        axeT.sp10Mult.clear();
    }
    if (source)
        setZoomVX(ZoomIndexV);
}

void TGeometrieGraphe::prepareQuadAxes(const TSourceAxes* source, TSeriesMesurees* series) {
    if (AxesX[0].calA < 0)
        return;
    // 4. Spacing limits, scaled with the window.
    eMinSousGradH = tronque(80 * coDIMH);
    eMaxSousGradH = tronque(150 * coDIMH);
    const double ratio = larT > 0 ? hauT * coDimV / larT : 1.0;
    eMinSousGradV = std::max(tronque(80 * ratio), tronque(25 * coDimV));
    eMaxSousGradV = std::min(tronque(150 * ratio), tronque(50 * coDimV));

    // The graduations are counted from the origins they are drawn with: on the first
    // drawing, or after the margins moved, the origins of the previous drawing are stale.
    placeOrigines();

    // 6. Voltage graduations.
    if (source) {
        for (int a = 0; a < nbAxes; ++a) {
            TAxe& axe = AxesX[a];
            if (axe.calA < 0)
                continue;
            double calibre = source->calibresDispo[static_cast<std::size_t>(axe.calA)];
            // A range without a full scale is shown as ±10 V rather than divide by zero.
            if (!(calibre > 0) || !std::isfinite(calibre))
                calibre = 10;
            const double s = hauG / (2 * calibre);
            const TPasGraduation p = cherchePas(s, eMinSousGradV, eMaxSousGradV, -6, 6);
            axe.EchA = p.ech;
            espaDivV1[a] = static_cast<float>(p.espacement);
            yMin1 = static_cast<float>(U1(mSup + hauG, axe.EchA));
            yMax1 = static_cast<float>(U1(mSup - 1, axe.EchA));
            sepR[a] = static_cast<float>(espaDivV1[a] / (axe.EchA * zoomV));
            const TIndicesGraduation n = indicesGraduation(yMin1, yMax1, sepR[a]);
            nGradV11[a] = n.premier;
            nGradV12[a] = n.dernier;
        }
        const int nbVoies = std::min<int>(source->nbEAU, 8);
        for (int i = 0; i < nbVoies; ++i) {
            if (i >= static_cast<int>(source->active.size()) || !source->active[i])
                continue;
            const int r = calibreValide(source->idxCalibreUt[i]);
            if (r >= 0 && axesDesCalibres[r] >= 0)
                echsVoies[i] = static_cast<float>(AxesX[axesDesCalibres[r]].EchA);
        }
        if (series) {
            for (TVoieMesuree& vm : series->voiesMesurees) {
                const int r = calibreValide(vm.calVM);
                if (r >= 0 && axesDesCalibres[r] >= 0)
                    vm.echVM = static_cast<float>(AxesX[axesDesCalibres[r]].EchA);
            }
        }
    } else {
        const TPasGraduation p = cherchePas(hauG / 10.0 * 2, eMinSousGradV, eMaxSousGradV, -6, 6);
        AxesX[0].EchA = p.ech;
        espaDivV1[0] = static_cast<float>(p.espacement);
        yMin1 = static_cast<float>((yOri - mSup - hauG) / p.ech);
        yMax1 = static_cast<float>((yOri - mSup + 1) / p.ech);
        sepR[0] = static_cast<float>(espaDivV1[0] / (p.ech * zoomV));
        const TIndicesGraduation n = indicesGraduation(yMin1, yMax1, sepR[0]);
        nGradV11[0] = n.premier;
        nGradV12[0] = n.dernier;
        echsVoies[0] = static_cast<float>(p.ech);
    }

    // 7. Time graduations, counted from the start marker.
    const TPasGraduation p =
        cherchePas(larG / valeurDecimale(axeT.maxAxe), eMinSousGradH, eMaxSousGradH, -14, 21);
    axeT.EchA = p.ech;
    espaDivH = static_cast<float>(p.espacement);
    const int L = gauche();
    tMin1 = static_cast<float>(tr(L) - t0);
    tMax1 = static_cast<float>(tr(L + larG - mDroi1 - mDroi2 - 1) - t0);
    sepRt = static_cast<float>(espaDivH / (axeT.EchA * zoomH));
    const TIndicesGraduation n = indicesGraduation(tMin1, tMax1, sepRt);
    nGradH1 = n.premier;
    nGradH2 = n.dernier;

    // 8. Origins, from the scroll positions.
    placeOrigines();
}
