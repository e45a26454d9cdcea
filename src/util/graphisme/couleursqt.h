#pragma once
// Colours of the program (red in the low byte) to and from Qt's colours.
#include "couleurs.h"

#include <QColor>

QColor versQColor(TColor couleur);
// The top byte of the result is 0.
TColor versTColor(const QColor& couleur);
