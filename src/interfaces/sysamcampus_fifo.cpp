// TSYSAMCAMPUS: start and stop of a run, and the reading of the samples in phases. The
// library hands over raw samples on request; the driver keeps the whole acquisition in
// RAMAcq, notices the trigger by the arrival of the first samples, places a threshold
// trigger in software and hands the engine blocks of words.
#include "sysamcampus.h"

#include "arrondis.h"

#include <QThread>
#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
using Horloge = std::chrono::steady_clock;

double ecouleMs(Horloge::time_point debut) {
    return std::chrono::duration<double, std::milli>(Horloge::now() - debut).count();
}

int signe(double x) {
    return (x > 0.0) - (x < 0.0);
}

// The low 16 bits of a library sample, as a signed number, times 16.
uint16_t motEchantillon(int32_t s) {
    return static_cast<uint16_t>(static_cast<int16_t>(s & 0xFFFF) * 16);
}
} // namespace

int TSYSAMCAMPUS::TailleTransfertFifo(int aTaille) {
    TailleFifo = std::clamp(aTaille, 1, 256);
    ptTableauInt.assign(266, 0);
    return TailleFifo;
}

void TSYSAMCAMPUS::declencheAcq() {
    if (nbVoiesActivesX <= 0)
        return;
    if (acqMarquee)
        arreteAcq(); // a run still marked counts once, never twice
    // Not programmed, or the unit refused: once more, then the unit's own words.
    if (!CentralePretePourAcq && !prepareInterfacePourAcq(false)) {
        QString texte = QStringLiteral("La centrale ") + nomCentrale +
                        QStringLiteral(" n'a pas accepté les réglages de l'acquisition");
        texte += aStrMessageErreur1.isEmpty() ? QStringLiteral(".")
                                              : QStringLiteral(" :\n\r") + aStrMessageErreur1;
        throw EErreurBibliotheque(texte);
    }
    const int nbVA = nbVoiesActivesX;
    nbVAAcq = nbVA;
    voieSynchroAcq = std::clamp(voieSynchro, 0, nbEAU - 1);
    voieSynchroVAAcq = std::clamp(voieSynchroVA, 0, nbVA - 1);
    // Manual acquisitions read from the start; the others wait for the trigger first.
    etapeAcq = modeDecl == 0 ? 4 : 1;
    premierPassageICI = true;
    idxValfront = idxValFin = nbValTotalLues = 0;
    NBValTrame = nbTotalValRestantes = static_cast<int64_t>(nbVA) * nbPts0X;
    nbValPretrig =
        nbPtsPretrig != 0 ? std::min<int64_t>(int64_t{nbPtsPretrig} * nbVA, NBValTrame) : 0;
    TailleFifo = TailleFifo > 0 ? TailleFifo : NbPtsFifo;
    nbValLuesFifoEnCours = 0;
    nbValRestantATransmettre = 0;
    nbValpretrigALire = 0;
    nbValPretrigLues = 0;
    nbDonneesALire = nbDonneesRenvoyees = 0;
    idxFinPretrigRenvoi = idxFrontPretrigRenvoi = 0;
    const int attenteBloc =
        std::max(tronque(NbPtsFifo * 1100.0 / nbVA * dt0X), tronque(NbPtsFifo * 30.0 / 1000.0)) + 1;
    tSleepFifo = std::max(attenteBloc, 20);
    tSleepTrame = arrondi(nbVA * 75.0 * static_cast<double>(nbPts0X) / 1000.0) + 20;
    recupCommencee = recupTerminee = false;
    // The buffers fit this acquisition, whatever happened to the settings since they were
    // last sized: the whole series, or the pretrigger span with its guard blocks.
    const int64_t span = (int64_t{nbPtsPretrig} + psc1 + psc2) * nbVA;
    const auto taille =
        static_cast<std::size_t>(std::max({NBValTrame, span, int64_t{2} * nbVA}) + 100);
    RAMAcq.assign(taille, 0);
    ptTableauInt1.assign(taille, 0);
    if (ptTableauInt.size() < 266)
        ptTableauInt.assign(266, 0);
    t1Attente = arrondi(tRemanence * 1000.0);
    tAttenteMaxDecl = 1.0f;
    unitePerdue = false;
    arretNonConfirme = false;

    const char16_t* message = nullptr;
    const int32_t r = DLL_Chargee ? fonctions_.DemarreAcquisition(&message) : -1;
    MSGErreurAcq = copierTexteCampus(message);
    if (r != 0) {
        // Not started: nothing is marked as running.
        QString texte = QStringLiteral("La centrale ") + nomCentrale +
                        QStringLiteral(" n'a pas démarré l'acquisition");
        texte +=
            MSGErreurAcq.isEmpty() ? QStringLiteral(".") : QStringLiteral(" :\n\r") + MSGErreurAcq;
        throw EErreurBibliotheque(texte);
    }
    acqPeriodiqueEnCours = true;
    acqMarquee = true;
    debutProcessus();
    chronometre.Declenche();
}

