#include "formats.h"

#include <QLocale>
#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>

namespace {

std::atomic<char16_t> separateurGlobal{u'.'};

// Powers of ten that a double holds exactly.
constexpr double puissancesExactes[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t puissancesEntieres[20] = {1ull,
                                                  10ull,
                                                  100ull,
                                                  1000ull,
                                                  10000ull,
                                                  100000ull,
                                                  1000000ull,
                                                  10000000ull,
                                                  100000000ull,
                                                  1000000000ull,
                                                  10000000000ull,
                                                  100000000000ull,
                                                  1000000000000ull,
                                                  10000000000000ull,
                                                  100000000000000ull,
                                                  1000000000000000ull,
                                                  10000000000000000ull,
                                                  100000000000000000ull,
                                                  1000000000000000000ull,
                                                  10000000000000000000ull};

// The value was scaled within this distance of a half: the binary value cannot tell on
// which side its 15-digit decimal form lies, so the slow path decides.
constexpr double margeDemi = 1e-5;

// Reads the digits of the 15-digit decimal form (or of n digits when n > 15) and rounds
// them half away from zero.
Chiffres chiffresLents(double v, int n) {
    char tampon[48];
    const int precision = n > 15 ? n - 1 : 14;
    const auto fin =
        std::to_chars(tampon, tampon + sizeof tampon, v, std::chars_format::scientific, precision)
            .ptr;
    std::uint64_t entier = 0;
    int nbChiffres = 0;
    const char* p = tampon;
    for (; p < fin && *p != 'e'; ++p) {
        if (*p != '.') {
            entier = entier * 10 + static_cast<std::uint64_t>(*p - '0');
            ++nbChiffres;
        }
    }
    int exposant = 0;
    if (p < fin) {
        ++p;
        const bool negatif = *p == '-';
        for (++p; p < fin; ++p)
            exposant = exposant * 10 + (*p - '0');
        if (negatif)
            exposant = -exposant;
    }
    if (nbChiffres > n) {
        const std::uint64_t diviseur = puissancesEntieres[nbChiffres - n];
        const std::uint64_t reste = entier % diviseur;
        entier /= diviseur;
        if (reste >= diviseur / 2)
            ++entier;
        if (entier >= puissancesEntieres[n]) {
            entier /= 10;
            ++exposant;
        }
    }
    return {entier, exposant};
}

// v × 10^k when 10^|k| is exact; false otherwise.
inline bool echelleExacte(double v, int k, double& resultat) {
    if (k >= 0 && k <= 22) {
        resultat = v * puissancesExactes[k];
        return true;
    }
    if (k < 0 && k >= -22) {
        resultat = v / puissancesExactes[-k];
        return true;
    }
    return false;
}

// Writes the nb digits of entier (entier < 10^nb) into out.
inline void ecrireEntier(char* out, std::uint64_t entier, int nb) {
    for (int i = nb - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + entier % 10);
        entier /= 10;
    }
}

// The significant digits of a value without their trailing zeros.
struct Chiffrage {
    char chiffres[20];
    int nb;
    int exposant;
};

inline Chiffrage chiffrer(double v, int n) {
    const Chiffres c = chiffres(v, n);
    std::uint64_t entier = c.entier;
    int nb = std::clamp(n, 1, 18);
    while (nb > 1 && entier % 10 == 0) {
        entier /= 10;
        --nb;
    }
    Chiffrage r;
    ecrireEntier(r.chiffres, entier, nb);
    r.nb = nb;
    r.exposant = c.exposant;
    return r;
}

// Fixed notation: the first nbEntiers digits before the separator (nbEntiers <= 0 gives
// "0" and leading zeros after it).
inline char* ecrireFixe(char* p, const Chiffrage& c, int nbEntiers, char sep) {
    if (nbEntiers > 0) {
        for (int i = 0; i < nbEntiers; ++i)
            *p++ = i < c.nb ? c.chiffres[i] : '0';
        if (c.nb > nbEntiers) {
            *p++ = sep;
            for (int i = nbEntiers; i < c.nb; ++i)
                *p++ = c.chiffres[i];
        }
    } else {
        *p++ = '0';
        *p++ = sep;
        for (int i = nbEntiers; i < 0; ++i)
            *p++ = '0';
        for (int i = 0; i < c.nb; ++i)
            *p++ = c.chiffres[i];
    }
    return p;
}

// "E", the sign always, and at least three digits: «E-005», «E+006».
inline char* ecrireExposant(char* p, int exposant) {
    *p++ = 'E';
    *p++ = exposant < 0 ? '-' : '+';
    unsigned e = exposant < 0 ? 0u - static_cast<unsigned>(exposant) : unsigned(exposant);
    char t[12];
    int nb = 0;
    do {
        t[nb++] = static_cast<char>('0' + e % 10);
        e /= 10;
    } while (e != 0);
    while (nb < 3)
        t[nb++] = '0';
    while (nb > 0)
        *p++ = t[--nb];
    return p;
}

inline char* ecrireScientifique(char* p, const Chiffrage& c, char sep) {
    *p++ = c.chiffres[0];
    if (c.nb > 1) {
        *p++ = sep;
        for (int i = 1; i < c.nb; ++i)
            *p++ = c.chiffres[i];
    }
    return ecrireExposant(p, c.exposant);
}

// "NAN", "INF", "-INF", or nullptr for a finite value.
inline const char* texteNonFini(double v) {
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return v < 0 ? "-INF" : "INF";
    return nullptr;
}

inline int copier(char* out, const char* texte) {
    int n = 0;
    while (texte[n] != 0) {
        out[n] = texte[n];
        ++n;
    }
    return n;
}

// General format of x > 0 with n significant digits, trailing zeros dropped.
int ecrireGeneral(char* out, double x, int n, char sep) {
    const Chiffrage c = chiffrer(x, n);
    char* p = out;
    if (c.exposant >= -4 && c.exposant < n)
        p = ecrireFixe(p, c, c.exposant + 1, sep);
    else
        p = ecrireScientifique(p, c, sep);
    return static_cast<int>(p - out);
}

// Pads a number text to n significant digits as the engineering formats do: a text with a
// separator gets zeros up to n + 1 characters; a shorter one without gets the separator
// first; a text of n characters or more without separator stays.
int completer(char* texte, int longueur, int n, char sep) {
    bool avecSeparateur = false;
    for (int i = 0; i < longueur; ++i)
        avecSeparateur = avecSeparateur || texte[i] == sep;
    if (!avecSeparateur) {
        if (longueur >= n)
            return longueur;
        texte[longueur++] = sep;
    }
    while (longueur < n + 1)
        texte[longueur++] = '0';
    return longueur;
}

// Builds the QString in one allocation; the ASCII texts carry '.' where the separator goes.
QString versTexte(const char* ascii, int longueur, QChar sep, QStringView suffixe = {},
                  bool negatif = false) {
    const qsizetype signe = negatif ? 1 : 0;
    QString s(signe + longueur + suffixe.size(), Qt::Uninitialized);
    QChar* d = s.data();
    if (negatif)
        *d++ = u'-';
    for (int i = 0; i < longueur; ++i)
        *d++ = ascii[i] == '.' ? sep : QChar(char16_t(static_cast<unsigned char>(ascii[i])));
    std::copy(suffixe.begin(), suffixe.end(), d);
    return s;
}

QString formatIngenieur(int n, double valeur, QChar sep) {
    n = std::clamp(n, 1, 18);
    const bool negatif = valeur < 0;
    const double x = std::fabs(valeur);
    if (x < 1e-15)
        return QString(u'0') + sep + QStringLiteral("00 ");
    int k = 0;
    double y = x;
    if (y > 999.995) {
        while (k < 4 && y > 999.995) {
            y /= 1000;
            ++k;
        }
    } else if (y < 0.999995) {
        while (k > -5 && y < 0.999995) {
            y *= 1000;
            --k;
        }
    }
    char tampon[64];
    int longueur = ecrireGeneral(tampon, y, n, '.');
    longueur = completer(tampon, longueur, n, '.');
    tampon[longueur++] = ' ';
    return versTexte(tampon, longueur, sep, prefixeSI(k).texte, negatif);
}

QString formatMantisseDix(int n, double valeur, QChar sep) {
    n = std::clamp(n, 1, 18);
    char mantisse[24];
    char* p = mantisse;
    if (valeur < 0)
        *p++ = '-';
    const double x = std::fabs(valeur);
    Chiffres c;
    if (x > 0)
        c = chiffres(x, 12);
    else
        c = {0, 0};
    char chiffresTexte[12];
    ecrireEntier(chiffresTexte, c.entier, 12);
    *p++ = chiffresTexte[0];
    *p++ = '.';
    for (int i = 1; i < 12; ++i)
        *p++ = chiffresTexte[i];
    const int coupe = std::min(static_cast<int>(p - mantisse), n == 1 ? 1 : n + 1);
    char exposant[16];
    const auto fin = std::to_chars(exposant, exposant + sizeof exposant, c.exposant).ptr;
    QString s = versTexte(mantisse, coupe, sep);
    s += u".10";
    s += u'\t';
    s += QLatin1StringView(exposant, fin - exposant);
    s += u'\n';
    return s;
}

} // namespace

