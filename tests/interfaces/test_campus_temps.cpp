// The CAMPUS timebase: the interval grid, the fit of the points within 4000 with the
// pretrigger guard blocks, and the timing computed without the unit.
#include "campus_factice.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using campusfactice::Banc;

TEST(CampusTemps, GrilleDesIntervalles) {
    const struct {
        double te, calibre, suivant;
    } cas[] = {
        {3.3e-7, 3e-7, 4e-7},      {5e-8, 1e-7, 1e-7},         {9.6e-7, 1e-6, 2e-6},
        {1.26e-6, 1.3e-6, 1.4e-6}, {1.234e-4, 1.2e-4, 1.3e-4}, {0.0199, 0.019, 0.02},
        {2.5e-4, 2.5e-4, 2.6e-4},  {1e-4, 1e-4, 1.1e-4},       {0.0, 1e-7, 1e-7},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.te);
        EXPECT_NEAR(TSYSAMCAMPUS::calibreTeArithmetique(k.te), k.calibre, k.calibre * 1e-9);
        EXPECT_NEAR(TSYSAMCAMPUS::TeSuperieurSuivant(k.te), k.suivant, k.suivant * 1e-9);
    }
}

TEST(CampusTemps, CasTravailles) {
    // mode, pretrigger %, duration, points -> interval, shown, acquired, guards, pretrigger
    // points, duration, ticks, share sent to the unit, read after the end
    const struct {
        int mode;
        float pretrig;
        double duree;
        int64_t points;
        double dt;
        int64_t affiches, acquis;
        int psc, ptsPretrig;
        double dureeObtenue;
        int64_t ndt;
        int aPreTrig, recuperation;
    } cas[] = {
        {0, 0.0f, 0.1, 1001, 1e-4, 1001, 1001, 0, 0, 0.1, 1000, 0, 1},
        {0, 0.0f, 1.0, 4000, 2.5e-4, 4000, 4000, 0, 0, 1.0, 2500, 0, 0},
        {0, 0.0f, 1.0, 3000, 3.3e-4, 3031, 3031, 0, 0, 0.9999, 3300, 0, 0},
        {1, 25.0f, 0.1, 1001, 1e-4, 1001, 1002, 10, 250, 0.1, 1000, 25, 1},
        {1, 50.0f, 1.0, 4000, 2.6e-4, 3847, 3848, 38, 1923, 0.99996, 2600, 50, 0},
        {0, 0.0f, 2e-4, 1001, 2e-7, 1001, 1001, 0, 0, 2e-4, 2, 0, 1},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(testing::Message() << k.mode << " " << k.duree << " s " << k.points);
        Banc b;
        b.c.setModeDeclenchement(k.mode, false);
        b.c.setPretrig(k.pretrig, false);
        b.c.setDurees(k.duree, k.points, false);
        EXPECT_NEAR(b.c.dt0X, k.dt, k.dt * 1e-9);
        EXPECT_EQ(b.c.nbPtsAffX, k.affiches);
        EXPECT_EQ(b.c.nbPts0X, k.acquis);
        EXPECT_EQ(b.c.psc1, k.psc);
        EXPECT_EQ(b.c.psc2, k.psc);
        EXPECT_EQ(b.c.nbPtsPretrig, k.ptsPretrig);
        EXPECT_NEAR(b.c.dureeTotale0X, k.dureeObtenue, 1e-9);
        EXPECT_EQ(b.c.ndt, k.ndt);
        EXPECT_EQ(b.c.aPreTrig1, k.aPreTrig);
        EXPECT_EQ(b.c.modeRecuperation, k.recuperation);
        EXPECT_EQ(b.c.aNombreDePoint1, k.acquis + 2 * k.psc);
    }
}

TEST(CampusTemps, LesPointsProgrammesTiennentToujoursDans4000) {
    Banc b({0, 1});
    const double durees[] = {1e-6, 3.7e-5, 1e-3, 0.0123, 0.15, 0.7, 1.0, 2.2, 37.0, 3600.0};
    const int64_t points[] = {11, 500, 1001, 2999, 3960, 3999, 4000, 4001, 100000};
    const float pretrigs[] = {0.0f, 0.01f, 25.0f, 50.0f, 75.0f, 99.0f, 100.0f};
    for (int mode = 0; mode <= 2; ++mode) {
        b.c.setModeDeclenchement(mode, false);
        for (float p : pretrigs) {
            b.c.setPretrig(p, false);
            for (double d : durees)
                for (int64_t n : points) {
                    b.c.setDurees(d, n, false);
                    SCOPED_TRACE(testing::Message()
                                 << mode << " " << p << " % " << d << " s " << n);
                    ASSERT_LE(b.c.nbPts0X + b.c.psc1 + b.c.psc2, 4000);
                    ASSERT_EQ(b.c.aNombreDePoint1, b.c.nbPts0X + b.c.psc1 + b.c.psc2);
                    ASSERT_GE(b.c.nbPtsAffX, 11);
                    ASSERT_GT(b.c.dt0X, 0.0);
                    ASSERT_GT(b.c.dureeTotale0X, 0.0);
                    // The duration shown is the one acquired.
                    ASSERT_NEAR(b.c.dureeTotale0X, (b.c.nbPtsAffX - b.c.epsNbPts) * b.c.dt0X,
                                1e-12 * d + 1e-15);
                    ASSERT_EQ(b.c.NBValTrame, b.c.nbPts0X * 2);
                }
        }
    }
}

