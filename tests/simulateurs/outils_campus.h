#pragma once
// Test helpers for the CAMPUS simulator: program it as the driver does, read its samples with
// a bounded wait, decode its codes with the calibration its own conversion function gives.
#include "campussim.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace campustest {

inline std::u16string texte(const char16_t* t) {
    return t ? std::u16string(t) : std::u16string();
}

// What the driver sends before a run.
struct Programme {
    std::vector<int> voies = {0};
    double te = 1e-4;
    int32_t points = 1000;
    int32_t source = _SOURCE_AUCUNE;
    int32_t sens = _SEUIL;
    double seuil = 0;
    int32_t pretrig = 0;
    bool permanent = false;
};

inline void ordre(const Programme& p, int32_t* o) {
    for (int k = 0; k < CAMPUS_NB_ORDRE_VOIES; ++k)
        o[k] = -1;
    for (int v : p.voies)
        o[v] = v;
}

// Prepares and starts; fails the test when the unit refuses.
inline void lance(Programme p) {
    int32_t o[CAMPUS_NB_ORDRE_VOIES];
    ordre(p, o);
    const char16_t* message = nullptr;
    ASSERT_EQ(PrepareAcquisition(o, &p.te, &p.points, p.source, p.sens, p.seuil, p.pretrig,
                                 p.permanent, &message),
              0);
    ASSERT_EQ(DemarreAcquisition(&message), 0);
}

// Reads by blocks of at most parLecture until n samples have come, the unit reports itself
// gone, or the real-time limit passes; sleeps 1 ms after an empty read.
inline std::vector<int32_t> litEchantillons(size_t n, double limiteSecondes = 5,
                                            int32_t parLecture = 256) {
    std::vector<int32_t> lus;
    std::vector<int32_t> tampon(static_cast<size_t>(parLecture));
    const auto fin =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(limiteSecondes);
    while (lus.size() < n && std::chrono::steady_clock::now() < fin) {
        const auto demande = static_cast<int32_t>(std::min<size_t>(parLecture, n - lus.size()));
        const int32_t r = LitDonneeNumerique(demande, tampon.data());
        if (r < 0)
            break;
        EXPECT_LE(r, demande);
        lus.insert(lus.end(), tampon.begin(), tampon.begin() + r);
        if (r == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return lus;
}

// The calibration the driver measures: codes 500 and 3500 on the input's present range.
struct Etalonnage {
    double gain = 0, offset = 0;
    static Etalonnage de(int32_t voie) {
        const double ua = ConvertiDonneeEntreeNumeriqueEnAnalogique(500, voie);
        const double ub = ConvertiDonneeEntreeNumeriqueEnAnalogique(3500, voie);
        Etalonnage e;
        e.gain = (ub - ua) / 3000;
        e.offset = ua - 500 * e.gain;
        return e;
    }
    double volts(int32_t echantillon) const { return (echantillon & 0xFFFF) * gain + offset; }
};

// Every test starts from a fresh simulated unit with the default signals.
class SimulateurCampus : public ::testing::Test {
protected:
    void SetUp() override { SimCampus_Reinitialiser(); }
    void TearDown() override { SimCampus_Reinitialiser(); }
};

} // namespace campustest
