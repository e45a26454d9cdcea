// TSP5: inputs and ranges, the programming image and its sending, the order of the
// samples in the FIFO, and the timebase.
#include "sp5.h"

#include "arrondis.h"

#include <algorithm>
#include <cmath>

namespace {

// Code of each hardware range in the gain word.
constexpr uint8_t codesGain[4] = {0, 4, 5, 2};

uint8_t octet(int64_t valeur, int rang) {
    return static_cast<uint8_t>((static_cast<uint64_t>(valeur) >> (8 * rang)) & 0xFF);
}

} // namespace

const std::array<uint8_t, 20> TSP5::ordreEnvoi = {0x00, 0x03, 0x02, 0x01, 0x08, 0x07, 0x06,
                                                  0x05, 0x04, 0x0B, 0x0A, 0x09, 0x0C, 0x1D,
                                                  0x1F, 0x1E, 0x22, 0x21, 0x20, 0x23};

// --- Inputs and ranges ---

void TSP5::activeVoieA(uint8_t numV, bool applique) {
    if (numV >= nbEAU)
        return;
    VoiesX[numV].active = true;
    determine_tSkipAcquisition();
    prepareTousPRX(applique);
    CentralePretePourAcq = applique;
}

void TSP5::desactiveVoieA(uint8_t numV, bool applique) {
    if (numV >= nbEAU)
        return;
    VoiesX[numV].active = false;
    determine_tSkipAcquisition();
    prepareTousPRX(applique);
    CentralePretePourAcq = applique;
}

void TSP5::setModeDiff(int canal1, bool mode1, bool applique) {
    if (canal1 < 0 || canal1 >= nbCanauxUt)
        return;
    canauxDiff[canal1] = mode1;
    determine_tSkipAcquisition();
    prepareTousPRX(applique);
    CentralePretePourAcq = applique;
}

void TSP5::setCal(uint8_t numV, int cal1, bool applique) {
    if (numV >= nbEAU)
        return;
    const int idx = std::clamp(cal1, 0, nbCalEA - 1);
    TVoie& v = VoiesX[numV];
    v.idxCalibreEA = idx;
    v.idxCalibreUt = idx;
    v.calibreR = v.calsVoieR[idx];
    const double R = calibreVolts(idx);
    const double Rnominal = calibreVolts(v.cap.calNominal);
    if (v.cap.CodeCapteur == 0)
        v.cap.ResolutionsCapteur[0] = static_cast<float>(2.0 * R / 4000.0);
    v.cap.ValMinUt = static_cast<float>(v.cap.ValMinCapteur * R / Rnominal);
    v.cap.ValMaxUt = static_cast<float>(v.cap.ValMaxCapteur * R / Rnominal);
    prepareTousPRX(applique);
    CentralePretePourAcq = applique;
}

void TSP5::prepareCalibreAdapte(int voie1, float v1max) {
    if (voie1 < 0 || voie1 >= nbEAU)
        return;
    const TCapteur& cap = VoiesX[voie1].cap;
    const double besoin = cap.a[0] != 0.0 ? (v1max - cap.b[0]) / cap.a[0] : 0.0;
    int idx = nbCalEA - 1;
    while (idx > 0 && calibreVolts(idx) < besoin)
        --idx;
    setCal(static_cast<uint8_t>(voie1), idx, false);
}

// --- Active inputs and sample order ---

int TSP5::compterSignaux() const {
    int n = 0;
    for (int i = 0; i < nbEAU; ++i)
        if (VoiesX[i].active && (i < nbCanauxUt || !canauxDiff[i - nbCanauxUt]))
            ++n;
    return n;
}

