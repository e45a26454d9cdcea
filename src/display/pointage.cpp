#include "pointage.h"

#include "arrondis.h"
#include "formats.h"
#include "seriesmesurees.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Pixel position of point j of channel k and its squared distance to the mouse, in the
// single precision the distances are compared in.
struct TEcart {
    int xj = 0;
    float h = 0; // horizontal part
    float v = 0; // vertical part
    float d = 0;
};

class TChercheur {
public:
    TChercheur(const TGeometrieGraphe& g, const TSeriesMesurees& s, double dt, int k, int x, int y)
        : g_(g), valeurs_(s.tv2[static_cast<std::size_t>(k)]),
          ech_(s.voiesMesurees[static_cast<std::size_t>(k)].echVM), dt_(dt), x_(x), y_(y) {}

    int xPoint(int64_t j) const { return g_.xe(static_cast<double>(j) * dt_); }
    int yPoint(int64_t j) const {
        return g_.ye(static_cast<double>(valeurs_[static_cast<std::size_t>(j)]), ech_);
    }
    TEcart ecart(int64_t j) const {
        TEcart e;
        e.xj = xPoint(j);
        const float dx = static_cast<float>(x_) - static_cast<float>(e.xj);
        const float dy = static_cast<float>(y_) - static_cast<float>(yPoint(j));
        e.h = dx * dx;
        e.v = dy * dy;
        e.d = e.h + e.v;
        return e;
    }
    float ecartVertical(int64_t j) const {
        const float dy = static_cast<float>(y_) - static_cast<float>(yPoint(j));
        return dy * dy;
    }

    // Walks from point D towards the start (pas -1) or the end (pas +1) while the points
    // stay near the mouse; the nearest one and its distance.
    std::pair<int64_t, float> parcours(int64_t D, int pas, int64_t n) const {
        float meilleur = 1e8f;
        int64_t jMeilleur = D;
        // The two directions stop on slightly different limits: a point at exactly 5
        // pixels ends the forward walk, not the backward one.
        const float limite = pas < 0 ? 25.000001f : 25.00000001f;
        int64_t j = D;
        for (;;) {
            const TEcart e = ecart(j);
            if (e.d < meilleur)
                jMeilleur = j;
            meilleur = std::min(meilleur, e.d);
            j += pas;
            const bool bout = pas < 0 ? j == 0 : j >= n - 1;
            const bool loin = pas < 0 ? e.xj <= x_ - 5 : e.xj >= x_ + 5;
            if (bout || e.d >= limite || loin || e.d < 1e-6f || e.h >= e.d || e.v >= e.d)
                break;
        }
        return {jMeilleur, meilleur};
    }

    // The mouse lies on the segment from point G to point G + 1: within 1.8° of its
    // direction and between the heights of its ends.
    bool surSegment(int64_t G) const {
        const double xa = xPoint(G), ya = yPoint(G);
        const double xb = xPoint(G + 1), yb = yPoint(G + 1);
        const double x = x_, y = y_;
        const bool entre = (ya <= y && y <= yb) || (yb <= y && y <= ya);
        if (xa == xb && xb == x)
            return (ya == yb && y == yb) || entre;
        if (!(xa <= x && x <= xb))
            return false;
        const double l = std::sqrt(((xa - x) * (xa - x) + (ya - y) * (ya - y)) *
                                   ((xb - xa) * (xb - xa) + (yb - ya) * (yb - ya)));
        if (!(l > 0) || !std::isfinite(l))
            return false;
        const double s = ((x - xa) * (yb - ya) - (y - ya) * (xb - xa)) / l;
        const double angle = std::asin(s);
        if (!std::isfinite(angle))
            return false;
        return std::fabs(angle) < std::numbers::pi / 100 && entre;
    }

private:
    const TGeometrieGraphe& g_;
    const std::vector<float>& valeurs_;
    double ech_;
    double dt_;
    int x_, y_;
};

} // namespace

