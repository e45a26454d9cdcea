#pragma once
// TSP5: the driver of the SYSAM SP5 and of its simulator. It reaches the unit only
// through the maker's library (or the simulator with the same functions), loaded at run
// time by absolute path: byte registers, a FIFO of 16-bit sample words and a calibration
// record. The programming image (fields PR_<register><address>) mirrors the registers
// the driver writes and reads back.
#include "bibliotheque.h"
#include "centrale.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// True when the file name of chemin is the simulator's ("SP5SIM.DLL" or "libsp5sim.so",
// letters compared without case).
bool estBibliothequeSimulateurSP5(const QString& chemin);

// The calibration record of the unit, decoded from its 379 bytes.
struct TCalibrageSP5 {
    static constexpr int taille = 379;

    uint8_t Reserved = 0;
    QString NumeroSerie;                   // at most 12 characters
    std::array<float, 16> Ampli_EA{};      // channel c, range r at 4c + r: volts per code
    std::array<float, 32> Offset_EA{};     // input i, range r at 4i + r: volts at code 0
    std::array<float, 16> Offset_EADiff{}; // channel c, range r at 4c + r (differential)
    std::array<float, 2> Ampli_SA{};
    std::array<float, 2> Offset_SA{};
    double DateEtalonnage = 0.0; // days since 30 December 1899
    double DateCablage = 0.0;
    QString NumeroSerieCablage;

    // Little-endian fields at their byte offsets; a text's length byte above 12 is
    // limited to 12.
    static TCalibrageSP5 decoder(const uint8_t* octets);

    bool operator==(const TCalibrageSP5&) const = default;
};

// The library functions, resolved by name.
struct TFonctionsSP5 {
    void(KIRVANE_STDCALL* SP5_Reset)() = nullptr;
    bool(KIRVANE_STDCALL* SP5_Present)() = nullptr;
    uint8_t(KIRVANE_STDCALL* SP5_LireRegistre)(uint8_t adr) = nullptr;
    void(KIRVANE_STDCALL* SP5_EcrireRegistre)(uint8_t adr, uint8_t valeur) = nullptr;
    void(KIRVANE_STDCALL* SP5_EcrireFifo)(uint16_t* tampon, int32_t taille) = nullptr;
    void(KIRVANE_STDCALL* SP5_RecupereCalibration)(uint8_t* calibration) = nullptr;
    int32_t(KIRVANE_STDCALL* SP5_LireFifo)(uint16_t* tampon) = nullptr;
    void(KIRVANE_STDCALL* SP5_ViderFifo)() = nullptr;
    int32_t(KIRVANE_STDCALL* SP5_TailleTransfertFifo)(int32_t taille) = nullptr;
    void(KIRVANE_STDCALL* SP5_AfficheInfos)() = nullptr;
};

// Fields of TSP5 beyond TCentrale, in one aggregate so that a second construction on
// the same object starts from exactly a fresh object's state.
struct TDonneesSP5 {
    TCalibrageSP5 fCalibrageSP5;
    std::array<int, 8> cGainX{}; // weight of input i in the gain word: 8^i

    // Programming image and read-back copies of the registers.
    uint8_t PR_VoiesAA00 = 0;
    uint8_t PR_CalEA03 = 0, PR_CalEA02 = 0, PR_CalEA01 = 0;
    uint8_t PR_skip08 = 0, PR_skip07 = 0, PR_skip06 = 0, PR_skip05 = 0, PR_skip04 = 0;
    uint8_t PR_nbpts09 = 0, PR_nbpts0A = 0, PR_nbpts0B = 0;
    uint8_t PR_ModeDiff0C = 0;
    uint8_t PR_DeclenchementG1D = 0;
    uint8_t PR_SeuilTrig1E = 0, PR_SeuilTrig1F = 0;
    uint8_t PR_NbPtsPreTrig20 = 0, PR_NbPtsPreTrig21 = 0, PR_NbPtsPreTrig22 = 0;
    uint8_t PR_HysteresisTrig23 = 0;
    uint8_t PR_DataPreTrig6B = 0, PR_DataPreTrig6C = 0;
    uint8_t PR_DataPostTrig6D = 0, PR_DataPostTrig6E = 0;
    uint8_t PR_DTrigExt6F = 0, PR_DTrigExt70 = 0, PR_DTrigExt71 = 0, PR_DTrigExt72 = 0;
    int modeTe = 0; // 0: base tick 100 ns; 1: base tick 2 µs
    uint8_t PR_Capteur_00 = 0, PR_Capteur_01 = 0, PR_Capteur_02 = 0, PR_Capteur_03 = 0;
    std::array<int, 4> capteurs0{};

    // Why the last loading failed when a function is missing ("Erreur lors du
    // chargement de " + name); empty otherwise. Shown by the detection.
    QString erreurChargement;
    // Samples per FIFO transfer last asked of the library (1..256).
    int tailleTransfert = 256;

    bool operator==(const TDonneesSP5&) const = default;
};

class TSP5 final : public TCentrale, public TDonneesSP5 {
public:
    // Registers of the programming image, in the order the unit receives them.
    static const std::array<uint8_t, 20> ordreEnvoi;
    static constexpr uint8_t REG_CONTROLE = 0x24;

