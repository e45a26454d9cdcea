// The rules of the preferences dialog without a window: the typed defaults, the transfer
// options, the Regressi program chosen and the curves recoloured.
#include "preferences.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

QString u8(const char* t) {
    return QString::fromUtf8(t);
}

struct CasDuree {
    const char* texte;
    double valeur;       // when accepted
    const char* message; // empty when accepted
};

TEST(PreferencesSaisie, DureeParDefaut) {
    const CasDuree cas[] = {
        {"20 ms", 0.02, ""},
        {"5 h", 5.0, ""}, // the trailing letter is no prefix: 5 s
        {"2 ks", 2000.0, ""},
        {"3600 s", 3600.0, ""},
        {"1 µs", 1e-6, ""},
        {"2.5", 2.5, ""},
        {"1 h 30", 0, "Saisie incorrecte de la durée totale par défaut"},
        {"", 0, "Saisie incorrecte de la durée totale par défaut"},
        {"abc", 0, "Saisie incorrecte de la durée totale par défaut"},
        {"1e400", 0, "Saisie incorrecte de la durée totale par défaut"},
        {"4000 s", 0, "Valeur maximale admise: 3600 s"},
        {"0.5 µs", 0, "Valeur minimale admise: 1 µs"},
        {"0", 0, "Valeur minimale admise: 1 µs"},
        // Signed: a negative duration is refused, however large.
        {"-20 ms", 0, "Valeur minimale admise: 1 µs"},
        {"-4000", 0, "Valeur minimale admise: 1 µs"},
    };
    for (const CasDuree& c : cas) {
        SCOPED_TRACE(c.texte);
        const TSaisie<double> s = lireDureeDefaut(u8(c.texte));
        EXPECT_EQ(s.message, u8(c.message));
        if (*c.message == 0) {
            ASSERT_TRUE(s.valeur.has_value());
            EXPECT_DOUBLE_EQ(*s.valeur, c.valeur);
        } else {
            EXPECT_FALSE(s.valeur.has_value());
        }
    }
}

struct CasPoints {
    const char* texte;
    int64_t valeur;
    const char* message;
};

TEST(PreferencesSaisie, NombreDePointsParDefaut) {
    const CasPoints cas[] = {
        {"1001", 1001, ""},
        {" 500 ", 500, ""},
        {"2.5", 2, ""}, // halves to even
        {"3.5", 4, ""},
        {"1", 1, ""},
        {"50001", 50001, ""},
        {"abc", 0, "Saisie incorrecte du nombre de points par défaut"},
        {"", 0, "Saisie incorrecte du nombre de points par défaut"},
        {"1e30", 0, "Valeur maximale admise: 50001 points"},
        {"50002", 0, "Valeur maximale admise: 50001 points"},
        {"0", 0, "Valeur minimale admise: 1 point"},
        {"0.4", 0, "Valeur minimale admise: 1 point"},
        {"-5", 0, "Valeur minimale admise: 1 point"},
    };
    for (const CasPoints& c : cas) {
        SCOPED_TRACE(c.texte);
        const TSaisie<int64_t> s = lireNbPointsDefaut(u8(c.texte), 50001);
        EXPECT_EQ(s.message, u8(c.message));
        EXPECT_EQ(s.valeur.has_value(), *c.message == 0);
        if (s.valeur) {
            EXPECT_EQ(*s.valeur, c.valeur);
        }
    }
}

TEST(PreferencesOptions, TroisBoutonsEtValeursStockees) {
    const std::pair<TChoixTransfert, int> cas[] = {{TChoixTransfert::NouveauDocument, 0},
                                                   {TChoixTransfert::NouvellePage, 1},
                                                   {TChoixTransfert::Demander, 3}};
    for (const auto& [choix, option] : cas) {
        EXPECT_EQ(optionTransfert(choix), option);
        EXPECT_EQ(choixTransfert(option), choix);
    }
    for (int inconnue : {2, -1, 4})
        EXPECT_EQ(choixTransfert(inconnue), TChoixTransfert::NouveauDocument) << inconnue;
}

TEST(PreferencesRegressi, ProgrammeChoisi) {
    const QString officiel = QStringLiteral("C:/Regressi/REGRESSI.EXE");
    const QString ancien = QStringLiteral("/ancien/REGRESSI.EXE");
    auto existe = [](const QString& c) { return !c.contains(QStringLiteral("absent")); };
    const struct {
        const char* nom;
        bool defaut;
        QString edite;
        bool versionDefaut;
        QString nonDefaut;
        QString utilise;
    } cas[] = {
        {"par défaut", true, QString(), true, ancien, officiel},
        {"choisi", false, QStringLiteral("/opt/wine/Regressi.exe"), false,
         QStringLiteral("/opt/wine/Regressi.exe"), QStringLiteral("/opt/wine/Regressi.exe")},
        {"autre nom", false, QStringLiteral("/opt/wine/tableur.exe"), true, ancien, officiel},
        {"disparu", false, QStringLiteral("/absent/REGRESSI.EXE"), true, ancien, officiel},
        {"vide", false, QString(), true, ancien, officiel},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const TRegressiChoisi r = regressiChoisi(c.defaut, c.edite, ancien, officiel, existe);
        EXPECT_EQ(r.versionRegressiDefaut, c.versionDefaut);
        EXPECT_EQ(r.cheminREGRESSINonDefautX, c.nonDefaut);
        EXPECT_EQ(r.cheminRegressiUt, c.utilise);
    }
}