TEST(CampusTemps, UneReponseDeLUniteJamaisPlusGrandeNeBouclePas) {
    // The unit's "CalibreTe" answering less than asked, or 0, when the points do not fit.
    for (double facteur : {1.0, 0.5, 0.0}) {
        SCOPED_TRACE(facteur);
        Banc b;
        campusfactice::facteurCalibreTe = facteur;
        b.c.setModeDeclenchement(1, false);
        b.c.setPretrig(50.0f, false);
        b.c.setDurees(1.0, 4000, false);
        EXPECT_NEAR(b.c.dt0X, 2.6e-4, 1e-12);
        EXPECT_EQ(b.c.nbPtsAffX, 3847);
        EXPECT_LT(campusfactice::nbCalibreTe, 1000);
    }
}

TEST(CampusTemps, CalculeSansCentraleEtReappliqueQuandElleRepond) {
    campusfactice::remettre();
    campusfactice::debranchee = true;
    TSYSAMCAMPUS c(campusfactice::table(), 1);
    c.pauseReglageMs = 0;
    EXPECT_FALSE(c.Presente());
    c.setDurees(0.5, 2001, false);
    // Never the "no unit" sentinel: a real timing that the duration field can show.
    EXPECT_NEAR(c.dureeTotale0X, 0.5, 1e-12);
    EXPECT_NEAR(c.dt0X, 2.5e-4, 1e-12);
    EXPECT_EQ(c.nbPtsAffX, 2001);

    // Plugged in, a unit whose "CalibreTe" rounds coarser: asked again for the same request.
    campusfactice::debranchee = false;
    campusfactice::facteurCalibreTe = 1.5;
    const int avant = campusfactice::nbCalibreTe;
    c.RecupereCalibration();
    EXPECT_GT(campusfactice::nbCalibreTe, avant);
    EXPECT_FALSE(c.tempsSansCentrale);
    EXPECT_NEAR(c.dureeTotale0X, 0.5, 1e-12);
}

TEST(CampusTemps, PretrigParPartOuParIndex) {
    const struct {
        float taux;
        int idx;
    } parts[] = {{0.0f, 0},  {0.4f, 0},   {25.1f, 1},  {50.0f, 2},
                 {75.2f, 3}, {100.0f, 4}, {30.0f, -1}, {-25.0f, -1}};
    Banc b;
    for (const auto& p : parts) {
        b.c.setPretrig(p.taux, false);
        EXPECT_EQ(b.c.idxPretrig, p.idx) << p.taux;
        EXPECT_EQ(b.c.tauxPretrig, p.taux);
        EXPECT_GE(b.c.nbPtsPretrig, 0);
    }
    b.c.setModeDeclenchement(0, false);
    b.c.setPretrig(2, false);
    EXPECT_EQ(b.c.tauxPretrig, 50.0f);
    EXPECT_EQ(b.c.nbPtsPretrig, 500);
    // By index the pretrigger time stays, by share it is 0 outside threshold mode.
    EXPECT_NEAR(b.c.tPretrig, 0.05, 1e-6);
    b.c.setPretrig(50.0f, false);
    EXPECT_EQ(b.c.tPretrig, 0.0f);
}

TEST(CampusTemps, MemesParametresTemporels) {
    Banc b;
    b.c.setDurees(0.1, 1001, false);
    EXPECT_FALSE(b.c.memesParametresTemporels()); // nothing memorised yet
    b.c.memoriseParametresTemporels();
    EXPECT_TRUE(b.c.memesParametresTemporels());
    // Same total tick count, other point count: not the same timing.
    b.c.setDurees(0.1, 501, false);
    EXPECT_FALSE(b.c.memesParametresTemporels());
}

TEST(CampusTemps, DemandesIgnoreesEtBornees) {
    Banc b;
    b.c.setDurees(0.1, 1001, false);
    b.c.setDurees(1e-11, 1001, false);
    b.c.setDurees(0.2, 10, false);
    b.c.setDurees(std::nan(""), 1001, false);
    EXPECT_NEAR(b.c.dureeTotale0X, 0.1, 1e-12);
    EXPECT_EQ(b.c.nbPtsAffX, 1001);
    b.c.setDurees(1e5, 1001, false);
    EXPECT_NEAR(b.c.dureeTotale0X, 3600.0, 1e-6);
    b.c.setDurees(1e-8, 1001, false);
    EXPECT_GE(b.c.dureeTotale0X, 1e-6 - 1e-12);
    EXPECT_GE(b.c.dt0X, 1e-7 - 1e-15);
}

} // namespace
