#pragma once
// What the unit's converter makes of one signal: the voltage of an input (or the difference
// of a differential channel) turned into a 12-bit code with the unit's own coefficients,
// plus the seeded noise; and the 16-bit word that carries it.
#include "bruit.h"
#include "calibrage.h"
#include "registres.h"
#include "signal_simule.h"

#include <cmath>

namespace sp5sim {

struct Conversion {
    simulateurs::Signal plus;
    simulateurs::Signal moins; // used on a differential channel only
    bool differentiel = false;
    double inverseGain = 0;
    double offset = 0;

    int32_t code(double t, int32_t bruit) const {
        double u = plus(t);
        if (differentiel)
            u -= moins(t);
        return codeTension(u, bruit);
    }

    SIMULATEURS_EN_LIGNE int32_t codeTension(double u, int32_t bruit) const {
        double x = (u - offset) * inverseGain;
        if (!(x > -1e6)) // also NaN
            x = -1e6;
        else if (x > 1e6)
            x = 1e6;
        // Nearest integer, ties to even, without a library call: adding 1.5 × 2^52 leaves
        // no fraction bits (|x| ≤ 1e6 here).
        constexpr double arrondi = 6755399441055744.0;
        const auto c = static_cast<int32_t>((x + arrondi) - arrondi) + bruit;
        return c < 0 ? 0 : (c > codeMax ? codeMax : c);
    }
};

// Input entree on range calibre; differentiel only for an input 0..3.
inline Conversion prepareConversion(int entree, bool differentiel, int calibre,
                                    const simulateurs::Signal* signaux,
                                    const CoefficientsSP5& coef) {
    const int canal = entree % nbCanaux;
    Conversion c;
    c.plus = signaux[entree];
    c.differentiel = differentiel && entree < nbCanaux;
    if (c.differentiel)
        c.moins = signaux[entree + nbCanaux];
    c.inverseGain = 1.0 / coef.ampli[4 * canal + calibre];
    c.offset =
        c.differentiel ? coef.offsetDiff[4 * canal + calibre] : coef.offset[4 * entree + calibre];
    return c;
}

// The code in bits 15..4; the low four bits are never all zero (the unit fills them with
// bits that mean nothing: a driver must shift them out).
inline uint16_t motEchantillon(int32_t code, uint64_t hasard) {
    return static_cast<uint16_t>((code << 4) | ((hasard >> 60) | 1));
}

} // namespace sp5sim
