// The engine end to end with the SP5 driver over the simulator library: what the store
// holds is the simulated signal, however the FIFO transfers fall.
#include "moteuracquisition.h"
#include "simulateur_sp5_essai.h"
#include "sp5.h"
#include "vue_essai.h"

#include <QLibrary>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#ifdef KIRVANE_SP5SIM

namespace {

const QString cheminSimulateur = QStringLiteral(KIRVANE_SP5SIM);

class MoteurSP5 : public SimulateurSP5Essai {
protected:
    void SetUp() override {
        chargerSimulateur(cheminSimulateur);
        if (HasFatalFailure())
            return;
        unite = std::make_unique<TSP5>(cheminSimulateur, 1);
        ASSERT_TRUE(unite->CentraleInstallee);
        moteur = std::make_unique<TMoteurAcquisition>(unite.get(), series, vue);
    }
    void TearDown() override {
        moteur.reset();
        if (unite)
            unite->liberer(true);
        unite.reset();
        SimulateurSP5Essai::TearDown();
    }

    // Points 0..n-1 of store column s are the simulator's input v at k × dt0X, within
    // two converter steps.
    void verifierSignal(int s, int v, int64_t n) {
        TSP5& c = *unite;
        const double R = TSP5::calibreVolts(c.VoiesX[v].idxCalibreEA);
        const double pas = 2.0 * R / 4096.0;
        int ecarts = 0;
        for (int64_t k = 0; k < n; ++k) {
            const double attendu = std::clamp(sim.Tension(v, k * c.dt0X), -R, R);
            if (std::fabs(series.tv2[s][k] - attendu) > 2.0 * pas && ++ecarts < 4)
                ADD_FAILURE() << "EA" << v << " point " << k << ": " << series.tv2[s][k]
                              << " au lieu de " << attendu;
        }
        EXPECT_EQ(ecarts, 0);
    }

