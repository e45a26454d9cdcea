#pragma once
// The chromatic circle of the colour chooser and the colour picked on it.
#include "couleurs.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <optional>

// A (2R + 4) × (2R + 4) image filled with the background, outlined in grey (200, 200, 200),
// holding a disc of radius R centred at (R + 2, R + 2): white at the centre, the hue turning
// once around it through six sectors (red at 0°, then yellow, green, cyan, blue, magenta),
// fully saturated from 0.45 R, darkening towards black beyond the inscribed hexagon.
QImage cercleChromatique(int R, const QColor& fond);

// The easing of the circle's ramps: a at x0, b at x1, a half sine wave in between.
double rampe(double x, double x0, double x1, double a, double b);

// Picking on the circle as displayed: the image is what the screen shows, whatever its size;
// the disc is centred in it with a radius of half its smaller side minus 2. A point closer
// to the centre than that radius minus 1 gives the colour of the pixel under it (top byte
// 0); any other point gives nothing.
std::optional<TColor> couleurSousPoint(const QImage& affichee, QPoint p);
