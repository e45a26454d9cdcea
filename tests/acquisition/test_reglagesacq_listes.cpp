// Duration and point lists: their items, the +/- buttons, typed values, the messages on
// bad input, the limits and the timing texts. An SP5 object without its library: the
// settings are computed by the driver, nothing is sent.
#include "formats.h"
#include "test_reglagesacq_essai.h"

namespace {

class ReglagesListes : public ReglagesSansBibliotheque {};

TEST(ListesReglages, DureesEtPoints) {
    const QStringList& d = TReglagesAcq::listeDurees();
    ASSERT_EQ(d.size(), 30);
    EXPECT_EQ(d.front(), QString::fromUtf8("1 µs"));
    EXPECT_EQ(d[2], QString::fromUtf8("5 µs"));
    EXPECT_EQ(d[3], QString::fromUtf8("10 µs"));
    EXPECT_EQ(d[26], QStringLiteral("500 s"));
    EXPECT_EQ(d.back(), QStringLiteral("3600 s"));
    // Every item reads back as its own value, in increasing order.
    double avant = 0.0;
    for (const QString& t : d) {
        double v = 0.0;
        ASSERT_TRUE(TReglagesAcq::lireValeur(t, v)) << t.toStdString();
        EXPECT_GT(v, avant) << t.toStdString();
        avant = v;
    }
}

TEST_F(ReglagesListes, ListesDeLUnite) {
    EXPECT_EQ(r.etat.itemsDureeTotale, TReglagesAcq::listeDurees());
    const QStringList attendus{"11",   "21",   "51",   "101",   "201",   "501",
                               "1001", "2001", "5001", "10001", "20001", "50001"};
    EXPECT_EQ(r.etat.itemsNbPoints, attendus);
    // The default timing is shown selected.
    EXPECT_EQ(r.etat.texteDureeTotale, QStringLiteral("20 ms"));
    EXPECT_EQ(r.etat.indexDureeTotale, r.etat.itemsDureeTotale.indexOf("20 ms"));
    EXPECT_EQ(r.etat.texteNbPoints, QStringLiteral("1001"));
}

// A +/- press on a typed text or on a selected item.
struct CasPas {
    const char* texte; // typed; nullptr: the item below is selected
    const char* item;
    bool plus;
    const char* attendu;
    double duree; // applied to the unit, seconds
};

TEST_F(ReglagesListes, BoutonsDuree) {
    const CasPas cas[] = {
        {"7 ms", nullptr, true, "10 ms", 0.01},       {"7 ms", nullptr, false, "5 ms", 0.005},
        {"7ms", nullptr, true, "10 ms", 0.01},        {"2.10-3 s", nullptr, true, "5 ms", 0.005},
        {"abc", nullptr, true, "50 ms", 0.05}, // unreadable: from the duration in force
        {"7200 s", nullptr, false, "3600 s", 3600.0}, {"20 ms", nullptr, true, "50 ms", 0.05},
        {nullptr, "20 ms", true, "50 ms", 0.05},      {nullptr, "20 ms", false, "10 ms", 0.01},
        {nullptr, "3600 s", true, "3600 s", 3600.0},  {nullptr, "1 µs", false, "1 µs", 1e-6},
    };
    for (const CasPas& c : cas) {
        SCOPED_TRACE(c.texte ? c.texte : c.item);
        r.reglagesDefautMI();
        if (c.texte)
            r.saisieDureeTotale(QString::fromUtf8(c.texte));
        else
            r.selectionDureeTotale(r.etat.itemsDureeTotale.indexOf(QString::fromUtf8(c.item)));
        const TEffetsReglages e = c.plus ? r.clicDureeTotalePlus() : r.clicDureeTotaleMoins();
        EXPECT_TRUE(e.information.isEmpty());
        EXPECT_EQ(r.etat.texteDureeTotale, QString::fromUtf8(c.attendu));
        EXPECT_EQ(r.etat.itemsDureeTotale.value(r.etat.indexDureeTotale),
                  QString::fromUtf8(c.attendu));
        EXPECT_NEAR(u.dureeTotale0X, c.duree, c.duree * 1e-3);
        EXPECT_TRUE(e.axeTemps);
        EXPECT_TRUE(recepteur.recus.empty());
    }
}

TEST_F(ReglagesListes, BoutonsPoints) {
    const struct {
        const char* texte;
        bool plus;
        const char* attendu;
    } cas[] = {
        {"150", true, "201"},     {"150", false, "101"}, {"xyz", true, "2001"}, // from 1001 shown
        {"50001", true, "50001"}, {"11", false, "11"},   {"1001", true, "2001"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.texte);
        r.reglagesDefautMI();
        r.saisieNbPoints(QString::fromUtf8(c.texte));
        c.plus ? r.clicNbPointsPlus() : r.clicNbPointsMoins();
        EXPECT_EQ(r.etat.texteNbPoints, QString::fromUtf8(c.attendu));
        EXPECT_EQ(QString::number(u.nbPtsAffX), QString::fromUtf8(c.attendu));
    }
}

TEST_F(ReglagesListes, MessagesSurSaisieIncorrecte) {
    const double duree = u.dureeTotale0X;
    const int64_t points = u.nbPtsAffX;

    r.entreeDureeTotale();
    r.saisieDureeTotale(QStringLiteral("abc"));
    TEffetsReglages e = r.sortieDureeTotale();
    EXPECT_EQ(e.information,
              QString::fromUtf8("Valeur de durée totale incorrecte. Veuillez rectifier."));
    EXPECT_EQ(r.etat.texteDureeTotale, QStringLiteral("abc")); // kept for the user to mend
    EXPECT_DOUBLE_EQ(u.dureeTotale0X, duree);
    EXPECT_FALSE(r.ChangeDureeTotale(QStringLiteral("  ")).information.isEmpty());

    for (const char* texte : {"abc", "12.5", "1e3", ""}) {
        SCOPED_TRACE(texte);
        r.entreeNbPoints();
        r.saisieNbPoints(QString::fromUtf8(texte));
        e = r.sortieNbPoints();
        EXPECT_EQ(
            e.information,
            QString::fromUtf8("Le nombre de points saisi est incorrect. Veuillez rectifier."));
        EXPECT_EQ(r.etat.texteNbPoints, QString::number(points));
        EXPECT_EQ(u.nbPtsAffX, points);
        EXPECT_DOUBLE_EQ(u.dureeTotale0X, duree);
    }
    EXPECT_TRUE(r.changeNbPts(QStringLiteral(" 201 ")).information.isEmpty());
    EXPECT_EQ(u.nbPtsAffX, 201);
}

TEST_F(ReglagesListes, ValeursRameneesDansLesLimites) {
    const struct {
        const char* duree;
        const char* points;
        double dureeUnite;
        int64_t pointsUnite;
    } cas[] = {
        {"7200 s", "1001", 3600.0, 1001}, // two hours: 3600 s
        {"20 ms", "60000", 0.02, 50001},  // the SP5 holds 50001 points
        {"0,1 µs", "11", 1e-6, 11},       // below the unit's shortest duration
        {"-5 s", "1001", 1e-6, 11},       // negative: the shortest, 11 points at most
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.duree);
        r.reglagesDefautMI();
        r.changeNbPts(QString::fromUtf8(c.points));
        r.ChangeDureeTotale(QString::fromUtf8(c.duree));
        EXPECT_NEAR(u.dureeTotale0X, c.dureeUnite, c.dureeUnite * 1e-6);
        EXPECT_EQ(u.nbPtsAffX, c.pointsUnite);
        // The lists show what the unit kept.
        EXPECT_EQ(r.etat.texteNbPoints, QString::number(u.nbPtsAffX));
        double montre = 0.0;
        ASSERT_TRUE(TReglagesAcq::lireValeur(r.etat.texteDureeTotale, montre));
        EXPECT_NEAR(montre, u.dureeTotale0X, u.dureeTotale0X * 1e-3);
    }
}