    std::unique_ptr<TSP5> unite;
    TSeriesMesurees series;
    TVueEssai vue;
    std::unique_ptr<TMoteurAcquisition> moteur;
};

TEST_F(MoteurSP5, AcquisitionManuelleDeEA0) {
    // EA0 of the simulator: 5 V, 100 Hz sine.
    unite->setDurees(0.02, 1001, false);
    moteur->BAcquisitionClick();
    EXPECT_EQ(moteur->MODEGENERAL, 2);
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    ASSERT_EQ(series.tv2[0].size(), 1001u);
    verifierSignal(0, 0, 1001);
    EXPECT_NEAR(series.voiesMesurees[0].max, 5.0, 0.02);
    EXPECT_EQ(series.voiesMesurees[0].sUniteVM, QStringLiteral("V"));
    EXPECT_EQ(vue.messages.back(), QStringLiteral(" 1 série acquise"));
    EXPECT_DOUBLE_EQ(unite->dtAX, unite->dt0X);
    EXPECT_TRUE(vue.timerAcqDir);
}

TEST_F(MoteurSP5, TroisSignauxParTransfertsDe256Mots) {
    sim.SetAcceleration(5.0);
    unite->desactiveVoieA(0, false);
    for (int v : {0, 5, 4})
        unite->activeVoieA(static_cast<uint8_t>(v), false);
    unite->setDurees(0.1, 1001, false);
    moteur->BAcquisitionClick();
    EXPECT_EQ(unite->NbPtsFifo, 256);
    ASSERT_EQ(series.nbVoiesMesurees, 3);
    for (int s = 0; s < 3; ++s) {
        SCOPED_TRACE(s);
        verifierSignal(s, unite->VoiesActivesSignaux[s], 1001);
    }
    int64_t suivant = 0;
    for (const TLotVu& l : vue.lots) {
        ASSERT_EQ(l.premier, suivant);
        suivant = l.dernier + 1;
    }
    EXPECT_EQ(suivant, 1001);
}

TEST_F(MoteurSP5, SeuilAuPretrigger) {
    // EA0 rises through 1 V; the stored curve crosses it at the pretrigger point.
    sim.SetAcceleration(5.0);
    for (int idx : {2, 1, 0}) {
        SCOPED_TRACE(idx);
        unite->setModeDeclenchement(1, false);
        unite->setVoieSynchro(0, false);
        unite->setSensDeclSeuil(0, false);
        unite->setSeuilDecl(1.0f);
        unite->setDurees(0.02, 1001, false);
        unite->setPretrig(idx, false);
        moteur->indexCBPretrig = idx;
        moteur->BAcquisitionClick();
        ASSERT_EQ(series.nbVoiesMesurees, 1);
        const int pre = unite->nbPtsPretrig;
        EXPECT_EQ(pre, 250 * idx);
        const auto& u = series.tv2[0];
        EXPECT_NEAR(u[pre], 1.0, 0.012);
        if (pre > 0) {
            EXPECT_LT(u[pre - 1], 1.0);
        }
        EXPECT_GT(u[pre + 1], 1.0);
    }
}

TEST_F(MoteurSP5, DebranchementPendantLAcquisition) {
    unite->setDurees(0.05, 1001, false);
    int64_t lus = -1;
    vue.pendantMessages = [&](int) {
        if (lus < 0 && moteur->ptFront > 200) {
            lus = moteur->ptFront;
            sim.SetDebranche(1);
        }
    };
    moteur->BAcquisitionClick();
    EXPECT_EQ(moteur->MODEGENERAL, 2);
    ASSERT_EQ(vue.avertissements.size(), 1u);
    EXPECT_EQ(vue.avertissements[0], TMoteurAcquisition::texteDebranchement);
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    ASSERT_GT(lus, 200);
    verifierSignal(0, 0, lus + 1);
    EXPECT_EQ(series.tv2[0][1000], 0.0f);
}

TEST_F(MoteurSP5, AttenteLongueQuandLeDeclenchementNeVientPas) {
    // The wait for the trigger has no bound, however short the one on silent data.
    moteur->delaiSilenceMax = 0.0;
    sim.SetDeclenchementAbsent(1);
    unite->setModeDeclenchement(1, false);
    unite->setSeuilDecl(1.0f);
    unite->setDurees(0.02, 1001, false);
    vue.pendantMessages = [&](int) {
        if (vue.attentesAffichees == 1 && moteur->MODEGENERAL == 3)
            moteur->BAcquisitionClick();
    };
    moteur->BAcquisitionClick();
    EXPECT_EQ(vue.attentesAffichees, 1);
    EXPECT_EQ(moteur->MODEGENERAL, 2);
    EXPECT_TRUE(vue.avertissements.empty());
    for (float v : series.tv2[0])
        ASSERT_EQ(v, 0.0f);
}

TEST_F(MoteurSP5, PermanentChangementDePointsEtDeDuree) {
    unite->setDurees(0.01, 101, false);
    moteur->setModepermanent(true);
    int etape = 0;
    vue.pendantMessages = [&](int) {
        if (etape == 0 && vue.tramesRapides == 2) {
            moteur->MPNbPts = QStringLiteral("201");
            moteur->nouveauReglage(MP_NB_POINTS);
            etape = 1;
        } else if (etape == 1 && vue.tramesRapides == 4) {
            moteur->MPDureeTotale = QStringLiteral("20 ms");
            moteur->nouveauReglage(MP_DUREE_TOTALE);
            etape = 2;
        } else if (etape == 2 && vue.tramesRapides == 6) {
            moteur->BAcquisitionClick();
            etape = 3;
        }
    };
    moteur->BAcquisitionClick();
    EXPECT_EQ(etape, 3);
    EXPECT_EQ(moteur->MODEGENERAL, 4);
    EXPECT_EQ(unite->nbPts0X, 201);
    EXPECT_NEAR(unite->dureeTotale0X, 0.02, 1e-9);
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    ASSERT_EQ(series.tv2[0].size(), 201u);
    verifierSignal(0, 0, 201);
}

// Words lost on the way: the unit stays present but the last values never come. Past the
// silence bound (shortened here) the acquisition ends, warns, and commits what was read.
TEST_F(MoteurSP5, ValeursManquantesFinissentLAcquisition) {
    struct Cas {
        const char* nom;
        int perte; // one word in n is lost
        bool permanent;
        int modeFinal;
    };
    const Cas cas[] = {
        {"simple, un mot sur 2", 2, false, 2},
        {"simple, un mot sur 10", 10, false, 2},
        {"permanent, trames lentes, un mot sur 10", 10, true, 4},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        sim.SetPerteMots(c.perte);
        sim.SetAcceleration(5.0);
        TSeriesMesurees st;
        TVueEssai v;
        TMoteurAcquisition m(unite.get(), st, v);
        m.delaiSilenceMax = 0.05;
        m.setModepermanent(c.permanent);
        m.MODEGENERAL = c.permanent ? MODE_PERMANENT_ARRETE : MODE_VIERGE;
        // 0.2 s: slow frames in permanent mode.
        unite->setDurees(0.2, 1001, false);
        int64_t lus = 0;
        v.pendantMessages = [&](int) { lus = std::max(lus, m.ptFront); };
        m.BAcquisitionClick();
        EXPECT_EQ(m.MODEGENERAL, c.modeFinal);
        ASSERT_EQ(v.avertissements.size(), 1u);
        EXPECT_EQ(v.avertissements[0], TMoteurAcquisition::texteDonneesManquantes);
        EXPECT_EQ(v.validees, 1);
        EXPECT_TRUE(v.timerAcqDir);
        // What arrived: at least every word but one in n of the series, never all of it.
        EXPECT_GE(lus + 1, 1001 - 1001 / c.perte);
        EXPECT_LT(lus + 1, 1001);
        ASSERT_EQ(st.nbVoiesMesurees, 1);
        const auto& u = st.tv2[0];
        ASSERT_GE(u.size(), 1001u);
        EXPECT_GT(*std::max_element(u.begin(), u.begin() + lus + 1), 4.0f) << "values kept";
        for (int64_t k = lus + 1; k < 1001; ++k)
            ASSERT_EQ(u[k], 0.0f) << k;
        EXPECT_EQ(m.typeSortieMP, 0) << "the warning is told once";
    }
}

// "Acquisition précédente" during permanent mode after a threshold acquisition: the unit
// gets back the point count that was shown, with one extra point to acquire, not two.
TEST_F(MoteurSP5, AcquisitionPrecedenteEnModePermanentReprendLesPointsMontres) {
    sim.SetAcceleration(5.0);
    unite->setModeDeclenchement(1, false);
    unite->setVoieSynchro(0, false);
    unite->setSeuilDecl(1.0f);
    // 1 ms over 101 points is 10 µs a point; asked for 102 points the unit would take
    // 9.9 µs, so an extra point shows in the timing.
    unite->setDurees(0.001, 101, false);
    const int64_t montres = unite->nbPtsAffX;
    const int64_t acquis = unite->nbPts0X;
    ASSERT_EQ(acquis, montres + 1) << "threshold mode acquires one point more";
    moteur->BAcquisitionClick();
    ASSERT_EQ(unite->nbPtsAX, acquis);

    unite->setDurees(0.005, 201, false);
    moteur->setModepermanent(true);
    moteur->MODEGENERAL = MODE_PERMANENT_ARRETE;
    int etape = 0;
    vue.pendantMessages = [&](int) {
        if (moteur->MODEGENERAL != 5)
            return;
        if (etape == 0 && vue.tramesRapides == 1) {
            moteur->acquisitionPrecedente();
            etape = 1;
        } else if (etape == 1 && vue.tramesRapides == 3) {
            moteur->BAcquisitionClick();
            etape = 2;
        }
    };
    moteur->BAcquisitionClick();
    EXPECT_EQ(etape, 2);
    EXPECT_NEAR(unite->dureeTotale0X, 0.001, 1e-12);
    EXPECT_EQ(unite->nbPtsAffX, montres);
    EXPECT_EQ(unite->nbPts0X, acquis);
    EXPECT_EQ(unite->nbPtsAX, acquis);
}

} // namespace

#endif
