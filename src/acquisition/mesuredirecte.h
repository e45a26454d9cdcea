#pragma once
// Direct measurement: between acquisitions the channel panel shows the voltage on every
// active input, refreshed by the window's TimerAcqDir (300 ms) like a voltmeter.
#include "centrale.h"
#include "etatsacquisition.h"

#include <QString>
#include <array>
#include <optional>

// What one refresh asks of the window.
struct TValeursDirectes {
    bool lu = false; // the unit was read
    // The unit did not answer (or its library failed): the fields of every signal are
    // emptied and the presence poll (TimerPresenceSP5) is to be started. Start it only
    // when it is not running: restarted every 300 ms, a 1000 ms timer would never fire.
    bool centraleAbsente = false;
    // New text of EditValU[i]; no value: the field is left as it is.
    std::array<std::optional<QString>, 8> EditValU;
};

class TMesureDirecte {
public:
    // Interval of TimerAcqDir, in milliseconds.
    static constexpr int intervalle = 300;

    // While true a refresh does nothing (quitting, switching the unit).
    bool bloqueTimerAcqDirecte = false;

    // One refresh. modeGeneral: the window state; nothing is read while an acquisition
    // runs, so that no immediate measurement interleaves with FIFO reads.
    // Never throws: a library error counts as an absent unit.
    TValeursDirectes rafraichir(TCentrale* centrale, TModeGeneral modeGeneral) const;

    // The field text of a voltage: "  " + engineering format with 4 digits + "V",
    // «  1,234 mV», «  12,50 V», «  0,00 V».
    static QString texteValeur(double volts);
};