QChar separateurDecimal() {
    return QChar(separateurGlobal.load(std::memory_order_relaxed));
}

void setSeparateurDecimal(QChar separateur) {
    separateurGlobal.store(separateur.unicode(), std::memory_order_relaxed);
}

void capturerSeparateurDecimal() {
    const QString point = QLocale::system().decimalPoint();
    setSeparateurDecimal(point.isEmpty() ? QChar(u'.') : point.front());
}

const PrefixeSI& prefixeSI(int indice) {
    return prefixesSI[static_cast<std::size_t>(
        std::clamp(indice, indicePrefixeMin, indicePrefixeMax) - indicePrefixeMin)];
}

double puissanceDix(int k) {
    if (k >= 0 && k <= 22)
        return puissancesExactes[k];
    return std::pow(10.0, k);
}

double multipliePuissanceDix(double x, int k) {
    double r = x;
    if (echelleExacte(x, k, r))
        return r;
    // Extended precision holds every intermediate: an error of about one unit in the last
    // place. Beyond ±700 the result is 0 or infinite whatever the value.
    k = std::clamp(k, -700, 700);
    const long double facteur = std::pow(10.0L, static_cast<long double>(k < 0 ? -k : k));
    return static_cast<double>(k < 0 ? x / facteur : x * facteur);
}

