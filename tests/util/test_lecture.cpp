// Reading typed values: prefixes, units, «mantissa.10 exponent», regional separator.
#include "formats.h"
#include "lecture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr double intact = -12345.678; // the result must keep it on every failure

struct Cas {
    const char16_t* texte;
    char16_t separateur;
    int statut;
    double valeur; // read only with status 0
};

class Lecture : public testing::Test {
protected:
    void SetUp() override { ancien = separateurDecimal(); }
    void TearDown() override { setSeparateurDecimal(ancien); }
    QChar ancien;
};

void verifier(const Cas& c) {
    setSeparateurDecimal(QChar(c.separateur));
    SCOPED_TRACE(testing::Message() << QString::fromUtf16(c.texte).toStdString() << " avec '"
                                    << char(c.separateur) << "'");
    double r = intact;
    EXPECT_EQ(texteVersReel(QString::fromUtf16(c.texte), r), c.statut);
    if (c.statut == 0)
        EXPECT_DOUBLE_EQ(r, c.valeur);
    else
        EXPECT_EQ(r, intact);
}

TEST_F(Lecture, ValeursLues) {
    const Cas cas[] = {
        {u"10 ms", u',', 0, 0.01},
        {u"10 ms", u'.', 0, 0.01},
        {u"2,5V", u',', 0, 2.5},
        {u"2.5V", u',', 0, 2.5},
        {u"2.5V", u'.', 0, 2.5},
        {u"2.10-3 s", u',', 0, 0.002},
        {u"2.10-3 s", u'.', 0, 0.002},
        {u"5x10-6", u',', 0, 5e-6},
        {u"2x10-3", u'.', 0, 0.002},
        {u"3 \u00B5s", u',', 0, 3e-6},
        {u"3 \u03BCs", u'.', 0, 3e-6}, // the Greek mu is taken for micro too
        {u"1E3", u',', 0, 1000},
        {u"1e+3", u'.', 0, 1000},
        {u"3e-2 V", u',', 0, 0.03},
        {u"0.105", u',', 0, 0}, // ".10" then "5": 0 × 10^5
        {u"5 ms", u'.', 0, 0.005},
        {u"5 Ms", u'.', 0, 5e6},
        {u"-2,5 mV", u',', 0, -0.0025},
        {u"+4", u',', 0, 4},
        {u",5", u',', 0, 0.5},
        {u"5,", u',', 0, 5},
        {u"1 000", u'.', 0, 1000},
        {u"2 k\u03A9", u'.', 0, 2000},
        {u"12 T", u',', 0, 12e12},
        {u"7f", u',', 0, 7e-15},
        {u"4 GHz", u'.', 0, 4e9},
        {u"8 pF", u'.', 0, 8e-12},
        {u"1e-3 ms", u',', 0, 1e-6},
        {u"0.1", u'.', 0, 0.1},
        {u"0,1", u',', 0, 0.1},
        {u"1.7e308", u'.', 0, 1.7e308},
        {u"1e-320", u'.', 0, 1e-320},
        {u"1e-999999999", u'.', 0, 0}, // the power of ten underflows at once
        {u"1e", u',', 0, 1},           // a trailing "e" goes as a unit would
        {u"1e+", u'.', 0, 1},
    };
    for (const auto& c : cas)
        verifier(c);
}

TEST_F(Lecture, Echecs) {
    const Cas cas[] = {
        {u"abc", u',', 4, 0}, // stripped to «a»
        {u"ms", u',', 5, 0},  // everything from the prefix on goes
        {u"   ", u'.', 5, 0},
        {u"1.10", u',', 2, 0},
        {u"2.10+", u',', 2, 0}, // the "+" goes as a unit would, then «2e»
        {u"2.10x", u',', 2, 0},
        {u"1e3.5", u'.', 3, 0},
        {u"1e2147483648", u'.', 3, 0}, // too large for an int
        {u"1e999999999", u'.', 3, 0},  // the power of ten is not finite
        {u"1e308k", u'.', 4, 0},       // the result is not finite
        {u"1e308 G", u',', 4, 0},
        {u"2,5V", u'.', 4, 0},
        {u"1,2,3", u',', 4, 0},
        {u"2.5,1", u',', 4, 0},
        {u"--2", u'.', 4, 0},
        {u"-", u'.', 4, 0},
        {u"1_5", u'.', 4, 0},
        {u"2x5", u',', 4, 0}, // "x" is a multiplication sign only before "10"
    };
    for (const auto& c : cas)
        verifier(c);
}

