// TSYSAMCAMPUS: construction, loading of the library, the library wrappers, labels and
// release.
#include "sysamcampus.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
const QString nomSimulateurWindows = QStringLiteral("CAMPUSSIM.DLL");
const QString nomSimulateur = QStringLiteral("libcampussim.so");
constexpr std::array<float, 4> calibres = {30.0f, 15.0f, 10.0f, 1.0f};
} // namespace

bool estBibliothequeSimulateurCAMPUS(const QString& chemin) {
    const QString nom = QFileInfo(chemin).fileName();
    return nom.compare(nomSimulateurWindows, Qt::CaseInsensitive) == 0 ||
           nom.compare(nomSimulateur, Qt::CaseInsensitive) == 0;
}

QString texteCampusInexistante(const QString& chemin) {
    return QStringLiteral("Erreur DLL %1 inexistante").arg(chemin);
}

QString texteCampusChargement(const QString& chemin) {
    return QStringLiteral("Erreur de Chargement de la DLL \r%1").arg(chemin);
}

QString texteCampusFonction(const QString& nom, const QString& chemin) {
    return QStringLiteral("Erreur de Chargement de la fonction %1 \r dans la DLL \r%2")
        .arg(nom, chemin);
}

QString copierTexteCampus(const char16_t* texte) {
    if (texte == nullptr)
        return {};
    constexpr int longueurMax = 1024;
    int n = 0;
    while (n < longueurMax && texte[n] != u'\0')
        ++n;
    return QString::fromUtf16(texte, n);
}

double TSYSAMCAMPUS::calibreVolts(int r) {
    return calibres[static_cast<std::size_t>(std::clamp(r, 0, 3))];
}

TSYSAMCAMPUS::TSYSAMCAMPUS(const QString& sDLL, int logiUti1) : TCentrale(sDLL, logiUti1) {
    FNomDLL = sDLL;
    charger(sDLL); // throws, having released what it took
    construire(logiUti1);
}

TSYSAMCAMPUS::TSYSAMCAMPUS(const TFonctionsCAMPUS& f, int logiUti1) : TCentrale(logiUti1) {
    fonctions_ = f;
    DLL_Chargee = true;
    HandleDLL = 1;
    construire(logiUti1);
}

TSYSAMCAMPUS::~TSYSAMCAMPUS() {
    libererBibliotheque();
}

void TSYSAMCAMPUS::charger(const QString& chemin) {
    auto echec = [this](const QString& texte) {
        libererBibliotheque();
        throw EErreurBibliotheque(texte);
    };
    const QFileInfo info(chemin);
    if (chemin.isEmpty() || !info.isAbsolute() || !info.isFile())
        echec(texteCampusInexistante(chemin));
    if (!bibliotheque_.charger(chemin))
        echec(texteCampusChargement(chemin));
    TFonctionsCAMPUS& f = fonctions_;
    const std::vector<TLienFonction> liens = {
        lienFonction("DonneNumeroSerieCentrale", f.DonneNumeroSerieCentrale),
        lienFonction("SelectionneCalibre", f.SelectionneCalibre),
        lienFonction("CommandeLed", f.CommandeLed),
        lienFonction("ConvertiDonneeEntreeNumeriqueEnAnalogique",
                     f.ConvertiDonneeEntreeNumeriqueEnAnalogique),
        lienFonction("CalibreTe", f.CalibreTe),
        lienFonction("PrepareAcquisition", f.PrepareAcquisition),
        lienFonction("DemarreAcquisition", f.DemarreAcquisition),
        lienFonction("LitDonneeNumerique", f.LitDonneeNumerique),
        lienFonction("StoppeAcquisition", f.StoppeAcquisition),
        lienFonction("LitValeurVoie", f.LitValeurVoie),
        lienFonction("ReseteSortie", f.ReseteSortie),
        lienFonction("FermeConnectionUSB", f.FermeConnectionUSB),
    };
    // All twelve up front: a library without one of them is not used at all.
    for (const TLienFonction& l : liens)
        if (bibliotheque_.adresse(l.nom) == nullptr)
            echec(texteCampusFonction(l.nom, chemin));
    bibliotheque_.resoudre(liens);
    HandleDLL = 1;
    DLL_Chargee = true;
}

void TSYSAMCAMPUS::libererBibliotheque() {
    bibliotheque_.liberer();
    fonctions_ = TFonctionsCAMPUS{};
    HandleDLL = 0;
    DLL_Chargee = false;
}

