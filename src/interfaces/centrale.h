#pragma once
// TCentrale: the one type through which the program sees an acquisition unit. It holds
// what the program needs to know about the unit and declares, as virtual operations,
// everything the program asks of it. A driver (TSP5, TSYSAMV6, TSYSAMCAMPUS, each final)
// must provide every pure operation; the base keeps a behaviour only where it is right
// for every unit.
//
// Fields of the sibling oscilloscope program and of the signal outputs are not kept:
// this program never reads them.
#include "capteur.h"
#include "chronometre.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// Interface kinds (typeCentrale).
enum : int {
    CENTRALE_SP5 = 1,
    CENTRALE_V6 = 2,
    CENTRALE_CAMPUS = 3,
    CENTRALE_SIMULATION_SP5 = 4,
    CENTRALE_AUDIO = 5,
    CENTRALE_SIMULATION_V6 = 6,
    CENTRALE_SIMULATION_CAMPUS = 7,
};

// Long and short names, indexed by typeCentrale - 1 (1..7); empty out of range.
QString nomLongCentrale(int typeCentrale);
QString nomCourtCentrale(int typeCentrale);

// What LireFifo returns besides a count of words.
enum : int {
    LIREFIFO_PERDUE = -1,    // the unit is gone
    LIREFIFO_RAPPELER = -51, // a wait ran out inside the driver: call again
};

// The buffer handed to LireFifo: one sample per word, the 12-bit code in bits 15..4.
using TFifoSP5 = std::array<uint16_t, 256>;
using TPtrFifoSP5 = TFifoSP5*;

// Timing of the previous acquisition.
struct TReglagesTemporels {
    int RTmodeTe = 0;
    int64_t RTnbPts = 0;
    int64_t RTndt = 0;

    bool operator==(const TReglagesTemporels&) const = default;
};

// Saved copy of the calibration coefficients.
struct TMemoCalibrage {
    std::vector<std::vector<float>> a1m, b1m, b1diffm;
    std::vector<std::vector<bool>> a1mCorr, b1mCorr, b1diffmCorr;
};

// One analogue input.
struct TVoie {
    TVoie();

    std::array<int, 8> CalsVoie;    // ranges in volts rounded; -1: empty
    std::array<float, 8> calsVoieR; // exact ranges; -1.0: empty
    int idxCalibreUt = 0;
    int idxCalibreEA = 0;
    int idxCalibreCap = 0;
    float calibreR = 0.0f;
    bool active = false;
    float echVoie = 0.0f;
    bool bloqueeParCapteur = false;
    uint16_t mesDir = 0;
    float mesDirR = 0.0f;
    TCapteur cap;
    bool capDouble = false;
    int xeAnc = 0;
    int yeAnc = 0;
    float tAnc = 0.0f;
    float uAnc = 0.0f;
    float tPrec = 0.0f;
    float uPrecC = 0.0f;
    float uPrecG = 0.0f;
    std::array<float, 2> ca{}; // V6: volts = code * ca[id] + cb[id]
    std::array<float, 2> cb{};
    int gUt = 0;
    int nbGUCapX = 1;
    std::array<TFcUUp, 4> grCap;
    int sensConv = 1;
    TFcUUp FcUUp;

    bool operator==(const TVoie&) const = default;
};

// Every field of TCentrale, with the values of the base constructor. Kept in one
// aggregate so that a driver re-running its construction on the same object starts
// again from exactly the state of a fresh object (TCentrale::initialiserBase).
struct TDonneesCentrale {
    // Identity and installation
    QString numeroSerie;
    QString nomCentrale;
    int typeCentrale = 0;
    bool CentralePCI = false;
    double tRemanence = 0.0;
    QString TypeCentraleCampus;
    QString FNomDLL;
    int HandleDLL = 0; // non-zero while the library is loaded
    int NbProcessus = 0;
    bool CentraleInstallee = false;
    bool CentralePresente = false;
    bool CentralePretePourAcq = false;
    int LogiUtilisateur = 0;
    bool acquisitionUtilisateur = false;

