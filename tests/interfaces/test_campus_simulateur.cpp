// The CAMPUS driver against its simulator library: the reading phases by trigger mode and
// duration class, and the unit's faults.
#if defined(KIRVANE_CAMPUSSIM)
#include "sysamcampus.h"

#include <QElapsedTimer>
#include <QLibrary>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>

namespace {

const QString chemin = QStringLiteral(KIRVANE_CAMPUSSIM);

template <typename F> F commande(const char* nom) {
    static QLibrary bibli;
    bibli.setFileName(chemin);
    bibli.setLoadHints(QLibrary::PreventUnloadHint);
    return reinterpret_cast<F>(bibli.resolve(nom));
}

class CampusSimulateur : public ::testing::Test {
protected:
    void SetUp() override {
        reinitialiser = commande<void (*)()>("SimCampus_Reinitialiser");
        ASSERT_NE(reinitialiser, nullptr);
        reinitialiser();
        commande<void (*)(int32_t)>("SimCampus_SetBruit")(0);
    }
    void TearDown() override { reinitialiser(); }

    std::unique_ptr<TSYSAMCAMPUS> creer() {
        auto c = std::make_unique<TSYSAMCAMPUS>(chemin, 1);
        c->RecupereCalibration();
        c->activeVoieA(0, false);
        return c;
    }
    static void demarrer(TSYSAMCAMPUS& c) {
        c.NbPtsFifo = 100;
        c.Reset();
        c.prepareTousPRX(true);
        c.TailleTransfertFifo(c.NbPtsFifo);
        c.attenteDeclenchement = true;
        c.declencheAcq();
    }
    // Reads until n words came, the unit is lost or 6 s passed.
    static std::vector<uint16_t> lire(TSYSAMCAMPUS& c, std::size_t n) {
        std::vector<uint16_t> mots;
        TFifoSP5 fifo{};
        QElapsedTimer t;
        t.start();
        while (mots.size() < n && t.elapsed() < 6000) {
            const int a = c.LireFifo(&fifo);
            if (a == LIREFIFO_PERDUE)
                break;
            if (a > 0)
                mots.insert(mots.end(), fifo.begin(), fifo.begin() + a);
        }
        return mots;
    }
    void (*reinitialiser)() = nullptr;
};

TEST_F(CampusSimulateur, PhasesSelonDeclenchementEtDuree) {
    // V1 is a 5 V, 100 Hz sine: threshold 1 V rising.
    const struct {
        int mode;
        double duree;
        float pretrig;
    } cas[] = {{0, 0.02, 0.0f}, {0, 0.3, 0.0f}, {1, 0.02, 0.0f},  {1, 0.02, 25.0f},
               {1, 0.3, 50.0f}, {1, 0.3, 0.0f}, {2, 0.02, 25.0f}, {2, 0.3, 25.0f}};
    for (const auto& k : cas) {
        SCOPED_TRACE(testing::Message() << k.mode << " " << k.duree << " s " << k.pretrig << " %");
        reinitialiser();
        commande<void (*)(int32_t)>("SimCampus_SetBruit")(0);
        auto c = creer();
        c->setModeDeclenchement(k.mode, false);
        c->setVoieSynchro(0, false);
        c->setSeuilDecl(1.0f);
        c->setPretrig(k.pretrig, false);
        c->setDurees(k.duree, 1001, false);
        demarrer(*c);
        ASSERT_TRUE(c->acqPeriodiqueEnCours);
        const std::vector<uint16_t> mots = lire(*c, static_cast<std::size_t>(c->NBValTrame));
        ASSERT_EQ(mots.size(), static_cast<std::size_t>(c->NBValTrame));
        auto u = [&](int64_t s) { return c->Ux(0, mots[static_cast<std::size_t>(s)] >> 4); };
        if (k.mode == 1 && c->nbPtsPretrig > 0) {
            // The crossing placed just after the pretrigger points.
            const int64_t a = c->nbPtsPretrig;
            EXPECT_LE(u(a), 1.0 + 0.05);
            EXPECT_GT(u(a + 1), 1.0 - 0.05);
            EXPECT_LT(u(a), u(a + 1));
        }
        if (k.mode == 1) {
            EXPECT_GE(c->dtPretrig, 0.0);
            EXPECT_LE(c->dtPretrig, c->dt0X);
        }
        // Every point is a value of the sine.
        for (int64_t s = 0; s < c->nbPts0X; ++s)
            ASSERT_LE(std::fabs(u(s)), 5.2) << s;
        c->arreteAcq();
        EXPECT_EQ(c->NbProcessus, 0);
        c->liberer(true);
    }
}

TEST_F(CampusSimulateur, DeclenchementAbsentArretPendantLAttente) {
    commande<void (*)(int32_t)>("SimCampus_SetDeclenchementAbsent")(1);
    auto c = creer();
    c->setModeDeclenchement(1, false);
    c->setDurees(0.3, 1001, false);
    demarrer(*c);
    TFifoSP5 fifo{};
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(c->LireFifo(&fifo), LIREFIFO_RAPPELER);
    EXPECT_GE(t.elapsed(), 900);
    QTimer::singleShot(100, [&] { c->arreteAcq(); });
    t.restart();
    EXPECT_EQ(c->LireFifo(&fifo), 0);
    EXPECT_LT(t.elapsed(), 900);
    EXPECT_EQ(c->NbProcessus, 0);
}

TEST_F(CampusSimulateur, RefusDePreparationEtDeDemarrage) {
    auto c = creer();
    commande<void (*)(int32_t)>("SimCampus_SetEchecPreparation")(1);
    c->prepareTousPRX(true);
    EXPECT_FALSE(c->CentralePretePourAcq);
    EXPECT_FALSE(c->aStrMessageErreur1.isEmpty());
    EXPECT_THROW(c->declencheAcq(), EErreurBibliotheque);
    commande<void (*)(int32_t)>("SimCampus_SetEchecPreparation")(0);
    commande<void (*)(int32_t)>("SimCampus_SetEchecDemarrage")(1);
    c->prepareTousPRX(true);
    EXPECT_TRUE(c->CentralePretePourAcq);
    EXPECT_THROW(c->declencheAcq(), EErreurBibliotheque);
    EXPECT_FALSE(c->acqPeriodiqueEnCours);
    EXPECT_EQ(c->NbProcessus, 0);
}

TEST_F(CampusSimulateur, CalibrageRefuseEtUniteEchangee) {
    commande<void (*)(int32_t, int32_t, double)>("SimCampus_SetEcartCalibrage")(1, 1, 0.4);
    auto c = creer();
    EXPECT_TRUE(c->calibrageCAMPUS.Interdit[1][3]);
    EXPECT_FALSE(c->calibrageCAMPUS.Interdit[1][2]);
    c->setCal(1, 3, false);
    EXPECT_EQ(c->VoiesX[1].idxCalibreUt, 2);
    // Another unit: measured again, with its own serial.
    commande<void (*)(const char*)>("SimCampus_SetNumeroSerie")("CAMPAUTRE");
    EXPECT_TRUE(c->Presente());
    c->RecupereCalibration();
    EXPECT_EQ(c->numeroSerieCalibre, QStringLiteral("CAMPAUTRE"));
    EXPECT_TRUE(c->calibrageFait);
}

TEST_F(CampusSimulateur, PasPartielsEtCalibreTeTropPetit) {
    commande<void (*)(int32_t)>("SimCampus_SetPasPartiels")(1);
    commande<void (*)(int32_t)>("SimCampus_SetReponseCalibreTe")(1);
    auto c = creer();
    c->activeVoieA(1, false);
    c->setModeDeclenchement(1, false);
    c->setPretrig(50.0f, false);
    c->setDurees(1.0, 4000, false);
    EXPECT_LE(c->nbPts0X + c->psc1 + c->psc2, 4000);
    c->setDurees(0.05, 1001, false);
    demarrer(*c);
    const std::vector<uint16_t> mots = lire(*c, static_cast<std::size_t>(c->NBValTrame));
    ASSERT_EQ(mots.size(), static_cast<std::size_t>(c->NBValTrame));
    // Steps whole: V2 (a ±2 V square) never shows a V1 sine value in its place.
    for (int64_t s = 0; s < c->nbPts0X; ++s)
        ASSERT_NEAR(std::fabs(c->Ux(1, mots[static_cast<std::size_t>(2 * s + 1)] >> 4)), 2.0, 0.1)
            << s;
}

} // namespace
#endif
