#pragma once
// One acquisition run of the simulated CAMPUS, from DemarreAcquisition: the programme latched
// by PrepareAcquisition, the ranges and signals of that moment, the trigger search and the
// samples. Samples are never stored: the code of any time step is computed when it is read,
// from the signal, the step's time and the seeded noise of that step, so the pretrigger
// samples are simply computed again once the trigger is known.
#include "campus_calibrage.h"
#include "signal_simule.h"

#include <cstdint>

namespace campussim {

// The unit counts time in ticks of its 10 MHz clock: every sampling interval is a whole
// number of 100 ns ticks, from 1 tick up to 1000 s.
constexpr double tick = 1e-7;
constexpr int64_t ticksMax = 10'000'000'000;
// Points per input that the unit's memory holds for one acquisition.
constexpr int32_t pointsMax = 4000;

// An interval in ticks as seconds, the nearest double to the decimal value (1000 ticks give
// exactly the double 1e-4, as a driver writes it).
inline double secondes(int64_t ticks) {
    return static_cast<double>(ticks) / 1e7;
}

// What PrepareAcquisition latched.
struct Image {
    int nbVoies = 0;
    int voies[nbEntrees] = {}; // the programmed inputs, in input order
    int64_t ticks = 1000;      // sampling interval in ticks
    int32_t points = 1000;     // time steps of the acquisition
    int32_t source = 0;        // TSourceDeclenchement
    int32_t sens = 0;          // TSensDeclenchement
    double seuil = 0;          // volts
    int32_t pretrig = 0;       // percent of the points before the trigger
    bool permanent = false;    // the unit acquires until it is stopped
};

// The simulation's own settings that a run uses.
struct ParametresCourse {
    const simulateurs::Signal* signaux = nullptr; // the four inputs
    const Coefficients* coefficients = nullptr;
    const int* calibres = nullptr; // range index of each input
    int32_t bruit = 0;
    bool declenchementAbsent = false;
    double frontExterne = -1; // seconds after the start; negative: automatic
    int32_t latence = 0;      // time steps between a threshold crossing and its notice
    bool pasPartiels = false; // reads cut time steps in two
    double rafales = 0;       // seconds between two deliveries; 0: continuous
};

class Course {
public:
    // Most time steps examined for a threshold crossing per read: a search over a long wait
    // is spread over the reads and each read stays short.
    static constexpr int64_t rechercheMaxParAppel = 1 << 16;

    // Starts at simulated time t.
    void demarre(const Image& image, const ParametresCourse& p, double t);
    void abandonne() { active_ = false; }
    bool active() const { return active_; }
    bool declenchee() const { return active_ && declenchee_; }
    double debut() const { return tDebut_; }
    // The absolute time step (0 at the start) of the first sample delivered.
    int64_t debutFenetre() const { return fenetre_; }
    // Copies up to nombre due samples into tampon (each the code of its input in the low
    // half-word, the input's number + 1 in the high half-word); returns how many.
    int32_t lit(int32_t nombre, int32_t* tampon, double t);

private:
    struct Voie {
        simulateurs::Signal signal;
        double inverseGain = 0;
        double offset = 0;
        int entree = 0;
    };

    Voie voieDe(int entree, const ParametresCourse& p) const;
    double ecoule(double t) const;
    int64_t etapesExistantes(double ecoule) const;
    uint64_t hasard(int64_t etape, int cle) const {
        return simulateurs::melange(graine_ ^ (static_cast<uint64_t>(etape) * 16 + cle));
    }
    int32_t code(const Voie& v, int cle, int64_t etape) const {
        const uint64_t h = hasard(etape, cle);
        return codeTension(v.signal(static_cast<double>(etape) * periode_), v.inverseGain, v.offset,
                           simulateurs::pasDeBruit(h, bruit_));
    }
    bool cote(int32_t c) const { return c >= seuilCode_; }
    // e: simulated seconds since the start that count (ecoule()).
    void cherche(double e);
    void chercheSeuil(double e);
    void chercheFront(double e);

    bool active_ = false;
    bool declenchee_ = false;
    bool jamais_ = false; // the trigger can no longer come
    int nbVoies_ = 0;
    Voie voies_[nbEntrees];
    double periode_ = 1e-4;
    int64_t ticksPeriode_ = 1000;
    int64_t nbPoints_ = 0;
    int64_t pretrig_ = 0; // time steps before the trigger
    double tDebut_ = 0;
    uint64_t graine_ = 0;
    int32_t bruit_ = 0;
    bool pasPartiels_ = false;
    double rafales_ = 0;
    bool declenchementAbsent_ = false;
    // Trigger.
    enum class Mode { Manuel, Seuil, Externe } mode_ = Mode::Manuel;
    int32_t sens_ = 0;
    Voie voieTrig_;
    int cleTrig_ = 0;
    double seuilCode_ = 0;
    int64_t latence_ = 0;
    double frontExterne_ = 0;
    int64_t etapeCherchee_ = 0;
    bool cotePrecedent_ = false;
    // Window: first absolute step delivered, last step that must exist before delivery.
    int64_t fenetre_ = 0;
    int64_t visible_ = 0;
    // Delivery: samples delivered, time step (in the window) and position of the next one.
    int64_t produits_ = 0;
    int64_t etape_ = 0;
    int position_ = 0;
};

} // namespace campussim
