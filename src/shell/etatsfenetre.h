// The rules that enable the controls fitting the window state MODEGENERAL. They work on
// TEtatControles, one flag per control; the main window mirrors the flags onto its widgets. What
// the rules read from the rest of the window comes in TFaitsFenetre.
#pragma once

#include "etatsacquisition.h"

#include <array>

// Largest zoom index (the zoom table has 7 entries).
inline constexpr int ZOOM_INDEX_MAX = 6;

// Enabled state of each control the rules name.
struct TEtatControles {
    // Timing
    bool CBDureeTotale = false;
    bool CBNbPoints = false;
    bool SBDureeTotalePlus = false;
    bool SBDureeTotaleMoins = false;
    bool SBNbPointsPlus = false;
    bool SBNbPointsMoins = false;
    bool BAcquisitionPrecedente = false;
    // Trigger
    bool CBTypeDeclenchement = false;
    bool RGSensDeclenchement = false;
    bool CBVoieSynchro = false;
    bool EditUSeuilDecl = false;
    bool CBPretrigX = false;
    // Acquisition
    bool CBModePermanent = false;
    bool CBAjouterCourbes = false;
    bool BAcquisition = false;
    // Channel panel: per input, per channel
    std::array<bool, 8> RGCalsEA{};
    std::array<bool, 8> CBVoiesActives{};
    std::array<bool, 4> CBModeDiff{};
    std::array<bool, 4> gbCanaux{};
    // Tool bar
    bool SBNouveau = false;
    bool SBenregistrerRW3 = false;
    bool SBenregistrerTXT = false;
    bool SBEnregistrerCSV = false;
    bool SBTransfertDirectREG = false;
    bool SBTransfertDirectExcel = false;
    bool SBtransfertDirectOOLO = false;
    bool SBVoirTableau = false;
    bool SBOptions = false;
    bool SBMesures = false;
    // Zoom
    bool SBZoomPlusH = false;
    bool SBZoomMoinsH = false;
    bool SBZoomPlusV = false;
    bool SBZoomMoinsV = false;
    // Every button of SBCentrales_ (they are switched together)
    bool SBCentrales_ = false;

    bool operator==(const TEtatControles&) const = default;
};

// What the rules read from the rest of the window.
struct TFaitsFenetre {
    int nbVoiesMesurees = 0;               // committed series in the store
    bool memesParametresTemporels = false; // current timing equals the last acquisition's
    bool ajoutPossible = false;            // "Ajouter les courbes" may be offered (TSeriesMesurees)
    bool OOInstalle = false;
    bool LOInstalle = false;
    bool msOfficeInstalle = false;
    int nbCentralesGerees = 0;
    int nbCanaux = 4; // channels of the active interface
    int nbEAU = 8;    // inputs of the active interface
    std::array<bool, 8> voiesActives{};
    std::array<bool, 4> canauxDiff{};
    int zoomIndexH = 0;
    int ZoomIndexV = 0;
    bool PTableauVisible = false;
};

// Work a rule leaves to other parts of the window.
struct TSuitesEtat {
    bool prepareComposantsDeclenchement = false; // refresh the trigger controls
    bool tableauPerime = false;                  // MAJTableauFaite := false
    bool reconstruireTableau = false;            // the table is shown: rebuild it now
};

// MODEGENERAL became a (the engine sets it): SBNouveau enabled exactly when a ≠ 0.
void etatSelonModeGeneral(TEtatControles& etat, TModeGeneral a);

// Start of a single acquisition, measurement panel, no interface: everything frozen.
void desactiveComposantsAcqSimple(TEtatControles& etat, const TFaitsFenetre& faits);
// End of a single acquisition, closing of the measurement panel.
TSuitesEtat activeComposantsAcqSimple(TEtatControles& etat, const TFaitsFenetre& faits);
// Start of a permanent acquisition: tool buttons frozen, settings stay live.
void desactiveComposantsAcqPermanente(TEtatControles& etat, const TFaitsFenetre& faits);
// End of a permanent acquisition.
void activeComposantsAcqPermanente(TEtatControles& etat, const TFaitsFenetre& faits);
// After every commit.
TSuitesEtat activeBoutonsOutils(TEtatControles& etat, const TFaitsFenetre& faits);
// New experiment.
TSuitesEtat desactiveBoutonsOutils(TEtatControles& etat);
// Interface buttons, only when there is a choice (two or more managed interfaces).
void activeSBCentrales(TEtatControles& etat, const TFaitsFenetre& faits);
void DesactiveSBCentrales(TEtatControles& etat, const TFaitsFenetre& faits);
// Zoom buttons after a zoom change: untouched during an acquisition, otherwise "+" below
// the largest index and "-" above 0.
void activerZooms(TEtatControles& etat, const TFaitsFenetre& faits, TModeGeneral MODEGENERAL);
void DesactiverZooms(TEtatControles& etat);
