#pragma once
// Drawing of the committed series into the frame of the time graph: choice of the curve
// style from the number of points per pixel column, broken lines, point crosses, and the
// dense style (one vertical stroke per pixel column) that bounds the work whatever the
// number of points.
#include "geometrie.h"

#include <array>
#include <cstdint>
#include <optional>

class QPainter;
class TSeriesMesurees;

// Curve styles (modeDessinVM).
inline constexpr int modeSegmentsVerticaux = 0;
inline constexpr int modeLignes = 1;
inline constexpr int modeLignesPoints = 2;

// From this many points per pixel column on, curves are drawn as vertical strokes.
inline constexpr double seuilSegmentsVerticaux = 2.9999;
// Crosses appear when a point is more than 7.9 pixels from the next at zoom 1. The
// constant is kept as written, a hair below 10/79: 100 points over 790 pixels get lines.
inline constexpr double seuilCroix = 0.12658227848;

struct TChoixModeDessin {
    int modeDessinVM = modeLignes;
    float nbPPP = 0.0f; // points per pixel column at zoom 1
};

// The style rule: nbIntervalles points intervals (last − first visible point) spread over
// largeurPixels pixel columns at horizontal zoom zoomH.
TChoixModeDessin choisirModeDessin(int64_t nbIntervalles, int largeurPixels, double zoomH);

// setModeDessinVM: the style for the visible part of series sampled every dt0X seconds,
// nbPtsAffX points shown over dureeTotale0X seconds. Nothing (the style is kept) when the
// sampling is unknown or no point is visible.
std::optional<TChoixModeDessin> setModeDessinVM(const TGeometrieGraphe& g, double dt0X,
                                                double dureeTotale0X, int64_t nbPtsAffX);

// What the drawing of the series at rest reads from the acquisition settings.
struct TParamsTrace {
    double dtAX = 0.0;          // sampling interval of the acquired data
    double dureeTotaleAX = 0.0; // duration of the acquired data
    int64_t nbPtsAffX = 0;      // points shown
};

// Colour options of a curve.
inline constexpr int optionClVoie = 0;     // the channel colour
inline constexpr int optionClAncienne = 1; // lightened by 90 % (earlier series)

// Draws committed series k of the store. Point i reads tv2[k][pt0 + i] and lies at
// x = xe(i × dtAX); readers never go beyond the series' own length.
class TDessinCourbes {
public:
    TDessinCourbes(QPainter& canvas, const TGeometrieGraphe& g, const TSeriesMesurees& series,
                   double dtAX);

    void dessineUneCourbeLignes(int k, int ep, int optionCl, int64_t kMax, int64_t kMin,
                                int64_t pt0);
    void dessineUneCourbePoints(int k, int optionCl, int64_t kMax, int64_t kMin, int64_t pt0);
    void dessineUneCourbeSegsVerts(int k, int ep, int optionCl, int64_t kMax, int64_t kMin,
                                   int64_t pt0);
    void dessineUneCourbe1SegVert(int k, int optionCl);

    // True when channel k is carried by the current axis (bold lines, larger crosses).
    bool surAxeCourant(int k) const;

    // The series of the running acquisition (from premier on) have no colour of their own
    // yet: they take the colour of their input.
    void setCouleursCourantes(int premier, const std::array<TColor, 8>& couleurs);

private:
    TColor couleur(int k, int optionCl) const;
    // Last readable point index (relative to pt0) at most kMax; −1 when none.
    int64_t dernierPoint(int k, int64_t kMax, int64_t pt0) const;
    double valeur(int k, int64_t pt0, int64_t i) const;
    int yVoie(int k, double u) const;
    // Lightening of a vertical stroke: the taller, the paler, up to 80 %.
    int eclaircissement(int hauteur) const;

    QPainter& canvas_;
    const TGeometrieGraphe& g_;
    const TSeriesMesurees& series_;
    double dtAX_;
    int premierCourant_ = -1;
    std::array<TColor, 8> couleursCourantes_{};
};

// Curve pass of the series at rest, clipped to the plotting area: the visible points of
// every committed series in the given style, channels of the current axis bold and drawn
// last in the dense style. Returns nbPPP of the drawing; nothing when no point is visible
// or when the visible time fits in one pixel column (one stroke per series).
std::optional<float> dessineCourbesRepos(QPainter& canvas, const TGeometrieGraphe& g,
                                         const TSeriesMesurees& series, int modeDessinVM,
                                         const TParamsTrace& params);

// The earlier series, lightened by 90 %, as they are drawn while an acquisition runs.
void dessineSeriesAnterieures(QPainter& canvas, const TGeometrieGraphe& g,
                              const TSeriesMesurees& series, int modeDessinVM,
                              const TParamsTrace& params);

// What the redraw of the running acquisition's series reads.
struct TTraceCourant {
    double dt0X = 0.0;
    int64_t nbPts0X = 0;
    int64_t nbPtsAffX = 0;
    int nbVoiesSignaux = 0;
    int64_t ptFront = -1; // last point acquired in the current frame
    int64_t pt0Trame = 0; // offset of the current frame in the columns
    int trameX = 0;       // half of a double-frame column being filled
    bool modeDoubleTrameX = false;
    std::array<TColor, 8> couleurs{}; // colour of each current signal
};

// The series of the running acquisition (after the nbVoiesMesurees committed ones), in
// full colour: in double-frame mode the part of the previous frame not yet overwritten,
// then the current frame up to ptFront.
void dessineSerieCourante(QPainter& canvas, const TGeometrieGraphe& g,
                          const TSeriesMesurees& series, int modeDessinVM,
                          const TTraceCourant& trace);

// The plotting area the curves are confined to.
QRect rectCourbes(const TGeometrieGraphe& g);

// Trigger mark: a red dash-dot line across the plotting area at the trigger instant
// tPretrig; none in manual trigger mode (modeDecl 0).
void dessinetPretrig(QPainter& canvas, const TGeometrieGraphe& g, int modeDecl, double tPretrig);

// Legend image of one input, largeur × hauteur pixels: a small grid and a zigzag in the
// colour of the input.
void dessineLegende(QPainter& canvas, int largeur, int hauteur, TColor couleur);
