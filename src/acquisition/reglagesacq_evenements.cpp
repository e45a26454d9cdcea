// The user's actions on the settings controls: applied at once when idle, handed to the
// engine as pending settings while an acquisition runs.
#include "reglagesacq.h"

#include <algorithm>
#include <cmath>
#include <functional>

int TReglagesAcq::itemVoisin(const QStringList& items, int index, const QString& texte,
                             double repli, bool plus) {
    const int n = static_cast<int>(items.size());
    if (n == 0)
        return -1;
    if (index >= 0 && index < n)
        return plus ? std::min(index + 1, n - 1) : std::max(index - 1, 0);
    double v = repli;
    if (!lireValeur(texte, v))
        v = repli;
    // An item within 0,2 % of the value is the value itself (a unit's 20 ms may be
    // 19,999… ms): the button moves past it.
    auto egal = [v](double w) { return std::fabs(w - v) < 0.002 * std::fabs(w); };
    if (plus) {
        for (int k = 0; k < n; ++k) {
            double w = 0.0;
            if (lireValeur(items[k], w) && w > v && !egal(w))
                return k;
        }
        return n - 1;
    }
    for (int k = n - 1; k >= 0; --k) {
        double w = 0.0;
        if (lireValeur(items[k], w) && w < v && !egal(w))
            return k;
    }
    return 0;
}

TEffetsReglages TReglagesAcq::pasListe(bool plus, const TListeReglage& l) {
    effets_ = {};
    if (centrale_ == nullptr || bloque)
        return effets_;
    const bool tape = l.index < 0;
    const int k = itemVoisin(l.items, l.index, l.texte, l.valeur, plus);
    l.deroulee = false;
    if (k < 0)
        return effets_;
    const QString texte = l.items[k];
    if (acquisitionEnCours()) {
        centrale_->arreteAcq();
        // A typed value stays shown; a list item moves as the button says.
        if (!tape) {
            l.index = k;
            l.texte = texte;
        }
        TReglageEnAttente r;
        r.code = l.code;
        r.*l.champ = texte;
        enAttente(r);
        return effets_;
    }
    l.index = k;
    l.texte = texte;
    (this->*l.changer)(texte);
    effets_.modifie = true;
    return effets_;
}

TEffetsReglages TReglagesAcq::pasDuree(bool plus) {
    return pasListe(plus, {etat.itemsDureeTotale, etat.indexDureeTotale, etat.texteDureeTotale,
                           centrale_ ? centrale_->dureeTotale0X : 0.0, CBDureeTotalederoulee,
                           MP_DUREE_TOTALE, &TReglagesMP::MPDureeTotale,
                           &TReglagesAcq::ChangeDureeTotale_});
}

TEffetsReglages TReglagesAcq::pasNbPoints(bool plus) {
    return pasListe(plus, {etat.itemsNbPoints, etat.indexNbPoints, etat.texteNbPoints,
                           centrale_ ? static_cast<double>(centrale_->nbPtsAffX) : 0.0,
                           CBNbPointsDeroulee, MP_NB_POINTS, &TReglagesMP::MPNbPts,
                           &TReglagesAcq::changeNbPts_});
}

void TReglagesAcq::differer(const TReglageEnAttente& r) {
    // The running frame ends now; the change waits for the engine.
    centrale_->arreteAcq();
    enAttente(r);
}

TEffetsReglages TReglagesAcq::clicEntree(int n, int nombre, const TReglageEnAttente& r,
                                         const std::function<void()>& appliquer,
                                         const std::function<void()>& montrer) {
    effets_ = {};
    if (centrale_ == nullptr || bloque || n < 0 || n >= nombre)
        return effets_;
    if (!acquisitionEnCours()) {
        appliquer();
        return effets_;
    }
    montrer();
    differer(r);
    return effets_;
}

TEffetsReglages TReglagesAcq::clicCalibre(int voie, int index) {
    TReglageEnAttente r;
    r.code = MP_CALIBRE;
    r.MPEntree = voie;
    r.MPCalibre = index;
    return clicEntree(
        voie, 8, r, [&] { changeCalibre_(voie, index); }, [&] { etat.indexCalibre[voie] = index; });
}