void TSYSAMCAMPUS::arreteAcq() {
    const QString reponse = stoppeUnite();
    MSGErreurAcq = reponse;
    const bool marquee = acqMarquee;
    // The engine stops two or three times per run: the run is counted down once, and the
    // local state is cleared whatever the unit answered.
    acqMarquee = false;
    acqPeriodiqueEnCours = false;
    if (!marquee)
        return;
    arretNonConfirme = reponse != QLatin1String("%");
    finProcessus();
    tAcqTotal = chronometre.Mesure();
    tAcqRecup = tAcqTotal - tAcqAttDecl;
    tAcqAttDecl1 = tAcqAttDecl;
    tAcqTotal1 = tAcqTotal;
    tAcqRecup1 = tAcqRecup;
    if (pauseReglageMs > 0)
        QThread::msleep(static_cast<unsigned long>(pauseReglageMs));
}

int64_t TSYSAMCAMPUS::lire(int64_t k, std::vector<int32_t>& tampon, bool phaseLecture) {
    k = std::min<int64_t>(k, static_cast<int64_t>(tampon.size()));
    if (k <= 0)
        return 0;
    nbDonneesALire = k;
    const int32_t recu =
        DLL_Chargee ? fonctions_.LitDonneeNumerique(static_cast<int32_t>(k), tampon.data()) : -1;
    if (recu < 0) {
        unitePerdue = true;
        return -1;
    }
    // Never more than asked for, whatever the library says.
    const int64_t n = std::min<int64_t>(recu, k);
    nbDonneesRenvoyees = n;
    int64_t limite = static_cast<int64_t>(RAMAcq.size());
    if (phaseLecture) {
        limite = std::min(limite, NBValTrame);
        if (n > 0)
            recupCommencee = true;
    }
    int64_t j = 0;
    for (; j < n && nbValTotalLues < limite; ++j)
        RAMAcq[static_cast<std::size_t>(nbValTotalLues++)] =
            motEchantillon(tampon[static_cast<std::size_t>(j)]);
    idxValfront = nbValTotalLues;
    nbValLuesFifoEnCours += n;
    nbTotalValRestantes -= n;
    if (phaseLecture && nbValTotalLues >= NBValTrame)
        recupTerminee = true;
    return n;
}

int TSYSAMCAMPUS::LireFifo(TPtrFifoSP5 aPtrFifoSP5) {
    if (!acqPeriodiqueEnCours || aPtrFifoSP5 == nullptr || RAMAcq.empty())
        return 0;
    if (unitePerdue)
        return LIREFIFO_PERDUE;
    TFifoSP5& fifo = *aPtrFifoSP5;
    if (modeDecl == 0 && !court())
        return phaseLecture(fifo);
    switch (etapeAcq) {
    case 1:
        return phaseAttente(fifo);
    case 2:
        return phasePremieresDonnees(fifo);
    case 3:
        return phaseRenvoiPretrig(fifo);
    case 5:
        return phaseRenvoiFin(fifo);
    default:
        return phaseLecture(fifo);
    }
}