    // Inputs, channels and ranges
    int nbEAU = 0;
    int nbCanaux_ = 0;
    int nbCanauxUt = 0;
    int nbCalEA = 0;
    int nbCalCap = 0;
    int nbCalEAKirvane = 0;
    std::vector<float> calibresEAStandard;
    std::array<float, 8> calibresDispo{};
    int ChxModeDiff = 0;
    std::vector<bool> canauxDiff;
    std::vector<TVoie> VoiesX;
    std::vector<int> VoiesActivesX;
    std::vector<int> VoiesActivesSignaux;
    int nbVoiesActivesX = 0;
    int nbVoiesSignaux = 0;
    std::vector<QString> IntitulesVoies;
    std::vector<std::array<QString, 2>> IntitulesVoiesCapteurs;
    std::vector<QString> GBCanauxCaption;
    std::vector<QString> sCalibres;
    std::vector<QString> sCalibresSIMPL;
    std::vector<QString> sEntrees;
    std::vector<QString> twCals;

    // Calibration: per input (b1diff: per channel) and hardware range
    std::vector<std::vector<double>> a1;
    std::vector<std::vector<double>> b1;
    std::vector<std::vector<double>> b1diff;

    // Converters
    double TeCAN = 0.0;
    double TeCNA = 0.0;
    int ResoCANPts = 0;
    int ResoCNAPts = 0;
    float ResoCAN = 0.0f;
    float ResoCNA = 0.0f;
    float ResoCANdB = 0.0f;
    float ResoCNAdB = 0.0f;

    // Timebase
    double tSkipAcq = 0.0;
    double FeAcq = 0.0;
    double dt0X = 0.0;
    double dtAX = 0.0;
    double dureeTotale0X = 0.0;
    double dureeTotaleAX = 0.0;
    int64_t nbPts0X = 0;
    int64_t nbPtsAffX = 0;
    int64_t nbPtsAX = 0;
    int64_t ndt = 0;
    int nbPts0XMax = 0;
    int nbPtsR = 0;
    int nbValTVx = 0;
    double dureeMin = 0.0;
    int nbPtsMax01 = 0;
    int nbPtsMin01 = 0;
    int idxDureeTotaleMinKirvane = 0;
    int idxDureeTotaleMaxKirvane = 0;
    int idxNbPointsMinKirvane = 0;
    int idxNbPointsMaxKirvane = 0;
    TReglagesTemporels acqPerPrec;
    int modeRecuperation = 0;
    int modeAcq = 0;
    QString ITeHINT;
    float tSkipAcqPerfMax = 0.0f;
    int nbPtsACQ = 0;
    int taRAMAcqMax = 0;

    // Trigger and pretrigger
    int modeDecl = 0;
    int sensDeclSeuil = 0;
    int sensDeclEchelon = 0;
    int voieSynchro = 0;
    int voieSynchroVA = 0;
    float USeuilDecl = 0.0f;
    float gpSeuilDecl = 0.0f;
    float vSeuilDecl = 0.0f;
    float vSeuilDeclNorm = 0.0f;
    QString unitevSeuil;
    bool synchroExterneDispo = false;
    bool chxSensDeclExterne = false;
    bool pretrigDispo = true;
    float tauxPretrig = 0.0f;
    int idxPretrig = 0;
    int nbPtsPretrig = 0;
    float tPretrig = 0.0f;
    double dtPretrig = 0.0;
    uint16_t vPre = 0;
    uint16_t vPost = 0;
    float uPre = 0.0f;
    float uPost = 0.0f;
    double coPretrigCache = 0.0;
    float tAttenteMaxDecl = 3.1557599e10f; // a thousand years: no limit
    bool attenteDeclenchement = false;

    // FIFO and run state
    int NbPtsFifo = 0;
    int nbPtsFifoMin = 0;
    int tSleepFifo = 0;
    int tSleepTrame = 0;
    std::vector<int> idxTraitt;
    std::vector<int> idxTraitKirvane;
    std::vector<int> OrdreTraitt;
    std::vector<int> OrdreRecup;
    QString sOrdreTraitt;
    QString sOrdreRecup;
    bool acqPeriodiqueEnCours = false;
    bool acquisitionFaite = false;
    bool trameTerminee = false;
    TChronometreTicks chronometre;
    double tAcqAttDecl = 0.0;
    double tAcqRecup = -1.0;
    double tAcqTotal = 0.0;
    double tAcqAttDecl1 = 0.0;
    double tAcqRecup1 = 0.0;
    double tAcqTotal1 = 0.0;
    bool BloqueConstructionGraphe = false;

