// The read loop shared by the single acquisition and the two kinds of frames: FIFO
// transfers, de-interleaving, conversion, storage, live values and the waits while the
// FIFO is empty. Nothing is allocated between arming and the end of the loop.
#include "moteuracquisition.h"

#include "arrondis.h"

#include <QThread>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool declenchementSynchro(const TCentrale& c) {
    return c.modeDecl == 1 || c.modeDecl == 2;
}

} // namespace

void TMoteurAcquisition::preparerColonnes(TGenreLecture genre) {
    TCentrale& c = *SP5;
    const int m = series_.nbVoiesMesurees;
    const int64_t nbPts = std::max<int64_t>(0, c.nbPts0X);
    int n = std::clamp(c.nbVoiesSignaux, 0, 8);
    // Only the signals the store made room for can be stored.
    n = std::clamp(static_cast<int>(series_.tv2.size()) - m, 0, n);
    n = std::min(n, static_cast<int>(c.VoiesActivesSignaux.size()));
    nbS_ = n;
    if (genre == TGenreLecture::TrameRapide) {
        trameRapide_.resize(n);
        for (auto& col : trameRapide_)
            col.resize(nbPts);
    }
    limiteIndex_ = std::numeric_limits<int64_t>::max();
    tableUx_.resize(static_cast<std::size_t>(n) * 4096);
    for (int i = 0; i < n; ++i) {
        voies_[i] = c.VoiesActivesSignaux[i];
        const bool idxConnu = i < static_cast<int>(c.idxTraitKirvane.size()) &&
                              c.idxTraitKirvane[i] >= 0 && c.idxTraitKirvane[i] < n;
        idx_[i] = idxConnu ? c.idxTraitKirvane[i] : i;
        auto& col = genre == TGenreLecture::TrameRapide ? trameRapide_[i] : series_.tv2[m + i];
        colonnes_[i] = col.data();
        descriptions_[i] = &series_.voiesMesurees[m + i];
        limiteIndex_ = std::min<int64_t>(limiteIndex_, static_cast<int64_t>(col.size()));
        // The conversion of every 12-bit code, so that the loop only looks values up.
        double* table = tableUx_.data() + static_cast<std::size_t>(i) * 4096;
        for (int code = 0; code < 4096; ++code)
            table[code] = c.Ux(voies_[i], code);
    }
    if (n == 0)
        limiteIndex_ = 0;
}

void TMoteurAcquisition::armer(TGenreLecture genre) {
    TCentrale& c = *SP5;
    c.trameTerminee = false;
    if (genre == TGenreLecture::Simple)
        stop = false;
    c.attenteDeclenchement = true;
    if (genre == TGenreLecture::Simple)
        vue_.afficherMessage(declenchementSynchro(c)
                                 ? QStringLiteral("Attente du déclenchement sur synchro...")
                                 : QStringLiteral("Acquisition en attente..."));
    else
        vue_.afficherMessage(declenchementSynchro(c) ? QStringLiteral("Attente du déclenchement")
                                                     : QStringLiteral("Acquisition en attente..."));
    if (genre == TGenreLecture::Simple) {
        pt0Trame = 0;
        vue_.setModeDessinVM();
    }
    reste_ = 0;
    ptFront = 0;
    stockes_ = 0;
    dernierEcrit_ = -1;
    nbTransferts_ = 0;
    donneesVues_ = false;
    seuil_ = c.modeDecl == 1;
    rapportPretrig_ = 0.0;
    messageFinMesures_ = false;
    finMesures_.invalidate();
    silence_.invalidate();
    c.declencheAcq();
    dtAttenteX = 0.0;
    nouveauxParametres = false;
    // A unit unplugged between two frames cannot start the next one: the same end as an
    // unplug during a frame, else the frames would be retried for ever.
    if (!c.acqPeriodiqueEnCours && c.presentePendantAcq() == -1) {
        nouveauxParametres = true;
        typeSortieMP = SORTIE_DEBRANCHEMENT;
        return;
    }
    // A unit that refused its settings does not start: the user is told why.
    const bool refuse = !c.acqPeriodiqueEnCours && !c.refusDemarrage().isEmpty();
    if (refuse)
        vue_.avertir(c.refusDemarrage());
    if (refuse) {
        // Nothing will come: permanent mode ends as after the stop button.
        stop = true;
        if (typeSortieMP == SORTIE_AUCUNE)
            typeSortieMP = SORTIE_ARRET;
    }
}

