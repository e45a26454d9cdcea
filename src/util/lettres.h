// Column letters of spreadsheets, series letters and ASCII upper-casing.
#pragma once

#include <QString>

// 0 → "A", 25 → "Z", 26 → "AA", 701 → "ZZ", 702 → "AAA"; a negative number gives "A".
QString lettresColonne(int colonne);
// 0 → "a", 26 → "aa"...; a negative number gives an empty text.
QString lettresSerie(int numero);
// Upper-cases a..z only; every other character, accented letters included, stays.
QString majusculesAscii(const QString& texte);
