// Small text and geometry helpers shared by the program's units.
#pragma once

#include <QString>

// A text without "|" comes back whole. Otherwise partie = 1 gives what precedes the first "|" and
// any other partie what follows it (sensor names hold two names joined by "|").
QString partieTexte(const QString& texte, int partie);

// True when left <= x <= right and top <= y <= bottom: the border is inside.
bool dansRectangle(int x, int y, int gauche, int haut, int droite, int bas);

// The program's texts end their lines with "\n\r" (or "\r\n"): each becomes one "\n", as
// does a lone "\r", so that a label or a message box shows one line break, not two.
QString sautsDeLigne(const QString& texte);
