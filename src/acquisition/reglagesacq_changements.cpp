// The change routines: one setting of the unit changed, the dependent controls refreshed.
// They never touch the series store: the committed series stay until the next
// acquisition starts (PrepareTV2 runs there, and between frames in permanent mode).
#include "reglagesacq.h"

#include "formats.h"
#include "seriesmesurees.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const MSG_DUREE = "Valeur de durée totale incorrecte. Veuillez rectifier.";
const char* const MSG_NB_POINTS = "Le nombre de points saisi est incorrect. Veuillez rectifier.";
const char* const MSG_SEUIL = "La valeur du seuil de déclenchement comporte une erreur de saisie.";

// An integer as typed in the point list (spaces around allowed).
bool lireEntier(const QString& texte, int64_t& n) {
    bool ok = false;
    const qlonglong v = texte.trimmed().toLongLong(&ok);
    if (ok)
        n = v;
    return ok;
}

} // namespace

// Shared tail of the timing changes: time base copied before the first acquisition,
// "Acquisition précédente", "Ajouter les courbes", trigger offer and texts.
void TReglagesAcq::apresTemps() {
    TCentrale& u = *centrale_;
    modeBalayage = u.dureeTotale0X <= u.tRemanence ? 1 : 0;
    u.modeRecuperation = modeBalayage;
    if (recepteur_.premiereAcq()) {
        u.dtAX = u.dt0X;
        u.nbPtsAX = u.nbPts0X;
        u.dureeTotaleAX = u.dureeTotale0X;
    }
    etat.BAcquisitionPrecedente = u.acquisitionFaite && !u.memesParametresTemporels();
    prepareCBAjouterCourbes();
    // The pretrigger offer depends on the duration.
    prepareComposantsDeclenchement();
    afficheParametresT();
    effets_.axeTemps = true;
    effets_.modeDessinVM = true;
    effets_.grapheSansCourbes = true;
}

TEffetsReglages TReglagesAcq::ChangeDureeTotale(const QString& s1) {
    return effetsDe([&] { ChangeDureeTotale_(s1); });
}

void TReglagesAcq::ChangeDureeTotale_(const QString& s1) {
    if (centrale_ == nullptr)
        return;
    TCentrale& u = *centrale_;
    double v = 0.0;
    if (!lireValeur(s1, v, u"s")) {
        // The unit was not touched: the previous duration stays in force, the list keeps
        // the typed text for the user to mend.
        effets_.information = QString::fromUtf8(MSG_DUREE);
        etat.texteDureeTotale = s1;
        etat.indexDureeTotale = -1;
        return;
    }
    const double d = std::max(std::min(v, 3600.0), u.dureeMin);
    u.setDurees(d, u.nbPtsAffX, false);
    apresTemps();
    CBDureeTotaleIndex = etat.indexDureeTotale;
}

TEffetsReglages TReglagesAcq::changeNbPts(const QString& s1) {
    return effetsDe([&] { changeNbPts_(s1); });
}

void TReglagesAcq::changeNbPts_(const QString& s1) {
    if (centrale_ == nullptr)
        return;
    TCentrale& u = *centrale_;
    int64_t n = 0;
    if (!lireEntier(s1, n)) {
        effets_.information = QString::fromUtf8(MSG_NB_POINTS);
        afficheParametresT(); // the list shows the count in force
        return;
    }
    // The unit adjusts the count or ignores it; the list shows what it kept, never the
    // typed count when it was refused.
    u.setDurees(u.dureeTotale0X, n, false);
    apresTemps();
    CBNbPointsIndex = etat.indexNbPoints;
}

TEffetsReglages TReglagesAcq::activationVoie(int voie1, bool active1) {
    return effetsDe([&] { activationVoie_(voie1, active1); });
}

void TReglagesAcq::activationVoie_(int voie1, bool active1) {
    if (centrale_ == nullptr || voie1 < 0 || voie1 >= std::min(centrale_->nbEAU, 8))
        return;
    TCentrale& u = *centrale_;
    if (active1) {
        u.activeVoieA(static_cast<uint8_t>(voie1), false);
    } else {
        u.desactiveVoieA(static_cast<uint8_t>(voie1), false);
        effets_.viderValeurU = voie1;
    }
    etat.voieActive[voie1] = active1;
    etat.calibreActif[voie1] = active1;
    etat.valeurActive[voie1] = active1;
    u.determine_tSkipAcquisition();
    prepareComposantsDeclenchement();
    afficheParametresT();
    effets_.zoomReapplique = true;
    prepareCBVoieSynchro();
    prepareCBAjouterCourbes();
    u.prepareTousPRX(false);
    effets_.modeDessinVM = true;
    effets_.modifie = true;
    if (u.nbVoiesActivesX > 0) {
        u.prepareInterfacePourAcq(false);
        u.PrepareIdxTraitKirvane();
        effets_.grapheAvecCourbes = true;
    }
    // No signal left (an active input may be the second of a differential channel).
    if (u.nbVoiesSignaux <= 0 && acquisitionEnCours())
        effets_.validerAcquisition = true;
}

