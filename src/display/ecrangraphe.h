#pragma once
// The time graph as a whole: its geometry, its markers, the image shown on screen
// (iEcranX) and the three off-screen images that keep redraws cheap:
// - bmEX: the graph without time axis and markers, so that a marker drag only copies it
//   back and draws the time axis and the markers again;
// - bmEcran0: the graph without the current series (empty, or the earlier series drawn
//   pale during an acquisition), over which the engine draws arriving points;
// - bmEcran: a work image of the engine for fast frames.
#include "courbes.h"
#include "curseurs.h"
#include "etatsacquisition.h"
#include "geometrie.h"

#include <QImage>
#include <array>
#include <cstdint>
#include <optional>

class TCentrale;
class TSeriesMesurees;

// Progress of a running acquisition, for the redraw of the current series.
struct TProgresAcquisition {
    int64_t ptFront = -1; // last point acquired in the current frame
    int64_t pt0Trame = 0; // offset of the current frame in the columns
    int trameX = 0;       // half of a double-frame column being filled
    bool modeDoubleTrameX = false;
    std::array<TColor, 8> couleurs{}; // colour of each current signal
};

// What a redraw reads from the unit and the engine.
struct TEtatEcran {
    std::optional<TSourceAxes> source; // none without a unit
    TModeGeneral modeGeneral = MODE_VIERGE;
    double dt0X = 0.0, dtAX = 0.0, dureeTotale0X = 0.0, dureeTotaleAX = 0.0;
    int64_t nbPts0X = 0, nbPtsAX = 0, nbPtsAffX = 0;
    int nbVoiesSignaux = 0, nbVoiesActivesX = 0;
    int modeDecl = 0;
    double tPretrig = 0.0;
    TProgresAcquisition progres;
};
// The state of a unit (its trigger position must be up to date: getNbPtsPretrig).
TEtatEcran etatEcran(const TCentrale* centrale, TModeGeneral modeGeneral);

class TEcranGraphe {
public:
    explicit TEcranGraphe(TMesureTexte mesure = mesureTextePolice());

    TGeometrieGraphe g;
    TCurseurs curseurs;
    QImage iEcranX, bmEX, bmEcran, bmEcran0;
    int modeDessinVM = modeLignes;
    float nbPPP = 0.0f;

    // New size of the graph image (resizing of its panel): images resized, zooms
    // re-applied, axes and style recomputed, the voltage markers put back at 1/18 of the
    // plot height from its edges, bmEcran0 emptied, full redraw.
    void redimensionnementEcran(int larT, int hauT, double coDIMH, double coDimV,
                                const TEtatEcran& e, TSeriesMesurees& series);

    // Full redraw (axes recomputed), with or without the curves.
    void dessineEcranN(const TEtatEcran& e, TSeriesMesurees& series, bool avecCourbes);
    // Redraw keeping the axis assignment and margins (panning).
    void dessineEcranRDE(const TEtatEcran& e, TSeriesMesurees& series);
    // Marker move: bmEX copied back, then the time axis and the markers.
    void dessineEcranRCu(const TEtatEcran& e, TSeriesMesurees& series);

    // All curves in the style of the moment (at rest, or during an acquisition).
    void dessineCourbesVM(QPainter& canvas, const TEtatEcran& e, const TSeriesMesurees& series);
    // Chooses modeDessinVM and nbPPP for the visible part of the series.
    void setModeDessinVM(const TEtatEcran& e, const TSeriesMesurees& series);

    // bmEcran0 receives the empty graph: background, vertical axes and time axis.
    void preparerEcranVide(const TEtatEcran& e, TSeriesMesurees& series);

    // Horizontal zoom around the markers of the mode (red ones in the measurement mode);
    // true when the index changed.
    bool setZoomHX(int index, TModeGeneral modeGeneral);

    // Pixel columns and rows of the markers from their values.
    void majPixelsCurseurs(const TEtatEcran& e);
    // Scale (pixels per volt at zoom 1) of the current axis.
    double echAxeCourant() const;

private:
    void preparer(const TEtatEcran& e, TSeriesMesurees& series, bool avecAxesX);
    void dessineCurseurs(QPainter& canvas, const TEtatEcran& e);
    void composer(const TEtatEcran& e, TSeriesMesurees& series, bool avecCourbes);
};
