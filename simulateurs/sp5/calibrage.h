#pragma once
// The unit's calibration: coefficients per channel, input and range (deterministic, a little
// off nominal so that a driver that ignores them shows it) and the 379-byte record.
#include <cstdint>

namespace sp5sim {

constexpr int tailleCalibrage = 379;

struct CoefficientsSP5 {
    float ampli[16];      // volts per code, channel c and range r at 4c + r
    float offset[32];     // volts of code 0, single-ended input i and range r at 4i + r
    float offsetDiff[16]; // volts of code 0, differential channel c and range r at 4c + r
};

// Gains within 0.5 %..2 % of 2R/4096, offsets within 0.2 %..0.5 % of R from −R (at most
// 50 mV on ±10 V), signs varying.
const CoefficientsSP5& coefficientsSP5();

// Fills the record; gainNul writes 0 for every gain (a faulty record).
void ecritCalibrage(uint8_t* record, const CoefficientsSP5& c, bool gainNul);

} // namespace sp5sim
