// The start/stop controller, the single acquisition and the frame loop of permanent mode
// with its exit codes.
#include "moteuracquisition.h"

#include "mesuredirecte.h"

#include "arrondis.h"
#include "bibliotheque.h"
#include "formats.h"
#include "lecture.h"

#include <algorithm>
#include <exception>

const QString TMoteurAcquisition::texteDebranchement = QStringLiteral(
    "Acquisition interrompue car probable débranchement\n\rde la centrale. Il est conseillé de "
    "vérifier le \n\rbranchement et l'alimentation puis de recommencer.");

const QString TMoteurAcquisition::texteDonneesManquantes = QStringLiteral(
    "Acquisition interrompue : des valeurs manquent.\n\rLa centrale a cessé d'envoyer ses "
    "mesures avant la fin\n\rde l'acquisition. Les valeurs déjà reçues sont conservées.\n\r"
    "Il est conseillé de recommencer.");

TMoteurAcquisition::TMoteurAcquisition(TCentrale* centrale, TSeriesMesurees& series,
                                       TVueAcquisition& vue)
    : SP5(centrale), series_(series), vue_(vue) {
    changements_.reserve(16);
}

int TMoteurAcquisition::calculerNbPtsFifo(double dt0X, int nbVoiesSignaux, int nbPtsFifoMin) {
    const double parTransfert = dt0X > 0.0 ? arrondiPair(0.1 / dt0X) : 256.0;
    return maxArrondi(maxArrondi(minArrondi(parTransfert, 256.0), nbVoiesSignaux), nbPtsFifoMin);
}

QString TMoteurAcquisition::texteValeurDirecte(double volts) {
    return TMesureDirecte::texteValeur(volts);
}

namespace {

// An exit code that ends permanent mode is never replaced by a settings change, and the
// loss of the unit or a quit request by nothing.
TSortieMP codeRetenu(TSortieMP actuel, TSortieMP nouveau) {
    if (actuel == SORTIE_DEBRANCHEMENT || actuel == SORTIE_DONNEES_MANQUANTES ||
        actuel == SORTIE_QUITTER)
        return actuel;
    if ((actuel == SORTIE_ARRET || actuel == SORTIE_ARRET_RAPIDE) && changementReglage(nouveau))
        return actuel;
    return nouveau;
}

// Signals the unit measures once an input (code 2) or a channel's differential mode
// (code 6) is changed: the second input of a differential channel is measured with the
// first one and is no signal of its own.
int signauxApres(const TCentrale& c, const TReglageEnAttente& ch) {
    const TReglagesMP& r = ch;
    auto signal = [&c, &ch, &r](int v) {
        const int k = v - c.nbCanauxUt;
        if (k < 0)
            return true;
        if (ch.code == MP_MODE_DIFF && k == r.MPEntree)
            return !r.MPModeDiff;
        return !(k < static_cast<int>(c.canauxDiff.size()) && c.canauxDiff[k]);
    };
    const int nbActives = std::min(c.nbVoiesActivesX, static_cast<int>(c.VoiesActivesX.size()));
    int n = 0;
    for (int j = 0; j < nbActives; ++j) {
        const int v = c.VoiesActivesX[j];
        if (!(ch.code == MP_VOIE_ACTIVE && v == r.MPEntree) && signal(v))
            ++n;
    }
    if (ch.code == MP_VOIE_ACTIVE && r.MPVoieActive && signal(r.MPEntree))
        ++n;
    return n;
}

} // namespace

void TMoteurAcquisition::setModeGeneral(TModeGeneral a) {
    MODEGENERAL = a;
    vue_.modeGeneralChange(a);
}

