// TSP5: construction, loading of the library, the library wrappers, run control and
// the FIFO.
#include "sp5.h"

#include "arrondis.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {
const QString nomSimulateurWindows = QStringLiteral("SP5SIM.DLL");
const QString nomSimulateur = QStringLiteral("libsp5sim.so");
} // namespace

bool estBibliothequeSimulateurSP5(const QString& chemin) {
    const QString nom = QFileInfo(chemin).fileName();
    return nom.compare(nomSimulateurWindows, Qt::CaseInsensitive) == 0 ||
           nom.compare(nomSimulateur, Qt::CaseInsensitive) == 0;
}

TSP5::TSP5(const QString& sDLL, int logiUti1) : TCentrale(sDLL, logiUti1) {
    initialiser(sDLL, logiUti1);
}

TSP5::~TSP5() {
    // Without liberer the unit is left as it is: only the library is released.
    libererBibliotheque();
}

void TSP5::initialiser(const QString& sDLL, int logiUti1) {
    libererBibliotheque();
    initialiserBase(logiUti1);
    static_cast<TDonneesSP5&>(*this) = TDonneesSP5{};

    // The path is kept as given: a bare name would be searched on the system path.
    FNomDLL = sDLL;
    typeCentrale = estBibliothequeSimulateurSP5(sDLL) ? CENTRALE_SIMULATION_SP5 : CENTRALE_SP5;
    nomCentrale = nomLongCentrale(typeCentrale);
    preparerGeometrie();

    chargerBibliotheque();
    if (CentraleInstallee && Presente()) {
        RecupereCalibration();
        MAJCalibrage();
    }
    appliquerReglagesDefaut();
}

bool TSP5::chargerBibliotheque() {
    if (HandleDLL != 0)
        return true;
    erreurChargement.clear();
    fonctions_ = TFonctionsSP5{};
    if (!bibliotheque_.charger(FNomDLL)) {
        CentraleInstallee = false;
        return false;
    }
    CentraleInstallee = true;
    TFonctionsSP5& f = fonctions_;
    std::vector<TLienFonction> liens = {
        lienFonction("Reset", f.SP5_Reset),
        lienFonction("Present", f.SP5_Present),
        lienFonction("LireRegistre", f.SP5_LireRegistre),
        lienFonction("EcrireRegistre", f.SP5_EcrireRegistre),
        lienFonction("EcrireFifo", f.SP5_EcrireFifo),
        lienFonction("RecupereCalibration", f.SP5_RecupereCalibration),
        lienFonction("LireFifo", f.SP5_LireFifo),
        lienFonction("ViderFifo", f.SP5_ViderFifo),
        lienFonction("TailleTransfertFifo", f.SP5_TailleTransfertFifo),
    };
    if (typeCentrale == CENTRALE_SIMULATION_SP5)
        liens.push_back(lienFonction("AfficheInfos", f.SP5_AfficheInfos));
    const QString erreur = bibliotheque_.resoudre(liens);
    if (!erreur.isEmpty()) {
        // A library without every function is not used at all.
        erreurChargement = erreur;
        bibliotheque_.liberer();
        CentraleInstallee = false;
        return false;
    }
    HandleDLL = 1;
    return true;
}

void TSP5::brancherFonctions(const TFonctionsSP5& f) {
    libererBibliotheque();
    fonctions_ = f;
    erreurChargement.clear();
    CentraleInstallee = true;
    HandleDLL = 1;
}

void TSP5::libererBibliotheque() {
    bibliotheque_.liberer();
    fonctions_ = TFonctionsSP5{};
    HandleDLL = 0;
}

void TSP5::liberer(bool libererDLL) {
    if (libererDLL) {
        if (CentraleInstallee && HandleDLL != 0)
            fonctions_.SP5_Reset();
        libererBibliotheque();
    }
    TCentrale::liberer(libererDLL);
}

bool TSP5::appelPossible() const {
    if (!CentraleInstallee)
        return false;
    if (HandleDLL == 0)
        throw EErreurBibliotheque(texteBibliothequeNonChargee(FNomDLL));
    return true;
}

// --- Library wrappers ---

void TSP5::Reset() {
    if (appelPossible())
        fonctions_.SP5_Reset();
}

bool TSP5::Presente() {
    if (HandleDLL == 0 && !chargerBibliotheque()) {
        CentralePresente = false;
        return false;
    }
    CentralePresente = fonctions_.SP5_Present();
    return CentralePresente;
}