TEffetsReglages TReglagesAcq::changeCalibre(int voie1, int calibre1) {
    return effetsDe([&] { changeCalibre_(voie1, calibre1); });
}

void TReglagesAcq::changeCalibre_(int voie1, int calibre1) {
    if (centrale_ == nullptr || voie1 < 0 || voie1 >= std::min(centrale_->nbEAU, 8))
        return;
    TCentrale& u = *centrale_;
    u.setCal(static_cast<uint8_t>(voie1), calibre1, false);
    etat.indexCalibre[voie1] = u.VoiesX[voie1].idxCalibreUt;
    u.determine_tSkipAcquisition();
    if (voie1 == u.voieSynchro) {
        u.setSeuilDecl(seuilDansCalibre(u.USeuilDecl, calibreVoie(voie1)));
        etat.texteSeuil = texteG6(u.USeuilDecl);
    }
    u.Reset();
    u.prepareTousPRX(true);
    prepareCBAjouterCourbes();
    effets_.zoomReapplique = true;
    effets_.grapheAvecCourbes = true;
    effets_.modifie = true;
}

TEffetsReglages TReglagesAcq::activationModeDiff(int voie1, bool actif1) {
    return effetsDe([&] { activationModeDiff_(voie1, actif1); });
}

void TReglagesAcq::activationModeDiff_(int voie1, bool actif1) {
    if (centrale_ == nullptr || voie1 < 0 || voie1 >= std::min(centrale_->nbCanauxUt, 4))
        return;
    TCentrale& u = *centrale_;
    u.setModeDiff(voie1, actif1, false);
    etat.modeDiff[voie1] = actif1;
    u.determine_tSkipAcquisition();
    prepareComposantsDeclenchement();
    afficheParametresT();
    const int partenaire = voie1 + u.nbCanauxUt;
    if (partenaire < 8) {
        const bool partenaireActif =
            partenaire < static_cast<int>(u.VoiesX.size()) && u.VoiesX[partenaire].active;
        etat.voieActivable[partenaire] = !actif1;
        etat.calibreActif[partenaire] = !actif1 && partenaireActif;
    }
    u.prepareTousPRX(true);
    effets_.zoomReapplique = true;
    prepareCBAjouterCourbes();
    prepareCBVoieSynchro();
    PrepareComposantsIndicesUx();
    effets_.grapheAvecCourbes = true;
    effets_.modifie = true;
}

TEffetsReglages TReglagesAcq::changeTypeDecl(int typeDecl1) {
    return effetsDe([&] { changeTypeDecl_(typeDecl1); });
}

void TReglagesAcq::changeTypeDecl_(int typeDecl1) {
    if (centrale_ == nullptr)
        return;
    TCentrale& u = *centrale_;
    u.setModeDeclenchement(std::clamp(typeDecl1, 0, 2), true);
    // The threshold mode acquires one point more, used by the sub-sample alignment.
    u.nbPts0X = u.modeDecl == 1 ? u.nbPtsAffX + 1 : u.nbPtsAffX;
    prepareComposantsDeclenchement();
    // The acquired count changed: the previous timing may differ now.
    etat.BAcquisitionPrecedente = u.acquisitionFaite && !u.memesParametresTemporels();
    prepareCBAjouterCourbes();
    if (u.modeDecl == 0)
        effets_.grapheAvecCourbes = true;
    else
        effets_.marquePretrig = true;
}

TEffetsReglages TReglagesAcq::changeSensDecl(int sensDecl1) {
    return effetsDe([&] { changeSensDecl_(sensDecl1); });
}

void TReglagesAcq::changeSensDecl_(int sensDecl1) {
    if (centrale_ == nullptr)
        return;
    TCentrale& u = *centrale_;
    const int sens = std::clamp(sensDecl1, 0, 1);
    if (u.modeDecl == 1)
        u.setSensDeclSeuil(sens, true);
    else if (u.modeDecl == 2)
        u.setSensDeclEchelon(sens, true);
    else
        return;
    etat.indexSensDeclenchement = sens;
}

