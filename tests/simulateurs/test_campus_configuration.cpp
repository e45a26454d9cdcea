// The CAMPUS simulator's settings text (SimCampus_Configurer, the same grammar as the
// environment variable) and the shared library itself, loaded by absolute path.
#include "outils_campus.h"

#if !defined(_WIN32)
#include <cstdlib>
#include <dlfcn.h>
#endif

namespace {

using campustest::Etalonnage;
using campustest::lance;
using campustest::litEchantillons;
using campustest::SimulateurCampus;
using campustest::texte;

TEST_F(SimulateurCampus, ConfigurationAppliqueLesBonnesEntreesEtIgnoreLesAutres) {
    struct Cas {
        const char* texte;
        int32_t appliquees;
    };
    const Cas cas[] = {
        {"V1=constante:2,5", 1},
        {" v4 = sinus:1:50:0,5 ; bruit=0", 2},
        {"V5=sinus:1:1;V0=constante:1;EA1=constante:1", 0},
        {"V2=sinus:x:1;bruit=-1;bruit=5000;latence=abc;acceleration=0", 0},
        {"numero_serie=CAMP0007;latence=3", 2},
        {"numero_serie=;numero_serie=0123456789012345678901234567890123456789", 0},
        {"ecart_calibrage=V3:1:0,4;ecart_calibrage=V3:2:0,4;ecart_calibrage=V9:1:0,1", 1},
        {"calibrete=1;calibrete=7;rafales=2;rafales=-1;debranche_apres=0,5", 3},
        {"echec_preparation=oui;echec_demarrage=non;pas_partiels=1;declenchement_absent=vrai", 4},
        {"front_externe=0,02;debranche=peut-etre;inconnu=1;sans egal", 1},
        {"", 0},
    };
    for (const Cas& c : cas) {
        SimCampus_Reinitialiser();
        EXPECT_EQ(SimCampus_Configurer(c.texte), c.appliquees) << c.texte;
    }
    EXPECT_EQ(SimCampus_Configurer(nullptr), 0);
}

TEST_F(SimulateurCampus, ConfigurationPrendEffet) {
    ASSERT_EQ(SimCampus_Configurer("V1=constante:2,5;V4=carre:1:10;numero_serie=CAMP0007;"
                                   "bruit=0;ecart_calibrage=v2:15:0,5;calibrete=2"),
              6);
    EXPECT_EQ(SimCampus_Tension(0, 0.123), 2.5);
    EXPECT_EQ(SimCampus_Tension(3, 0.01), 1);
    EXPECT_EQ(SimCampus_Tension(3, 0.06), -1);
    EXPECT_EQ(texte(DonneNumeroSerieCentrale()), u"CAMP0007");
    ASSERT_EQ(texte(SelectionneCalibre(1, 15)), u"");
    EXPECT_GT(Etalonnage::de(1).gain / (30.0 / 4096), 1.45);
    const int32_t ordre[9] = {0, -1, -1, -1, -1, -1, -1, -1, -1};
    EXPECT_EQ(CalibreTe(1e-3, ordre), 0);
    const Etalonnage e = Etalonnage::de(0);
    EXPECT_NEAR(e.volts(LitValeurVoie(0)), 2.5, 0.51 * e.gain);

    ASSERT_EQ(SimCampus_Configurer("debranche=1"), 1);
    EXPECT_EQ(texte(DonneNumeroSerieCentrale()), u"");
    ASSERT_EQ(SimCampus_Configurer("debranche=0;echec_demarrage=1"), 2);
    int32_t o[9] = {0, -1, -1, -1, -1, -1, -1, -1, -1};
    double te = 1e-4;
    int32_t points = 10;
    ASSERT_EQ(PrepareAcquisition(o, &te, &points, 0, 0, 0, 0, 0, nullptr), 0);
    EXPECT_NE(DemarreAcquisition(nullptr), 0);
}

#if !defined(_WIN32)
TEST(BibliothequeCampus, ExporteSesFonctionsEtLitLaVariableAuChargement) {
    ASSERT_EQ(setenv("KIRVANE_SIMULATEUR_CAMPUS",
                     "V1=constante:2,5; bruit=0;n'importe quoi;V9=sinus:1:1;acceleration=abc;"
                     "V2=sinus:x:1;debranche=oui",
                     1),
              0);
    void* bib = dlopen(CAMPUSSIM_CHEMIN, RTLD_NOW | RTLD_LOCAL);
    unsetenv("KIRVANE_SIMULATEUR_CAMPUS");
    ASSERT_NE(bib, nullptr) << dlerror();
    for (const char* nom :
         {"DonneNumeroSerieCentrale", "SelectionneCalibre", "CommandeLed",
          "ConvertiDonneeEntreeNumeriqueEnAnalogique", "CalibreTe", "PrepareAcquisition",
          "DemarreAcquisition", "LitDonneeNumerique", "StoppeAcquisition", "LitValeurVoie",
          "ReseteSortie", "FermeConnectionUSB", "SimCampus_Reinitialiser", "SimCampus_SetBruit",
          "SimCampus_SetDebranche", "SimCampus_Tension", "SimCampus_Configurer"})
        EXPECT_NE(dlsym(bib, nom), nullptr) << nom;
    EXPECT_EQ(
        dlsym(bib, "_ZN9campussim17coefficientsUniteESt17basic_string_viewIcSt11char_traitsIcEE"),
        nullptr)
        << "internals stay hidden";

    const auto serie =
        reinterpret_cast<TDonneNumeroSerieCentrale>(dlsym(bib, "DonneNumeroSerieCentrale"));
    const auto debranche =
        reinterpret_cast<void (*)(int32_t)>(dlsym(bib, "SimCampus_SetDebranche"));
    const auto tension =
        reinterpret_cast<double (*)(int32_t, double)>(dlsym(bib, "SimCampus_Tension"));
    ASSERT_TRUE(serie && debranche && tension);
    EXPECT_EQ(texte(serie()), u"");
    EXPECT_EQ(tension(0, 0.0123), 2.5);
    EXPECT_NEAR(tension(1, 0.005), 2, 1e-12) << "a bad entry leaves the default";
    debranche(0);
    EXPECT_EQ(texte(serie()), u"CAMPSIMUL");
    dlclose(bib);
}
#endif

} // namespace
