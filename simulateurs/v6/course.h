#pragma once
// One acquisition run of the unit, from the start order: the programming captured at that
// moment, the trigger search and the stream of sample bytes. Samples are never stored: the
// code of any time step is computed when its byte is sent, from the signal, the step's time
// and the seeded noise of that step and input, so the pretrigger steps are simply computed
// again and a run costs no memory.
#include "bruit.h"
#include "calibrage.h"
#include "signal_simule.h"

#include <cstdint>

namespace v6sim {

enum class ModeDeclenchement { Manuel, Seuil, Externe };

// What the text commands have programmed.
struct Programmation {
    int entrees[5] = {0}; // acquired inputs, in the order they are sent
    int nbEntrees = 1;
    uint16_t valeurP = 0xF830; // 100 µs on the fast timebase
    uint16_t valeurN = 1010;   // time steps sent
    ModeDeclenchement mode = ModeDeclenchement::Manuel;
    bool montant = true;
    int32_t seuil = 0x800; // threshold code
    int entreeTrig = 0;
    uint16_t valeurO = 0; // time steps sent before the trigger step
};

// The simulation's own settings that a run uses.
struct ParametresCourse {
    const simulateurs::Signal* signaux = nullptr; // nbEntrees inputs
    const CoefficientsV6* coefficients = nullptr;
    int32_t bruit = 0;
    bool declenchementAbsent = false;
    double frontExterne = -1; // seconds after the start order; negative: automatic
    bool octetsPieges = false;
};

class Course {
public:
    // Most time steps examined for a threshold crossing per call: a search over a long
    // wait is spread over the calls and each call stays short.
    static constexpr int64_t rechercheMaxParAppel = 1 << 16;
    // The converter needs 10 µs per input.
    static constexpr double periodeEntreeMin = 10e-6;

    // rapide: the fast timebase ("F", P in 50 ns steps), else the slow one ("G", in ms).
    void demarre(const Programmation& p, bool rapide, const ParametresCourse& pc, double t0);
    // Looks for the trigger among the steps converted by time t; true once found.
    bool cherche(double t);
    bool declenchee() const { return declenchee_; }
    // Time of the trigger step (the first step of the stream that follows the trigger).
    double tempsDeclenchement() const { return tempsEtape(etapeDecl_); }
    double periode() const { return dt_; }
    int nbSignaux() const { return nb_; }
    int64_t etapesEnvoyees() const { return etapes_; }
    int64_t octetsFlux() const { return etapes_ * nb_ * 2; }
    // Stream byte j (samples of a step in input order, each low byte first): when it exists.
    double tempsOctet(int64_t j) const { return tempsEtape(premiere_ + j / (2 * nb_)); }
    // Its value; bytes are asked for in order (the high byte reuses its low byte's code).
    uint8_t octet(int64_t j);

    // The code of input e at step s (s may be before the start: the pretrigger memory).
    int32_t code(int e, int64_t s) const;

private:
    double tempsEtape(int64_t s) const { return t0_ + static_cast<double>(s) * dt_; }

    ParametresCourse pc_;
    Programmation p_;
    int nb_ = 1;
    double t0_ = 0;
    double dt_ = 1e-4;
    int64_t etapes_ = 0;
    int64_t avant_ = 0; // steps sent before the trigger step
    bool declenchee_ = false;
    int64_t etapeCherchee_ = 1;
    int64_t etapeDecl_ = 0;
    int64_t premiere_ = 0;
    double frontExterne_ = 0;
    int32_t codeCourant_ = 0;
};

} // namespace v6sim
