// The settings text of the SP5 simulator (same grammar as the environment variable).
#include "outils_sp5.h"

using namespace sp5test;

namespace {

TEST_F(SimulateurSP5, LeTexteDeReglagesChangeLesSignaux) {
    EXPECT_EQ(SimSP5_Configurer("EA0=sinus:2:50; ea1 = Constante : 1,5 ;EA2=carre:1:10:0.5;"
                                "EA3=charge:4.5:10:0:0.01;EA6=scie:3:10;EA7=triangle:8:20"),
              6);
    EXPECT_NEAR(SimSP5_Tension(0, 0.005), 2, 1e-12);
    EXPECT_EQ(SimSP5_Tension(1, 0.3), 1.5);
    EXPECT_EQ(SimSP5_Tension(2, 0.01), 1.5);
    EXPECT_NEAR(SimSP5_Tension(3, 0.01), 4.5 * (1 - std::exp(-1.0)), 1e-12);
    EXPECT_NEAR(SimSP5_Tension(6, 0.05), 1.5, 1e-12);
    EXPECT_NEAR(SimSP5_Tension(7, 0.0125), 8, 1e-12);
}

TEST_F(SimulateurSP5, LesEntreesFaussesSontIgnorees) {
    const char* fausses[] = {
        "EA8=sinus:1:1",
        "EA0=sinus:abc:1",
        "EA0=carotte:1:1",
        "EA0=sinus:1:1:0:0:9",
        "EA0=sinus:nan:1",
        "EA0=sinus:1e400:1",
        "EA0",
        "=5",
        ";;;",
        "bruit=-3",
        "bruit=1.5",
        "acceleration=0",
        "acceleration=1e12",
        "debranche=peut-être",
        "perte_mots=-1",
        "front_externe=demain",
        "inconnu=1",
        "",
    };
    for (const char* texte : fausses) {
        SCOPED_TRACE(texte);
        EXPECT_EQ(SimSP5_Configurer(texte), 0);
        EXPECT_NEAR(SimSP5_Tension(0, 0.0025), 5, 1e-12);
        EXPECT_TRUE(Present());
    }
    EXPECT_EQ(SimSP5_Configurer("EA0=sinus:1:1;n'importe quoi;bruit=0"), 2)
        << "the good entries around a bad one still apply";
}

TEST_F(SimulateurSP5, LeTexteDeReglagesPoseLesPannes) {
    EXPECT_EQ(SimSP5_Configurer("debranche=1"), 1);
    EXPECT_FALSE(Present());
    EXPECT_EQ(SimSP5_Configurer("debranche=0"), 1);
    EXPECT_TRUE(Present());

    EXPECT_EQ(SimSP5_Configurer("gain_nul=oui"), 1);
    EXPECT_EQ(Coefficients::lus().ampli[3], 0.0f);

    EXPECT_EQ(SimSP5_Configurer("bruit=0;acceleration=1e4;perte_mots=2"), 3);
    Programme p;
    p.nbPoints = 100;
    programme(p);
    demarre();
    EXPECT_EQ(litMots(100, 0.1).size(), 50u);
    arrete();

    EXPECT_EQ(SimSP5_Configurer("perte_mots=0;declenchement_absent=1"), 2);
    p.declenchement = 0x05;
    p.pretrig = 3;
    programme(p);
    ViderFifo();
    demarre();
    EXPECT_TRUE(litMots(1, 0.05).empty());
    arrete();

    EXPECT_EQ(SimSP5_Configurer("declenchement_absent=0;front_externe=0,0123456"), 2);
    ViderFifo();
    demarre();
    EXPECT_EQ(litMots(100).size(), 100u);
    EXPECT_EQ(litOctets(0x6F, 4), 352u);
}

TEST_F(SimulateurSP5, LAccelerationChangeLeRythme) {
    EXPECT_EQ(SimSP5_Configurer("acceleration=0,001"), 1);
    Programme p;
    p.motPeriode = 9999; // 1 ms: at 1/1000 one step per real second
    p.nbPoints = 100;
    programme(p);
    demarre();
    EXPECT_LE(litMots(100, 0.05).size(), 1u);
    EXPECT_EQ(SimSP5_Configurer("acceleration=1000"), 1);
    EXPECT_EQ(litMots(99).size(), 99u);
}

} // namespace
