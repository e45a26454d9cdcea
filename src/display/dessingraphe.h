#pragma once
// Painting of the empty graph: background, vertical axes and time axis, from a prepared
// geometry (prepareAxesX and prepareQuadAxes done).
#include "geometrie.h"

#include <QString>

class QPainter;

inline constexpr TColor couleurQuadrillage = 0x808080;

void dessineFondEcran(QPainter& canvas, const TGeometrieGraphe& g);
void dessineQuadAxesV(QPainter& canvas, const TGeometrieGraphe& g);
void dessineQuadAxeH(QPainter& canvas, const TGeometrieGraphe& g);

// Label of time graduation n (nGradH1..nGradH2): its time from the start marker, in
// units of the axis multiplier, with 4 significant digits.
QString texteGraduationTemps(const TGeometrieGraphe& g, int n, QChar separateur);