TEffetsReglages TReglagesAcq::changeVoieSynchro(int index1) {
    return effetsDe([&] { changeVoieSynchro_(index1); });
}

void TReglagesAcq::changeVoieSynchro_(int index1) {
    if (centrale_ == nullptr)
        return;
    TCentrale& u = *centrale_;
    // An index past the signals (a list not refreshed yet) is not read.
    if (index1 < 0 || index1 >= u.nbVoiesSignaux ||
        index1 >= static_cast<int>(u.VoiesActivesSignaux.size()))
        return;
    u.setVoieSynchro(u.VoiesActivesSignaux[index1], true);
    etat.indexVoieSynchro = u.voieSynchroVA;
}

TEffetsReglages TReglagesAcq::changePretrig(int index1) {
    return effetsDe([&] { changePretrig_(index1); });
}

void TReglagesAcq::changePretrig_(int index1) {
    if (centrale_ == nullptr)
        return;
    const int idx = std::clamp(index1, 0, 4);
    centrale_->setPretrig(idx, true);
    afficheParametresT();
}

TEffetsReglages TReglagesAcq::changeUSeuil(const QString& s1) {
    return effetsDe([&] { changeUSeuil_(s1); });
}

void TReglagesAcq::changeUSeuil_(const QString& s1) {
    if (centrale_ == nullptr)
        return;
    TCentrale& u = *centrale_;
    double v = 0.0;
    if (!lireValeur(s1, v, u"V")) {
        effets_.information = QString::fromUtf8(MSG_SEUIL);
        u.setSeuilDecl(AncUSeuilDecl);
        etat.texteSeuil = texteG6(u.USeuilDecl);
        return;
    }
    u.USeuilDecl = seuilDansCalibre(static_cast<float>(v), calibreVoie(u.voieSynchro));
    u.setSeuilDecl(u.USeuilDecl);
    etat.texteSeuil = texteG6(u.USeuilDecl);
    u.prepareTousPRX(true);
    effets_.modifie = true;
}

TEffetsReglages TReglagesAcq::RetourAcqPrecedente() {
    return effetsDe([&] { RetourAcqPrecedente_(); });
}

void TReglagesAcq::RetourAcqPrecedente_() {
    if (centrale_ == nullptr)
        return;
    TCentrale& u = *centrale_;
    // The shown count, not nbPtsAX: in threshold mode that one carries the extra point
    // and the unit would add another.
    const int64_t nbAff = ::nbPtsAffichesAX(u);
    u.setDurees(u.dureeTotaleAX, nbAff, true);
    modeBalayage = u.dureeTotale0X <= u.tRemanence ? 1 : 0;
    u.modeRecuperation = modeBalayage;
    prepareComposantsDeclenchement();
    afficheParametresT();
    etat.BAcquisitionPrecedente = false;
    prepareCBAjouterCourbes();
    u.prepareTousPRX(true);
    effets_.axeTemps = true;
    effets_.modeDessinVM = true;
    effets_.grapheAvecCourbes = true;
}

TEffetsReglages TReglagesAcq::appliquer(const TReglageEnAttente& r) {
    switch (r.code) {
    case MP_VOIE_ACTIVE:
        return activationVoie(r.MPEntree, r.MPVoieActive);
    case MP_CALIBRE:
        return changeCalibre(r.MPEntree, r.MPCalibre);
    case MP_NB_POINTS:
        return changeNbPts(r.MPNbPts);
    case MP_DUREE_TOTALE:
        return ChangeDureeTotale(r.MPDureeTotale);
    case MP_MODE_DIFF:
        return activationModeDiff(r.MPEntree, r.MPModeDiff);
    case MP_TYPE_DECL:
        return changeTypeDecl(r.MPTypeDecl);
    case MP_SEUIL:
        return changeUSeuil(r.MPUSeuil);
    case MP_SENS_DECL:
        return changeSensDecl(r.MPSensDecl);
    case MP_VOIE_SYNCHRO:
        return changeVoieSynchro(r.MPVoieSynchro);
    case MP_PRETRIG:
        return changePretrig(r.MPPretrig);
    case MP_ACQ_PRECEDENTE:
        return RetourAcqPrecedente();
    default:
        return {};
    }
}
