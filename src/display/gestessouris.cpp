#include "gestessouris.h"

#include "arrondis.h"
#include "seriesmesurees.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int toleranceSaisie = 3; // pixels around a marker that grab it
constexpr int ecartNiveaux = 5;    // pixels kept between the two red levels
constexpr int ecartMaximal = 10;   // pixels kept between two vertical markers at most

bool modeSouris(TModeGeneral modeGeneral) {
    return modeGeneral == MODE_MESURES || modeGeneral == MODE_PERMANENT_ARRETE ||
           modeGeneral == MODE_MESURES_ECRAN;
}

bool pasValide(double dt) {
    return dt > 0 && std::isfinite(dt);
}

// t snapped to the nearest sample.
double surEchantillon(double t, double dt) {
    return pasValide(dt) ? dt * arrondi64(t / dt) : t;
}

} // namespace

int ecartMinimal(const TGeometrieGraphe& g, double dt0X) {
    if (!pasValide(dt0X))
        return ecartMaximal;
    const int largeur = arrondi(g.zoomH * g.axeT.EchA * 10.1 * dt0X);
    // A zero gap would let both markers share one column: the selection would vanish.
    return std::max(1, std::min(ecartMaximal, largeur));
}

void relireNiveaux(const TGeometrieGraphe& g, TCurseurs& c, double ech) {
    if (!(ech > 0) || !std::isfinite(ech) || !(g.zoomV > 0))
        return;
    c.UMaxM = g.U1(c.yeUmaxM, ech);
    c.UMinM = g.U1(c.yeUMinM, ech);
}

double TGestesGraphe::temps(int x) const {
    const double echelle = g_.zoomH * g_.axeT.EchA;
    if (!(echelle > 0) || !std::isfinite(echelle))
        return 0.0;
    return g_.tr(x);
}

double TGestesGraphe::echelleCourante() const {
    const int a = std::clamp(g_.axeQuadrilleX, 0, 3);
    return g_.AxesX[static_cast<std::size_t>(a)].EchA;
}

void TGestesGraphe::placeNiveau(double& u, int ye) const {
    const double ech = echelleCourante();
    if (!(ech > 0) || !std::isfinite(ech) || !(g_.zoomV > 0))
        return;
    u = g_.U1(ye, ech);
    arrondiSignificatif(u, 3);
}

int TGestesGraphe::axeDeColonne(int x, int y) const {
    if (g_.nbAxes <= 1 || y < 0 || y > g_.hauT)
        return -1;
    const int L = g_.gauche();
    const int R = L + g_.larG;
    int a = -1;
    if (x >= 0 && x <= g_.mGau1 - 2)
        a = 0;
    else if (x >= g_.mGau1 && x <= L - 2)
        a = 1;
    // The columns right of the plot may touch: the later test wins.
    if (g_.nbAxes >= 3 && x >= R + 3 && x <= R + g_.mDroi1)
        a = 2;
    if (g_.nbAxes == 4 && x >= R + g_.mDroi1 && x <= R + g_.mDroi1 + g_.mDroi2)
        a = 3;
    return a;
}

bool TGestesGraphe::saisitVertical(int x, int y, int xe) const {
    return std::abs(static_cast<int64_t>(x) - xe) <= toleranceSaisie && x >= g_.gauche() - 2 &&
           y > g_.mSup - 11 && y < g_.mSup + g_.hauG;
}

bool TGestesGraphe::saisitHorizontal(int x, int y, int ye) const {
    const int L = g_.gauche();
    return std::abs(static_cast<int64_t>(y) - ye) <= toleranceSaisie && y > g_.mSup &&
           y < g_.mSup + g_.hauG && x > L + 1 && x < L + g_.larG;
}

