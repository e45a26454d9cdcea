#include "courbes.h"

#include "arrondis.h"
#include "couleursqt.h"
#include "seriesmesurees.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Point index of the time t: the small excess keeps a point lying exactly on t despite
// the rounding of t.
int64_t indicePoint(float t, double dt) {
    return tronque64(static_cast<double>(t) * 1.0000005 / dt);
}

// Times of the left and right edges of the plotting area, the right one bounded by the
// duration of the data.
struct TFenetreTemps {
    float t1, t2;
};
TFenetreTemps fenetreTemps(const TGeometrieGraphe& g, double duree) {
    const float t1 = static_cast<float>(g.tr(g.gauche()));
    const float t2 = static_cast<float>(std::min(g.tr(g.gauche() + g.larG), duree));
    return {t1, t2};
}

// Confines the curves to the plotting area for the life of the object; aliased strokes
// keep every pixel in the channel colour.
class TDecoupage {
public:
    TDecoupage(QPainter& canvas, const TGeometrieGraphe& g) : canvas_(canvas) {
        canvas_.save();
        canvas_.setRenderHint(QPainter::Antialiasing, false);
        canvas_.setClipRect(rectCourbes(g));
    }
    ~TDecoupage() { canvas_.restore(); }
    TDecoupage(const TDecoupage&) = delete;
    TDecoupage& operator=(const TDecoupage&) = delete;

private:
    QPainter& canvas_;
};

} // namespace

TChoixModeDessin choisirModeDessin(int64_t nbIntervalles, int largeurPixels, double zoomH) {
    if (largeurPixels <= 0)
        return {modeLignes, static_cast<float>(nbIntervalles)};
    const double p = static_cast<double>(nbIntervalles) / largeurPixels;
    const double nbPPP = p * zoomH;
    int mode = modeLignes;
    if (p >= seuilSegmentsVerticaux)
        mode = modeSegmentsVerticaux;
    else if (nbPPP <= seuilCroix)
        mode = modeLignesPoints;
    return {mode, static_cast<float>(nbPPP)};
}

std::optional<TChoixModeDessin> setModeDessinVM(const TGeometrieGraphe& g, double dt0X,
                                                double dureeTotale0X, int64_t nbPtsAffX) {
    if (!(dt0X > 0.0) || nbPtsAffX <= 0)
        return std::nullopt;
    const auto [t1, t2] = fenetreTemps(g, dureeTotale0X);
    const int64_t v = indicePoint(t1, dt0X);
    const int64_t l = std::min(indicePoint(t2, dt0X) + 1, nbPtsAffX - 1);
    if (l < v)
        return std::nullopt;
    return choisirModeDessin(l - v, g.xe(t2) - g.xe(t1), g.zoomH);
}

QRect rectCourbes(const TGeometrieGraphe& g) {
    return QRect(g.gauche(), g.mSup, g.larG, g.hauG);
}

TDessinCourbes::TDessinCourbes(QPainter& canvas, const TGeometrieGraphe& g,
                               const TSeriesMesurees& series, double dtAX)
    : canvas_(canvas), g_(g), series_(series), dtAX_(dtAX) {}

bool TDessinCourbes::surAxeCourant(int k) const {
    return k >= 0 && k < static_cast<int>(series_.voiesMesurees.size()) &&
           series_.voiesMesurees[k].axeVM == g_.axeQuadrilleX;
}

void TDessinCourbes::setCouleursCourantes(int premier, const std::array<TColor, 8>& couleurs) {
    premierCourant_ = premier;
    couleursCourantes_ = couleurs;
}

TColor TDessinCourbes::couleur(int k, int optionCl) const {
    const int j = k - premierCourant_;
    const TColor c = premierCourant_ >= 0 && j >= 0 && j < 8 ? couleursCourantes_[j]
                                                             : series_.voiesMesurees[k].clVM;
    return optionCl == optionClAncienne ? eclaircirCouleur(c, 90) : c;
}

