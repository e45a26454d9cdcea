// TSP5: the unit's geometry and tables, the default settings, the input labels and
// the default sensor description.
#include "sp5.h"

#include "arrondis.h"

#include <cmath>

namespace {

const char* const nomsCalibres[] = {"-10V/+10V", "-5V/+5V", "-1V/+1V", "-0.2V/+0.2V"};
const char* const nomsCalibresSimples[] = {"10 V", "5 V", "1 V", "0.2 V"};
const char* const largeursCalibres[] = {" +10.0 ", " +5.00 ", " +1.00 ", " +0.200 "};

const char* const texteITe =
    "Intervalle de temps entre deux points de mesures: \n\rvous ne pouvez pas le modifier. "
    "Il s'agit\n\rd'un multiple entier de 100 ns si l'une seule\n\rdes voies d'un canal est "
    "utilisée ou si le mode\n\rdifférentiel est utilisé. Il suffit que les \n\rdeux voies "
    "d'un seul canal soient activées\n\ren mode non différentiel pour que l'intervalle\n\rsoit "
    "un multiple de 2 µs";

} // namespace

void TSP5::preparerGeometrie() {
    nbEAU = 8;
    nbCanaux_ = 4;
    nbCanauxUt = 4;
    nbCalEA = 4;
    nbCalCap = 4;
    nbCalEAKirvane = 4;
    calibresEAStandard = {10.0f, 5.0f, 1.0f, 0.2f};
    calibresDispo = {10.0f, 5.0f, 1.0f, 0.2f, -1.0f, -1.0f, -1.0f, -1.0f};
    ChxModeDiff = 1;
    canauxDiff.assign(4, false);

    ResoCANPts = 4096;
    ResoCNAPts = 4096;
    ResoCAN = 1.0f / 4096.0f;
    ResoCNA = 1.0f / 4096.0f;
    ResoCANdB = static_cast<float>(20.0 * std::log10(1.0 / 4096.0));
    ResoCNAdB = ResoCANdB;
    TeCAN = 1e-7;
    TeCNA = 2e-7;
    tSkipAcq = 1e-7;
    FeAcq = 1.0 / tSkipAcq;
    tSkipAcqPerfMax = 1e-7f;
    tRemanence = 0.15;
    NbPtsFifo = 256;
    nbPtsFifoMin = 1;
    nbPtsMax01 = 50001;
    nbPtsMin01 = 11;
    nbPts0XMax = 50001;
    taRAMAcqMax = 50001;
    dureeMin = 1e-6;
    idxDureeTotaleMinKirvane = 0;
    idxDureeTotaleMaxKirvane = 29;
    idxNbPointsMinKirvane = 0;
    idxNbPointsMaxKirvane = 10;
    synchroExterneDispo = true;
    chxSensDeclExterne = true; // the trigger byte carries the edge direction
    pretrigDispo = true;
    LaCentraleGereDesCapteurs = true;
    detectionCapteurPdtAcqPossible = true;
    tAttenteMaxDecl = 0.5f;
    coPretrigCache = 40.0;
    ITeHINT = QString::fromUtf8(texteITe);

    for (int i = 0; i < 8; ++i)
        cGainX[i] = 1 << (3 * i);
    capteurs0.fill(-10000);
    capteurs.assign(4, 0);
    ACapteurs.assign(4, 0);

    sCalibres.clear();
    sCalibresSIMPL.clear();
    twCals.clear();
    for (int r = 0; r < 4; ++r) {
        sCalibres.push_back(QString::fromLatin1(nomsCalibres[r]));
        sCalibresSIMPL.push_back(QString::fromLatin1(nomsCalibresSimples[r]));
        twCals.push_back(QString::fromLatin1(largeursCalibres[r]));
    }
    sEntrees.clear();
    for (int i = 0; i < nbEAU; ++i)
        sEntrees.push_back(QStringLiteral("EA") + QString::number(i));
    GBCanauxCaption.clear();
    for (int c = 0; c < nbCanauxUt; ++c)
        GBCanauxCaption.push_back(QStringLiteral("Canal ") + QString::number(c));

    VoiesX.assign(nbEAU, TVoie());
    for (int i = 0; i < nbEAU; ++i) {
        TVoie& v = VoiesX[i];
        for (int r = 0; r < 4; ++r) {
            v.calsVoieR[r] = calibresEAStandard[r];
            v.CalsVoie[r] = arrondi(calibresEAStandard[r]);
        }
        v.calibreR = v.calsVoieR[0];
        v.nbGUCapX = 0;
        capteurTensionDefaut(v.cap, QStringLiteral("Aucun capteur"),
                             QStringLiteral("u[") + QString::number(i) + QStringLiteral("M]"),
                             10.0f, static_cast<float>(2.0 * calibreVolts(0) / 4000.0));
    }
    VoiesActivesX.assign(nbEAU, -1);
    VoiesActivesSignaux.assign(nbEAU, -1);
    idxTraitKirvane.assign(nbEAU, -1);
    idxTraitt.assign(nbEAU, -1);
    OrdreTraitt.assign(nbEAU, -1);
    OrdreRecup.assign(nbEAU, -1);
    IntitulesVoies.assign(nbEAU, QString());
    IntitulesVoiesCapteurs.assign(nbCanauxUt, std::array<QString, 2>{});
    calibrageNominal();
}

