// Small text and geometry helpers shared by the program's units.
#pragma once

#include <QString>

// A text without "|" comes back whole. Otherwise part 1 is what precedes the first "|" and
// any other part what follows it (sensor names hold two names joined by "|").
QString partieTexte(const QString& texte, int partie);

// True when left <= x <= right and top <= y <= bottom: the border is inside.
bool dansRectangle(int x, int y, int gauche, int haut, int droite, int bas);
