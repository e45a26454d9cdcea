#pragma once
// TSYSAMV6: the driver of the SYSAM V6. It speaks the unit's byte protocol (TCodecV6)
// over a byte link (TTransportOctets): one-character orders echoed by the unit, framed
// text commands, the calibration record and the sample bytes, which it keeps in RAMAcq
// and hands to the engine in FIFO words. Every wait is bounded: a byte is awaited at most
// one second, in sleeps of at most 2 ms, and not at all when the link is closed.
#include "centrale.h"
#include "codecv6.h"
#include "transport.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The time the driver waits in: a monotonic millisecond clock and a short sleep, in
// microseconds because a byte takes 8 µs on the link. Tests give a clock of their own so
// that a one-second time-out costs no second.
class THorlogeV6 {
public:
    virtual ~THorlogeV6() = default;
    virtual int64_t maintenantMs() = 0;
    virtual void dormirUs(int us) = 0;
};

// The system's steady clock and sleep.
THorlogeV6& horlogeSysteme();

// Where the start handshake stands while the unit has not yet sent data.
enum class TPoigneeV6 {
    AttenteDeuxPoints, // waiting for the trigger (":"), as long as it takes
    Rapport,           // the trigger report, up to "@"
    LF,
    CR,
    EchoD,             // fast timebase: "D" sent, its echo awaited
    DeuxPointsDonnees, // the ":" before the sample bytes
};

// Fields of TSYSAMV6 beyond TCentrale, in one aggregate so that a second construction on
// the same object starts from a fresh object's state.
struct TDonneesV6 {
    bool avecCapteurs = false;
    TCalibrageV6 CalibrageV6;
    bool calibrageLu = false; // a valid record was read since the object was made

    // Command cache: the last string sent, and whether the current one differs.
    std::string ccV_VoiesAAcq, ccP_TempsEch, ccN_NbPoints, ccE_Synchro, ccO_Pretrig, ccA_Voie;
    bool ccV_VoiesAAcqMod = true, ccP_TempsEchMod = true, ccN_NbPointsMod = true,
         ccE_SynchroMod = true, ccO_PretrigMod = true, ccA_VoieMod = true;
    // The strings the settings give now, sent by prepareInterfacePourAcq.
    std::string cmdV, cmdP, cmdN, cmdE, cmdO;

    char carDecl = ' ';
    bool V6TrouveeAuMoinsUneFois = false;
    int idxgrSynchro = 0;
    int GrPhysSynchroX = 0;
    float VSeuilDeclNom = 0.0f;
    int VNESeuilDecl = 2048;
    std::array<int, 4> capteurs0{-10000, -10000, -10000, -10000};
    int TailleFifo = 256;
    int nbVoiesActivesES = 0;
    int pretrigCache = 0;

    // One acquisition.
    int etapeAcq = 0;
    TPoigneeV6 poignee = TPoigneeV6::AttenteDeuxPoints;
    int64_t debutAttenteMs = 0; // when the awaited handshake byte began to be awaited
    int longueurRapport = 0;
    bool demarree = false;   // a start order was echoed and not stopped yet
    bool lienPerdu = false;  // the link failed while the unit was in use
    int64_t idxValfront = 0; // values written into RAMAcq
    int64_t idxValFinX = 0;  // values handed to the engine
    int64_t NBValTrame = 0;  // values the unit sends for one acquisition
    int64_t nbValLues = 0;   // values received from the unit
    int64_t finPretrig = 0;  // end of the pretrigger values in RAMAcq
    int octetReste = -1;     // low byte of a sample whose high byte has not come
    std::vector<uint16_t> RAMAcq;
    int tailleRAMAcq = 0;

    bool operator==(const TDonneesV6&) const = default;
};

class TSYSAMV6 final : public TCentrale, public TDonneesV6 {
public:
    // Per-byte time-outs (ms).
    static constexpr int delaiOctet = 1000;
    static constexpr int delaiEcho = 100;
    static constexpr int delaiPresence = 200;
    // Orders of one character.
    static constexpr uint8_t ESC = TCodecV6::ESC;