void TSP5::appliquerReglagesDefaut() {
    // Not sent to the unit: the engine programs it before each acquisition.
    for (TVoie& v : VoiesX)
        v.active = false;
    VoiesX[0].active = true;
    canauxDiff.assign(nbCanauxUt, false);
    modeDecl = 0;
    sensDeclSeuil = 0;
    sensDeclEchelon = 0;
    determine_tSkipAcquisition();
    setDurees(0.1, 1001, false);
    setVoieSynchro(0, false);
    setPretrig(0, false);
    prepareIntitulesVoies();
}

QString TSP5::getIntituleVoie(int numV) {
    if (numV < 0 || numV >= nbEAU)
        return {};
    QString s = QStringLiteral("u[") + sEntrees[numV];
    if (numV < nbCanauxUt)
        s += canauxDiff[numV] ? QStringLiteral("_") + sEntrees[numV + nbCanauxUt]
                              : QStringLiteral("_M");
    return s + QLatin1Char(']');
}

QString TSP5::getIntituleVoieSimplifie(int numV) {
    return getIntituleVoie(numV);
}

QString TSP5::getIntituleVoieTresSimplifie(int numV) {
    if (numV < 0 || numV >= nbEAU)
        return {};
    return sEntrees[numV];
}

QString TSP5::GetCapU(int) {
    return QStringLiteral("u");
}

QString TSP5::GetCapUInd(int numV) {
    if (numV < 0 || numV >= nbEAU)
        return {};
    if (numV < nbCanauxUt && canauxDiff[numV])
        return QString::number(numV) + QLatin1Char('_') + QString::number(numV + nbCanauxUt);
    return QString::number(numV) + QStringLiteral("_M");
}

QString TSP5::getCapEA(int numV) {
    return QStringLiteral("EA") + QString::number(numV);
}

QString TSP5::getCapVM(int numV) {
    if (numV < 0 || numV >= nbEAU)
        return {};
    return QStringLiteral("u[") + GetCapUInd(numV) + QLatin1Char(']');
}

void TSP5::CapDefaut(int voieA) {
    if (voieA < 0 || voieA >= nbEAU)
        return;
    TVoie& v = VoiesX[voieA];
    v.cap = TCapteur{};
    capteurTensionDefaut(v.cap, QStringLiteral("Aucun capteur"),
                         QStringLiteral("u[EA") + QString::number(voieA) + QStringLiteral("_M]"),
                         10.0f,
                         static_cast<float>(2.0 * calibreVolts(indexCalibre(voieA)) / 4000.0));
    v.nbGUCapX = 0;
    v.bloqueeParCapteur = false;
}

void TSP5::prepareIntitulesVoies() {
    IntitulesVoies.assign(nbEAU, QString());
    for (int i = 0; i < nbEAU; ++i)
        IntitulesVoies[i] = getIntituleVoie(i);
}
