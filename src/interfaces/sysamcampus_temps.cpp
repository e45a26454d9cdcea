// TSYSAMCAMPUS: the timebase (interval, point counts) and the pretrigger with its guard
// points. The unit samples on a 100 ns tick; below 1 µs the interval is a multiple of
// 100 ns, from 1 µs up it has two significant digits; at most 4000 points per input.
#include "sysamcampus.h"

#include "arrondis.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int64_t nbPtsMaxCampus = 4000;
// The coarser-interval search: each step at least doubles the second digit, far fewer
// steps than this reach any duration.
constexpr int iterationsMax = 200;

// Te rounded on the unit's grid; suivant: the next coarser interval of the grid.
double grilleTe(double Te, bool suivant) {
    if (!std::isfinite(Te) || Te <= 0.0)
        return 1e-7;
    const double b = Te * 1e9; // nanoseconds
    const double limite = suivant ? 9.99999999e-7 : 1e-6;
    const int plus = suivant ? 1 : 0;
    double c = 1.0;
    if (Te < limite) {
        double x = b + 49.999999;
        while (x > 10.0) {
            x /= 10.0;
            c *= 10.0;
        }
        return std::max(c * static_cast<double>(tronque64(x) + plus) * 1e-9, 1e-7);
    }
    double x = b + 50.0;
    while (x > 100.0) {
        x /= 10.0;
        c *= 10.0;
    }
    return c * static_cast<double>(tronque64(x) + plus) * 1e-9;
}
} // namespace

double TSYSAMCAMPUS::calibreTeArithmetique(double Te) {
    return grilleTe(Te, false);
}

double TSYSAMCAMPUS::TeSuperieurSuivant(double Te) {
    return grilleTe(Te, true);
}

double TSYSAMCAMPUS::CalibreTe1(double Te) {
    // The unit is asked first, as it expects, but its answer is not needed here.
    calibreTeUnite(Te);
    return calibreTeArithmetique(Te);
}

void TSYSAMCAMPUS::SetNdt(double dt1) {
    SetNdt(dt1, tSkipAcq, ndt);
}

void TSYSAMCAMPUS::SetNdt(double dt1, double tSkipAcq1, int64_t& ndt1) {
    const double tick = tSkipAcq1 > 0.0 && std::isfinite(tSkipAcq1) ? tSkipAcq1 : 1e-7;
    ndt1 = std::max<int64_t>(arrondi64(CalibreTe1(dt1) / tick), 1);
}

void TSYSAMCAMPUS::DetermineNBPt0XMAx(int, int64_t& nbPts0XMax2) {
    nbPts0XMax2 = nbPtsMaxCampus;
}

void TSYSAMCAMPUS::determine_tSkipAcquisition() {
    tSkipAcq = 1e-7;
    FeAcq = 1.0 / tSkipAcq;
    setDurees(dureeTotale0X, nbPtsAffX, false);
    CentralePretePourAcq = false;
}

void TSYSAMCAMPUS::fixerPtDePlus(int64_t nbPtsAff) {
    // In threshold mode one point more is acquired; the duration spans one interval less
    // than the points, except for exactly 4000 points outside threshold mode.
    if (modeDecl == 1) {
        ptDePlus = 1;
        epsNbPts = 1;
    } else {
        ptDePlus = 0;
        epsNbPts = nbPtsAff == nbPtsMaxCampus ? 0 : 1;
    }
}

void TSYSAMCAMPUS::ajusterIntervalle(double duree, double& dt, int64_t& n, int64_t nbPtsMax) {
    // The unit's answer is taken only when it is coarser: an answer at or below the
    // interval asked would never end the search (and 0 would divide by zero).
    for (int k = 0; k < iterationsMax && n + ptDePlus > nbPtsMax; ++k) {
        dt = TeSuperieurSuivant(dt);
        const double unite = calibreTeUnite(dt);
        if (std::isfinite(unite) && unite > dt && unite < 2.0 * dt)
            dt = unite;
        n = arrondi64(duree / dt) + epsNbPts;
    }
    // Still too many (cannot happen on the unit's grid): the largest count that fits.
    n = std::min(n, nbPtsMax - ptDePlus);
}

