#include "geometrie.h"

#include "arrondis.h"
#include "centrale.h"
#include "seriesmesurees.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

TMesureTexte mesureTextePolice() {
    return [](const QString& texte, const QFont& police) {
        const QFontMetrics fm(police);
        return QSize(fm.horizontalAdvance(texte), fm.height());
    };
}

TSourceAxes sourceAxes(const TCentrale& c) {
    TSourceAxes s;
    s.nbCalEAKirvane = c.nbCalEAKirvane;
    s.nbEAU = c.nbEAU;
    for (const TVoie& v : c.VoiesX) {
        s.idxCalibreUt.push_back(v.idxCalibreUt);
        s.active.push_back(v.active);
    }
    s.VoiesActivesSignaux = c.VoiesActivesSignaux;
    s.nbVoiesActivesX = c.nbVoiesActivesX;
    s.calibresDispo = c.calibresDispo;
    s.twCals = c.twCals;
    s.sCalibres = c.sCalibres;
    s.dureeTotale0X = c.dureeTotale0X;
    return s;
}

namespace {

// T[k] in double: 0.1 or 0.2 as single-precision values are not the decimal steps.
double pasExact(int k) {
    static constexpr std::array<double, 3> mantisses{1, 2, 5};
    const int reste = ((k % 3) + 3) % 3;
    const int exposant = (k - reste) / 3;
    return mantisses[reste] * std::pow(10.0, exposant);
}

} // namespace

float pasGraduation(int k) {
    return static_cast<float>(pasExact(k));
}

TPasGraduation cherchePas(double s, int eMin, int eMax, int kBas, int kHaut) {
    // A scale that is not a positive number (no plotting area) gets one pixel per unit.
    if (!(s > 0) || !std::isfinite(s))
        s = 1;
    // A spacing within a millionth of a limit is on it: the full scale comes from a
    // single-precision value (600 / 0.02f is 30000.0006) and must not tip the comparison.
    constexpr double tolerance = 1e-6;
    auto espacementDe = [s](int k) { return s / pasExact(k); };
    int k = 0;
    if (eMin > espacementDe(k) * (1 + tolerance)) {
        while (k > kBas && eMin > espacementDe(k) * (1 + tolerance))
            --k;
    } else if (eMax * (1 + tolerance) < espacementDe(k)) {
        while (k < kHaut && eMax * (1 + tolerance) < espacementDe(k))
            ++k;
    }
    const double espacement = espacementDe(k);
    // Never below one pixel: a graduation of zero pixels would divide by zero later.
    const int a = std::max(1, tronque(espacement + std::min(espacement * tolerance, 0.01)));
    return {k, a, s * a / espacement};
}

TIndicesGraduation indicesGraduation(float vMin, float vMax, float sep) {
    if (!(sep > 0) || !std::isfinite(sep) || !std::isfinite(vMin) || !std::isfinite(vMax))
        return {};
    TIndicesGraduation r;
    r.premier = tronque(vMin / sep * 1.00005) + (vMin > 0 ? 1 : 0);
    r.dernier = tronque(vMax / sep * 1.00005) - (vMax <= 0 ? 1 : 0);
    return r;
}

TGeometrieGraphe::TGeometrieGraphe(TMesureTexte mesure) : mesure_(std::move(mesure)) {
    AxesX[0].calA = 0;
}

int TGeometrieGraphe::xe(double t) const {
    return tronque(static_cast<double>(xOri) + arrondiPair(t * zoomH * axeT.EchA));
}

int TGeometrieGraphe::ye(int voie, double u) const {
    const double ech = voie >= 0 && voie < 8 ? echsVoies[voie] : 0.0;
    return ye(u, ech);
}

int TGeometrieGraphe::ye(double u, double ech) const {
    return tronque(static_cast<double>(yOri) - arrondiPair(zoomV * ech * u));
}

double TGeometrieGraphe::tr(int x) const {
    return (x - xOri) / (zoomH * axeT.EchA);
}

double TGeometrieGraphe::U1(int y, double ech) const {
    return (yOri - y) / (zoomV * ech);
}

void TGeometrieGraphe::redimensionner(int largeur, int hauteur) {
    larT = std::max(0, largeur);
    hauT = std::max(0, hauteur);
    // A plotting area of at least one pixel keeps every scale finite.
    hauG = std::max(1, hauT - mSup - mInf);
    larG = std::max(1, larT - mGau1 - mgau2 - mDroi1 - mDroi2 - 3);
}
