#pragma once
// Frame of the time graph: axis assignment, margins, graduations, zoom, scrolling and the
// conversions between physical values and pixels. Pure: texts are measured through an
// injected function, so the whole geometry runs without a window.
#include "couleurs.h"
#include "etatsacquisition.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class TCentrale;
class TSeriesMesurees;
struct TVoieMesuree;

// Pixel width and height of a text written in a font.
using TMesureTexte = std::function<QSize(const QString& texte, const QFont& police)>;

// The measurer of the real fonts (QFontMetrics).
TMesureTexte mesureTextePolice();

// One axis of the graph.
struct TAxe {
    TColor cl = 0;
    double EchA = 0.0; // pixels per unit at zoom 1
    int calA = -1;     // range shown by the axis; -1 when unused
    QRect rectE;
    float mult = 1.0f;   // divisor of the time labels
    float maxAxe = 0.0f; // full scale of the time axis at zoom 1, seconds
    QString sp10Mult;    // decimal exponent of mult; empty when mult = 1
};

// What the axes are built from, read from the unit (see sourceAxes).
struct TSourceAxes {
    int nbCalEAKirvane = 0;
    int nbEAU = 0;
    std::vector<int> idxCalibreUt; // per input: range in use
    std::vector<bool> active;      // per input
    std::vector<int> VoiesActivesSignaux;
    int nbVoiesActivesX = 0;
    std::array<float, 8> calibresDispo{};
    std::vector<QString> twCals;    // per range: widest graduation label
    std::vector<QString> sCalibres; // per range: its name
    double dureeTotale0X = 0.0;
};
TSourceAxes sourceAxes(const TCentrale& centrale);

// A scroll bar as the geometry sees it.
struct TBarreDefilement {
    int min = 0;
    int max = 1000;
    int position = 0;
    int largeChange = 500;
    int smallChange = 10;
    bool active = false;
};

// Times of the two markers considered by the horizontal zoom.
struct TMarqueursZoom {
    double ta = 0.0;
    double tb = 0.0;
};

inline constexpr std::array<double, 7> tableZoom{1, 2, 5, 10, 20, 50, 100};
inline constexpr TColor couleurFondEcran = 0x02F0F0F0;

// Step table: T[k] = {1, 2, 5}[k mod 3] × 10^⌊k/3⌋ for k = −14..21.
float pasGraduation(int k);

// The 1-2-5 step search: one graduation is 1 / T[k] units, spaced between eMin and eMax
// pixels when the bounds allow; the spacing is a whole number of pixels, at least one.
struct TPasGraduation {
    int k = 0;
    int espacement = 1; // pixels
    double ech = 0.0;   // scale shrunk so that the spacing is whole
};
TPasGraduation cherchePas(double s, int eMin, int eMax, int kBas, int kHaut);

// First and last graduation index between the values vMin and vMax, sep units apart.
// No graduation (premier > dernier) when the step or the values cannot be drawn.
struct TIndicesGraduation {
    int premier = 0;
    int dernier = -1;
};
TIndicesGraduation indicesGraduation(float vMin, float vMax, float sep);

class TGeometrieGraphe {
public:
    explicit TGeometrieGraphe(TMesureTexte mesure);

    // Image and margins.
    int larT = 0, hauT = 0;
    int mSup = 0, mInf = 0, mGau1 = 0, mgau2 = 1, mDroi1 = 1, mDroi2 = 1;
    int larG = 1, hauG = 1;
    int xOri = 0, yOri = 0;
    int xOriMin = 0, xOriMax = 0, yOriMin = 0, yOriMax = 0;
    std::array<int, 4> xgr1{}, xgr2{};

    // Axes.
    std::array<TAxe, 4> AxesX;
    int nbAxes = 1;
    TAxe axeT;
    std::array<int, 4> axesDesCalibres{-1, -1, -1, -1};
    int axeQuadrilleX = 0;
    std::array<float, 8> echsVoies{};

    // Graduations.
    std::array<float, 8> espaDivV1{};
    std::array<float, 4> sepR{};
    std::array<int, 4> nGradV11{}, nGradV12{};
    float yMin1 = 0, yMax1 = 0;
    float espaDivH = 0, sepRt = 0;
    int nGradH1 = 0, nGradH2 = -1;
    float tMin1 = 0, tMax1 = 0;
    int eMinSousGradH = 80, eMaxSousGradH = 150, eMinSousGradV = 25, eMaxSousGradV = 50;

    // Zoom and scrolling.
    int zoomIndexH = 0, ZoomIndexV = 0;
    double zoomH = 1, zoomV = 1;
    bool bloqueSB = false;
    TBarreDefilement SBHor;
    TBarreDefilement SBVert{-1000, 1000, 0, 500, 10, false};
    // Set when a zoom had to clamp a scroll position: the graph is to be redrawn at once.
    bool redessinImmediat = false;

    double coDIMH = 1.0, coDimV = 1.0;
    QFont fontEcran;
    float t0 = 0.0f;

    // Conversions.
    int xe(double t) const;
    int ye(int voie, double u) const;
    int ye(double u, double ech) const;
    double tr(int x) const;
    double U1(int y, double ech) const;

    // Axis assignment, margins and time full scale. Without a unit (nullptr): one axis on
    // range 0 and a 0.002 s time axis. The store's descriptions receive their axis.
    void prepareAxesX(const TSourceAxes* source, TSeriesMesurees* series);
    // Graduations and origins, after prepareAxesX.
    void prepareQuadAxes(const TSourceAxes* source, TSeriesMesurees* series);

    // Zooms; true when the index changed.
    bool setZoomHX(int index, const TMarqueursZoom& marqueurs);
    bool setZoomVX(int index);

    // Enabled state of the four zoom buttons; nothing to change while an acquisition runs.
    struct TBoutonsZoom {
        bool plusH, moinsH, plusV, moinsV;
    };
    std::optional<TBoutonsZoom> activerZooms(TModeGeneral modeGeneral) const;

    // Change of current axis: p < 0 designates axis −p − 1, p >= 0 the measured channel p
    // of voies. Returns the scale (pixels per volt at zoom 1) the markers are read in.
    double MAJAxeQuadrille(int p, const std::vector<TVoieMesuree>& voies);

    // End of a scroll of either bar; true when the graph is to be redrawn.
    bool SBHorScroll(int position);
    bool SBVertScroll(int position);

    // New image size (resizing of the graph panel).
    void redimensionner(int largeur, int hauteur);

    // Left edge of the plotting area.
    int gauche() const { return mGau1 + mgau2; }

private:
    TMesureTexte mesure_;
    void placeOrigines();
};
