// Formatters: engineering notation, «mantissa.10 exponent», general and exponent formats.
// Every text case runs with "," and with "." as the regional separator; the tables write
// the separator as ",".
#include "formats.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr float nanf = std::numeric_limits<float>::quiet_NaN();
constexpr float inff = std::numeric_limits<float>::infinity();

class AvecSeparateur : public testing::TestWithParam<QChar> {
protected:
    void SetUp() override {
        ancien = separateurDecimal();
        setSeparateurDecimal(GetParam());
    }
    void TearDown() override { setSeparateurDecimal(ancien); }
    // The expected text with "," replaced by the separator under test.
    static QString attendu(const QString& texte) {
        QString r = texte;
        r.replace(u',', GetParam());
        return r;
    }

private:
    QChar ancien;
};

INSTANTIATE_TEST_SUITE_P(Separateurs, AvecSeparateur, testing::Values(QChar(u','), QChar(u'.')),
                         [](const auto& info) {
                             return info.param == u',' ? std::string("virgule")
                                                       : std::string("point");
                         });

struct CasFlottant {
    float x;
    const char16_t* attendu;
};

TEST_P(AvecSeparateur, TexteG6) {
    const CasFlottant cas[] = {
        {0.1f, u"0,1"},
        {1.5e-5f, u"1,5E-005"},
        {1.5e6f, u"1,5E+006"},
        {123456.5f, u"123457"}, // a decimal half rounds away from zero
        {123456.4f, u"123456"},
        {-123456.5f, u"-123457"},
        {999999.5f, u"1E+006"},
        {999999.4f, u"999999"},
        {100000.f, u"100000"},
        {1e6f, u"1E+006"},
        {0.0001f, u"0,0001"},
        {0.000099999997f, u"0,0001"}, // the exponent after rounding decides the notation
        {0.00009999f, u"9,999E-005"},
        {1e-5f, u"1E-005"},
        {0.f, u"0"},
        {-0.f, u"0"},
        {-2.5f, u"-2,5"},
        {1.f / 3.f, u"0,333333"},
        {2.f / 3.f, u"0,666667"},
        {12345.67f, u"12345,7"},
        {-1.23456789e-3f, u"-0,00123457"},
        {std::numeric_limits<float>::max(), u"3,40282E+038"},
        {std::numeric_limits<float>::denorm_min(), u"1,4013E-045"},
        {1.0e-38f, u"1E-038"},
        {1e20f, u"1E+020"},
        {nanf, u"NAN"},
        {inff, u"INF"},
        {-inff, u"-INF"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(texteG6(c.x), attendu(QString::fromUtf16(c.attendu)));
    }
}

TEST_P(AvecSeparateur, TexteE6) {
    const CasFlottant cas[] = {
        {1.5e-5f, u"1,50000E-005"},
        {1.5e6f, u"1,50000E+006"},
        {0.f, u"0,00000E+000"},
        {-123.456f, u"-1,23456E+002"},
        {999999.5f, u"1,00000E+006"},
        {0.1f, u"1,00000E-001"},
        {1e-40f, u"9,99995E-041"},
        {nanf, u"NAN"},
        {-inff, u"-INF"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(texteE6(c.x), attendu(QString::fromUtf16(c.attendu)));
    }
}

struct CasReel {
    int n;
    double x;
    const char16_t* attendu;
};

TEST_P(AvecSeparateur, FormatReelStyle4) {
    const CasReel cas[] = {
        {4, 0.0012345, u"1,235 m"}, // rounded on the 15-digit form 1.23450000000000
        {4, 12, u"12,00 "},
        {4, 1000, u"1,000 k"},
        {4, -0.25, u"-250,0 m"},
        {4, 2.5e-7, u"250,0 n"},
        {4, 1e-16, u"0,00 "},
        {2, 1e-16, u"0,00 "},
        {7, -1e-16, u"0,00 "},
        {4, 0, u"0,00 "},
        {4, -0.0, u"0,00 "},
        {4, 999.996, u"1,000 k"},
        {4, 999.994, u"1000 "}, // below the threshold: no prefix, four
                                // digits
        {4, 1e15, u"1000 T"},   // the prefix stops at tera
        {4, 3e-6, u"3,000 \u00B5"},
        {4, 1.5e-14, u"15,00 f"},
        {4, 2e-15, u"2,000 f"},
        {4, 123456, u"123,5 k"},
        {4, -4.2e9, u"-4,200 G"},
        {3, 0.5, u"500 m"},
        {3, 1.5, u"1,50 "},
        {4, 0.0315, u"31,50 m"},
        {4, 1.00005, u"1,000 "},
        {4, 1.0005, u"1,001 "},       // 1.000499999... in binary, 1.00050000000000 in 15 digits
        {6, 0.7699715, u"769,972 m"}, // the same once scaled by 1000
        {4, 2.0045, u"2,005 "},       // stored as 2.00449999..., its 15-digit form is 2.00450000
        {4, nan, u"NAN"},
        {4, -inf, u"-INF"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.x << " n=" << c.n);
        EXPECT_EQ(formatReel(c.n, 4, c.x), attendu(QString::fromUtf16(c.attendu)));
    }
}

TEST_P(AvecSeparateur, LesStylesInutilisesSEcriventCommeLeStyle4) {
    for (int style : {0, 1, 3, 5, 6, 7}) {
        SCOPED_TRACE(style);
        EXPECT_EQ(formatReel(4, style, 0.0012345), formatReel(4, 4, 0.0012345));
    }
}

TEST_P(AvecSeparateur, FormatReelStyle2) {
    const CasReel cas[] = {
        {4, 1e-4, u"1,000.10\t-4\n"},
        {4, 2.5e-3, u"2,500.10\t-3\n"},
        {1, 5e-6, u"5.10\t-6\n"},
        {4, 1.99999e-4, u"1,999.10\t-4\n"}, // cut, not rounded again
        {3, 2, u"2,00.10\t0\n"},
        {4, 12345, u"1,234.10\t4\n"},
        {4, 0, u"0,000.10\t0\n"},
        {2, 6.02e23, u"6,0.10\t23\n"},
        {4, 1e-100, u"1,000.10\t-100\n"},
        {20, 0.5, u"5,00000000000.10\t-1\n"}, // the whole 12-digit mantissa
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.x << " n=" << c.n);
        EXPECT_EQ(formatReel(c.n, 2, c.x), attendu(QString::fromUtf16(c.attendu)));
    }
}

TEST_P(AvecSeparateur, FormatReelIng) {
    const CasReel cas[] = {
        {4, 0.0012345, u"1,235 m"},
        {4, 0, u"0"},
        {3, -12345, u"-12,3 k"},
        {4, 999999.7, u"1,000 M"}, // rounded up to 1000: next prefix
        {4, 999.95, u"1,000 k"},
        {4, 999.94, u"999,9 "},
        {3, 1e-40, u"0,0000000001 q"}, // below the last prefix
        {2, 1e33, u"1000 Q"},          // beyond the last prefix
        {1, 125, u"100 "},
        {4, 100, u"100,0 "},
        {20, 1.5, u"1,50000000000000000 "}, // n clamped to 18
        {0, 2.5, u"3 "},                    // n clamped to 1; the half goes away from zero
        {4, 1e-5, u"10,00 \u00B5"},
        {4, 4.7e-13, u"470,0 f"},
        {4, 2.2e16, u"22,00 P"},
        {4, nan, u"NAN"},
        {4, inf, u"INF"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.x << " n=" << c.n);
        EXPECT_EQ(formatReelIng(c.n, c.x), attendu(QString::fromUtf16(c.attendu)));
    }
}

TEST(Formats, LeSeparateurPasseEnArgumentPrimeSurLeGlobal) {
    const QChar ancien = separateurDecimal();
    setSeparateurDecimal(u',');
    EXPECT_EQ(texteG6(2.5f, u'.'), QStringLiteral("2.5"));
    EXPECT_EQ(texteG6(2.5f), QStringLiteral("2,5"));
    EXPECT_EQ(formatReel(4, 4, 2.5, u'.'), QStringLiteral("2.500 "));
    EXPECT_EQ(texteG6(2.5f, QChar(0x066B)), QString::fromUtf16(u"2\u066B5"));
    setSeparateurDecimal(ancien);
}

TEST(Formats, PrefixesSI) {
    ASSERT_EQ(prefixesSI.size(), 21u);
    EXPECT_EQ(prefixeSI(-2).texte, QStringView(u"\u00B5"));
    EXPECT_EQ(prefixeSI(-6).texte, QStringView(u"a"));
    EXPECT_EQ(prefixeSI(-2).texte.size(), 1);
    EXPECT_EQ(prefixeSI(-1).texte, QStringView(u"m"));
    EXPECT_EQ(prefixeSI(-5).texte, QStringView(u"f"));
    EXPECT_EQ(prefixeSI(0).texte, QStringView(u""));
    EXPECT_EQ(prefixeSI(4).texte, QStringView(u"T"));
    EXPECT_EQ(prefixeSI(-10).texte, QStringView(u"q"));
    EXPECT_EQ(prefixeSI(10).texte, QStringView(u"Q"));
    EXPECT_EQ(prefixeSI(12).texte, QStringView(u"Q"));
    for (int k = indicePrefixeMin; k <= indicePrefixeMax; ++k) {
        SCOPED_TRACE(k);
        const long double m = prefixeSI(k).multiplicateur;
        EXPECT_NEAR(static_cast<double>(std::log10(m)), 3.0 * k, 1e-12);
    }
}

TEST(Formats, Chiffres) {
    struct Cas {
        double v;
        int n;
        std::uint64_t entier;
        int exposant;
    };
    const Cas cas[] = {
        {0.0012345, 4, 1235, -3},
        {0.0012345 * 1000, 4, 1235, 0},
        {999999.5, 6, 100000, 6},
        {0.15, 1, 2, -1}, // 0.1499999... in binary, 0.150000000000000 in 15 digits
        {2.5, 1, 3, 0},
        {0.76997149999999992, 6, 769972, -1}, // 7.69971500000000E-1 in 15 digits
        {1.0, 18, 100000000000000000ull, 0},
        {1e-310, 3, 100, -310},
        {5e-324, 1, 5, -324},
        {1.7976931348623157e308, 17, 17976931348623157ull, 308},
        {123.456, 0, 1, 2},
        {9.9999999999, 10, 1000000000, 1},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.v << " n=" << c.n);
        const Chiffres r = chiffres(c.v, c.n);
        EXPECT_EQ(r.entier, c.entier);
        EXPECT_EQ(r.exposant, c.exposant);
    }
}