// Phase 1: waiting for the trigger, seen as the arrival of the first time step.
int TSYSAMCAMPUS::phaseAttente(TFifoSP5&) {
    etapeAcq = 1;
    traiterMessages();
    if (!acqPeriodiqueEnCours)
        return 0;
    const bool courte = court();
    const bool externe = modeDecl == 2;
    if (!(externe && courte)) {
        attente(1);
        if (!acqPeriodiqueEnCours)
            return 0;
    }
    std::vector<int32_t>& tampon = courte ? ptTableauInt1 : ptTableauInt;
    const int64_t nbVA = nbVAAcq;
    const auto debut = Horloge::now();
    // A step may come in pieces: what came is kept and only the rest is asked for.
    while (nbValTotalLues < nbVA) {
        const int64_t n = lire(nbVA - nbValTotalLues, tampon, false);
        if (n < 0)
            return LIREFIFO_PERDUE;
        if (n > 0)
            continue;
        if (ecouleMs(debut) >= tAttenteMaxDecl * 1000.0)
            break;
        attente(5);
        if (!acqPeriodiqueEnCours)
            return 0;
    }
    const bool venu = nbValTotalLues >= nbVA;
    if (modeDecl == 1 && !venu)
        return LIREFIFO_RAPPELER;
    attenteDeclenchement = false;
    idxValFin = 0;
    if (externe && courte) {
        etapeAcq = 4;
        dtPretrig = 0.0;
        return venu ? 0 : LIREFIFO_RAPPELER;
    }
    etapeAcq = 2;
    if (courte)
        attente(1);
    return 0;
}

// Phase 2: the first two time steps, or the whole pretrigger span.
int TSYSAMCAMPUS::phasePremieresDonnees(TFifoSP5& fifo) {
    const bool courte = court();
    const int64_t nbVA = nbVAAcq;
    const double pauseVide = std::clamp(dt0X * 1000.0, 1.0, 10.0);
    const auto debut = Horloge::now();
    auto attendre = [&](double limiteMs) {
        if (ecouleMs(debut) > limiteMs)
            return false;
        attente(static_cast<int>(pauseVide));
        return true;
    };
    if (nbValPretrig == 0) {
        const int64_t cible = 2 * nbVA;
        while (nbValTotalLues < cible) {
            if (!acqPeriodiqueEnCours)
                return 0;
            const int64_t n = lire(cible - nbValTotalLues, ptTableauInt1, false);
            if (n < 0)
                return LIREFIFO_PERDUE;
            if (n == 0 && !attendre(10.0 * t1Attente))
                return LIREFIFO_RAPPELER;
            if (!acqPeriodiqueEnCours)
                return 0;
        }
        if (modeDecl == 1)
            calculerDtPretrig(0);
        for (int64_t j = 0; j < cible; ++j)
            fifo[static_cast<std::size_t>(j)] = RAMAcq[static_cast<std::size_t>(j)];
        idxValFin = cible;
        etapeAcq = 4;
        if (courte && modeDecl == 1)
            nbValRestantATransmettre = NBValTrame - cible;
        return static_cast<int>(cible);
    }
    if (nbValpretrigALire == 0)
        nbValpretrigALire = std::min<int64_t>((int64_t{nbPtsPretrig} + psc1 + psc2) * nbVA,
                                              static_cast<int64_t>(RAMAcq.size()));
    if (modeDecl == 1) {
        nbValLuesFifoEnCours = 0;
        const int64_t m = std::min<int64_t>(nbValpretrigALire - nbValTotalLues, 256);
        const double limite = (courte ? 20.0 : 10.0) * t1Attente;
        while (nbValLuesFifoEnCours < m) {
            if (!acqPeriodiqueEnCours)
                return 0;
            const int64_t n = lire(m - nbValLuesFifoEnCours, ptTableauInt1, false);
            if (n < 0)
                return LIREFIFO_PERDUE;
            nbValPretrigLues += n;
            if (n == 0 && !attendre(limite))
                return LIREFIFO_RAPPELER;
            if (!acqPeriodiqueEnCours)
                return 0;
        }
        if (nbValTotalLues < nbValpretrigALire)
            return 0;
        placerDeclenchement();
    } else {
        // External: the unit's own pretrigger is used as it is.
        while (nbValTotalLues < nbValpretrigALire) {
            if (!acqPeriodiqueEnCours)
                return 0;
            const int64_t n = lire(nbValpretrigALire - nbValTotalLues, ptTableauInt1, false);
            if (n < 0)
                return LIREFIFO_PERDUE;
            if (n == 0 && !attendre(10.0 * t1Attente))
                return LIREFIFO_RAPPELER;
        }
        nbValTotalLues = std::min(nbValTotalLues, NBValTrame);
        idxValfront = nbValTotalLues;
        recupTerminee = nbValTotalLues >= NBValTrame;
        idxValFin = 0;
    }
    etapeAcq = 3;
    idxFinPretrigRenvoi = 0;
    if (!courte)
        return phaseRenvoiPretrig(fifo);
    nbValRestantATransmettre = NBValTrame;
    return 0;
}

