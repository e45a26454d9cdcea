// The shared signal bank: shapes, noise, settings text.
#include "bruit.h"
#include "configuration.h"
#include "signal_simule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace simulateurs;

namespace {

struct CasForme {
    const char* nom;
    ParametresSignal p;
    double t;
    double attendu;
};

TEST(BanqueSignaux, ChaqueFormeDonneSaValeurAuxInstantsCles) {
    const double e1 = 4.5 * (1 - std::exp(-1.0));
    const CasForme cas[] = {
        {"sinus au pic", {Forme::Sinus, 5, 100, 0, 0}, 0.0025, 5},
        {"sinus au creux", {Forme::Sinus, 5, 100, 1, 0}, 0.0075, -4},
        {"sinus au départ", {Forme::Sinus, 5, 100, 0, 0}, 0, 0},
        {"carré première moitié", {Forme::Carre, 2, 50, 0, 0}, 0.009, 2},
        {"carré seconde moitié", {Forme::Carre, 2, 50, 0, 0}, 0.011, -2},
        {"carré période suivante", {Forme::Carre, 2, 50, 0, 0}, 0.021, 2},
        {"triangle au quart", {Forme::Triangle, 8, 20, 0, 0}, 0.0125, 8},
        {"triangle à mi-période", {Forme::Triangle, 8, 20, 0, 0}, 0.025, 0},
        {"triangle aux trois quarts", {Forme::Triangle, 8, 20, 0, 0}, 0.0375, -8},
        {"scie à mi-période", {Forme::DentScie, 3, 10, 0, 0}, 0.05, 1.5},
        {"charge à τ", {Forme::Charge, 4.5, 10, 0, 0.01}, 0.01, e1},
        {"charge reprise", {Forme::Charge, 4.5, 10, 0, 0.01}, 0.11, e1},
        {"charge instantanée", {Forme::Charge, 4.5, 10, 0, 0}, 0.05, 4.5},
        {"constante", {Forme::Constante, 9, 9, 1.5, 0}, 123.4, 1.5},
        {"sans fréquence", {Forme::Carre, 2, 0, 0, 0}, 0.7, 2},
        {"temps négatif", {Forme::DentScie, 3, 10, 0, 0}, -0.025, 2.25},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_NEAR(Signal(c.p)(c.t), c.attendu, 1e-9);
    }
}

TEST(BanqueSignaux, UnSignalInvalideResteAZeroVolt) {
    const ParametresSignal invalides[] = {
        {Forme::Sinus, NAN, 10, 0, 0},         {Forme::Sinus, 1, INFINITY, 0, 0},
        {Forme::Sinus, 1, -5, 0, 0},           {Forme::Charge, 1, 10, 0, -1},
        {static_cast<Forme>(42), 1, 10, 3, 0}, {Forme::Constante, 0, 0, 1e300, 0},
    };
    for (const auto& p : invalides) {
        EXPECT_FALSE(signalValide(p));
        EXPECT_EQ(Signal(p)(0.3), 0);
    }
}

TEST(BanqueSignaux, LeBruitResteDansSesBornesEtLesCouvre) {
    for (int32_t pas : {0, 1, 5}) {
        SCOPED_TRACE(pas);
        int min = 1000, max = -1000;
        for (uint64_t k = 0; k < 10000; ++k) {
            const int32_t b = pasDeBruit(melange(k), pas);
            min = std::min(min, b);
            max = std::max(max, b);
        }
        EXPECT_EQ(min, -pas);
        EXPECT_EQ(max, pas);
    }
    EXPECT_EQ(melange(12345), melange(12345));
    EXPECT_NE(melange(12345), melange(12346));
}

TEST(ConfigurationSimulateur, DecoupeLesEntreesEtIgnoreLeReste) {
    const auto e = decoupeConfiguration(" EA0 = sinus:1:2 ;;sans_egal; =3; Bruit=0 ;x=");
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].cle, "ea0");
    EXPECT_EQ(e[0].valeur, "sinus:1:2");
    EXPECT_EQ(e[1].cle, "bruit");
    EXPECT_EQ(e[1].valeur, "0");
    EXPECT_EQ(e[2].cle, "x");
    EXPECT_EQ(e[2].valeur, "");
}

TEST(ConfigurationSimulateur, LitLesNombresAvecPointOuVirgule) {
    EXPECT_EQ(lireNombre("2.5"), 2.5);
    EXPECT_EQ(lireNombre(" 2,5 "), 2.5);
    EXPECT_EQ(lireNombre("+1e-3"), 1e-3);
    EXPECT_EQ(lireNombre("-4"), -4);
    for (const char* faux : {"", "abc", "1.2.3", "nan", "inf", "1e400", "3V", "+"})
        EXPECT_FALSE(lireNombre(faux).has_value()) << faux;
    EXPECT_EQ(lireEntier("17"), 17);
    EXPECT_FALSE(lireEntier("1.5").has_value());
    EXPECT_EQ(lireBooleen("Oui"), true);
    EXPECT_EQ(lireBooleen("0"), false);
    EXPECT_FALSE(lireBooleen("2").has_value());
}

TEST(ConfigurationSimulateur, LitUnSignal) {
    const auto s = lireSignal("charge:4.5:10:0:0.01");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->forme, Forme::Charge);
    EXPECT_EQ(s->amplitude, 4.5);
    EXPECT_EQ(s->frequence, 10);
    EXPECT_EQ(s->parametre, 0.01);
    const auto c = lireSignal("Constante:1,5");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->offset, 1.5);
    const auto sansTau = lireSignal("charge:1:20");
    ASSERT_TRUE(sansTau);
    EXPECT_DOUBLE_EQ(sansTau->parametre, 0.005);
    for (const char* faux :
         {"", "sinus", "sinus:1", "sinus:1:2:3:4:5", "constante", "constante:1:2", "carotte:1:2",
          "sinus:a:2", "sinus:1:-2", "charge:1:2:0:-1", ":1:2"})
        EXPECT_FALSE(lireSignal(faux).has_value()) << faux;
}

TEST(ConfigurationSimulateur, UnTexteQuelconqueNeFaitPasTomber) {
    std::string texte;
    uint64_t h = 7;
    for (int k = 0; k < 20000; ++k) {
        h = melange(h);
        const char alphabet[] = "=;:,.-+eE0123456789 sinuEA\xc3\xa9\x01";
        texte.push_back(alphabet[h % (sizeof alphabet - 1)]);
    }
    for (const auto& e : decoupeConfiguration(texte)) {
        const auto s = lireSignal(e.valeur);
        if (s) {
            EXPECT_TRUE(signalValide(*s));
        }
    }
}

} // namespace
