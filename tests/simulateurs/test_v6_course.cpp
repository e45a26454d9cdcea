// Runs of the simulated V6: the start orders, the trigger report, the samples of the signal
// bank at the programmed timebase, the threshold and external triggers with their
// pretrigger steps, the stop, and the pace of the link.
#include "outils_v6.h"

#include <cmath>

using namespace v6test;

namespace {

TEST_F(SimulateurV6, UneAcquisitionManuelleRapideDonneLeSinusDeEA1) {
    // 100 µs per point, 101 + 10 steps, EA1 alone.
    programme("V000F0F0F0F", 0xF830, 111, "E0000000", 0);
    const auto debut = std::chrono::steady_clock::now();
    const Debut d = demarre(h, 'F', 111);
    ASSERT_TRUE(d.complet) << std::string(d.recu.begin(), d.recu.end());
    const Octets donnees = lit(h, 222);
    const double duree =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    ASSERT_EQ(donnees.size(), 222u);
    const std::vector<int> c = codes(donnees);
    for (std::size_t k = 0; k < c.size(); ++k)
        ASSERT_EQ(c[k], codeDe(0, SimV6_Tension(0, k * 1e-4))) << k;
    // 110 periods of 100 µs at least, whatever the link could carry.
    EXPECT_GE(duree, 110 * 1e-4);
    EXPECT_EQ(litTout(h, 0.05), Octets{}) << "the unit sends the steps of N, no more";
    EXPECT_EQ(commande(h, "2"), attendu("2", "V6SIMUL")) << "idle again";
}

TEST_F(SimulateurV6, LesEntreesViennentDansLOrdreDeLaCommandeEtLaBaseDeTempsSuitP) {
    struct Cas {
        std::string v;
        std::vector<int> entrees;
        char ordre;
        uint16_t p;
        double dt;
    };
    for (const Cas& c : {
             Cas{"V00040F0F0F", {0, 2}, 'F', 0xF830, 2 * 100e-6}, // 100 µs per input
             Cas{"V04000F0F0F", {2, 0}, 'F', 0xFF38, 2 * 10e-6},  // 10 µs per input
             Cas{"V0002040F0F", {0, 1, 2}, 'F', 0x0000, 3 * 3.2768e-3},
             Cas{"V020F0F0F0F", {1}, 'G', 0x0001, 2e-3},
         }) {
        SCOPED_TRACE(c.v);
        SimV6_SetAcceleration(1);
        programme(c.v, c.p, 20, "E0000000", 0);
        SimV6_SetAcceleration(1000); // the slow steps come quickly
        ASSERT_TRUE(demarre(h, c.ordre, 20).complet);
        const std::size_t n = c.entrees.size();
        const std::vector<int> k = codes(lit(h, 40 * n));
        ASSERT_EQ(k.size(), 20 * n);
        for (std::size_t j = 0; j < k.size(); ++j) {
            const int e = c.entrees[j % n];
            ASSERT_EQ(k[j], codeDe(e, SimV6_Tension(e, (j / n) * c.dt))) << j;
        }
    }
}

// The link carries 125 000 bytes a second: 30 000 samples need 0.48 s whatever the
// sampling rate.
TEST_F(SimulateurV6, LesOctetsNeVontPasPlusViteQueLaLiaison) {
    programme("V000F0F0F0F", 0xFF38, 30000, "E0000000", 0); // 10 µs per point
    const auto debut = std::chrono::steady_clock::now();
    ASSERT_TRUE(demarre(h, 'F', 30000).complet);
    const Octets donnees = lit(h, 60000, 5);
    const double duree =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    ASSERT_EQ(donnees.size(), 60000u);
    EXPECT_GE(duree, 60000 * 8e-6);
    EXPECT_EQ(codes(donnees)[29999], codeDe(0, SimV6_Tension(0, 29999 * 10e-6)));
}

// Rising through 2 V with 20 pretrigger steps: the step at index 20 is the first at or
// above the threshold, and the steps before it are those of the signal before the crossing.
TEST_F(SimulateurV6, LeSeuilEtLePredeclenchementPlacentLeFranchissement) {
    struct Cas {
        std::string e;
        bool montant;
    };
    const int seuil = codeDe(0, 2);
    for (const Cas& c : {Cas{"E202" + hex4(seuil).substr(1) + "0", true},
                         Cas{"E302" + hex4(seuil).substr(1) + "0", false}}) {
        SCOPED_TRACE(c.e);
        programme("V000F0F0F0F", 0xF830, 60, c.e, 20);
        const Debut d = demarre(h, 'F', 60);
        ASSERT_TRUE(d.complet);
        const std::vector<int> k = codes(lit(h, 120));
        ASSERT_EQ(k.size(), 60u);
        EXPECT_EQ(c.montant ? k[19] < seuil : k[19] > seuil, true) << k[19];
        EXPECT_EQ(c.montant ? k[20] >= seuil : k[20] <= seuil, true) << k[20];
        // The samples follow the sine at 100 µs: find the absolute step of k[0].
        int64_t premiere = -1;
        for (int64_t s = 0; s < 400 && premiere < 0; ++s) {
            bool ok = true;
            for (int j = 0; j < 60 && ok; ++j)
                ok = k[j] == codeDe(0, SimV6_Tension(0, (s + j) * 1e-4));
            if (ok)
                premiere = s;
        }
        EXPECT_GE(premiere, 0) << "the pretrigger steps are those of the signal";
        ASSERT_EQ(commande(h, "I"), attendu("I", "OK"));
    }
}

TEST_F(SimulateurV6, LeDeclenchementExterneVientAuFront) {
    SimV6_SetFrontExterne(0.05);
    programme("V000F0F0F0F", 0xF830, 30, "E1020000", 10);
    ASSERT_TRUE(demarre(h, 'F', 30).complet);
    const std::vector<int> k = codes(lit(h, 60));
    ASSERT_EQ(k.size(), 30u);
    for (int j = 0; j < 30; ++j) // the edge at step 500, ten steps before it
        ASSERT_EQ(k[j], codeDe(0, SimV6_Tension(0, (490 + j) * 1e-4))) << j;
}

TEST_F(SimulateurV6, SurLaBaseLenteLesPointsSuiventLeRapportSansD) {
    programme("V000F0F0F0F", 0x0001, 5, "E0000000", 0); // 2 ms per step
    const auto debut = std::chrono::steady_clock::now();
    ASSERT_TRUE(demarre(h, 'G', 5).complet);
    const std::vector<int> k = codes(lit(h, 10));
    const double duree =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    ASSERT_EQ(k.size(), 5u);
    EXPECT_GE(duree, 4 * 2e-3) << "the fifth step is taken 8 ms after the start";
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(k[j], codeDe(0, SimV6_Tension(0, j * 2e-3))) << j;
}

TEST_F(SimulateurV6, EchapArreteLEnvoiEtSonEchoVientApres) {
    programme("V000F0F0F0F", 0x0000, 1000, "E0000000", 0); // 1 ms per step
    ASSERT_TRUE(demarre(h, 'G', 1000).complet);
    const Octets avant = lit(h, 6, 1);
    ASSERT_EQ(avant.size(), 6u);
    ecrit(h, "\x1B");
    // The steps in flight, then the echo; then nothing more, though a step is due every ms.
    const Octets apres = litTout(h, 0.1);
    ASSERT_FALSE(apres.empty());
    EXPECT_EQ(apres.back(), 0x1B) << "the echo comes last";
    EXPECT_EQ(litTout(h, 0.05), Octets{});
    EXPECT_EQ(commande(h, "2"), attendu("2", "V6SIMUL"));
}

TEST_F(SimulateurV6, DurantLAttenteDuDeclenchementSeulsEchapEtDSontEcoutes) {
    programme("V000F0F0F0F", 0xF830, 10, "E2020000", 0); // code 0 is never crossed upwards
    ecrit(h, "F");
    EXPECT_EQ(lit(h, 1), octets("F"));
    ecrit(h, "2");
    EXPECT_EQ(litTout(h, 0.05), octets("2")) << "echoed, not answered";
    ecrit(h, "\x1B");
    EXPECT_EQ(lit(h, 1), octets("\x1B"));
    EXPECT_EQ(commande(h, "2"), attendu("2", "V6SIMUL"));
}

} // namespace