void TSYSAMCAMPUS::construire(int logiUti1) {
    typeCentrale =
        estBibliothequeSimulateurCAMPUS(FNomDLL) ? CENTRALE_SIMULATION_CAMPUS : CENTRALE_CAMPUS;
    nomCentrale = nomLongCentrale(typeCentrale);
    LogiUtilisateur = logiUti1;
    tRemanence = 0.15;
    LaCentraleGereDesCapteurs = true;
    synchroExterneDispo = true;
    detectionCapteurPdtAcqPossible = false;
    chxSensDeclExterne = false;
    nbEAU = 4;
    CentraleInstallee = DLL_Chargee;

    // The geometry is set whatever happens, so that no array is ever indexed empty.
    ResoCANPts = ResoCNAPts = 4096;
    ResoCAN = ResoCNA = 1.0f / 4096.0f;
    nbCanaux_ = nbCanauxUt = 4;
    nbCalEA = nbCalCap = nbCalEAKirvane = 4;
    TeCAN = TeCNA = 1e-7;
    ChxModeDiff = 2;
    calibresEAStandard.assign(calibres.begin(), calibres.end());
    calibresDispo.fill(-1.0f);
    std::copy(calibres.begin(), calibres.end(), calibresDispo.begin());
    sCalibres = {QStringLiteral("-30V/+30V"), QStringLiteral("-15V/+15V"),
                 QStringLiteral("-10V/+10V"), QStringLiteral("-1V/+1V")};
    sCalibresSIMPL = {QStringLiteral("30 V"), QStringLiteral("15 V"), QStringLiteral("10 V"),
                      QStringLiteral("1 V")};
    twCals = {QStringLiteral(" +30.0 "), QStringLiteral(" +15.00 "), QStringLiteral(" +10.00 "),
              QStringLiteral(" +1.00 ")};
    canauxDiff.assign(4, false);
    VoiesX.assign(4, TVoie{});
    VoiesActivesX.assign(4, -1);
    VoiesActivesSignaux.assign(4, -1);
    idxTraitKirvane.assign(4, -1);
    idxTraitt.assign(4, -1);
    OrdreTraitt.assign(4, -1);
    OrdreRecup.assign(4, -1);
    a1.assign(4, std::vector<double>(4, 0.0));
    b1.assign(4, std::vector<double>(4, 0.0));
    b1diff.assign(4, std::vector<double>(4, 0.0));
    IntitulesVoies.assign(4, QString());
    IntitulesVoiesCapteurs.assign(4, {});
    sEntrees.clear();
    GBCanauxCaption.clear();
    for (int i = 0; i < 4; ++i) {
        const QString nom = QStringLiteral("V") + QString::number(i + 1);
        sEntrees.push_back(nom);
        GBCanauxCaption.push_back(nom);
        TVoie& v = VoiesX[static_cast<std::size_t>(i)];
        for (int r = 0; r < 4; ++r) {
            v.CalsVoie[static_cast<std::size_t>(r)] = static_cast<int>(calibres[r]);
            v.calsVoieR[static_cast<std::size_t>(r)] = calibres[r];
        }
        v.active = false;
        v.idxCalibreUt = v.idxCalibreEA = 0;
        v.calibreR = 30.0f;
        CapDefaut(i);
    }
    capteurs.assign(4, 0);
    ACapteurs.assign(4, 0);
    capteurs_CAMPUS_Actives.assign(4, false);
    calibrageNominal();
    MAJCalibrage();
    prepareIntitulesVoies();

    nbPts0XMax = 4000;
    taRAMAcqMax = 16000;
    tauxPreTrigSupp = 1.0f;
    pscMin = 4;
    NbPtsFifo = 180;
    nbPtsFifoMin = 1;
    tSkipAcq = 1e-7;
    FeAcq = 1.0 / tSkipAcq;
    dt0X = dtAX = 0.1;
    nbPts0X = nbPtsAffX = 1001;
    nbPtsAX = 0;
    dureeTotale0X = 0.1;
    modeDecl = sensDeclSeuil = sensDeclEchelon = 0;
    setDurees(0.1, 1001, false);
    setPretrig(0, false);
    tAttenteMaxDecl = 0.25f;
    acquisitionFaite = false;
    acqPeriodiqueEnCours = false;
    idxDureeTotaleMinKirvane = 0;
    idxDureeTotaleMaxKirvane = 29;
    idxNbPointsMinKirvane = 0;
    idxNbPointsMaxKirvane = 7;
    dureeMin = 1e-6;
    nbPtsMax01 = 4000;
    nbPtsMin01 = 11;
    determine_tSkipAcquisition();
    ITeHINT = QStringLiteral("Intervalle de temps entre deux points de mesures: \n\rvous ne "
                             "pouvez pas le modifier. Il s'agit\n\rd'un multiple entier de "
                             "100 ns.");
    for (int i = 0; i < 4; ++i)
        commandeLed(i, LED_BLEU);
}

void TSYSAMCAMPUS::liberer(bool libererDLL) {
    if (libererDLL && DLL_Chargee) {
        if (acqPeriodiqueEnCours)
            arreteAcq();
        reseteSortie(CAMPUS_SORTIE_1);
        reseteSortie(CAMPUS_SORTIE_2);
        for (int i = 0; i < 4; ++i)
            commandeLed(i, LED_BLEU);
        fonctions_.FermeConnectionUSB();
        libererBibliotheque();
    }
    TCentrale::liberer(libererDLL);
}

