// TSYSAMV6: inputs and ranges, timebase, trigger and the commands that program the unit.
#include "sysamv6.h"

#include "arrondis.h"

#include <algorithm>
#include <cmath>

// --- Inputs and ranges ---

void TSYSAMV6::reconstruireListes() {
    VoiesActivesX.assign(nbEAU, -1);
    nbVoiesActivesX = 0;
    for (int i = 0; i < nbEAU; ++i)
        if (VoiesX[i].active)
            VoiesActivesX[nbVoiesActivesX++] = i;
    VoiesActivesSignaux = VoiesActivesX;
    nbVoiesSignaux = nbVoiesActivesX;
    nbVoiesActivesES = nbVoiesActivesX;
}

void TSYSAMV6::activeVoieA(uint8_t numV, bool applique) {
    if (numV >= nbEAU)
        return;
    CentralePretePourAcq = false;
    VoiesX[numV].active = true;
    reconstruireListes();
    ccV_VoiesAAcqMod = true;
    determine_tSkipAcquisition();
    setDurees(dureeTotale0X, nbPtsAffX, false);
    CentralePretePourAcq = false;
    prepareTousPRX(applique);
}

void TSYSAMV6::desactiveVoieA(uint8_t numV, bool applique) {
    if (numV >= nbEAU)
        return;
    CentralePretePourAcq = false;
    VoiesX[numV].active = false;
    reconstruireListes();
    ccV_VoiesAAcqMod = true;
    determine_tSkipAcquisition();
    setDurees(dureeTotale0X, nbPts0X, false);
    CentralePretePourAcq = false;
    prepareTousPRX(applique);
}

void TSYSAMV6::setCal(uint8_t numV, int cal1, bool) {
    // One hardware range: the choice is only kept (it bounds the threshold).
    if (numV >= nbEAU)
        return;
    VoiesX[numV].idxCalibreEA = std::clamp(cal1, 0, nbCalEAKirvane - 1);
}

void TSYSAMV6::prepareCalibreAdapte(int voie1, float) {
    if (voie1 >= 0 && voie1 < nbEAU)
        setCal(static_cast<uint8_t>(voie1), 0, false);
}

void TSYSAMV6::setModeDiff(int canal1, bool, bool) {
    // Every input is differential.
    if (canal1 >= 0 && canal1 < nbCanauxUt)
        canauxDiff[canal1] = true;
}

double TSYSAMV6::Ux(int voieX, int vNum) {
    if (voieX < 0 || voieX >= nbEAU)
        return 0.0;
    const TVoie& v = VoiesX[voieX];
    return static_cast<double>(vNum) * v.ca[0] + v.cb[0];
}

int TSYSAMV6::ValUx(int voieX, float U1) {
    if (voieX < 0 || voieX >= nbEAU)
        return 0;
    return TCodecV6::codeTension(VoiesX[voieX].ca[0], VoiesX[voieX].cb[0], U1);
}

// --- Timebase ---

void TSYSAMV6::determine_tSkipAcquisition() {
    nbVoiesActivesES = nbVoiesActivesX;
    tSkipAcq = std::max(nbVoiesActivesES, 1) * (avecCapteurs ? 1e-4 : 1e-5);
    FeAcq = 1.0 / tSkipAcq;
}

void TSYSAMV6::SetNdt(double dt1, double, int64_t& ndt1) {
    ndt1 = std::max<int64_t>(arrondi64(dt1 / tSkipAcq), 1);
}

void TSYSAMV6::DetermineNBPt0XMAx(int nbVA2, int64_t& nbPts0XMax2) {
    nbPts0XMax2 = 30000 / std::max(nbVA2, 1) + 1;
}

void TSYSAMV6::setDureesGeneriques(double& dureeTotale1, double& dt1, int64_t& nbPts1,
                                   int64_t& nbPtsAff1, int64_t& nbPts0XMax1, int64_t& ndt1,
                                   double tSkipAcq1) {
    double duree = std::max(std::min(dureeTotale1, 36000.0), 1e-4);
    if (!std::isfinite(dureeTotale1))
        duree = 36000.0;
    DetermineNBPt0XMAx(nbVoiesActivesX, nbPts0XMax1);
    const int64_t maxi = nbPts0XMax1;
    const int nES = std::max(nbVoiesActivesES, 1);
    int64_t aff = std::max<int64_t>(std::min(maxi, std::max<int64_t>(1, nbPtsAff1)), 5);
    double dt = 0.0;
    bool rapide = duree <= 0.999995;
    if (rapide) {
        dt = std::max(tSkipAcq1, duree / static_cast<double>(aff - 1));
        // The fast counter counts 50 ns steps per input up to 65536: a longer period
        // takes the slow timebase instead of overflowing.
        if (dt / nES > TCodecV6::dtMaxRapide) {
            rapide = false;
        } else {
            // The unit samples on whole 50 ns steps per input.
            const double pas = 50e-9 * nES;
            dt = std::max(arrondiPair(dt / pas), 1.0) * pas;
            aff = std::max<int64_t>(arrondi64(duree / dt) + 1, 5);
        }
    }
    if (!rapide) {
        dt = duree / static_cast<double>(aff - 1);
        // The slow timebase carries (ms - 1) on 16 bits: a longer step takes more points.
        if (dt > TCodecV6::dtMaxLent) {
            aff = std::min<int64_t>(
                static_cast<int64_t>(std::ceil(duree / TCodecV6::dtMaxLent)) + 1, maxi);
            dt = duree / static_cast<double>(aff - 1);
        }
        dt = std::max<double>(arrondiPair(dt * 0.9995 / 1e-3), 1.0) * 1e-3;
        dt = std::min(dt, TCodecV6::dtMaxLent);
        aff = std::min<int64_t>(std::max<int64_t>(arrondi64(duree / dt) + 1, 5), maxi);
    }
    modeAcq = rapide ? 0 : 1;
    dt1 = dt;
    dureeTotale1 = static_cast<double>(aff - 1) * dt;
    nbPtsAff1 = aff;
    nbPts1 = modeDecl == 1 || modeDecl == 2 ? aff + 1 : aff;
    SetNdt(dt, tSkipAcq, ndt1);
}

