#include "placementfenetre.h"

#include <algorithm>

QRect cadreFenetre(const QRect& zoneLibre, const QMargins& bords, const QSize& minimumClient) {
    const int largeurMin = minimumClient.width() + bords.left() + bords.right();
    const int hauteurMin = minimumClient.height() + bords.top() + bords.bottom();
    QRect cadre(zoneLibre.x() + 5, zoneLibre.y() + 5, std::max(largeurMin, zoneLibre.width() - 10),
                std::max(hauteurMin, zoneLibre.height() - 50));
    // A screen smaller than the minimum: the title bar stays reachable, the rest may not.
    cadre.moveLeft(
        std::max(zoneLibre.left(), std::min(cadre.left(), zoneLibre.right() + 1 - cadre.width())));
    cadre.moveTop(
        std::max(zoneLibre.top(), std::min(cadre.top(), zoneLibre.bottom() + 1 - cadre.height())));
    return cadre;
}

QRect clientFenetre(const QRect& zoneLibre, const QMargins& bords, const QSize& minimumClient) {
    return cadreFenetre(zoneLibre, bords, minimumClient).marginsRemoved(bords);
}
