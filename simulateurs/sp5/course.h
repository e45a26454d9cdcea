#pragma once
// One acquisition run of the unit, from the rise of the run bit: the settings captured at
// that moment, the trigger search and the FIFO. Samples are never stored: the word of any
// time step is computed when it is read, from the signal, the step's time and the seeded
// noise of that step, so a run of any length costs no memory and the pretrigger samples
// are simply recomputed.
#include "conversion.h"

#include <cstdint>
#include <limits>

namespace sp5sim {

enum class ModeDeclenchement { Manuel, Seuil, Externe };

// The simulation's own settings that a run uses.
struct ParametresCourse {
    const simulateurs::Signal* signaux = nullptr; // 8 inputs
    const CoefficientsSP5* coefficients = nullptr;
    int32_t bruit = 0;
    int32_t perteMots = 0;
    bool declenchementAbsent = false;
    double frontExterne = -1; // seconds after arming; negative: automatic
};

class Course {
public:
    // Largest stretch of time steps examined for a threshold crossing per call: a search
    // over a long wait is spread over the reads and each read stays short.
    static constexpr int64_t rechercheMaxParAppel = 1 << 16;
    // Most words per read (the largest transfer size).
    static constexpr int32_t tailleBloc = 256;

    bool active() const { return active_; }
    bool declenchee() const { return declenchee_; }
    int nbSignaux() const { return nbSignaux_; }

    // Captures the programmed registers; t: simulated time of the rise of the run bit.
    void arme(const uint8_t* registres, const ParametresCourse& p, double t);
    // The run bit falls: no sample after t is produced.
    void arrete(double t);
    void abandonne() { active_ = false; }
    // Looks for the trigger up to time t; on finding it writes the read-back registers.
    bool avance(double t, uint8_t* registres);
    // Copies at most taille due words into tampon; returns their count.
    int32_t lit(uint16_t* tampon, int32_t taille, double t, uint8_t* registres);
    // Discards every word due at time t.
    void vide(double t, uint8_t* registres);

private:
    int64_t etapesExistantes(double t) const;
    int64_t motsDus(double t) const;
    uint64_t hasard(int64_t etape, int cle) const {
        return simulateurs::melange(graine_ ^ (static_cast<uint64_t>(etape) * 16 + cle));
    }
    uint16_t mot(const Conversion& c, int cle, int64_t etape) const {
        const uint64_t h = hasard(etape, cle);
        return motEchantillon(c.code(etape * periode_, simulateurs::pasDeBruit(h, bruit_)), h);
    }
    int32_t litMotParMot(uint16_t* tampon, int32_t taille, int64_t dus);
    int32_t litParBlocs(uint16_t* tampon, int32_t taille, int64_t dus);
    void chercheSeuil(double t, uint8_t* registres);
    void chercheFront(double t, uint8_t* registres);
    void declenche(int64_t debut, uint8_t* registres);

    bool active_ = false;
    bool declenchee_ = false;
    bool jamais_ = false; // the trigger can no longer come
    int nbSignaux_ = 0;
    Conversion conversions_[nbEntrees];
    double periode_ = 1e-7;
    int64_t ticksPeriode_ = 8; // in 12.5 ns steps
    int64_t nbPoints_ = 0;
    ModeDeclenchement mode_ = ModeDeclenchement::Manuel;
    bool montant_ = true;
    Conversion conversionTrig_;
    int cleTrig_ = 0;
    int32_t seuil_ = 0;
    int32_t hysteresis_ = 0;
    int64_t avantTrig_ = 0; // time steps delivered before the "pre" sample: pretrigger − 3
    double frontExterne_ = 0;
    double tDebut_ = 0;
    double tFin_ = std::numeric_limits<double>::infinity();
    uint64_t graine_ = 0;
    int32_t bruit_ = 0;
    int32_t perteMots_ = 0;
    bool declenchementAbsent_ = false;
    // Trigger search.
    int64_t etapeCherchee_ = 0;
    bool armeSeuil_ = false;
    uint16_t motPrecedent_ = 0;
    // Stream: absolute time step of its first sample, next word to produce.
    int64_t debut_ = 0;
    int64_t produits_ = 0;
    int64_t etape_ = 0; // stream time step of the next word
    int position_ = 0;  // its position within the time step
    int32_t avantPerte_ = 0;
};

} // namespace sp5sim
