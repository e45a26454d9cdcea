// Labels with subscripts and superscripts: "[" opens and "]" closes a subscript, "(" opens
// and ")" closes a superscript ("u[EA0]", "S.m(-1)"); a doubled bracket stands for the
// bracket itself ("((" gives "("); "//1" and "//2" stand for the control characters 7 and 8.
#pragma once

#include "couleurs.h" // TColor: red in the low byte

#include <QSize>
#include <QString>
#include <cstdint>

class QFont;
class QPainter;
class QPaintDevice;

// A background colour of this value or less leaves the background as it is.
constexpr std::int64_t FOND_TRANSPARENT = -1000;

// Control characters that replace the marks of a label.
constexpr char16_t DEBUT_EXPOSANT = 9;
constexpr char16_t FIN_EXPOSANT = 10;
constexpr char16_t DEBUT_INDICE = 11;
constexpr char16_t FIN_INDICE = 12;

// Replaces the marks by the control characters, in one pass from left to right.
QString preparerTexteIndices(const QString& texte);

// Draws a label in a box of (text width + 2 m) x (h + 2), h the height of "Tp" and m = h / 4.
// ancre: 0 and 3, (x, y) is the box's top-left corner; 1, its bottom-right corner; 2, its
// top-right corner; 4, its bottom-left corner; 5, the box is centred between x and maxX.
// maxX > 0 keeps the box left of maxX and above maxY; maxY > 0 keeps it right of 0 and
// below 0. effet: 0 none, 1 halo, 2 relief. The painter's brush, font and pen come back as
// they were; antialiasing is the painter's own.
void dessinerTexteIndices(QPainter& canvas, int x, int y, int maxX, int maxY, int ancre, int effet,
                          TColor couleurTexte, std::int64_t couleurFond, TColor couleurHalo,
                          const QString& texte);

// Size of the box dessinerTexteIndices draws a label in, with the painter's font `police`
// on `support` (nullptr: the screen).
QSize tailleTexteIndices(const QFont& police, const QString& texte,
                         QPaintDevice* support = nullptr);
