#pragma once
// Test helpers: program the simulated unit as the driver does, read its FIFO, decode its
// words with the coefficients of its own calibration record.
#include "sp5sim.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace sp5test {

// What the driver writes before a run (range index per input: 0 ±10 V … 3 ±0.2 V).
struct Programme {
    uint8_t voies = 0x01;
    uint8_t modeDiff = 0;
    int calibres[8] = {};
    uint64_t motPeriode = 99; // (word + 1) × 100 ns
    uint32_t nbPoints = 1000;
    uint8_t declenchement = 0;
    uint16_t seuil = 0;
    uint32_t pretrig = 0;
    uint8_t hysteresis = 0;
};

inline void ecritOctets(uint8_t adr, int n, uint64_t v) {
    for (int k = 0; k < n; ++k)
        EcrireRegistre(static_cast<uint8_t>(adr + k), static_cast<uint8_t>(v >> (8 * k)));
}

inline uint64_t litOctets(uint8_t adr, int n) {
    uint64_t v = 0;
    for (int k = n - 1; k >= 0; --k)
        v = (v << 8) | LireRegistre(static_cast<uint8_t>(adr + k));
    return v;
}

inline void programme(const Programme& p) {
    constexpr uint32_t codeGain[4] = {0, 4, 5, 2};
    uint32_t motGain = 0;
    for (int i = 0; i < 8; ++i)
        motGain |= codeGain[p.calibres[i] & 3] << (3 * i);
    EcrireRegistre(0x00, p.voies);
    ecritOctets(0x01, 3, motGain);
    ecritOctets(0x04, 5, p.motPeriode);
    ecritOctets(0x09, 3, p.nbPoints);
    EcrireRegistre(0x0C, p.modeDiff);
    EcrireRegistre(0x1D, p.declenchement);
    ecritOctets(0x1E, 2, p.seuil);
    ecritOctets(0x20, 3, p.pretrig);
    EcrireRegistre(0x23, p.hysteresis);
}

inline void demarre() {
    EcrireRegistre(0x24, LireRegistre(0x24) | 0x01);
}
inline void arrete() {
    EcrireRegistre(0x24, LireRegistre(0x24) & ~0x01);
}

// Reads until n words have come or the real-time limit passes.
inline std::vector<uint16_t> litMots(size_t n, double limiteSecondes = 5) {
    std::vector<uint16_t> mots;
    uint16_t tampon[256];
    const auto fin =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(limiteSecondes);
    while (mots.size() < n && std::chrono::steady_clock::now() < fin) {
        const int32_t lus = LireFifo(tampon);
        EXPECT_GE(lus, 0);
        EXPECT_LE(lus, 256);
        mots.insert(mots.end(), tampon, tampon + lus);
    }
    return mots;
}

// The coefficients of the record that RecupereCalibration gives.
struct Coefficients {
    float ampli[16];
    float offset[32];
    float offsetDiff[16];

    static Coefficients lus() {
        uint8_t record[379];
        RecupereCalibration(record);
        Coefficients c;
        const auto singles = [&](int decalage, float* v, int n) {
            for (int k = 0; k < n; ++k) {
                uint32_t bits = 0;
                for (int b = 3; b >= 0; --b)
                    bits = (bits << 8) | record[decalage + 4 * k + b];
                std::memcpy(&v[k], &bits, 4);
            }
        };
        singles(14, c.ampli, 16);
        singles(78, c.offset, 32);
        singles(206, c.offsetDiff, 16);
        return c;
    }
    double gain(int entree, int calibre) const { return ampli[4 * (entree % 4) + calibre]; }
    double decalage(int entree, int calibre, bool diff) const {
        return diff ? offsetDiff[4 * entree + calibre] : offset[4 * entree + calibre];
    }
    double volts(int entree, int calibre, bool diff, int code) const {
        return code * gain(entree, calibre) + decalage(entree, calibre, diff);
    }
    // As the driver's ValUx: nearest code, clamped.
    int code(int entree, int calibre, bool diff, double u) const {
        const double x =
            std::nearbyint((u - decalage(entree, calibre, diff)) / gain(entree, calibre));
        return static_cast<int>(std::fmin(std::fmax(x, 0), 4095));
    }
};

// Every test starts from a fresh simulated unit with the default signals.
class SimulateurSP5 : public ::testing::Test {
protected:
    void SetUp() override {
        SimSP5_Reinitialiser();
        TailleTransfertFifo(256);
        ViderFifo();
        coef = Coefficients::lus();
    }
    void TearDown() override { SimSP5_Reinitialiser(); }

    Coefficients coef;
};

} // namespace sp5test
