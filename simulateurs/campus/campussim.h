#pragma once
// Functions exported by the CAMPUS simulator library (file libcampussim.so, CAMPUSSIM.DLL on
// Windows). The first group has the names and contracts of the unit's own library (the
// declarations shared with the driver); the second group ("SimCampus_…") sets the simulated
// signals, shows the unit's state and injects faults, for tests.
// Environment variable read at load: KIRVANE_SIMULATEUR_CAMPUS (see the README).
#include "campus.h"

#include <cstdint>

#if defined(_WIN32)
#define CAMPUSSIM_EXPORT __declspec(dllexport)
#else
#define CAMPUSSIM_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
// --- The unit's library (inputs from 0; texts owned by the library, valid until the next
// call of the same function) ---
// "CAMPSIMUL" (or the serial set by SimCampus_SetNumeroSerie); "" when unplugged.
CAMPUSSIM_EXPORT const char16_t* CAMPUS_APPEL DonneNumeroSerieCentrale();
// Range 30, 15, 10 or 1 V; "" when done, else a French message.
CAMPUSSIM_EXPORT const char16_t* CAMPUS_APPEL SelectionneCalibre(int32_t voie,
                                                                 int32_t calibreVolts);
// 0 when done, -1 for a bad input or state, or an unplugged unit.
CAMPUSSIM_EXPORT int32_t CAMPUS_APPEL CommandeLed(int32_t voie, int32_t etat);
// Volts of a code on the input's present range, with the unit's own coefficients; 0 for a
// bad input or an unplugged unit.
CAMPUSSIM_EXPORT double CAMPUS_APPEL ConvertiDonneeEntreeNumeriqueEnAnalogique(int32_t code,
                                                                               int32_t voie);
// The smallest interval the unit makes at or above te: a whole number of 100 ns ticks.
CAMPUSSIM_EXPORT double CAMPUS_APPEL CalibreTe(double te, const int32_t* ordreVoies);
// Latches the next acquisition; te is rounded to the nearest tick and points limited to
// 4000, both written back. 0 when done; otherwise message says why.
CAMPUSSIM_EXPORT int32_t CAMPUS_APPEL PrepareAcquisition(const int32_t* ordreVoies, double* te,
                                                         int32_t* points, int32_t source,
                                                         int32_t sens, double seuilVolts,
                                                         int32_t pretrigPourcent, uint8_t permanent,
                                                         const char16_t** message);
// Starts the latched acquisition now; 0 when started.
CAMPUSSIM_EXPORT int32_t CAMPUS_APPEL DemarreAcquisition(const char16_t** message);
// Up to nombre waiting samples (code in the low half-word, input number + 1 in the high
// half-word); their count, 0 when none, -1 when the unit is gone.
CAMPUSSIM_EXPORT int32_t CAMPUS_APPEL LitDonneeNumerique(int32_t nombre, int32_t* tampon);
// "%" (also when nothing runs); a French message when the unit is unplugged.
CAMPUSSIM_EXPORT const char16_t* CAMPUS_APPEL StoppeAcquisition();
// One immediate code of the input; -1 for a bad input or an unplugged unit.
CAMPUSSIM_EXPORT int32_t CAMPUS_APPEL LitValeurVoie(int32_t voie);
// Stops output 16 or 17; "" when done, else a French message.
CAMPUSSIM_EXPORT const char16_t* CAMPUS_APPEL ReseteSortie(int32_t sortie);
// Ends a run and closes the link; the next call opens it again. 0.
CAMPUSSIM_EXPORT int32_t CAMPUS_APPEL FermeConnectionUSB();

// --- Simulation controls ---
// Signal shapes (as the SP5 simulator's).
enum : int32_t {
    SIMCAMPUS_CONSTANTE = 0, // offset only
    SIMCAMPUS_SINUS = 1,     // offset + amplitude sin(2π f t)
    SIMCAMPUS_CARRE = 2,     // offset ± amplitude, high during the first half period
    SIMCAMPUS_TRIANGLE = 3,  // offset ± amplitude
    SIMCAMPUS_DENT_SCIE = 4, // offset + amplitude × (fraction of the period)
    SIMCAMPUS_CHARGE = 5,    // offset + amplitude (1 − exp(−t'/τ)); parametre = τ in seconds
};
// Everything back to the defaults of the README (signals, noise, clock, faults, unit).
CAMPUSSIM_EXPORT void SimCampus_Reinitialiser();
CAMPUSSIM_EXPORT void SimCampus_SetSignal(int32_t entree, int32_t forme, double amplitude,
                                          double frequence, double offset, double parametre);
