// The CAMPUS simulator's acquisitions through its exported functions: programming, start,
// samples at the real-time rate, the three triggers with their pretrigger, the stop.
#include "outils_campus.h"

#include <algorithm>
#include <limits>

namespace {

using campustest::Etalonnage;
using campustest::lance;
using campustest::litEchantillons;
using campustest::Programme;
using campustest::SimulateurCampus;
using campustest::texte;

TEST_F(SimulateurCampus, PreparationRefuseLesProgrammesIncorrectsAvecUnMessage) {
    struct Cas {
        const char* nom;
        int32_t ordre[9];
        double te;
        int32_t points, source, sens;
        double seuil;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Cas cas[] = {
        {"aucune entree", {-1, -1, -1, -1, -1, -1, -1, -1, -1}, 1e-4, 100, 0, 0, 0},
        {"entree mal placee", {1, -1, -1, -1, -1, -1, -1, -1, -1}, 1e-4, 100, 0, 0, 0},
        {"capteur", {0, -1, -1, -1, 4, -1, -1, -1, -1}, 1e-4, 100, 0, 0, 0},
        {"intervalle nul", {0, -1, -1, -1, -1, -1, -1, -1, -1}, 0, 100, 0, 0, 0},
        {"intervalle NaN", {0, -1, -1, -1, -1, -1, -1, -1, -1}, nan, 100, 0, 0, 0},
        {"points nuls", {0, -1, -1, -1, -1, -1, -1, -1, -1}, 1e-4, 0, 0, 0, 0},
        {"source capteur", {0, -1, -1, -1, -1, -1, -1, -1, -1}, 1e-4, 100, _SOURCE_CAPTEUR1, 1, 0},
        {"source inconnue", {0, -1, -1, -1, -1, -1, -1, -1, -1}, 1e-4, 100, -1, 1, 0},
        {"sens inconnu", {0, -1, -1, -1, -1, -1, -1, -1, -1}, 1e-4, 100, _SOURCE_EA1, 3, 0},
        {"seuil NaN", {0, -1, -1, -1, -1, -1, -1, -1, -1}, 1e-4, 100, _SOURCE_EA1, 1, nan},
    };
    for (const Cas& c : cas) {
        double te = c.te;
        int32_t points = c.points;
        const char16_t* message = nullptr;
        EXPECT_NE(
            PrepareAcquisition(c.ordre, &te, &points, c.source, c.sens, c.seuil, 0, 0, &message), 0)
            << c.nom;
        EXPECT_FALSE(texte(message).empty()) << c.nom;
        EXPECT_EQ(
            SimCampus_Programme(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0)
            << c.nom;
    }
    double te = 1e-4;
    int32_t points = 100;
    EXPECT_NE(PrepareAcquisition(nullptr, &te, &points, 0, 0, 0, 0, 0, nullptr), 0);
    // Nothing latched: nothing to start.
    const char16_t* message = nullptr;
    EXPECT_NE(DemarreAcquisition(&message), 0);
    EXPECT_EQ(texte(message), u"Aucune acquisition n'est programmée.");
}

TEST_F(SimulateurCampus, PreparationRetientLImageEtAjusteIntervalleEtPoints) {
    const int32_t ordre[9] = {-1, 1, -1, 3, -1, -1, -1, -1, -1};
    double te = 3.33e-5; // 333 ticks
    int32_t points = 5000;
    const char16_t* message = nullptr;
    ASSERT_EQ(
        PrepareAcquisition(ordre, &te, &points, _SOURCE_EA4, _DESCENDANT, -1.5, 150, 0, &message),
        0);
    EXPECT_EQ(texte(message), u"");
    EXPECT_NEAR(te, 3.33e-5, 1e-18);
    EXPECT_EQ(points, 4000);
    te = 1.234e-7;
    points = 17;
    ASSERT_EQ(
        PrepareAcquisition(ordre, &te, &points, _SOURCE_EA4, _DESCENDANT, -1.5, 150, 0, nullptr),
        0);
    EXPECT_NEAR(te, 1e-7, 1e-20);
    EXPECT_EQ(points, 17);

    int32_t lu[9];
    double teLu = 0, seuil = 0;
    int32_t pointsLus = 0, source = 0, sens = 0, pretrig = 0;
    EXPECT_EQ(SimCampus_Programme(lu, &teLu, &pointsLus, &source, &sens, &seuil, &pretrig), 2);
    EXPECT_TRUE(std::equal(lu, lu + 9, ordre));
    EXPECT_NEAR(teLu, 1e-7, 1e-20);
    EXPECT_EQ(pointsLus, 17);
    EXPECT_EQ(source, _SOURCE_EA4);
    EXPECT_EQ(sens, _DESCENDANT);
    EXPECT_EQ(seuil, -1.5);
    EXPECT_EQ(pretrig, 100) << "brought into 0..100 %";
}

// Manual trigger: every sample is the input's signal at k × te on its range, the unit's
// own gain and offset, within the noise; the high half-word names the input.
TEST_F(SimulateurCampus, DeclenchementManuelDonneLesSignauxAuRythmeReel) {
    struct Cas {
        std::vector<int> voies;
        int32_t calibre;
        double te;
        int32_t points;
    };
    const Cas cas[] = {
        {{0}, 10, 1e-4, 1001}, {{1, 3}, 15, 5e-5, 600}, {{0, 1, 2, 3}, 30, 2e-5, 500}};
    for (const Cas& c : cas) {
        SimCampus_Reinitialiser();
        for (int v : c.voies)
            ASSERT_EQ(texte(SelectionneCalibre(v, c.calibre)), u"");
        Etalonnage e[4];
        for (int v : c.voies)
            e[v] = Etalonnage::de(v);
        lance({c.voies, c.te, c.points});
        const auto debut = std::chrono::steady_clock::now();
        const size_t n = c.voies.size() * static_cast<size_t>(c.points);
        const std::vector<int32_t> lus = litEchantillons(n, c.te * c.points + 2);
        const double duree =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
        ASSERT_EQ(lus.size(), n);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        int32_t encore[8];
        EXPECT_EQ(LitDonneeNumerique(8, encore), 0) << "exactly the programmed points";
        // Real time: the last step exists only once its time has come.
        EXPECT_GE(duree, c.te * (c.points - 1));
        int ecarts = 0;
        for (size_t k = 0; k < n; ++k) {
            const int v = c.voies[k % c.voies.size()];
            const double t = static_cast<double>(k / c.voies.size()) * c.te;
            EXPECT_EQ(lus[k] >> 16, v + 1);
            const double attendu =
                std::clamp(SimCampus_Tension(v, t), e[v].volts(0), e[v].volts(4095));
            if (std::fabs(e[v].volts(lus[k]) - attendu) > 1.51 * e[v].gain)
                ++ecarts;
        }
        EXPECT_EQ(ecarts, 0);
    }
}

// No sample before its time: after each read the count is at most the steps that exist.
TEST_F(SimulateurCampus, JamaisDEchantillonAvantSonTemps) {
    const double te = 1e-3;
    lance({{0, 2}, te, 100});
    const auto debut = std::chrono::steady_clock::now();
    size_t total = 0;
    int32_t tampon[7];
    while (total < 200 && std::chrono::steady_clock::now() - debut < std::chrono::seconds(2)) {
        const int32_t r = LitDonneeNumerique(7, tampon); // up to 7: time steps get cut
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 7);
        total += static_cast<size_t>(r);
        const double ecoule =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
        ASSERT_LE(total, 2 * static_cast<size_t>(ecoule / te + 1) + 2);
        if (r == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    EXPECT_EQ(total, 200u);
    EXPECT_EQ(LitDonneeNumerique(7, tampon), 0) << "the run is over";
    EXPECT_EQ(LitDonneeNumerique(0, tampon), 0);
    EXPECT_EQ(LitDonneeNumerique(-3, tampon), 0);
}

TEST_F(SimulateurCampus, ArretRepondPourcentMemeRepeteEtTaitLaCourse) {
    lance({{0}, 1e-5, 4000});
    EXPECT_FALSE(litEchantillons(10, 2).empty());
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(texte(StoppeAcquisition()), u"%") << k;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    int32_t tampon[256];
    EXPECT_EQ(LitDonneeNumerique(256, tampon), 0);
    // Unplugged, the unit cannot confirm the stop.
    SimCampus_SetDebranche(1);
    EXPECT_NE(texte(StoppeAcquisition()), u"%");
}

// Threshold trigger: the unit notices the crossing `latence` steps late and counts its
// pretrigger from there; without a pretrigger its first two steps straddle the threshold.
TEST_F(SimulateurCampus, DeclenchementSurSeuilAvecLatenceEtPretrigger) {
    struct Cas {
        int32_t sens;
        double seuil;
        int32_t pretrig, latence;
    };
    const Cas cas[] = {{_MONTANT, 1, 25, 0},    {_MONTANT, 1, 25, 2},    {_MONTANT, -2, 50, 3},
                       {_DESCENDANT, 2, 25, 2}, {_DESCENDANT, 0, 10, 0}, {_MONTANT, 1, 0, 2},
                       {_DESCENDANT, 3, 0, 3},  {_SEUIL, 0.5, 20, 1}};
    const int32_t points = 400;
    const double te = 2e-5; // the 100 Hz sine crosses every 250 steps
    for (const Cas& c : cas) {
        SimCampus_Reinitialiser();
        SimCampus_SetBruit(0);
        SimCampus_SetLatence(c.latence);
        lance({{0, 1}, te, points, _SOURCE_EA1, c.sens, c.seuil, c.pretrig});
        const std::vector<int32_t> lus = litEchantillons(2 * points, 3);
        ASSERT_EQ(lus.size(), 2u * points) << c.sens << " " << c.pretrig << " " << c.latence;
        const Etalonnage e = Etalonnage::de(0);
        const auto u = [&](int s) { return e.volts(lus[2 * static_cast<size_t>(s)]); };
        const int P = static_cast<int>(std::lround(c.pretrig * points / 100.0));
        const int place = P - std::min(c.latence, P); // the step just before the crossing
        const bool monte = c.sens == _MONTANT || (c.sens == _SEUIL && u(place) < c.seuil);
        EXPECT_EQ(u(place) < c.seuil, monte) << c.sens << " " << c.pretrig << " " << c.latence;
        EXPECT_EQ(u(place + 1) >= c.seuil, monte) << c.sens << " " << c.pretrig;
        // The window is the stream of the unit from its first step.
        const int64_t debut = SimCampus_DebutFenetre();
        ASSERT_GE(debut, 0);
        for (int s : {0, place, points - 1})
            EXPECT_NEAR(u(s), SimCampus_Tension(0, static_cast<double>(debut + s) * te),
                        0.51 * e.gain);
    }
}

TEST_F(SimulateurCampus, DeclenchementSurUneEntreeNonAcquise) {
    SimCampus_SetBruit(0);
    // V2, a ±2 V square, triggers the acquisition of V1: the crossing is where V2 rises.
    lance({{0}, 1e-4, 200, _SOURCE_EA2, _MONTANT, 0, 10});
    ASSERT_EQ(litEchantillons(200, 3).size(), 200u);
    const int64_t debut = SimCampus_DebutFenetre();
    const int64_t avant = debut + 20 - 2; // P − latency
    EXPECT_LT(SimCampus_Tension(1, static_cast<double>(avant) * 1e-4), 0);
    EXPECT_GT(SimCampus_Tension(1, static_cast<double>(avant + 1) * 1e-4), 0);
}

TEST_F(SimulateurCampus, DeclenchementExterneAvecPretrigger) {
    struct Cas {
        double front;
        int32_t pretrig;
        int64_t debut; // step of the first sample, -1: never
    };
    // te 1e-4: the edge at 0.02 s is step 200; at 0.02005 s the first step after it is 201.
    const Cas cas[] = {{0.02, 0, 200}, {0.02, 25, 150}, {0.02005, 10, 181}, {0.001, 50, -1}};
    for (const Cas& c : cas) {
        SimCampus_Reinitialiser();
        SimCampus_SetFrontExterne(c.front);
        lance({{0}, 1e-4, 200, _SOURCE_EXTERNE, _SEUIL, 0, c.pretrig});
        const std::vector<int32_t> lus = litEchantillons(200, c.debut < 0 ? 0.1 : 2);
        EXPECT_EQ(lus.size(), c.debut < 0 ? 0u : 200u) << c.front;
        EXPECT_EQ(SimCampus_DebutFenetre(), c.debut) << c.front;
    }
    // The automatic edge: 10 ms after the start, or once the pretrigger span exists.
    SimCampus_Reinitialiser();
    lance({{0}, 1e-4, 400, _SOURCE_EXTERNE, _SEUIL, 0, 50});
    EXPECT_EQ(litEchantillons(400, 2).size(), 400u);
    EXPECT_EQ(SimCampus_DebutFenetre(), 0);
}

TEST_F(SimulateurCampus, ModePermanentAuDelaDeLaMemoire) {
    SimCampus_SetAcceleration(1000);
    lance({{0}, 1e-4, 100, _SOURCE_AUCUNE, _SEUIL, 0, 0, true});
    EXPECT_EQ(litEchantillons(5000, 3).size(), 5000u);
    EXPECT_EQ(texte(StoppeAcquisition()), u"%");
}

} // namespace
