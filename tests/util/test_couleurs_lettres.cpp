// Colour shades and letters of columns and series.
#include "couleurs.h"
#include "lettres.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct CasCouleur {
    TColor couleur;
    int pourcent;
    TColor attendu;
};

TEST(Couleurs, Assombrir) {
    const CasCouleur cas[] = {
        {0x0287FFBB, 30, 0x005EB283}, // 178.5 and 94.5 go to the even neighbour
        {0x0228AB34, 30, 0x001C7824},  {0x00030101, 50, 0x00020000}, // 0.5 → 0, 1.5 → 2
        {0x02FFFFFF, 150, 0x00000000}, {0x02FFFFFF, -5, 0x00FFFFFF}, // the top byte goes whatever p
        {0x00123456, 0, 0x00123456},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << std::hex << c.couleur << " " << std::dec << c.pourcent);
        EXPECT_EQ(assombrirCouleur(c.couleur, c.pourcent), c.attendu);
    }
}

TEST(Couleurs, Eclaircir) {
    const CasCouleur cas[] = {
        {0x02000090, 90, 0x00E5E5F3}, // 243.9 → 243, 229.5 → 229: truncated
        {0x02000090, 0, 0x00000090},  {0x02000090, 100, 0x00FFFFFF}, {0x02000090, 200, 0x00FFFFFF},
        {0x00102030, -1, 0x00102030}, {0x00000000, 33, 0x00545454}, // 84.15
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << std::hex << c.couleur << " " << std::dec << c.pourcent);
        EXPECT_EQ(eclaircirCouleur(c.couleur, c.pourcent), c.attendu);
    }
}

TEST(Couleurs, DeuxCouleursParDefautSontDesTeintesAssombries) {
    EXPECT_EQ(clsV0[2], assombrirCouleur(0x0228AB34, 30));
    EXPECT_EQ(clsV0[6], assombrirCouleur(0x0287FFBB, 30));
    for (int i : {0, 1, 3, 4, 5, 7})
        EXPECT_EQ(clsV0[static_cast<std::size_t>(i)] >> 24, 0x02u) << i;
}

struct CasLettres {
    int numero;
    const char* attendu;
};

TEST(Lettres, Colonnes) {
    const CasLettres cas[] = {
        {0, "A"},   {25, "Z"},   {26, "AA"},
        {27, "AB"}, {701, "ZZ"}, {702, "AAA"},
        {-1, "A"},  {-100, "A"}, {std::numeric_limits<int>::max(), "FXSHRXX"}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.numero);
        EXPECT_EQ(lettresColonne(c.numero), QString::fromLatin1(c.attendu));
    }
}

TEST(Lettres, Series) {
    const CasLettres cas[] = {{0, "a"},    {25, "z"}, {26, "aa"},
                              {701, "zz"}, {-1, ""},  {std::numeric_limits<int>::min(), ""}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.numero);
        EXPECT_EQ(lettresSerie(c.numero), QString::fromLatin1(c.attendu));
    }
}

TEST(Lettres, MajusculesAsciiSeulement) {
    EXPECT_EQ(majusculesAscii(QString::fromUtf16(u"abc \u00E9\u00E8\u00E0 Zz-9")),
              QString::fromUtf16(u"ABC \u00E9\u00E8\u00E0 ZZ-9"));
    EXPECT_EQ(majusculesAscii(QString::fromUtf16(u"\u00B5s \u00DF")),
              QString::fromUtf16(u"\u00B5S \u00DF"));
    EXPECT_EQ(majusculesAscii(QString()), QString());
}

} // namespace