// The unit ignores a count it cannot take: the list shows the count in force, not the
// one typed.
TEST_F(ReglagesListes, NombreIgnoreParLUnite) {
    r.changeNbPts(QStringLiteral("501"));
    const TEffetsReglages e = r.changeNbPts(QStringLiteral("5"));
    EXPECT_EQ(u.nbPtsAffX, 501);
    EXPECT_EQ(r.etat.texteNbPoints, QStringLiteral("501"));
    EXPECT_EQ(r.etat.itemsNbPoints.value(r.etat.indexNbPoints), QStringLiteral("501"));
    EXPECT_TRUE(e.information.isEmpty());
}

TEST_F(ReglagesListes, TextesDesParametresTemporels) {
    // 10 s over 101 points: 0,1 s in plain notation.
    r.changeNbPts(QStringLiteral("101"));
    r.ChangeDureeTotale(QStringLiteral("10 s"));
    EXPECT_FALSE(r.etat.texteTeIndices);
    EXPECT_EQ(r.etat.texteTe, QStringLiteral("0,1 s"));
    EXPECT_EQ(r.etat.texteDureeTotale, QStringLiteral("10 s"));
    // 20 ms over 1001 points: 20 µs, written with a raised exponent.
    r.changeNbPts(QStringLiteral("1001"));
    r.ChangeDureeTotale(QStringLiteral("20 ms"));
    EXPECT_TRUE(r.etat.texteTeIndices);
    EXPECT_TRUE(r.etat.texteTe.startsWith(QStringLiteral("2,000.10")))
        << r.etat.texteTe.toStdString();
    EXPECT_TRUE(r.etat.texteTe.endsWith(u's'));
    // A duration off the list is written out, the list has no selection.
    r.ChangeDureeTotale(QStringLiteral("7 ms"));
    EXPECT_EQ(r.etat.indexDureeTotale, -1);
    EXPECT_EQ(r.etat.texteDureeTotale, QStringLiteral("7,000 ms"));
    // Within 0,2 % of an item: the item is selected.
    r.ChangeDureeTotale(QStringLiteral("5,005 ms"));
    EXPECT_EQ(r.etat.texteDureeTotale, QStringLiteral("5 ms"));
    // Beyond 1000 s: five digits and " s".
    r.ChangeDureeTotale(QStringLiteral("1234,5 s"));
    EXPECT_EQ(r.etat.texteDureeTotale, QStringLiteral("1234,5 s"));
}

} // namespace

