// TSYSAMCAMPUS: calibration, inputs and ranges, trigger settings, the programming image
// and the direct measurement.
#include "sysamcampus.h"

#include "arrondis.h"

#include <algorithm>
#include <cmath>

namespace {
// A coefficient further than this share from its nominal value is not believed.
constexpr double ecartPlausible = 0.3;

bool plausible(double valeur, double nominal) {
    return std::isfinite(valeur) && std::fabs((valeur - nominal) / nominal) <= ecartPlausible;
}
} // namespace

// --- Calibration ---

void TSYSAMCAMPUS::calibrageNominal() {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            calibrageCAMPUS.Ampli_EA[i][j] = static_cast<float>(gainNominal(j));
            calibrageCAMPUS.Offset_EA[i][j] = static_cast<float>(offsetNominal(j));
        }
}

void TSYSAMCAMPUS::RecupereCalibration() {
    if (enCalibrage)
        return; // a poll reached us while ranges are switched: the measurement goes on
    const QString s = serieUnite();
    if (s.isEmpty()) {
        numeroSerie.clear();
        calibrageFait = false;
        calibrageNominal();
        calibrageCAMPUS.Interdit = {};
    } else if (s != numeroSerieCalibre || !calibrageFait) {
        if (s == numeroSerieCalibre && !numeroSerieCalibre.isEmpty()) {
            // The same unit plugged back: its measured calibration still holds.
            numeroSerie = s;
            calibrageCAMPUS = calibrageMesure;
            calibrageFait = true;
        } else {
            mesurerCalibrage(s);
        }
    }
    MAJCalibrage();
    if (!s.isEmpty())
        CentralePresente = true;
    if (!s.isEmpty() && tempsSansCentrale) {
        // The timing was computed while no unit answered: the unit's own interval now.
        tempsSansCentrale = false;
        setDurees(dureeDemandee, nbPtsDemandes, false);
    }
}

void TSYSAMCAMPUS::mesurerCalibrage(const QString& serie) {
    // Every range of every input is selected in turn; nothing else may reach the unit
    // meanwhile (the timers test the busy flag and no event is processed).
    enCalibrage = true;
    struct Fin {
        bool& drapeau;
        ~Fin() { drapeau = false; }
    } fin{enCalibrage};

    numeroSerie = serie;
    std::array<bool, 4> actives{};
    for (int i = 0; i < 4; ++i)
        actives[static_cast<std::size_t>(i)] = VoiesX[static_cast<std::size_t>(i)].active;
    calibrageCAMPUS.Interdit = {};
    for (uint8_t i = 0; i < 3; ++i)
        activeVoieA(i, false);
    activeVoieA(3, true);
    for (int i = 0; i < 4; ++i) {
        const int memo = VoiesX[static_cast<std::size_t>(i)].idxCalibreUt;
        for (int j = 0; j < 4; ++j) {
            setCal(static_cast<uint8_t>(i), j, true);
            const double ua = convertir(500, i);
            const double ub = convertir(3500, i);
            // Codes 500 and 3500 are 3000 codes apart.
            const double a = (ub - ua) / 3000.0;
            const double o = (3500.0 * ua - 500.0 * ub) / 3000.0;
            const double g = gainNominal(j);
            const double o0 = offsetNominal(j);
            float& ampli = calibrageCAMPUS.Ampli_EA[i][j];
            float& offset = calibrageCAMPUS.Offset_EA[i][j];
            ampli = static_cast<float>(a);
            offset = static_cast<float>(o);
            if (!plausible(a, g)) {
                ampli = static_cast<float>(g);
                calibrageCAMPUS.Interdit[i][j] = true;
            }
            if (!plausible(o, o0)) {
                offset = static_cast<float>(o0);
                calibrageCAMPUS.Interdit[i][j] = true;
            }
        }
        setCal(static_cast<uint8_t>(i), memo, i == 3);
    }
    calibrageCAMPUS.Ampli_SA = {204.8f, 204.8f};
    calibrageCAMPUS.Offset_SA = {2048.0f, 2048.0f};
    for (uint8_t i = 0; i < 4; ++i)
        if (!actives[i])
            desactiveVoieA(i, true);
    calibrageFait = true;
    numeroSerieCalibre = serie;
    calibrageMesure = calibrageCAMPUS;
}

