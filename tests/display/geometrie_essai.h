#pragma once
// A geometry measured by a fixed-pitch font: every character is 7 pixels wide and a line
// is `hauteurLigne` pixels high, so margins are known in advance.
#include "geometrie.h"

inline constexpr int largeurCaractere = 7;

inline TMesureTexte mesureFixe(int hauteurLigne) {
    return [hauteurLigne](const QString& texte, const QFont&) {
        return QSize(largeurCaractere * static_cast<int>(texte.size()), hauteurLigne);
    };
}

// A graph without a unit whose plotting area is larG × hauG with lines 15 pixels high:
// margins mSup 30, mInf 34, mGau1 39 ("+10.0" and 4), three one-pixel columns and 3.
inline TGeometrieGraphe grapheSansCentrale(int larG, int hauG) {
    TGeometrieGraphe g(mesureFixe(15));
    g.larT = larG + 39 + 3 + 3;
    g.hauT = hauG + 30 + 34;
    g.prepareAxesX(nullptr, nullptr);
    g.prepareQuadAxes(nullptr, nullptr);
    return g;
}