void TMoteurAcquisition::BAcquisitionClick() {
    if (SP5 == nullptr)
        return;
    switch (MODEGENERAL) {
    case MODE_VIERGE:
    case MODE_REGLAGES_MODIFIES:
    case MODE_MESURES:
    case MODE_PERMANENT_ARRETE: {
        vue_.timerAcqDirecte(false);
        // Signals, not inputs: the second input of a differential channel whose first
        // input is off is active but measures nothing.
        if (SP5->nbVoiesSignaux <= 0) {
            vue_.informer(QStringLiteral(
                "Aucune entrée analogique n'est active. \n\rActivez au moins une entrée !"));
            return;
        }
        stop = false;
        if (SP5->Presente()) {
            Acquisition();
            return;
        }
        vue_.afficherMessage(QStringLiteral("La centrale n'a pas été trouvée"));
        const int t = SP5->typeCentrale;
        const bool alimentee = t == CENTRALE_SP5 || t == CENTRALE_SIMULATION_SP5 ||
                               t == CENTRALE_CAMPUS || t == CENTRALE_SIMULATION_CAMPUS;
        vue_.messageSimple(
            QStringLiteral("La centrale ") + SP5->nomCentrale +
            QStringLiteral(" n'a pas été trouvée: vérifiez si\n\r") +
            QStringLiteral("elle est connectée à un port USB de l'ordinateur") +
            (alimentee ? QStringLiteral("\n\r et si elle est alimentée.") : QStringLiteral(".")));
        return;
    }
    case MODE_ACQ_SIMPLE:
        typeSortieMP = codeRetenu(typeSortieMP, SORTIE_ARRET);
        SP5->arreteAcq();
        setModeGeneral(MODE_MESURES);
        return;
    case MODE_ACQ_PERMANENTE:
        SP5->arreteAcq();
        stop = true;
        if (modeBalayage == 0) {
            typeSortieMP = codeRetenu(typeSortieMP, SORTIE_ARRET);
            setModeGeneral(MODE_PERMANENT_ARRETE);
        } else {
            typeSortieMP = codeRetenu(typeSortieMP, SORTIE_ARRET_RAPIDE);
        }
        return;
    default:
        return;
    }
}

void TMoteurAcquisition::setModepermanent(bool mp) {
    modePermanent = mp;
    vue_.afficherModePermanent(mp);
}

void TMoteurAcquisition::clicModePermanent(bool coche) {
    if (MODEGENERAL == MODE_ACQ_PERMANENTE) {
        if (modeBalayage == 1) {
            typeSortieMP = codeRetenu(typeSortieMP, SORTIE_ARRET_RAPIDE);
            typeSortieMP1 = -1;
        } else {
            typeSortieMP = codeRetenu(typeSortieMP, SORTIE_ARRET);
            setModepermanent(false);
            setModeGeneral(MODE_PERMANENT_ARRETE);
        }
        nouveauxParametres = true;
        return;
    }
    setModepermanent(coche);
    setModeGeneral(coche ? MODE_PERMANENT_ARRETE : MODE_MESURES);
}

void TMoteurAcquisition::nouveauReglage(TSortieMP code) {
    TReglageEnAttente r;
    static_cast<TReglagesMP&>(r) = *this;
    r.code = code;
    nouveauReglage(r);
}

void TMoteurAcquisition::nouveauReglage(const TReglageEnAttente& r) {
    static_cast<TReglagesMP&>(*this) = r;
    if (SP5 == nullptr || !changementReglage(r.code))
        return;
    if (MODEGENERAL != MODE_ACQ_PERMANENTE) {
        // No frame to wait for: the unit takes the change at once.
        if (r.code != MP_ACQ_PRECEDENTE)
            appliquerReglage ? appliquerReglage(r) : appliquerReglageUnite(r);
        return;
    }
    changements_.push_back(r);
    typeSortieMP = codeRetenu(typeSortieMP, r.code);
    nouveauxParametres = true;
    SP5->arreteAcq();
}

void TMoteurAcquisition::quitterPendantAcquisition() {
    if (MODEGENERAL != MODE_ACQ_PERMANENTE)
        return;
    typeSortieMP = codeRetenu(typeSortieMP, SORTIE_QUITTER);
    nouveauxParametres = true;
    if (SP5 != nullptr)
        SP5->arreteAcq();
}

