#include "tableaumesures.h"

#include "arrondis.h"
#include "couleursqt.h"
#include "formats.h"
#include "indices.h"
#include "seriesmesurees.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

QFont policeTableau(double coDimV, double taille, bool gras) {
    QFont f(QStringLiteral("MS Serif"));
    f.setStyleHint(QFont::Serif);
    f.setPixelSize(std::max(1, arrondi(taille * coDimV)));
    f.setBold(gras);
    return f;
}

// The delete cross: a black cross in a 24 × 22 box.
void dessinerCroix(QPainter& p, const QRect& cellule) {
    const QRect boite(cellule.left() + (cellule.width() - 24) / 2,
                      cellule.top() + (cellule.height() - 22) / 2, 24, 22);
    p.save();
    p.setClipRect(cellule);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 2.5, Qt::SolidLine, Qt::RoundCap));
    const QRectF x = QRectF(boite).adjusted(7, 6, -7, -6);
    p.drawLine(x.topLeft(), x.bottomRight());
    p.drawLine(x.bottomLeft(), x.topRight());
    p.restore();
}

} // namespace

TColor clfdSGTitre() {
    return assombrirCouleur(clFenetreTableau, 15);
}

TColor clfdSGSelT() {
    return eclaircirCouleur(clfdSGTitre(), 60);
}

TUniteTemps uniteTemps(double d) {
    if (d < 0.001000001)
        return {1000001.0, QString::fromUtf8("µs")};
    if (d < 1.0000001)
        return {1000.0, QStringLiteral("ms")};
    return {1.0, QStringLiteral("s")};
}

QString texteTempsTableau(int64_t i, double dtAX, double t0, double multT, QChar separateur) {
    double tau = (static_cast<double>(i) * dtAX - t0) * multT;
    arrondiSignificatif(tau, 5);
    return texteG6(static_cast<float>(tau), separateur);
}

QString texteValeurTableau(float volts, float multVM, double dtAX, QChar separateur) {
    double v = static_cast<double>(volts) * multVM;
    // Below a hundredth of the interval's measure a value is float noise around zero. The
    // bound stops at 1E-4 of the unit: slow series (a second between points) would otherwise
    // show real millivolts as 0.
    const double seuil = dtAX > 0.0 ? 0.01 * std::min(dtAX, 0.01) : 0.0;
    if (std::fabs(v) < seuil)
        return QStringLiteral("0");
    arrondiSignificatif(v, 4);
    return texteG6(static_cast<float>(v), separateur);
}

TPlageTeintee plageTeintee(double t0, double tFin, double dtAX) {
    if (!(dtAX > 0.0))
        return {};
    return {arrondi64(t0 / dtAX), arrondi64(tFin * 1.0001 / dtAX)};
}

bool TTableauMesures::MAJTableau(const TSeriesMesurees& series, const TParamsTableau& p) {
    const int m = std::max(
        0, std::min<int>(series.nbVoiesMesurees, static_cast<int>(series.voiesMesurees.size())));
    const int enCours = p.enCours ? static_cast<int>(p.enCours->noms.size()) : 0;
    // Rows: the committed length, never past the longest column (a shorter series shows
    // empty cells); during an acquisition, the length of the series being filled.
    int64_t n = 0;
    if (p.enCours) {
        n = p.enCours->nbPts0X;
    } else {
        for (int s = 0; s < m; ++s)
            n = std::max(n, series.nbPointsSerie(s));
        n = std::min(n, p.nbPtsAX);
    }
    if (m + enCours == 0 || n <= 0 || !(p.dtAX > 0.0))
        return false;

    series_ = &series;
    enCours_ = p.enCours;
    nbPoints_ = n;
    dtAX_ = p.dtAX;
    t0_ = p.t0;
    coDimV_ = p.coDimV;
    unite_ = uniteTemps(p.dureeTotaleAX);
    plage_ = plageTeintee(p.t0, p.tFin, p.dtAX);
    hauteurLigne_ = std::max(1, arrondi(18 * p.coDimV));
    hauteurLigne0_ = std::max(1, arrondi(20 * p.coDimV));
    policeIndex_ = policeTableau(p.coDimV, 8, false);
    policeTitre_ = policeTableau(p.coDimV, 12, true);
    policeUnite_ = policeTableau(p.coDimV, 10, true);
    policeUniteCol0_ = policeTableau(p.coDimV, 8, true);
    policeDonnees_ = policeTableau(p.coDimV, 11, false);

    colonnes_.clear();
    for (int s = 0; s < m; ++s) {
        const TVoieMesuree& v = series.voiesMesurees[static_cast<size_t>(s)];
        colonnes_.push_back({v.sEnteteVM, v.sUniteVM, v.multVM, s, false});
    }
    for (int c = 0; c < enCours; ++c)
        colonnes_.push_back({p.enCours->noms[static_cast<size_t>(c)], QStringLiteral("V"), 1.0f,
                             p.enCours->premiereColonne + c, true});

    const QFontMetrics mesure(policeTableau(p.coDimV, 14, true));
    int w = 0;
    for (const TColonne& c : colonnes_)
        w = std::max(w, mesure.horizontalAdvance(c.entete));
    largeurs_.assign(colonnes_.size() + 2, w + 10);
    largeurs_[0] = std::max(mesure.horizontalAdvance(QString::number(n)),
                            mesure.horizontalAdvance(QString::fromUtf8("Unités"))) +
                   3;
    largeurs_[1] = mesure.horizontalAdvance(QStringLiteral("9") + separateurDecimal() +
                                            QStringLiteral("99999"));
    return true;
}