TEST(Formats, PuissancesDeDix) {
    EXPECT_EQ(puissanceDix(3), 1000.0);
    EXPECT_EQ(puissanceDix(22), 1e22);
    EXPECT_DOUBLE_EQ(puissanceDix(-3), 1e-3);
    EXPECT_DOUBLE_EQ(puissanceDix(25), 1e25);
    EXPECT_EQ(multipliePuissanceDix(5, -6), 5e-6); // one correctly rounded division
    EXPECT_EQ(multipliePuissanceDix(3, 4), 30000.0);
    EXPECT_DOUBLE_EQ(multipliePuissanceDix(1e-300, 600), 1e300);
    EXPECT_DOUBLE_EQ(multipliePuissanceDix(2.5, -320), 2.5e-320);
    EXPECT_EQ(multipliePuissanceDix(3, -400), 0.0);
    EXPECT_TRUE(std::isinf(multipliePuissanceDix(1, 400)));
    EXPECT_TRUE(std::isinf(multipliePuissanceDix(1, 2000000000)));
}

// The digits by definition: the 15-digit decimal form, rounded half away from zero.
Chiffres chiffresDeReference(double v, int n) {
    char t[64];
    const auto fin = std::to_chars(t, t + sizeof t, v, std::chars_format::scientific, 14).ptr;
    std::string texte;
    const char* p = t;
    for (; *p != 'e'; ++p)
        if (*p != '.')
            texte += *p;
    const int exposant = std::stoi(std::string(p + 1, static_cast<const char*>(fin)));
    std::uint64_t entier = std::stoull(texte.substr(0, static_cast<std::size_t>(n)));
    if (texte[static_cast<std::size_t>(n)] >= '5')
        ++entier;
    std::uint64_t limite = 1;
    for (int i = 0; i < n; ++i)
        limite *= 10;
    if (entier == limite)
        return {limite / 10, exposant + 1};
    return {entier, exposant};
}

