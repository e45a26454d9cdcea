// Zoom and scrolling of the graph: the origins follow the scroll positions.
#include "arrondis.h"
#include "geometrie.h"
#include "seriesmesurees.h"

#include <algorithm>

namespace {

// Restores bloqueSB on leaving: a zoom sets the scroll positions itself.
class BlocageSB {
public:
    explicit BlocageSB(bool& b) : b_(b), avant_(b) { b_ = true; }
    ~BlocageSB() { b_ = avant_; }
    BlocageSB(const BlocageSB&) = delete;
    BlocageSB& operator=(const BlocageSB&) = delete;

private:
    bool& b_;
    bool avant_;
};

} // namespace

void TGeometrieGraphe::placeOrigines() {
    yOri = mSup + arrondi(hauG / 2000.0 * (1 - zoomV) * SBVert.position + hauG / 2.0);
    xOri = gauche() + tronque(larG * (1 - zoomH) * SBHor.position / 1000.0);
}

bool TGeometrieGraphe::setZoomHX(int index, const TMarqueursZoom& marqueurs) {
    const int L = gauche();
    auto visible = [&](double t) {
        const int x = xe(t);
        return L <= x && x <= L + larG;
    };
    const bool premierVisible = visible(marqueurs.ta);
    const bool secondVisible = visible(marqueurs.tb);
    const int avant = zoomIndexH;
    redessinImmediat = false;
    BlocageSB blocage(bloqueSB);

    zoomIndexH = std::clamp(index, 0, 6);
    zoomH = tableZoom[static_cast<std::size_t>(zoomIndexH)];
    SBHor.largeChange = arrondi(SBHor.max / (2 * zoomH));
    if (zoomIndexH == 0) {
        xOri = L;
        xOriMin = xOriMax = L;
        SBHor.position = 0;
        SBHor.active = false;
        return zoomIndexH != avant;
    }
    const double K = zoomH * axeT.EchA;
    const double ta = marqueurs.ta;
    const double tb = marqueurs.tb;
    if (larG > K * (tb - ta))
        xOri = L + larG / 2 - arrondi(K * (ta + tb) / 2);
    else if (premierVisible)
        xOri = L + 3 - arrondi(K * ta);
    else if (secondVisible)
        xOri = L + larG - 3 - arrondi(K * std::min(tb, static_cast<double>(axeT.maxAxe)));
    xOriMax = L;
    xOriMin = L + tronque(larG * (1 - zoomH));
    xOri = std::clamp(xOri, xOriMin, xOriMax);

    const int p = tronque((xOri - L) * 1000.0 / (larG * (1 - zoomH)));
    SBHor.position = std::clamp(p, 0, 1000);
    redessinImmediat = SBHor.position != p;
    SBHor.active = true;
    return zoomIndexH != avant;
}

bool TGeometrieGraphe::setZoomVX(int index) {
    // The value at the vertical centre stays there; no scale yet means no value to keep.
    const double c = ZoomIndexV > 0 && AxesX[0].EchA > 0 ? U1(hauG / 2 + mSup, AxesX[0].EchA) : 0.0;
    const int avant = ZoomIndexV;
    redessinImmediat = false;
    BlocageSB blocage(bloqueSB);

    ZoomIndexV = std::clamp(index, 0, 6);
    zoomV = tableZoom[static_cast<std::size_t>(ZoomIndexV)];
    SBVert.largeChange = arrondi(SBVert.max / (2 * zoomV));
    if (ZoomIndexV == 0) {
        yOri = hauG / 2 + mSup;
        SBVert.position = 0;
        SBVert.active = false;
        return ZoomIndexV != avant;
    }
    yOri = hauG / 2 + mSup + arrondi(zoomV * c * AxesX[0].EchA);
    yOriMin = mSup + tronque(hauG / 2.0 * (1 - zoomV) + hauG / 2.0);
    yOriMax = mSup + tronque(-hauG / 2.0 * (1 - zoomV) + hauG / 2.0);
    yOri = std::clamp(yOri, yOriMin, yOriMax);

    const int p = tronque((yOri - mSup - hauG / 2.0) * 2000.0 / (hauG * (1 - zoomV)));
    SBVert.position = std::clamp(p, -1000, 1000);
    redessinImmediat = SBVert.position != p;
    SBVert.active = true;
    return ZoomIndexV != avant;
}

bool TGeometrieGraphe::SBHorScroll(int position) {
    if (bloqueSB)
        return false;
    SBHor.position = std::clamp(position, SBHor.min, SBHor.max);
    xOri = gauche() + tronque(larG * (1 - zoomH) * SBHor.position / 1000.0);
    return true;
}

bool TGeometrieGraphe::SBVertScroll(int position) {
    if (bloqueSB)
        return false;
    SBVert.position = std::clamp(position, SBVert.min, SBVert.max);
    yOri = mSup + arrondi(hauG / 2000.0 * (1 - zoomV) * SBVert.position + hauG / 2.0);
    return true;
}

std::optional<TGeometrieGraphe::TBoutonsZoom>
TGeometrieGraphe::activerZooms(TModeGeneral modeGeneral) const {
    if (acquisitionEnCours(modeGeneral))
        return std::nullopt;
    return TBoutonsZoom{zoomIndexH<6, zoomIndexH> 0, ZoomIndexV<6, ZoomIndexV> 0};
}

double TGeometrieGraphe::MAJAxeQuadrille(int p, const std::vector<TVoieMesuree>& voies) {
    if (p < 0) {
        // Callers pass the complement of the axis number; an axis beyond the four is none.
        const int a = std::min(-(p + 1), 3);
        axeQuadrilleX = a;
        return AxesX[static_cast<std::size_t>(a)].EchA;
    }
    if (p >= static_cast<int>(voies.size())) {
        axeQuadrilleX = 0;
        return AxesX[0].EchA;
    }
    const TVoieMesuree& v = voies[static_cast<std::size_t>(p)];
    axeQuadrilleX = std::max(v.axeVM, 0);
    return v.echVM;
}
