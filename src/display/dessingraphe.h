#pragma once
// Painting of the empty graph: background, vertical axes and time axis, from a prepared
// geometry (prepareAxesX and prepareQuadAxes done).
#include "geometrie.h"

#include <QString>

class QPainter;

inline constexpr TColor couleurQuadrillage = 0x808080;

// General format with 4 significant digits and at least 2 exponent digits: fixed notation
// while the integer part has at most 4 digits and the value is not below 1E-05.
QString texteG4(double valeur, QChar separateur);

void dessineFondEcran(QPainter& canvas, const TGeometrieGraphe& g);
void dessineQuadAxesV(QPainter& canvas, const TGeometrieGraphe& g);
void dessineQuadAxeH(QPainter& canvas, const TGeometrieGraphe& g);
