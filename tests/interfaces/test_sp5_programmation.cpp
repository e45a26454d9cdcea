// SP5 programming: timebase, programming image, send order, sample order in the FIFO,
// trigger read-back and run control, against a stand-in for the library.
#include "sp5.h"
#include "test_sp5_factice.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace sp5factice;

class SP5Programmation : public ::testing::Test {
protected:
    void SetUp() override {
        remettre();
        c.brancherFonctions(table());
    }
    // Register value as the unit received it (several bytes, little-endian).
    static int64_t valeurRegistre(uint8_t adr, int nbOctets) {
        int64_t v = 0;
        for (int k = nbOctets - 1; k >= 0; --k)
            v = (v << 8) | registres[adr + k];
        return v;
    }
    TSP5 c{QStringLiteral("/absent/SP5.DLL"), 1};
};

struct CasTemps {
    const char* nom;
    std::initializer_list<int> entrees;
    std::initializer_list<int> diff;
    int modeDecl;
    double duree;
    int64_t points;
    double tSkip;
    int64_t ndt;
    int64_t affiches;
    int64_t acquis;
    double dureeObtenue;
};

TEST_F(SP5Programmation, BaseDeTemps) {
    const CasTemps cas[] = {
        // Both inputs of channel 0: 2 µs tick, round(0.5) = 0 raised to 1.
        {"EA0 et EA4", {0, 4}, {}, 0, 1e-3, 1001, 2e-6, 1, 501, 501, 1e-3},
        {"EA0-EA4 différentiel", {0, 4}, {0}, 0, 1e-3, 1001, 1e-7, 10, 1001, 1001, 1e-3},
        {"quatre signaux", {0, 1, 2, 3}, {}, 0, 1e-4, 10001, 1e-7, 2, 501, 501, 1e-4},
        {"EA0 EA1 EA2", {0, 1, 2}, {}, 0, 1e-4, 10001, 1e-7, 3, 334, 334, 333 * 3e-7},
        {"EA1 EA2", {1, 2}, {}, 0, 1e-4, 10001, 1e-7, 2, 501, 501, 1e-4},
        {"5000 s", {0}, {}, 0, 5000.0, 1001, 1e-7, 36000000, 1001, 1001, 3600.0},
        {"60000 points", {0}, {}, 0, 0.1, 60000, 1e-7, 20, 50001, 50001, 0.1},
        // ndt rounded down to 1 would ask for 74901 points.
        {"arrondi vers le bas", {0}, {}, 0, 0.00749, 50001, 1e-7, 1, 50001, 50001, 0.005},
        {"seuil", {0}, {}, 1, 0.1, 1001, 1e-7, 1000, 1001, 1002, 0.1},
    };
    for (const CasTemps& k : cas) {
        SCOPED_TRACE(k.nom);
        configurer(c, k.entrees, k.diff);
        c.setModeDeclenchement(k.modeDecl, false);
        c.setDurees(k.duree, k.points, false);
        EXPECT_DOUBLE_EQ(c.tSkipAcq, k.tSkip);
        EXPECT_EQ(c.ndt, k.ndt);
        EXPECT_NEAR(c.dt0X, k.tSkip * static_cast<double>(k.ndt), 1e-15);
        EXPECT_EQ(c.nbPtsAffX, k.affiches);
        EXPECT_EQ(c.nbPts0X, k.acquis);
        EXPECT_NEAR(c.dureeTotale0X, k.dureeObtenue, k.dureeObtenue * 1e-12);
        EXPECT_LE(c.nbPtsAffX, 50001);
        EXPECT_EQ(c.modeAcq, -1);
        c.setModeDeclenchement(0, false);
    }
}

TEST_F(SP5Programmation, DemandesHorsLimitesIgnorees) {
    configurer(c, {0});
    c.setDurees(0.02, 2001, false);
    for (auto [duree, points] : {std::pair{0.5, int64_t{10}}, std::pair{1e-11, int64_t{1001}},
                                 std::pair{std::nan(""), int64_t{1001}}}) {
        c.setDurees(duree, points, false);
        EXPECT_DOUBLE_EQ(c.dureeTotale0X, 0.02);
        EXPECT_EQ(c.nbPtsAffX, 2001);
    }
}