TEST(Formats, LeCheminRapideDonneLesChiffresDeLaFormeDecimale) {
    std::mt19937_64 alea(20240611);
    std::uniform_real_distribution<double> exposants(-30, 30);
    std::uniform_int_distribution<int> chiffresEntiers(0, 999999);
    for (int i = 0; i < 200000; ++i) {
        const int n = 1 + i % 9;
        double v = std::pow(10.0, exposants(alea));
        if (i % 4 == 0) // decimal halves and their neighbours, where the paths part
            v = (chiffresEntiers(alea) + 0.5) * std::pow(10.0, (i / 4) % 13 - 8);
        const Chiffres attendu = chiffresDeReference(v, n);
        const Chiffres r = chiffres(v, n);
        ASSERT_EQ(r.entier, attendu.entier) << v << " n=" << n;
        ASSERT_EQ(r.exposant, attendu.exposant) << v << " n=" << n;
    }
}

double lire(const char* debut, const char* fin) {
    double v = 0;
    std::from_chars(debut, fin, v);
    return v;
}

// Away from decimal halves, texteG6 writes the value that the standard conversion with
// 6 significant digits writes.
TEST(Formats, TexteG6AsciiSuitLaConversionStandardHorsDesMoities) {
    std::mt19937 alea(7);
    std::uniform_int_distribution<std::uint32_t> bits(0, 0xFFFFFFFFu);
    int comptes = 0;
    for (int i = 0; i < 200000; ++i) {
        const float x = std::bit_cast<float>(bits(alea));
        if (!std::isfinite(x))
            continue;
        char exact[64];
        std::to_chars(exact, exact + sizeof exact, std::fabs(double(x)),
                      std::chars_format::scientific, 40);
        // "d.ddddd" then the digits after the sixth: an exact half is left out.
        if (std::string(exact + 7, exact + 27) == "50000000000000000000")
            continue;
        char nous[tailleTexteAscii], standard[32];
        const int n = texteG6Ascii(x, '.', nous);
        ASSERT_LE(n, tailleTexteAscii);
        const auto finStandard =
            std::to_chars(standard, standard + sizeof standard, x, std::chars_format::general, 6)
                .ptr;
        ASSERT_EQ(lire(nous, nous + n), lire(standard, finStandard))
            << std::string(nous, nous + n) << " / " << std::string(standard, finStandard);
        ++comptes;
    }
    EXPECT_GT(comptes, 190000);
}

TEST(Formats, TexteG6EstConstruitSurLeCoeurAscii) {
    for (float x : {0.1f, -1.5e-5f, 123456.5f, 3.25e12f, -7.f, 0.f, nanf}) {
        SCOPED_TRACE(x);
        char tampon[tailleTexteAscii];
        const int n = texteG6Ascii(x, ',', tampon);
        EXPECT_EQ(texteG6(x, u','), QString::fromLatin1(tampon, n));
    }
}

} // namespace

TEST(TexteG4, FormatGeneral) {
    const struct {
        double v;
        const char* texte;
    } cas[] = {
        {0, "0"},
        {2, "2"},
        {0.2, "0,2"},
        {-1.5, "-1,5"},
        {1234.4, "1234"},
        {12345, "1,235E+04"},
        {0.00012, "0,00012"},
        {0.000001, "1E-06"},
        {2.0004, "2"},
        {1e10, "1E+10"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.v);
        EXPECT_EQ(texteG4(c.v, u','), QString::fromUtf8(c.texte));
    }
}
