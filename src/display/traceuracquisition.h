#pragma once
// Drawing of the points as they arrive: each batch the engine stores is drawn at once on
// the graph image, continuing the curve of each signal where the previous batch left it.
// Styles: broken line (with small crosses in style 2), or, when three or more points fall
// on a pixel column, one vertical stroke per column between its extreme values, paler the
// taller it is. Nothing is allocated per batch.
#include "courbes.h"
#include "geometrie.h"
#include "vueacquisition.h"

#include <array>

class QImage;
class QRect;

// Slow frames shown two at a time: the strip restored from the background before a batch
// is drawn, from the first point of the batch (one pixel before t = 0 for the first
// batch, so that the previous frame's first column goes too) to two pixels ahead of its
// last point, right edge excluded. A later batch starts at the column of its first
// point, never before: the column left of it already holds the new curve.
QRect bandeEffacee(const TGeometrieGraphe& g, const TLotAcquisition& lot, int hauteur);

// What the background gives back before a batch is drawn on image: everything (slow
// frames erased at once, first batch) or the strip ahead of the sweep.
void effacerAvantLot(QImage& image, const QImage& fond, const TGeometrieGraphe& g,
                     const TLotAcquisition& lot);

class TTraceurAcquisition {
public:
    // Draws one batch on image, clipped to the plotting area, in the colours of the inputs.
    void dessinerLot(QImage& image, const TGeometrieGraphe& g, const TLotAcquisition& lot,
                     int modeDessinVM, const std::array<TColor, 8>& couleurs);

private:
    struct TMemoire {
        bool trace = false; // a point was drawn: the next line starts from it
        int x = 0, y = 0;
        int colonne = 0; // dense style: pixel column being accumulated
        float lo = 0, hi = 0;
    };
    std::array<TMemoire, 8> memoire_{};
};
