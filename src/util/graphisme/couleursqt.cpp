#include "couleursqt.h"

QColor versQColor(TColor couleur) {
    return QColor(int(couleur & 0xFF), int((couleur >> 8) & 0xFF), int((couleur >> 16) & 0xFF));
}

TColor versTColor(const QColor& couleur) {
    return static_cast<TColor>(couleur.red()) | (static_cast<TColor>(couleur.green()) << 8) |
           (static_cast<TColor>(couleur.blue()) << 16);
}
