#include "campus_calibrage.h"

namespace campussim {

namespace {

// A deviation with a deterministic sign and size between min and max.
double ecart(uint64_t cle, double min, double max) {
    const uint64_t h = simulateurs::melange(cle);
    const double u = static_cast<double>(h >> 11) * 0x1.0p-53;
    const double v = min + (max - min) * u;
    return (h & 1) ? v : -v;
}

// FNV-1a: a serial number becomes the seed of its unit's coefficients.
uint64_t graineSerie(std::string_view serie) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (char c : serie) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001B3ull;
    }
    return h;
}

} // namespace

Coefficients coefficientsUnite(std::string_view numeroSerie) {
    const uint64_t graine = graineSerie(numeroSerie);
    Coefficients c{};
    for (int i = 0; i < nbEntrees; ++i)
        for (int j = 0; j < nbCalibres; ++j) {
            const double r = calibresVolts[j];
            const uint64_t k = graine ^ static_cast<uint64_t>(16 * i + j);
            c.gain[i][j] = 2 * r / 4096 * (1 + ecart(k * 2 + 1, 0.005, 0.02));
            c.offset[i][j] = -r + r * ecart(k * 2 + 2, 0.002, 0.005);
        }
    return c;
}

} // namespace campussim
