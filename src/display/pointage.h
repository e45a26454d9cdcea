#pragma once
// Pointing: the curve point nearest to the mouse (capture radius 5 pixels), or the segment
// between two points that the mouse lies on, and the texts of the pointing and measurement
// boxes.
#include "geometrie.h"

#include <QString>
#include <cstdint>

class TSeriesMesurees;

// Squared capture radius, in pixels².
inline constexpr float rayonCapture2 = 25.0f;

struct TResultatPointage {
    int voieMesureeP = -1; // measured channel under the mouse, -1 for none
    int pointP = -1;       // point under the mouse, -1 when none or on a segment
    bool trouve() const { return voieMesureeP >= 0; }
    bool operator==(const TResultatPointage&) const = default;
};

// The committed series point nearest to (x, y), sampled every dtAX seconds, nbPtsAX points
// (never more than a series holds). Within a channel the earlier point wins equal
// distances; between channels the later one does.
TResultatPointage elementPointe(const TGeometrieGraphe& g, const TSeriesMesurees& series,
                                double dtAX, int64_t nbPtsAX, int x, int y);

// Texts of EditSerieP and EditPointP. The time is counted from the start of the series.
struct TTextesPointage {
    QString serie;
    QString point; // empty on a segment
};
TTextesPointage affichePointPointe(const TSeriesMesurees& series, double dtAX,
                                   const TResultatPointage& p);

// Texts of EditT0M, EditTFM and EditDTM: the instants counted from the green start marker.
struct TTextesMesuresT {
    QString EditT0M, EditTFM, EditDTM;
};
TTextesMesuresT afficheMesuresT(double t0, double t0M, double tFinM);

// Texts of EditUmaxM, EditUMinM and EditDUM.
struct TTextesMesuresU {
    QString EditUmaxM, EditUMinM, EditDUM;
};
TTextesMesuresU afficheMesuresU(double UMaxM, double UMinM);