// Noise in converter steps (±pas, seeded); 0 turns it off.
CAMPUSSIM_EXPORT void SimCampus_SetBruit(int32_t pas);
// Simulated time runs this many times faster than the real clock (≥ 1e-3).
CAMPUSSIM_EXPORT void SimCampus_SetAcceleration(double facteur);
// Unplugs (1) or plugs back (0, a freshly powered unit) the unit.
CAMPUSSIM_EXPORT void SimCampus_SetDebranche(int32_t debranche);
// The unit is unplugged this many simulated seconds after the start of each run (negative:
// never).
CAMPUSSIM_EXPORT void SimCampus_SetDebrancheApres(double secondes);
// Another unit (another serial number, its own calibration) takes the place of this one;
// null or "" gives back the default unit.
CAMPUSSIM_EXPORT void SimCampus_SetNumeroSerie(const char* numeroSerie);
// Voltage of an input at simulated time t (seconds after the start), without noise.
CAMPUSSIM_EXPORT double SimCampus_Tension(int32_t entree, double t);
// The unit's state: range of an input in volts (0: bad input), LED (TEtatLED, -1: bad
// input), output 16 or 17 (1 emitting, 0 stopped, -1 unknown), FermeConnectionUSB calls.
CAMPUSSIM_EXPORT int32_t SimCampus_Calibre(int32_t entree);
CAMPUSSIM_EXPORT int32_t SimCampus_Led(int32_t entree);
CAMPUSSIM_EXPORT int32_t SimCampus_EtatSortie(int32_t sortie);
CAMPUSSIM_EXPORT void SimCampus_DemarreSortie(int32_t sortie);
CAMPUSSIM_EXPORT int32_t SimCampus_NbFermetures();
// The latched programme (any pointer may be null): 0 when none, else the count of
// successful PrepareAcquisition calls since power-on.
CAMPUSSIM_EXPORT int32_t SimCampus_Programme(int32_t* ordreVoies9, double* te, int32_t* points,
                                             int32_t* source, int32_t* sens, double* seuil,
                                             int32_t* pretrig);
// The step (0 at the start of the run, at k × te) of the first sample delivered; -1 before
// the trigger or without a run.
CAMPUSSIM_EXPORT int64_t SimCampus_DebutFenetre();
// --- Faults ---
// The threshold or external trigger never comes (1).
CAMPUSSIM_EXPORT void SimCampus_SetDeclenchementAbsent(int32_t absent);
// External edge this many simulated seconds after the start (negative: automatic).
CAMPUSSIM_EXPORT void SimCampus_SetFrontExterne(double t);
// Time steps between a threshold crossing and the moment the unit notices it (default 2).
CAMPUSSIM_EXPORT void SimCampus_SetLatence(int32_t pas);
// The unit's gain of one input (0..3) and range (volts) is off by this relative amount
// (0.4: 40 %, which a driver must refuse).
CAMPUSSIM_EXPORT void SimCampus_SetEcartCalibrage(int32_t entree, int32_t calibreVolts,
                                                  double ecart);
// CalibreTe answers: 0 right, 1 half the interval asked, 2 zero.
CAMPUSSIM_EXPORT void SimCampus_SetReponseCalibreTe(int32_t mode);
// PrepareAcquisition (resp. DemarreAcquisition) fails with a message (1).
CAMPUSSIM_EXPORT void SimCampus_SetEchecPreparation(int32_t echec);
CAMPUSSIM_EXPORT void SimCampus_SetEchecDemarrage(int32_t echec);
// Each read brings half of what waits, cutting time steps when it can (1).
CAMPUSSIM_EXPORT void SimCampus_SetPasPartiels(int32_t partiels);
// Samples held back and released all at once every this many simulated seconds (0: none).
CAMPUSSIM_EXPORT void SimCampus_SetRafales(double secondes);
// Applies a settings text with the grammar of the environment variable; returns the count
// of entries applied (bad entries are skipped). A null text does nothing.
CAMPUSSIM_EXPORT int32_t SimCampus_Configurer(const char* texte);
}
