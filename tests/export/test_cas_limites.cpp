// The Regressi file and the two tables on the cases that change their shape: one or seven
// curves, a left cursor between two samples, a cursor beyond the end, colours left out,
// either regional separator, long names, uncertainty and colour values.
#include "exemple_export.h"
#include "fichierregressi.h"
#include "fichierstexte.h"

#include <gtest/gtest.h>

namespace {

QString u8(const char* texte) {
    return QString::fromUtf8(texte);
}

QStringList regressi(const TInstantaneExport& e) {
    const std::optional<QByteArray> f = fichierRegressi(e);
    EXPECT_TRUE(f.has_value());
    return f ? lignesFichier(*f) : QStringList();
}

QString memoPoints(const QStringList& lignes) {
    const QStringList memo = section(lignes, u8("£2 MEMO GRANDEURS"));
    return memo.size() == 2 ? memo[1] : QString();
}

TInstantaneExport avecSeries(int nombre) {
    TInstantaneExport e = exempleExport();
    e.series.clear();
    for (int j = 0; j < nombre; ++j) {
        TSerieExport s = serieRampe(QStringLiteral("u[%1_M]").arg(j), 5, 0.5f);
        s.capCommRegvoie1VM = QStringLiteral("EA%1").arg(j);
        e.series.push_back(s);
    }
    return e;
}

TEST(CasRegressi, UneCourbe) {
    const QStringList f = regressi(avecSeries(1));
    EXPECT_EQ(section(f, u8("£2 NOM VAR")), (QStringList{"t", "u0_M"}));
    EXPECT_EQ(section(f, u8("£2 UNITE VAR")), (QStringList{"s", "V"}));
    EXPECT_EQ(section(f, u8("£2 PRECISION VAR")), (QStringList{"6", "4"}));
    EXPECT_EQ(memoPoints(f), u8("'5 points répartis sur 4,000 ms   1 série mesurée "));
    EXPECT_EQ(section(f, "&1 X"), QStringList{"t"});
}

// Only the first six curves go to Regressi; the tables take all of them.
TEST(CasRegressi, SeptCourbes) {
    const TInstantaneExport e = avecSeries(7);
    const QStringList f = regressi(e);
    EXPECT_EQ(section(f, u8("£7 NOM VAR")),
              (QStringList{"t", "u0_M", "u1_M", "u2_M", "u3_M", "u4_M", "u5_M"}));
    EXPECT_EQ(section(f, u8("£7 GENRE VAR")).size(), 7);
    EXPECT_EQ(section(f, u8("£7 INCERTITUDE")).size(), 7);
    EXPECT_EQ(section(f, "&6 COULEUR").size(), 6);
    EXPECT_EQ(section(f, "&6 Y").last(), "u5_M");
    EXPECT_EQ(memoPoints(f), u8("'5 points répartis sur 4,000 ms   6 séries mesurées "));
    EXPECT_EQ(section(f, "&5 VALEUR VAR")[1], "0.001 0.5 0.5 0.5 0.5 0.5 0.5");

    const QStringList csv = lignesFichier(*fichierCSV(e));
    EXPECT_EQ(csv[0], "t(s);u[0_M](V);u[1_M](V);u[2_M](V);u[3_M](V);u[4_M](V);u[5_M](V);"
                      "u[6_M](V)");
    EXPECT_EQ(csv[2], "0.001;0.5;0.5;0.5;0.5;0.5;0.5;0.5");
    const QStringList txt = lignesFichier(*fichierTXT(e));
    EXPECT_EQ(txt[4].size(), 8 * 15);
    EXPECT_TRUE(txt[4].endsWith(QStringLiteral("u[6_M](V)      ")));
}

// Left cursor at 2.3 samples: the first row is sample 2. Regressi writes its time as it is,
// the tables snap a time within half a sample of the cursor to 0.
TEST(CasLimites, CurseurGaucheEntreDeuxEchantillons) {
    TInstantaneExport e = exempleExport();
    e.t0 = 0.0023f;
    const QStringList f = regressi(e);
    EXPECT_EQ(section(f, "&3 VALEUR VAR"),
              (QStringList{"-0.0003 1 -0.25", "0.0007 1.5 -0.25", "0.0017 2 -0.25"}));
    EXPECT_EQ(memoPoints(f), u8("'3 points répartis sur 1,700 ms   2 séries mesurées "));

    const QStringList csv = lignesFichier(*fichierCSV(e));
    EXPECT_EQ(csv.mid(1), (QStringList{"0;1;-0.25", "0.0007;1.5;-0.25", "0.0017;2;-0.25"}));
    const QStringList txt = lignesFichier(*fichierTXT(e));
    EXPECT_EQ(txt.mid(6), (QStringList{"0              1              -0.25          ",
                                       "0.0007         1.5            -0.25          ",
                                       "0.0017         2              -0.25          "}));
}

// Left cursor moved onto a sample: the window keeps it in single precision, which is not
// exactly k × dtAX. The first row of every file is exactly 0 and the next ones whole steps.
TEST(CasLimites, CurseurGaucheSurUnEchantillon) {
    struct Cas {
        double dt;
        int nb, k;
        QStringList rw3, csv;
    };
    const Cas cas[] = {
        {0.001, 5, 1, {"0 1 -0.25", "0.001 2 -0.25"}, {"0;1;-0.25", "0.001;2;-0.25"}},
        {2e-5,
         1001,
         123,
         {"0 2.46 -0.25", "2E-005 2.48 -0.25"},
         {"0;2.46;-0.25", "2E-005;2.48;-0.25"}},
        {4e-4, 51, 7, {"0 2.8 -0.25", "0.0004 3.2 -0.25"}, {"0;2.8;-0.25", "0.0004;3.2;-0.25"}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.k);
        TInstantaneExport e = exempleExport();
        e.dtAX = c.dt;
        e.nbPtsAX = c.nb;
        e.dureeTotaleAX = e.tFin = c.dt * (c.nb - 1);
        e.series[0] = serieRampe(QStringLiteral("u[0_M]"), c.nb, static_cast<float>(c.dt * 1000));
        e.series[1].valeurs.assign(c.nb, -0.25f);
        e.t0 = static_cast<float>(c.k * c.dt);
        ASSERT_NE(static_cast<double>(e.t0), c.k * c.dt); // the residue is there
        const QString marqueur = QStringLiteral("&%1 VALEUR VAR").arg(c.nb - c.k);
        EXPECT_EQ(section(regressi(e), marqueur).mid(0, 2), c.rw3);
        EXPECT_EQ(lignesFichier(*fichierCSV(e)).mid(1, 2), c.csv);
        EXPECT_TRUE(lignesFichier(*fichierTXT(e))[6].startsWith(QStringLiteral("0    ")));
    }
}

// Right cursor beyond the series: the last row is the last sample.
TEST(CasLimites, CurseurDroitAuDelaDeLaSerie) {
    TInstantaneExport e = exempleExport();
    e.tFin = 1.0;
    const QStringList f = regressi(e);
    const QStringList valeurs = section(f, "&5 VALEUR VAR");
    ASSERT_EQ(valeurs.size(), 5);
    EXPECT_EQ(valeurs.last(), "0.004 2 -0.25");
    // The memo still gives the span between the cursors, here in the general format.
    EXPECT_EQ(memoPoints(f), u8("'5 points répartis sur 1 s   2 séries mesurées "));
    EXPECT_EQ(lignesFichier(*fichierCSV(e)).last(), "0.004;2;-0.25");
}

// The colour section only with option 1; the "X" section then follows the graph marker.
TEST(CasRegressi, OptionCouleurs) {
    for (const int option : {0, 2, -1}) {
        SCOPED_TRACE(option);
        TInstantaneExport e = exempleExport();
        e.OptionCouleursRegressi = option;
        const QStringList f = regressi(e);
        const qsizetype graphe = f.indexOf(u8("£0 GRAPHE VAR"));
        ASSERT_GE(graphe, 0);
        EXPECT_EQ(f[graphe + 1], "&2 X");
        EXPECT_FALSE(f.contains("&2 COULEUR"));
        // Everything else is the reference file less its three colour lines.
        EXPECT_EQ(f.size(), lignesFichier(fichierAttendu("exemple.rw3")).size() - 3);
    }
}

// Either regional separator: numbers in "." everywhere, except the memo duration.
TEST(CasLimites, SeparateurRegional) {
    for (const QChar sep : {QChar(u','), QChar(u'.')}) {
        SCOPED_TRACE(QString(sep).toStdString());
        TInstantaneExport e = exempleExport();
        e.separateur = sep;
        e.dtAX = 0.0005; // rows 0, 0.0005, ... with values 0.25 × k
        e.tFin = 0.002;
        const QStringList f = regressi(e);
        EXPECT_EQ(section(f, u8("£3 INCERTITUDE"))[0], "5.0E-04");
        EXPECT_EQ(section(f, "&5 VALEUR VAR")[3], "0.0015 1.5 -0.25");
        EXPECT_EQ(memoPoints(f),
                  u8("'5 points répartis sur 2") + sep + u8("000 ms   2 séries mesurées "));
        EXPECT_EQ(lignesFichier(*fichierCSV(e))[4], "0.0015;1.5;-0.25");
        EXPECT_TRUE(lignesFichier(*fichierTXT(e))[9].startsWith("0.0015         1.5    "));
    }
}

// Duration of the memo: engineering notation outside 0.1 s..1000 s, general format within.
TEST(CasRegressi, DureeDuMemo) {
    struct Cas {
        double dt, tFin;
        const char* duree;
    };
    const Cas cas[] = {
        {0.001, 0.004, "4,000 ms"}, {0.025, 0.1, "0,1 s"}, {0.02, 0.08, "80,00 ms"},
        {0.5, 2.0, "2 s"},          {0.625, 2.5, "2,5 s"}, {250, 1000, "1000 s"},
        {500, 2000, "2,000 ks"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.duree);
        TInstantaneExport e = exempleExport();
        e.dtAX = c.dt;
        e.tFin = c.tFin;
        EXPECT_EQ(memoPoints(regressi(e)),
                  u8("'5 points répartis sur ") + u8(c.duree) + u8("   2 séries mesurées "));
    }
}

// Uncertainties: the sampling interval in exponent form, each curve 2 × range index / 4096
// with 3 digits; colours are the 32-bit values read as signed integers.
TEST(CasRegressi, IncertitudesEtCouleurs) {
    TInstantaneExport e = exempleExport();
    e.dtAX = 0.00025;
    e.tFin = 0.001;
    e.series[0].calVM = 3;
    e.series[1].calVM = 1;
    e.series[0].clVM = 0xFF0000FF;
    e.series[1].clVM = 0x001C7824;
    const QStringList f = regressi(e);
    EXPECT_EQ(section(f, u8("£3 INCERTITUDE")), (QStringList{"2.5E-04", "0.00146", "0.000488"}));
    EXPECT_EQ(section(f, "&2 COULEUR"), (QStringList{"-16776961", "1865764"}));
}

TEST(Formats, ExposantDeuxChiffres) {
    struct Cas {
        double v;
        const char* texte;
    };
    const Cas cas[] = {{0.001, "1.0E-03"},    {1e-6, "1.0E-06"},    {0.00025, "2.5E-04"},
                       {0.000125, "1.3E-04"}, {2.0, "2.0E+00"},     {1500, "1.5E+03"},
                       {9.96, "1.0E+01"},     {1e-120, "1.0E-120"}, {0, "0.0E+00"},
                       {-0.02, "-2.0E-02"}};
    for (const Cas& c : cas)
        EXPECT_EQ(texteExposant2(c.v), QString::fromLatin1(c.texte)) << c.v;
}

TEST(Formats, GeneralTroisChiffres) {
    struct Cas {
        double v;
        const char* texte;
    };
    const Cas cas[] = {{0, "0"},           {2.0 / 4096, "0.000488"}, {6.0 / 4096, "0.00146"},
                       {0.5, "0.5"},       {123.456, "123"},         {999.6, "1E+03"},
                       {1234, "1.23E+03"}, {1e-5, "0.00001"},        {9.9e-6, "9.9E-06"},
                       {-1.5, "-1.5"}};
    for (const Cas& c : cas)
        EXPECT_EQ(texteGeneral3(c.v), QString::fromLatin1(c.texte)) << c.v;
}

TEST(CasRegressi, CorrigeEnteteReg) {
    EXPECT_EQ(corrigeEnteteReg("u[0_M]"), "u0_M");
    EXPECT_EQ(corrigeEnteteReg("u[1_5]b"), "u1_5b");
    EXPECT_EQ(corrigeEnteteReg("{a}[[b]]c"), "abc");
    EXPECT_EQ(corrigeEnteteReg(u8("θ(1)")), u8("θ(1)"));
}

// Names keep their markup in the tables; a text longer than a column is kept whole.
TEST(CasTableaux, NomsDesColonnes) {
    TInstantaneExport e = avecSeries(3);
    e.series[1].sEnteteVM = "u[1_M]";
    e.series[2].sEnteteVM = "u[0_M]a";
    EXPECT_EQ(lignesFichier(*fichierCSV(e))[0], "t(s);u[0_M](V);u[1_M](V);u[0_M]a(V)");

    e.series[1].sEnteteVM = "u[1_M]tres_long";
    const QStringList txt = lignesFichier(*fichierTXT(e));
    EXPECT_EQ(txt[4], "t(s)           u[0_M](V)      u[1_M]tres_long(V)u[0_M]a(V)     ");
    EXPECT_EQ(txt[7], "0.001          0.5            0.5            0.5            ");
}

// A comment text with a line break stays on one line.
TEST(CasRegressi, CommentaireSurUneLigne) {
    TInstantaneExport e = exempleExport();
    e.commentairePerso = "Bonjour\r\nà tous";
    const QStringList f = regressi(e);
    EXPECT_EQ(section(f, "&1 COM PERSO"), QStringList{u8("Bonjour  à tous")});
    EXPECT_EQ(f.size(), lignesFichier(fichierAttendu("exemple.rw3")).size());
}

} // namespace
