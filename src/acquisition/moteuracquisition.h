#pragma once
// The acquisition engine: the start/stop controller, the single acquisition, the frames
// of permanent mode and their commit. Everything runs on the user-interface thread: the
// read loop lets the window process its events between reads, and the handlers that run
// then only set fields (stop, typeSortieMP, the pending MP settings) that the loop reads
// at its next turn.
#include "centrale.h"
#include "etatsacquisition.h"
#include "seriesmesurees.h"
#include "vueacquisition.h"

#include <QElapsedTimer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class TMoteurAcquisition : public TReglagesMP {
public:
    TMoteurAcquisition(TCentrale* centrale, TSeriesMesurees& series, TVueAcquisition& vue);

    // The active unit; the window changes it when another interface is chosen.
    TCentrale* SP5 = nullptr;

    // What the program is doing; the window reads it and mirrors it on its controls.
    TModeGeneral MODEGENERAL = MODE_VIERGE;
    // MODEGENERAL := a, then the window enables the controls that fit it. Every state
    // change, the window's own included, goes through here.
    void setModeGeneral(TModeGeneral a);
    // The controller's fields.
    bool modePermanent = false;
    int modeBalayage = 1;
    bool modeDoubleTrameX = false;
    int trameX = 0;
    bool optionEffaceTrame = false;
    static constexpr float LimDureeMDT = 10'000'000.0f;
    bool stop = false;
    TSortieMP typeSortieMP = SORTIE_AUCUNE;
    int typeSortieMP1 = 0;
    bool nouveauxParametres = false;
    int nbTramesAcq = 0;
    bool pretrigActif = true;
    bool DessinerLesCourbes = false;
    bool premiereAcq = true;
    int numFichierTR = -1;
    bool CBAjouterCourbes = false; // "Ajouter les courbes" checked
    int indexCBPretrig = 0;        // item index of CBPretrigX
    bool bloqueTimerAcqDirecte = false;
    // Read-loop state shown to the window.
    int64_t pt0Trame = 0;
    int64_t ptFront = 0;
    double dtAttenteX = 0.0; // seconds waited without data

    // Applies one settings change of permanent mode to the unit (the change routines of
    // the settings panel). Without it the engine applies the change to the unit itself.
    std::function<void(const TReglageEnAttente&)> appliquerReglage;

    // The start/stop button, by window state.
    void BAcquisitionClick();
    // One single acquisition or one whole permanent acquisition.
    void Acquisition();
    void setModepermanent(bool mp);
    // Click on "Mode permanent" (coche: the box's new state).
    void clicModePermanent(bool coche);
    // A setting changed while permanent mode runs: the MP fields hold the new value.
    // The change waits in a queue for the end of the frame, so that none is lost.
    void nouveauReglage(TSortieMP code);
    // The same, for a change the settings rules hand over with its values.
    void nouveauReglage(const TReglageEnAttente& r);
    // "Acquisition précédente" pressed during permanent mode (code 12).
    void acquisitionPrecedente() { nouveauReglage(MP_ACQ_PRECEDENTE); }
    // Quit button during permanent mode (code 15).
    void quitterPendantAcquisition();

    // Points per FIFO transfer: 0.1 s of signal, at most 256, at least one per signal
    // and at least the unit's minimum.
    static int calculerNbPtsFifo(double dt0X, int nbVoiesSignaux, int nbPtsFifoMin);
    // "  " + the value with 4 significant digits + "V": the text of a live value.
    static QString texteValeurDirecte(double volts);
    // Longest sleep between two reads, in milliseconds, whatever the unit asks.
    static constexpr int attenteMaxMs = 100;

    static const QString texteDebranchement;

    // Told at the commit of an acquisition that ended with SORTIE_DONNEES_MANQUANTES.
    static const QString texteDonneesManquantes;
    // Once the trigger came, a unit that sends nothing for longer than this (seconds)
    // plus ten transfer periods ends the acquisition with what was read. The wait for the
    // trigger itself is not bounded.
    double delaiSilenceMax = 2.0;
    // The silence bound of the acquisition being read, in milliseconds.
    int64_t limiteSilenceMs() const;

private:
    // The single acquisition and the two kinds of frames share one read loop.
    void acquisitionSimple();
    void acquisitionTrameRapide();
    void acquisitionTrameLente();
    void boucleLecture(TGenreLecture genre);
    void armer(TGenreLecture genre);
    void traiterTransfert(int a, TGenreLecture genre);
    void traiterValeursDirectes(TGenreLecture genre);
    void RetourFIFOZero();
    void verifierFinMesures();
    void dormir(int ms);

    void acquisitionPermanente();
    void traiterCodeSortie();
    void appliquerChangement(const TReglageEnAttente& ch, bool prepareStore);
    void appliquerReglageUnite(const TReglageEnAttente& r);
    void decisionAjout();
    void decisionDoubleTrame();
    void preparerStore();
    void preparerColonnes(TGenreLecture genre);

    void sortieNormaleMS();
    void SortieNormaleMP();
    void valider(bool permanente);
    void choisirDemiTrame();
    void erreurAcquisition(const QString& detail);

    TSeriesMesurees& series_;
    TVueAcquisition& vue_;

    std::vector<TReglageEnAttente> changements_;
    bool quitterDemande_ = false;

    // Buffers of the read loop, prepared before arming.
    TFifoSP5 fifo_{};
    std::array<uint16_t, 264> echantillons_{};
    std::array<float*, 8> colonnes_{};
    std::array<TVoieMesuree*, 8> descriptions_{};
    std::array<int, 8> idx_{};
    std::array<int, 8> voies_{};
    std::array<double, 8> uPrec_{};               // previous converted sample (threshold shift)
    std::vector<double> tableUx_;                 // Ux of every 12-bit code, per signal
    std::vector<std::vector<float>> trameRapide_; // work columns of a fast frame
    int nbS_ = 0;
    int64_t limiteIndex_ = 0; // columns hold indices below this
    int reste_ = 0;           // leftover words
    int64_t stockes_ = 0;     // complete time steps processed
    int64_t dernierEcrit_ = -1;
    int nbTransferts_ = 0;
    bool donneesVues_ = false;
    bool seuil_ = false;
    double rapportPretrig_ = 0.0;
    QElapsedTimer finMesures_;
    QElapsedTimer silence_;             // since the last transfer that brought words
    int64_t intervalleFinMesures_ = -1; // ms; -1 when not used
    bool messageFinMesures_ = false;
    std::array<bool, 2> demiComplete_{}; // double frames: the half holds a whole frame
    bool trameComplete_ = false;
};
