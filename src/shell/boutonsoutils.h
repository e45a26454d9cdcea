// The tool bar: its buttons and hints, the hints of the settings panels, and the two
// sequences of the tool bar that decide something: a new experiment and leaving the
// program (quit button and close request). The sequences act through TActionsOutils, which
// the main window implements with its dialogs, its store and its acquisition engine.
#pragma once

#include "etatsacquisition.h"

#include <QString>

enum class TBoutonOutil {
    SBNouveau,
    SBenregistrerRW3,
    SBenregistrerTXT,
    SBEnregistrerCSV,
    SBTransfertDirectREG,
    SBTransfertDirectExcel,
    SBtransfertDirectOOLO,
    SBMesures,
    SBVoirTableau,
    SBOptions,
    SBAproposDe,
    SBQuitter,
    SBZoomPlusH,
    SBZoomMoinsH,
    SBZoomPlusV,
    SBZoomMoinsV,
    BFermerMesuresSurEcran,
};
inline constexpr int NB_BOUTONS_OUTILS = 17;

// Hint of a button as the program writes it, with "\n\r" between lines (empty for
// BFermerMesuresSurEcran, which has none).
const char* bulleBrute(TBoutonOutil bouton);
// The same, ready for a tooltip.
QString infoBulle(TBoutonOutil bouton);
// Hint of SBVoirTableau once the table is shown or hidden.
QString bulleVoirTableau(bool tableauVisible);
// "\n\r" (and "\r\n") become one line break.
QString texteInfoBulle(const char* texte);

// Hints of the settings panels, as the program writes them.
namespace BullesReglages {
inline constexpr const char* CBDureeTotale =
    "Sélectionnez une durée\n\rtotale pour la série\n\rde mesures. Vous pouvez\n\rsaisir "
    "d'autres valeurs\n\rque celles de la liste";
inline constexpr const char* CBNbPoints =
    "Sélectionnez le\n\rnombre de mesures\n\rsouhaité. Vous pouvez\n\rsaisir d'autres "
    "valeurs\n\rque celles de la liste";
inline constexpr const char* BAcquisitionPrecedente =
    "Permet de revenir \n\raux réglages de l'acquisition\n\rprécédente et donc "
    "d'ajouter\n\rles courbes";
inline constexpr const char* EditMessageX =
    "Donne quelques indications sur les opérations en cours.";
inline constexpr const char* EditPresence = "Indique si l'interface est installée et connectée.";
inline constexpr const char* SBRedRegTemp = "Réduire/Restaurer le panneau des réglages temporels";
inline constexpr const char* SBRedRegVoies = "Réduire/Restaurer le panneau de réglage des voies";
// The four +/- buttons of duration and number of points.
inline constexpr const char* valeurSuperieure = "Valeur immédiatement supérieure de la liste";
inline constexpr const char* valeurInferieure = "Valeur immédiatement inférieure de la liste";
} // namespace BullesReglages

// Texts of the questions and warnings of the sequences.
namespace TextesOutils {
inline constexpr const char* VRAIMENT_QUITTER = "Désirez-vous vraiment quitter \"Kirvane\" ?";
inline constexpr const char* ENREGISTRER_MESURES = "Désirez-vous enregistrer les mesures ?";
inline constexpr const char* TRANSFERT_EXCEL_EN_COURS =
    "Transfert vers Excel en cours; impossible de quitter: attendez la fin du transfert !";
inline constexpr const char* TRANSFERT_CALC_EN_COURS =
    "Transfert vers OpenOffice.Org Calc en cours; impossible de quitter: attendez la fin "
    "du transfert !";
} // namespace TextesOutils

enum class TReponse { Oui, Non, Annuler };

// What the sequences need from the window.
class TActionsOutils {
public:
    virtual ~TActionsOutils() = default;
    // Confirmation box: Yes/No, or Yes/No/Cancel when avecAnnuler.
    virtual TReponse demander(const QString& question, bool avecAnnuler) = 0;
    // Warning box with OK.
    virtual void avertir(const QString& message) = 0;
    // The save to a Regressi file of SBenregistrerRW3, save dialog included; true only
    // when the file was written (false when the user cancelled or the write failed).
    virtual bool enregistrerRW3() = 0;
    // New experiment: empties the store and resets the settings.
    virtual void RAZ() = 0;
    // Asks the running acquisition to stop, as BAcquisition does; returns at once, the
    // acquisition loop returns later.
    virtual void arreterAcquisition() = 0;
    // Stops the live-value timer and asks the window to close (a new close request).
    virtual void Quitter() = 0;
};

// What the sequences read from the window when they run.
struct TContexteOutils {
    TModeGeneral MODEGENERAL = MODE_VIERGE;
    bool enregistrerX = false; // unsaved measurements
    bool peutFermer = false;   // the interface choice was abandoned: close without asking
};

// New experiment, quit button and close request. Nothing of the store is touched while
// an acquisition loop runs: during an acquisition these requests stop it first and go on
// once the engine reports that its loop has returned (finBoucleAcquisition).
class TSequencesOutils {
public:
    explicit TSequencesOutils(TActionsOutils& actions) : actions(actions) {}

    // Click on SBNouveau.
    void clicNouveau(const TContexteOutils& ctx);
    // Click on SBQuitter.
    void clicQuitter(const TContexteOutils& ctx);
    // Close request of the window (FormCloseQuery): true when the window may close.
    bool demandeFermeture(const TContexteOutils& ctx);
    // The acquisition loop has returned: carries on with a request made while it ran.
    void finBoucleAcquisition(const TContexteOutils& ctx);

    enum class TSuite { Aucune, Nouveau, Quitter };
    // A request waiting for the end of the acquisition.
    TSuite suiteEnAttente() const { return suite; }

private:
    void attendreFinAcquisition(TSuite s);
    void nouvelleExperience(const TContexteOutils& ctx);

    TActionsOutils& actions;
    TSuite suite = TSuite::Aucune;
};