void TSP5::reconstruireListes() {
    VoiesActivesX.assign(nbEAU, -1);
    VoiesActivesSignaux.assign(nbEAU, -1);
    nbVoiesActivesX = 0;
    nbVoiesSignaux = 0;
    PR_VoiesAA00 = 0;
    for (int i = 0; i < nbEAU; ++i) {
        if (!VoiesX[i].active)
            continue;
        VoiesActivesX[nbVoiesActivesX++] = i;
        // The second input of a differential channel is measured with the first one.
        if (i < nbCanauxUt || !canauxDiff[i - nbCanauxUt]) {
            VoiesActivesSignaux[nbVoiesSignaux++] = i;
            PR_VoiesAA00 = static_cast<uint8_t>(PR_VoiesAA00 | (1 << i));
        }
    }
}

void TSP5::PrepareIdxTraitKirvane() {
    // The unit sends, per time step, the first inputs of the channels (or the second
    // input of a channel whose first is off), then the second inputs still left.
    std::vector<int> s;
    for (int i = 0; i < nbEAU; ++i)
        if (VoiesX[i].active && (i < nbCanauxUt || !canauxDiff[i - nbCanauxUt]))
            s.push_back(i);
    auto present = [&s](int v) { return std::find(s.begin(), s.end(), v) != s.end(); };
    std::vector<int> ordre;
    for (int c = 0; c < nbCanauxUt; ++c) {
        if (present(c)) {
            ordre.push_back(c);
        } else if (present(c + nbCanauxUt)) {
            ordre.push_back(c + nbCanauxUt);
            s.erase(std::find(s.begin(), s.end(), c + nbCanauxUt));
        }
    }
    for (int c = 0; c < nbCanauxUt; ++c)
        if (present(c + nbCanauxUt))
            ordre.push_back(c + nbCanauxUt);

    sOrdreTraitt.clear();
    OrdreTraitt.assign(nbEAU, -1);
    for (std::size_t k = 0; k < ordre.size(); ++k) {
        OrdreTraitt[k] = ordre[k];
        sOrdreTraitt += QString::number(ordre[k]);
    }
    idxTraitKirvane.assign(nbEAU, -1);
    for (int j = 0; j < nbVoiesSignaux; ++j) {
        const auto p = std::find(ordre.begin(), ordre.end(), VoiesActivesSignaux[j]);
        idxTraitKirvane[j] = p == ordre.end() ? -1 : static_cast<int>(p - ordre.begin());
    }
}

// --- Programming image ---

void TSP5::prepareTousPRX(bool applique) {
    reconstruireListes();
    if (nbVoiesActivesX == 0) {
        if (!applique)
            CentralePretePourAcq = false;
        return;
    }
    const int nbS = std::max(nbVoiesSignaux, 1);
    nbValTVx = static_cast<int>(nbS * nbPts0X);
    if (nbValTVx % NbPtsFifo != 0) {
        nbValTVx = (nbValTVx / NbPtsFifo + 1) * NbPtsFifo;
        nbPtsR = nbValTVx / nbS + 1;
    } else {
        nbPtsR = nbValTVx / nbS;
    }
    preparerImage();
    PrepareIdxTraitKirvane();
    // The image changed: the unit holds it only once it is sent again.
    CentralePretePourAcq = false;
    if (applique)
        prepareInterfacePourAcq(false);
}

