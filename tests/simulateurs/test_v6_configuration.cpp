// The settings text of the V6 simulator: each key, bad entries skipped.
#include "outils_v6.h"

#include <cmath>

using namespace v6test;

namespace {

TEST(ConfigurationV6, ChaqueCleEtLesEntreesMalEcritesIgnorees) {
    SimV6_Reinitialiser();
    struct Cas {
        const char* texte;
        int32_t appliquees;
    };
    for (const Cas& c : {Cas{"EA1=sinus:2:50", 1},
                         Cas{"ea3 = constante : 1,5", 1},
                         Cas{"EA0=sinus:1:1", 0},
                         Cas{"EA4=sinus:1:1", 0},
                         Cas{"bruit=3;bruit=-1;bruit=x", 1},
                         Cas{"acceleration=10", 1},
                         Cas{"acceleration=0", 0},
                         Cas{"perte_octets=5", 1},
                         Cas{"echo_perdu=4", 1},
                         Cas{"retard_echo=0,01", 1},
                         Cas{"retard_echo=-1", 0},
                         Cas{"defaut_reponse=lf", 1},
                         Cas{"defaut_reponse=vide:3", 1},
                         Cas{"defaut_reponse=autre", 0},
                         Cas{"defaut_reponse=cr:0", 0},
                         Cas{"calibrage_interrompu=12", 1},
                         Cas{"octets_pieges=oui", 1},
                         Cas{"declenchement_absent=1", 1},
                         Cas{"front_externe=0.2", 1},
                         Cas{"debranche=non", 1},
                         Cas{"inconnue=1", 0},
                         Cas{";;=;", 0}}) {
        EXPECT_EQ(SimV6_Configurer(c.texte), c.appliquees) << c.texte;
    }
    EXPECT_EQ(SimV6_Configurer(nullptr), 0);
    EXPECT_NEAR(SimV6_Tension(0, 0.005), 2, 1e-9);
    EXPECT_EQ(SimV6_Tension(2, 0.3), 1.5);
    SimV6_Reinitialiser();
}

// The settings act: a reply fault set by text shows on the link.
TEST(ConfigurationV6, UnDefautEcritSeVoitSurLaLiaison) {
    SimV6_Reinitialiser();
    ASSERT_EQ(SimV6_Configurer("defaut_reponse=vide; echo_perdu=0"), 2);
    FT_HANDLE h = ouvrePort();
    EXPECT_EQ(commande(h, "2"), attendu("2", ""));
    EXPECT_EQ(FT_Close(h), FT_OK);
    SimV6_Reinitialiser();
}

} // namespace