void TSYSAMCAMPUS::MAJCalibrage() {
    for (std::size_t i = 0; i < 4; ++i)
        for (std::size_t j = 0; j < 4; ++j) {
            a1[i][j] = calibrageCAMPUS.Ampli_EA[i][j];
            b1[i][j] = calibrageCAMPUS.Offset_EA[i][j];
        }
}

double TSYSAMCAMPUS::Ux(int voieX, int vNum) {
    if (voieX < 0 || voieX >= nbEAU)
        return 0.0;
    const std::size_t v = static_cast<std::size_t>(voieX);
    const std::size_t k = static_cast<std::size_t>(std::clamp(VoiesX[v].idxCalibreUt, 0, 3));
    return vNum * a1[v][k] + b1[v][k];
}

int TSYSAMCAMPUS::ValUx(int voieX, float U1) {
    if (voieX < 0 || voieX >= nbEAU)
        return 0;
    const std::size_t v = static_cast<std::size_t>(voieX);
    const std::size_t k = static_cast<std::size_t>(std::clamp(VoiesX[v].idxCalibreUt, 0, 3));
    const double a = a1[v][k];
    if (a == 0.0 || !std::isfinite(a) || !std::isfinite(U1))
        return 0;
    const double code = std::clamp((U1 - b1[v][k]) / a, 0.0, 4095.0);
    return static_cast<int>(arrondi(code));
}

// --- Inputs and ranges ---

void TSYSAMCAMPUS::reconstruireListes() {
    VoiesActivesX.assign(4, -1);
    int n = 0;
    for (int i = 0; i < nbEAU; ++i)
        if (VoiesX[static_cast<std::size_t>(i)].active)
            VoiesActivesX[static_cast<std::size_t>(n++)] = i;
    nbVoiesActivesX = n;
    nbVoiesSignaux = n;
}

void TSYSAMCAMPUS::finReglage(bool applique) {
    prepareTousPRX(applique);
    // Applied, the unit is ready only when it took the programming.
    if (!applique)
        CentralePretePourAcq = false;
}

void TSYSAMCAMPUS::activeVoieA(uint8_t numV, bool applique) {
    if (numV >= nbEAU)
        return;
    TVoie& v = VoiesX[numV];
    v.active = true;
    reconstruireListes();
    commandeLed(numV, LED_ROUGE);
    determine_tSkipAcquisition();
    v.idxCalibreUt = v.idxCalibreEA;
    v.calibreR = v.calsVoieR[static_cast<std::size_t>(std::clamp(v.idxCalibreUt, 0, 3))];
    setCal(numV, v.idxCalibreUt, false);
    finReglage(applique);
}

void TSYSAMCAMPUS::desactiveVoieA(uint8_t numV, bool applique) {
    if (numV >= nbEAU)
        return;
    VoiesX[numV].active = false;
    reconstruireListes();
    commandeLed(numV, LED_BLEU);
    finReglage(applique);
}

void TSYSAMCAMPUS::setCal(uint8_t numV, int cal1, bool applique) {
    if (numV >= nbEAU)
        return;
    TVoie& v = VoiesX[numV];
    // Only the four ranges exist: an index beyond them would select an empty entry.
    int c = std::clamp(cal1, 0, 3);
    const auto& interdit = calibrageCAMPUS.Interdit[numV];
    if (interdit[static_cast<std::size_t>(c)]) {
        // The nearest wider allowed range, else the nearest narrower one.
        int pris = -1;
        for (int k = c - 1; k >= 0 && pris < 0; --k)
            if (!interdit[static_cast<std::size_t>(k)])
                pris = k;
        for (int k = c + 1; k <= 3 && pris < 0; ++k)
            if (!interdit[static_cast<std::size_t>(k)])
                pris = k;
        if (pris >= 0)
            c = pris;
    }
    v.idxCalibreUt = c;
    v.calibreR = v.calsVoieR[static_cast<std::size_t>(c)];
    selectionneCalibre(numV, v.CalsVoie[static_cast<std::size_t>(c)]);
    v.idxCalibreEA = v.idxCalibreUt;
    finReglage(applique);
    attente(pauseReglageMs);
}