TResultatPointage elementPointe(const TGeometrieGraphe& g, const TSeriesMesurees& series,
                                double dtAX, int64_t nbPtsAX, int x, int y) {
    const TResultatPointage aucun;
    const int L = g.gauche();
    const int R = L + g.larG;
    if (series.nbVoiesMesurees <= 0 || x < L || x > R || y < g.mSup || y > g.mSup + g.hauG)
        return aucun;
    if (!(dtAX > 0) || !std::isfinite(dtAX) || nbPtsAX <= 0)
        return aucun;
    const double pos = g.tr(x) / dtAX;
    const int nbVoies =
        std::min<int>(series.nbVoiesMesurees,
                      static_cast<int>(std::min(series.tv2.size(), series.voiesMesurees.size())));
    TResultatPointage choix;
    float meilleur = 1e10f;
    bool trouve = false;
    for (int i = 0; i < nbVoies; ++i) {
        // A series shorter than the acquisition says is read only as far as it goes.
        const int64_t n = std::min(nbPtsAX, series.nbPointsSerie(i));
        if (n <= 0)
            continue;
        const TChercheur c(g, series, dtAX, i, x, y);
        const int64_t D = std::clamp<int64_t>(arrondi64(pos), 0, n - 1);
        // At either end of the series only the height counts.
        const auto [jB, gB] = D > 0 ? c.parcours(D, -1, n) : std::pair{D, c.ecartVertical(0)};
        const auto [jF, gF] =
            D < n - 1 ? c.parcours(D, +1, n) : std::pair{D, c.ecartVertical(n - 1)};
        if (!(gB > rayonCapture2 && gF > rayonCapture2)) {
            if (gB <= gF && gB <= meilleur) {
                choix = {i, static_cast<int>(jB)};
                meilleur = std::min(rayonCapture2, gB);
                trouve = true;
            } else if (gF < gB && gF <= meilleur) {
                choix = {i, static_cast<int>(jF)};
                meilleur = std::min(rayonCapture2, gF);
                trouve = true;
            }
            // Otherwise a nearer point of an earlier channel stays selected.
        }
        if (trouve || n < 2)
            continue;
        const int64_t G = std::clamp<int64_t>(tronque64(pos), 0, n - 2);
        if (c.surSegment(G)) {
            choix = {i, -1};
            trouve = true;
        }
    }
    return trouve ? choix : aucun;
}

TTextesPointage affichePointPointe(const TSeriesMesurees& series, double dtAX,
                                   const TResultatPointage& p) {
    TTextesPointage t;
    if (p.voieMesureeP < 0 || p.voieMesureeP >= static_cast<int>(series.voiesMesurees.size()))
        return t;
    t.serie = series.voiesMesurees[static_cast<std::size_t>(p.voieMesureeP)].sEnteteVM;
    t.serie.remove(u'[').remove(u']').remove(u'{').remove(u'}');
    if (p.pointP < 0 || p.pointP >= series.nbPointsSerie(p.voieMesureeP))
        return t;
    const float u =
        series.tv2[static_cast<std::size_t>(p.voieMesureeP)][static_cast<std::size_t>(p.pointP)];
    t.point = QStringLiteral("t = ") + formatReel(4, 4, p.pointP * dtAX) + QStringLiteral("s") +
              QStringLiteral("   u = ") + formatReel(4, 4, u) + QStringLiteral("V");
    return t;
}

TTextesMesuresT afficheMesuresT(double t0, double t0M, double tFinM) {
    auto texte = [](double v) {
        return QStringLiteral("  ") + formatReel(3, 4, v) + QStringLiteral("s");
    };
    return {texte(t0M - t0), texte(tFinM - t0), texte(tFinM - t0M)};
}

TTextesMesuresU afficheMesuresU(double UMaxM, double UMinM) {
    auto texte = [](double v) {
        return QStringLiteral("  ") + formatReel(3, 4, v) + QStringLiteral("V");
    };
    return {texte(UMaxM), texte(UMinM), texte(std::fabs(UMaxM - UMinM))};
}
