#pragma once
// What the file writers read, copied from the series store, the unit and the window at the
// moment of saving. The writers are pure functions of this snapshot: the same snapshot gives
// the same bytes on every platform.
#include "couleurs.h"

#include <QChar>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

class TSeriesMesurees;
class TCentrale;

// One measured series as the files describe it.
struct TSerieExport {
    QString sEnteteVM; // name with its index markup, «u[0_M]»
    TColor clVM = 0;
    int calVM = 0; // range index of the input
    bool ModeDiffVM = false;
    QString capCommRegvoie1VM;  // input carrying the signal, «EA1»
    QString capCommRegvoie2VM;  // second input of a differential pair
    std::vector<float> valeurs; // volts, one per sample
};

// The single line of free text of the Regressi file's personal comment.
inline const QString texteComPersoDefaut = QString::fromUtf8("Bonnes mesures avec Kirvane !");

struct TInstantaneExport {
    std::vector<TSerieExport> series;
    double dtAX = 0.0;   // sampling interval of the last acquisition, in seconds
    int64_t nbPtsAX = 0; // samples acquired per series
    // Duration of the committed series; a left cursor at or beyond it selects nothing.
    // Infinite when unknown: the sample indices alone then bound the rows.
    double dureeTotaleAX = std::numeric_limits<double>::infinity();
    QString nomCentrale;  // «SYSAM SP5»
    float t0 = 0.0f;      // left green cursor, seconds from the start of the series
    double tFin = 0.0;    // right green cursor
    QDateTime heureAcq;   // date and time of the acquisition
    QDateTime maintenant; // moment of writing, for the page comment
    QLocale locale = QLocale::c();
    QString formatDate = QStringLiteral("dd/MM/yyyy"); // regional short date
    QString formatHeure = QStringLiteral("HH:mm:ss");  // regional long time
    QChar separateur = u'.';        // regional decimal separator, kept by the comment lines
    QString cheminExecutable;       // full path of the program, native separators
    QString titreProgramme;         // «Kirvane - 3.2.2.0»
    int OptionCouleursRegressi = 1; // 1: the Regressi file carries the curve colours
    QString commentairePerso = texteComPersoDefaut;
    // Decimal separator of the CSV table: '.' (the format's own) or ',' (read as numbers by
    // a spreadsheet set up for French); the columns stay separated by ";".
    char separateurCSV = '.';
};

// The settings of the window that the snapshot takes besides the store and the unit.
struct TContexteExport {
    float t0 = 0.0f;
    double tFin = 0.0;
    int OptionCouleursRegressi = 1;
    char separateurCSV = '.';
};

// Fills a snapshot from the committed series of the store and the unit's last timing; the
// clock, the regional formats and separator, the program's path and title come from the
// running program.
TInstantaneExport instantaneExport(const TSeriesMesurees& store, const TCentrale& centrale,
                                   const TContexteExport& contexte);

// The regional short date format and the long time format without its time zone
// («HH:mm:ss t» gives «HH:mm:ss»), as the files write them.
struct TFormatsRegionaux {
    QString date;
    QString heure;
};
TFormatsRegionaux formatsRegionaux(const QLocale& locale);

// Samples between the green cursors: rows i0..i1, never empty.
struct TSelection {
    int64_t i0 = 0;
    int64_t i1 = 0;
    int64_t nbLignes() const { return i1 - i0 + 1; }
};

// i0 = Round(t0 / dtAX) and not below 0, i1 = Round(tFin / dtAX) and not beyond
// dernierIndex; nothing when no sample lies between them (or the interval is not usable).
std::optional<TSelection> selectionEchantillons(double dtAX, float t0, double tFin,
                                                int64_t dernierIndex);

// The rows of the Regressi file: its first six series, within the samples acquired.
// Nothing when the left cursor lies at or beyond the end of the committed series, in time
// (dureeTotaleAX) or in samples (its sample is the last one or further): the markers may
// still stand where a longer duration put them.
std::optional<TSelection> selectionRegressi(const TInstantaneExport& e);
// The same rule for the first nbSeries series (the Excel sheet takes up to 500).
std::optional<TSelection> selectionPremieresSeries(const TInstantaneExport& e,
                                                   std::size_t nbSeries);
// The rows of the text and CSV tables: every series, with the same rule.
std::optional<TSelection> selectionTableaux(const TInstantaneExport& e);

// Time of row i from the left green cursor, counted in samples from the first row i0 plus
// the cursor's distance to that sample. The cursor is held in single precision: when it sits
// on its sample that distance is a rounding residue (3.8E-11 at 20 ms) and is taken as 0, so
// the first row is exactly 0.
double tempsDepuisCurseur(const TInstantaneExport& e, int64_t i0, int64_t i);

// Date and time texts of the comment lines, in the regional formats.
QString texteDate(const TInstantaneExport& e, const QDateTime& moment);
QString texteHeure(const TInstantaneExport& e, const QDateTime& moment);
// «Mesures réalisées avec l'interface SYSAM SP5 le 09/12/2026 à 10:15:00».
QString texteMesuresRealisees(const TInstantaneExport& e, const QDateTime& moment);