Chiffres chiffres(double v, int n) {
    n = std::clamp(n, 1, 18);
    if (n <= 9) {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        const int exposantBinaire = static_cast<int>((bits >> 52) & 0x7ff);
        if (exposantBinaire != 0 && exposantBinaire != 0x7ff) {
            // floor(e2 × log10 2); the true decimal exponent is e or e + 1.
            int e = ((exposantBinaire - 1023) * 78913) >> 18;
            double s;
            if (echelleExacte(v, n - 1 - e, s)) {
                bool exact = true;
                if (s >= puissancesExactes[n]) {
                    ++e;
                    exact = echelleExacte(v, n - 1 - e, s);
                }
                const double plancher = std::floor(s);
                const double fraction = s - plancher;
                if (exact && std::fabs(fraction - 0.5) > margeDemi) {
                    auto entier = static_cast<std::uint64_t>(plancher) + (fraction > 0.5 ? 1 : 0);
                    if (entier >= puissancesEntieres[n]) {
                        entier = puissancesEntieres[n - 1];
                        ++e;
                    }
                    if (entier >= puissancesEntieres[n - 1])
                        return {entier, e};
                }
            }
        }
    }
    return chiffresLents(v, n);
}

int texteG6Ascii(float x, char separateur, char* out) {
    const double v = x;
    if (const char* t = texteNonFini(v))
        return copier(out, t);
    if (v == 0) {
        out[0] = '0';
        return 1;
    }
    char* p = out;
    if (v < 0)
        *p++ = '-';
    return static_cast<int>(p - out) + ecrireGeneral(p, std::fabs(v), 6, separateur);
}