void TMoteurAcquisition::boucleLecture(TGenreLecture genre) {
    TCentrale& c = *SP5;
    const bool lisible = c.modeDecl >= 0 && c.modeDecl <= 2;
    while (lisible) {
        int a = c.LireFifo(&fifo_);
        // The stop button and the settings handlers call arreteAcq: end at once.
        if (!c.acqPeriodiqueEnCours)
            break;
        if (a == LIREFIFO_RAPPELER) {
            // A wait ran out inside the driver: it has already waited, so the loop reads
            // again at once, without counting a wait, after the pending events.
            vue_.traiterMessages();
        } else if (a < 0) {
            // The unit is gone: the same end as a failed presence test.
            nouveauxParametres = true;
            typeSortieMP = SORTIE_DEBRANCHEMENT;
        } else if (a >= 1) {
            traiterTransfert(std::min(a, static_cast<int>(fifo_.size())), genre);
        } else {
            vue_.traiterMessages();
            RetourFIFOZero();
            vue_.traiterMessages();
        }
        verifierFinMesures();
        c.trameTerminee = donneesVues_ && stockes_ >= c.nbPts0X;
        bool continuer = c.nbVoiesSignaux > 0 && !c.trameTerminee && !stop;
        switch (genre) {
        case TGenreLecture::Simple:
            continuer = continuer && MODEGENERAL == MODE_ACQ_SIMPLE && !nouveauxParametres;
            break;
        case TGenreLecture::TrameRapide:
            // Permanent mode switched off in fast frames: the frame is completed first.
            continuer = continuer && ((MODEGENERAL == MODE_ACQ_PERMANENTE && !nouveauxParametres) ||
                                      typeSortieMP == SORTIE_ARRET_RAPIDE);
            break;
        case TGenreLecture::TrameLente:
            continuer = continuer && MODEGENERAL == MODE_ACQ_PERMANENTE && !nouveauxParametres;
            break;
        }
        if (!continuer)
            break;
    }
    // A trigger mode that reads nothing, or a unit that did not start its frame without
    // saying why, must not spin the frames: the frame loop would never hand control back.
    const bool pasDemarree = !donneesVues_ && nbTransferts_ == 0 && !c.acqPeriodiqueEnCours &&
                             !stop && !nouveauxParametres;
    if (!lisible || pasDemarree) {
        vue_.traiterMessages();
        dormir(attenteMaxMs);
    }
    c.arreteAcq();
    vue_.masquerAttenteLongue();
}