TEST_F(SP5Programmation, SetDureesSansArgumentNAjoutePasDePointEnModeSeuil) {
    configurer(c, {0});
    c.setModeDeclenchement(1, false);
    c.setDurees(0.1, 1001, false);
    c.setDurees(false);
    c.setDurees(false);
    EXPECT_EQ(c.nbPtsAffX, 1001);
    EXPECT_EQ(c.nbPts0X, 1002);
}

TEST_F(SP5Programmation, OrdreEtValeursEnvoyes) {
    struct Cas {
        const char* nom;
        std::initializer_list<int> entrees;
        std::initializer_list<int> diff;
        std::initializer_list<std::pair<int, int>> calibres; // input, range index
        int voies00;
        int64_t gain;
        int modeDiff;
    };
    const Cas cas[] = {
        // The second input of a differential channel takes its channel's range.
        {"EA0-EA4 différentiel", {0, 4}, {0}, {{0, 1}, {4, 3}}, 0x01, 4 + 4 * 4096, 0x01},
        {"EA0 et EA4", {0, 4}, {}, {{0, 2}, {4, 3}}, 0x11, 5 + 2 * 4096, 0x00},
        {"EA7 seul, EA3 inactif", {7}, {}, {{3, 1}, {7, 1}}, 0x80, 4 * 2097152, 0x00},
        {"EA2-EA6 sans EA2", {6}, {2}, {{2, 3}}, 0x00, 2 * 64 + 2 * 262144, 0x04},
    };
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.nom);
        configurer(c, k.entrees, k.diff);
        for (auto [v, r] : k.calibres)
            c.setCal(static_cast<uint8_t>(v), r, false);
        c.setDurees(0.1, 1001, false);
        ecritures.clear();
        c.prepareTousPRX(true);
        ASSERT_EQ(ecritures.size(), TSP5::ordreEnvoi.size());
        for (std::size_t n = 0; n < ecritures.size(); ++n)
            EXPECT_EQ(ecritures[n].first, TSP5::ordreEnvoi[n]) << n;
        EXPECT_EQ(registres[0x00], k.voies00);
        EXPECT_EQ(valeurRegistre(0x01, 3), k.gain);
        EXPECT_EQ(registres[0x0C], k.modeDiff);
        EXPECT_TRUE(c.CentralePretePourAcq);
        // Already programmed: nothing is sent again.
        ecritures.clear();
        c.prepareInterfacePourAcq(false);
        EXPECT_TRUE(ecritures.empty());
        for (int canal = 0; canal < 4; ++canal)
            c.setModeDiff(canal, false, false);
        for (int v = 0; v < 8; ++v)
            c.setCal(static_cast<uint8_t>(v), 0, false);
    }
}

TEST_F(SP5Programmation, PeriodeEtNombreDePoints) {
    struct Cas {
        double duree;
        int64_t points;
        int64_t periode;
        int64_t nbPtsR;
    };
    // One signal: 1001 samples fill 4 blocks of 256 (1024), hence 1025 points; 1024
    // points at 100 ns fill them exactly and give the period word 0.
    const Cas cas[] = {{0.1, 1001, 999, 1025},
                       {3600.0, 1001, 35999999, 1025},
                       {3600.0, 11, 3599999999, 257},
                       {1023e-7, 1024, 0, 1024}};
    configurer(c, {0});
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.periode);
        c.setDurees(k.duree, k.points, true);
        EXPECT_EQ(valeurRegistre(0x04, 5), k.periode);
        EXPECT_EQ(valeurRegistre(0x09, 3), k.nbPtsR);
        EXPECT_EQ(c.nbPtsR, k.nbPtsR);
    }
}