void TSYSAMCAMPUS::prepareCalibreAdapte(int voie1, float v1max) {
    if (voie1 < 0 || voie1 >= nbEAU)
        return;
    const TCapteur& cap = VoiesX[static_cast<std::size_t>(voie1)].cap;
    const double a = cap.a[0] != 0.0 ? cap.a[0] : 1.0;
    const double besoin = 1.01 * (v1max - cap.b[0]) / a;
    int idx = 3;
    while (idx > 0 && besoin > calibresEAStandard[static_cast<std::size_t>(idx)])
        --idx;
    setCal(static_cast<uint8_t>(voie1), idx, false);
}

void TSYSAMCAMPUS::setModeDiff(int, bool, bool) {
    // Every input is its own channel: there is no mode to choose.
}

// --- Trigger ---

void TSYSAMCAMPUS::setModeDeclenchement(int modeDecl1, bool applique) {
    modeDecl = std::clamp(modeDecl1, 0, 2);
    setDurees(false); // the point count depends on the mode
    MAJTailleRAMAcq();
    finReglage(applique);
}

void TSYSAMCAMPUS::setSensDeclSeuil(int sensDecl1, bool applique) {
    sensDeclSeuil = sensDecl1 == 1 ? 1 : 0;
    finReglage(applique);
}

void TSYSAMCAMPUS::setSensDeclEchelon(int sensDecl1, bool applique) {
    sensDeclEchelon = sensDecl1 == 1 ? 1 : 0;
    finReglage(applique);
}

int TSYSAMCAMPUS::setVoieSynchro(int voie1, bool applique) {
    voieSynchro = voie1;
    if (nbVoiesActivesX <= 0) {
        voieSynchro = 0;
        voieSynchroVA = 0;
        return 0;
    }
    // Only the active entries: the -1 fillers are no input.
    int p = -1;
    for (int k = 0; k < nbVoiesActivesX && p < 0; ++k)
        if (VoiesActivesX[static_cast<std::size_t>(k)] == voie1)
            p = k;
    if (p >= 0) {
        voieSynchroVA = p;
    } else {
        voieSynchroVA = 0;
        voieSynchro = VoiesActivesX[0];
    }
    if (voieSynchro < 0 || voieSynchro >= nbEAU) {
        CentralePretePourAcq = false;
        return voieSynchro;
    }
    unitevSeuil = VoiesX[static_cast<std::size_t>(voieSynchro)].cap.sUnite;
    finReglage(applique);
    return voieSynchro;
}

void TSYSAMCAMPUS::setSeuilDecl(float ValSeuilDecl1) {
    const int v = std::clamp(voieSynchro, 0, nbEAU - 1);
    const TVoie& voie = VoiesX[static_cast<std::size_t>(v)];
    const float limite = 0.9f * voie.calibreR;
    const float valeur = std::isfinite(ValSeuilDecl1) ? ValSeuilDecl1 : 0.0f;
    USeuilDecl = std::clamp(valeur, -limite, limite);
    vSeuilDecl = static_cast<float>(voie.cap.a[0] * USeuilDecl + voie.cap.b[0]);
}

void TSYSAMCAMPUS::getDTPretrig() {
    if (modeDecl == 0)
        dtPretrig = 0.0;
}

// --- Programming image ---

