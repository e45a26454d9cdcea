#pragma once
// The series store: everything measured since the last new experiment. One series is
// one curve, the values of one measured signal of one acquisition. The acquisition
// loops fill the columns prepared by PrepareTV2; valider commits them; the graph, the
// table and the exports only read committed series.
#include "centrale.h"
#include "couleurs.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// Description of one series.
struct TVoieMesuree {
    float echVM = 0.0f;  // pixels per volt of the input at zoom 1, at acquisition time
    float multVM = 1.0f; // 1, 1000 or 1 000 000 (V, mV, µV)
    float max = -120.0f; // greatest value stored
    float min = 120.0f;  // smallest value stored
    int calVM = 0;       // range index of the input
    int axeVM = -1;      // vertical axis carrying the series; -1 when none
    QString sEnteteVM;   // name of the series
    QString sUniteVM;    // "V", "mV" or "µV", matching multVM
    TColor clVM = 0;     // colour of the curve
    float UMaxSegVM = 0.0f;
    float UMinSegVM = 0.0f;
    bool ModeDiffVM = false;
    QString capCommRegvoie1VM; // input carrying the signal, for file comments
    QString capCommRegvoie2VM; // second input of a differential pair; empty otherwise
};

// Single acquisition or permanent mode: they choose the unit of a series and write the
// acquisition time slightly differently.
enum class TTypeValidation { Simple, Permanente };

// What a commit takes from the rest of the window: the scale and colour of each input,
// the clock and the user's locale (for the month names).
struct TContexteValidation {
    std::array<float, 8> echsVoies{};
    std::array<TColor, 8> clsVX{};
    QDateTime maintenant;
    QLocale locale;
};

class TSeriesMesurees {
public:
    int nbVoiesMesurees = 0;
    std::vector<std::vector<float>> tv2; // tv2[s][k]: sample k of series s, in volts
    std::vector<TVoieMesuree> voiesMesurees;
    // Header grouping: one entry per base header ("u[0_M]") among the committed series,
    // with the number of series carrying it and the first of them.
    std::vector<QString> sUMesurees;
    std::vector<int> nbUMesurees;
    std::vector<int> nPrem;
    bool ajouterLesCourbesX = false;
    bool enregistrerX = false; // measurements not saved yet
    QDateTime heureAcq;
    QString sDateAcq0;
    QString sdateAcqX;
    int numAcqDef = 0;

    // Makes room for the signals of the acquisition about to start: one zeroed column per
    // signal, of 2 × nbPts0X values in double-frame mode. Earlier series are kept only
    // when the acquisition is appended.
    void PrepareTV2(const TCentrale& centrale, bool modeDoubleTrameX);

    // Double-frame mode: the second half of each new column holds the last complete frame;
    // move it to the first half before committing.
    void recopierDerniereTrame(int64_t nbPts0X);

    // Commits the acquisition just made (the store's and the unit's part of the end of an
    // acquisition): timing copied to the unit, headers, units, colours, grouping, count,
    // date. Returns the series counter text.
    QString valider(TCentrale& centrale, TTypeValidation type, const TContexteValidation& ctx);

    // Rebuilds the grouping from the current headers (after a deletion). Names are kept.
    void MAJEntetesVM();

    // Deletes series s. Returns false when s is not a committed series. When no series
    // remains, the unit's nbPtsAX becomes 0.
    bool supprimerSerie(int s, TCentrale& centrale);
    QString questionSuppression(int s) const;

    // New experiment: the store is emptied down to the columns of the current signals.
    void RAZ(const TCentrale& centrale);

    // "Ajouter les courbes" may be offered: same timing as the previous acquisition, an
    // acquisition was made and series are held.
    bool ajoutPossible(TCentrale& centrale) const;

    // Number of values of committed series s: readers never go beyond it, whatever the
    // current settings say.
    int64_t nbPointsSerie(int s) const;
    // Number of rows every committed series can give, at most nbVoulu.
    int64_t nbPointsCommuns(int64_t nbVoulu) const;

    static QString texteCompteurSeries(int n);
    static QString texteDateAcq(const QDateTime& t, const QLocale& locale);

private:
    void grouperNouvelleSerie(int s);
};

// The point count the last committed acquisition showed: its acquired count carries the
// threshold mode's extra point, its duration does not.
int64_t nbPtsAffichesAX(const TCentrale& centrale);

// Re-applies the timing of the last committed acquisition (its duration and the point
// count it showed) so that the next one may be appended. Returns modeBalayage: 1 when the
// whole series is read after its end.
int retourAcqPrecedente(TCentrale& centrale);