uint8_t TSP5::GetRegistre(uint8_t aAdr) {
    if (!appelPossible())
        return 0;
    return fonctions_.SP5_LireRegistre(aAdr);
}

void TSP5::SetRegistre(uint8_t aAdr, uint8_t Value) {
    if (appelPossible())
        fonctions_.SP5_EcrireRegistre(aAdr, Value);
}

int TSP5::TailleTransfertFifo(int aTaille) {
    // The engine's buffer holds 256 words: the library never gets a larger size.
    tailleTransfert = std::clamp(aTaille, 1, 256);
    if (!appelPossible())
        return 0;
    return fonctions_.SP5_TailleTransfertFifo(tailleTransfert);
}

void TSP5::ViderFifo() {
    if (appelPossible())
        fonctions_.SP5_ViderFifo();
}

void TSP5::AfficheInfos() {
    if (numeroSerie == QLatin1String("SPSIMUL") && appelPossible() &&
        fonctions_.SP5_AfficheInfos != nullptr)
        fonctions_.SP5_AfficheInfos();
}

int TSP5::LireFifoBASE(TPtrFifoSP5 aPtrFifoSP5) {
    if (!appelPossible() || aPtrFifoSP5 == nullptr)
        return 0;
    if (!Presente())
        return 0;
    const int32_t n = fonctions_.SP5_LireFifo(aPtrFifoSP5->data());
    // The engine indexes its buffer with this count: never beyond what it asked for.
    return std::clamp<int32_t>(n, 0, std::min<int32_t>(tailleTransfert, 256));
}

int TSP5::LireFifo(TPtrFifoSP5 aPtrFifoSP5) {
    return LireFifoBASE(aPtrFifoSP5);
}

int TSP5::presentePendantAcq() {
    return Presente() ? 1 : -1;
}

// --- Run control ---

void TSP5::declencheAcq() {
    if (nbVoiesActivesX <= 0)
        return;
    acqPeriodiqueEnCours = true;
    debutProcessus();
    // Time for the unit to fill one transfer; with only the second input of a
    // differential channel there is no signal, and a long run must not sleep for
    // minutes between two reads.
    const int nbS = std::max(nbVoiesSignaux, 1);
    const int attente = tronque(NbPtsFifo * 1000.0 / nbS * dt0X) + 1;
    tSleepFifo = std::clamp(attente, 10, 100);
    tSleepTrame = tronque(30.0 * static_cast<double>(nbPts0X) * nbVoiesSignaux / 1000.0) + 1;
    SetRegistre(REG_CONTROLE, static_cast<uint8_t>(GetRegistre(REG_CONTROLE) | 0x01));
    chronometre.Declenche();
}

void TSP5::arreteAcq() {
    SetRegistre(REG_CONTROLE, static_cast<uint8_t>(GetRegistre(REG_CONTROLE) & ~0x01));
    if (!finProcessus())
        return; // nothing was running: the times of the last run stay
    tAcqTotal = chronometre.Mesure();
    tAcqRecup = tAcqTotal - tAcqAttDecl;
    tAcqAttDecl1 = tAcqAttDecl;
    tAcqTotal1 = tAcqTotal;
    tAcqRecup1 = tAcqRecup;
    acqPeriodiqueEnCours = false;
}

void TSP5::MesureDirecte() {
    SetRegistre(REG_CONTROLE, static_cast<uint8_t>(GetRegistre(REG_CONTROLE) | 0x10));
    declencheAcq();
    for (int j = 0; j < nbVoiesSignaux; ++j) {
        const int c = VoiesActivesSignaux[j];
        if (c < 0 || c >= nbEAU)
            continue;
        const uint8_t bas = GetRegistre(static_cast<uint8_t>(0x53 + 2 * c));
        const uint8_t haut = GetRegistre(static_cast<uint8_t>(0x54 + 2 * c));
        const int code = ((haut << 4) & 0xFFF) | (bas >> 4);
        VoiesX[c].mesDir = static_cast<uint16_t>(code);
        VoiesX[c].mesDirR = static_cast<float>(Ux(c, code));
    }
    SetRegistre(REG_CONTROLE, static_cast<uint8_t>(GetRegistre(REG_CONTROLE) & ~0x10));
    arreteAcq();
}