// Phase 3: the pretrigger span, 256 words at a time.
int TSYSAMCAMPUS::phaseRenvoiPretrig(TFifoSP5& fifo) {
    if (!court() && !acqPeriodiqueEnCours)
        return 0;
    int n = 0;
    if (idxFinPretrigRenvoi < nbValTotalLues) {
        idxFrontPretrigRenvoi = std::min(idxFinPretrigRenvoi + 255, nbValTotalLues - 1);
        n = static_cast<int>(idxFrontPretrigRenvoi - idxFinPretrigRenvoi + 1);
        std::copy_n(RAMAcq.begin() + idxFinPretrigRenvoi, n, fifo.begin());
        idxFinPretrigRenvoi = idxFrontPretrigRenvoi + 1;
    }
    if (idxFinPretrigRenvoi >= nbValTotalLues) {
        etapeAcq = 4;
        idxValfront = idxValFin = nbValTotalLues;
        nbValLuesFifoEnCours = 0;
        recupTerminee = nbValTotalLues >= NBValTrame;
        if (court())
            nbValRestantATransmettre = NBValTrame - nbValTotalLues;
    }
    return n;
}

// Phase 4: reading; every acquisition but the short threshold ones hands over as it reads.
int TSYSAMCAMPUS::phaseLecture(TFifoSP5& fifo) {
    const bool courte = court();
    const bool manuelleLongue = modeDecl == 0 && !courte;
    if (!manuelleLongue)
        nbValLuesFifoEnCours = 0;
    const int64_t nbVA = nbVAAcq;
    const int64_t parBloc = std::max(NbPtsFifo, 1);
    const int64_t C = !courte && modeDecl != 2 ? parBloc : 256;
    std::vector<int32_t>& tampon = courte ? ptTableauInt1 : ptTableauInt;
    const double pauseVide = std::clamp(dt0X * 1000.0, 1.0, 10.0);
    const auto debut = Horloge::now();
    bool premier = true;
    while (!recupTerminee && nbValLuesFifoEnCours < parBloc) {
        if (!acqPeriodiqueEnCours)
            return 0;
        const int64_t k = premier ? std::max(std::min(C, NBValTrame - nbValTotalLues), nbVA)
                                  : parBloc - nbValLuesFifoEnCours;
        premier = false;
        if (k < 1)
            return 0;
        const int64_t n = lire(k, tampon, true);
        if (n < 0)
            return LIREFIFO_PERDUE;
        if (n == 0) {
            if (ecouleMs(debut) > 10.0 * t1Attente)
                return LIREFIFO_RAPPELER;
            attente(static_cast<int>(pauseVide));
            if (!acqPeriodiqueEnCours)
                return 0;
        }
    }
    if (modeDecl == 1 && courte) {
        nbValLuesFifoEnCours = 0;
        if (recupTerminee)
            etapeAcq = 5;
        return 0;
    }
    const int r = renvoyer(fifo);
    nbValLuesFifoEnCours = 0;
    return r;
}