TEST_F(SP5Programmation, DeclenchementEtPretrig) {
    configurer(c, {0, 1});
    c.setDurees(0.1, 1001, false);
    struct Cas {
        const char* nom;
        int mode, voie, sens, idxPretrig;
        int octet1D;
        int64_t pretrig;
    };
    const Cas cas[] = {
        {"manuel", 0, 0, 0, 2, 0x00, 0},
        {"seuil montant EA0", 1, 0, 0, 2, 0x06, 503},
        {"seuil descendant EA1", 1, 1, 1, 0, 0x12, 3},
        {"seuil 100 %", 1, 1, 0, 4, 0x16, 1003},
        {"externe montant", 2, 0, 0, 1, 0x05, 253},
        {"externe descendant", 2, 0, 1, 0, 0x01, 3},
    };
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.nom);
        c.setModeDeclenchement(k.mode, false);
        c.setVoieSynchro(k.voie, false);
        c.setSensDeclSeuil(k.sens, false);
        c.setSensDeclEchelon(k.sens, false);
        c.setSeuilDecl(1.0f);
        c.setPretrig(k.idxPretrig, true);
        EXPECT_EQ(registres[0x1D], k.octet1D);
        EXPECT_EQ(valeurRegistre(0x20, 3), k.pretrig);
        const int seuil = k.mode == 1 ? c.ValUx(k.voie, 1.0f) : 0;
        EXPECT_EQ(valeurRegistre(0x1E, 2), seuil);
        EXPECT_EQ(registres[0x23], k.mode == 1 ? (c.ValUx(k.voie, 0.025f) >> 8) : 0);
    }
    // A share given in percent that is not one of the five.
    c.setModeDeclenchement(1, false);
    c.setPretrig(10.0f, true);
    EXPECT_EQ(c.idxPretrig, -1);
    EXPECT_EQ(valeurRegistre(0x20, 3), 103);
    c.setPretrig(50.2f, true);
    EXPECT_EQ(c.idxPretrig, 2);
}

TEST_F(SP5Programmation, SeuilLimiteA90PourCentDuCalibre) {
    configurer(c, {0});
    c.setCal(0, 2, false);
    c.setVoieSynchro(0, false);
    c.setSeuilDecl(5.0f);
    EXPECT_FLOAT_EQ(c.USeuilDecl, 0.9f);
    c.setSeuilDecl(-5.0f);
    EXPECT_FLOAT_EQ(c.USeuilDecl, -0.9f);
}

TEST_F(SP5Programmation, VoieSynchro) {
    configurer(c, {1, 5, 2, 6}, {1});
    // EA5 is measured with EA1: its partner triggers.
    EXPECT_EQ(c.setVoieSynchro(5, false), 1);
    EXPECT_EQ(c.voieSynchroVA, 0);
    EXPECT_EQ(c.setVoieSynchro(6, false), 6);
    EXPECT_EQ(c.voieSynchroVA, 2);
    // Not a signal: the first one.
    EXPECT_EQ(c.setVoieSynchro(3, false), 1);
    EXPECT_EQ(c.unitevSeuil, QStringLiteral("V"));
}

TEST_F(SP5Programmation, OrdreDesEchantillons) {
    struct Cas {
        const char* nom;
        std::initializer_list<int> entrees;
        std::initializer_list<int> diff;
        std::vector<int> signaux;
        std::vector<int> idx;
        const char* ordre;
    };
    const Cas cas[] = {
        {"EA0 EA5 EA4", {0, 5, 4}, {}, {0, 4, 5}, {0, 2, 1}, "054"},
        {"EA1 EA4 EA6", {1, 4, 6}, {}, {1, 4, 6}, {1, 0, 2}, "416"},
        {"EA0-EA4 EA1 EA5", {0, 1, 4, 5}, {0}, {0, 1, 5}, {0, 1, 2}, "015"},
        {"EA4 seul", {4}, {}, {4}, {0}, "4"},
        {"EA2 EA3 EA7", {2, 3, 7}, {}, {2, 3, 7}, {0, 1, 2}, "237"},
    };
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.nom);
        configurer(c, k.entrees, k.diff);
        ASSERT_EQ(c.nbVoiesSignaux, static_cast<int>(k.signaux.size()));
        for (std::size_t j = 0; j < k.signaux.size(); ++j) {
            EXPECT_EQ(c.VoiesActivesSignaux[j], k.signaux[j]);
            EXPECT_EQ(c.idxTraitKirvane[j], k.idx[j]);
        }
        EXPECT_EQ(c.sOrdreTraitt, QString::fromLatin1(k.ordre));
        for (int canal = 0; canal < 4; ++canal)
            c.setModeDiff(canal, false, false);
    }
}

TEST_F(SP5Programmation, NombreDePointsAvantDeclenchementRelu) {
    configurer(c, {0});
    c.setDurees(0.1, 1001, false);
    c.setModeDeclenchement(1, false);
    registres[0x20] = 3;
    c.getNbPtsPretrig();
    EXPECT_EQ(c.nbPtsPretrig, 0);
    registres[0x20] = 1; // below the 3 the unit adds
    c.getNbPtsPretrig();
    EXPECT_EQ(c.nbPtsPretrig, 0);
    registres[0x20] = 0xF7;
    registres[0x21] = 0x01;
    c.getNbPtsPretrig();
    EXPECT_EQ(c.nbPtsPretrig, 500);
    EXPECT_NEAR(c.tPretrig, 500 * c.dt0X, 1e-9);
    c.setModeDeclenchement(0, false);
    c.getNbPtsPretrig();
    EXPECT_EQ(c.nbPtsPretrig, 0);
}