TEffetsReglages TReglagesAcq::clicVoieActive(int voie, bool cochee) {
    TReglageEnAttente r;
    r.code = MP_VOIE_ACTIVE;
    r.MPEntree = voie;
    r.MPVoieActive = cochee;
    return clicEntree(
        voie, 8, r, [&] { activationVoie_(voie, cochee); },
        [&] { etat.voieActive[voie] = cochee; });
}

TEffetsReglages TReglagesAcq::clicModeDiff(int canal, bool coche) {
    TReglageEnAttente r;
    r.code = MP_MODE_DIFF;
    r.MPEntree = canal;
    r.MPModeDiff = coche;
    return clicEntree(
        canal, 4, r, [&] { activationModeDiff_(canal, coche); },
        [&] { etat.modeDiff[canal] = coche; });
}

TEffetsReglages TReglagesAcq::choixDeclenchement(int& indexEtat, int index, TSortieMP code,
                                                 int TReglageEnAttente::*champ,
                                                 void (TReglagesAcq::*changer)(int)) {
    effets_ = {};
    if (centrale_ == nullptr || bloque)
        return effets_;
    indexEtat = index;
    if (permanenteEnCours()) {
        // Applied between two frames.
        TReglageEnAttente r;
        r.code = code;
        r.*champ = index;
        enAttente(r);
    } else if (!acquisitionEnCours()) {
        (this->*changer)(index);
        if (code == MP_PRETRIG) {
            effets_.grapheAvecCourbes = true;
            effets_.marquePretrig = true;
        }
    }
    return effets_;
}

TEffetsReglages TReglagesAcq::clicTypeDeclenchement(int index) {
    return choixDeclenchement(etat.indexTypeDeclenchement, index, MP_TYPE_DECL,
                              &TReglageEnAttente::MPTypeDecl, &TReglagesAcq::changeTypeDecl_);
}

TEffetsReglages TReglagesAcq::clicSensDeclenchement(int index) {
    return choixDeclenchement(etat.indexSensDeclenchement, index, MP_SENS_DECL,
                              &TReglageEnAttente::MPSensDecl, &TReglagesAcq::changeSensDecl_);
}

TEffetsReglages TReglagesAcq::clicVoieSynchro(int index) {
    return choixDeclenchement(etat.indexVoieSynchro, index, MP_VOIE_SYNCHRO,
                              &TReglageEnAttente::MPVoieSynchro, &TReglagesAcq::changeVoieSynchro_);
}

TEffetsReglages TReglagesAcq::clicPretrig(int index) {
    return choixDeclenchement(etat.indexPretrig, index, MP_PRETRIG, &TReglageEnAttente::MPPretrig,
                              &TReglagesAcq::changePretrig_);
}

void TReglagesAcq::entreeDureeTotale() {
    if (centrale_ != nullptr)
        AncDureeTotale = centrale_->dureeTotale0X;
    CBDureeTotaleIndex = etat.indexDureeTotale;
    saisieManuelle = false;
}

void TReglagesAcq::entreeNbPoints() {
    if (centrale_ != nullptr) {
        AncNbPts0X = centrale_->nbPts0X;
        AncNbPtsAff = centrale_->nbPtsAffX;
    }
    CBNbPointsIndex = etat.indexNbPoints;
    saisieManuelle = false;
}

void TReglagesAcq::entreeSeuil() {
    if (centrale_ != nullptr)
        AncUSeuilDecl = centrale_->USeuilDecl;
    saisieManuelle = true;
}

void TReglagesAcq::saisieDureeTotale(const QString& texte) {
    etat.texteDureeTotale = texte;
    etat.indexDureeTotale = static_cast<int>(etat.itemsDureeTotale.indexOf(texte));
    saisieManuelle = true;
}

void TReglagesAcq::saisieNbPoints(const QString& texte) {
    etat.texteNbPoints = texte;
    etat.indexNbPoints = static_cast<int>(etat.itemsNbPoints.indexOf(texte));
    saisieManuelle = true;
}

