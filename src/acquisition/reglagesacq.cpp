// The settings panel filled from the unit: lists, default settings, trigger controls and
// the timing texts.
#include "reglagesacq.h"

#include "formats.h"
#include "lecture.h"
#include "seriesmesurees.h"

#include <algorithm>
#include <cmath>

namespace {

// General format with 5 significant digits of a positive value of at least 1 (the
// durations past the list's 500 s): fixed notation, trailing zeros dropped.
QString texteG5(double v) {
    const Chiffres c = chiffres(v, 5);
    QString s = QString::number(c.entier);
    const int entiers = c.exposant + 1;
    if (entiers >= s.size())
        return s + QString(entiers - s.size(), u'0');
    QString fraction = s.mid(entiers);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    s.truncate(entiers);
    return fraction.isEmpty() ? s : s + separateurDecimal() + fraction;
}

} // namespace

TReglagesAcq::TReglagesAcq(TRecepteurReglages& recepteur) : recepteur_(recepteur) {}

const QStringList& TReglagesAcq::listeDurees() {
    static const QStringList liste = [] {
        QStringList l;
        // «1 µs» ... «500 s»: whole numbers before the prefix, so that the texts read
        // the same whatever the decimal separator.
        for (int decade = -6; decade <= 2; ++decade) {
            const int groupe = decade >= 0 ? decade / 3 : -((2 - decade) / 3);
            const int puissance = decade - 3 * groupe;
            for (int m : {1, 2, 5}) {
                int entier = m;
                for (int j = 0; j < puissance; ++j)
                    entier *= 10;
                l << QString::number(entier) + u' ' + prefixeSI(groupe).texte.toString() + u's';
            }
        }
        l << QStringLiteral("1000 s") << QStringLiteral("2000 s") << QStringLiteral("3600 s");
        return l;
    }();
    return liste;
}

const std::array<int64_t, 12>& TReglagesAcq::listeNbPoints() {
    static const std::array<int64_t, 12> liste{11,   21,   51,   101,   201,   501,
                                               1001, 2001, 5001, 10001, 20001, 50001};
    return liste;
}

bool TReglagesAcq::lireValeur(const QString& texte, double& valeur, QStringView unite) {
    if (texte.trimmed().isEmpty())
        return false;
    double v = 0.0;
    if (texteVersReel(texte, v, unite) != 0)
        return false;
    valeur = v;
    return true;
}

bool TReglagesAcq::acquisitionEnCours() const {
    return ::acquisitionEnCours(recepteur_.etatFenetre());
}

bool TReglagesAcq::permanenteEnCours() const {
    return recepteur_.etatFenetre() == MODE_ACQ_PERMANENTE;
}

void TReglagesAcq::enAttente(const TReglageEnAttente& r) {
    recepteur_.reglageEnAttente(r);
    effets_.reglageEnregistre = true;
}

void TReglagesAcq::prepareCBTemporels() {
    etat.itemsDureeTotale.clear();
    etat.itemsNbPoints.clear();
    if (centrale_ == nullptr)
        return;
    TCentrale& u = *centrale_;
    const QStringList& durees = listeDurees();
    const int dernierIndex = static_cast<int>(durees.size()) - 1;
    const int premier = std::clamp(u.idxDureeTotaleMinKirvane, 0, dernierIndex);
    const int dernier = std::clamp(u.idxDureeTotaleMaxKirvane, premier, dernierIndex);
    etat.itemsDureeTotale = durees.mid(premier, dernier - premier + 1);
    int64_t maxPoints = 0;
    u.DetermineNBPt0XMAx(std::max(1, u.nbVoiesSignaux), maxPoints);
    for (int64_t n : listeNbPoints())
        if (n < maxPoints)
            etat.itemsNbPoints << QString::number(n);
    if (maxPoints > 0)
        etat.itemsNbPoints << QString::number(maxPoints);
}

