#pragma once
// Functions exported by the V6 simulator library (file libv6sim.so, V6SIM.DLL on Windows).
// The first group has the names and the binary interface of the FTDI D2XX functions that
// the V6 link uses (contrats/d2xx.h), with the unit's firmware behind the simulated bridge;
// the second group ("SimV6_…") sets the simulated signals and injects faults, for tests.
// Environment variable read at load: KIRVANE_SIMULATEUR_V6 (see the README).
#include "d2xx.h"

#include <cstdint>

#if defined(_WIN32)
#define V6SIM_EXPORT __declspec(dllexport)
#else
#define V6SIM_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
// --- The D2XX functions ---
// Opens only the device described "Sysam-V6", with FT_OPEN_BY_DESCRIPTION.
V6SIM_EXPORT d2xx::FT_STATUS D2XX_APPEL FT_OpenEx(void* arg, d2xx::DWORD flags,
                                                  d2xx::FT_HANDLE* handle);
V6SIM_EXPORT d2xx::FT_STATUS D2XX_APPEL FT_Close(d2xx::FT_HANDLE handle);
// Waits for the bytes asked for at most the read time-out, then gives what has come.
V6SIM_EXPORT d2xx::FT_STATUS D2XX_APPEL FT_Read(d2xx::FT_HANDLE handle, void* tampon,
                                                d2xx::DWORD aLire, d2xx::DWORD* lus);
V6SIM_EXPORT d2xx::FT_STATUS D2XX_APPEL FT_Write(d2xx::FT_HANDLE handle, void* tampon,
                                                 d2xx::DWORD aEcrire, d2xx::DWORD* ecrits);
V6SIM_EXPORT d2xx::FT_STATUS D2XX_APPEL FT_SetBaudRate(d2xx::FT_HANDLE handle, d2xx::ULONG baud);
V6SIM_EXPORT d2xx::FT_STATUS D2XX_APPEL FT_SetDataCharacteristics(d2xx::FT_HANDLE handle,
                                                                  d2xx::UCHAR bits,
                                                                  d2xx::UCHAR stop,
                                                                  d2xx::UCHAR parite);
V6SIM_EXPORT d2xx::FT_STATUS D2XX_APPEL FT_SetFlowControl(d2xx::FT_HANDLE handle, d2xx::USHORT flux,
                                                          d2xx::UCHAR xon, d2xx::UCHAR xoff);
V6SIM_EXPORT d2xx::FT_STATUS D2XX_APPEL FT_SetRts(d2xx::FT_HANDLE handle);
V6SIM_EXPORT d2xx::FT_STATUS D2XX_APPEL FT_SetChars(d2xx::FT_HANDLE handle, d2xx::UCHAR evenement,
                                                    d2xx::UCHAR evenementActif, d2xx::UCHAR erreur,
                                                    d2xx::UCHAR erreurActif);
V6SIM_EXPORT d2xx::FT_STATUS D2XX_APPEL FT_Purge(d2xx::FT_HANDLE handle, d2xx::ULONG masque);
V6SIM_EXPORT d2xx::FT_STATUS D2XX_APPEL FT_SetTimeouts(d2xx::FT_HANDLE handle, d2xx::ULONG lecture,
                                                       d2xx::ULONG ecriture);
V6SIM_EXPORT d2xx::FT_STATUS D2XX_APPEL FT_GetQueueStatus(d2xx::FT_HANDLE handle,
                                                          d2xx::DWORD* enAttente);

// --- Simulation controls ---
// Signal shapes (as the SP5 simulator's).
enum : int32_t {
    SIMV6_CONSTANTE = 0, // offset only
    SIMV6_SINUS = 1,     // offset + amplitude sin(2π f t)
    SIMV6_CARRE = 2,     // offset ± amplitude, high during the first half period
    SIMV6_TRIANGLE = 3,  // offset ± amplitude
    SIMV6_DENT_SCIE = 4, // offset + amplitude × (fraction of the period): 0 → amplitude
    SIMV6_CHARGE = 5,    // offset + amplitude (1 − exp(−t'/τ)), t' restarting every period;
                         // parametre = τ in seconds
};
// Faults of a framed reply.
enum : int32_t {
    SIMV6_REPONSE_NORMALE = 0,
    SIMV6_SANS_DEUX_POINTS = 1, // no ':' before the text
    SIMV6_SANS_AROBASE = 2,     // no '@' after the text (LF and CR still follow)
    SIMV6_SANS_LF = 3,          // '@' then CR alone
    SIMV6_SANS_CR = 4,          // '@' then LF alone
    SIMV6_REPONSE_VIDE = 5,     // ':' '@' LF CR: an empty text
};

