#pragma once
// The mouse on the graph: dragging the green and red markers, choosing the current axis by
// its label column or by a curve, panning the zoomed graph and pointing on hover. The
// gestures change the geometry and the markers and say what the window must do next; the
// window changes the current axis (MAJAxeQuadrille), redraws, repaints and fills the boxes.
#include "curseurs.h"
#include "etatsacquisition.h"
#include "pointage.h"

#include <cstdint>

class TSeriesMesurees;

// Drag states (modeS).
enum TModeS : int {
    MODES_AUCUN = 0, // hover pointing
    MODES_DROIT = 1, // right button held
    MODES_PAN = 2,   // panning the zoomed graph
    MODES_T0 = 3,    // green start marker
    MODES_TFIN = 4,  // green end marker
    MODES_T0M = 5,   // red instant 1
    MODES_TFINM = 6, // red instant 2
    MODES_UMAX = 7,  // upper red level
    MODES_UMIN = 8,  // lower red level
};

enum class TBoutonSouris { Gauche, Droit, Autre };

// What the gestures read from the window and the unit.
struct TContexteGestes {
    TModeGeneral MODEGENERAL = MODE_VIERGE;
    double dt0X = 0.0;          // sampling interval of the settings
    double dureeTotale0X = 0.0; // total duration of the settings
    double dtAX = 0.0;          // sampling interval of the acquired data
    int64_t nbPtsAX = 0;        // points acquired
    const TSeriesMesurees* series = nullptr;
};

enum class TSuiteGeste {
    Rien,
    RedessinRapide,  // dessineEcranRCu and repaint (a marker moved)
    RedessinPan,     // dessineEcranRDE and repaint; SBHor, SBVert positions mirrored under bloqueSB
    RedessinComplet, // dessineEcranN with curves and repaint (end of a marker drag)
    AxeChoisi,       // MAJAxeQuadrille(pAxe), relireNiveaux, afficheMesuresU (label column)
    CourbeChoisie,   // MAJAxeQuadrille(pAxe), relireNiveaux, redraw with curves,
                     // affichePointPointe (curve clicked)
    PointageVide,    // nothing under the mouse: EditSerieP and EditPointP emptied
    PointageCourbe,  // affichePointPointe(pointe)
};

struct TReponseGeste {
    TSuiteGeste suite = TSuiteGeste::Rien;
    int pAxe = 0;             // argument of MAJAxeQuadrille: ~axis, or the channel
    TResultatPointage pointe; // last pointing result (voieMesureeP, pointP)
    bool mesuresT = false;    // afficheMesuresT to run
    bool mesuresU = false;    // afficheMesuresU to run
    bool tableau = false;     // MAJTableauFaite = false, then MAJTableau
};

// Gap in pixels kept between the two vertical markers of a pair: 10 pixels, or the width
// of 10.1 sampling intervals when that is smaller; at least one pixel.
int ecartMinimal(const TGeometrieGraphe& g, double dt0X);

// The red levels keep their pixel rows when the current axis changes: their values are
// read again in the scale ech of the new axis.
void relireNiveaux(const TGeometrieGraphe& g, TCurseurs& c, double ech);

class TGestesGraphe {
public:
    TGestesGraphe(TGeometrieGraphe& g, TCurseurs& c) : g_(g), c_(c) {}

    int modeS = MODES_AUCUN;
    int xS0 = 0, yS0 = 0, xOri0 = 0, yOri0 = 0;
    // Last pointing result (voieMesureeP, pointP).
    TResultatPointage pointeP;

    TReponseGeste iEcranXMouseDown(TBoutonSouris bouton, int x, int y, const TContexteGestes& ctx);
    TReponseGeste iEcranXMouseMove(int x, int y, bool gaucheTenu, const TContexteGestes& ctx);
    TReponseGeste iEcranXMouseUp(const TContexteGestes& ctx);

private:
    // Axis whose label column holds (x, y); -1 for none.
    int axeDeColonne(int x, int y) const;
    bool saisitVertical(int x, int y, int xe) const;
    bool saisitHorizontal(int x, int y, int ye) const;
    TReponseGeste pointage(int x, int y, const TContexteGestes& ctx);
    double temps(int x) const;
    double echelleCourante() const;
    void deplace(int x, int y, const TContexteGestes& ctx, TReponseGeste& r);
    void placeNiveau(double& u, int ye) const;

    TGeometrieGraphe& g_;
    TCurseurs& c_;
};