void TSYSAMCAMPUS::blocPretrig(int64_t& n, double dt, bool tPretrigNul) {
    const double taux =
        std::isfinite(tauxPretrig) ? std::clamp(static_cast<double>(tauxPretrig), 0.0, 100.0) : 0.0;
    const int nbVA = nbVoiesActivesX;
    auto pretrig = [&](double facteur) {
        nbPtsPretrig = arrondi(taux * facteur * static_cast<double>(n - epsNbPts) / 100.0);
        nbPtsPretrig = std::max(nbPtsPretrig, 0);
        nbValPretrig = static_cast<int64_t>(nbPtsPretrig) * nbVA;
        tPretrig = static_cast<float>(nbPtsPretrig * dt);
    };
    pretrig(0.99999);
    if (modeDecl != 1 || taux < 0.01) {
        psc1 = psc2 = 0;
    } else {
        auto garde = [&] {
            psc1 = psc2 =
                std::max(arrondi(static_cast<double>(n) * tauxPreTrigSupp / 100.0), pscMin);
        };
        garde();
        // The programmed points (shown, one more, and both guard blocks) stay within the
        // unit's 4000: the count shown goes down and is written back.
        while (n > 11 && n + ptDePlus + psc1 + psc2 > nbPts0XMax) {
            --n;
            pretrig(0.9999);
            garde();
        }
    }
    if (tPretrigNul && modeDecl != 1)
        tPretrig = 0.0f;
}

void TSYSAMCAMPUS::setDureesGeneriques(double& dureeTotale1, double& dt1, int64_t& nbPts1,
                                       int64_t& nbPtsAff1, int64_t& nbPts0XMax1, int64_t& ndt1,
                                       double tSkipAcq1) {
    if (!(dureeTotale1 >= 1e-10) || nbPts1 < 11)
        return;
    if (LogiUtilisateur != 0 && LogiUtilisateur != 1)
        return;
    // No unit is needed: the interval grid is the unit's own; its "CalibreTe" is asked
    // only when the points do not fit, and the timing is applied again once it answers.
    nbPtsAff1 = std::min<int64_t>(nbPtsMaxCampus, nbPtsAff1);
    fixerPtDePlus(nbPtsAff1);
    dureeTotale1 = std::clamp(dureeTotale1, 1e-6, 3600.0);
    nbPts0XMax1 = nbPtsMaxCampus;
    nbPts0XMax = static_cast<int>(nbPts0XMax1);
    if (nbPtsAff1 < 2)
        nbPtsAff1 = 1;
    nbPtsAff1 = std::min(nbPtsAff1, nbPts0XMax1);
    nbPtsAff1 = std::max<int64_t>(nbPtsAff1, 11);
    nbPtsAff1 = std::min(nbPtsMaxCampus - ptDePlus, nbPtsAff1);
    dt1 = CalibreTe1(dureeTotale1 / static_cast<double>(nbPtsAff1 - epsNbPts));
    nbPtsAff1 = arrondi64(dureeTotale1 / dt1) + epsNbPts;
    ajusterIntervalle(dureeTotale1, dt1, nbPtsAff1, nbPts0XMax1);
    blocPretrig(nbPtsAff1, dt1, true);
    nbPts1 = nbPtsAff1 + ptDePlus;
    NBValTrame = nbPts1 * nbVoiesActivesX;
    dureeTotale1 = static_cast<double>(nbPtsAff1 - epsNbPts) * dt1;
    aPreTrig1 =
        arrondi((nbPtsPretrig + psc1) * 100.001 / static_cast<double>(psc1 + nbPts1 + psc2));
    SetNdt(dt1, tSkipAcq1, ndt1);
}