void TSP5::preparerImage() {
    int64_t gain = 0;
    PR_ModeDiff0C = 0;
    for (int i = 0; i < nbEAU; ++i) {
        int source = -1; // input whose range i contributes
        if (i < nbCanauxUt) {
            if (VoiesX[i].active || canauxDiff[i])
                source = i;
        } else if (canauxDiff[i - nbCanauxUt]) {
            source = i - nbCanauxUt;
        } else if (VoiesX[i].active) {
            source = i;
        }
        if (source >= 0)
            gain += static_cast<int64_t>(codesGain[indexCalibre(source)]) * cGainX[i];
    }
    for (int c = 0; c < nbCanauxUt; ++c)
        if (canauxDiff[c])
            PR_ModeDiff0C = static_cast<uint8_t>(PR_ModeDiff0C | (1 << c));
    PR_CalEA01 = octet(gain, 0);
    PR_CalEA02 = octet(gain, 1);
    PR_CalEA03 = octet(gain, 2);

    const int64_t periode = std::max<int64_t>(arrondi64(dt0X / 1e-7) - 1, 0);
    PR_skip04 = octet(periode, 0);
    PR_skip05 = octet(periode, 1);
    PR_skip06 = octet(periode, 2);
    PR_skip07 = octet(periode, 3);
    PR_skip08 = octet(periode, 4);
    PR_nbpts09 = octet(nbPtsR, 0);
    PR_nbpts0A = octet(nbPtsR, 1);
    PR_nbpts0B = octet(nbPtsR, 2);

    const bool seuil = modeDecl == 1;
    const bool externe = modeDecl == 2;
    uint8_t decl = 0;
    if (seuil) {
        if (voieSynchro >= 0)
            decl = static_cast<uint8_t>(0x02 | (voieSynchro << 4));
        if (sensDeclSeuil == 0)
            decl |= 0x04;
        decl &= static_cast<uint8_t>(~0x08);
    } else if (externe) {
        decl = sensDeclEchelon == 0 ? 0x05 : 0x01;
    }
    PR_DeclenchementG1D = decl;

    const int seuilCode = seuil ? ValUx(voieSynchro, USeuilDecl) : 0;
    PR_SeuilTrig1E = octet(seuilCode, 0);
    PR_SeuilTrig1F = octet(seuilCode, 1);

    int pretrig = 0;
    if (seuil || externe) {
        if (tauxPretrig >= 0.01f) {
            const int n = arrondi(tauxPretrig * static_cast<double>(nbPtsAffX - 1) / 100.0);
            tPretrig = static_cast<float>(n * dt0X);
            pretrig = n + 3;
        } else {
            pretrig = 3;
        }
        nbPtsPretrig = pretrig;
    }
    PR_NbPtsPreTrig20 = octet(pretrig, 0);
    PR_NbPtsPreTrig21 = octet(pretrig, 1);
    PR_NbPtsPreTrig22 = octet(pretrig, 2);
    PR_HysteresisTrig23 = seuil ? octet(ValUx(voieSynchro, 0.025f), 1) : 0;
}

bool TSP5::prepareInterfacePourAcq(bool) {
    if (CentralePretePourAcq)
        return true;
    const uint8_t valeurs[20] = {
        PR_VoiesAA00,      PR_CalEA03,          PR_CalEA02,        PR_CalEA01,
        PR_skip08,         PR_skip07,           PR_skip06,         PR_skip05,
        PR_skip04,         PR_nbpts0B,          PR_nbpts0A,        PR_nbpts09,
        PR_ModeDiff0C,     PR_DeclenchementG1D, PR_SeuilTrig1F,    PR_SeuilTrig1E,
        PR_NbPtsPreTrig22, PR_NbPtsPreTrig21,   PR_NbPtsPreTrig20, PR_HysteresisTrig23};
    for (std::size_t k = 0; k < ordreEnvoi.size(); ++k)
        SetRegistre(ordreEnvoi[k], valeurs[k]);
    CentralePretePourAcq = true;
    return true;
}

// --- Timebase ---

void TSP5::determine_tSkipAcquisition() {
    tSkipAcq = 1e-7;
    modeTe = 0;
    for (int c = 0; c < nbCanauxUt; ++c) {
        if (VoiesX[c].active && VoiesX[c + nbCanauxUt].active && !canauxDiff[c]) {
            tSkipAcq = 2e-6;
            modeTe = 1;
        }
    }
    FeAcq = 1.0 / tSkipAcq;
    setDurees(dureeTotale0X, nbPtsAffX, false);
    CentralePretePourAcq = false;
}

void TSP5::SetNdt(double dt1) {
    SetNdt(dt1, tSkipAcq, ndt);
}

