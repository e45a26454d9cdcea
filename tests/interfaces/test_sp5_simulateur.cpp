// The SP5 driver against the simulator library, end to end: programming read back from
// the unit, acquisitions decoded as the engine decodes them, threshold trigger and
// pretrigger, direct measurement, loss of the unit, release.
#include "simulateur_sp5_essai.h"
#include "sp5.h"

#include <QLibrary>
#include <QThread>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numbers>

namespace {

const QString cheminSimulateur = QStringLiteral(KIRVANE_SP5SIM);

class SP5Simulateur : public SimulateurSP5Essai {
protected:
    void SetUp() override { chargerSimulateur(cheminSimulateur); }

    // One acquisition in the engine's order; the words of nbPts0X time steps, fewer
    // when the unit stops answering or after limite seconds.
    std::vector<uint16_t> acquerir(TSP5& c, double limite = 10.0) {
        c.Reset();
        c.prepareTousPRX(true);
        c.TailleTransfertFifo(c.NbPtsFifo);
        c.ViderFifo();
        c.declencheAcq();
        const std::size_t attendus =
            static_cast<std::size_t>(std::max(c.nbVoiesSignaux, 1) * c.nbPts0X);
        std::vector<uint16_t> mots;
        TFifoSP5 fifo{};
        const auto debut = std::chrono::steady_clock::now();
        while (mots.size() < attendus &&
               std::chrono::steady_clock::now() - debut < std::chrono::duration<double>(limite)) {
            const int n = c.LireFifo(&fifo);
            if (n == 0) {
                QThread::msleep(1);
                continue;
            }
            mots.insert(mots.end(), fifo.begin(), fifo.begin() + n);
        }
        c.arreteAcq();
        if (mots.size() > attendus)
            mots.resize(attendus);
        return mots;
    }

