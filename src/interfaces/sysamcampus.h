#pragma once
// TSYSAMCAMPUS: the driver of the SYSAM CAMPUS and of its simulator. It reaches the unit
// only through the unit's library (the maker's or our simulator with the same twelve
// functions), loaded at run time by absolute path. The unit samples on a 100 ns tick, at
// most 4000 points per input; the driver keeps its own copy of the whole acquisition,
// places a threshold trigger in software and hands the engine blocks of sample words.
#include "bibliotheque.h"
#include "campus.h" // the library contract
#include "centrale.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// True when the file name of chemin is the simulator's ("CAMPUSSIM.DLL" or
// "libcampussim.so", letters compared without case).
bool estBibliothequeSimulateurCAMPUS(const QString& chemin);

// The loading errors, raised by the constructor.
QString texteCampusInexistante(const QString& chemin);
QString texteCampusChargement(const QString& chemin);
QString texteCampusFonction(const QString& nom, const QString& chemin);

// A zero-terminated UTF-16 text owned by the library, copied at once (at most 1024
// characters: a text without its terminator must not run through memory).
QString copierTexteCampus(const char16_t* texte);

// The twelve functions of the unit's library.
struct TFonctionsCAMPUS {
    TDonneNumeroSerieCentrale DonneNumeroSerieCentrale = nullptr;
    TSelectionneCalibre SelectionneCalibre = nullptr;
    TCommandeLed CommandeLed = nullptr;
    TConvertiDonneeEntreeNumeriqueEnAnalogique ConvertiDonneeEntreeNumeriqueEnAnalogique = nullptr;
    TCalibreTe CalibreTe = nullptr;
    TPrepareAcquisition PrepareAcquisition = nullptr;
    TDemarreAcquisition DemarreAcquisition = nullptr;
    TLitDonneeNumerique LitDonneeNumerique = nullptr;
    TStoppeAcquisition StoppeAcquisition = nullptr;
    TLitValeurVoie LitValeurVoie = nullptr;
    TReseteSortie ReseteSortie = nullptr;
    TFermeConnectionUSB FermeConnectionUSB = nullptr;
};

// Calibration of the unit: per input and range, volts per code and volts at code 0.
struct TCalibrageCAMPUS {
    std::array<std::array<float, 4>, 4> Ampli_EA{};
    std::array<std::array<float, 4>, 4> Offset_EA{};
    // The range's calibration was implausible: the range is avoided.
    std::array<std::array<bool, 4>, 4> Interdit{};
    std::array<float, 2> Ampli_SA{};
    std::array<float, 2> Offset_SA{};

    bool operator==(const TCalibrageCAMPUS&) const = default;
};

// Fields of TSYSAMCAMPUS beyond TCentrale.
struct TDonneesCAMPUS {
    bool calibrageFait = false; // the connected unit's calibration has been measured
    bool DLL_Chargee = false;
    TCalibrageCAMPUS calibrageCAMPUS;
    // The unit whose calibration was measured, and that calibration: numeroSerie is
    // overwritten by every presence test, so a swapped unit is recognised by this one.
    QString numeroSerieCalibre;
    TCalibrageCAMPUS calibrageMesure;

    // The programming image sent before each acquisition.
    std::array<int32_t, CAMPUS_NB_ORDRE_VOIES> aTabOrdreVoies1{-1, -1, -1, -1, -1, -1, -1, -1, -1};
    double aTe1 = 0.0;
    int aNombreDePoint1 = 0;
    int32_t aSourceTrigger1 = _SOURCE_AUCUNE;
    int32_t asensDeclenchement1 = _SEUIL;
    double aSeuil1 = 0.0;
    int aPreTrig1 = 0;
    bool aModePermanent1 = false;
    QString aStrMessageErreur1; // the library's last answer to the programming

    // Timebase and guard points.
    int ptDePlus = 0;
    int epsNbPts = 1;
    float tauxPreTrigSupp = 1.0f;
    int pscMin = 4;
    int psc1 = 0;
    int psc2 = 0;
    int64_t nbValPretrig = 0;
    int64_t NBValTrame = 0;
    int64_t tailleRAMAcq = 0;
    // The timing asked for last, applied again once the unit answers (its "CalibreTe"
    // may then give another interval).
    double dureeDemandee = 0.1;
    int64_t nbPtsDemandes = 1001;
    bool tempsSansCentrale = false;

    // Reading state. RAMAcq holds the words of the whole acquisition (12-bit code x 16);
    // the library writes into the staging buffers ptTableauInt and ptTableauInt1.
    std::vector<uint16_t> RAMAcq;
    std::vector<int32_t> ptTableauInt;
    std::vector<int32_t> ptTableauInt1;
    // Inputs and trigger input of the running acquisition, fixed at its start.
    int nbVAAcq = 1;
    int voieSynchroAcq = 0;
    int voieSynchroVAAcq = 0;
    int TailleFifo = 0;
    bool recupCommencee = false;
    bool recupTerminee = false;
    QString MSGErreurAcq;
    int64_t idxValfront = 0;
    int64_t idxValFin = 0;
    int64_t nbValLuesFifoEnCours = 0;
    int64_t nbTotalValRestantes = 0;
    int64_t nbValTotalLues = 0;
    int64_t nbValRestantATransmettre = 0;
    int64_t nbDonneesRenvoyees = 0;
    int64_t nbDonneesALire = 0;
    int64_t nbValpretrigALire = 0;
    int64_t nbValPretrigLues = 0;
    int etapeAcq = 0;
    int64_t idxFinPretrigRenvoi = 0;
    int64_t idxFrontPretrigRenvoi = 0;
    bool premierPassageICI = false;
    int t1Attente = 150;
    bool acqMarquee = false;       // this run counts in NbProcessus
    bool unitePerdue = false;      // the library said the unit is gone during the run
    bool arretNonConfirme = false; // the last stop was not answered "%"
    bool enCalibrage = false;      // ranges are being switched to measure the calibration