// --- Library wrappers: after a failed or released load every call does nothing ---

QString TSYSAMCAMPUS::serieUnite() {
    return DLL_Chargee ? copierTexteCampus(fonctions_.DonneNumeroSerieCentrale()) : QString();
}

void TSYSAMCAMPUS::selectionneCalibre(int voie, int volts) {
    if (DLL_Chargee)
        fonctions_.SelectionneCalibre(voie, volts); // the text says nothing we use
}

void TSYSAMCAMPUS::commandeLed(int voie, TEtatLED etat) {
    if (DLL_Chargee)
        fonctions_.CommandeLed(voie, etat);
}

double TSYSAMCAMPUS::convertir(int code, int voie) {
    return DLL_Chargee ? fonctions_.ConvertiDonneeEntreeNumeriqueEnAnalogique(code, voie)
                       : std::nan("");
}

double TSYSAMCAMPUS::calibreTeUnite(double te) {
    return DLL_Chargee ? fonctions_.CalibreTe(te, aTabOrdreVoies1.data()) : 0.0;
}

QString TSYSAMCAMPUS::stoppeUnite() {
    return DLL_Chargee ? copierTexteCampus(fonctions_.StoppeAcquisition()) : QStringLiteral("%");
}

void TSYSAMCAMPUS::reseteSortie(int32_t sortie) {
    if (DLL_Chargee)
        fonctions_.ReseteSortie(sortie); // a failure to stop an output is of no consequence
}

void TSYSAMCAMPUS::Reset() {
    reseteSortie(CAMPUS_SORTIE_1);
    reseteSortie(CAMPUS_SORTIE_2);
}

bool TSYSAMCAMPUS::Presente() {
    numeroSerie = serieUnite();
    CentralePresente = !numeroSerie.isEmpty();
    return CentralePresente;
}

int TSYSAMCAMPUS::presentePendantAcq() {
    if (unitePerdue)
        return -1;
    // The serial is read without touching numeroSerie: that names the unit calibrated.
    if (serieUnite().isEmpty()) {
        unitePerdue = true;
        return -1;
    }
    return 1;
}

void TSYSAMCAMPUS::traiterMessages() {
    // Nothing may re-enter the driver while it switches ranges to measure the calibration.
    if (!enCalibrage && QCoreApplication::instance() != nullptr)
        QCoreApplication::processEvents();
}

void TSYSAMCAMPUS::attente(int ms) {
    traiterMessages();
    const auto debut = std::chrono::steady_clock::now();
    const auto fin = debut + std::chrono::milliseconds(std::max(ms, 0));
    do {
        const auto reste = std::chrono::duration_cast<std::chrono::milliseconds>(
                               fin - std::chrono::steady_clock::now())
                               .count();
        if (reste <= 0)
            break;
        QThread::msleep(static_cast<unsigned long>(std::min<int64_t>(reste, 20)));
        traiterMessages();
    } while (acqPeriodiqueEnCours);
}

// --- Labels ---

QString TSYSAMCAMPUS::getIntituleVoie(int numV) {
    return QStringLiteral("V[") + QString::number(numV + 1) + QLatin1Char(']');
}

QString TSYSAMCAMPUS::getIntituleVoieSimplifie(int numV) {
    return numV >= 0 && numV < nbCanauxUt ? getIntituleVoie(numV) : QString();
}

QString TSYSAMCAMPUS::getIntituleVoieTresSimplifie(int numV) {
    return getIntituleVoieSimplifie(numV);
}

QString TSYSAMCAMPUS::GetCapU(int) {
    return QStringLiteral("u");
}

QString TSYSAMCAMPUS::GetCapUInd(int numV) {
    return QString::number(numV + 1);
}

QString TSYSAMCAMPUS::getCapEA(int numV) {
    return QStringLiteral("V") + QString::number(numV + 1);
}

QString TSYSAMCAMPUS::getCapVM(int numV) {
    return QStringLiteral("u[") + GetCapUInd(numV) + QLatin1Char(']');
}

void TSYSAMCAMPUS::CapDefaut(int voieA) {
    if (voieA < 0 || voieA >= nbEAU)
        return;
    TVoie& v = VoiesX[static_cast<std::size_t>(voieA)];
    v.cap = TCapteur{};
    capteurTensionDefaut(v.cap, QStringLiteral("Aucun capteur"),
                         QStringLiteral("u[") + QString::number(voieA) + QStringLiteral("M]"),
                         30.0f, static_cast<float>(gainNominal(0)));
    v.cap.CodeCapteur = 0;
    v.cap.a = {1.0, 1.0};
    v.cap.b = {0.0, 0.0};
    v.cap.nbGrPhyX = 1;
}

void TSYSAMCAMPUS::prepareIntitulesVoies() {
    IntitulesVoies.assign(static_cast<std::size_t>(nbEAU), QString());
    for (int i = 0; i < nbEAU; ++i)
        IntitulesVoies[static_cast<std::size_t>(i)] = getIntituleVoie(i);
}
