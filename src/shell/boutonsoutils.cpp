#include "boutonsoutils.h"

#include "chaines.h"
#include "etatsfenetre.h"

const char* bulleBrute(TBoutonOutil bouton) {
    switch (bouton) {
    case TBoutonOutil::SBNouveau:
        return "Commencer une nouvelle expérience \n\r(effacement des données acquises et "
               "\n\rréinitialisation des réglages).";
    case TBoutonOutil::SBenregistrerRW3:
        return "Enregistrer les mesures dans un \n\rfichier au format REGRESSI (*.rw3)";
    case TBoutonOutil::SBenregistrerTXT:
        return "Enregistrer les mesures dans un \n\rfichier au format texte standard (*.txt)";
    case TBoutonOutil::SBEnregistrerCSV:
        return "Enregistrer les mesures dans un \n\rfichier au format CSV, séparateur ; (*.csv)";
    case TBoutonOutil::SBTransfertDirectREG:
        return "Transférer directement les mesures dans REGRESSI \n\r(en ouvrant REGRESSI, si "
               "les paramètres sont corrects)";
    case TBoutonOutil::SBTransfertDirectExcel:
        return "Transférer directement les mesures dans Microsoft EXCEL \n\r(si Microsoft "
               "EXCEL est installé)";
    case TBoutonOutil::SBtransfertDirectOOLO:
        return "Transférer directement les mesures dans OpenOffice \n\rou LibreOffice (suivant "
               "celui qui est installé)";
    case TBoutonOutil::SBMesures:
        return "Ouvrir la boite de dialogue de mesures sur le graphique";
    case TBoutonOutil::SBVoirTableau:
        return "Afficher le tableau de mesures";
    case TBoutonOutil::SBOptions:
        return "Choisir les paramètres de configuration";
    case TBoutonOutil::SBAproposDe:
        return "Informations générales";
    case TBoutonOutil::SBQuitter:
        return "Sysam, ferme-toi !";
    case TBoutonOutil::SBZoomPlusH:
        return "Augmenter le zoom horizontal";
    case TBoutonOutil::SBZoomMoinsH:
        return "Reduire le zoom horizontal";
    case TBoutonOutil::SBZoomPlusV:
        return "Augmenter le zoom vertical";
    case TBoutonOutil::SBZoomMoinsV:
        return "Reduire le zoom vertical ";
    case TBoutonOutil::BFermerMesuresSurEcran:
        return "";
    }
    return "";
}

QString texteInfoBulle(const char* texte) {
    return sautsDeLigne(QString::fromUtf8(texte));
}

QString infoBulle(TBoutonOutil bouton) {
    return texteInfoBulle(bulleBrute(bouton));
}

QString bulleVoirTableau(bool tableauVisible) {
    return QString::fromUtf8(tableauVisible ? "Masquer le tableau de mesures"
                                            : "Afficher le tableau de mesures");
}

// ---- Sequences ----

void TSequencesOutils::attendreFinAcquisition(TSuite s) {
    // Leaving wins over a new experiment: the close request asks about saving anyway.
    if (suite == TSuite::Quitter)
        return;
    const bool dejaDemande = suite != TSuite::Aucune;
    suite = s;
    if (!dejaDemande)
        actions.arreterAcquisition();
}

void TSequencesOutils::nouvelleExperience(const TContexteOutils& ctx) {
    if (!ctx.enregistrerX) {
        actions.RAZ();
        return;
    }
    switch (actions.demander(QString::fromUtf8(TextesOutils::ENREGISTRER_MESURES), true)) {
    case TReponse::Oui:
        // Unsaved measurements are never thrown away: no reset when nothing was saved.
        if (actions.enregistrerRW3())
            actions.RAZ();
        break;
    case TReponse::Non:
        actions.RAZ();
        break;
    case TReponse::Annuler:
        break;
    }
}

void TSequencesOutils::clicNouveau(const TContexteOutils& ctx) {
    if (acquisitionEnCours(ctx.MODEGENERAL)) {
        attendreFinAcquisition(TSuite::Nouveau);
        return;
    }
    nouvelleExperience(ctx);
}

void TSequencesOutils::clicQuitter(const TContexteOutils& ctx) {
    if (acquisitionEnCours(ctx.MODEGENERAL)) {
        attendreFinAcquisition(TSuite::Quitter);
        return;
    }
    actions.Quitter();
}

bool TSequencesOutils::demandeFermeture(const TContexteOutils& ctx) {
    if (ctx.peutFermer)
        return true;
    if (ctx.MODEGENERAL == MODE_TRANSFERT_EXCEL) {
        actions.avertir(QString::fromUtf8(TextesOutils::TRANSFERT_EXCEL_EN_COURS));
        return false;
    }
    if (ctx.MODEGENERAL == MODE_TRANSFERT_CALC) {
        actions.avertir(QString::fromUtf8(TextesOutils::TRANSFERT_CALC_EN_COURS));
        return false;
    }
    // The window is not destroyed under a running acquisition loop: stop it, and close
    // again (with the questions) once the loop has returned.
    if (acquisitionEnCours(ctx.MODEGENERAL)) {
        attendreFinAcquisition(TSuite::Quitter);
        return false;
    }
    if (actions.demander(QString::fromUtf8(TextesOutils::VRAIMENT_QUITTER), false) != TReponse::Oui)
        return false;
    if (!ctx.enregistrerX)
        return true;
    switch (actions.demander(QString::fromUtf8(TextesOutils::ENREGISTRER_MESURES), true)) {
    case TReponse::Oui:
        // A cancelled or failed save keeps the window open with its measurements.
        if (!actions.enregistrerRW3())
            return false;
        actions.RAZ();
        return true;
    case TReponse::Non:
        actions.RAZ();
        return true;
    case TReponse::Annuler:
        break;
    }
    return false;
}

void TSequencesOutils::finBoucleAcquisition(const TContexteOutils& ctx) {
    const TSuite enAttente = suite;
    suite = TSuite::Aucune;
    switch (enAttente) {
    case TSuite::Aucune:
        break;
    case TSuite::Nouveau:
        nouvelleExperience(ctx);
        break;
    case TSuite::Quitter:
        actions.Quitter();
        break;
    }
}
