#include "traceuracquisition.h"

#include "arrondis.h"
#include "couleursqt.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int eclaircissementColonne(const TGeometrieGraphe& g, int hauteur) {
    const double demi = g.hauG / 2.0 - 1.0;
    if (!(g.zoomV > 0.0) || demi <= 0.0)
        return 80;
    return std::min(80, arrondi(30.0 / g.zoomV / demi * hauteur));
}

} // namespace

QRect bandeEffacee(const TGeometrieGraphe& g, const TLotAcquisition& lot, int hauteur) {
    const int x0 = lot.premierLot ? g.xe(0.0) - 1 : g.xe(lot.tBande0);
    const int x1 = g.xe(lot.tBande1) + 2;
    return QRect(x0, 0, std::max(0, x1 - x0), std::max(0, hauteur));
}

void effacerAvantLot(QImage& image, const QImage& fond, const TGeometrieGraphe& g,
                     const TLotAcquisition& lot) {
    if (image.isNull() || fond.size() != image.size() || !(lot.effacerTout || lot.effacerBande))
        return;
    QPainter p(&image);
    if (lot.effacerTout) {
        p.drawImage(0, 0, fond);
        return;
    }
    const QRect bande = bandeEffacee(g, lot, image.height());
    if (!bande.isEmpty())
        p.drawImage(bande.topLeft(), fond, bande);
}

void TTraceurAcquisition::dessinerLot(QImage& image, const TGeometrieGraphe& g,
                                      const TLotAcquisition& lot, int modeDessinVM,
                                      const std::array<TColor, 8>& couleurs) {
    if (image.isNull() || !lot.colonnes || !lot.voies || lot.dernier < lot.premier)
        return;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRect(rectCourbes(g));
    const int n = std::clamp(lot.nbSignaux, 0, 8);
    for (int i = 0; i < n; ++i) {
        const int voie = std::clamp(lot.voies[i], 0, 7);
        const float* col = lot.colonnes[i];
        TMemoire& m = memoire_[static_cast<size_t>(i)];
        const TColor c = couleurs[static_cast<size_t>(voie)];
        const QColor qc = versQColor(c);
        int64_t k = lot.premier;
        if (lot.premierLot) {
            m = TMemoire{};
            m.colonne = g.xe(0.0);
            m.lo = m.hi = col[k];
            // With a threshold trigger the first stored value precedes the trigger instant
            // shift: the curve starts at the second point.
            if (lot.seuil && k < lot.dernier)
                ++k;
        }
        if (modeDessinVM == modeSegmentsVerticaux) {
            for (; k <= lot.dernier; ++k) {
                const float v = col[k];
                const int x = g.xe(static_cast<double>(k - lot.pt0Trame) * lot.dt0X);
                m.lo = std::min(m.lo, v);
                m.hi = std::max(m.hi, v);
                if (x == m.colonne)
                    continue;
                // The column is complete: one stroke between its extremes, the point that
                // opens the next column included, which joins the strokes.
                const int y1 = g.ye(voie, m.hi);
                const int y2 = g.ye(voie, m.lo);
                const int h = std::abs(y2 - y1);
                const QColor cl = versQColor(eclaircirCouleur(c, eclaircissementColonne(g, h)));
                p.fillRect(QRect(m.colonne, std::min(y1, y2), 1, h + 1), cl);
                m.colonne = x;
                m.lo = m.hi = v;
            }
            continue;
        }
        p.setPen(QPen(qc, 1));
        for (; k <= lot.dernier; ++k) {
            const int x = g.xe(static_cast<double>(k - lot.pt0Trame) * lot.dt0X);
            const int y = g.ye(voie, col[k]);
            if (m.trace)
                p.drawLine(m.x, m.y, x, y);
            else
                p.drawPoint(x, y);
            if (modeDessinVM == modeLignesPoints) {
                p.fillRect(QRect(x, y - 2, 1, 4), qc);
                p.fillRect(QRect(x - 1, y, 3, 1), qc);
            }
            m.trace = true;
            m.x = x;
            m.y = y;
        }
    }
}
