// Numbers turned into the texts the user reads: engineering notation with SI prefixes,
// «mantissa.10 exponent», general and exponent formats of 6 significant digits.
//
// Digits in these texts round half away from zero, applied to the 15-significant-digit
// decimal form of the value (so 0.0012345, stored as 0.00123449999..., still gives
// «1,235 m»). Every formatter gets its digits from chiffres(); none uses printf, iostreams
// or the C locale.
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

// The decimal separator of the user's regional settings: "." until the program captures
// the locale's at start-up.
QChar separateurDecimal();
void setSeparateurDecimal(QChar separateur);
// Takes the first character of the system locale's decimal point.
void capturerSeparateurDecimal();

struct PrefixeSI {
    QStringView texte;
    long double multiplicateur; // 10^(3 × index), in extended precision
};
inline constexpr int indicePrefixeMin = -10;
inline constexpr int indicePrefixeMax = 10;
// Indexed by (index - indicePrefixeMin): "q" (1E-30) ... "" (1) ... "Q" (1E30).
inline constexpr std::array<PrefixeSI, 21> prefixesSI{{
    {u"q", 1e-30L}, {u"r", 1e-27L}, {u"y", 1e-24L}, {u"z", 1e-21L},     {u"a", 1e-18L},
    {u"f", 1e-15L}, {u"p", 1e-12L}, {u"n", 1e-9L},  {u"\u00B5", 1e-6L}, {u"m", 1e-3L},
    {u"", 1e0L},    {u"k", 1e3L},   {u"M", 1e6L},   {u"G", 1e9L},       {u"T", 1e12L},
    {u"P", 1e15L},  {u"E", 1e18L},  {u"Z", 1e21L},  {u"Y", 1e24L},      {u"R", 1e27L},
    {u"Q", 1e30L},
}};
// The entry of an index, clamped to -10..+10.
const PrefixeSI& prefixeSI(int indice);

// Significant digits of a value: v ≈ entier × 10^(exposant - n + 1), with entier holding
// exactly n digits (10^(n-1) <= entier < 10^n) and exposant the decimal exponent of its
// first digit after rounding.
struct Chiffres {
    std::uint64_t entier = 0;
    int exposant = 0;
};
// v must be finite and > 0; n is clamped to 1..18. Rounds half away from zero on the
// 15-digit decimal form (n <= 15), or correctly on the binary value (n > 15).
Chiffres chiffres(double v, int n);

// Exact power of ten for 0..22; std::pow beyond.
double puissanceDix(int k);
// x × 10^k with a single rounding whenever 10^|k| is exact.
double multipliePuissanceDix(double x, int k);

// formatReel styles: 2 = «mantissa.10» followed by the raised exponent between a tab and
// a line feed (the superscript marks of the label drawing); 4 = engineering notation with
// an SI prefix. The program uses no other style; any other value is written as style 4.
// Non-finite values give "NAN", "INF" or "-INF" in every style.
QString formatReel(int n, int style, double valeur);
QString formatReel(int n, int style, double valeur, QChar separateur);

// Engineering notation with exactly n significant digits (n clamped to 1..18) and one of
// the 21 prefixes; zero gives "0".
QString formatReelIng(int n, double valeur);
QString formatReelIng(int n, double valeur, QChar separateur);

// General format with 6 significant digits: fixed notation when the decimal exponent
// after rounding lies in -4..5, else «1.5E-005»; trailing zeros dropped.
QString texteG6(float x, QChar separateur = separateurDecimal());
// Exponent format with 6 significant digits: «1.50000E-005».
QString texteE6(float x, QChar separateur = separateurDecimal());
// General format with n significant digits and at least 2 exponent digits: fixed notation
// while the integer part has at most n digits and the value is not below 1E-05.
QString texteGeneral(double valeur, int n, QChar separateur);
QString texteG4(double valeur, QChar separateur);

// The ASCII core of texteG6 for the file writers: writes into out (at least
// tailleTexteAscii chars, not zero-terminated) and returns the length.
inline constexpr int tailleTexteAscii = 32;
int texteG6Ascii(float x, char separateur, char* out);
int texteE6Ascii(float x, char separateur, char* out);
