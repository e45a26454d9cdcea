#pragma once
// The unit's register map and the decoding of the values the driver writes there.
#include <cstdint>

namespace sp5sim {

constexpr int nbEntrees = 8;
constexpr int nbCanaux = 4;
constexpr int nbCalibres = 4;
constexpr int32_t codeMax = 4095;

enum Registre : uint8_t {
    regVoies = 0x00,    // bit i: input i yields a signal
    regGain = 0x01,     // 01..03: 3 bits per input at 8^i
    regPeriode = 0x04,  // 04..08: sampling period word, (word + 1) × 100 ns
    regNbPoints = 0x09, // 09..0B: time steps delivered per run
    regModeDiff = 0x0C, // bit c: channel c differential
    regDeclenchement = 0x1D,
    regSeuil = 0x1E,   // 1E, 1F
    regPretrig = 0x20, // 20..22, read back after the trigger
    regHysteresis = 0x23,
    regControle = 0x24,      // bit 0 run, bit 4 direct measurement
    regCapteurs = 0x41,      // 41..44, no sensor: 0
    regMesureDirecte = 0x53, // 53 + 2i low byte, 54 + 2i high byte of input i
    regMotPreTrig = 0x6B,    // 6B, 6C
    regMotPostTrig = 0x6D,   // 6D, 6E
    regTrigExterne = 0x6F,   // 6F..72: 12.5 ns steps from the edge to the next sample
};
constexpr uint8_t bitMarche = 0x01;
constexpr uint8_t bitMesureDirecte = 0x10;

// The little-endian value of n registers from adr.
inline uint64_t valeurRegistres(const uint8_t* registres, int adr, int n) {
    uint64_t v = 0;
    for (int k = n - 1; k >= 0; --k)
        v = (v << 8) | registres[adr + k];
    return v;
}

inline void ecritRegistres(uint8_t* registres, int adr, int n, uint64_t v) {
    for (int k = 0; k < n; ++k)
        registres[adr + k] = static_cast<uint8_t>(v >> (8 * k));
}

// Range index (0: ±10 V, 1: ±5 V, 2: ±1 V, 3: ±0.2 V) of input i in the gain word. The codes
// that name no range (1, 3, 6, 7) leave the widest one.
inline int calibreEntree(uint32_t motGain, int entree) {
    switch ((motGain >> (3 * entree)) & 7) {
    case 4:
        return 1;
    case 5:
        return 2;
    case 2:
        return 3;
    default:
        return 0;
    }
}

inline double pleineEchelle(int calibre) {
    constexpr double r[nbCalibres] = {10, 5, 1, 0.2};
    return r[calibre & 3];
}

// Order of the signals within one time step: inputs 0..3, each replaced by its partner
// c + 4 when only the partner is active on a single-ended channel, then the remaining
// partners. A bit of an input 4..7 on a differential channel is ignored (that input yields
// no signal). Returns the count.
inline int ordreSignaux(uint8_t voies, uint8_t modeDiff, int ordre[nbEntrees]) {
    bool restant[nbEntrees] = {};
    for (int i = 0; i < nbEntrees; ++i)
        restant[i] = (voies >> i) & 1;
    for (int c = 0; c < nbCanaux; ++c)
        if ((modeDiff >> c) & 1)
            restant[c + 4] = false;
    int n = 0;
    for (int c = 0; c < nbCanaux; ++c) {
        if (restant[c])
            ordre[n++] = c;
        else if (restant[c + 4]) {
            ordre[n++] = c + 4;
            restant[c + 4] = false;
        }
    }
    for (int c = 0; c < nbCanaux; ++c)
        if (restant[c + 4])
            ordre[n++] = c + 4;
    return n;
}

} // namespace sp5sim