void TTableauMesures::vider() {
    series_ = nullptr;
    colonnes_.clear();
    largeurs_.clear();
    enCours_.reset();
    nbPoints_ = 0;
}

int TTableauMesures::largeurColonne(int c) const {
    return c >= 0 && c < static_cast<int>(largeurs_.size()) ? largeurs_[static_cast<size_t>(c)] : 0;
}

int TTableauMesures::hauteurLigne(int r) const {
    return r == 0 ? hauteurLigne0_ : hauteurLigne_;
}

int TTableauMesures::largeurColonnes() const {
    int total = 0;
    for (int l : largeurs_)
        total += l;
    return total;
}

int TTableauMesures::largeurMax(int largeurPanneauEcran) const {
    const int m = static_cast<int>(colonnes_.size());
    const int w = m > 0 ? largeurs_.back() - 10 : 0;
    return std::min(largeurColonne(0) + largeurColonne(1) + m * (w + 6) + 50,
                    largeurPanneauEcran - 150);
}

const float* TTableauMesures::valeur(const TColonne& col, int64_t i) const {
    if (!series_ || col.colonneTv2 < 0 || col.colonneTv2 >= static_cast<int>(series_->tv2.size()))
        return nullptr;
    const std::vector<float>& v = series_->tv2[static_cast<size_t>(col.colonneTv2)];
    int64_t k = i;
    if (col.enCours && enCours_) {
        const TAcquisitionEnCours& e = *enCours_;
        if (i <= e.ptFront)
            k = e.pt0Trame + i;
        else if (e.modeDoubleTrameX) // the previous frame, not yet overwritten
            k = (1 - e.trameX) * e.nbPts0X + i;
        else
            return nullptr;
    }
    return k >= 0 && k < static_cast<int64_t>(v.size()) ? &v[static_cast<size_t>(k)] : nullptr;
}

QString TTableauMesures::texte(int c, int r) const {
    if (c < 0 || r < 0 || c >= nbColonnes() || r >= nbLignes())
        return {};
    if (r == 0)
        return c == 0   ? QStringLiteral("Point")
               : c == 1 ? QStringLiteral("t")
                        : colonnes_[static_cast<size_t>(c - 2)].entete;
    if (r == 1)
        return c == 0   ? QString::fromUtf8("Unités")
               : c == 1 ? unite_.sUniteT
                        : colonnes_[static_cast<size_t>(c - 2)].unite;
    if (r == 2)
        return {};
    const int64_t i = r - 3;
    if (c == 0)
        return QString::number(i);
    const QChar sep = separateurDecimal();
    if (c == 1)
        return texteTempsTableau(i, dtAX_, t0_, unite_.multT, sep);
    const TColonne& col = colonnes_[static_cast<size_t>(c - 2)];
    const float* v = valeur(col, i);
    return v ? texteValeurTableau(*v, col.multVM, dtAX_, sep) : QString();
}

int TTableauMesures::serieDeLaCroix(int c, int r) const {
    if (r != 2 || c < 2 || c >= nbColonnes() || colonnes_[static_cast<size_t>(c - 2)].enCours)
        return -1;
    return colonnes_[static_cast<size_t>(c - 2)].colonneTv2;
}

