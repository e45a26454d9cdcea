// TSYSAMV6: start, stop, direct measurement and the reading of the sample bytes. The
// reading never waits for data: each call takes what the link holds, carries a lone
// byte to the next call and returns 0 when nothing can be handed over yet.
#include "sysamv6.h"

#include "arrondis.h"

#include <algorithm>
#include <cstring>

// --- Start and stop ---

void TSYSAMV6::declencheAcq() {
    if (demarree)
        arreteAcq();
    erreurDemarrage.clear();
    const int nbS = std::max(nbVoiesSignaux, 1);
    tSleepFifo = std::clamp(tronque(NbPtsFifo * 1000.0 / nbS * dt0X) + 1, 1, 100);
    tSleepTrame = tronque(30.0 * static_cast<double>(nbPts0X) * nbVoiesSignaux / 1000.0) + 1;
    if (!CentralePretePourAcq) {
        // Programming failed: starting would acquire with settings the user never chose.
        erreurDemarrage =
            QStringLiteral("La centrale SYSAM V6 n'a pas accepté les réglages de l'acquisition.\n\r"
                           "Vérifiez qu'elle est bien connectée, puis recommencez.");
        return;
    }
    if (!lienOuvert() || nbVoiesActivesX <= 0)
        return;
    NBValTrame = static_cast<int64_t>(nbVoiesActivesX) * (pretrigCache + nbPts0X + 1);
    // Sized before the read loop: the loop itself never allocates.
    if (static_cast<int64_t>(RAMAcq.size()) < NBValTrame)
        RAMAcq.resize(static_cast<std::size_t>(NBValTrame));
    idxValfront = idxValFinX = nbValLues = finPretrig = 0;
    octetReste = -1;
    longueurRapport = 0;
    lienPerdu = false;
    attenteDeclenchement = true;
    poignee = TPoigneeV6::AttenteDeuxPoints;
    etapeAcq = 1;
    transport_->purger();
    if (!EcrireUnCaractere(static_cast<uint8_t>(carDecl)) ||
        !AttendreUnCaractereTimeOut(static_cast<uint8_t>(carDecl), delaiEcho)) {
        attenteDeclenchement = false;
        etapeAcq = 0;
        return;
    }
    acqPeriodiqueEnCours = true;
    demarree = true;
    debutProcessus();
    chronometre.Declenche();
}

void TSYSAMV6::arreteAcq() {
    if (!demarree)
        return;
    if (acqPeriodiqueEnCours && lienOuvert() && !lienPerdu) {
        if (EcrireUnCaractere(ESC))
            AttendreUnCaractereTimeOut(ESC, delaiEcho);
        attendreSilenceEtPurger();
    }
    acqPeriodiqueEnCours = false;
    demarree = false;
    attenteDeclenchement = false;
    finProcessus();
    tAcqTotal = chronometre.Mesure();
    tAcqRecup = tAcqTotal - tAcqAttDecl;
}

int TSYSAMV6::TailleTransfertFifo(int aTaille) {
    TailleFifo = std::clamp(aTaille, 1, 256);
    return TailleFifo;
}

// --- Direct measurement ---

void TSYSAMV6::MesureDirecte() {
    if (!lienOuvert() || demarree)
        return;
    transport_->purger();
    for (int j = 0; j < nbVoiesActivesX; ++j) {
        const int i = VoiesActivesX[j];
        ccA_Voie = TCodecV6::commandeMesure(i);
        int code = 0;
        if (!TCodecV6::lireHex(Send_V6(ccA_Voie), code))
            break;
        code = std::clamp(code, 0, 4095);
        VoiesX[i].mesDir = static_cast<uint16_t>(code);
        VoiesX[i].mesDirR = static_cast<float>(Ux(i, code));
    }
}

// --- Reading ---

int TSYSAMV6::perdu() {
    lienPerdu = true;
    return LIREFIFO_PERDUE;
}