TEffetsReglages TReglagesAcq::reglagesDefautMI() {
    effets_ = {};
    if (centrale_ == nullptr)
        return effets_;
    TCentrale& u = *centrale_;
    // Manual first: in threshold mode the unit would count one point more than shown.
    u.setModeDeclenchement(0, false);
    for (int i = 0; i < u.nbEAU; ++i) {
        u.setCal(static_cast<uint8_t>(i), 0, false);
        if (i == 0)
            u.activeVoieA(0, false);
        else
            u.desactiveVoieA(static_cast<uint8_t>(i), false);
    }
    for (int k = 0; k < u.nbCanauxUt; ++k)
        u.setModeDiff(k, false, false);
    u.setDurees(DureeTotaleDFT, NbPtsDFT, false);
    u.dtAX = u.dt0X;
    u.dureeTotaleAX = u.dureeTotale0X;
    u.nbPtsAX = 0;
    modeBalayage = u.dureeTotale0X <= u.tRemanence ? 1 : 0;
    u.modeRecuperation = modeBalayage;
    effets_.modeDessinVM = true;
    etat.BAcquisitionPrecedente = false;
    setModePermanent(false);
    if (u.nbVoiesSignaux > 0)
        u.setVoieSynchro(u.VoiesActivesSignaux[0], false);
    etat.indexPretrig = std::clamp(u.idxPretrig, 0, 4);
    u.setSensDeclEchelon(0, false);
    u.setSensDeclSeuil(0, false);
    u.prepareTousPRX(true);
    prepareCBTemporels();
    prepareComposants();
    return effets_;
}

void TReglagesAcq::prepareComposants() {
    const bool ancienBloque = bloque;
    bloque = true;
    const TCentrale* u = centrale_;
    for (int i = 0; i < 8; ++i) {
        const bool existe = u != nullptr && i < u->nbEAU && i < static_cast<int>(u->VoiesX.size());
        const bool active = existe && u->VoiesX[i].active;
        etat.voieActive[i] = active;
        etat.calibreActif[i] = active;
        etat.indexCalibre[i] = existe ? u->VoiesX[i].idxCalibreUt : 0;
        etat.valeurActive[i] = active;
        const int canal = existe ? i - u->nbCanauxUt : -1;
        const bool partenaireDiff =
            canal >= 0 && canal < static_cast<int>(u->canauxDiff.size()) && u->canauxDiff[canal];
        etat.voieActivable[i] = existe && !partenaireDiff;
        if (partenaireDiff)
            etat.calibreActif[i] = false;
    }
    for (int k = 0; k < 4; ++k)
        etat.modeDiff[k] =
            u != nullptr && k < static_cast<int>(u->canauxDiff.size()) && u->canauxDiff[k];
    etat.indexTypeDeclenchement = u != nullptr ? std::clamp(u->modeDecl, 0, 2) : 0;
    if (u != nullptr) {
        PrepareComposantsIndicesUx();
        prepareComposantsDeclenchement();
        prepareCBAjouterCourbes();
        afficheParametresT();
    }
    bloque = ancienBloque;
}

void TReglagesAcq::PrepareComposantsIndicesUx() {
    for (int i = 0; i < 8; ++i)
        etat.indicesU[i] =
            centrale_ != nullptr && i < centrale_->nbEAU ? centrale_->GetCapUInd(i) : QString();
}

void TReglagesAcq::prepareCBAjouterCourbes() {
    etat.CBAjouterCourbes =
        centrale_ != nullptr && series_ != nullptr && series_->ajoutPossible(*centrale_);
}

void TReglagesAcq::setModePermanent(bool modePermanent) {
    etat.titreDeclenchement =
        modePermanent ? QStringLiteral("Synchronisation") : QStringLiteral("Déclenchement");
    etat.itemsTypeDeclenchement[0] =
        modePermanent ? QStringLiteral("aucune") : QStringLiteral("manuel");
}

