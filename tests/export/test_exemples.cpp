// The reference files, compared byte for byte: Windows-1252, CR LF after every line, no
// byte-order mark, "." in every number, the regional separator only in the memo duration.
#include "exemple_export.h"
#include "fichierregressi.h"
#include "fichierstexte.h"
#include "formats.h"

#include <gtest/gtest.h>

namespace {

struct CasExemple {
    const char* fichier;
    std::optional<QByteArray> (*ecrire)(const TInstantaneExport&);
};

class Exemples : public testing::TestWithParam<CasExemple> {};

TEST_P(Exemples, OctetPourOctet) {
    const std::optional<QByteArray> ecrit = GetParam().ecrire(exempleExport());
    ASSERT_TRUE(ecrit.has_value());
    const QByteArray attendu = fichierAttendu(GetParam().fichier);
    ASSERT_FALSE(attendu.isEmpty());
    EXPECT_EQ(*ecrit, attendu) << ecrit->constData();
}

// The global separator is the writers' business only through the snapshot: a program whose
// regional separator is "," writes the same bytes.
TEST_P(Exemples, SeparateurGlobalSansEffet) {
    const QChar ancien = separateurDecimal();
    setSeparateurDecimal(u',');
    const std::optional<QByteArray> ecrit = GetParam().ecrire(exempleExport());
    setSeparateurDecimal(ancien);
    ASSERT_TRUE(ecrit.has_value());
    EXPECT_EQ(*ecrit, fichierAttendu(GetParam().fichier));
}

INSTANTIATE_TEST_SUITE_P(Fichiers, Exemples,
                         testing::Values(CasExemple{"exemple.rw3", fichierRegressi},
                                         CasExemple{"exemple.txt", fichierTXT},
                                         CasExemple{"exemple.csv", fichierCSV}),
                         [](const auto& info) {
                             return std::string(info.param.fichier).substr(8);
                         });

// With the comma option every number of the CSV table takes ",", the columns keep ";" and
// the header is unchanged; the other formats ignore the option.
TEST(FichierCSV, VirguleDecimale) {
    TInstantaneExport e = exempleExport();
    e.separateurCSV = ',';
    const std::optional<QByteArray> ecrit = fichierCSV(e);
    ASSERT_TRUE(ecrit.has_value());
    EXPECT_EQ(*ecrit, fichierAttendu("exemple-virgule.csv")) << ecrit->constData();
    EXPECT_EQ(*fichierTXT(e), fichierAttendu("exemple.txt"));
    EXPECT_EQ(*fichierRegressi(e), fichierAttendu("exemple.rw3"));
}

// The accented letters and "£" of the Regressi file are single Windows-1252 bytes.
TEST(FichierRegressi, OctetsWindows1252) {
    const QByteArray f = *fichierRegressi(exempleExport());
    EXPECT_TRUE(f.startsWith("EVARISTE REGRESSI WINDOWS 1.0\r\n"));
    EXPECT_TRUE(f.contains("\r\n\xA3"
                           "3 NOM VAR\r\n"));
    EXPECT_TRUE(f.contains("r\xE9"
                           "alis\xE9"
                           "es"));
    EXPECT_TRUE(f.contains(" \xE0 10:15:00"));
    EXPECT_FALSE(f.contains("\xC3")); // no UTF-8 sequence
}

// A further page: the comment written now, the values, the options; the rows are the
// file's own rows.
TEST(FichierRegressi, PageSupplementaire) {
    TInstantaneExport e = exempleExport();
    e.maintenant = QDateTime(QDate(2026, 12, 10), QTime(8, 5, 7));
    const QStringList page = lignesFichier(*pageRegressi(e));
    const QStringList attendu{
        QString::fromUtf8("£1 PAGE COMMENT"),
        QString::fromUtf8("Mesures réalisées avec l'interface SYSAM SP5 le 10/12/2026 à 08:05:07"),
        "&5 VALEUR VAR",
        "0 0 -0.25",
        "0.001 0.5 -0.25",
        "0.002 1 -0.25",
        "0.003 1.5 -0.25",
        "0.004 2 -0.25",
        "&2 OPTIONS",
        "1",
        "1"};
    EXPECT_EQ(page, attendu);
    // The whole file dates its page with the same moment, and its acquisition memo keeps
    // the time of the acquisition.
    const QStringList fichier = lignesFichier(*fichierRegressi(e));
    EXPECT_EQ(fichier[fichier.indexOf(QString::fromUtf8("£1 PAGE COMMENT")) + 1], attendu[1]);
    EXPECT_TRUE(fichier.contains(QString::fromUtf8(
        "'Mesures réalisées avec l'interface SYSAM SP5 le 09/12/2026 à 10:15:00")));
    EXPECT_EQ(section(fichier, "&1 ORIGINE TEMPS"), QStringList{"09/12/2026"});
}

} // namespace
