#pragma once
// A stand-in for the SP5 library, handed to TSP5::brancherFonctions: it records every
// register write and answers from a register file the test controls.
#include "sp5.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace sp5factice {

inline std::vector<std::pair<uint8_t, uint8_t>> ecritures;
inline std::array<uint8_t, 256> registres{};
inline std::array<uint8_t, TCalibrageSP5::taille> calibration{};
inline int nbReset = 0;
inline int nbLectures = 0;
inline bool present = true;
inline int32_t retourFifo = 0;

inline void KIRVANE_STDCALL Reset() {
    ++nbReset;
}
inline bool KIRVANE_STDCALL Present() {
    return present;
}
inline uint8_t KIRVANE_STDCALL LireRegistre(uint8_t adr) {
    return registres[adr];
}
inline void KIRVANE_STDCALL EcrireRegistre(uint8_t adr, uint8_t valeur) {
    ecritures.emplace_back(adr, valeur);
    registres[adr] = valeur;
}
inline void KIRVANE_STDCALL EcrireFifo(uint16_t*, int32_t) {}
inline void KIRVANE_STDCALL RecupereCalibration(uint8_t* c) {
    std::copy(calibration.begin(), calibration.end(), c);
}
inline int32_t KIRVANE_STDCALL LireFifo(uint16_t* tampon) {
    ++nbLectures;
    for (int k = 0; k < 256; ++k)
        tampon[k] = static_cast<uint16_t>(k << 4);
    return retourFifo;
}
inline void KIRVANE_STDCALL ViderFifo() {}
inline int32_t KIRVANE_STDCALL TailleTransfertFifo(int32_t taille) {
    return taille;
}

inline void remettre() {
    ecritures.clear();
    registres.fill(0);
    calibration.fill(0);
    nbReset = 0;
    nbLectures = 0;
    present = true;
    retourFifo = 0;
}

inline TFonctionsSP5 table() {
    TFonctionsSP5 f;
    f.SP5_Reset = &Reset;
    f.SP5_Present = &Present;
    f.SP5_LireRegistre = &LireRegistre;
    f.SP5_EcrireRegistre = &EcrireRegistre;
    f.SP5_EcrireFifo = &EcrireFifo;
    f.SP5_RecupereCalibration = &RecupereCalibration;
    f.SP5_LireFifo = &LireFifo;
    f.SP5_ViderFifo = &ViderFifo;
    f.SP5_TailleTransfertFifo = &TailleTransfertFifo;
    return f;
}

// A driver on the stand-in, with the given inputs active (every channel single-ended
// unless listed in diff) and nothing written yet.
inline void configurer(TSP5& c, std::initializer_list<int> entrees,
                       std::initializer_list<int> diff = {}) {
    for (int i = 0; i < 8; ++i)
        c.desactiveVoieA(static_cast<uint8_t>(i), false);
    for (int canal : diff)
        c.setModeDiff(canal, true, false);
    for (int i : entrees)
        c.activeVoieA(static_cast<uint8_t>(i), false);
}

} // namespace sp5factice