void TMoteurAcquisition::traiterTransfert(int a, TGenreLecture genre) {
    TCentrale& c = *SP5;
    dtAttenteX = 0.0;
    silence_.start();
    const bool premierLot = !donneesVues_;
    if (premierLot) {
        c.attenteDeclenchement = false;
        vue_.masquerAttenteLongue();
        vue_.afficherMessage(QStringLiteral("Acquisition en cours..."));
        if (genre == TGenreLecture::Simple)
            finMesures_.start();
        c.getDTPretrig();
        if (seuil_ && c.dt0X > 0.0)
            rapportPretrig_ = std::clamp(c.dtPretrig / c.dt0X, 0.0, 1.0);
    }
    donneesVues_ = true;
    for (int j = 0; j < a; ++j)
        echantillons_[reste_ + j] = static_cast<uint16_t>(fifo_[j] >> 4);
    const int total = a + reste_;
    const int nbS = nbS_;
    const int64_t nbLot = nbS > 0 ? total / nbS : 0;
    reste_ = nbS > 0 ? total % nbS : 0;

    // Points k = premierK .. dernier of the frame; with the threshold trigger point k is
    // stored at k - 1, shifted onto the trigger instant.
    const int64_t premierK = stockes_;
    int64_t dernier = std::min<int64_t>(stockes_ + nbLot - 1, c.nbPts0X - 1);
    const int64_t decal = seuil_ ? 1 : 0;
    dernier = std::min(dernier, limiteIndex_ - 1 - pt0Trame + decal);
    if (seuil_ && premierK == 0 && pt0Trame >= limiteIndex_)
        dernier = -1; // not even sample 0 has room
    if (dernier >= premierK) {
        ptFront = dernier;
        const float rapport = static_cast<float>(rapportPretrig_);
        for (int i = 0; i < nbS; ++i) {
            float* col = colonnes_[i] + pt0Trame;
            const double* table = tableUx_.data() + static_cast<std::size_t>(i) * 4096;
            const uint16_t* src = echantillons_.data() + idx_[i];
            float mx = descriptions_[i]->max;
            float mn = descriptions_[i]->min;
            int64_t k = premierK;
            if (seuil_) {
                float up = static_cast<float>(uPrec_[i]);
                if (k == 0) {
                    up = static_cast<float>(table[src[0]]);
                    col[0] = up;
                    mx = std::max(mx, up);
                    mn = std::min(mn, up);
                    ++k;
                }
                for (; k <= dernier; ++k) {
                    const float u = static_cast<float>(table[src[(k - premierK) * nbS]]);
                    const float v = up + (u - up) * rapport;
                    col[k - 1] = v;
                    mx = std::max(mx, v);
                    mn = std::min(mn, v);
                    up = u;
                }
                uPrec_[i] = up;
            } else {
                for (; k <= dernier; ++k) {
                    const float v = static_cast<float>(table[src[(k - premierK) * nbS]]);
                    col[k] = v;
                    mx = std::max(mx, v);
                    mn = std::min(mn, v);
                }
            }
            descriptions_[i]->max = mx;
            descriptions_[i]->min = mn;
        }
        dernierEcrit_ = seuil_ ? std::max<int64_t>(dernier - 1, 0) : dernier;
    }
    // The leftover words sit right after the complete time steps.
    const int debutReste = total - reste_;
    for (int j = 0; j < reste_; ++j)
        echantillons_[j] = echantillons_[debutReste + j];
    stockes_ += nbLot;

    if (dernier >= premierK) {
        if (genre != TGenreLecture::TrameRapide)
            traiterValeursDirectes(genre);
        TLotAcquisition lot;
        lot.genre = genre;
        lot.nbSignaux = nbS;
        lot.voies = voies_.data();
        lot.colonnes = colonnes_.data();
        lot.premier = pt0Trame + (seuil_ ? std::max<int64_t>(premierK - 1, 0) : premierK);
        lot.dernier = pt0Trame + dernierEcrit_;
        lot.pt0Trame = pt0Trame;
        lot.trameX = trameX;
        lot.modeDoubleTrameX = modeDoubleTrameX;
        lot.ptFront = ptFront;
        lot.premierLot = premierLot;
        lot.seuil = seuil_;
        lot.dt0X = c.dt0X;
        if (genre == TGenreLecture::TrameLente) {
            const bool synchro = declenchementSynchro(c);
            lot.effacerTout = optionEffaceTrame && premierLot;
            lot.effacerBande = !optionEffaceTrame;
            lot.tBande0 = premierLot ? 0.0 : static_cast<double>(premierK) * c.dt0X;
            lot.tBande1 = static_cast<double>(dernier + 1) * c.dt0X;
            const double tP = c.tPretrig;
            lot.marquePretrig = synchro && ((static_cast<double>(premierK) * c.dt0X <= tP &&
                                             tP <= static_cast<double>(dernier) * c.dt0X) ||
                                            (lot.effacerTout && pretrigActif));
        }
        vue_.dessinerLot(lot);
    }
    vue_.rafraichir();
    ++nbTransferts_;
    vue_.traiterMessages();
}

