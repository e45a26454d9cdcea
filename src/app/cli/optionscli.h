#pragma once
// The options of the command-line tool, read without touching any unit: what is checked
// here is only the shape of each option. Durations, point counts and thresholds stay as
// typed: the settings routines read them as the window reads a typed value.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// One "--calibre EA0=1": the input and the range in volts, as typed.
struct TCalibreCli {
    QString entree;
    QString volts;
    bool operator==(const TCalibreCli&) const = default;
};

struct TOptionsCli {
    bool aide = false;
    bool lister = false;
    int typeCentrale = 0; // CENTRALE_…; 0: the unit the program would choose
    QStringList entrees;  // «EA0», «EA1»; empty: the default input
    std::vector<TCalibreCli> calibres;
    std::vector<int> differentiels; // channels 0..3
    std::optional<QString> duree;   // not given: the default duration
    std::optional<QString> points;
    int declenchement = -1; // 0 manual, 1 threshold, 2 external; -1: not given
    QString voieSynchro;    // «EA1»
    std::optional<QString> seuil;
    int sens = -1;           // 0 rising, 1 falling; -1: not given
    int pretrig = -1;        // item of the pretrigger list (0 %, 25 %, … 100 %); -1: not given
    int trames = 0;          // permanent mode with this many frames; 0: one acquisition
    double attenteMax = 0.0; // longest wait for the trigger, in seconds; 0: no limit
    // The files, with the extension of their format as the window gives it; «-» is the
    // standard output.
    QString regressi;
    QString txt;
    QString csv;
    bool csvVirgule = false; // "," as decimal separator in the CSV table

    bool operator==(const TOptionsCli&) const = default;
};

// The options, or the French message that says what is wrong.
struct TAnalyseCli {
    TOptionsCli options;
    QString erreur;
};

// The file name that stands for the standard output.
inline const QString sortieStandard = QStringLiteral("-");

// Reads the arguments that follow the program's name. Both "--option valeur" and
// "--option=valeur" are accepted; a value that would start with "--" is the next option,
// so the value is missing (write "--csv=--x" for such a name). Values with a unit are read
// with the program's reader and the separator in force (the tool sets the comma).
TAnalyseCli analyserOptions(const QStringList& arguments);

// The text of --help.
QString texteAideCli();

// «EA3» (any case) gives 3; -1 when the text is not an input name.
int numeroEntree(const QString& texte);