namespace {

// Without a unit every control is off and no click reaches anything.
TEST(ReglagesSansCentrale, RienNeSApplique) {
    TRecepteurEssai recepteur;
    TReglagesAcq r(recepteur);
    r.etat.voieActive.fill(true);
    r.prepareComposants();
    r.prepareCBTemporels();
    EXPECT_EQ(r.etat.voieActive, (std::array<bool, 8>{}));
    EXPECT_EQ(r.etat.calibreActif, (std::array<bool, 8>{}));
    EXPECT_EQ(r.etat.valeurActive, (std::array<bool, 8>{}));
    EXPECT_EQ(r.etat.indexTypeDeclenchement, 0);
    EXPECT_TRUE(r.etat.itemsDureeTotale.isEmpty());
    recepteur.etat = MODE_ACQ_PERMANENTE;
    for (const TEffetsReglages& e :
         {r.clicDureeTotalePlus(), r.clicNbPointsMoins(), r.clicCalibre(0, 1),
          r.clicVoieActive(1, true), r.clicTypeDeclenchement(1), r.sortieSeuil(),
          r.ChangeDureeTotale(QStringLiteral("1 s")), r.reglagesDefautMI()})
        EXPECT_FALSE(e.reglageEnregistre || e.axeTemps || e.grapheAvecCourbes ||
                     !e.information.isEmpty());
    EXPECT_TRUE(recepteur.recus.empty());
}

} // namespace