int texteE6Ascii(float x, char separateur, char* out) {
    const double v = x;
    if (const char* t = texteNonFini(v))
        return copier(out, t);
    char* p = out;
    if (v < 0)
        *p++ = '-';
    Chiffres c{0, 0};
    if (v != 0)
        c = chiffres(std::fabs(v), 6);
    char t[6];
    ecrireEntier(t, c.entier, 6);
    *p++ = t[0];
    *p++ = separateur;
    for (int i = 1; i < 6; ++i)
        *p++ = t[i];
    p = ecrireExposant(p, c.exposant);
    return static_cast<int>(p - out);
}

QString texteG6(float x, QChar separateur) {
    char tampon[tailleTexteAscii];
    return versTexte(tampon, texteG6Ascii(x, '.', tampon), separateur);
}

QString texteE6(float x, QChar separateur) {
    char tampon[tailleTexteAscii];
    return versTexte(tampon, texteE6Ascii(x, '.', tampon), separateur);
}

QString formatReel(int n, int style, double valeur) {
    return formatReel(n, style, valeur, separateurDecimal());
}

QString formatReel(int n, int style, double valeur, QChar separateur) {
    if (const char* t = texteNonFini(valeur))
        return QString::fromLatin1(t);
    if (style == 2)
        return formatMantisseDix(n, valeur, separateur);
    return formatIngenieur(n, valeur, separateur);
}

QString formatReelIng(int n, double valeur) {
    return formatReelIng(n, valeur, separateurDecimal());
}

QString formatReelIng(int n, double valeur, QChar separateur) {
    if (const char* t = texteNonFini(valeur))
        return QString::fromLatin1(t);
    if (valeur == 0)
        return QStringLiteral("0");
    n = std::clamp(n, 1, 18);
    const Chiffrage c = chiffrer(std::fabs(valeur), n);
    // Group of three decimal exponents, taken after rounding so that a mantissa rounded
    // up to 1000 moves to the next prefix.
    const int e = c.exposant;
    const int groupe =
        std::clamp(e >= 0 ? e / 3 : -((2 - e) / 3), indicePrefixeMin, indicePrefixeMax);
    // Beyond the last prefixes the mantissa leaves [1, 1000): up to ~300 digits or zeros.
    char tampon[400];
    char* fin = ecrireFixe(tampon, c, e - 3 * groupe + 1, '.');
    int longueur = completer(tampon, static_cast<int>(fin - tampon), n, '.');
    tampon[longueur++] = ' ';
    return versTexte(tampon, longueur, separateur, prefixeSI(groupe).texte, valeur < 0);
}

QString texteGeneral(double valeur, int n, QChar separateur) {
    if (!std::isfinite(valeur))
        return std::isnan(valeur) ? QStringLiteral("NAN")
                                  : (valeur > 0 ? QStringLiteral("INF") : QStringLiteral("-INF"));
    if (valeur == 0)
        return QStringLiteral("0");
    n = std::clamp(n, 1, 15);
    const Chiffres c = chiffres(std::fabs(valeur), n);
    QString s = QString::number(c.entier); // exactly n digits
    QString r = valeur < 0 ? QStringLiteral("-") : QString();
    auto sansZeros = [&](QString fraction) {
        while (fraction.endsWith(u'0'))
            fraction.chop(1);
        return fraction;
    };
    if (c.exposant <= n - 1 && c.exposant >= -5) {
        if (c.exposant >= 0) {
            r += s.left(c.exposant + 1);
            const QString f = sansZeros(s.mid(c.exposant + 1));
            if (!f.isEmpty())
                r += separateur + f;
        } else {
            r += u'0';
            r += separateur + QString(-c.exposant - 1, u'0') + sansZeros(s);
        }
        return r;
    }
    r += s.left(1);
    const QString f = sansZeros(s.mid(1));
    if (!f.isEmpty())
        r += separateur + f;
    const int e = std::abs(c.exposant);
    r += QStringLiteral("E") + (c.exposant < 0 ? u'-' : u'+') +
         QStringLiteral("%1").arg(e, 2, 10, QLatin1Char('0'));
    return r;
}

QString texteG4(double valeur, QChar separateur) {
    return texteGeneral(valeur, 4, separateur);
}