void TSP5::SetNdt(double dt1, double tSkipAcq1, int64_t& ndt1) {
    ndt1 = std::max<int64_t>(arrondi64(dt1 / tSkipAcq1), 1);
    // The count of signals is taken from the inputs themselves: the lists may not be
    // rebuilt yet when an input has just been switched on.
    const bool a0 = VoiesX[0].active, a1 = VoiesX[1].active;
    const bool a2 = VoiesX[2].active, a3 = VoiesX[3].active;
    const bool S2 = false; // the second output is never used by this program
    int64_t minimum = 1;
    if (compterSignaux() == 4)
        minimum = 2;
    else if ((!a0 && a1 && a2 && !a3) || (!a0 && a1 && !a2 && a3))
        minimum = 2;
    else if (a0 && !a1 && !a2 && a3 && S2)
        minimum = 2;
    else if (a0 && a1 && a2 && !a3 && !S2)
        minimum = 3;
    ndt1 = std::max(ndt1, minimum);
}

void TSP5::DetermineNBPt0XMAx(int, int64_t& nbPts0XMax2) {
    nbPts0XMax2 = 50001;
}

void TSP5::setDureesGeneriques(double& dureeTotale1, double& dt1, int64_t& nbPts1,
                               int64_t& nbPtsAff1, int64_t& nbPts0XMax1, int64_t& ndt1,
                               double tSkipAcq1) {
    if (LogiUtilisateur > 1 || !(dureeTotale1 >= 1e-10) || nbPtsAff1 < 11)
        return;
    constexpr int64_t maxPts = 50001;
    double duree = std::clamp(dureeTotale1, 1e-6, 3600.0);
    nbPts0XMax1 = maxPts;
    int64_t affiches = std::clamp<int64_t>(nbPtsAff1, 1, maxPts);
    double dt = duree / static_cast<double>(affiches - 1);
    SetNdt(dt, tSkipAcq1, ndt1);
    dt = tSkipAcq1 * static_cast<double>(ndt1);
    affiches = std::max<int64_t>(arrondi64(duree / dt) + 1, 11);
    // Rounding the period down may call for more points than the unit holds.
    affiches = std::min(affiches, maxPts);
    duree = static_cast<double>(affiches - 1) * dt;
    dureeTotale1 = duree;
    dt1 = dt;
    nbPtsAff1 = affiches;
    nbPts1 = modeDecl == 1 ? affiches + 1 : affiches;
}

void TSP5::setDurees(double dureeTotale1, int64_t nbPts1, bool applique) {
    if (!(dureeTotale1 >= 1e-10) || nbPts1 < 11)
        return;
    double duree = dureeTotale1, dt = dt0X;
    int64_t nbPts = nbPts1, nbPtsAff = nbPts1, nbMax = nbPts0XMax, n = ndt;
    setDureesGeneriques(duree, dt, nbPts, nbPtsAff, nbMax, n, tSkipAcq);
    dureeTotale0X = duree;
    dt0X = dt;
    nbPts0X = nbPts;
    nbPtsAffX = nbPtsAff;
    nbPts0XMax = static_cast<int>(nbMax);
    ndt = n;
    modeRecuperation = dureeTotale0X <= tRemanence ? 1 : 0;
    prepareTousPRX(applique);
    CentralePretePourAcq = applique;
    modeAcq = -1;
}

void TSP5::setDurees(bool applique) {
    // The shown count: nbPts0X carries the extra point of the threshold mode.
    setDurees(dureeTotale0X, nbPtsAffX, applique);
}

bool TSP5::memesParametresTemporels() {
    // Both timings counted in 100 ns ticks.
    return parametresTemporelsEgaux(modeTe == 1 ? 20 : 1, acqPerPrec.RTmodeTe == 1 ? 20 : 1);
}

void TSP5::memoriseParametresTemporels() {
    enregistrerParametresTemporels(modeTe);
}