// With "." as the regional separator, ".10" starts a decimal unless an exponent follows
// and the text reads as no decimal; with a comma it is always the power notation.
TEST_F(Lecture, PointDix) {
    const Cas cas[] = {
        {u"1.10", u'.', 0, 1.1},        {u"10.10 ms", u'.', 0, 0.0101},
        {u"1.100 s", u'.', 0, 1.1},     {u"2.103", u'.', 0, 2.103},
        {u"0.105", u'.', 0, 0.105},     {u"2.105e-3", u'.', 0, 2.105e-3},
        {u"2.10+3", u'.', 0, 2000},     {u"2.10-3", u'.', 0, 0.002},
        {u"1.5.10-3", u'.', 0, 1.5e-3}, {u"2x103", u'.', 0, 2000},
        {u"2.10x", u'.', 0, 2.1},       {u"2.103", u',', 0, 2000},
        {u"1.100 s", u',', 0, 1},       {u"2,5.10-3 V", u',', 0, 0.0025},
    };
    for (const auto& c : cas)
        verifier(c);
}

struct CasUnite {
    const char16_t* texte;
    const char16_t* unite;
    int statut;
    double valeur;
};

// After the number comes a prefix, then the unit named by the caller, and nothing else.
TEST_F(Lecture, LettresApresLeNombre) {
    setSeparateurDecimal(u',');
    const CasUnite cas[] = {
        {u"1 us", u"s", 0, 1e-6},      {u"1us", u"", 0, 1e-6},      {u"3 \u00B5s", u"s", 0, 3e-6},
        {u"10 mS", u"s", 0, 0.01},     {u"20 ms", u"s", 0, 0.02},   {u"5", u"s", 0, 5},
        {u"2.10-3 s", u"s", 0, 0.002}, {u"1e-3 s", u"s", 0, 0.001}, {u"500 mV", u"V", 0, 0.5},
        {u"1,5 v", u"V", 0, 1.5},      {u"-2 V", u"V", 0, -2},      {u"1 h", u"s", 6, 0},
        {u"2 min", u"s", 6, 0}, // "n" found first would make it 2 ns
        {u"1 zs", u"s", 6, 0},         {u"1 mms", u"s", 6, 0},      {u"1e ms", u"s", 6, 0},
        {u"5 V", u"s", 6, 0},          {u"5 ms", u"V", 6, 0},       {u"1 h", u"", 0, 1},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(QString::fromUtf16(c.texte).toStdString());
        double r = intact;
        EXPECT_EQ(texteVersReel(QString::fromUtf16(c.texte), r, QStringView(c.unite)), c.statut);
        EXPECT_DOUBLE_EQ(r, c.statut == 0 ? c.valeur : intact);
    }
}

// What the program shows, in the duration list (4 digits and a prefix) and in the threshold
// field (general format), it reads back as the same value, in both kinds of locale.
TEST_F(Lecture, AllerRetourDesTextesAffiches) {
    const double valeurs[] = {1.1,  10.1e-3, 1.01,  0.105, 2e-3, 1e-6,   12.5e-6,
                              3600, 1000,    20e-3, 101,   0.1,  -0.105, 2.25};
    for (const char16_t separateur : {u',', u'.'}) {
        setSeparateurDecimal(QChar(separateur));
        for (const double v : valeurs) {
            const std::pair<QString, QString> textes[] = {
                {formatReel(4, 4, v) + u's', QStringLiteral("s")},
                {texteG6(static_cast<float>(v)), QStringLiteral("V")}};
            for (const auto& [texte, unite] : textes) {
                SCOPED_TRACE(texte.toStdString() + " avec '" + char(separateur) + "'");
                double lu = intact;
                ASSERT_EQ(texteVersReel(texte, lu, unite), 0);
                EXPECT_NEAR(lu, v, 1e-4 * std::fabs(v));
                const QString encore =
                    unite == u"s" ? formatReel(4, 4, lu) + u's' : texteG6(static_cast<float>(lu));
                EXPECT_EQ(encore, texte);
                double relu = intact;
                ASSERT_EQ(texteVersReel(encore, relu, unite), 0);
                EXPECT_EQ(relu, lu);
            }
        }
    }
}

TEST_F(Lecture, TexteVideLaisseLeResultat) {
    double r = intact;
    EXPECT_EQ(texteVersReel(QString(), r), 0);
    EXPECT_EQ(r, intact);
}

TEST_F(Lecture, NombresTropLongs) {
    setSeparateurDecimal(u'.');
    double r = intact;
    EXPECT_EQ(texteVersReel(QString(u'1') + QString(400, u'0'), r), 4);
    EXPECT_EQ(r, intact);
    EXPECT_EQ(texteVersReel(QStringLiteral("0.") + QString(400, u'0') + u'1', r), 0);
    EXPECT_EQ(r, 0.0);
}

} // namespace