// Phase 5 (short threshold acquisitions): everything is read, handed over 256 at a time.
int TSYSAMCAMPUS::phaseRenvoiFin(TFifoSP5& fifo) {
    const int n = renvoyer(fifo);
    nbValRestantATransmettre -= std::min<int64_t>(nbValRestantATransmettre, n);
    return n;
}

int TSYSAMCAMPUS::renvoyer(TFifoSP5& fifo) {
    // Blocks of at least NbPtsFifo words while the acquisition runs; what is left at the end.
    const int64_t enAttente = nbValTotalLues - idxValFin;
    if (enAttente < std::max(NbPtsFifo, 1) && nbValTotalLues < NBValTrame)
        return 0;
    const int64_t f = std::min(nbValTotalLues - 1, NBValTrame - 1);
    const int64_t n = std::min<int64_t>(f - idxValFin + 1, static_cast<int64_t>(fifo.size()));
    if (n <= 0)
        return 0;
    std::copy_n(RAMAcq.begin() + idxValFin, n, fifo.begin());
    idxValFin += n;
    idxValfront = f + 1;
    return static_cast<int>(n);
}

double TSYSAMCAMPUS::uSynchro(int64_t pas) const {
    const auto j = static_cast<std::size_t>(pas * nbVAAcq + voieSynchroVAAcq);
    const auto v = static_cast<std::size_t>(voieSynchroAcq);
    const std::size_t k = static_cast<std::size_t>(std::clamp(VoiesX[v].idxCalibreUt, 0, 3));
    return (RAMAcq[j] >> 4) * a1[v][k] + b1[v][k];
}

void TSYSAMCAMPUS::placerDeclenchement() {
    // The last crossing of the threshold in the trigger direction, scanned backwards from
    // the end of the span, becomes the step just after nbPtsPretrig.
    const int64_t nbVA = nbVAAcq;
    const int64_t H = nbValTotalLues / nbVA;
    const double S = USeuilDecl;
    const int sigma = sensDeclSeuil == 1 ? -1 : 1;
    int64_t s = H - 1;
    if (H >= 2) {
        double e = uSynchro(s);
        while (s > 0) {
            --s;
            const double d = uSynchro(s);
            if (s <= nbPtsPretrig)
                break;
            if (signe(d - S) * signe(e - S) == -1 && signe(e - d) == sigma)
                break;
            e = d;
        }
    }
    const int64_t D = std::max<int64_t>(s - nbPtsPretrig, 0);
    if (D > 0) {
        const int64_t decalage = D * nbVA;
        std::copy(RAMAcq.begin() + decalage, RAMAcq.begin() + nbValTotalLues, RAMAcq.begin());
        nbValTotalLues -= decalage;
    }
    // With a large pretrigger the span holds more than the acquisition: only what
    // belongs to it is kept (and handed over).
    nbValTotalLues = std::min(nbValTotalLues, NBValTrame);
    idxValfront = nbValTotalLues;
    recupTerminee = nbValTotalLues >= NBValTrame;
    idxValFin = 0;
    calculerDtPretrig(nbPtsPretrig);
}

void TSYSAMCAMPUS::calculerDtPretrig(int64_t a) {
    dtPretrig = 0.0;
    if (a < 0 || (a + 2) * nbVAAcq > nbValTotalLues)
        return;
    const uint16_t v0 = RAMAcq[static_cast<std::size_t>(a * nbVAAcq + voieSynchroVAAcq)] >> 4;
    const uint16_t v1 = RAMAcq[static_cast<std::size_t>((a + 1) * nbVAAcq + voieSynchroVAAcq)] >> 4;
    vPre = v0;
    vPost = v1;
    if (v0 == v1)
        return;
    const double u0 = uSynchro(a);
    const double u1 = uSynchro(a + 1);
    uPre = static_cast<float>(u0);
    uPost = static_cast<float>(u1);
    const double d = (USeuilDecl - u0) / (u1 - u0) * dt0X;
    dtPretrig = std::isfinite(d) ? std::clamp(d, 0.0, dt0X) : 0.0;
}
