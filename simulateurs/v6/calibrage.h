#pragma once
// The unit's converter coefficients and its 128-byte calibration record: gains and offsets
// slightly off nominal, different for each input, that the driver must apply.
#include <cmath>
#include <cstdint>

namespace v6sim {

constexpr int nbEntrees = 3;
constexpr int32_t codeMax = 4095;
constexpr int tailleCalibrage = 128;
constexpr char numeroSerie[] = "V6SIMUL";

struct CoefficientsV6 {
    double gain[nbEntrees];   // volts per code
    double offset[nbEntrees]; // volts at code 0
};

// The coefficients the simulated unit converts with (fixed for every run and process).
const CoefficientsV6& coefficientsV6();
// Writes the record (offsets little-endian): gains, offsets, output gain and offset,
// serial number and calibration date.
void ecritCalibrage(uint8_t* record, const CoefficientsV6& c);

} // namespace v6sim

namespace v6sim {

// The code the converter gives for the voltage u on input e, plus bruit steps, within
// 0..codeMax.
inline int32_t codeTension(double u, int e, const CoefficientsV6& c, int32_t bruit) {
    double x = (u - c.offset[e]) / c.gain[e];
    if (!(x > -1e6)) // also NaN
        x = -1e6;
    else if (x > 1e6)
        x = 1e6;
    const double code = std::nearbyint(x) + bruit;
    return static_cast<int32_t>(code < 0 ? 0 : (code > codeMax ? codeMax : code));
}

} // namespace v6sim