int64_t TDessinCourbes::dernierPoint(int k, int64_t kMax, int64_t pt0) const {
    // A series without its description cannot be placed: nothing is readable.
    if (pt0 < 0 || k < 0 || k >= static_cast<int>(series_.voiesMesurees.size()) ||
        k >= static_cast<int>(series_.tv2.size()))
        return -1;
    // The column's own length: committed columns hold nbPtsAX values, those of a running
    // acquisition one or two frames.
    return std::min(kMax, static_cast<int64_t>(series_.tv2[k].size()) - 1 - pt0);
}

double TDessinCourbes::valeur(int k, int64_t pt0, int64_t i) const {
    return series_.tv2[k][static_cast<size_t>(pt0 + i)];
}

int TDessinCourbes::yVoie(int k, double u) const {
    return g_.ye(u, series_.voiesMesurees[k].echVM);
}

int TDessinCourbes::eclaircissement(int hauteur) const {
    const double demiHauteur = g_.hauG / 2.0 - 1.0;
    if (!(g_.zoomV > 0.0) || demiHauteur <= 0.0)
        return 80;
    return arrondi(std::min(80.0, 30.0 / g_.zoomV / demiHauteur * hauteur));
}

void TDessinCourbes::dessineUneCourbeLignes(int k, int ep, int optionCl, int64_t kMax, int64_t kMin,
                                            int64_t pt0) {
    const int64_t premier = std::max<int64_t>(kMin, 0);
    const int64_t dernier = dernierPoint(k, kMax, pt0);
    if (dernier - premier < 1) // one point makes no segment
        return;
    QPolygon trace;
    trace.reserve(static_cast<qsizetype>(dernier - premier + 1));
    for (int64_t i = premier; i <= dernier; ++i)
        trace.append(QPoint(g_.xe(static_cast<double>(i) * dtAX_), yVoie(k, valeur(k, pt0, i))));
    canvas_.setPen(QPen(versQColor(couleur(k, optionCl)), std::max(1, ep), Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    canvas_.drawPolyline(trace);
}

void TDessinCourbes::dessineUneCourbePoints(int k, int optionCl, int64_t kMax, int64_t kMin,
                                            int64_t pt0) {
    const int64_t dernier = dernierPoint(k, kMax, pt0);
    const QColor c = versQColor(couleur(k, optionCl));
    const int h = surAxeCourant(k) ? 4 : 2;
    // Each arm stops one pixel short of its end, as canvas lines are drawn.
    for (int64_t i = std::max<int64_t>(kMin, 0); i <= dernier; ++i) {
        const int x = g_.xe(static_cast<double>(i) * dtAX_);
        const int y = yVoie(k, valeur(k, pt0, i));
        canvas_.fillRect(QRect(x, y - h, 1, 2 * h), c);
        canvas_.fillRect(QRect(x - h, y, 2 * h, 1), c);
    }
}

void TDessinCourbes::dessineUneCourbeSegsVerts(int k, int ep, int optionCl, int64_t kMax,
                                               int64_t kMin, int64_t pt0) {
    const int64_t premier = std::max<int64_t>(kMin, 0);
    const int64_t dernier = dernierPoint(k, kMax, pt0);
    if (dernier - premier < 1)
        return;
    // The last two requested points are left to the next pass; with fewer than three
    // points the columns run to the end of the data instead of past it.
    const int64_t fin = kMax - 2 > premier ? std::min(kMax - 2, dernier) : dernier;
    const TColor c = couleur(k, optionCl);
    const int largeur = std::max(1, ep);
    int64_t i = premier;
    do {
        const int d = g_.xe(static_cast<double>(i) * dtAX_);
        double lo = valeur(k, pt0, i);
        double hi = lo;
        // The first point of the next column also closes this one, which joins them.
        while (i < fin) {
            ++i;
            const double v = valeur(k, pt0, i);
            lo = std::min(lo, v);
            hi = std::max(hi, v);
            if (g_.xe(static_cast<double>(i) * dtAX_) >= d + 1)
                break;
        }
        const int y1 = yVoie(k, lo);
        const int y2 = yVoie(k, hi);
        const int haut = std::min(y1, y2);
        const int hauteur = std::abs(y2 - y1);
        const TColor cl = hauteur == 0 ? c : eclaircirCouleur(c, eclaircissement(hauteur));
        canvas_.fillRect(QRect(d, haut, largeur, hauteur + 1), versQColor(cl));
    } while (i < fin);
}

void TDessinCourbes::dessineUneCourbe1SegVert(int k, int optionCl) {
    if (dernierPoint(k, 0, 0) < 0) // no value: its extremes mean nothing
        return;
    const TVoieMesuree& voie = series_.voiesMesurees[k];
    const int y1 = g_.ye(voie.max, voie.echVM);
    const int y2 = g_.ye(voie.min, voie.echVM);
    const int hauteur = std::abs(y2 - y1);
    const TColor cl = optionCl == optionClAncienne
                          ? eclaircirCouleur(voie.clVM, 90)
                          : eclaircirCouleur(voie.clVM, eclaircissement(hauteur));
    canvas_.fillRect(QRect(g_.xe(0.0), std::min(y1, y2), 1, hauteur + 1), versQColor(cl));
}

namespace {

// The series in one style; in the dense style the current axis comes last so that its
// curves stay on top.
void dessineSeries(TDessinCourbes& d, int nbSeries, int modeDessinVM, int optionCl, int64_t kMax,
                   int64_t kMin, bool grasAxeCourant) {
    const auto ep = [&](int k) { return grasAxeCourant && d.surAxeCourant(k) ? 2 : 1; };
    if (modeDessinVM == modeSegmentsVerticaux) {
        for (bool courant : {false, true})
            for (int k = 0; k < nbSeries; ++k)
                if (d.surAxeCourant(k) == courant)
                    d.dessineUneCourbeSegsVerts(k, ep(k), optionCl, kMax, kMin, 0);
        return;
    }
    if (modeDessinVM == modeLignesPoints)
        for (int k = 0; k < nbSeries; ++k)
            d.dessineUneCourbePoints(k, optionCl, kMax, kMin, 0);
    for (int k = 0; k < nbSeries; ++k)
        d.dessineUneCourbeLignes(k, ep(k), optionCl, kMax, kMin, 0);
}

} // namespace

std::optional<float> dessineCourbesRepos(QPainter& canvas, const TGeometrieGraphe& g,
                                         const TSeriesMesurees& series, int modeDessinVM,
                                         const TParamsTrace& params) {
    if (series.nbVoiesMesurees <= 0 || params.nbPtsAffX <= 0 || !(params.dtAX > 0.0))
        return std::nullopt;
    const auto [t1, t2] = fenetreTemps(g, params.dureeTotaleAX);
    // Scrolled before the start, the left edge has a negative time: no point before 0.
    const int64_t kMin = std::max<int64_t>(0, indicePoint(t1, params.dtAX));
    const int64_t kMax = std::min(params.nbPtsAffX - 1, indicePoint(t2, params.dtAX) + 1);
    if (kMax < kMin)
        return std::nullopt;
    TDecoupage decoupage(canvas, g);
    TDessinCourbes d(canvas, g, series, params.dtAX);
    const int xa = g.xe(t1);
    const int xb = g.xe(t2);
    if (xa == xb) {
        // The visible time fits in one pixel column.
        for (int k = 0; k < series.nbVoiesMesurees; ++k)
            d.dessineUneCourbe1SegVert(k, optionClVoie);
        return std::nullopt;
    }
    dessineSeries(d, series.nbVoiesMesurees, modeDessinVM, optionClVoie, kMax, kMin, true);
    return static_cast<float>(static_cast<double>(kMax - kMin) / (xb - xa));
}

void dessineSeriesAnterieures(QPainter& canvas, const TGeometrieGraphe& g,
                              const TSeriesMesurees& series, int modeDessinVM,
                              const TParamsTrace& params) {
    const int64_t kMax = params.nbPtsAffX - 1;
    if (series.nbVoiesMesurees <= 0 || kMax < 0)
        return;
    TDecoupage decoupage(canvas, g);
    TDessinCourbes d(canvas, g, series, params.dtAX);
    dessineSeries(d, series.nbVoiesMesurees, modeDessinVM, optionClAncienne, kMax, 0, false);
}

void dessineSerieCourante(QPainter& canvas, const TGeometrieGraphe& g,
                          const TSeriesMesurees& series, int modeDessinVM, const TTraceCourant& t) {
    const int64_t kMax = t.ptFront;
    if (kMax < 1 || !(t.dt0X > 0.0) || g.xe(static_cast<double>(kMax) * t.dt0X) == g.xe(0.0))
        return;
    TDecoupage decoupage(canvas, g);
    TDessinCourbes d(canvas, g, series, t.dt0X);
    const int premier = series.nbVoiesMesurees;
    d.setCouleursCourantes(premier, t.couleurs);
    const int dernier =
        std::min<int>(premier + t.nbVoiesSignaux, static_cast<int>(series.tv2.size()));
    auto passe = [&](int64_t kHaut, int64_t kBas, int64_t pt0) {
        if (modeDessinVM == modeSegmentsVerticaux) {
            for (bool courant : {false, true})
                for (int k = premier; k < dernier; ++k)
                    if (d.surAxeCourant(k) == courant)
                        d.dessineUneCourbeSegsVerts(k, 1, optionClVoie, kHaut, kBas, pt0);
            return;
        }
        for (int k = premier; k < dernier; ++k) {
            if (modeDessinVM == modeLignesPoints)
                d.dessineUneCourbePoints(k, optionClVoie, kHaut, kBas, pt0);
            d.dessineUneCourbeLignes(k, 1, optionClVoie, kHaut, kBas, pt0);
        }
    };
    if (t.modeDoubleTrameX && t.ptFront + 1 <= t.nbPtsAffX - 1)
        passe(t.nbPtsAffX - 1, t.ptFront + 1, (1 - t.trameX) * t.nbPts0X);
    passe(kMax, 0, t.pt0Trame);
}

void dessinetPretrig(QPainter& canvas, const TGeometrieGraphe& g, int modeDecl, double tPretrig) {
    if (modeDecl == 0)
        return;
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(QPen(QColor(255, 0, 0), 1, Qt::DashDotLine, Qt::FlatCap));
    canvas.setBrush(Qt::NoBrush);
    const int x = g.xe(tPretrig);
    canvas.drawLine(x, g.mSup, x, g.mSup + g.hauG - 1);
    canvas.restore();
}

void dessineLegende(QPainter& canvas, int largeur, int hauteur, TColor couleur) {
    if (largeur <= 0 || hauteur <= 0)
        return;
    const double w = largeur, h = hauteur;
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setBrush(Qt::white);
    canvas.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    canvas.drawRect(0, 0, largeur - 1, hauteur - 1);
    canvas.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1, Qt::DotLine, Qt::FlatCap));
    for (int j = -1; j <= 1; ++j) {
        const int y = arrondi(h / 2 - j * h / 3);
        canvas.drawLine(0, y, largeur - 1, y);
    }
    for (int j = 0; j <= 4; ++j) {
        const int x = arrondi(j * (w - 7) / 4 + 3);
        canvas.drawLine(x, 1, x, hauteur - 2);
    }
    canvas.setPen(QPen(versQColor(couleur), std::max(1, arrondi(w / 20)), Qt::SolidLine,
                       Qt::RoundCap, Qt::RoundJoin));
    QPolygon zigzag;
    zigzag.append(QPoint(0, arrondi(h / 2)));
    for (int j = 0; j <= 6; ++j)
        zigzag.append(QPoint(arrondi(j * w / 6), arrondi(h / 6 + (j % 2 ? 4 * h / 6 : 0))));
    canvas.drawPolyline(zigzag);
    canvas.restore();
}
