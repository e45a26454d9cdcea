#pragma once
// Functions exported by the SP5 simulator library (file libsp5sim.so, SP5SIM.DLL on
// Windows). The first group has the names and contracts of the unit's own library; the
// second group ("SimSP5_…") sets the simulated signals and injects faults, for tests.
// Environment variable read at load: KIRVANE_SIMULATEUR_SP5 (see the README).
#include <cstdint>

#if defined(_WIN32)
#define SP5SIM_EXPORT __declspec(dllexport)
#else
#define SP5SIM_EXPORT __attribute__((visibility("default")))
#endif
#if defined(_WIN32) && !defined(_WIN64)
#define SP5SIM_APPEL __stdcall
#else
#define SP5SIM_APPEL
#endif

extern "C" {
// --- The unit's library ---
SP5SIM_EXPORT void SP5SIM_APPEL Reset();
SP5SIM_EXPORT bool SP5SIM_APPEL Present();
SP5SIM_EXPORT uint8_t SP5SIM_APPEL LireRegistre(uint8_t adr);
SP5SIM_EXPORT void SP5SIM_APPEL EcrireRegistre(uint8_t adr, uint8_t valeur);
SP5SIM_EXPORT void SP5SIM_APPEL EcrireFifo(uint16_t* tampon, int32_t taille);
// Fills the 379-byte calibration record.
SP5SIM_EXPORT void SP5SIM_APPEL RecupereCalibration(uint8_t* calibration);
// Copies the waiting sample words, at most the transfer size, into tampon (256 words);
// returns their count, 0 when none.
SP5SIM_EXPORT int32_t SP5SIM_APPEL LireFifo(uint16_t* tampon);
SP5SIM_EXPORT void SP5SIM_APPEL ViderFifo();
SP5SIM_EXPORT int32_t SP5SIM_APPEL TailleTransfertFifo(int32_t taille);
SP5SIM_EXPORT void SP5SIM_APPEL AfficheInfos();

// --- Simulation controls ---
// Signal shapes.
enum : int32_t {
    SIMSP5_CONSTANTE = 0, // offset only
    SIMSP5_SINUS = 1,     // offset + amplitude sin(2π f t)
    SIMSP5_CARRE = 2,     // offset ± amplitude, high during the first half period
    SIMSP5_TRIANGLE = 3,  // offset ± amplitude
    SIMSP5_DENT_SCIE = 4, // offset + amplitude × (fraction of the period): 0 → amplitude
    SIMSP5_CHARGE = 5,    // offset + amplitude (1 − exp(−t'/τ)), t' restarting every period;
                          // parametre = τ in seconds
};
// Everything back to the defaults of the README (signals, noise, clock, faults).
SP5SIM_EXPORT void SimSP5_Reinitialiser();
SP5SIM_EXPORT void SimSP5_SetSignal(int32_t entree, int32_t forme, double amplitude,
                                    double frequence, double offset, double parametre);
// Noise in converter steps (±pas, seeded); 0 turns it off.
SP5SIM_EXPORT void SimSP5_SetBruit(int32_t pas);
// Simulated time runs this many times faster than the real clock (≥ 1e-3).
SP5SIM_EXPORT void SimSP5_SetAcceleration(double facteur);
// Unplugs (1) or plugs back (0) the unit: Present false, FIFO silent, registers 0xFF.
SP5SIM_EXPORT void SimSP5_SetDebranche(int32_t debranche);
// The threshold or external trigger never comes (1).
SP5SIM_EXPORT void SimSP5_SetDeclenchementAbsent(int32_t absent);
// Drops one FIFO word in every n delivered (0: none).
SP5SIM_EXPORT void SimSP5_SetPerteMots(int32_t n);
// The calibration record gives a zero gain for every channel and range (1).
SP5SIM_EXPORT void SimSP5_SetGainNul(int32_t nul);
// External trigger edge at this simulated time (seconds after the start of the run),
// the edge direction given by the trigger byte.
SP5SIM_EXPORT void SimSP5_SetFrontExterne(double t);
// Voltage of an input at simulated time t (seconds), without noise: what the tests
// compare decoded samples with.
SP5SIM_EXPORT double SimSP5_Tension(int32_t entree, double t);
}

extern "C" {
// Applies a settings text with the grammar of the environment variable (see the README);
// returns the count of entries applied (bad entries are skipped). A null text does nothing.
SP5SIM_EXPORT int32_t SimSP5_Configurer(const char* texte);
}
