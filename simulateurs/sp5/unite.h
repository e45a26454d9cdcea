#pragma once
// The simulated SP5: its registers, its runs, its direct measurement, its calibration
// record, and the simulation's own settings (signals, noise, clock, faults).
#include "calibrage.h"
#include "course.h"
#include "horloge.h"
#include "signal_simule.h"

#include <cstdint>
#include <string_view>

namespace sp5sim {

constexpr int32_t tailleTransfertMax = 256;

struct ReglagesSimulation {
    simulateurs::ParametresSignal signaux[nbEntrees];
    int32_t bruit = 1;
    double acceleration = 1;
    bool debranche = false;
    bool declenchementAbsent = false;
    int32_t perteMots = 0;
    bool gainNul = false;
    double frontExterne = -1;
};

// The defaults that the README lists.
ReglagesSimulation reglagesParDefaut();

class UniteSP5 {
public:
    static constexpr int32_t bruitMax = codeMax;

    UniteSP5() { reinitialiser(); }

    // --- The unit's library ---
    void reset();
    bool present() const { return !reglages_.debranche; }
    uint8_t lireRegistre(uint8_t adr);
    void ecrireRegistre(uint8_t adr, uint8_t valeur);
    void recupereCalibration(uint8_t* record) const;
    int32_t lireFifo(uint16_t* tampon);
    void viderFifo();
    int32_t tailleTransfertFifo(int32_t taille);

    // --- Simulation settings; a bad value is ignored, never an error ---
    // Defaults everywhere, a freshly powered unit, simulated time back to 0.
    void reinitialiser();
    // A new signal takes effect at the next run or direct measurement.
    void setSignal(int entree, const simulateurs::ParametresSignal& p);
    void setBruit(int32_t pas);
    void setAcceleration(double facteur);
    // Plugging back gives a freshly powered unit (registers 0, no run).
    void setDebranche(bool debranche);
    void setDeclenchementAbsent(bool absent) { reglages_.declenchementAbsent = absent; }
    void setPerteMots(int32_t n) { reglages_.perteMots = n > 0 ? n : 0; }
    void setGainNul(bool nul) { reglages_.gainNul = nul; }
    // Seconds after arming; negative: automatic; NaN ignored.
    void setFrontExterne(double t);
    double tension(int entree, double t) const;
    // Applies the settings text (grammar in the README); returns the count of entries used.
    int32_t configure(std::string_view texte);

private:
    void miseSousTension();
    void mesureDirecte();
    ParametresCourse parametresCourse() const;

    ReglagesSimulation reglages_;
    simulateurs::Signal signaux_[nbEntrees];
    simulateurs::HorlogeSimulee horloge_;
    uint8_t registres_[256] = {};
    Course course_;
    int32_t tailleTransfert_ = tailleTransfertMax;
    uint64_t mesures_ = 0; // direct measurements so far: each draws fresh noise
};

} // namespace sp5sim