bool TSYSAMV6::avancerPoignee() {
    const int64_t maintenant = horloge_->maintenantMs();
    uint8_t o = 0;
    for (;;) {
        if (!LireUnOctet(o)) {
            // The trigger may take as long as it takes; each later byte has its time-out.
            if (poignee != TPoigneeV6::AttenteDeuxPoints &&
                maintenant - debutAttenteMs > delaiOctet)
                perdu();
            return false;
        }
        debutAttenteMs = maintenant;
        switch (poignee) {
        case TPoigneeV6::AttenteDeuxPoints:
            if (o == ':') {
                attenteDeclenchement = false;
                tAcqAttDecl = chronometre.Mesure();
                longueurRapport = 0;
                poignee = TPoigneeV6::Rapport;
            }
            break;
        case TPoigneeV6::Rapport:
            if (o == '@')
                poignee = TPoigneeV6::LF;
            else if (++longueurRapport > static_cast<int>(TCodecV6::longueurMaxReponse)) {
                perdu();
                return false;
            }
            break;
        case TPoigneeV6::LF:
        case TPoigneeV6::CR:
            if (o != (poignee == TPoigneeV6::LF ? TCodecV6::LF : TCodecV6::CR)) {
                perdu();
                return false;
            }
            if (poignee == TPoigneeV6::LF) {
                poignee = TPoigneeV6::CR;
            } else if (modeAcq == 0) {
                // The fast timebase sends its data when asked for it.
                if (!EcrireUnCaractere('D')) {
                    perdu();
                    return false;
                }
                poignee = TPoigneeV6::EchoD;
            } else {
                poignee = TPoigneeV6::DeuxPointsDonnees;
            }
            break;
        case TPoigneeV6::EchoD:
            if (o == 'D')
                poignee = TPoigneeV6::DeuxPointsDonnees;
            break;
        case TPoigneeV6::DeuxPointsDonnees:
            if (o == ':')
                return true;
            break;
        }
    }
}

int64_t TSYSAMV6::lireValeurs(int64_t maxValeurs) {
    int64_t ajoutees = 0;
    while (ajoutees < maxValeurs && nbValLues < NBValTrame) {
        if (!lienOuvert())
            return -1;
        const std::size_t attente = transport_->enAttente();
        if (attente == 0)
            break;
        const int64_t voulues = std::min(maxValeurs - ajoutees, NBValTrame - nbValLues);
        std::size_t n = static_cast<std::size_t>(
            std::min<int64_t>(2 * voulues - (octetReste >= 0 ? 1 : 0), tampon_.size()));
        n = std::min(n, attente);
        n = transport_->lire(tampon_.data(), n);
        if (n == 0)
            break;
        std::size_t k = 0;
        if (octetReste >= 0) {
            const int code = (octetReste | tampon_[0] << 8) & 0x0FFF;
            RAMAcq[static_cast<std::size_t>(idxValfront++)] = static_cast<uint16_t>(code << 4);
            ++nbValLues;
            ++ajoutees;
            octetReste = -1;
            k = 1;
        }
        std::size_t consommes = 0;
        const std::size_t place = static_cast<std::size_t>(NBValTrame - nbValLues);
        const std::size_t m =
            codec_.echantillons(std::span<const uint8_t>(tampon_.data() + k, n - k),
                                std::span<uint16_t>(RAMAcq.data() + idxValfront, place), consommes);
        idxValfront += static_cast<int64_t>(m);
        nbValLues += static_cast<int64_t>(m);
        ajoutees += static_cast<int64_t>(m);
        if (k + consommes < n)
            octetReste = tampon_[k + consommes];
    }
    return ajoutees;
}