void TSYSAMV6::setDurees(double dureeTotale1, int64_t nbPts1, bool applique) {
    nbVoiesActivesES = nbVoiesActivesX;
    CentralePretePourAcq = false;
    if (!(dureeTotale1 >= 1e-10) || nbPts1 < 3)
        return;
    determine_tSkipAcquisition();
    double duree = dureeTotale1;
    double dt = 0.0;
    int64_t nbPts = nbPts1, nbAff = nbPts1, maxi = 0, n = 0;
    setDureesGeneriques(duree, dt, nbPts, nbAff, maxi, n, tSkipAcq);
    dureeTotale0X = duree;
    dt0X = dt;
    nbPts0X = nbPts;
    nbPtsAffX = nbAff;
    nbPts0XMax = static_cast<int>(maxi);
    ndt = n;
    modeRecuperation = dureeTotale0X <= tRemanence ? 1 : 0;
    setPretrig(tauxPretrig, false);
    prepareTousPRX(applique);
    tailleRAMAcq = tronque(nbVoiesActivesES * 2.7 * static_cast<double>(nbPts0X));
}

void TSYSAMV6::setDurees(bool applique) {
    setDurees(dureeTotale0X, nbPts0X, applique);
}

// --- Trigger and pretrigger ---

void TSYSAMV6::setModeDeclenchement(int modeDecl1, bool applique) {
    modeDecl = std::clamp(modeDecl1, 0, 2);
    CentralePretePourAcq = false;
    pretrigCache = TCodecV6::pretrigCache(modeDecl);
    setDurees(dureeTotale0X, nbPtsAffX, false);
    prepareTousPRX(applique);
}

int TSYSAMV6::setVoieSynchro(int voie1, bool applique) {
    voieSynchro = voie1;
    if (nbVoiesActivesX <= 0) {
        voieSynchro = voieSynchroVA = idxgrSynchro = 0;
    } else {
        const auto fin = VoiesActivesX.begin() + nbVoiesActivesX;
        const auto it = std::find(VoiesActivesX.begin(), fin, voie1);
        if (it == fin) {
            voieSynchroVA = 0;
            voieSynchro = VoiesActivesX[0];
        } else {
            voieSynchroVA = static_cast<int>(it - VoiesActivesX.begin());
        }
        idxgrSynchro = 0;
        for (int j = 0; j < voieSynchroVA; ++j)
            idxgrSynchro += VoiesX[VoiesActivesX[j]].nbGUCapX;
    }
    // The unit is programmed with the new trigger input whatever applique says.
    if (voieSynchro != -1 || applique)
        prepareTousPRX(true);
    return voieSynchro;
}

void TSYSAMV6::setSensDeclSeuil(int sensDecl1, bool applique) {
    sensDeclSeuil = sensDecl1 == 1 ? 1 : 0;
    prepareTousPRX(applique);
}

double TSYSAMV6::limiteSeuil(int v) const {
    const int idx = v >= 0 && v < nbEAU ? VoiesX[v].idxCalibreEA : 0;
    const int r = std::clamp(idx, 0, static_cast<int>(calibresEAStandard.size()) - 1);
    return 0.95 * calibresEAStandard[r];
}

void TSYSAMV6::setSeuilDecl(float ValSeuilDecl1) {
    const int v = voieSynchro;
    if (v < 0 || v >= nbEAU || VoiesX[v].cap.CodeCapteur != 0)
        return;
    const double lim = limiteSeuil(v);
    double u = std::isfinite(ValSeuilDecl1) ? ValSeuilDecl1 : 0.0;
    u = std::clamp(u, -lim, lim);
    USeuilDecl = vSeuilDecl = static_cast<float>(u);
    VNESeuilDecl = ValUx(v, USeuilDecl);
}

