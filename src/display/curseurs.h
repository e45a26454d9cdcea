#pragma once
// The markers of the graph: two green time markers that select what the exports take (the
// start marker is also the origin of the time graduations, kept in the geometry as t0), and
// in the measurement mode two red instants and two red voltage levels.
#include "geometrie.h"

#include <QString>

class QPainter;

struct TCurseurs {
    double tFin = 0.0;             // time of the green end marker
    int xeT0X = 0, xetFX = 0;      // pixel columns of the green markers
    int xst0 = 0, xstF = 0;        // left x of their labels
    double t0M = 0.0, tFinM = 0.0; // red instants 1 and 2
    int xeT0M = 0, xeTFM = 0;
    double UMaxM = 0.0, UMinM = 0.0; // red levels, in the scale of the current axis
    int yeUmaxM = 0, yeUMinM = 0;
};

// Label of the green end marker: "t[Fin]= " and the duration between the markers, with 4
// significant digits from a horizontal zoom of 10 on, 3 below (the brackets make "Fin" a
// subscript when drawn).
QString texteCurseurFin(double duree, double zoomH);

// Left x of the labels of the green markers at columns xeT0X and xetFX, of widths wA and
// wB, kept apart from each other and within the plot from L to R.
struct TPlaceEtiquettes {
    int xst0 = 0;
    int xstF = 0;
};
TPlaceEtiquettes placeEtiquettes(int L, int R, int xeT0X, int xetFX, int wA, int wB);

// Green markers with their labels "t = 0" and "t[Fin]= …s" (labels kept apart); updates
// xst0 and xstF.
void dessineCurseursT(QPainter& canvas, const TGeometrieGraphe& g, TCurseurs& c);
// Red instants.
void dessineCurseursMesureT(QPainter& canvas, const TGeometrieGraphe& g, const TCurseurs& c);
// Red levels lying within the plotting area.
void dessineCurseursMesureU(QPainter& canvas, const TGeometrieGraphe& g, const TCurseurs& c);
