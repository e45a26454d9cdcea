#include "calibrage.h"

#include "bruit.h"

#include <cstring>

namespace v6sim {

namespace {

constexpr double gainNominal = 50.0 / 4096;
constexpr double offsetNominal = -25;
constexpr char dateCalibration[] = "02/09/2024";

// A deviation with a deterministic sign and size between min and max.
double ecart(uint64_t cle, double min, double max) {
    const uint64_t h = simulateurs::melange(cle);
    const double u = static_cast<double>(h >> 11) * 0x1.0p-53;
    const double v = min + (max - min) * u;
    return (h & 1) ? v : -v;
}

CoefficientsV6 calcule() {
    CoefficientsV6 c{};
    for (int e = 0; e < nbEntrees; ++e) {
        // Stored as singles in the record: the unit converts with the very same values.
        c.gain[e] = static_cast<float>(gainNominal * (1 + ecart(0x5600 + e, 0.005, 0.02)));
        c.offset[e] = static_cast<float>(offsetNominal + 25 * ecart(0x5610 + e, 0.002, 0.005));
    }
    return c;
}

void ecritSingle(uint8_t* p, double v) {
    const float f = static_cast<float>(v);
    uint32_t bits = 0;
    std::memcpy(&bits, &f, 4);
    for (int k = 0; k < 4; ++k)
        p[k] = static_cast<uint8_t>(bits >> (8 * k));
}

} // namespace

const CoefficientsV6& coefficientsV6() {
    static const CoefficientsV6 c = calcule();
    return c;
}

void ecritCalibrage(uint8_t* record, const CoefficientsV6& c) {
    std::memset(record, 0, tailleCalibrage);
    for (int e = 0; e < nbEntrees; ++e) {
        ecritSingle(record + 4 * e, c.gain[e]);
        ecritSingle(record + 16 + 4 * e, c.offset[e]);
    }
    // The fourth slot belongs to no input of this unit: nominal values.
    ecritSingle(record + 12, gainNominal);
    ecritSingle(record + 28, offsetNominal);
    ecritSingle(record + 32, 20.0 / 4096); // output
    ecritSingle(record + 36, -10);
    record[40] = 0x00; // output zero setting 0x0800
    record[41] = 0x08;
    record[46] = 1; // ST_OK
    std::memcpy(record + 64, numeroSerie, sizeof numeroSerie - 1);
    std::memcpy(record + 80, dateCalibration, sizeof dateCalibration - 1);
}

} // namespace v6sim
