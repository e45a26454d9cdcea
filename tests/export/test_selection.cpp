// The rows between the green cursors, counted on sample indices: i0 = Round(t0 / dtAX) and
// not below 0, i1 = Round(tFin / dtAX) and not beyond the last sample held; no row at all
// gives no file, whatever the writer.
#include "exemple_export.h"
#include "fichierregressi.h"
#include "fichierstexte.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct CasSelection {
    const char* nom;
    double dt;
    float t0;
    double tFin;
    int64_t dernier;
    int64_t i0, i1; // i1 < i0: no row
};

// dt = 0.5 keeps every quotient exact, so the ties show the rounding to even.
const CasSelection casSelection[] = {
    {"tout", 0.5, 0.0f, 2.0, 4, 0, 4},
    {"curseurGaucheNegatif", 0.5, -3.0f, 1.0, 4, 0, 2},
    {"egaliteVersPairBas", 0.5, 1.25f, 2.0, 4, 2, 4},  // 2.5 → 2
    {"egaliteVersPairHaut", 0.5, 1.75f, 2.0, 4, 4, 4}, // 3.5 → 4: one row
    {"finEgaliteVersPair", 0.5, 0.0f, 0.75, 4, 0, 2},  // 1.5 → 2
    {"finAuDelaDesEchantillons", 0.5, 0.0f, 100.0, 4, 0, 4},
    {"finInfinie", 0.5, 0.0f, std::numeric_limits<double>::infinity(), 4, 0, 4},
    {"debutApresLaFin", 0.5, 2.3f, 3.0, 4, 5, 4},
    {"curseursInverses", 0.5, 1.5f, 0.5, 4, 3, 1},
    {"aucunEchantillon", 0.5, 0.0f, 2.0, -1, 0, -1},
    {"pasNul", 0.0, 0.0f, 2.0, 4, 0, -1},
    {"pasNegatif", -0.5, 0.0f, 2.0, 4, 0, -1},
    {"pasIndefini", nan, 0.0f, 2.0, 4, 0, -1},
    {"finIndefinie", 0.5, 0.0f, nan, 4, 0, -1},
};

class Selection : public testing::TestWithParam<CasSelection> {};

TEST_P(Selection, IndicesDesEchantillons) {
    const CasSelection& c = GetParam();
    const std::optional<TSelection> s = selectionEchantillons(c.dt, c.t0, c.tFin, c.dernier);
    if (c.i1 < c.i0) {
        EXPECT_FALSE(s.has_value());
        return;
    }
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->i0, c.i0);
    EXPECT_EQ(s->i1, c.i1);
    EXPECT_GE(s->nbLignes(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cas, Selection, testing::ValuesIn(casSelection),
                         [](const auto& info) { return std::string(info.param.nom); });

// Cursors that leave no sample between them: no writer gives bytes, so no file and never a
// row count of 0 or below.
TEST(SansValeurs, AucunFichier) {
    struct Cas {
        const char* nom;
        float t0;
        double tFin;
    };
    const Cas cas[] = {
        {"gaucheApresLaFin", 0.0046f, 0.01},
        {"gaucheAPlusDunDemiPasDuDernier", 0.00451f, 0.01}, // Round(4.51) = 5
        {"droiteAvantGauche", 0.003f, 0.001},
        {"droiteNegative", 0.0f, -0.001},
        // Markers left where a longer duration put them: the left one on the end of the
        // committed series (4 ms), or on its last sample.
        {"gaucheSurLaFin", 0.004f, 0.01},
        {"gaucheSurLeDernierEchantillon", 0.0036f, 0.01}, // Round(3.6) = 4
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        TInstantaneExport e = exempleExport();
        e.t0 = c.t0;
        e.tFin = c.tFin;
        EXPECT_FALSE(fichierRegressi(e).has_value());
        EXPECT_FALSE(pageRegressi(e).has_value());
        EXPECT_FALSE(fichierTXT(e).has_value());
        EXPECT_FALSE(fichierCSV(e).has_value());
    }
}

// The end of the committed series bounds the left cursor in time too: the series may hold
// more values than its duration covers (columns of a longer frame).
TEST(SansValeurs, ComparaisonAvecLaSerieValidee) {
    TInstantaneExport e = exempleExport();
    e.t0 = 0.0029f; // sample 3 of 5: rows 3 and 4
    ASSERT_TRUE(selectionRegressi(e).has_value());
    EXPECT_EQ(selectionTableaux(e)->i0, 3);
    e.dureeTotaleAX = e.t0; // the left cursor on the end
    EXPECT_FALSE(selectionRegressi(e).has_value());
    EXPECT_FALSE(selectionTableaux(e).has_value());
    EXPECT_FALSE(fichierCSV(e).has_value());
}

TEST(SansValeurs, AucuneSerie) {
    TInstantaneExport e = exempleExport();
    e.series.clear();
    EXPECT_FALSE(fichierRegressi(e).has_value());
    EXPECT_FALSE(fichierTXT(e).has_value());
    EXPECT_FALSE(fichierCSV(e).has_value());
}

// A series holding fewer values than the acquisition bounds the rows: nothing is read
// beyond a column. The Regressi file only looks at the six series it writes.
TEST(SeriesCourtes, LignesBorneesParLaPlusCourte) {
    TInstantaneExport e = exempleExport();
    e.series[1].valeurs.resize(3);
    ASSERT_TRUE(selectionRegressi(e).has_value());
    EXPECT_EQ(selectionRegressi(e)->i1, 2);
    EXPECT_EQ(selectionTableaux(e)->i1, 2);
    EXPECT_EQ(section(lignesFichier(*fichierRegressi(e)), "&3 VALEUR VAR").size(), 3);
    EXPECT_EQ(lignesFichier(*fichierCSV(e)).size(), 1 + 3);

    TInstantaneExport sept = exempleExport();
    sept.series.clear();
    for (int j = 0; j < 7; ++j)
        sept.series.push_back(serieRampe(QStringLiteral("u[%1_M]").arg(j), j == 6 ? 2 : 5, 1));
    EXPECT_EQ(selectionRegressi(sept)->i1, 4);
    EXPECT_EQ(selectionTableaux(sept)->i1, 1);

    // nbPtsAX bounds the Regressi rows even when the columns are longer.
    TInstantaneExport longues = exempleExport();
    longues.nbPtsAX = 4;
    EXPECT_EQ(selectionRegressi(longues)->i1, 3);
    EXPECT_EQ(selectionTableaux(longues)->i1, 4);
}

} // namespace
