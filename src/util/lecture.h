// Reader of the values the user types in the duration and threshold fields:
// «10 ms», «2,5 V», «2.10-3 s», «5x10-6», «1E-3», «3 us».
#pragma once

#include <QString>

// Status: 0 read (or empty input); 2 exponent missing after "e" or ".10"; 3 exponent not
// an integer, or so large that its power of ten is not finite; 4 number not readable, or
// a result that is not finite; 5 nothing left once spaces, prefix and unit are removed;
// 6 letters after the number that are neither a prefix nor the unit named («1 h» for "s").
// Without a unit named, any letters after the number are taken as its unit.
// The result is written only with status 0, and not for an empty input.
int texteVersReel(const QString& texte, double& resultat, QStringView unite = {});
