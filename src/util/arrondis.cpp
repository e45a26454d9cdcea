#include "arrondis.h"

#include "formats.h"

#include <cmath>
#include <limits>

namespace {

// Saturates an integral-valued double (or NaN) into the range of T.
template <typename T> T saturer(double entier) {
    if (std::isnan(entier))
        return 0;
    // -2^(bits-1) and 2^(bits-1) are exact doubles: the comparisons are exact too.
    constexpr double borneHaute = -static_cast<double>(std::numeric_limits<T>::min());
    constexpr double borneBasse = static_cast<double>(std::numeric_limits<T>::min());
    if (entier >= borneHaute)
        return std::numeric_limits<T>::max();
    if (entier <= borneBasse)
        return std::numeric_limits<T>::min();
    return static_cast<T>(entier);
}

// A fractional part is "present" above this relative size: steps computed in floating
// point are never exactly integral.
constexpr double fractionSignificative = 1e-5;

bool aUneFraction(double m) {
    return std::fabs(m - std::trunc(m)) >= fractionSignificative * std::fabs(m);
}

} // namespace

double maxReel(double a, double b) {
    return a > b ? a : b;
}
double minReel(double a, double b) {
    return a < b ? a : b;
}

double arrondiPair(double x) {
    const double r = std::round(x); // halves away from zero
    // x - trunc(x) is exact; at an exact half, take the even neighbour instead.
    if (std::fabs(x - std::trunc(x)) == 0.5)
        return 2.0 * std::round(x / 2.0);
    return r;
}

int arrondi(double x) {
    return saturer<int>(arrondiPair(x));
}
int tronque(double x) {
    return saturer<int>(std::trunc(x));
}
std::int64_t arrondi64(double x) {
    return saturer<std::int64_t>(arrondiPair(x));
}
std::int64_t tronque64(double x) {
    return saturer<std::int64_t>(std::trunc(x));
}

int maxArrondi(float a, float b) {
    return arrondi(maxReel(a, b));
}
int maxArrondi(double a, double b) {
    return arrondi(maxReel(a, b));
}
int minArrondi(float a, float b) {
    return arrondi(minReel(a, b));
}
int minArrondi(double a, double b) {
    return arrondi(minReel(a, b));
}

int signeReel(float x) {
    if (x > 0)
        return 1;
    if (x < 0)
        return -1;
    return 0;
}

MantisseExposant decomposeMantisse(double valeur) {
    if (valeur == 0 || !std::isfinite(valeur))
        return {valeur, 0};
    const double absolue = std::fabs(valeur);
    const int exposant = chiffres(absolue, 10).exposant;
    const double mantisse = multipliePuissanceDix(absolue, -exposant);
    return {valeur < 0 ? -mantisse : mantisse, exposant};
}

void arrondiSignificatif(double& x, int n) {
    if (x == 0 || !std::isfinite(x))
        return;
    n = n < 1 ? 1 : (n > 17 ? 17 : n);
    const double absolue = std::fabs(x);
    const int exposant = decomposeMantisse(absolue).exposant;
    // Round(m × 10^(n-1)) scaled straight from |x|: one rounding fewer than going
    // through the mantissa.
    const double entier = arrondiPair(multipliePuissanceDix(absolue, n - 1 - exposant));
    const double r = multipliePuissanceDix(entier, exposant - n + 1);
    x = x < 0 ? -r : r;
}

void arrondiMultiple(float& valeur, float pas) {
    if (pas == 0 || !std::isfinite(pas) || !std::isfinite(valeur))
        return;
    const double quotient = static_cast<double>(valeur) / static_cast<double>(pas);
    valeur = static_cast<float>(static_cast<double>(pas) * arrondiPair(quotient));
}

float arrondiLisible(double tolerance, double valeur) {
    if (std::isnan(valeur) || std::fabs(valeur) < 1e-15)
        return 0;
    if (!std::isfinite(valeur))
        return static_cast<float>(valeur);
    const auto [m, e] = decomposeMantisse(valeur);
    // Upwards: integer part + 1 for a positive value, integer part for a negative one.
    const double haut = valeur > 0 ? 1.0 : 0.0;
    double retenue = m;
    if (aUneFraction(m)) {
        retenue = std::trunc(m) + haut;
        if (std::fabs(retenue - m) / std::fabs(retenue) * 100 > tolerance) {
            const double dixM = 10 * m;
            retenue = aUneFraction(dixM) ? (std::trunc(dixM) + haut) / 10 : m;
        }
    }
    return static_cast<float>(multipliePuissanceDix(retenue, e));
}