    // Sensors
    bool LaCentraleGereDesCapteurs = false;
    bool detectionCapteurPdtAcqPossible = false;
    std::vector<int> capteurs;
    std::vector<int> ACapteurs;
    QDateTime tDerniereDetectionCapteurs;
    double tAttenteDetectionCapteurs = 0.0;
    std::vector<bool> capteurs_CAMPUS_Actives;

    // CAMPUS settings that the main window writes on whichever interface is active
    bool traiterAliasing = false;
    int tAttenteCAMPUSAuDeclX = 0;

    bool operator==(const TDonneesCentrale&) const = default;
};

class TCentrale : public TDonneesCentrale {
public:
    // sDLL: library path or name, used by the drivers that load one (not by the base).
    // logiUti1: 1 for this program.
    explicit TCentrale(const QString& sDLL, int logiUti1);
    explicit TCentrale(int logiUti1);
    TCentrale(const TCentrale&) = delete;
    TCentrale& operator=(const TCentrale&) = delete;
    // Never releases the library or resets the unit: liberer does that.
    virtual ~TCentrale();

    // Releases the unit: with libererDLL the driver resets the unit and releases its
    // library or device. Safe to call more than once; the destructor does not repeat it.
    virtual void liberer(bool libererDLL);
    bool estLibere() const { return libere_; }

    // The operations below marked "= 0" are the ones every driver must provide: the
    // program relies on them and no base behaviour fits every unit. The others have a
    // base behaviour that is right for a unit without the feature (no sensors, no
    // registers, every point count accepted, trigger settings always usable).

    // Unit and calibration
    virtual void Reset() = 0;
    virtual void RecupereCalibration() = 0;
    virtual void MAJCalibrage() = 0;

    // Labels (drivers)
    virtual QString getIntituleVoie(int numV) { return {}; }
    virtual QString getIntituleVoieSimplifie(int numV) { return {}; }
    virtual QString getIntituleVoieTresSimplifie(int numV) { return {}; }

    // Inputs and ranges
    virtual void activeVoieA(uint8_t numV, bool applique) = 0;
    virtual void desactiveVoieA(uint8_t numV, bool applique) = 0;
    virtual void setCal(uint8_t numV, int cal1, bool applique) = 0;
    virtual void prepareCalibreAdapte(int voie1, float v1max) {}
    virtual double Ux(int voieX, int vNum) = 0;
    virtual void setModeDiff(int canal1, bool mode1, bool applique) = 0;
    virtual int ValUx(int voieX, float U1) = 0;

    // Programming
    virtual void prepareTousPRX(bool applique) = 0;
    virtual bool prepareInterfacePourAcq(bool forceV6) = 0;

    // Timebase. A driver overriding one overload of SetNdt or setDurees must bring the
    // other into scope (using TCentrale::setDurees;).
    virtual void determine_tSkipAcquisition() = 0;
    virtual int64_t filtreNbPts(int64_t nbPts1) { return nbPts1; }
    // Ticks of a period, the driver's own arithmetic.
    virtual void SetNdt(double dt1) {}
    virtual void SetNdt(double dt1, double tSkipAcq1, int64_t& ndt1) {}
    virtual void DetermineNBPt0XMAx(int nbVA2, int64_t& nbPts0XMax2) = 0;
    virtual void setDureesGeneriques(double& dureeTotale1, double& dt1, int64_t& nbPts1,
                                     int64_t& nbPtsAff1, int64_t& nbPts0XMax1, int64_t& ndt1,
                                     double tSkipAcq1) = 0;
    virtual void setDurees(double dureeTotale1, int64_t nbPts1, bool applique) = 0;
    virtual void setDurees(bool applique) = 0;
    // Same timing as the previous acquisition: a new series may join the earlier ones.
    virtual bool memesParametresTemporels() = 0;
    virtual void memoriseParametresTemporels() = 0;

