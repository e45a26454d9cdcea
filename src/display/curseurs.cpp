#include "curseurs.h"

#include "couleursqt.h"
#include "dessingraphe.h"
#include "formats.h"
#include "indices.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <limits>

namespace {

constexpr TColor vertCurseurs = 0x008000;
constexpr TColor rougeMesures = 0x0000FF;

QPen plume(TColor c, Qt::PenStyle style) {
    QPen p(versQColor(c));
    p.setWidth(1);
    p.setStyle(style);
    return p;
}

int versInt(int64_t v) {
    return static_cast<int>(
        std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The triangle of a vertical marker at column x: at the left or right edge pointing out
// when the marker lies beyond it, else pointing down onto the plot from above it.
QPolygon triangle(const TGeometrieGraphe& g, int x) {
    const int L = g.gauche();
    const int R = L + g.larG;
    const int h = g.mSup;
    if (x < L)
        return QPolygon({QPoint(L, h - 4), QPoint(L - 4, h - 7), QPoint(L, h - 10)});
    if (x > R)
        return QPolygon({QPoint(R, h - 4), QPoint(R + 4, h - 7), QPoint(R, h - 10)});
    return QPolygon({QPoint(x, h - 4), QPoint(x - 4, h - 10), QPoint(x + 4, h - 10)});
}

// One vertical marker: a solid triangle at the edge when outside the plot, else a dashed
// line across the plot under a triangle of the same pen. The styles are left set.
void marqueurVertical(QPainter& canvas, const TGeometrieGraphe& g, int x, TColor couleur) {
    const int L = g.gauche();
    const int R = L + g.larG;
    if (x < L || x > R) {
        canvas.setPen(plume(couleur, Qt::SolidLine));
        canvas.setBrush(versQColor(couleur));
    } else {
        canvas.setPen(plume(couleur, Qt::DashLine));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawLine(x, g.mSup, x, g.mSup + g.hauG);
    }
    canvas.drawPolygon(triangle(g, x));
}

} // namespace

QString texteCurseurFin(double duree, double zoomH) {
    const int n = zoomH >= 10 ? 4 : 3;
    return QStringLiteral("t[Fin]= ") + formatReel(n, 4, duree) + QStringLiteral("s");
}

TPlaceEtiquettes placeEtiquettes(int L, int R, int xeT0X, int xetFX, int wA, int wB) {
    // Markers far outside the plot may lie near the limits of int.
    const int64_t l = L, r = R, a = wA, b = wB;
    int64_t xst0 = int64_t{xeT0X} - a / 2;
    int64_t xstF = std::min(r - b, int64_t{xetFX} - b / 2);
    const int64_t e = (int64_t{xeT0X} + xetFX) / 2;
    if (e < xst0 + a + 5 || xstF - 5 < e) {
        xstF = std::max(e + 5, xstF);
        xst0 = std::min(e - a - 5, xst0);
    }
    if (xst0 < l - a / 2) {
        xst0 = l - a / 2;
        xstF = std::max(xst0 + a + 10, xstF);
    }
    if (r - 1 < xstF + b) {
        xstF = r - b - 10;
        xst0 = std::min(xst0, xstF - a - 10);
    }
    return {versInt(xst0), versInt(xstF)};
}

void dessineCurseursT(QPainter& canvas, const TGeometrieGraphe& g, TCurseurs& c) {
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setClipping(false);
    canvas.setFont(g.fontEcran);
    const QFontMetrics fm(g.fontEcran, canvas.device());
    const QString A = QStringLiteral("t = 0");
    const QString B = texteCurseurFin(c.tFin - g.t0, g.zoomH);
    const int L = g.gauche();
    const int R = L + g.larG;
    const TPlaceEtiquettes place =
        placeEtiquettes(L, R, c.xeT0X, c.xetFX, fm.horizontalAdvance(A), fm.horizontalAdvance(B));
    c.xst0 = place.xst0;
    c.xstF = place.xstF;

    marqueurVertical(canvas, g, c.xeT0X, vertCurseurs);
    marqueurVertical(canvas, g, c.xetFX, vertCurseurs);
    // Both triangles again, in the styles the end marker left.
    canvas.drawPolygon(triangle(g, c.xeT0X));
    canvas.drawPolygon(triangle(g, c.xetFX));
    canvas.setBrush(Qt::NoBrush);

    const int maxX = g.larT + 25;
    dessinerTexteIndices(canvas, c.xstF, 2, maxX, g.hauT, 0, 0, 0x000000, couleurFondEcran,
                         couleurQuadrillage, B);
    dessinerTexteIndices(canvas, c.xst0, 2, maxX, g.hauT, 0, 0, 0x000000, couleurFondEcran,
                         couleurQuadrillage, A);
    canvas.restore();
}

void dessineCurseursMesureT(QPainter& canvas, const TGeometrieGraphe& g, const TCurseurs& c) {
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setClipping(false);
    marqueurVertical(canvas, g, c.xeT0M, rougeMesures);
    marqueurVertical(canvas, g, c.xeTFM, rougeMesures);
    canvas.setPen(plume(rougeMesures, Qt::SolidLine));
    canvas.setBrush(versQColor(rougeMesures));
    canvas.drawPolygon(triangle(g, c.xeT0M));
    canvas.drawPolygon(triangle(g, c.xeTFM));
    canvas.restore();
}

void dessineCurseursMesureU(QPainter& canvas, const TGeometrieGraphe& g, const TCurseurs& c) {
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setClipping(false);
    canvas.setPen(plume(rougeMesures, Qt::DashLine));
    canvas.setBrush(Qt::NoBrush);
    const int L = g.gauche();
    const int R = L + g.larG;
    for (const int y : {c.yeUmaxM, c.yeUMinM})
        if (y >= g.mSup && y <= g.mSup + g.hauG)
            canvas.drawLine(L + 1, y, R - 1, y);
    canvas.restore();
}