namespace {

// The host's queue holds 64 KiB: with RTS/CTS the unit waits for room, without flow
// control what does not fit is lost.
TEST_F(SimulateurV6, LaFileDeReceptionPleineRetientLUniteOuPerdLesOctets) {
    for (const bool retenue : {true, false}) {
        SCOPED_TRACE(retenue);
        ASSERT_EQ(FT_SetFlowControl(h, retenue ? FT_FLOW_RTS_CTS : FT_FLOW_NONE, 0x11, 0x13),
                  FT_OK);
        SimV6_SetAcceleration(1);
        programme("V000F0F0F0F", 0xFF38, 40000, "E0000000", 0); // 80 000 bytes
        SimV6_SetAcceleration(1e6);
        ASSERT_TRUE(demarre(h, 'F', 40000).complet);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        DWORD attente = 0;
        ASSERT_EQ(FT_GetQueueStatus(h, &attente), FT_OK);
        // Without flow control the queue filled once, "D:" included, then bytes were lost.
        EXPECT_EQ(attente, retenue ? 65536u : 65536u - 2);
        const Octets r = litTout(h, 0.2);
        ASSERT_EQ(r.size(), retenue ? 80000u : 65536u - 2);
        const std::vector<int> k = codes(r);
        EXPECT_EQ(k.back(), codeDe(0, SimV6_Tension(0, (k.size() - 1) * 10e-6)));
    }
}

TEST_F(SimulateurV6, SurLaBaseLenteLeSeuilGardeSesPointsDePredeclenchement) {
    // EA2's square falls through 0 V at 10 ms; 1 ms steps, 3 steps before the trigger.
    programme("V020F0F0F0F", 0x0000, 10, "E302" + hex4(codeDe(1, 0)).substr(1) + "2", 3);
    ASSERT_TRUE(demarre(h, 'G', 10).complet);
    const std::vector<int> k = codes(lit(h, 20));
    ASSERT_EQ(k.size(), 10u);
    for (int j = 0; j < 10; ++j)
        EXPECT_EQ(k[j], codeDe(1, j < 3 ? 2 : -2)) << j;
}

} // namespace