void TSYSAMCAMPUS::setDurees(double dureeTotale1, int64_t nbPts1, bool applique) {
    if (!(dureeTotale1 >= 1e-10) || nbPts1 < 11 || !std::isfinite(dureeTotale1))
        return;
    dureeDemandee = dureeTotale1;
    nbPtsDemandes = nbPts1;
    tempsSansCentrale = !CentralePresente;
    double duree = dureeTotale1;
    double dt = dt0X;
    int64_t nb = nbPts1;
    int64_t nbAff = nbPts1;
    int64_t nbMax = nbPts0XMax;
    int64_t ndt1 = ndt;
    setDureesGeneriques(duree, dt, nb, nbAff, nbMax, ndt1, tSkipAcq);
    dureeTotale0X = duree;
    dt0X = dt;
    nbPts0X = nb;
    nbPtsAffX = nbAff;
    nbPts0XMax = static_cast<int>(nbMax);
    ndt = ndt1;
    modeRecuperation = dureeTotale0X <= tRemanence ? 1 : 0;
    MAJDurees(applique);
}

void TSYSAMCAMPUS::setDurees(bool applique) {
    setDurees(dureeTotale0X, nbPtsAffX, applique);
}

void TSYSAMCAMPUS::MAJDurees(bool applique) {
    nbPtsAffX = arrondi64(dureeTotale0X / dt0X + epsNbPts);
    nbPts0X = nbPtsAffX + (modeDecl == 1 ? 1 : 0);
    dureeTotale0X = static_cast<double>(nbPtsAffX - epsNbPts) * dt0X;
    setPretrig(tauxPretrig, false);
    finReglage(applique);
    modeAcq = -1;
    MAJTailleRAMAcq();
}

void TSYSAMCAMPUS::MAJTailleRAMAcq() {
    nbPts0X = nbPtsAffX + ptDePlus;
    tailleRAMAcq = static_cast<int64_t>(std::max(nbVoiesActivesX, 1)) * nbPtsMaxCampus;
    // The reading buffers are sized again at each start, from the acquisition itself.
}

bool TSYSAMCAMPUS::memesParametresTemporels() {
    return parametresTemporelsEgaux();
}

void TSYSAMCAMPUS::memoriseParametresTemporels() {
    enregistrerParametresTemporels(0);
}

void TSYSAMCAMPUS::setPretrig(float tauxPretrig1, bool applique) {
    fixerPtDePlus(nbPtsAffX);
    const float t = std::fabs(tauxPretrig1);
    idxPretrig = -1;
    if (t < 0.5f)
        idxPretrig = 0;
    for (int k = 1; k <= 4; ++k)
        if (std::fabs((tauxPretrig1 - 25.0f * k) / (25.0f * k)) < 0.005f)
            idxPretrig = k;
    tauxPretrig = tauxPretrig1;
    appliquerPretrig(applique, true);
}

void TSYSAMCAMPUS::setPretrig(int idxPretrig1, bool applique) {
    fixerPtDePlus(nbPtsAffX);
    idxPretrig = idxPretrig1;
    tauxPretrig = 25.0f * static_cast<float>(std::clamp(idxPretrig1, 0, 4));
    appliquerPretrig(applique, false);
}

void TSYSAMCAMPUS::appliquerPretrig(bool applique, bool tPretrigNul) {
    if (!(dt0X > 0.0) || !std::isfinite(dt0X))
        return;
    nbPtsAffX = arrondi64(dureeTotale0X / dt0X) + epsNbPts;
    ajusterIntervalle(dureeTotale0X, dt0X, nbPtsAffX, nbPts0XMax);
    blocPretrig(nbPtsAffX, dt0X, tPretrigNul);
    nbPts0X = nbPtsAffX + ptDePlus;
    NBValTrame = nbPts0X * nbVoiesActivesX;
    dureeTotale0X = static_cast<double>(nbPtsAffX - epsNbPts) * dt0X;
    aPreTrig1 =
        arrondi((nbPtsPretrig + psc1) * 100.001 / static_cast<double>(psc1 + nbPts0X + psc2));
    SetNdt(dt0X, tSkipAcq, ndt);
    MAJTailleRAMAcq();
    finReglage(applique);
}
