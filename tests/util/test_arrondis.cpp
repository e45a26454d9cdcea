// Rounding helpers: halves to even, saturation, significant digits, readable steps.
#include "arrondis.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr int intMax = std::numeric_limits<int>::max();
constexpr int intMin = std::numeric_limits<int>::min();
constexpr std::int64_t i64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t i64Min = std::numeric_limits<std::int64_t>::min();

struct CasEntier {
    double x;
    int attendu;
};

TEST(Arrondis, ArrondiEnvoieLesMoitiesAuPairEtSature) {
    const CasEntier cas[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {-0.5, 0},
        {1.5, 2},
        {2.4999999, 2},
        {2.5000001, 3},
        {-7.6, -8},
        {nan, 0},
        {inf, intMax},
        {-inf, intMin},
        {1e300, intMax},
        {-1e300, intMin},
        {2147483647.4, intMax},
        {2147483647.5, intMax},
        {2147483646.5, 2147483646},
        {-2147483648.4, intMin},
        {-2147483648.6, intMin},
        {-2147483647.5, -2147483648},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(arrondi(c.x), c.attendu);
    }
}

TEST(Arrondis, ArrondiNeDependPasDuModeDArrondi) {
    const int mode = std::fegetround();
    std::fesetround(FE_UPWARD);
    const int a = arrondi(2.5), b = arrondi(-3.5), c = arrondi(2.2);
    std::fesetround(FE_DOWNWARD);
    const int d = arrondi(2.7);
    std::fesetround(mode);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, -4);
    EXPECT_EQ(c, 2);
    EXPECT_EQ(d, 3);
}

TEST(Arrondis, TronqueDepouilleLaFractionEtSature) {
    const CasEntier cas[] = {{2.9, 2},
                             {-2.9, -2},
                             {0.999, 0},
                             {nan, 0},
                             {inf, intMax},
                             {-inf, intMin},
                             {1e300, intMax},
                             {2147483647.9, intMax},
                             {-2147483648.9, intMin},
                             {-2147483649.0, intMin}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(tronque(c.x), c.attendu);
    }
}

TEST(Arrondis, VariantesSoixanteQuatreBits) {
    struct Cas {
        double x;
        std::int64_t arrondi, tronque;
    };
    const Cas cas[] = {
        {2.5, 2, 2},
        {-2.5, -2, -2},
        {3.5, 4, 3},
        {nan, 0, 0},
        {inf, i64Max, i64Max},
        {-inf, i64Min, i64Min},
        {1e300, i64Max, i64Max},
        {-1e300, i64Min, i64Min},
        {9.3e18, i64Max, i64Max},
        {-9223372036854775808.0, i64Min, i64Min},
        {4611686018427387904.0, 4611686018427387904, 4611686018427387904},
        {4503599627370495.5, 4503599627370496, 4503599627370495},
        {3e9, 3000000000, 3000000000},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(arrondi64(c.x), c.arrondi);
        EXPECT_EQ(tronque64(c.x), c.tronque);
    }
}

TEST(Arrondis, MaxEtMinArrondis) {
    EXPECT_EQ(maxArrondi(2.5f, 0), 2);
    EXPECT_EQ(maxArrondi(-3.7f, 0), 0);
    EXPECT_EQ(maxArrondi(3.5, 1.0), 4);
    EXPECT_EQ(maxArrondi(1.5f, 0.5f), 2);
    EXPECT_EQ(minArrondi(2.5, 7.0), 2);
    EXPECT_EQ(minArrondi(-2.5f, 3.f), -2);
    EXPECT_EQ(minArrondi(4.5f, 10), 4);
    EXPECT_EQ(maxArrondi(1e10, 0), intMax);
    EXPECT_EQ(minArrondi(-1e10, 0), intMin);
    EXPECT_EQ(maxArrondi(3, 8), 8);
    EXPECT_EQ(maxReel(-1.0, 2.0), 2.0);
    EXPECT_EQ(minReel(-1.0, 2.0), -1.0);
}

TEST(Arrondis, SigneReel) {
    EXPECT_EQ(signeReel(3.f), 1);
    EXPECT_EQ(signeReel(-0.1f), -1);
    EXPECT_EQ(signeReel(0.f), 0);
    EXPECT_EQ(signeReel(-0.f), 0);
    EXPECT_EQ(signeReel(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(signeReel(std::numeric_limits<float>::denorm_min()), 1);
}

TEST(Arrondis, DecomposeMantisseGardeLeSigne) {
    struct Cas {
        double v, m;
        int e;
    };
    const Cas cas[] = {{1234.5, 1.2345, 3}, {-0.0025, -2.5, -3},   {1, 1, 0},
                       {0, 0, 0},           {9.5e-300, 9.5, -300}, {7e250, 7, 250}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.v);
        const auto r = decomposeMantisse(c.v);
        EXPECT_DOUBLE_EQ(r.mantisse, c.m);
        EXPECT_EQ(r.exposant, c.e);
    }
}

TEST(Arrondis, ArrondiSignificatif) {
    struct Cas {
        double x;
        int n;
        double attendu;
    };
    const Cas cas[] = {
        {123456789.0, 6, 123457000.0},
        {0.000123456789, 3, 0.000123},
        {-2.71828, 3, -2.72},
        {1.23456e-300, 2, 1.2e-300},
        {0, 6, 0},
        {2.5, 1, 2},
        {3.5, 1, 4},
        {-25, 1, -20},
        {9.9999996, 6, 10},
        {1e-3, 6, 1e-3},
        {0.1 + 0.2, 6, 0.3},
        {1.5, 0, 2},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.x << " n=" << c.n);
        double x = c.x;
        arrondiSignificatif(x, c.n);
        EXPECT_DOUBLE_EQ(x, c.attendu);
    }
    double x = nan;
    arrondiSignificatif(x, 3);
    EXPECT_TRUE(std::isnan(x));
}

TEST(Arrondis, ArrondiMultiple) {
    struct Cas {
        float v, pas, attendu;
    };
    const Cas cas[] = {{7.3f, 0.5f, 7.5f},
                       {-7.3f, 2.f, -8.f},
                       {7.f, 2.f, 8.f},
                       {5.f, 2.f, 4.f},
                       {0.26f, 0.1f, 0.3f},
                       {12.f, 0.f, 12.f},
                       {3.f, std::numeric_limits<float>::infinity(), 3.f}};
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.v << " pas " << c.pas);
        float v = c.v;
        arrondiMultiple(v, c.pas);
        EXPECT_FLOAT_EQ(v, c.attendu);
    }
}

TEST(Arrondis, ArrondiLisibleMonteVersUnPasLisible) {
    struct Cas {
        double tolerance, v;
        float attendu;
    };
    const Cas cas[] = {
        {50, 2.3, 3.f},           {10, 2.3, 2.3f},  {10, 2.34, 2.4f},
        {50, 0.0023, 0.003f},     {10, 2, 2.f},     {50, -2.3, -2.f},
        {10, -2.34, -2.3f},       {5, 25, 25.f},    {5, 0.263, 0.27f},
        {5, 0.26, 0.26f},         {10, 1e-16, 0.f}, {50, 87000, 90000.f},
        {1, 1.23456e-6, 1.3e-6f},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.v << " tolérance " << c.tolerance);
        EXPECT_FLOAT_EQ(arrondiLisible(c.tolerance, c.v), c.attendu);
    }
    EXPECT_EQ(arrondiLisible(10, nan), 0.f);
}

} // namespace