    // transport: the link to the unit (nullptr: the V6 is not installed). typeCentrale1:
    // CENTRALE_V6, or the simulated kind when the link reaches our simulator.
    TSYSAMV6(std::unique_ptr<TTransportOctets> transport, int logiUti1,
             int typeCentrale1 = CENTRALE_V6, THorlogeV6* horloge = nullptr);
    ~TSYSAMV6() override;

    // The whole construction on a link; run again it gives a fresh object's state.
    void initialiser(std::unique_ptr<TTransportOctets> transport, int logiUti1, int typeCentrale1);
    TTransportOctets* transport() const { return transport_.get(); }
    const TCodecV6& codec() const { return codec_; }

    void liberer(bool libererDLL) override;

    // --- Link primitives ---
    bool Open_V6();
    bool EcrireUnCaractere(uint8_t c);
    bool EcrireNOctets(const uint8_t* octets, std::size_t n);
    bool LireUnOctet(uint8_t& o);
    bool LireUnCaractereTimeOut(uint8_t& c, int delaiMs);
    bool AttendreUnCaractereTimeOut(uint8_t c, int delaiMs);
    // One framed command; ok tells a received reply (possibly empty) from a failure.
    std::string Send_V6(const std::string& texte, bool* ok = nullptr);
    // After ESC the unit may still be sending samples: wait until it is silent (bounded),
    // then drop what came.
    void attendreSilenceEtPurger();

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
    using TCentrale::SetNdt;
    void SetNdt(double dt1, double tSkipAcq1, int64_t& ndt1) override;
    void DetermineNBPt0XMAx(int nbVA2, int64_t& nbPts0XMax2) override;
    void setDureesGeneriques(double& dureeTotale1, double& dt1, int64_t& nbPts1, int64_t& nbPtsAff1,
                             int64_t& nbPts0XMax1, int64_t& ndt1, double tSkipAcq1) override;
    void setDurees(double dureeTotale1, int64_t nbPts1, bool applique) override;
    void setDurees(bool applique) override;
    bool memesParametresTemporels() override { return false; }
    void memoriseParametresTemporels() override {}

    // Trigger and pretrigger
    int setVoieSynchro(int voie1, bool applique) override;
    void setSensDeclSeuil(int sensDecl1, bool applique) override;
    void setSensDeclEchelon(int sensDecl1, bool applique) override {}
    void setPretrig(float tauxPretrig1, bool applique) override;
    void setPretrig(int idxPretrig1, bool applique) override;
    void getNbPtsPretrig() override {}
    void setModeDeclenchement(int modeDecl1, bool applique) override;
    void setSeuilDecl(float ValSeuilDecl1) override;
    void getDTPretrig() override {}

    // Run
    void declencheAcq() override;
    void arreteAcq() override;
    void MesureDirecte() override;
    void PrepareIdxTraitKirvane() override;

    // Presence and FIFO
    bool Presente() override;
    int LireFifo(TPtrFifoSP5 aPtrFifoSP5) override;
    int TailleTransfertFifo(int aTaille) override;
    void ViderFifo() override {}
    int presentePendantAcq() override;
    QString refusDemarrage() const override { return erreurDemarrage; }

    // Why the last start was refused (French, for the user); empty when it started.
    QString erreurDemarrage;

private:
    void preparerGeometrie();
    void appliquerReglagesDefaut();
    void calibrageNominal();
    void reconstruireListes();
    // Limit of the threshold on input v: 95 % of the range the user chose.
    double limiteSeuil(int v) const;
    // True when the link is open; otherwise the unit is absent.
    bool lienOuvert() const;
    // The start handshake from the bytes waiting; true when data may follow.
    bool avancerPoignee();
    // Reads waiting sample bytes into RAMAcq, at most maxValeurs values; -1 when the link
    // failed.
    int64_t lireValeurs(int64_t maxValeurs);
    // Realigns the pretrigger values on the last crossing of the threshold.
    void realignerPretrig();
    int remettre(TPtrFifoSP5 fifo, int64_t n);
    int perdu();

    std::unique_ptr<TTransportOctets> transport_;
    THorlogeV6* horloge_ = nullptr;
    TCodecV6 codec_;
    std::array<uint8_t, 1024> tampon_{}; // sample bytes of one read
};
