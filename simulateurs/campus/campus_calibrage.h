#pragma once
// The CAMPUS unit's converters: four inputs, four ranges each, a 12-bit code per sample. Each
// unit has its own gains and offsets, a little off nominal and different from one unit (serial
// number) to another, so that a driver which keeps a previous unit's calibration shows it.
#include "bruit.h"

#include <cstdint>
#include <string_view>

namespace campussim {

constexpr int nbEntrees = 4;
constexpr int nbCalibres = 4;
constexpr int32_t codeMax = 4095;
// The ranges in volts, by index: ±30, ±15, ±10, ±1 V.
constexpr int32_t calibresVolts[nbCalibres] = {30, 15, 10, 1};

// The index of a range given in volts; -1 when the unit has no such range.
inline int indexCalibre(int32_t volts) {
    for (int j = 0; j < nbCalibres; ++j)
        if (calibresVolts[j] == volts)
            return j;
    return -1;
}

struct Coefficients {
    double gain[nbEntrees][nbCalibres];   // volts per code
    double offset[nbEntrees][nbCalibres]; // volts of code 0
};

// Gains within 0.5 %..2 % of 2R/4096, offsets within 0.2 %..0.5 % of R from −R, signs varying;
// the same serial number always gives the same coefficients.
Coefficients coefficientsUnite(std::string_view numeroSerie);

// Nearest code of u with a gain and an offset, plus bruit steps, clamped to 0..4095.
inline int32_t codeTension(double u, double inverseGain, double offset, int32_t bruit) {
    double x = (u - offset) * inverseGain;
    if (!(x > -1e6)) // also NaN
        x = -1e6;
    else if (x > 1e6)
        x = 1e6;
    // Nearest integer, ties to even, without a library call (|x| ≤ 1e6 here).
    constexpr double arrondi = 6755399441055744.0;
    const auto c = static_cast<int32_t>((x + arrondi) - arrondi) + bruit;
    return c < 0 ? 0 : (c > codeMax ? codeMax : c);
}

} // namespace campussim
