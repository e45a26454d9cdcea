#include "calibrage.h"

#include "bruit.h"
#include "registres.h"

#include <cstring>

namespace sp5sim {

namespace {

constexpr char numeroSerie[] = "SPSIMUL";
constexpr double dateEtalonnage = 45537.5; // 2 September 2024, noon
constexpr double dateCablage = 45460.0;    // 17 June 2024

// A deviation with a deterministic sign and size between min and max.
double ecart(uint64_t cle, double min, double max) {
    const uint64_t h = simulateurs::melange(cle);
    const double u = static_cast<double>(h >> 11) * 0x1.0p-53;
    const double v = min + (max - min) * u;
    return (h & 1) ? v : -v;
}

CoefficientsSP5 calcule() {
    CoefficientsSP5 c{};
    for (int k = 0; k < 16; ++k) {
        const double r = pleineEchelle(k % nbCalibres);
        c.ampli[k] = static_cast<float>(2 * r / 4096 * (1 + ecart(0x100 + k, 0.005, 0.02)));
        c.offsetDiff[k] = static_cast<float>(-r + r * ecart(0x300 + k, 0.002, 0.005));
    }
    for (int k = 0; k < 32; ++k) {
        const double r = pleineEchelle(k % nbCalibres);
        c.offset[k] = static_cast<float>(-r + r * ecart(0x200 + k, 0.002, 0.005));
    }
    return c;
}

void ecritTexte(uint8_t* p, const char* texte) {
    const size_t n = std::strlen(texte);
    p[0] = static_cast<uint8_t>(n);
    std::memcpy(p + 1, texte, n);
}

void ecritSingles(uint8_t* p, const float* v, int n) {
    for (int k = 0; k < n; ++k) {
        uint32_t bits = 0;
        std::memcpy(&bits, &v[k], 4);
        ecritRegistres(p, 4 * k, 4, bits);
    }
}

void ecritDouble(uint8_t* p, double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, 8);
    ecritRegistres(p, 0, 8, bits);
}

} // namespace

const CoefficientsSP5& coefficientsSP5() {
    static const CoefficientsSP5 c = calcule();
    return c;
}

void ecritCalibrage(uint8_t* record, const CoefficientsSP5& c, bool gainNul) {
    std::memset(record, 0, tailleCalibrage);
    ecritTexte(record + 1, numeroSerie);
    const float zeros[16] = {};
    ecritSingles(record + 14, gainNul ? zeros : c.ampli, 16);
    ecritSingles(record + 78, c.offset, 32);
    ecritSingles(record + 206, c.offsetDiff, 16);
    const float ampliSA[2] = {20.0f / 4096, 20.0f / 4096};
    const float offsetSA[2] = {-10, -10};
    ecritSingles(record + 334, ampliSA, 2);
    ecritSingles(record + 342, offsetSA, 2);
    ecritDouble(record + 350, dateEtalonnage);
    ecritDouble(record + 358, dateCablage);
    ecritTexte(record + 366, numeroSerie);
}

} // namespace sp5sim
