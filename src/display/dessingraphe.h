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
