#pragma once
// The preferences as the preferences dialog edits them, and the rules of that dialog without
// a window: reading the typed default duration and point count, the pretrigger limit, the
// transfer options of three radio buttons, the Regressi program chosen, and the curves
// recoloured when the colour of an input changes.
#include "couleurs.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The values the dialog shows and changes (fields of the main window).
struct TValeursPreferences {
    double DureeTotaleDFT = 0.02;
    int64_t NbPtsDFT = 1001;
    double tMaxPretrigDispo = 5.0;
    bool optionEffaceTrame = false;
    int optionTransfertREGRESSI = 0; // 0 new file, 1 new page, 3 ask each time
    int optionTransfertEXCEL = 0;    // 0 new workbook, 1 new sheet, 3 ask each time
    int optionTransfertOOo = 0;      // likewise
    int optionSeparateurCSV = 0;     // 0 "." in the CSV files, 1 ","
    bool versionRegressiDefaut = true;
    QString cheminREGRESSINonDefautX;
    int OptionCouleursRegressi = 1;
    bool enregistrerCouleurs = false;
    std::array<TColor, 8> clsVX = ::clsV0;
    std::array<TColor, 8> clsV0 = ::clsV0;
};

// What the dialog asks of the active unit. Without a unit the typed values are only checked.
struct TUnitePreferences {
    bool pretrigDispo = true;
    int64_t nbPtsMin = 11;
    int64_t nbPtsMax = 50001;
    double dureeTotale0X = 0.02; // the current settings ("Paramètres actuels"): the duration
    int64_t nbPts0X = 1001;      // and the point count shown (without the threshold's extra)
    // The unit's generic timing: brings a duration and a point count to values it can
    // acquire (setDureesGeneriques with its fastest sampling).
    std::function<void(double& duree, int64_t& nbPts)> ajusterDurees;
};

namespace TextesPreferences {
inline constexpr const char* DUREE_INCORRECTE = "Saisie incorrecte de la durée totale par défaut";
inline constexpr const char* DUREE_MAX = "Valeur maximale admise: 3600 s";
inline constexpr const char* DUREE_MIN = "Valeur minimale admise: 1 µs";
inline constexpr const char* NB_POINTS_INCORRECT =
    "Saisie incorrecte du nombre de points par défaut";
inline constexpr const char* NB_POINTS_MIN = "Valeur minimale admise: 1 point";
// Followed by the unit's maximum and " points".
inline constexpr const char* NB_POINTS_MAX = "Valeur maximale admise: ";
} // namespace TextesPreferences

// A typed value accepted, or the French message that refuses it.
template <typename T> struct TSaisie {
    std::optional<T> valeur;
    QString message;
};

// The default duration typed: readable, from 1 µs to 3600 s (signed: a negative duration is
// refused like a too short one).
TSaisie<double> lireDureeDefaut(const QString& texte);
// The default point count typed: readable, from 1 to nbMax, then rounded (halves to even).
// The range is checked before the conversion, so that «1e30» is refused and not wrapped.
TSaisie<int64_t> lireNbPointsDefaut(const QString& texte, int64_t nbMax);

// The three radio buttons of a transfer option, in the order of the stored values.
enum class TChoixTransfert { NouveauDocument, NouvellePage, Demander };
// 0, 1 or 3.
int optionTransfert(TChoixTransfert choix);
// The button ticked for a stored option; an unknown value ticks the new-document button.
TChoixTransfert choixTransfert(int option);

// The Regressi program once the dialog closes with "Appliquer": the default place when the
// box "par défaut" is ticked; otherwise the chosen file when it exists and is named
// REGRESSI.EXE (any case), else back to the default place.
struct TRegressiChoisi {
    bool versionRegressiDefaut = true;
    QString cheminREGRESSINonDefautX; // kept as it was when the default place is used
    QString cheminRegressiUt;         // the program the transfers start
};
TRegressiChoisi regressiChoisi(bool defautCoche, const QString& cheminEdite,
                               const QString& cheminNonDefautActuel, const QString& cheminOfficiel,
                               const std::function<bool(const QString&)>& fichierExiste);

// New colours of the inputs: every curve drawn in the old colour of an input j < nbEAU takes
// its new colour (the first input of that colour decides), then the inputs take theirs.
void appliquerCouleurs(std::vector<TColor>& couleursCourbes, std::array<TColor, 8>& clsVX,
                       const std::array<TColor, 8>& nouvelles, int nbEAU);

// The rules of the time page: the values being edited, the lists they are chosen from, and
// the texts and items the three lists show.
class TReglesPreferences {
public:
    TValeursPreferences v;
    TUnitePreferences unite;
    QStringList itemsDurees;        // CBDureeTotaledft
    QStringList itemsNbPoints;      // CBNbPointsdft
    QStringList itemsSeuilsPretrig; // CBSeuilPretrig (the durations from "1 s" on)

    // What the three lists show (prepareIndexs).
    int indexDuree = -1;
    QString texteDuree;
    int indexNbPoints = -1;
    QString texteNbPoints;
    int indexSeuilPretrig = -1;
    void prepareIndexs();

    // Leaving a list (or pressing Enter in it): the message when the text is refused, the
    // text then showing the value in force; empty when accepted. The accepted value goes
    // through the unit's adjustment and the lists show the result.
    QString sortieDuree(const QString& texte);
    QString sortieNbPoints(const QString& texte);
    // An unreadable item leaves the limit unchanged.
    void sortieSeuilPretrig(const QString& texte);
    // "Paramètres actuels": the unit's current settings become the defaults.
    void parametresActuels();
    // "Valeur par défaut" of the pretrigger limit: the third item.
    void seuilPretrigDefaut();

    // The duration in force as the list writes it.
    static QString texteDureeDefaut(double duree);

private:
    void etapeCommune();
};