    // sDLL: absolute path of the unit's library or of the simulator.
    TSP5(const QString& sDLL, int logiUti1);
    explicit TSP5(int logiUti1) : TSP5(QString(), logiUti1) {}
    // Releases the library without resetting the unit when liberer did not run.
    ~TSP5() override;

    // The whole construction; run again on the same object with another path, it gives
    // the state of a fresh object built with that path. Never throws.
    void initialiser(const QString& sDLL, int logiUti1);
    // Loads FNomDLL when it is not loaded and resolves the functions; false when the
    // library or one of its functions is missing (CentraleInstallee false). Never throws.
    virtual bool chargerBibliotheque();
    bool bibliothequeChargee() const { return HandleDLL != 0; }
    const TFonctionsSP5& fonctions() const { return fonctions_; }
    // Uses the given functions in place of a library (a stand-in for the unit in tests):
    // the object is then installed and loaded until liberer(true) or initialiser.
    void brancherFonctions(const TFonctionsSP5& f);

    void liberer(bool libererDLL) override;

    // Unit and calibration
    void Reset() override;
    void RecupereCalibration() override;
    void MAJCalibrage() override;
    void AfficheInfos();

    // Labels
    QString getIntituleVoie(int numV) override;
    QString getIntituleVoieSimplifie(int numV) override;
    QString getIntituleVoieTresSimplifie(int numV) override;
    QString GetCapU(int numV) override;
    QString GetCapUInd(int numV) override;
    QString getCapEA(int numV) override;
    QString getCapVM(int numV) override;

    // Inputs and ranges
    void activeVoieA(uint8_t numV, bool applique) override;
    void desactiveVoieA(uint8_t numV, bool applique) override;
    void setCal(uint8_t numV, int cal1, bool applique) override;
    void prepareCalibreAdapte(int voie1, float v1max) override;
    double Ux(int voieX, int vNum) override;
    void setModeDiff(int canal1, bool mode1, bool applique) override;
    int ValUx(int voieX, float U1) override;

    // Programming
    void prepareTousPRX(bool applique) override;
    bool prepareInterfacePourAcq(bool forceV6) override;

    // Timebase
    void determine_tSkipAcquisition() override;
    void SetNdt(double dt1) override;
    void SetNdt(double dt1, double tSkipAcq1, int64_t& ndt1) override;
    void DetermineNBPt0XMAx(int nbVA2, int64_t& nbPts0XMax2) override;
    void setDureesGeneriques(double& dureeTotale1, double& dt1, int64_t& nbPts1, int64_t& nbPtsAff1,
                             int64_t& nbPts0XMax1, int64_t& ndt1, double tSkipAcq1) override;
    void setDurees(double dureeTotale1, int64_t nbPts1, bool applique) override;
    void setDurees(bool applique) override;
    bool memesParametresTemporels() override;
    void memoriseParametresTemporels() override;

    // Trigger and pretrigger
    int setVoieSynchro(int voie1, bool applique) override;
    void setSensDeclSeuil(int sensDecl1, bool applique) override;
    void setSensDeclEchelon(int sensDecl1, bool applique) override;
    void setPretrig(float tauxPretrig1, bool applique) override;
    void setPretrig(int idxPretrig1, bool applique) override;
    void getNbPtsPretrig() override;
    void setModeDeclenchement(int modeDecl1, bool applique) override;
    void setSeuilDecl(float ValSeuilDecl1) override;
    void getDTPretrig() override;

    // Run
    void declencheAcq() override;
    void arreteAcq() override;
    void MesureDirecte() override;
    void PrepareIdxTraitKirvane() override;

    // Sensors
    void CapDefaut(int voieA) override;
    void prepareIntitulesVoies() override;

    // Presence and FIFO
    bool Presente() override;
    int LireFifoBASE(TPtrFifoSP5 aPtrFifoSP5) override;
    int LireFifo(TPtrFifoSP5 aPtrFifoSP5) override;
    int TailleTransfertFifo(int aTaille) override;
    void ViderFifo() override;
    uint8_t GetRegistre(uint8_t aAdr) override;
    void SetRegistre(uint8_t aAdr, uint8_t Value) override;
    int presentePendantAcq() override;

    // Nominal coefficients of range r (volts per code, volts at code 0): what a unit
    // without calibration record gives.
    static double gainNominal(int r);
    static double offsetNominal(int r);
    // Range in volts of hardware range index r (0..3), exact in double.
    static double calibreVolts(int r);

private:
    // The tables and fields of the unit (constructor values), then the default settings.
    void preparerGeometrie();
    void appliquerReglagesDefaut();
    // Active-input lists, counts and register 00 from the inputs and channel modes.
    void reconstruireListes();
    // Signals that the current inputs would yield, without the lists being rebuilt.
    int compterSignaux() const;
    // The programming image of the registers 01 to 23.
    void preparerImage();
    void calibrageNominal();
    // False when the library is not installed (the call does nothing); throws
    // EErreurBibliotheque when it is installed but not loaded.
    bool appelPossible() const;
    int indexCalibre(int voie) const;
    void libererBibliotheque();

    TBibliotheque bibliotheque_;
    TFonctionsSP5 fonctions_;
};