TEST_F(SP5Programmation, InstantDuPassageDuSeuil) {
    configurer(c, {0});
    c.setDurees(0.1, 1001, false);
    c.setModeDeclenchement(1, false);
    c.setVoieSynchro(0, false);
    c.setSeuilDecl(1.0f);
    auto mots = [](int pre, int post) {
        registres[0x6B] = static_cast<uint8_t>(pre << 4);
        registres[0x6C] = static_cast<uint8_t>(pre >> 4);
        registres[0x6D] = static_cast<uint8_t>(post << 4);
        registres[0x6E] = static_cast<uint8_t>(post >> 4);
    };
    struct Cas {
        int pre, post;
        double attendu; // share of dt0X
    };
    const int code1V = c.ValUx(0, 1.0f);
    const Cas cas[] = {
        {code1V - 10, code1V + 10, 0.5}, {code1V, code1V, 0.0}, // equal samples: no slope
        {code1V + 5, code1V + 5, 0.0},                          // equal, both above
        {code1V + 10, code1V + 20, 0.0}, // before the pair: kept at its start
        {code1V - 20, code1V - 10, 1.0}, // beyond the pair: kept at its end
    };
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.pre);
        mots(k.pre, k.post);
        c.getDTPretrig();
        EXPECT_TRUE(std::isfinite(c.dtPretrig));
        EXPECT_NEAR(c.dtPretrig, k.attendu * c.dt0X, 0.06 * c.dt0X);
        EXPECT_GE(c.dtPretrig, 0.0);
        EXPECT_LE(c.dtPretrig, c.dt0X);
    }
    // External trigger: count of 12.5 ns steps.
    c.setModeDeclenchement(2, false);
    registres[0x6F] = 80;
    c.getDTPretrig();
    EXPECT_DOUBLE_EQ(c.dtPretrig, 1e-6);
}

TEST_F(SP5Programmation, AttentesDeLaLecture) {
    struct Cas {
        const char* nom;
        std::initializer_list<int> entrees;
        std::initializer_list<int> diff;
        double duree;
        int64_t points;
        int tSleepFifo;
    };
    const Cas cas[] = {
        {"rapide", {0}, {}, 1e-3, 1001, 10},
        {"0.1 s", {0}, {}, 0.1, 1001, 26},
        {"3600 s, 11 points", {0}, {}, 3600.0, 11, 100},
        // The second input of a differential channel alone yields no signal.
        {"EA4 seul en différentiel", {4}, {0}, 0.1, 1001, 26},
    };
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.nom);
        configurer(c, k.entrees, k.diff);
        c.setDurees(k.duree, k.points, true);
        EXPECT_GT(c.nbValTVx, 0);
        EXPECT_GT(c.nbPtsR, 0);
        c.declencheAcq();
        EXPECT_EQ(c.tSleepFifo, k.tSleepFifo);
        EXPECT_TRUE(c.acqPeriodiqueEnCours);
        EXPECT_EQ(c.NbProcessus, 1);
        EXPECT_EQ(registres[TSP5::REG_CONTROLE] & 1, 1);
        c.arreteAcq();
        EXPECT_EQ(registres[TSP5::REG_CONTROLE] & 1, 0);
        EXPECT_FALSE(c.acqPeriodiqueEnCours);
        EXPECT_EQ(c.NbProcessus, 0);
        c.setModeDiff(0, false, false);
    }
}

TEST_F(SP5Programmation, MemesParametresTemporels) {
    configurer(c, {0});
    c.setDurees(1e-3, 501, false); // ndt 20 at 100 ns
    c.memoriseParametresTemporels();
    EXPECT_TRUE(c.memesParametresTemporels());
    // Same points and total time on the 2 µs tick: ndt 1 × 20.
    configurer(c, {0, 4});
    c.setDurees(1e-3, 501, false);
    EXPECT_EQ(c.ndt, 1);
    EXPECT_TRUE(c.memesParametresTemporels());
    c.setDurees(2e-3, 501, false);
    EXPECT_FALSE(c.memesParametresTemporels());
}

} // namespace
