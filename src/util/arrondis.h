// Rounding helpers and the one family of real-to-integer conversions.
//
// Integer rounding ("Round") sends halves to the even neighbour; "Trunc" drops the
// fraction. Every conversion from a real to an integer in the program goes through
// arrondi/tronque (or their 64-bit forms): NaN gives 0 and values beyond the range
// saturate at its limits, so no conversion is ever undefined.
#pragma once

#include <concepts>
#include <cstdint>
#include <type_traits>

double maxReel(double a, double b);
double minReel(double a, double b);

// Nearest integral value, halves to the even neighbour, whatever the FPU rounding mode.
// NaN and infinities are returned as they are.
double arrondiPair(double x);

int arrondi(double x);
int tronque(double x);
std::int64_t arrondi64(double x);
std::int64_t tronque64(double x);

// Round(Max(a, b)) and Round(Min(a, b)); maxArrondi(x, 0) is x rounded and not below 0.
int maxArrondi(float a, float b);
int maxArrondi(double a, double b);
int minArrondi(float a, float b);
int minArrondi(double a, double b);

// Mixed arguments (a float and an int, a float and a double...) are compared as doubles,
// which is exact for every float and every int.
template <typename A, typename B>
requires std::is_arithmetic_v<A> && std::is_arithmetic_v<B> &&
    (!std::is_same_v<A, B>)int maxArrondi(A a, B b) {
    return maxArrondi(static_cast<double>(a), static_cast<double>(b));
}
template <typename A, typename B>
requires std::is_arithmetic_v<A> && std::is_arithmetic_v<B> &&
    (!std::is_same_v<A, B>)int minArrondi(A a, B b) {
    return minArrondi(static_cast<double>(a), static_cast<double>(b));
}
inline int maxArrondi(int a, int b) {
    return a > b ? a : b;
}
inline int minArrondi(int a, int b) {
    return a < b ? a : b;
}

// +1 if x > 0, -1 if x < 0, 0 otherwise (NaN included).
int signeReel(float x);

// |valeur| = |mantisse| × 10^exposant with |mantisse| in [1, 10); the mantissa carries the
// sign of the value. The exponent is the one of the 10-significant-digit exponent form.
struct MantisseExposant {
    double mantisse = 0;
    int exposant = 0;
};
MantisseExposant decomposeMantisse(double valeur);

// Rounds x to n significant digits (halves of the last digit to even).
void arrondiSignificatif(double& x, int n);

// valeur := pas × Round(valeur / pas); a zero or non-finite step leaves the value alone.
void arrondiMultiple(float& valeur, float pas);

// Rounds a graduation step up to a readable value: the next integer mantissa, or the
// next mantissa with one decimal when the integer one is off by more than the tolerance.
float arrondiLisible(double tolerance, double valeur);