void TSYSAMCAMPUS::prepareTousPRX(bool applique) {
    reconstruireListes();
    PrepareIdxTraitKirvane();
    if (nbVoiesActivesX == 0) {
        VoiesActivesSignaux.assign(4, -1);
        return; // nothing to send
    }
    VoiesActivesSignaux = VoiesActivesX;
    const int64_t parBloc = std::max(NbPtsFifo, 1);
    int64_t nbVal = static_cast<int64_t>(nbVoiesSignaux) * nbPts0X;
    if (nbVal % parBloc != 0) {
        nbVal = parBloc * (nbVal / parBloc + 1);
        nbPtsR = static_cast<int>(nbVal / nbVoiesSignaux + 1);
    } else {
        nbPtsR = static_cast<int>(nbVal / nbVoiesSignaux);
    }
    nbValTVx = static_cast<int>(nbVal);
    aTabOrdreVoies1.fill(-1);
    for (int k = 0; k < nbVoiesActivesX; ++k) {
        const int v = VoiesActivesX[static_cast<std::size_t>(k)];
        aTabOrdreVoies1[static_cast<std::size_t>(v)] = v;
    }
    aTe1 = dt0X;
    aNombreDePoint1 = static_cast<int>(nbPts0X + psc1 + psc2);
    switch (modeDecl) {
    case 1:
        aSourceTrigger1 = _SOURCE_EA1 + std::clamp(voieSynchro, 0, 3);
        asensDeclenchement1 = sensDeclSeuil == 1 ? _DESCENDANT : _MONTANT;
        break;
    case 2:
        aSourceTrigger1 = _SOURCE_EXTERNE;
        break;
    default:
        aSourceTrigger1 = _SOURCE_AUCUNE;
        break;
    }
    aSeuil1 = USeuilDecl;
    aPreTrig1 = static_cast<int>(
        arrondi((nbPtsPretrig + psc1) * 100.001 / static_cast<double>(psc1 + nbPts0X + psc2)));
    aModePermanent1 = false;
    if (applique) {
        CentralePretePourAcq = false;
        prepareInterfacePourAcq(false);
    }
}

bool TSYSAMCAMPUS::prepareInterfacePourAcq(bool) {
    if (CentralePretePourAcq)
        return true;
    if (!DLL_Chargee || nbVoiesActivesX == 0)
        return false;
    double te = aTe1;
    int32_t points = aNombreDePoint1;
    const char16_t* message = nullptr;
    const int32_t r = fonctions_.PrepareAcquisition(aTabOrdreVoies1.data(), &te, &points,
                                                    aSourceTrigger1, asensDeclenchement1, aSeuil1,
                                                    aPreTrig1, aModePermanent1 ? 1 : 0, &message);
    aStrMessageErreur1 = copierTexteCampus(message);
    // Ready only when the unit took the programming; declencheAcq shows its message.
    CentralePretePourAcq = r == 0;
    attente(pauseReglageMs);
    return CentralePretePourAcq;
}

void TSYSAMCAMPUS::PrepareIdxTraitKirvane() {
    idxTraitKirvane.assign(4, -1);
    OrdreTraitt.assign(4, -1);
    int n = 0;
    while (n < nbCanauxUt && n < static_cast<int>(VoiesActivesX.size()) &&
           VoiesActivesX[static_cast<std::size_t>(n)] >= 0)
        ++n;
    // The unit delivers one sample per active input, in input order.
    for (int l = 0; l < n; ++l) {
        idxTraitKirvane[static_cast<std::size_t>(l)] = l;
        OrdreTraitt[static_cast<std::size_t>(l)] = VoiesActivesX[static_cast<std::size_t>(l)];
    }
}

// --- Direct measurement ---

void TSYSAMCAMPUS::MesureDirecte() {
    if (!DLL_Chargee || enCalibrage)
        return;
    for (int k = 0; k < nbVoiesActivesX; ++k) {
        const int v = VoiesActivesX[static_cast<std::size_t>(k)];
        if (v < 0 || v >= nbEAU)
            break;
        const int32_t code = fonctions_.LitValeurVoie(v);
        if (code < 0)
            break; // the library failed: the inputs read keep their values
        const uint16_t mot = static_cast<uint16_t>(std::min(code, 4095));
        TVoie& voie = VoiesX[static_cast<std::size_t>(v)];
        voie.mesDir = mot;
        voie.mesDirR = static_cast<float>(Ux(v, mot));
    }
}