    // Volts of signal j at time step k, decoded as the engine does.
    static double valeur(TSP5& c, const std::vector<uint16_t>& mots, int k, int j) {
        const uint16_t mot =
            mots[static_cast<std::size_t>(k) * c.nbVoiesSignaux + c.idxTraitKirvane[j]];
        return c.Ux(c.VoiesActivesSignaux[j], mot >> 4);
    }
};

TEST_F(SP5Simulateur, InstallationEtCalibrage) {
    TSP5 c(cheminSimulateur, 1);
    EXPECT_TRUE(c.CentraleInstallee);
    EXPECT_TRUE(c.bibliothequeChargee());
    EXPECT_TRUE(c.erreurChargement.isEmpty());
    EXPECT_EQ(c.typeCentrale, CENTRALE_SIMULATION_SP5);
    EXPECT_EQ(c.nomCentrale, QStringLiteral("SIMULATION SP5"));
    EXPECT_TRUE(c.Presente());
    EXPECT_EQ(c.numeroSerie, QStringLiteral("SPSIMUL"));
    EXPECT_NE(c.fonctions().SP5_AfficheInfos, nullptr);
    // A record with zero gains leaves the nominal ones.
    sim.SetGainNul(1);
    TSP5 d(cheminSimulateur, 1);
    for (int v = 0; v < 8; ++v)
        for (int r = 0; r < 4; ++r)
            EXPECT_DOUBLE_EQ(d.a1[v][r], TSP5::gainNominal(r));
    EXPECT_NEAR(d.Ux(0, 2000) - d.Ux(0, 1000), 1000 * TSP5::gainNominal(0), 1e-9);
}

TEST_F(SP5Simulateur, ImageReluDansLUnite) {
    TSP5 c(cheminSimulateur, 1);
    c.activeVoieA(1, false);
    c.activeVoieA(5, false);
    c.setCal(1, 2, false);
    c.setModeDiff(1, true, false);
    c.setModeDeclenchement(1, false);
    c.setVoieSynchro(1, false);
    c.setSeuilDecl(0.5f);
    c.setDurees(0.1, 1001, false);
    c.setPretrig(2, true);
    const uint8_t image[] = {
        c.PR_VoiesAA00,      c.PR_CalEA01,          c.PR_CalEA02,        c.PR_CalEA03,
        c.PR_skip04,         c.PR_skip05,           c.PR_skip06,         c.PR_skip07,
        c.PR_skip08,         c.PR_nbpts09,          c.PR_nbpts0A,        c.PR_nbpts0B,
        c.PR_ModeDiff0C,     c.PR_DeclenchementG1D, c.PR_SeuilTrig1E,    c.PR_SeuilTrig1F,
        c.PR_NbPtsPreTrig20, c.PR_NbPtsPreTrig21,   c.PR_NbPtsPreTrig22, c.PR_HysteresisTrig23};
    const uint8_t adresses[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,
                                0x0A, 0x0B, 0x0C, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23};
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(sim.LireRegistre(adresses[k]), image[k]) << int(adresses[k]);
    // Pretrigger 50 % of 1001 shown points: 500 + 3.
    EXPECT_EQ(sim.LireRegistre(0x20) | sim.LireRegistre(0x21) << 8, 503);
    EXPECT_EQ(c.nbPts0X, 1002);
}

struct CasChaine {
    const char* nom;
    std::vector<int> entrees;
    std::vector<int> diff;
    std::vector<std::pair<int, int>> calibres;
    double duree;
    int64_t points;
};

TEST_F(SP5Simulateur, AcquisitionManuelleDecodee) {
    const CasChaine cas[] = {
        {"EA0", {0}, {}, {}, 0.02, 1001},
        {"EA0 EA5 EA4", {0, 5, 4}, {}, {{4, 3}, {5, 1}}, 0.02, 1001},
        {"EA0-EA4 EA2 EA6", {0, 4, 2, 6}, {0}, {{2, 0}}, 0.1, 2001},
        {"EA3 EA1 EA6", {3, 1, 6}, {}, {}, 0.05, 501},
    };
    sim.SetAcceleration(20.0);
    for (const CasChaine& k : cas) {
        SCOPED_TRACE(k.nom);
        TSP5 c(cheminSimulateur, 1);
        c.desactiveVoieA(0, false);
        for (int canal : k.diff)
            c.setModeDiff(canal, true, false);
        for (int v : k.entrees)
            c.activeVoieA(static_cast<uint8_t>(v), false);
        for (auto [v, r] : k.calibres)
            c.setCal(static_cast<uint8_t>(v), r, false);
        c.setDurees(k.duree, k.points, false);
        const std::vector<uint16_t> mots = acquerir(c);
        ASSERT_EQ(mots.size(), static_cast<std::size_t>(c.nbVoiesSignaux * c.nbPts0X));
        int ecarts = 0;
        for (int j = 0; j < c.nbVoiesSignaux; ++j) {
            const int v = c.VoiesActivesSignaux[j];
            const bool diff = v < 4 && c.canauxDiff[v];
            const double pas = 2.0 * TSP5::calibreVolts(c.VoiesX[v].idxCalibreEA) / 4096.0;
            for (int n = 0; n < c.nbPts0X; ++n) {
                const double t = n * c.dt0X;
                double attendu = sim.Tension(v, t) - (diff ? sim.Tension(v + 4, t) : 0.0);
                const double R = TSP5::calibreVolts(c.VoiesX[v].idxCalibreEA);
                attendu = std::clamp(attendu, -R, R);
                if (std::fabs(valeur(c, mots, n, j) - attendu) > 2.0 * pas && ++ecarts < 5)
                    ADD_FAILURE() << "EA" << v << " point " << n << ": " << valeur(c, mots, n, j)
                                  << " au lieu de " << attendu;
            }
        }
        EXPECT_EQ(ecarts, 0);
    }
}

TEST_F(SP5Simulateur, DeclenchementSurSeuil) {
    // EA0: 5 V, 100 Hz; rising through 1 V at asin(0.2) / (2π 100) in each period.
    const double periode = 0.01;
    const double passage = std::asin(0.2) / (2.0 * std::numbers::pi * 100.0);
    sim.SetAcceleration(20.0);
    struct Cas {
        int idxPretrig;
        int nbPtsPretrig;
    };
    for (const Cas& k : {Cas{2, 500}, Cas{0, 0}, Cas{1, 250}}) {
        SCOPED_TRACE(k.idxPretrig);
        TSP5 c(cheminSimulateur, 1);
        c.setModeDeclenchement(1, false);
        c.setVoieSynchro(0, false);
        c.setSensDeclSeuil(0, false);
        c.setSeuilDecl(1.0f);
        c.setDurees(0.02, 1001, false);
        c.setPretrig(k.idxPretrig, false);
        const std::vector<uint16_t> mots = acquerir(c);
        ASSERT_EQ(mots.size(), static_cast<std::size_t>(c.nbPts0X));
        c.getNbPtsPretrig();
        c.getDTPretrig();
        EXPECT_EQ(c.nbPtsPretrig, k.nbPtsPretrig);
        const double dt = c.dt0X;
        ASSERT_GE(c.dtPretrig, 0.0);
        ASSERT_LE(c.dtPretrig, dt);
        // The samples around the crossing are those the unit reports.
        const int pre = c.nbPtsPretrig;
        EXPECT_EQ(mots[pre] >> 4, c.vPre);
        EXPECT_EQ(mots[pre + 1] >> 4, c.vPost);
        EXPECT_LT(valeur(c, mots, pre, 0), 1.0);
        EXPECT_GE(valeur(c, mots, pre + 1, 0), 1.0 - 0.01);
        // Placing the true crossing at pre × dt + dtPretrig, every sample lies on the
        // sine: the crossing is found well within one sampling period.
        const double origine = passage - (pre * dt + c.dtPretrig) + 10 * periode;
        double pire = 0.0;
        for (int n = 0; n < c.nbPts0X; ++n)
            pire = std::max(pire, std::fabs(valeur(c, mots, n, 0) -
                                            5.0 * std::sin(2.0 * std::numbers::pi * 100.0 *
                                                           (origine + n * dt))));
        EXPECT_LT(pire, 3.0 * 20.0 / 4096.0);
    }
}

TEST_F(SP5Simulateur, MesureDirecte) {
    TSP5 c(cheminSimulateur, 1);
    c.activeVoieA(5, false);
    c.activeVoieA(7, false);
    c.prepareTousPRX(true);
    c.MesureDirecte();
    EXPECT_NEAR(c.VoiesX[5].mesDirR, 1.5, 2.0 * 20.0 / 4096.0);
    EXPECT_NEAR(c.VoiesX[7].mesDirR, 0.0, 2.0 * 20.0 / 4096.0);
    EXPECT_GE(c.VoiesX[0].mesDirR, -5.01);
    EXPECT_LE(c.VoiesX[0].mesDirR, 5.01);
    EXPECT_EQ(c.NbProcessus, 0);
    EXPECT_EQ(sim.LireRegistre(0x24) & 0x11, 0);
}

TEST_F(SP5Simulateur, UniteDebrancheePendantLAcquisition) {
    TSP5 c(cheminSimulateur, 1);
    c.setDurees(10.0, 1001, false);
    c.prepareTousPRX(true);
    c.TailleTransfertFifo(256);
    c.ViderFifo();
    c.declencheAcq();
    EXPECT_EQ(c.presentePendantAcq(), 1);
    sim.SetDebranche(1);
    TFifoSP5 fifo{};
    EXPECT_EQ(c.LireFifo(&fifo), 0);
    EXPECT_EQ(c.presentePendantAcq(), -1);
    EXPECT_FALSE(c.CentralePresente);
    sim.SetDebranche(0);
    EXPECT_EQ(c.presentePendantAcq(), 1);
    c.arreteAcq();
}

TEST_F(SP5Simulateur, Liberation) {
    TSP5 c(cheminSimulateur, 1);
    c.prepareTousPRX(true);
    c.declencheAcq();
    c.liberer(false);
    EXPECT_EQ(sim.LireRegistre(0x24) & 1, 1); // left running: no reset
    TSP5 d(cheminSimulateur, 1);
    d.prepareTousPRX(true);
    d.declencheAcq();
    d.liberer(true);
    EXPECT_EQ(sim.LireRegistre(0x24) & 1, 0);
    EXPECT_FALSE(d.bibliothequeChargee());
    try {
        d.ViderFifo();
        FAIL() << "pas d'erreur";
    } catch (const EErreurBibliotheque& e) {
        EXPECT_EQ(e.texte(), cheminSimulateur + QStringLiteral(" n'est pas chargé"));
    }
    // Asking for the unit loads the library again.
    EXPECT_TRUE(d.Presente());
    EXPECT_TRUE(d.bibliothequeChargee());
}

} // namespace