void TReglagesAcq::prepareComposantsDeclenchement() {
    if (centrale_ == nullptr)
        return;
    TCentrale& u = *centrale_;
    const int mode = std::clamp(u.modeDecl, 0, 2);
    etat.indexTypeDeclenchement = mode;
    if (mode == 0) {
        etat.RGSensDeclenchement = false;
        etat.CBVoieSynchro = false;
        etat.EditUSeuilDecl = false;
        etat.CBPretrigX = false;
        pretrigActif = false;
        return;
    }
    if (mode == 1) {
        etat.RGSensDeclenchement = true;
        etat.indexSensDeclenchement = u.sensDeclSeuil;
        prepareCBVoieSynchro();
        etat.texteSeuil = texteG6(u.USeuilDecl);
        etat.EditUSeuilDecl = true;
    } else {
        etat.RGSensDeclenchement = u.chxSensDeclExterne;
        etat.indexSensDeclenchement = u.sensDeclEchelon;
        etat.CBVoieSynchro = false;
        etat.EditUSeuilDecl = false;
    }
    // The list keeps the user's choice while no pretrigger is offered (the unit then has
    // 0 %), so that a shorter duration offers it again as it was chosen.
    etat.indexPretrig = std::clamp(etat.indexPretrig, 0, 4);
    // A unit without pretrigger never offers one.
    pretrigActif = u.pretrigDispo && tMaxPretrigDispo >= 0.999 * u.dureeTotale0X;
    etat.CBPretrigX = pretrigActif;
    changePretrig_(pretrigActif ? etat.indexPretrig : 0);
}

void TReglagesAcq::prepareCBVoieSynchro() {
    etat.itemsVoieSynchro.clear();
    etat.indexVoieSynchro = -1;
    if (centrale_ == nullptr)
        return;
    TCentrale& u = *centrale_;
    const int n = std::min<int>(u.nbEAU, static_cast<int>(u.VoiesX.size()));
    for (int i = 0; i < n; ++i) {
        if (!u.VoiesX[i].active)
            continue;
        const int canal = i - u.nbCanauxUt;
        const bool partenaireDiff =
            canal >= 0 && canal < static_cast<int>(u.canauxDiff.size()) && u.canauxDiff[canal];
        if (!partenaireDiff && i < static_cast<int>(u.sEntrees.size()))
            etat.itemsVoieSynchro << u.sEntrees[i];
    }
    if (u.nbVoiesSignaux > 0) {
        u.setVoieSynchro(u.voieSynchro, true);
        etat.indexVoieSynchro = u.voieSynchroVA;
    }
    // Enabled in threshold mode whenever there is an input to choose, so that the list
    // reads the same whichever routine filled it last.
    etat.CBVoieSynchro = u.modeDecl == 1 && !etat.itemsVoieSynchro.isEmpty();
}

void TReglagesAcq::afficheParametresT() {
    if (centrale_ == nullptr)
        return;
    const TCentrale& u = *centrale_;
    const double dt = u.dt0X;
    etat.texteTeIndices = dt > 1000.0 || dt < 0.0999999;
    etat.texteTe = etat.texteTeIndices ? formatReel(4, 2, dt) + QStringLiteral("s")
                                       : texteG6(static_cast<float>(dt)) + QStringLiteral(" s");

    const double d = u.dureeTotale0X;
    etat.indexDureeTotale = -1;
    for (int k = 0; k < etat.itemsDureeTotale.size(); ++k) {
        double v = 0.0;
        if (lireValeur(etat.itemsDureeTotale[k], v) && std::fabs(v - d) < 0.002 * std::fabs(v)) {
            etat.indexDureeTotale = k;
            break;
        }
    }
    if (etat.indexDureeTotale >= 0)
        etat.texteDureeTotale = etat.itemsDureeTotale[etat.indexDureeTotale];
    else if (d <= 999.99999)
        etat.texteDureeTotale = formatReel(4, 4, d) + QStringLiteral("s");
    else
        etat.texteDureeTotale = texteG5(d) + QStringLiteral(" s");

    etat.texteNbPoints = QString::number(u.nbPtsAffX);
    etat.indexNbPoints = static_cast<int>(etat.itemsNbPoints.indexOf(etat.texteNbPoints));
}

int64_t TReglagesAcq::nbPtsAffichesAX(const TCentrale& u) {
    return ::nbPtsAffichesAX(u);
}

float TReglagesAcq::seuilDansCalibre(float seuil, float r) {
    const float limite = 0.9f * std::fabs(r);
    if (seuil > 0.0f && seuil >= limite)
        return limite;
    if (seuil <= 0.0f && seuil <= -limite)
        return -limite;
    return seuil;
}

float TReglagesAcq::calibreVoie(int voie) const {
    const TCentrale& u = *centrale_;
    if (voie < 0 || voie >= static_cast<int>(u.VoiesX.size()))
        return 0.0f;
    const int idx = std::clamp(u.VoiesX[voie].idxCalibreUt, 0, 7);
    return u.calibresDispo[idx];
}