void TMoteurAcquisition::decisionAjout() {
    series_.ajouterLesCourbesX = SP5->memesParametresTemporels() && CBAjouterCourbes;
}

void TMoteurAcquisition::decisionDoubleTrame() {
    modeDoubleTrameX = modeBalayage == 0 && SP5->dureeTotale0X <= LimDureeMDT && !optionEffaceTrame;
}

void TMoteurAcquisition::preparerStore() {
    series_.PrepareTV2(*SP5, modeDoubleTrameX);
    demiComplete_ = {false, false};
}

void TMoteurAcquisition::Acquisition() {
    if (SP5 == nullptr)
        return;
    vue_.timerPresence(false);
    vue_.timerAcqDirecte(false);
    try {
        if (!modePermanent) {
            modeDoubleTrameX = false;
            trameX = 0;
            typeSortieMP = SORTIE_AUCUNE;
            changements_.clear();
            vue_.afficherMessage(QStringLiteral("Acquisition en cours..."));
            setModeGeneral(MODE_ACQ_SIMPLE);
            vue_.debutAcquisition(false);
            decisionAjout();
            preparerStore();
            pt0Trame = 0;
            ptFront = 0;
            vue_.setModeDessinVM();
            vue_.redessiner(true);
            SP5->Reset();
            SP5->NbPtsFifo = calculerNbPtsFifo(SP5->dt0X, SP5->nbVoiesSignaux, SP5->nbPtsFifoMin);
            SP5->prepareTousPRX(true);
            vue_.dessinerPretrig();
            SP5->idxPretrig = pretrigActif ? indexCBPretrig : 0;
            if (SP5->modeDecl == 1 || SP5->modeDecl == 2)
                vue_.afficherMessage(QStringLiteral("Attente du déclenchement..."));
            vue_.legendeBoutonAcquisition(QStringLiteral("Arrêter"));
            SP5->TailleTransfertFifo(SP5->NbPtsFifo);
            SP5->ViderFifo();
            // The post-trigger share of the total duration.
            intervalleFinMesures_ =
                arrondi64(SP5->dureeTotale0X * 1000.0 *
                          (100 - 25 * std::clamp(SP5->idxPretrig, 0, 4)) / 100.0);
            acquisitionSimple();
            sortieNormaleMS();
        } else {
            intervalleFinMesures_ = -1;
            acquisitionPermanente();
        }
    } catch (const EErreurBibliotheque& e) {
        erreurAcquisition(e.texte());
    } catch (const std::exception& e) {
        erreurAcquisition(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        erreurAcquisition(QString());
    }
    premiereAcq = false;
    vue_.acquisitionTerminee();
}

void TMoteurAcquisition::erreurAcquisition(const QString& detail) {
    // The unit is stopped, the window leaves the running state and the user is told:
    // an acquisition never stays stuck in state 3 or 5.
    try {
        SP5->arreteAcq();
    } catch (...) {
    }
    changements_.clear();
    vue_.masquerAttenteLongue();
    setModeGeneral(modePermanent ? MODE_PERMANENT_ARRETE : MODE_MESURES);
    vue_.legendeBoutonAcquisition(QStringLiteral("Démarrer l'acquisition"));
    QString texte = QStringLiteral("L'acquisition a été interrompue par une erreur");
    texte += detail.isEmpty() ? QStringLiteral(".") : QStringLiteral(" :\n\r") + detail;
    vue_.avertir(texte);
    vue_.timerPresence(true);
    vue_.timerAcqDirecte(false);
}

void TMoteurAcquisition::acquisitionSimple() {
    preparerColonnes(TGenreLecture::Simple);
    armer(TGenreLecture::Simple);
    boucleLecture(TGenreLecture::Simple);
}

void TMoteurAcquisition::acquisitionPermanente() {
    TCentrale& c = *SP5;
    vue_.afficherMessage(QStringLiteral("Acquisition en cours..."));
    vue_.legendeBoutonAcquisition(QStringLiteral("Arrêter"));
    setModeGeneral(MODE_ACQ_PERMANENTE);
    vue_.debutAcquisition(true);
    vue_.setModeDessinVM();
    modeBalayage = c.dureeTotale0X <= c.tRemanence ? 1 : 0;
    decisionDoubleTrame();
    trameX = 1;
    ptFront = 0;
    c.Reset();
    c.NbPtsFifo = calculerNbPtsFifo(c.dt0X, c.nbVoiesSignaux, c.nbPtsFifoMin);
    stop = false;
    typeSortieMP = SORTIE_AUCUNE;
    typeSortieMP1 = 0;
    nbTramesAcq = 0;
    numFichierTR = -1;
    changements_.clear();
    decisionAjout();
    preparerStore();
    ptFront = 0;
    vue_.setModeDessinVM();
    vue_.redessiner(true);
    c.prepareTousPRX(true);

    while (!stop && modePermanent && MODEGENERAL == MODE_ACQ_PERMANENTE) {
        if (SP5->nbVoiesSignaux <= 0) {
            SortieNormaleMP(); // nothing left to read: what was acquired is kept
            break;
        }
        if (changements_.empty())
            typeSortieMP = SORTIE_AUCUNE;
        const bool doubleAvant = modeDoubleTrameX;
        decisionDoubleTrame();
        if (modeDoubleTrameX != doubleAvant)
            preparerStore(); // the columns must have the length of the new display
        trameX = modeDoubleTrameX ? 1 - trameX : 0;
        SP5->idxPretrig = pretrigActif ? indexCBPretrig : 0;
        SP5->NbPtsFifo = calculerNbPtsFifo(SP5->dt0X, SP5->nbVoiesSignaux, SP5->nbPtsFifoMin);
        SP5->prepareTousPRX(true);
        vue_.dessinerPretrig();
        SP5->TailleTransfertFifo(SP5->NbPtsFifo);
        SP5->ViderFifo();
        ptFront = 0;
        vue_.preparerAxeTemps();
        if (modeBalayage == 1)
            acquisitionTrameRapide();
        else
            acquisitionTrameLente();
        vue_.traiterMessages();
        if (typeSortieMP != SORTIE_AUCUNE || !changements_.empty()) {
            ptFront = 0;
            DessinerLesCourbes = false;
            traiterCodeSortie();
            vue_.setModeDessinVM();
            vue_.redessiner(DessinerLesCourbes);
        } else if (modeDoubleTrameX) {
            ++nbTramesAcq;
        }
    }
    // Permanent mode switched off from elsewhere: the acquisition is still committed.
    if (MODEGENERAL == MODE_ACQ_PERMANENTE)
        SortieNormaleMP();
}

void TMoteurAcquisition::traiterCodeSortie() {
    const TSortieMP code = typeSortieMP;
    const bool fin = code == SORTIE_ARRET || code == SORTIE_DEBRANCHEMENT ||
                     code == SORTIE_ARRET_RAPIDE || code == SORTIE_QUITTER ||
                     code == SORTIE_DONNEES_MANQUANTES;
    if (fin) {
        if (code == SORTIE_ARRET_RAPIDE) {
            if (typeSortieMP1 == -1)
                setModepermanent(false);
            setModeGeneral(MODE_PERMANENT_ARRETE);
        }
        SortieNormaleMP();
        DessinerLesCourbes = true;
        // Settings changed meanwhile still reach the unit, the store is committed.
        for (const TReglageEnAttente& ch : changements_)
            appliquerChangement(ch, false);
        changements_.clear();
        if (code == SORTIE_QUITTER)
            vue_.quitter();
        return;
    }
    bool sansCourbes = false;
    for (const TReglageEnAttente& ch : changements_) {
        if (MODEGENERAL != MODE_ACQ_PERMANENTE) {
            appliquerChangement(ch, false); // permanent mode ended on the way
            continue;
        }
        appliquerChangement(ch, true);
        sansCourbes = sansCourbes || ch.code == MP_NB_POINTS || ch.code == MP_DUREE_TOTALE ||
                      ch.code == MP_ACQ_PRECEDENTE;
    }
    changements_.clear();
    typeSortieMP = SORTIE_AUCUNE;
    DessinerLesCourbes = !sansCourbes;
}

void TMoteurAcquisition::appliquerChangement(const TReglageEnAttente& ch, bool prepareStore) {
    TCentrale& c = *SP5;
    if (prepareStore && c.nbVoiesSignaux > 0 && signauxApres(c, ch) == 0) {
        // The last signal goes (its input off, or its channel made differential with the
        // first input off): commit what was acquired with it before the unit forgets the
        // signal, and end permanent mode.
        SortieNormaleMP();
        prepareStore = false;
    }
    if (ch.code == MP_ACQ_PRECEDENTE) {
        if (!prepareStore)
            return;
        // The settings panel's own routine when there is one (it shows the timing it
        // restores), else the unit alone; both restore the point count shown.
        if (appliquerReglage) {
            appliquerReglage(ch);
            modeBalayage = c.dureeTotale0X <= c.tRemanence ? 1 : 0;
        } else {
            modeBalayage = retourAcqPrecedente(c);
        }
        vue_.setModeDessinVM();
        decisionDoubleTrame();
        series_.ajouterLesCourbesX = CBAjouterCourbes;
        preparerStore();
        return;
    }
    if (appliquerReglage)
        appliquerReglage(ch);
    else
        appliquerReglageUnite(ch);
    if (!prepareStore)
        return;
    switch (ch.code) {
    case MP_VOIE_ACTIVE:
    case MP_MODE_DIFF:
        preparerStore();
        break;
    case MP_NB_POINTS:
        decisionAjout();
        vue_.setModeDessinVM();
        preparerStore();
        break;
    case MP_DUREE_TOTALE:
        modeBalayage = c.dureeTotale0X <= c.tRemanence ? 1 : 0;
        decisionAjout();
        vue_.setModeDessinVM();
        decisionDoubleTrame();
        preparerStore();
        break;
    default:
        break;
    }
}

void TMoteurAcquisition::appliquerReglageUnite(const TReglageEnAttente& r) {
    TCentrale& c = *SP5;
    const auto voie = static_cast<uint8_t>(std::clamp(r.MPEntree, 0, 255));
    double x = 0.0;
    switch (r.code) {
    case MP_VOIE_ACTIVE:
        if (r.MPVoieActive)
            c.activeVoieA(voie, false);
        else
            c.desactiveVoieA(voie, false);
        break;
    case MP_CALIBRE:
        c.setCal(voie, r.MPCalibre, false);
        break;
    case MP_NB_POINTS:
        if (texteVersReel(r.MPNbPts, x) == 0 && !r.MPNbPts.trimmed().isEmpty())
            c.setDurees(c.dureeTotale0X, arrondi64(x), false);
        break;
    case MP_DUREE_TOTALE:
        if (texteVersReel(r.MPDureeTotale, x, u"s") == 0 && !r.MPDureeTotale.trimmed().isEmpty())
            c.setDurees(x, c.nbPtsAffX > 0 ? c.nbPtsAffX : c.nbPts0X, false);
        break;
    case MP_MODE_DIFF:
        c.setModeDiff(r.MPEntree, r.MPModeDiff, false);
        break;
    case MP_TYPE_DECL:
        c.setModeDeclenchement(r.MPTypeDecl, false);
        break;
    case MP_SEUIL:
        if (texteVersReel(r.MPUSeuil, x, u"V") == 0 && !r.MPUSeuil.trimmed().isEmpty())
            c.setSeuilDecl(static_cast<float>(x));
        break;
    case MP_SENS_DECL:
        c.setSensDeclSeuil(r.MPSensDecl, false);
        break;
    case MP_VOIE_SYNCHRO:
        c.setVoieSynchro(r.MPVoieSynchro, false);
        break;
    case MP_PRETRIG:
        indexCBPretrig = std::clamp(r.MPPretrig, 0, 4);
        c.setPretrig(indexCBPretrig, false);
        break;
    default:
        break;
    }
}