TReponseGeste TGestesGraphe::pointage(int x, int y, const TContexteGestes& ctx) {
    TReponseGeste r;
    if (ctx.series)
        r.pointe = elementPointe(g_, *ctx.series, ctx.dtAX, ctx.nbPtsAX, x, y);
    pointeP = r.pointe;
    r.suite = r.pointe.trouve() ? TSuiteGeste::PointageCourbe : TSuiteGeste::PointageVide;
    return r;
}

TReponseGeste TGestesGraphe::iEcranXMouseDown(TBoutonSouris bouton, int x, int y,
                                              const TContexteGestes& ctx) {
    TReponseGeste r;
    if (!modeSouris(ctx.MODEGENERAL))
        return r;
    if (bouton == TBoutonSouris::Droit) {
        modeS = MODES_DROIT;
        return r;
    }
    if (bouton != TBoutonSouris::Gauche)
        return r;
    xOri0 = g_.xOri;
    yOri0 = g_.yOri;
    xS0 = x;
    yS0 = y;

    const int a = axeDeColonne(x, y);
    if (a >= 0 && a != g_.axeQuadrilleX) {
        r.suite = TSuiteGeste::AxeChoisi;
        r.pAxe = ~a;
        r.mesuresU = true;
        return r;
    }

    // Grabbing applies the rule of a move at once, so that a click near a marker leaves
    // it inside the plot, on a sample and within the duration.
    int saisi = MODES_AUCUN;
    if (ctx.MODEGENERAL == MODE_MESURES_ECRAN) {
        if (saisitVertical(x, y, c_.xeT0M))
            saisi = MODES_T0M;
        else if (saisitVertical(x, y, c_.xeTFM))
            saisi = MODES_TFINM;
        else if (saisitHorizontal(x, y, c_.yeUmaxM))
            saisi = MODES_UMAX;
        else if (saisitHorizontal(x, y, c_.yeUMinM))
            saisi = MODES_UMIN;
    } else if (saisitVertical(x, y, c_.xeT0X)) {
        saisi = MODES_T0;
    } else if (saisitVertical(x, y, c_.xetFX)) {
        saisi = MODES_TFIN;
    }
    if (saisi != MODES_AUCUN) {
        modeS = saisi;
        deplace(x, y, ctx, r);
        return r;
    }

    r = pointage(x, y, ctx);
    if (r.pointe.trouve()) {
        r.suite = TSuiteGeste::CourbeChoisie;
        r.pAxe = r.pointe.voieMesureeP;
        // The levels are read again in the scale of the new axis.
        r.mesuresU = true;
    } else if (g_.zoomIndexH > 0 || g_.ZoomIndexV > 0) {
        modeS = MODES_PAN;
    }
    return r;
}

