#pragma once
// What the acquisition engine asks of the main window. The engine never draws and never
// touches a widget: it tells the window what to show through this interface. The main
// window implements it with its graph and its controls; the tests and the command-line
// tool implement it without widgets, so that every acquisition runs headless.
#include "etatsacquisition.h"
#include "seriesmesurees.h"

#include <QString>
#include <cstdint>

// Which loop produced a batch: a single acquisition or one frame of permanent mode.
enum class TGenreLecture { Simple, TrameRapide, TrameLente };

// One batch of points just stored, for the window to draw with the graph. Point j of a
// column lies at time (j - pt0Trame) × dt0X.
struct TLotAcquisition {
    TGenreLecture genre = TGenreLecture::Simple;
    int nbSignaux = 0;
    const int* voies = nullptr; // input of each signal (VoiesActivesSignaux)
    // Where the values of signal i were written: the store column of the running
    // acquisition, or the work column of a fast frame (drawn out of sight).
    const float* const* colonnes = nullptr;
    int64_t premier = 0;  // first index written by this batch (pt0Trame included)
    int64_t dernier = -1; // last index written; dernier < premier when none
    int64_t pt0Trame = 0;
    int trameX = 0;
    bool modeDoubleTrameX = false;
    int64_t ptFront = 0;     // index within the frame of the last point processed
    bool premierLot = false; // first non-empty transfer of the acquisition or frame
    bool seuil = false;      // threshold trigger: values shifted onto the trigger instant
    double dt0X = 0.0;
    // Slow double frames: the strip of the graph to restore from the background before
    // drawing, from time tBande0 to tBande1 (the window widens it: one pixel before the
    // first transfer, two pixels ahead of the sweep).
    bool effacerBande = false;
    double tBande0 = 0.0;
    double tBande1 = 0.0;
    // Slow frames erased at once: the whole background is restored before this batch.
    bool effacerTout = false;
    // The batch spans the trigger instant: draw the pretrigger mark.
    bool marquePretrig = false;
};

class TVueAcquisition {
public:
    virtual ~TVueAcquisition() = default;

    // The engine's MODEGENERAL became mode: enable the controls that fit it.
    virtual void modeGeneralChange(TModeGeneral mode) = 0;
    // Status text EditMessageX, repainted at once.
    virtual void afficherMessage(const QString& texte) = 0;
    // Caption of BAcquisition: "Arrêter" or "Démarrer l'acquisition".
    virtual void legendeBoutonAcquisition(const QString& texte) = 0;
    // Live value of an input (EditValU), in volts; texteValeurDirecte gives its text.
    virtual void valeurDirecte(int voie, double volts) = 0;
    virtual void effacerValeursDirectes() = 0;
    // "Mode permanent" shown on or off (trigger box captions, check box).
    virtual void afficherModePermanent(bool mp) = 0;

    // Start of an acquisition: zoom back to 1, zoom buttons and the controls of the
    // running acquisition disabled, time axis and grid prepared, drawing clipped to the
    // curve rectangle.
    virtual void debutAcquisition(bool permanente) = 0;
    // Time axis and grid prepared into the background for the next frame.
    virtual void preparerAxeTemps() = 0;
    virtual void setModeDessinVM() = 0;
    virtual void redessiner(bool avecCourbes) = 0;
    virtual void dessinerPretrig() = 0;
    virtual void dessinerLot(const TLotAcquisition& lot) = 0;
    // Fast frame: the background copied into the work bitmap before arming; at the end
    // the pretrigger mark drawn into it and the work bitmap copied onto the screen.
    virtual void debutTrameRapide() = 0;
    virtual void finTrameRapide() = 0;
    // Repaint of the graph image after a transfer.
    virtual void rafraichir() = 0;
    // Lets the window process its pending events (buttons, settings, timers).
    virtual void traiterMessages() = 0;

    // Long-wait window for a trigger that does not come; shown without a modal loop.
    virtual void afficherAttenteLongue() = 0;
    virtual void masquerAttenteLongue() = 0;

    // Message boxes: information, warning, plain.
    virtual void informer(const QString& texte) = 0;
    virtual void avertir(const QString& texte) = 0;
    virtual void messageSimple(const QString& texte) = 0;

    // Timers of the window: live values (TimerAcqDir) and presence poll (TimerPresenceSP5).
    virtual void timerAcqDirecte(bool marche) = 0;
    virtual void timerPresence(bool marche) = 0;

    // What a commit takes from the window (scales, colours, clock, locale).
    virtual TContexteValidation contexteValidation() = 0;
    // The window's part of a commit, once the store holds the new series: axes, curves,
    // cursors, table, controls of the idle state, live-value timer (restarted unless
    // blocked for a single acquisition).
    virtual void acquisitionValidee(bool permanente) = 0;
    // The acquisition loop has returned, whatever the outcome: the clipping of the graph is
    // removed and what waited for the end of the acquisition may run.
    virtual void acquisitionTerminee() = 0;
    // Quit requested during permanent mode (code 15), once the acquisition is committed.
    virtual void quitter() = 0;
};
