#include "dessingraphe.h"

#include "couleursqt.h"
#include "formats.h"
#include "indices.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace {

QPen plume(TColor c, Qt::PenStyle style = Qt::SolidLine) {
    QPen p(versQColor(c));
    p.setWidth(1);
    p.setStyle(style);
    return p;
}

} // namespace

void dessineFondEcran(QPainter& canvas, const TGeometrieGraphe& g) {
    canvas.setFont(g.fontEcran);
    canvas.setPen(plume(0x000000));
    canvas.setBrush(versQColor(couleurFondEcran));
    // Rectangles of the image's own kind: the right and bottom edges are excluded.
    canvas.drawRect(0, 0, g.larT - 1, g.hauT - 1);
    canvas.setPen(plume(0xFFFFFF));
    canvas.setBrush(Qt::white);
    const int L = g.gauche();
    canvas.drawRect(L - 1, g.mSup - 1, g.larG + 1, g.hauG + 1);
}

void dessineQuadAxesV(QPainter& canvas, const TGeometrieGraphe& g) {
    canvas.setClipping(false);
    const int L = g.gauche();
    const int a0 = g.axeQuadrilleX;
    if (a0 >= 0 && a0 < g.nbAxes) {
        canvas.setPen(plume(couleurQuadrillage, Qt::DotLine));
        canvas.setBrush(Qt::NoBrush);
        for (int n = g.nGradV11[a0]; n <= g.nGradV12[a0]; ++n) {
            const int y = g.ye(n * g.sepR[a0], g.AxesX[a0].EchA);
            canvas.drawLine(L, y, L + g.larG - 1, y);
        }
    }
    const std::array<int, 4> xLabel{3, g.mGau1, L + g.larG + 4, L + g.larG + g.mDroi1 + 2};
    std::array<int, 4> xgr1 = g.xgr1;
    if (g.nGradV11[0] == g.nGradV11[1])
        xgr1[0] = L;
    const QChar sep = separateurDecimal();
    for (int a = 0; a < g.nbAxes; ++a) {
        const bool courant = a == a0;
        QFont police = g.fontEcran;
        police.setBold(courant);
        canvas.setFont(police);
        canvas.setPen(plume(courant ? 0x0000FF : 0x000000));
        canvas.setBrush(versQColor(couleurFondEcran));
        const QFontMetrics fm(police);
        for (int n = g.nGradV11[a]; n <= g.nGradV12[a]; ++n) {
            const float v = n * g.sepR[a];
            const int y = g.ye(v, g.AxesX[a].EchA);
            canvas.drawLine(xgr1[a], y, g.xgr2[a] + 4, y);
            const QString texte = (v > 0 ? QStringLiteral(" +") : QStringLiteral(" ")) +
                                  texteG6(v, sep) + QStringLiteral(" ");
            const int h = fm.height();
            canvas.fillRect(xLabel[a], y - h / 2, fm.horizontalAdvance(texte), h,
                            versQColor(couleurFondEcran));
            canvas.drawText(xLabel[a], y - h / 2 + fm.ascent(), texte);
        }
    }
    canvas.setFont(g.fontEcran);
    canvas.setPen(plume(0x000000));
    canvas.drawLine(L, g.mSup - 4, L, g.mSup + g.hauG);
    const QFontMetrics fm(g.fontEcran);
    canvas.drawText(5, 6 + fm.ascent(), QStringLiteral("(V)"));
}

QString texteGraduationTemps(const TGeometrieGraphe& g, int n, QChar separateur) {
    const double mult = g.axeT.mult > 0 ? static_cast<double>(g.axeT.mult) : 1.0;
    return texteG4(n * static_cast<double>(g.sepRt) / mult, separateur);
}

void dessineQuadAxeH(QPainter& canvas, const TGeometrieGraphe& g) {
    canvas.setClipping(false);
    const int L = g.gauche();
    canvas.setFont(g.fontEcran);
    const QFontMetrics fm(g.fontEcran);
    const QChar sep = separateurDecimal();
    for (int n = g.nGradH1; n <= g.nGradH2; ++n) {
        const int x = g.xe(n * g.sepRt + g.t0);
        canvas.setPen(plume(couleurQuadrillage, Qt::DotLine));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawLine(x, g.mSup, x, g.mSup + g.hauG);
        const QString texte = texteGraduationTemps(g, n, sep);
        const int w = fm.horizontalAdvance(texte);
        const int xt = std::min(L + g.larG - w - 1, std::max(g.xOri + 1, x - w / 2));
        canvas.setPen(plume(0x000000));
        canvas.drawText(xt, g.mSup + g.hauG + fm.ascent(), texte);
    }
    canvas.setBrush(versQColor(couleurFondEcran));
    canvas.setPen(plume(0x000000));
    canvas.drawLine(L, g.mSup + g.hauG, L + g.larG + 3, g.mSup + g.hauG);
    if (g.mSup < g.yOri && g.yOri < g.mSup + g.hauG) {
        canvas.setPen(plume(0x000000, Qt::DashLine));
        canvas.drawLine(L, g.yOri, L + g.larG - 1, g.yOri);
    }
    if (!g.axeT.sp10Mult.isEmpty()) {
        const QString texte = QStringLiteral("x 10(") + g.axeT.sp10Mult + QStringLiteral(") s");
        const int x = L + g.larG - fm.horizontalAdvance(QStringLiteral(" x 10-3 s ")) - 2;
        const int y = g.hauT - fm.height() - 3;
        dessinerTexteIndices(canvas, x, y, g.larT, g.hauT - 3, 0, 0, 0x000000, couleurFondEcran,
                             couleurQuadrillage, texte);
    }
}