void TSYSAMV6::realignerPretrig() {
    const int n = std::max(nbVoiesActivesX, 1);
    const int64_t p = nbPtsPretrig + pretrigCache;
    const int j = std::clamp(voieSynchroVA, 0, n - 1);
    const int v = voieSynchro;
    const double seuil = modeDecl == 2 ? 0.0 : USeuilDecl;
    auto code = [&](int64_t pas) { return RAMAcq[static_cast<std::size_t>(pas * n + j)] >> 4; };
    // The unit triggered on its last point: the crossing lies among the values read, the
    // last one counts. Without one the unit's own trigger point is kept.
    int64_t f = std::max<int64_t>(p - 1, 0);
    for (int64_t s = p - 1; s >= 0; --s) {
        const double a = Ux(v, code(s)), b = Ux(v, code(s + 1));
        if ((a < seuil && b > seuil) || (a > seuil && b < seuil)) {
            f = s;
            break;
        }
    }
    const int64_t retires = std::max<int64_t>(f - nbPtsPretrig, 0);
    if (retires > 0) {
        const int64_t decal = retires * n;
        std::memmove(RAMAcq.data(), RAMAcq.data() + decal,
                     static_cast<std::size_t>(idxValfront - decal) * sizeof(uint16_t));
        idxValfront -= decal;
    }
    idxValFinX = 0;
    finPretrig = idxValfront;
    // Fine trigger instant between the step before the crossing and the next one.
    const int64_t k = std::min<int64_t>(nbPtsPretrig, idxValfront / n - 2);
    if (k < 0)
        return;
    vPre = static_cast<uint16_t>(code(k));
    vPost = static_cast<uint16_t>(code(k + 1));
    if (vPre == vPost) {
        dtPretrig = 0.0;
        return;
    }
    uPre = static_cast<float>(Ux(v, vPre));
    uPost = static_cast<float>(Ux(v, vPost));
    dtPretrig = std::clamp((seuil - uPre) / (uPost - uPre) * dt0X, 0.0, dt0X);
}

int TSYSAMV6::remettre(TPtrFifoSP5 fifo, int64_t n) {
    const int64_t m = std::min<int64_t>(
        {n, idxValfront - idxValFinX, TailleFifo, NbPtsFifo, static_cast<int64_t>(fifo->size())});
    if (m <= 0)
        return 0;
    std::memcpy(fifo->data(), RAMAcq.data() + idxValFinX, static_cast<std::size_t>(m) * 2);
    idxValFinX += m;
    return static_cast<int>(m);
}

int TSYSAMV6::LireFifo(TPtrFifoSP5 aPtrFifoSP5) {
    if (aPtrFifoSP5 == nullptr || !demarree)
        return 0;
    if (lienPerdu || !lienOuvert())
        return perdu();
    const int n = std::max(nbVoiesActivesX, 1);
    if (etapeAcq == 1) {
        if (!avancerPoignee())
            return lienPerdu ? LIREFIFO_PERDUE : 0;
        etapeAcq = modeDecl == 1 || modeDecl == 2 ? 2 : 4;
    }
    if (etapeAcq == 2) {
        const int64_t voulues = (static_cast<int64_t>(nbPtsPretrig) + pretrigCache + 1) * n;
        if (lireValeurs(voulues - idxValfront) < 0)
            return perdu();
        if (idxValfront < voulues)
            return 0;
        realignerPretrig();
        etapeAcq = 3;
    }
    if (etapeAcq == 3) {
        const int r = remettre(aPtrFifoSP5, finPretrig - idxValFinX);
        if (idxValFinX >= finPretrig)
            etapeAcq = 4;
        if (r > 0)
            return r;
    }
    // Streaming: take what waits, about one transfer and a tenth at most per call.
    const int64_t parAppel = NbPtsFifo + NbPtsFifo / 10;
    if (lireValeurs(parAppel) < 0)
        return perdu();
    const int64_t prets = idxValfront - idxValFinX;
    if (prets >= std::min(TailleFifo, NbPtsFifo) || (nbValLues >= NBValTrame && prets > 0))
        return remettre(aPtrFifoSP5, prets);
    return 0;
}