TEffetsReglages TReglagesAcq::selectionDureeTotale(int index) {
    effets_ = {};
    if (bloque || index < 0 || index >= etat.itemsDureeTotale.size())
        return effets_;
    etat.indexDureeTotale = index;
    etat.texteDureeTotale = etat.itemsDureeTotale[index];
    // Idle, a picked duration applies when the list is left.
    if (permanenteEnCours() && !saisieManuelle) {
        TReglageEnAttente r;
        r.code = MP_DUREE_TOTALE;
        r.MPDureeTotale = etat.texteDureeTotale;
        enAttente(r);
    }
    return effets_;
}

TEffetsReglages TReglagesAcq::selectionNbPoints(int index) {
    effets_ = {};
    if (bloque || index < 0 || index >= etat.itemsNbPoints.size())
        return effets_;
    etat.indexNbPoints = index;
    etat.texteNbPoints = etat.itemsNbPoints[index];
    if (permanenteEnCours() && !saisieManuelle) {
        TReglageEnAttente r;
        r.code = MP_NB_POINTS;
        r.MPNbPts = etat.texteNbPoints;
        enAttente(r);
    }
    return effets_;
}

TEffetsReglages TReglagesAcq::changementDureeTotale() {
    effets_ = {};
    if (bloque)
        return effets_;
    if (permanenteEnCours() && CBDureeTotalederoulee && !saisieManuelle) {
        TReglageEnAttente r;
        r.code = MP_DUREE_TOTALE;
        r.MPDureeTotale = etat.texteDureeTotale;
        enAttente(r);
    }
    CBDureeTotalederoulee = false;
    effets_.modifie = !acquisitionEnCours();
    return effets_;
}

TEffetsReglages TReglagesAcq::changementNbPoints() {
    effets_ = {};
    if (bloque)
        return effets_;
    if (permanenteEnCours() && CBNbPointsDeroulee && !saisieManuelle) {
        TReglageEnAttente r;
        r.code = MP_NB_POINTS;
        r.MPNbPts = etat.texteNbPoints;
        enAttente(r);
    }
    CBNbPointsDeroulee = false;
    effets_.modifie = !acquisitionEnCours();
    return effets_;
}

TEffetsReglages TReglagesAcq::sortieDureeTotale() {
    effets_ = {};
    if (bloqueExit || centrale_ == nullptr)
        return effets_;
    saisieManuelle = false;
    if (permanenteEnCours()) {
        TReglageEnAttente r;
        r.code = MP_DUREE_TOTALE;
        r.MPDureeTotale = etat.texteDureeTotale;
        enAttente(r);
    } else if (!acquisitionEnCours()) {
        ChangeDureeTotale_(etat.texteDureeTotale);
    }
    return effets_;
}

TEffetsReglages TReglagesAcq::sortieNbPoints() {
    effets_ = {};
    if (bloqueExit || centrale_ == nullptr)
        return effets_;
    saisieManuelle = false;
    if (permanenteEnCours()) {
        TReglageEnAttente r;
        r.code = MP_NB_POINTS;
        r.MPNbPts = etat.texteNbPoints;
        enAttente(r);
    } else if (!acquisitionEnCours()) {
        // The unit's answer is shown without the leave event firing again.
        bloqueExit = true;
        changeNbPts_(etat.texteNbPoints);
        bloqueExit = false;
    }
    return effets_;
}

TEffetsReglages TReglagesAcq::sortieSeuil() {
    effets_ = {};
    if (bloqueExit || centrale_ == nullptr)
        return effets_;
    saisieManuelle = false;
    if (permanenteEnCours()) {
        TReglageEnAttente r;
        r.code = MP_SEUIL;
        r.MPUSeuil = etat.texteSeuil;
        enAttente(r);
    } else if (!acquisitionEnCours()) {
        changeUSeuil_(etat.texteSeuil);
    }
    return effets_;
}

TEffetsReglages TReglagesAcq::clicAcquisitionPrecedente() {
    effets_ = {};
    if (bloqueExit || centrale_ == nullptr)
        return effets_;
    if (permanenteEnCours()) {
        TReglageEnAttente r;
        r.code = MP_ACQ_PRECEDENTE;
        enAttente(r);
    } else if (!acquisitionEnCours()) {
        RetourAcqPrecedente_();
    }
    return effets_;
}
