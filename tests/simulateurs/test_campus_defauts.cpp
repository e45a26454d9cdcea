// The CAMPUS simulator's faults, each through its control: unplugged during a run, refused
// programming or start, a trigger that never comes, time steps cut between reads, samples in
// bursts after long gaps.
#include "outils_campus.h"

#include <array>

namespace {

using campustest::lance;
using campustest::litEchantillons;
using campustest::Programme;
using campustest::SimulateurCampus;
using campustest::texte;

TEST_F(SimulateurCampus, DebrancheeEnCoursDeCourseLaLectureRenvoieMoinsUn) {
    lance({{0}, 1e-4, 4000});
    ASSERT_FALSE(litEchantillons(10, 2).empty());
    SimCampus_SetDebranche(1);
    int32_t tampon[256];
    EXPECT_EQ(LitDonneeNumerique(256, tampon), -1);
    EXPECT_EQ(LitDonneeNumerique(0, nullptr), -1);
    EXPECT_EQ(texte(DonneNumeroSerieCentrale()), u"");
    const char16_t* message = nullptr;
    EXPECT_NE(DemarreAcquisition(&message), 0);
    EXPECT_EQ(texte(message), u"La centrale SYSAM CAMPUS ne répond pas.");
    // Plugged back: a fresh unit, no run, nothing latched.
    SimCampus_SetDebranche(0);
    EXPECT_EQ(LitDonneeNumerique(256, tampon), 0);
    EXPECT_NE(DemarreAcquisition(&message), 0);
}

TEST_F(SimulateurCampus, DebrancheeApresUnTempsDeCourse) {
    SimCampus_SetDebrancheApres(0.02);
    lance({{0}, 1e-4, 1000}); // 0.1 s: the unit goes at step 200
    std::vector<int32_t> lus;
    int32_t tampon[256];
    int32_t r = 0;
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < fin && (r = LitDonneeNumerique(256, tampon)) >= 0) {
        lus.insert(lus.end(), tampon, tampon + r);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(r, -1);
    EXPECT_GT(lus.size(), 0u);
    EXPECT_LE(lus.size(), 202u);
    EXPECT_EQ(texte(DonneNumeroSerieCentrale()), u"");
}

TEST_F(SimulateurCampus, EchecsDePreparationEtDeDemarrageAvecMessage) {
    int32_t ordre[9] = {0, -1, -1, -1, -1, -1, -1, -1, -1};
    double te = 1e-4;
    int32_t points = 100;
    const char16_t* message = nullptr;
    SimCampus_SetEchecPreparation(1);
    EXPECT_NE(PrepareAcquisition(ordre, &te, &points, 0, 0, 0, 0, 0, &message), 0);
    EXPECT_EQ(texte(message), u"La centrale a refusé la programmation de l'acquisition.");
    EXPECT_EQ(SimCampus_Programme(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              0);
    SimCampus_SetEchecPreparation(0);
    ASSERT_EQ(PrepareAcquisition(ordre, &te, &points, 0, 0, 0, 0, 0, &message), 0);

    SimCampus_SetEchecDemarrage(1);
    message = nullptr;
    EXPECT_NE(DemarreAcquisition(&message), 0);
    EXPECT_EQ(texte(message), u"La centrale n'a pas pu démarrer l'acquisition.");
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    int32_t tampon[16];
    EXPECT_EQ(LitDonneeNumerique(16, tampon), 0) << "nothing started";
    SimCampus_SetEchecDemarrage(0);
    EXPECT_EQ(DemarreAcquisition(nullptr), 0);
    EXPECT_EQ(litEchantillons(100, 2).size(), 100u);
}

TEST_F(SimulateurCampus, DeclenchementQuiNeVientJamais) {
    SimCampus_SetDeclenchementAbsent(1);
    for (int32_t source : {_SOURCE_EA1, _SOURCE_EXTERNE}) {
        lance({{0}, 1e-4, 100, source, _MONTANT, 0, 10});
        EXPECT_TRUE(litEchantillons(1, 0.1).empty()) << source;
        EXPECT_EQ(SimCampus_DebutFenetre(), -1);
        EXPECT_EQ(texte(StoppeAcquisition()), u"%");
    }
    // A threshold the signal never reaches waits the same way.
    SimCampus_SetDeclenchementAbsent(0);
    lance({{0}, 1e-4, 100, _SOURCE_EA1, _MONTANT, 6, 0});
    EXPECT_TRUE(litEchantillons(1, 0.1).empty());
}

// Cut time steps and bursts change when samples come, never which ones: the stream is the
// same as without the fault.
TEST_F(SimulateurCampus, PasPartielsEtRafalesLivrentLesMemesEchantillons) {
    SimCampus_SetAcceleration(100);
    const Programme p{{0, 1, 3}, 1e-4, 1000};
    lance(p);
    const std::vector<int32_t> reference = litEchantillons(3000, 3);
    ASSERT_EQ(reference.size(), 3000u);

    SimCampus_SetPasPartiels(1);
    lance(p);
    std::vector<int32_t> lus;
    int32_t tampon[180];
    int coupes = 0;
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (lus.size() < 3000 && std::chrono::steady_clock::now() < fin) {
        const int32_t r = LitDonneeNumerique(180, tampon);
        ASSERT_GE(r, 0);
        lus.insert(lus.end(), tampon, tampon + r);
        coupes += lus.size() % 3 != 0 ? 1 : 0;
        if (r == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_GT(coupes, 0) << "time steps cut between reads";
    EXPECT_EQ(lus, reference);
    SimCampus_SetPasPartiels(0);

    // Bursts every 2 simulated seconds (200 ms here, long enough for a loaded machine to
    // read one burst before the next): nothing for a whole gap, then all of it at once.
    SimCampus_SetAcceleration(10);
    SimCampus_SetRafales(2);
    lance({{0, 1, 3}, 1e-3, 3000});
    const auto debut = std::chrono::steady_clock::now();
    static int32_t grand[9000];
    int32_t premiere = 0;
    while ((premiere = LitDonneeNumerique(9000, grand)) == 0 &&
           std::chrono::steady_clock::now() - debut < std::chrono::seconds(1))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double attente =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    EXPECT_GE(attente * 10, 1.9) << "the first gap lasts 2 simulated seconds";
    EXPECT_EQ(premiere, 2001 * 3) << "then everything of those 2 s at once";
    EXPECT_EQ(LitDonneeNumerique(9000, grand), 0) << "nothing between two bursts";
    const std::array<int, 3> entrees = {1, 2, 4};
    for (int32_t k = 0; k < premiere; k += 301)
        EXPECT_EQ(grand[k] >> 16, entrees[static_cast<size_t>(k % 3)]);
}

} // namespace