// Everything back to the defaults of the README (signals, noise, clock, faults, a freshly
// powered unit, the device closed, the journal empty).
V6SIM_EXPORT void SimV6_Reinitialiser();
// Input 0..2 (EA1..EA3).
V6SIM_EXPORT void SimV6_SetSignal(int32_t entree, int32_t forme, double amplitude, double frequence,
                                  double offset, double parametre);
// Noise in converter steps (±pas, seeded); 0 turns it off.
V6SIM_EXPORT void SimV6_SetBruit(int32_t pas);
// Simulated time runs this many times faster than the real clock (the link too).
V6SIM_EXPORT void SimV6_SetAcceleration(double facteur);
// Unplugs (1) or plugs back (0) the unit: the open handle answers FT_IO_ERROR until it is
// closed, the device cannot be opened; plugged back, it is a freshly powered unit.
V6SIM_EXPORT void SimV6_SetDebranche(int32_t debranche);
// The threshold or external trigger never comes (1).
V6SIM_EXPORT void SimV6_SetDeclenchementAbsent(int32_t absent);
// External trigger edge this many simulated seconds after the start order; negative:
// 10 ms after it, or as soon as the pretrigger steps exist.
V6SIM_EXPORT void SimV6_SetFrontExterne(double t);
// One sample byte in n is lost on the way (the n-th, 2n-th … counted from this call;
// 0: none).
V6SIM_EXPORT void SimV6_SetPerteOctets(int32_t n);
// The echo of one received byte in n is lost (counted from this call; 0: none).
V6SIM_EXPORT void SimV6_SetEchoPerdu(int32_t n);
// Each echo leaves this many simulated seconds after its byte came (0: at once).
V6SIM_EXPORT void SimV6_SetRetardEcho(double secondes);
// One framed reply in n (counted from this call) has the fault given (SIMV6_…; n 1: every
// reply; n 0 or SIMV6_REPONSE_NORMALE: none).
V6SIM_EXPORT void SimV6_SetDefautReponse(int32_t defaut, int32_t n);
// The calibration record stops after this many of its 128 bytes, then the unit is
// silent; negative: the whole record.
V6SIM_EXPORT void SimV6_SetCalibrageInterrompu(int32_t octets);
// Every sample carries a code whose low byte is ESC, ':' or '@' in turn (1).
V6SIM_EXPORT void SimV6_SetOctetsPieges(int32_t pieges);
// Voltage of an input at simulated time t (seconds after the start order), without noise:
// what the tests compare decoded samples with.
V6SIM_EXPORT double SimV6_Tension(int32_t entree, double t);
// The gain (volts per code) and offset (volts at code 0) the unit converts input 0..2 with,
// the same as its calibration record gives.
V6SIM_EXPORT void SimV6_Coefficients(int32_t entree, double* gain, double* offset);
// The journal of the D2XX calls that open, set, purge and close the device, e.g.
// "FT_OpenEx(Sysam-V6,2);FT_SetBaudRate(1250000);…;FT_Close;" (reads, writes and queue
// queries are left out). Copies at most taille − 1 characters and a final 0 into texte;
// returns the journal's whole length.
V6SIM_EXPORT int32_t SimV6_Journal(char* texte, int32_t taille);
V6SIM_EXPORT void SimV6_ViderJournal();
// Bytes the unit has received since the last reinitialisation.
V6SIM_EXPORT int64_t SimV6_OctetsRecus();
// Applies a settings text with the grammar of the environment variable (see the README);
// returns the count of entries applied (bad entries are skipped). A null text does nothing.
V6SIM_EXPORT int32_t SimV6_Configurer(const char* texte);
}
