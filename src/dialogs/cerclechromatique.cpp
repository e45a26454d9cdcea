#include "cerclechromatique.h"

#include "couleursqt.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

double rampe(double x, double x0, double x1, double a, double b) {
    return (a + b) / 2 +
           (a - b) / 2 * std::sin(std::numbers::pi / 2 * (2 * x - x0 - x1) / (x0 - x1));
}

namespace {

// Red, green and blue of the fully saturated hue at angle theta (degrees, 0..360): in each
// 60° sector one component ramps between 0 and 1 while the two others stay put.
std::array<double, 3> teinte(double theta) {
    const int secteur = std::clamp(static_cast<int>(theta / 60.0), 0, 5);
    const double x = theta - 60.0 * secteur;
    const double monte = rampe(x, 0.0, 60.0, 0.0, 1.0);
    const double descend = 1.0 - monte;
    switch (secteur) {
    case 0:
        return {1.0, monte, 0.0}; // red to yellow
    case 1:
        return {descend, 1.0, 0.0}; // yellow to green
    case 2:
        return {0.0, 1.0, monte}; // green to cyan
    case 3:
        return {0.0, descend, 1.0}; // cyan to blue
    case 4:
        return {monte, 0.0, 1.0}; // blue to magenta
    default:
        return {1.0, 0.0, descend}; // magenta to red
    }
}

} // namespace

QImage cercleChromatique(int R, const QColor& fond) {
    R = std::max(R, 1);
    const int taille = 2 * R + 4;
    QImage image(taille, taille, QImage::Format_RGB32);
    image.fill(fond);
    {
        QPainter p(&image);
        p.setPen(QColor(200, 200, 200));
        p.drawRect(0, 0, taille - 1, taille - 1);
    }
    const double c = R + 2;
    const double sqrt3 = std::sqrt(3.0);
    for (int y = 0; y < taille; ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < taille; ++x) {
            const double dx = x - c, dy = c - y;
            const double d = std::hypot(dx, dy);
            if (d > R)
                continue;
            double theta = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
            if (theta < 0)
                theta += 360.0;
            std::array<double, 3> rvb = teinte(theta);
            // White centre, then the hue appears up to 0.45 R.
            const double blanc = d <= 0.1 * R   ? 1.0
                                 : d < 0.45 * R ? rampe(d, 0.1 * R, 0.45 * R, 1.0, 0.0)
                                                : 0.0;
            // The hexagon whose corners lie on the sector boundaries, in this direction.
            const double milieu = 60.0 * std::floor(theta / 60.0) + 30.0;
            const double ecart = (theta - milieu) * std::numbers::pi / 180.0;
            const double hexagone = R * sqrt3 / 2.0 / std::cos(ecart);
            const double lumiere = d <= hexagone ? 1.0 : rampe(d, hexagone, R, 1.0, 0.0);
            std::array<int, 3> octets{};
            for (int k = 0; k < 3; ++k) {
                const double v = (rvb[k] + (1.0 - rvb[k]) * blanc) * lumiere * 255.0;
                octets[k] = std::isfinite(v) ? std::clamp(static_cast<int>(std::lround(v)), 0, 255)
                                             : 0; // a failed computation gives black
            }
            ligne[x] = qRgb(octets[0], octets[1], octets[2]);
        }
    }
    return image;
}

std::optional<TColor> couleurSousPoint(const QImage& affichee, QPoint p) {
    if (affichee.isNull() || !affichee.rect().contains(p))
        return std::nullopt;
    const double rayon = std::min(affichee.width(), affichee.height()) / 2.0 - 2.0;
    const double d =
        std::hypot(p.x() + 0.5 - affichee.width() / 2.0, p.y() + 0.5 - affichee.height() / 2.0);
    if (!(d < rayon - 1.0))
        return std::nullopt;
    return versTColor(QColor(affichee.pixel(p)));
}
