#include "etatsfenetre.h"

#include <algorithm>

namespace {

bool avecMesures(const TFaitsFenetre& faits) {
    return faits.nbVoiesMesurees > 0;
}

bool calcInstalle(const TFaitsFenetre& faits) {
    return faits.OOInstalle || faits.LOInstalle;
}

void enregistrementsEtTransferts(TEtatControles& e, bool actifs) {
    e.SBenregistrerRW3 = actifs;
    e.SBenregistrerTXT = actifs;
    e.SBEnregistrerCSV = actifs;
    e.SBTransfertDirectREG = actifs;
    e.SBTransfertDirectExcel = actifs;
    e.SBtransfertDirectOOLO = actifs;
}

void zooms(TEtatControles& e, bool actifs) {
    e.SBZoomPlusH = actifs;
    e.SBZoomMoinsH = actifs;
    e.SBZoomPlusV = actifs;
    e.SBZoomMoinsV = actifs;
}

// The zoom indices are 0 after an acquisition, but the measurement panel can be closed on a
// zoomed graph: the buttons follow the indices rather than assume 0.
void zoomsSelonIndices(TEtatControles& e, const TFaitsFenetre& faits) {
    e.SBZoomPlusH = faits.zoomIndexH < ZOOM_INDEX_MAX;
    e.SBZoomMoinsH = faits.zoomIndexH > 0;
    e.SBZoomPlusV = faits.ZoomIndexV < ZOOM_INDEX_MAX;
    e.SBZoomMoinsV = faits.ZoomIndexV > 0;
}

// Save, transfer, table and measurement buttons once an acquisition has ended.
void boutonsApresAcquisition(TEtatControles& e, const TFaitsFenetre& faits) {
    const bool mesures = avecMesures(faits);
    enregistrementsEtTransferts(e, mesures);
    e.SBtransfertDirectOOLO = mesures && calcInstalle(faits);
    e.SBVoirTableau = mesures;
    e.SBMesures = mesures;
    e.SBOptions = true;
    zoomsSelonIndices(e, faits);
}

// Going back to the previous timing makes sense only when there is one and it differs.
bool acquisitionPrecedenteOfferte(const TFaitsFenetre& faits) {
    return avecMesures(faits) && !faits.memesParametresTemporels;
}

} // namespace

void etatSelonModeGeneral(TEtatControles& etat, TModeGeneral a) {
    etat.SBNouveau = a != MODE_VIERGE;
}

void desactiveComposantsAcqSimple(TEtatControles& e, const TFaitsFenetre& faits) {
    e.CBDureeTotale = e.CBNbPoints = false;
    e.SBDureeTotalePlus = e.SBDureeTotaleMoins = e.SBNbPointsPlus = e.SBNbPointsMoins = false;
    e.CBTypeDeclenchement = e.RGSensDeclenchement = e.CBVoieSynchro = false;
    e.EditUSeuilDecl = e.CBPretrigX = false;
    e.CBModePermanent = false;
    e.RGCalsEA.fill(false);
    e.CBVoiesActives.fill(false);
    e.CBModeDiff.fill(false);
    e.gbCanaux.fill(false);
    // Beyond the settings, the same controls as at the start of a permanent acquisition.
    desactiveComposantsAcqPermanente(e, faits);
}

TSuitesEtat activeComposantsAcqSimple(TEtatControles& e, const TFaitsFenetre& faits) {
    TSuitesEtat suites;
    e.CBDureeTotale = e.CBNbPoints = true;
    e.SBDureeTotalePlus = e.SBDureeTotaleMoins = e.SBNbPointsPlus = e.SBNbPointsMoins = true;
    e.CBTypeDeclenchement = true;
    suites.prepareComposantsDeclenchement = true;
    e.CBAjouterCourbes = faits.ajoutPossible;

    // Input i < nbCanaux is the first input of channel i; input nbCanaux + k is the second
    // input of channel k, unusable while k works in differential mode. Inputs the
    // interface does not have stay disabled (their controls are hidden).
    const int nbCanaux = std::clamp(faits.nbCanaux, 0, 4);
    const int nbEAU = std::clamp(faits.nbEAU, 0, 8);
    for (int i = 0; i < 8; ++i) {
        bool utilisable = false;
        if (i < nbEAU) {
            const int k = i - nbCanaux;
            utilisable = i < nbCanaux || (k < 4 && !faits.canauxDiff[k]);
        }
        e.CBVoiesActives[i] = utilisable;
        e.RGCalsEA[i] = utilisable && faits.voiesActives[i];
    }
    e.CBModeDiff.fill(true);
    e.gbCanaux.fill(true);

    e.BAcquisitionPrecedente = acquisitionPrecedenteOfferte(faits);
    e.CBModePermanent = true;
    e.SBNouveau = true;
    boutonsApresAcquisition(e, faits);
    activeSBCentrales(e, faits);
    return suites;
}

void desactiveComposantsAcqPermanente(TEtatControles& e, const TFaitsFenetre& faits) {
    e.SBNouveau = false;
    enregistrementsEtTransferts(e, false);
    zooms(e, false);
    e.SBVoirTableau = e.SBOptions = e.SBMesures = false;
    e.BAcquisitionPrecedente = false;
    e.CBAjouterCourbes = false;
    DesactiveSBCentrales(e, faits);
}

void activeComposantsAcqPermanente(TEtatControles& e, const TFaitsFenetre& faits) {
    e.SBNouveau = true;
    boutonsApresAcquisition(e, faits);
    e.BAcquisitionPrecedente = acquisitionPrecedenteOfferte(faits);
    activeSBCentrales(e, faits);
}

TSuitesEtat activeBoutonsOutils(TEtatControles& e, const TFaitsFenetre& faits) {
    TSuitesEtat suites;
    e.SBVoirTableau = true;
    suites.tableauPerime = true;
    suites.reconstruireTableau = faits.PTableauVisible;
    e.SBMesures = e.SBNouveau = true;
    e.SBenregistrerRW3 = e.SBEnregistrerCSV = e.SBTransfertDirectREG = e.SBenregistrerTXT = true;
    e.SBtransfertDirectOOLO = calcInstalle(faits);
    e.SBTransfertDirectExcel = faits.msOfficeInstalle;
    return suites;
}

TSuitesEtat desactiveBoutonsOutils(TEtatControles& e) {
    TSuitesEtat suites;
    e.SBVoirTableau = false;
    suites.tableauPerime = true;
    e.SBMesures = e.SBNouveau = false;
    enregistrementsEtTransferts(e, false);
    return suites;
}

void activeSBCentrales(TEtatControles& e, const TFaitsFenetre& faits) {
    if (faits.nbCentralesGerees >= 2)
        e.SBCentrales_ = true;
}

void DesactiveSBCentrales(TEtatControles& e, const TFaitsFenetre& faits) {
    if (faits.nbCentralesGerees >= 2)
        e.SBCentrales_ = false;
}

void activerZooms(TEtatControles& e, const TFaitsFenetre& faits, TModeGeneral MODEGENERAL) {
    if (acquisitionEnCours(MODEGENERAL))
        return;
    zoomsSelonIndices(e, faits);
}

void DesactiverZooms(TEtatControles& e) {
    zooms(e, false);
}