    // Trigger and pretrigger. setPretrig takes a share in percent (float) or an index
    // 0..4 (int); pass a float, not a double, for the share.
    virtual int setVoieSynchro(int voie1, bool applique) = 0;
    virtual void setSensDeclSeuil(int sensDecl1, bool applique) = 0;
    virtual void setSensDeclEchelon(int sensDecl1, bool applique) = 0;
    virtual void setPretrig(float tauxPretrig1, bool applique) = 0;
    virtual void setPretrig(int idxPretrig1, bool applique) = 0;
    virtual void getNbPtsPretrig() = 0;
    virtual void setModeDeclenchement(int modeDecl1, bool applique) = 0;
    virtual void setSeuilDecl(float ValSeuilDecl1) = 0;
    virtual void getDTPretrig() = 0;
    virtual bool synchroDisponible() { return true; }

    // Run
    virtual void declencheAcq() = 0;
    virtual void arreteAcq() = 0;
    virtual void MesureDirecte() = 0;
    virtual void PrepareIdxTraitKirvane() = 0;

    // Sensors: none by default.
    virtual bool detectionCapteursBAse(bool TestModif) { return false; }
    virtual uint8_t CapteurBase(uint8_t canal) { return 0; }
    virtual uint8_t Capteur(uint8_t canal) { return CapteurBase(canal); }
    virtual void CapDefaut(int voieA) {}
    virtual void prepareIntitulesVoies() {}

    // Presence and FIFO.
    virtual bool Presente() = 0;
    virtual int LireFifoBASE(TPtrFifoSP5 aPtrFifoSP5) { return 0; }
    // Count of sample words written (at most motsParLectureMax()), 0 when none is waiting
    // yet, LIREFIFO_PERDUE when the unit is gone, LIREFIFO_RAPPELER when a wait ran out
    // inside the driver (neither data nor an empty read: the caller reads again at once).
    virtual int LireFifo(TPtrFifoSP5 aPtrFifoSP5) = 0;
    // The most words one LireFifo hands over: one transfer, unless the driver gathers its
    // samples itself and hands them over in blocks of up to the whole buffer.
    virtual int motsParLectureMax() const { return NbPtsFifo; }
    virtual int TailleTransfertFifo(int aTaille) = 0;
    virtual void ViderFifo() = 0;
    // Registers: only a unit programmed through registers has them.
    virtual uint8_t GetRegistre(uint8_t aAdr) { return 0; }
    virtual void SetRegistre(uint8_t aAdr, uint8_t Value) {}
    // 1 present, -1 absent (unit lost), 0 undetermined.
    virtual int presentePendantAcq() = 0;
    // Why the last declencheAcq did not start (French, for the user); empty when it
    // started or when nothing is to be said.
    virtual QString refusDemarrage() const { return {}; }

    // Labels for headers, legends and exports
    virtual QString GetCapU(int numV) = 0;
    virtual QString GetCapUInd(int numV) = 0;
    virtual QString getCapEA(int numV) = 0;
    virtual QString getCapVM(int numV) = 0;

    // Helpers for the drivers' memesParametresTemporels / memoriseParametresTemporels.
    // Total tick count of a timing: nbPts x ndt x facteur (facteur brings ticks of
    // different base periods to one unit).
    static int64_t ticksTotaux(int64_t nbPts, int64_t ndt, int64_t facteur = 1);
    // True when an acquisition was memorised and the current timing has its number of
    // points and its total tick count; facteurActuel applies to nbPts0X x ndt,
    // facteurPrecedent to acqPerPrec.
    bool parametresTemporelsEgaux(int64_t facteurActuel = 1, int64_t facteurPrecedent = 1) const;
    // acqPerPrec := (modeTe, nbPts0X, ndt).
    void enregistrerParametresTemporels(int modeTe);

protected:
    // Every field back to the base constructor's values (logiUti1 into LogiUtilisateur),
    // a new stopwatch included; for a driver that runs its construction again.
    void initialiserBase(int logiUti1);

    // Count of running acquisitions. debutProcessus when an acquisition starts;
    // finProcessus when it stops, returns false (and changes nothing) when none runs,
    // so that NbProcessus never goes below 0.
    void debutProcessus();
    bool finProcessus();

    bool libere_ = false; // liberer has run
};