TEST(PreferencesCouleurs, LesCourbesSuiventLaCouleurDeLeurEntree) {
    std::array<TColor, 8> clsVX = clsV0;
    clsVX[5] = clsVX[2]; // two inputs of one colour: the first decides
    std::array<TColor, 8> nouvelles = clsVX;
    nouvelles[2] = 0x0000FF00;
    nouvelles[5] = 0x00FF0000;
    nouvelles[7] = 0x00123456; // beyond the unit's inputs: ignored
    const TColor autre = 0x00ABCDEF;
    std::vector<TColor> courbes{clsVX[2], clsVX[0], autre, clsVX[2], clsVX[7]};
    appliquerCouleurs(courbes, clsVX, nouvelles, 7);
    EXPECT_EQ(courbes, (std::vector<TColor>{0x0000FF00, clsV0[0], autre, 0x0000FF00, clsV0[7]}));
    EXPECT_EQ(clsVX[2], 0x0000FF00u);
    EXPECT_EQ(clsVX[5], 0x00FF0000u);
    EXPECT_EQ(clsVX[0], clsV0[0]);
    EXPECT_EQ(clsVX[7], clsV0[7]);
}

// The time page on a unit that adjusts like an SP5 with 10 µs steps.
class PagePreferences : public ::testing::Test {
protected:
    void SetUp() override {
        r.itemsDurees = {u8("1 ms"), u8("2 ms"), u8("5 ms"), u8("10 ms"), u8("20 ms")};
        r.itemsNbPoints = {u8("11"), u8("101"), u8("1001"), u8("50001")};
        r.itemsSeuilsPretrig = {u8("1 s"), u8("2 s"), u8("5 s"), u8("10 s")};
        r.unite.nbPtsMin = 11;
        r.unite.nbPtsMax = 50001;
        r.unite.ajusterDurees = [this](double& d, int64_t& n) {
            ++ajustements;
            if (n < 11)
                return; // left as it is, as the unit does
            const double dt = std::max(1e-5, std::round(d / (n - 1) / 1e-5) * 1e-5);
            n = std::min<int64_t>(std::llround(d / dt) + 1, 50001);
            d = dt * (n - 1);
        };
        r.prepareIndexs();
    }
    TReglesPreferences r;
    int ajustements = 0;
};

TEST_F(PagePreferences, ValeursAccepteesAjusteesParLUnite) {
    EXPECT_EQ(r.texteDuree, u8("20 ms"));
    EXPECT_EQ(r.indexNbPoints, 2);
    EXPECT_EQ(r.indexSeuilPretrig, 2);

    EXPECT_EQ(r.sortieDuree(u8("10 ms")), QString());
    EXPECT_EQ(r.indexDuree, 3);
    EXPECT_DOUBLE_EQ(r.v.DureeTotaleDFT, 0.01);
    // 1 ms over 1001 points is 1 µs a step: the unit brings it to 101 points of 10 µs.
    EXPECT_EQ(r.sortieDuree(u8("1 ms")), QString());
    EXPECT_EQ(r.v.NbPtsDFT, 101);
    EXPECT_EQ(r.texteNbPoints, u8("101"));
    EXPECT_EQ(ajustements, 2);
    // Below the unit's smallest count, which it leaves as typed: brought up to it.
    EXPECT_EQ(r.sortieNbPoints(u8("5")), QString());
    EXPECT_EQ(r.v.NbPtsDFT, 11);
    EXPECT_EQ(r.indexNbPoints, 0);
}

TEST_F(PagePreferences, ValeurRefuseeLaisseLaValeurEnVigueur) {
    EXPECT_EQ(r.sortieDuree(u8("-5 ms")), u8("Valeur minimale admise: 1 µs"));
    EXPECT_EQ(r.sortieDuree(u8("4000 s")), u8("Valeur maximale admise: 3600 s"));
    EXPECT_EQ(r.sortieNbPoints(u8("1e30")), u8("Valeur maximale admise: 50001 points"));
    EXPECT_EQ(r.sortieNbPoints(u8("0")), u8("Valeur minimale admise: 1 point"));
    EXPECT_DOUBLE_EQ(r.v.DureeTotaleDFT, 0.02);
    EXPECT_EQ(r.v.NbPtsDFT, 1001);
    EXPECT_EQ(r.texteDuree, u8("20 ms"));
    EXPECT_EQ(r.texteNbPoints, u8("1001"));
    EXPECT_EQ(ajustements, 0);
    // A duration between the items is written in full.
    EXPECT_EQ(r.sortieDuree(u8("3 ms")), QString());
    EXPECT_EQ(r.indexDuree, -1);
    EXPECT_EQ(r.texteDuree, TReglesPreferences::texteDureeDefaut(0.003));
}

TEST_F(PagePreferences, SeuilDuPretrigEtParametresActuels) {
    r.sortieSeuilPretrig(u8("10 s"));
    EXPECT_DOUBLE_EQ(r.v.tMaxPretrigDispo, 10.0);
    EXPECT_EQ(r.indexSeuilPretrig, 3);
    r.sortieSeuilPretrig(u8("illisible"));
    EXPECT_DOUBLE_EQ(r.v.tMaxPretrigDispo, 10.0);
    r.seuilPretrigDefaut();
    EXPECT_DOUBLE_EQ(r.v.tMaxPretrigDispo, 5.0);
    EXPECT_EQ(r.indexSeuilPretrig, 2);

    r.unite.dureeTotale0X = 0.005;
    r.unite.nbPts0X = 101;
    r.parametresActuels();
    EXPECT_EQ(r.texteDuree, u8("5 ms"));
    EXPECT_EQ(r.texteNbPoints, u8("101"));
}

} // namespace
