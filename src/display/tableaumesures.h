#pragma once
// The measurement table: one row per point, the index and the time, then one column per
// series, under three header rows (name, unit, deletion cross). Nothing is copied out of the
// store: a rebuild only takes the widths of the columns, the unit of time and the tinted
// rows, and the texts of a row are computed when it comes into sight. Eight series of
// 50 001 points are 400 000 cells; a screen shows about forty rows of them.
#include "couleurs.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class QPainter;
class TSeriesMesurees;

// Colours of the grid: white data cells, header cells a shade darker than the window, rows
// between the green markers a lighter shade of the header colour.
inline constexpr TColor clFenetreTableau = 0xFFEEDD;
inline constexpr TColor clfdSG = 0xFFFFFF;
TColor clfdSGTitre(); // assombrirCouleur(0xFFEEDD, 15) = 0xD9CABC
TColor clfdSGSelT();  // eclaircirCouleur(clfdSGTitre, 60) = 0xEFE9E4
inline constexpr TColor clBordGrisTableau = 0x02A0A0A0;

// Unit of the time column, chosen from the series' total duration. The µs factor is
// 1 000 001: the five-digit rounding that follows hides the excess, and times such as
// 1.9999999 µs come out as 2.
struct TUniteTemps {
    double multT = 1.0;
    QString sUniteT;
};
TUniteTemps uniteTemps(double dureeTotaleAX);

// Time of point i measured from the left green marker t0, in the unit of multT, rounded to
// five significant digits.
QString texteTempsTableau(int64_t i, double dtAX, double t0, double multT, QChar separateur);
// A value in the unit of its series (volts × multVM), four significant digits; "0" for a
// value under a hundredth of the sampling interval's measure (float noise around zero).
QString texteValeurTableau(float volts, float multVM, double dtAX, QChar separateur);

// Rows of points between the green markers: round(t0 / dtAX) ≤ p ≤ round(tFin × 1.0001 / dtAX).
struct TPlageTeintee {
    int64_t premier = 0;
    int64_t dernier = -1;
    bool contient(int64_t p) const { return p >= premier && p <= dernier; }
};
TPlageTeintee plageTeintee(double t0, double tFin, double dtAX);

// A running acquisition: its columns follow the committed ones and show the points read so
// far (the current frame up to ptFront, in double-frame mode the previous frame after it).
struct TAcquisitionEnCours {
    int premiereColonne = 0; // column of tv2 of the first signal being acquired
    std::vector<QString> noms;
    int64_t ptFront = -1;
    int64_t pt0Trame = 0;
    int64_t nbPts0X = 0;
    int trameX = 0;
    bool modeDoubleTrameX = false;
};

// What the table reads besides the store: the time base of the series, the green markers
// and the vertical scale factor of the window.
struct TParamsTableau {
    double dtAX = 0.0;
    double dureeTotaleAX = 0.0;
    int64_t nbPtsAX = 0;
    double t0 = 0.0;
    double tFin = 0.0;
    double coDimV = 1.0;
    std::optional<TAcquisitionEnCours> enCours;
};

class TTableauMesures {
public:
    // Rebuilds the table from the store. With no series or no points the table stays as it
    // was and false is returned.
    bool MAJTableau(const TSeriesMesurees& series, const TParamsTableau& p);
    // Empties the table (new experiment).
    void vider();

    int nbLignes() const { return 3 + static_cast<int>(nbPoints_); }
    int nbColonnes() const { return 2 + static_cast<int>(colonnes_.size()); }
    int64_t nbPoints() const { return nbPoints_; }
    int largeurColonne(int c) const;
    int hauteurLigne(int r) const;
    // Widths of all columns, and the width the panel may take at most (the columns, a
    // margin for the scroll bar, never more than the graph panel less 150).
    int largeurColonnes() const;
    int largeurMax(int largeurPanneauEcran) const;
    const TUniteTemps& unite() const { return unite_; }
    const TPlageTeintee& plage() const { return plage_; }

    // Text of cell (c, r); empty past the end of a series.
    QString texte(int c, int r) const;
    bool teintee(int r) const { return r >= 3 && plage_.contient(r - 3); }
    // The series a click on cell (c, r) offers for deletion; -1 for any other cell.
    int serieDeLaCroix(int c, int r) const;

    // Paints the visible part of a grid of size `taille`: the three header rows and the index
    // column stay in place, the others start at row premiereLigne and column premiereColonne.
    void dessiner(QPainter& p, QSize taille, int premiereLigne, int premiereColonne) const;
    // Cell under a point of that grid; (-1, -1) outside the cells.
    QPoint celluleEn(QPoint pt, QSize taille, int premiereLigne, int premiereColonne) const;
    // Rows of points that fit whole below the header rows, columns that fit right of the
    // index column from premiereColonne on (at least one of each).
    int lignesVisibles(int hauteur) const;
    int colonnesVisibles(int largeur, int premiereColonne) const;
    void dessinerCellule(QPainter& p, int c, int r, const QRect& rect) const;

private:
    struct TColonne {
        QString entete;
        QString unite;
        float multVM = 1.0f;
        int colonneTv2 = 0;
        bool enCours = false;
    };
    const TSeriesMesurees* series_ = nullptr;
    std::vector<TColonne> colonnes_;
    std::vector<int> largeurs_;
    std::optional<TAcquisitionEnCours> enCours_;
    int64_t nbPoints_ = 0;
    double dtAX_ = 0.0, t0_ = 0.0;
    double coDimV_ = 1.0;
    int hauteurLigne_ = 18, hauteurLigne0_ = 20;
    TUniteTemps unite_;
    TPlageTeintee plage_;
    // Abscissae of the columns' bounds in the visible order (fixed column first).
    std::vector<std::pair<int, int>> bornesVisibles(int largeur, int premiereColonne) const;
    const float* valeur(const TColonne& col, int64_t i) const;
    // Fonts of the cells, chosen at each rebuild from the window's scale.
    QFont policeIndex_, policeTitre_, policeUnite_, policeUniteCol0_, policeDonnees_;
};