void TSYSAMV6::setPretrig(int idxPretrig1, bool applique) {
    idxPretrig = std::clamp(idxPretrig1, 0, 4);
    tauxPretrig = 25.0f * static_cast<float>(idxPretrig);
    nbPtsPretrig = arrondi(tauxPretrig * 0.9999 *
                           static_cast<double>(std::max<int64_t>(nbPtsAffX - 1, 0)) / 100.0);
    tPretrig = static_cast<float>(nbPtsPretrig * dt0X);
    prepareTousPRX(applique);
}

void TSYSAMV6::setPretrig(float tauxPretrig1, bool applique) {
    const float t = std::isfinite(tauxPretrig1) ? std::clamp(tauxPretrig1, 0.0f, 100.0f) : 0.0f;
    idxPretrig = -1;
    tauxPretrig = t;
    for (int k = 0; k <= 4; ++k) {
        if (std::fabs(t - 25.0f * static_cast<float>(k)) <= 0.5f) {
            idxPretrig = k;
            tauxPretrig = 25.0f * static_cast<float>(k);
        }
    }
    nbPtsPretrig = arrondi(tauxPretrig * 0.99999 *
                           static_cast<double>(std::max<int64_t>(nbPtsAffX - 1, 0)) / 100.0);
    tPretrig = static_cast<float>(nbPtsPretrig * dt0X);
    prepareTousPRX(applique);
}

// --- Commands ---

void TSYSAMV6::PrepareIdxTraitKirvane() {
    // The unit sends the inputs of one time step in input order.
    idxTraitKirvane.assign(std::max(nbEAU, 1), 0);
    for (int j = 0; j < nbEAU; ++j)
        idxTraitKirvane[j] = j;
}

void TSYSAMV6::prepareTousPRX(bool applique) {
    pretrigCache = TCodecV6::pretrigCache(modeDecl);
    const std::vector<std::vector<uint8_t>> c = codec_.commandesProgrammation(*this);
    auto texte = [](const std::vector<uint8_t>& o) { return std::string(o.begin(), o.end()); };
    cmdV = texte(c[0]);
    cmdP = texte(c[1]);
    cmdN = texte(c[2]);
    cmdE = texte(c[3]);
    cmdO = texte(c[4]);
    carDecl = modeAcq == 0 ? 'F' : 'G';
    ccV_VoiesAAcqMod = ccV_VoiesAAcqMod || cmdV != ccV_VoiesAAcq;
    ccP_TempsEchMod = ccP_TempsEchMod || cmdP != ccP_TempsEch;
    ccN_NbPointsMod = ccN_NbPointsMod || cmdN != ccN_NbPoints;
    ccE_SynchroMod = ccE_SynchroMod || cmdE != ccE_Synchro;
    ccO_PretrigMod = true; // the pretrigger always travels
    nbPtsPretrig = static_cast<int>(TCodecV6::nbPtsPretrigPour(modeDecl, tauxPretrig, nbPts0X));
    if (voieSynchro >= 0 && voieSynchro < nbEAU)
        VNESeuilDecl = ValUx(voieSynchro, USeuilDecl);

    const int nbS = std::max(nbVoiesActivesX, 1);
    const int64_t valeurs = static_cast<int64_t>(nbS) * nbPts0X;
    const int64_t blocs = (valeurs + NbPtsFifo - 1) / std::max(NbPtsFifo, 1);
    nbValTVx = static_cast<int>(std::max<int64_t>(1, blocs * NbPtsFifo));
    nbPtsR = nbValTVx / nbS;
    VoiesActivesSignaux = VoiesActivesX;
    nbVoiesSignaux = nbVoiesActivesX;
    PrepareIdxTraitKirvane();
    if (applique)
        prepareInterfacePourAcq(true);
}

bool TSYSAMV6::prepareInterfacePourAcq(bool forceV6) {
    if (forceV6)
        ccV_VoiesAAcqMod = ccP_TempsEchMod = ccN_NbPointsMod = ccE_SynchroMod = ccO_PretrigMod =
            true;
    if (!lienOuvert() || demarree)
        return false;
    // Stale sample bytes must not be read as replies.
    transport_->purger();
    struct Envoi {
        const std::string& cmd;
        std::string& cache;
        bool& mod;
        bool verifiee;
    };
    const Envoi envois[] = {{cmdV, ccV_VoiesAAcq, ccV_VoiesAAcqMod, true},
                            {cmdP, ccP_TempsEch, ccP_TempsEchMod, true},
                            {cmdN, ccN_NbPoints, ccN_NbPointsMod, true},
                            {cmdE, ccE_Synchro, ccE_SynchroMod, false},
                            {cmdO, ccO_Pretrig, ccO_PretrigMod, true}};
    for (const Envoi& e : envois) {
        if (!e.mod)
            continue;
        bool recue = false;
        const std::string r = Send_V6(e.cmd, &recue);
        if (e.verifiee && (!recue || r.empty()))
            return false; // refused: the next programming sends it again
        if (!e.verifiee && !recue && !lienOuvert())
            return false;
        e.cache = e.cmd;
        e.mod = false;
    }
    CentralePretePourAcq = true;
    return true;
}