void TMoteurAcquisition::traiterValeursDirectes(TGenreLecture genre) {
    // The latest value written, never before index 0 nor beyond the column.
    if (dernierEcrit_ < 0)
        return;
    const int64_t j = pt0Trame + dernierEcrit_;
    if (j >= limiteIndex_)
        return;
    for (int i = 0; i < nbS_; ++i)
        vue_.valeurDirecte(voies_[i], colonnes_[i][j]);
    (void)genre;
}

int64_t TMoteurAcquisition::limiteSilenceMs() const {
    // Ten periods of one transfer (at least ten sample periods): a unit that hands its
    // words over by transfers is silent for a whole transfer between two of them.
    const TCentrale& c = *SP5;
    const double dt = c.dt0X > 0.0 && std::isfinite(c.dt0X) ? c.dt0X : 0.0;
    const double parTransfert =
        static_cast<double>(std::max(c.NbPtsFifo, 1)) / std::max(c.nbVoiesSignaux, 1);
    const double limite = std::max(delaiSilenceMax, 0.0) + 10.0 * dt * std::max(parTransfert, 1.0);
    return static_cast<int64_t>(std::ceil(std::min(limite, 1e9) * 1000.0));
}

void TMoteurAcquisition::RetourFIFOZero() {
    TCentrale& c = *SP5;
    const int pause = std::clamp(c.tSleepFifo, 1, attenteMaxMs);
    auto fin = [this](TSortieMP code) {
        nouveauxParametres = true;
        typeSortieMP = code;
    };
    if (c.attenteDeclenchement) {
        dormir(pause);
        dtAttenteX += pause / 1000.0;
        // A unit without a waiting limit is still asked for its presence every second.
        const double periode = std::min<double>(c.tAttenteMaxDecl, 1.0);
        if (dtAttenteX > periode) {
            if (c.presentePendantAcq() == -1) {
                fin(SORTIE_DEBRANCHEMENT);
            } else {
                c.tAcqAttDecl = c.chronometre.Mesure();
                if (c.tAcqAttDecl / 1000.0 >= c.tAttenteMaxDecl)
                    vue_.afficherAttenteLongue();
            }
            dtAttenteX = 0.0;
            vue_.traiterMessages();
        }
        return;
    }
    // Acquiring: values are still due. A unit that stays silent far longer than its
    // transfers take has lost them (dropped words): what was read is committed.
    if (silence_.isValid() && silence_.elapsed() > limiteSilenceMs()) {
        fin(c.presentePendantAcq() == -1 ? SORTIE_DEBRANCHEMENT : SORTIE_DONNEES_MANQUANTES);
        return;
    }
    // One short sleep per empty transfer; after eight of them, is the unit still there?
    if (dtAttenteX <= 8.0 * pause / 1000.0) {
        dormir(pause);
        dtAttenteX += pause / 1000.0;
        return;
    }
    const int present = c.presentePendantAcq();
    if (present == -1) {
        fin(SORTIE_DEBRANCHEMENT);
    } else {
        // Any other answer is not "gone": wait again with short sleeps rather than asking
        // at every empty read.
        vue_.traiterMessages();
        dtAttenteX = 0.0;
    }
}

void TMoteurAcquisition::verifierFinMesures() {
    if (intervalleFinMesures_ <= 0 || messageFinMesures_ || !finMesures_.isValid())
        return;
    if (finMesures_.elapsed() < intervalleFinMesures_)
        return;
    messageFinMesures_ = true;
    if (MODEGENERAL == MODE_ACQ_SIMPLE)
        vue_.afficherMessage(QStringLiteral("Mesures terminées, récupération des valeurs"));
}

void TMoteurAcquisition::dormir(int ms) {
    QThread::msleep(static_cast<unsigned long>(std::clamp(ms, 0, attenteMaxMs)));
}
