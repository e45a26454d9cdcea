#pragma once
// The CAMPUS unit's library, as the driver calls it and as our simulator exports it.
// Fixed-width types only: the maker's library is a Windows DLL, our simulator a Linux .so,
// and both must meet the same declarations. Texts returned by the library are zero-terminated
// UTF-16 owned by the library: the caller copies them at once (wchar_t is 32-bit on Linux).
// Inputs are numbered from 0. No error crosses this interface: every failure is a return.
#include <cstdint>

#if defined(_WIN32)
#define CAMPUS_APPEL __cdecl
#else
#define CAMPUS_APPEL
#endif

// Entry k holds k when input k is acquired, else -1 (entries 4 to 8 stay -1).
constexpr int CAMPUS_NB_ORDRE_VOIES = 9;
using TOrdreVoieCampus = int32_t[CAMPUS_NB_ORDRE_VOIES];

enum TSourceDeclenchement : int32_t {
    _SOURCE_AUCUNE = 0,
    _SOURCE_EXTERNE = 1,
    _SOURCE_EA1 = 2,
    _SOURCE_EA2 = 3,
    _SOURCE_EA3 = 4,
    _SOURCE_EA4 = 5,
    _SOURCE_CAPTEUR1 = 6,
    _SOURCE_CAPTEUR2 = 7,
    _SOURCE_CAPTEUR3 = 8,
    _SOURCE_CAPTEUR4 = 9,
};
enum TSensDeclenchement : int32_t { _SEUIL = 0, _MONTANT = 1, _DESCENDANT = 2 };
enum TEtatLED : int32_t { LED_ETEINT = 0, LED_BLEU = 1, LED_ROUGE = 2, LED_MAUVE = 3 };

// The analogue outputs stopped by ReseteSortie.
constexpr int32_t CAMPUS_SORTIE_1 = 16;
constexpr int32_t CAMPUS_SORTIE_2 = 17;

extern "C" {
// The function table, one pointer type per function, named as the library exports them.
using TDonneNumeroSerieCentrale = const char16_t*(CAMPUS_APPEL*)();
using TSelectionneCalibre = const char16_t*(CAMPUS_APPEL*)(int32_t voie, int32_t calibreVolts);
using TCommandeLed = int32_t(CAMPUS_APPEL*)(int32_t voie, int32_t etat);
using TConvertiDonneeEntreeNumeriqueEnAnalogique = double(CAMPUS_APPEL*)(int32_t code,
                                                                         int32_t voie);
using TCalibreTe = double(CAMPUS_APPEL*)(double te, const int32_t* ordreVoies);
// Programs the next acquisition. te and points may be adjusted by the unit; message receives a
// library-owned text (may be null) explaining a failure. Returns 0 on success.
using TPrepareAcquisition = int32_t(CAMPUS_APPEL*)(const int32_t* ordreVoies, double* te,
                                                   int32_t* points, int32_t source, int32_t sens,
                                                   double seuilVolts, int32_t pretrigPourcent,
                                                   uint8_t permanent, const char16_t** message);
// 0 when the acquisition has started; otherwise message says why.
using TDemarreAcquisition = int32_t(CAMPUS_APPEL*)(const char16_t** message);
// Copies up to nombre waiting samples into tampon and returns how many (0: none, -1: the unit
// is gone). Samples come time step by time step, one per programmed input in input order, a
// 12-bit code in the low 16 bits.
using TLitDonneeNumerique = int32_t(CAMPUS_APPEL*)(int32_t nombre, int32_t* tampon);
// "%" once the acquisition is stopped.
using TStoppeAcquisition = const char16_t*(CAMPUS_APPEL*)();
using TLitValeurVoie = int32_t(CAMPUS_APPEL*)(int32_t voie);
using TReseteSortie = const char16_t*(CAMPUS_APPEL*)(int32_t sortie);
using TFermeConnectionUSB = int32_t(CAMPUS_APPEL*)();
}