void TTableauMesures::dessinerCellule(QPainter& p, int c, int r, const QRect& rect) const {
    const int L = rect.left(), T = rect.top();
    const int R = L + rect.width(), B = T + rect.height();
    const bool entete = r <= 2 || c == 0;
    const QColor gris = versQColor(clBordGrisTableau);
    if (entete) {
        p.fillRect(rect, versQColor(clfdSGTitre()));
        p.setPen(Qt::white);
        p.drawLine(L, B - 1, L, T);
        p.drawLine(L, T, R - 1, T);
        p.setPen(gris);
        p.drawLine(L + 1, B - 1, R - 1, B - 1);
        p.drawLine(R - 1, B - 1, R - 1, T);
    } else {
        p.fillRect(rect, versQColor(teintee(r) ? clfdSGSelT() : clfdSG));
        p.setPen(gris);
        p.drawLine(L, B - 1, R - 1, B - 1);
        p.drawLine(R - 1, B - 1, R - 1, T - 1);
    }
    if (r == 2) {
        if (c >= 2)
            dessinerCroix(p, rect);
        return;
    }
    const QString t = texte(c, r);
    if (t.isEmpty())
        return;
    const QFont& police = r == 0   ? (c == 0 ? policeIndex_ : policeTitre_)
                          : r == 1 ? (c == 0 ? policeUniteCol0_ : policeUnite_)
                                   : policeDonnees_;
    p.setFont(police);
    if (r == 0 && c >= 2) {
        const QSize boite = tailleTexteIndices(police, t, p.device());
        const int x = std::max((L + R - boite.width()) / 2, L);
        const int y = (T + B - boite.height()) / 2;
        p.save();
        p.setClipRect(rect);
        dessinerTexteIndices(p, x, y, 0, 0, 0, 0, 0x000000, clfdSGTitre(), 0, t);
        p.restore();
        return;
    }
    const QFontMetrics fm(police, p.device());
    const int w = fm.horizontalAdvance(t);
    const int h = fm.height();
    int x = std::max((L + R - w) / 2, L);
    int y = (T + B - h) / 2;
    if (r == 0 && c == 0) {
        x = R - w - 2;
        y = B - h - 2;
    }
    p.setPen(Qt::black);
    const bool deborde = w > rect.width() || h > rect.height();
    if (deborde) {
        p.save();
        p.setClipRect(rect);
    }
    p.drawText(QPoint(x, y + fm.ascent()), t);
    if (deborde)
        p.restore();
}

std::vector<std::pair<int, int>> TTableauMesures::bornesVisibles(int largeur,
                                                                 int premiereColonne) const {
    std::vector<std::pair<int, int>> bornes; // (column, left)
    if (largeurs_.empty())
        return bornes;
    bornes.push_back({0, 0});
    int x = largeurColonne(0);
    for (int c = std::max(1, premiereColonne); c < nbColonnes() && x < largeur; ++c) {
        bornes.push_back({c, x});
        x += largeurColonne(c);
    }
    return bornes;
}

void TTableauMesures::dessiner(QPainter& p, QSize taille, int premiereLigne,
                               int premiereColonne) const {
    p.fillRect(QRect(QPoint(0, 0), taille), versQColor(clfdSG));
    if (largeurs_.empty())
        return;
    const auto bornes = bornesVisibles(taille.width(), premiereColonne);
    int y = 0;
    auto ligne = [&](int r) {
        const int h = hauteurLigne(r);
        for (const auto& [c, x] : bornes)
            dessinerCellule(p, c, r, QRect(x, y, largeurColonne(c), h));
        y += h;
    };
    for (int r = 0; r < 3; ++r)
        ligne(r);
    for (int r = std::max(3, premiereLigne); r < nbLignes() && y < taille.height(); ++r)
        ligne(r);
}

QPoint TTableauMesures::celluleEn(QPoint pt, QSize taille, int premiereLigne,
                                  int premiereColonne) const {
    int col = -1;
    for (const auto& [c, x] : bornesVisibles(taille.width(), premiereColonne))
        if (pt.x() >= x && pt.x() < x + largeurColonne(c))
            col = c;
    int ligne = -1;
    int y = 0;
    for (int r = 0; r < 3 && ligne < 0; ++r) {
        if (pt.y() >= y && pt.y() < y + hauteurLigne(r))
            ligne = r;
        y += hauteurLigne(r);
    }
    if (ligne < 0 && pt.y() >= y) {
        const int r = std::max(3, premiereLigne) + (pt.y() - y) / hauteurLigne_;
        if (r < nbLignes())
            ligne = r;
    }
    if (col < 0 || ligne < 0 || col >= nbColonnes())
        return {-1, -1};
    return {col, ligne};
}

int TTableauMesures::lignesVisibles(int hauteur) const {
    const int reste = hauteur - hauteurLigne0_ - 2 * hauteurLigne_;
    return std::max(1, reste / std::max(1, hauteurLigne_));
}

int TTableauMesures::colonnesVisibles(int largeur, int premiereColonne) const {
    int x = largeurColonne(0);
    int n = 0;
    for (int c = std::max(1, premiereColonne); c < nbColonnes(); ++c) {
        x += largeurColonne(c);
        if (x > largeur)
            break;
        ++n;
    }
    return std::max(1, n);
}