void TGestesGraphe::deplace(int x, int y, const TContexteGestes& ctx, TReponseGeste& r) {
    const int L = g_.gauche();
    const int R = L + g_.larG;
    const int bas = g_.mSup + g_.hauG;
    const int ecart = ecartMinimal(g_, ctx.dt0X);
    const double duree = ctx.dureeTotale0X;
    const bool pas = pasValide(ctx.dt0X);
    r.suite = TSuiteGeste::RedessinRapide;
    switch (modeS) {
    case MODES_T0: {
        c_.xeT0X = std::max(L, std::min(x, c_.xetFX - ecart));
        double t = surEchantillon(temps(c_.xeT0X), ctx.dt0X);
        // Both markers on one sample would select nothing: one sample before the end.
        if (pas && t > c_.tFin - ctx.dt0X / 2)
            t = std::max(0.0, surEchantillon(c_.tFin - ctx.dt0X, ctx.dt0X));
        g_.t0 = static_cast<float>(t);
        break;
    }
    case MODES_TFIN: {
        c_.xetFX = std::min(R, std::max(x, c_.xeT0X + ecart));
        double t = std::min(temps(c_.xetFX), duree);
        arrondiSignificatif(t, 4);
        t = surEchantillon(t, ctx.dt0X);
        // The snap may overshoot a duration that is not a whole number of samples.
        if (t > duree)
            t = std::min(duree,
                         pas ? ctx.dt0X * std::floor(duree / ctx.dt0X * (1 + 1e-12)) : duree);
        if (pas && t < g_.t0 + ctx.dt0X / 2)
            t = std::min(duree, static_cast<double>(g_.t0) + ctx.dt0X);
        c_.tFin = t;
        break;
    }
    case MODES_T0M:
        c_.xeT0M = std::max(L, std::min(x, c_.xeTFM - ecart));
        c_.t0M = temps(c_.xeT0M);
        arrondiSignificatif(c_.t0M, 4);
        r.mesuresT = true;
        break;
    case MODES_TFINM:
        c_.xeTFM = std::min(R, std::max(x, c_.xeT0M + ecart));
        c_.tFinM = std::min(temps(c_.xeTFM), duree);
        arrondiSignificatif(c_.tFinM, 4);
        r.mesuresT = true;
        break;
    case MODES_UMAX:
        c_.yeUmaxM = std::min(bas, std::max(g_.mSup, std::min(y, c_.yeUMinM - ecartNiveaux)));
        placeNiveau(c_.UMaxM, c_.yeUmaxM);
        r.mesuresU = true;
        break;
    case MODES_UMIN:
        c_.yeUMinM = std::min(bas, std::max(g_.mSup, std::max(y, c_.yeUmaxM + ecartNiveaux)));
        placeNiveau(c_.UMinM, c_.yeUMinM);
        r.mesuresU = true;
        break;
    default:
        r.suite = TSuiteGeste::Rien;
        break;
    }
}

TReponseGeste TGestesGraphe::iEcranXMouseMove(int x, int y, bool gaucheTenu,
                                              const TContexteGestes& ctx) {
    TReponseGeste r;
    if (!modeSouris(ctx.MODEGENERAL))
        return r;
    switch (modeS) {
    case MODES_DROIT:
        return r;
    case MODES_PAN: {
        const int L = g_.gauche();
        // The window mirrors the positions into its scroll bars under bloqueSB.
        if (g_.zoomIndexH > 0 && g_.zoomH != 1) {
            g_.xOri = std::clamp(x + xOri0 - xS0, g_.xOriMin, g_.xOriMax);
            const int p = arrondi((g_.xOri - L) * 1000.0 / ((1 - g_.zoomH) * g_.larG));
            g_.SBHor.position = std::clamp(p, g_.SBHor.min, g_.SBHor.max);
        }
        if (g_.ZoomIndexV > 0 && g_.zoomV != 1) {
            g_.yOri = std::clamp(y + yOri0 - yS0, g_.yOriMin, g_.yOriMax);
            const int p =
                arrondi((g_.yOri - g_.mSup - g_.hauG / 2.0) * 2000.0 / ((1 - g_.zoomV) * g_.hauG));
            g_.SBVert.position = std::clamp(p, g_.SBVert.min, g_.SBVert.max);
        }
        c_.xeT0X = g_.xe(g_.t0);
        c_.xetFX = g_.xe(c_.tFin);
        r.suite = TSuiteGeste::RedessinPan;
        if (!gaucheTenu)
            modeS = MODES_AUCUN;
        return r;
    }
    case MODES_T0:
    case MODES_TFIN:
    case MODES_T0M:
    case MODES_TFINM:
    case MODES_UMAX:
    case MODES_UMIN:
        deplace(x, y, ctx, r);
        return r;
    default:
        return pointage(x, y, ctx);
    }
}

TReponseGeste TGestesGraphe::iEcranXMouseUp(const TContexteGestes& ctx) {
    TReponseGeste r;
    if (modeSouris(ctx.MODEGENERAL) && modeS >= MODES_T0 && modeS <= MODES_UMIN) {
        r.suite = TSuiteGeste::RedessinComplet;
        r.tableau = true;
    }
    modeS = MODES_AUCUN;
    return r;
}