    // Pause after a range or programming change, in milliseconds (the unit settles).
    int pauseReglageMs = 20;
};

class TSYSAMCAMPUS final : public TCentrale, public TDonneesCAMPUS {
public:
    // Loads the library at sDLL (absolute path) and builds the driver. Throws
    // EErreurBibliotheque with the French loading error when the file is missing, cannot
    // be loaded or lacks one of the twelve functions; nothing is kept then.
    TSYSAMCAMPUS(const QString& sDLL, int logiUti1);
    // The driver on a given function table instead of a library (a stand-in unit).
    TSYSAMCAMPUS(const TFonctionsCAMPUS& f, int logiUti1);
    // Releases the library without touching the unit when liberer did not run.
    ~TSYSAMCAMPUS() override;

    const TFonctionsCAMPUS& fonctions() const { return fonctions_; }
    void liberer(bool libererDLL) override;

    // Unit and calibration
    void Reset() override;
    void RecupereCalibration() override;
    void MAJCalibrage() override;

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
    int64_t filtreNbPts(int64_t nbPts1) override { return 4000; }
    void SetNdt(double dt1) override;
    void SetNdt(double dt1, double tSkipAcq1, int64_t& ndt1) override;
    void DetermineNBPt0XMAx(int nbVA2, int64_t& nbPts0XMax2) override;
    void setDureesGeneriques(double& dureeTotale1, double& dt1, int64_t& nbPts1, int64_t& nbPtsAff1,
                             int64_t& nbPts0XMax1, int64_t& ndt1, double tSkipAcq1) override;
    void setDurees(double dureeTotale1, int64_t nbPts1, bool applique) override;
    void setDurees(bool applique) override;
    bool memesParametresTemporels() override;
    void memoriseParametresTemporels() override;
    // The interval the unit produces near Te (two significant digits from 1 µs, a
    // multiple of 100 ns below), and the next coarser one.
    double CalibreTe1(double Te);
    static double calibreTeArithmetique(double Te);
    static double TeSuperieurSuivant(double Te);

    // Trigger and pretrigger
    int setVoieSynchro(int voie1, bool applique) override;
    void setSensDeclSeuil(int sensDecl1, bool applique) override;
    void setSensDeclEchelon(int sensDecl1, bool applique) override;
    void setPretrig(float tauxPretrig1, bool applique) override;
    void setPretrig(int idxPretrig1, bool applique) override;
    void getNbPtsPretrig() override {}
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
    int LireFifo(TPtrFifoSP5 aPtrFifoSP5) override;
    // Blocks of NbPtsFifo to 256 words while the unit runs, 256 at a time at the end.
    int motsParLectureMax() const override { return 256; }
    int TailleTransfertFifo(int aTaille) override;
    void ViderFifo() override {}
    int presentePendantAcq() override;

    // Nominal coefficients of range r: what a unit without calibration gives.
    static double calibreVolts(int r);
    static double gainNominal(int r) { return 2.0 * calibreVolts(r) / 4096.0; }
    static double offsetNominal(int r) { return -calibreVolts(r); }

private:
    void construire(int logiUti1);
    void charger(const QString& chemin);
    void libererBibliotheque();
    void calibrageNominal();
    void mesurerCalibrage(const QString& serie);
    void reconstruireListes();
    // After a setting: the image is rebuilt (and sent with applique); without applique the
    // unit is no longer ready.
    void finReglage(bool applique);
    void MAJDurees(bool applique);
    void MAJTailleRAMAcq();
    // Pretrigger and guard points on n points shown at interval dt; n may go down so
    // that the programmed points stay within 4000.
    void blocPretrig(int64_t& n, double dt, bool tPretrigNul);
    // Coarser intervals until n points (+ ptDePlus) fit in nbPtsMax.
    void ajusterIntervalle(double duree, double& dt, int64_t& n, int64_t nbPtsMax);
    void appliquerPretrig(bool applique, bool tPretrigNul);
    void fixerPtDePlus(int64_t nbPtsAff);
    // Waits ms milliseconds in short slices, letting the window work (not while the
    // calibration is measured).
    void attente(int ms);
    void traiterMessages();

    // Library calls, each doing nothing when the library is not loaded.
    QString serieUnite();
    void selectionneCalibre(int voie, int volts);
    void commandeLed(int voie, TEtatLED etat);
    double convertir(int code, int voie);
    double calibreTeUnite(double te);
    QString stoppeUnite();
    void reseteSortie(int32_t sortie);

    // FIFO reading.
    // Reads up to k samples into tampon and appends them to RAMAcq (never beyond it, and
    // in the reading phase never beyond NBValTrame); returns how many came, -1 when the
    // unit is gone.
    int64_t lire(int64_t k, std::vector<int32_t>& tampon, bool phaseLecture);
    int phaseAttente(TFifoSP5& fifo);
    int phasePremieresDonnees(TFifoSP5& fifo);
    int phaseRenvoiPretrig(TFifoSP5& fifo);
    int phaseLecture(TFifoSP5& fifo);
    int phaseRenvoiFin(TFifoSP5& fifo);
    int renvoyer(TFifoSP5& fifo);
    double uSynchro(int64_t pas) const;
    void placerDeclenchement();
    void calculerDtPretrig(int64_t a);
    bool court() const { return modeRecuperation == 1; }

    TBibliotheque bibliotheque_;
    TFonctionsCAMPUS fonctions_;
};
