// Permanent mode against a scripted unit: fast and slow frames, settings changed between
// frames, the double-frame halves and every exit code.
#include "centrale_script.h"
#include "moteuracquisition.h"
#include "vue_essai.h"
#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

class MoteurPermanent : public ::testing::Test {
protected:
    void SetUp() override {
        moteur.setModepermanent(true);
        moteur.MODEGENERAL = MODE_PERMANENT_ARRETE;
    }

    // Signal i of committed series s is frame t of the unit, n points.
    void verifierTrame(int s, int i, int t, int64_t n) {
        ASSERT_EQ(static_cast<int64_t>(series.tv2[s].size()), n);
        for (int64_t k = 0; k < n; ++k)
            ASSERT_NEAR(series.tv2[s][k], unite.attendu(t, k, i), 1e-4) << "point " << k;
    }

    TCentraleScript unite;
    TSeriesMesurees series;
    TVueEssai vue;
    TMoteurAcquisition moteur{&unite, series, vue};
};

TEST_F(MoteurPermanent, TramesRapidesAvecChangementDePointsPuisDeDuree) {
    unite.setDurees(0.01, 101, false); // fast frames
    unite.tailles = {30};
    int etape = 0;
    vue.pendantMessages = [&](int) {
        if (etape == 0 && unite.nbTrames == 2) {
            moteur.MPNbPts = QStringLiteral("51");
            moteur.nouveauReglage(MP_NB_POINTS);
            etape = 1;
        } else if (etape == 1 && unite.nbTrames == 4) {
            moteur.MPDureeTotale = QStringLiteral("20 ms");
            moteur.nouveauReglage(MP_DUREE_TOTALE);
            etape = 2;
        } else if (etape == 2 && unite.nbTrames == 6 && unite.position > 0) {
            moteur.BAcquisitionClick(); // stop in the middle of frame 6
            etape = 3;
        }
    };
    moteur.BAcquisitionClick();
    EXPECT_EQ(etape, 3);
    EXPECT_EQ(moteur.MODEGENERAL, 4);
    EXPECT_EQ(unite.nbPts0X, 51);
    EXPECT_DOUBLE_EQ(unite.dureeTotale0X, 0.02);
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    // Frame 6 was cut short: the store holds frame 5, whole, never a mix of two.
    verifierTrame(0, 0, 5, 51);
    EXPECT_EQ(vue.validees, 1);
    // Both changes redrew the graph without curves.
    EXPECT_EQ(std::count(vue.redessins.begin(), vue.redessins.end(), false), 2);
    EXPECT_EQ(vue.tramesRapides, 6);
}

TEST_F(MoteurPermanent, UneCentraleQuiNeDemarrePlusNeBloquePasLaFenetre) {
    // The unit stops starting its frames without saying why: the engine keeps handing
    // control back, with a pause per frame, so that the stop button still works.
    unite.setDurees(0.01, 101, false);
    unite.demarrePlus = 2;
    QElapsedTimer duree;
    duree.start();
    int messagesAuRefus = -1;
    vue.pendantMessages = [&](int n) {
        if (unite.nbTrames == 2 && !unite.acqPeriodiqueEnCours && messagesAuRefus < 0)
            messagesAuRefus = n;
        if (messagesAuRefus >= 0 && n >= messagesAuRefus + 5)
            moteur.BAcquisitionClick();
    };
    moteur.BAcquisitionClick();
    EXPECT_EQ(moteur.MODEGENERAL, 4);
    ASSERT_GE(messagesAuRefus, 0) << "the view was never given control back";
    // Frames that do not start are paused (100 ms each): no frame loop without a pause.
    EXPECT_GE(duree.elapsed(), 200);
}

TEST_F(MoteurPermanent, DebrancheeEntreDeuxTrames) {
    // Unplugged once frame 2 is complete: frame 3 cannot start. Permanent mode ends as for
    // an unplug during a frame (frame 2 kept, the user told), for slow and fast frames.
    for (const double duree : {0.2, 0.01}) {
        SCOPED_TRACE(duree);
        TCentraleScript u;
        u.setDurees(duree, 101, false);
        u.tailles = {30};
        TSeriesMesurees s;
        TVueEssai v;
        TMoteurAcquisition m(&u, s, v);
        m.setModepermanent(true);
        m.MODEGENERAL = MODE_PERMANENT_ARRETE;
        v.pendantMessages = [&](int) {
            if (u.nbTrames == 2 && u.trameTerminee && !u.acqPeriodiqueEnCours)
                u.presente = false;
        };
        QElapsedTimer duree_;
        duree_.start();
        m.BAcquisitionClick();
        EXPECT_LT(duree_.elapsed(), 5000);
        EXPECT_EQ(m.MODEGENERAL, 4);
        EXPECT_EQ(u.nbTrames, 2);
        EXPECT_EQ(v.validees, 1);
        ASSERT_EQ(v.avertissements.size(), 1u);
        EXPECT_EQ(v.avertissements[0], TMoteurAcquisition::texteDebranchement);
        for (int k = 0; k < 101; ++k)
            ASSERT_NEAR(s.tv2[0][k], u.attendu(2, k, 0), 1e-4) << k;
    }
}

TEST_F(MoteurPermanent, DeuxReglagesAvantLaTrameSuivante) {
    unite.setDurees(0.01, 101, false);
    unite.tailles = {30};
    bool fait = false;
    vue.pendantMessages = [&](int) {
        if (!fait && unite.nbTrames == 2) {
            moteur.MPNbPts = QStringLiteral("61");
            moteur.nouveauReglage(MP_NB_POINTS);
            moteur.MPEntree = 0;
            moteur.MPCalibre = 3;
            moteur.nouveauReglage(MP_CALIBRE);
            moteur.MPDureeTotale = QStringLiteral("12 ms");
            moteur.nouveauReglage(MP_DUREE_TOTALE);
            fait = true;
        } else if (fait && unite.nbTrames == 4) {
            moteur.clicModePermanent(false); // frame completes, then commit (code 14)
        }
    };
    moteur.BAcquisitionClick();
    EXPECT_EQ(unite.nbPts0X, 61);
    EXPECT_EQ(unite.VoiesX[0].idxCalibreUt, 3);
    EXPECT_DOUBLE_EQ(unite.dureeTotale0X, 0.012);
    EXPECT_FALSE(moteur.modePermanent);
    EXPECT_EQ(moteur.MODEGENERAL, 4);
    verifierTrame(0, 0, 4, 61); // the last frame was completed
}

TEST_F(MoteurPermanent, DerniereEntreeDesactiveeValideCeQuiEstAcquis) {
    unite.setDurees(0.01, 101, false);
    unite.tailles = {30};
    vue.pendantMessages = [&](int) {
        if (unite.nbTrames == 3 && moteur.MODEGENERAL == 5 && unite.VoiesActivesX.size() == 1) {
            moteur.MPEntree = 0;
            moteur.MPVoieActive = false;
            moteur.nouveauReglage(MP_VOIE_ACTIVE);
        }
    };
    moteur.BAcquisitionClick();
    EXPECT_EQ(moteur.MODEGENERAL, 4);
    EXPECT_EQ(unite.nbVoiesActivesX, 0);
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    EXPECT_EQ(series.voiesMesurees[0].sEnteteVM, QStringLiteral("u[0_M]"));
    // Frame 2, whole (the unit has no signal left, so its words are spelled out here).
    ASSERT_EQ(series.tv2[0].size(), 101u);
    for (int k = 0; k < 101; ++k)
        ASSERT_NEAR(series.tv2[0][k], TCentraleScript::code(2, k) * 0.001, 1e-4) << k;
    EXPECT_EQ(unite.nbTrames, 3);
}

// Slow frames (0.2 s > 0.15 s), double-frame display: frames fill the two halves in turn.
TEST_F(MoteurPermanent, DoubleTrameLesDeuxMoities) {
    unite.setDurees(0.2, 100, false);
    unite.tailles = {40};
    struct Cas {
        const char* nom;
        bool finDeTrame; // stop after frame 3 is complete, else in its middle
        int trameValidee;
    };
    for (const Cas& c : {Cas{"arret en cours", false, 2}, Cas{"arret en fin", true, 3}}) {
        SCOPED_TRACE(c.nom);
        moteur.MODEGENERAL = MODE_PERMANENT_ARRETE;
        unite.nbTrames = 0;
        vue.lots.clear();
        vue.pendantMessages = [&](int) {
            if (moteur.MODEGENERAL != 5 || unite.nbTrames != 3)
                return;
            if ((!c.finDeTrame && unite.position == 40) ||
                (c.finDeTrame && !unite.acqPeriodiqueEnCours))
                moteur.BAcquisitionClick();
        };
        moteur.BAcquisitionClick();
        EXPECT_TRUE(moteur.modeDoubleTrameX);
        EXPECT_EQ(moteur.MODEGENERAL, 4);
        // Frame 1 in the first half, frame 2 in the second, frame 3 in the first again.
        ASSERT_GE(vue.lots.size(), 7u);
        EXPECT_EQ(vue.lots[0].pt0Trame, 0);
        EXPECT_EQ(vue.lots[3].pt0Trame, 100);
        EXPECT_EQ(vue.lots[3].premier, 100);
        EXPECT_EQ(vue.lots[6].pt0Trame, 0);
        // The strip wiped ahead of the sweep.
        EXPECT_TRUE(vue.lots[3].effacerBande);
        EXPECT_DOUBLE_EQ(vue.lots[3].tBande0, 0.0);
        EXPECT_DOUBLE_EQ(vue.lots[4].tBande0, 40 * unite.dt0X);
        EXPECT_DOUBLE_EQ(vue.lots[4].tBande1, 80 * unite.dt0X);
        verifierTrame(0, 0, c.trameValidee, 100);
    }
}

TEST_F(MoteurPermanent, EffacementImmediatDesTrames) {
    moteur.optionEffaceTrame = true;
    unite.setDurees(0.2, 100, false);
    unite.tailles = {40};
    vue.pendantMessages = [&](int) {
        if (moteur.MODEGENERAL == 5 && unite.nbTrames == 2 && unite.position == 40)
            moteur.BAcquisitionClick();
    };
    moteur.BAcquisitionClick();
    EXPECT_FALSE(moteur.modeDoubleTrameX);
    ASSERT_EQ(series.tv2[0].size(), 100u);
    for (int k = 0; k < 40; ++k)
        ASSERT_NEAR(series.tv2[0][k], unite.attendu(2, k, 0), 1e-4) << k;
    for (int k = 40; k < 100; ++k)
        ASSERT_EQ(series.tv2[0][k], 0.0f) << k;
    int effacements = 0;
    for (const TLotVu& l : vue.lots)
        effacements += l.effacerTout ? 1 : 0;
    EXPECT_EQ(effacements, 2); // one per frame, at its first transfer
}

TEST_F(MoteurPermanent, CodesDeSortie) {
    struct Cas {
        const char* nom;
        double duree;
        std::function<void(TMoteurAcquisition&, TCentraleScript&)> action;
        bool permanentApres;
        int quitte;
        size_t avertissements;
        int trameValidee; // 0: not checked
    };
    const Cas cas[] = {
        {"1 arret trames lentes", 0.2, [](auto& m, auto&) { m.BAcquisitionClick(); }, true, 0, 0,
         0},
        {"1 case decochee trames lentes", 0.2, [](auto& m, auto&) { m.clicModePermanent(false); },
         false, 0, 0, 0},
        {"14 arret trames rapides", 0.01, [](auto& m, auto&) { m.BAcquisitionClick(); }, true, 0, 0,
         1},
        {"14 case decochee", 0.01, [](auto& m, auto&) { m.clicModePermanent(false); }, false, 0, 0,
         2},
        {"13 debranchement", 0.01, [](auto&, auto& u) { u.presente = false; }, true, 0, 1, 1},
        {"15 quitter", 0.01, [](auto& m, auto&) { m.quitterPendantAcquisition(); }, true, 1, 0, 1},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        TCentraleScript u;
        u.setDurees(c.duree, 101, false);
        u.tailles = {30};
        TSeriesMesurees s;
        TVueEssai v;
        TMoteurAcquisition m(&u, s, v);
        m.setModepermanent(true);
        m.MODEGENERAL = MODE_PERMANENT_ARRETE;
        bool fait = false;
        v.pendantMessages = [&](int) {
            if (!fait && u.nbTrames == 2 && u.position == 30) {
                fait = true;
                c.action(m, u);
            }
        };
        m.BAcquisitionClick();
        EXPECT_EQ(m.MODEGENERAL, 4);
        EXPECT_EQ(m.modePermanent, c.permanentApres);
        EXPECT_EQ(v.validees, 1);
        EXPECT_EQ(v.quitte, c.quitte);
        EXPECT_EQ(v.avertissements.size(), c.avertissements);
        EXPECT_EQ(u.nbTrames, 2);
        EXPECT_TRUE(v.timerAcqDir);
        EXPECT_EQ(s.nbVoiesMesurees, 1);
        if (c.trameValidee > 0) {
            for (int k = 0; k < 101; ++k)
                ASSERT_NEAR(s.tv2[0][k], u.attendu(c.trameValidee, k, 0), 1e-4) << k;
        }
    }
}

TEST_F(MoteurPermanent, ReglagesEntreDeuxTrames) {
    // Codes 2 to 12 reach the settings routine with their value and the frames go on.
    struct Cas {
        int code;
        bool avecCourbes;
    };
    const Cas cas[] = {{2, true}, {3, true}, {4, false}, {5, false}, {6, true},  {7, true},
                       {8, true}, {9, true}, {10, true}, {11, true}, {12, false}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.code);
        TCentraleScript u;
        u.tailles = {30};
        TSeriesMesurees s;
        TVueEssai v;
        TMoteurAcquisition m(&u, s, v);
        std::vector<std::pair<int, int>> recus;
        m.appliquerReglage = [&](const TReglageEnAttente& r) {
            recus.emplace_back(r.code, r.MPEntree);
        };
        m.setModepermanent(true);
        m.MODEGENERAL = MODE_PERMANENT_ARRETE;
        v.pendantMessages = [&](int) {
            if (u.nbTrames == 2 && u.position == 30 && recus.empty() && m.typeSortieMP == 0) {
                m.MPEntree = 5;
                m.MPVoieActive = true;
                m.nouveauReglage(static_cast<TSortieMP>(c.code));
            } else if (u.nbTrames == 4) {
                m.BAcquisitionClick();
            }
        };
        m.BAcquisitionClick();
        ASSERT_EQ(recus.size(), 1u);
        EXPECT_EQ(recus[0], std::make_pair(c.code, 5));
        EXPECT_EQ(u.nbTrames, 4) << "frames go on after the change";
        ASSERT_FALSE(v.redessins.empty());
        EXPECT_EQ(v.redessins[1], c.avecCourbes);
        EXPECT_EQ(m.MODEGENERAL, 4);
    }
}

TEST_F(MoteurPermanent, AcquisitionPrecedente) {
    unite.setDurees(0.01, 101, false);
    unite.tailles = {30};
    moteur.setModepermanent(false);
    moteur.MODEGENERAL = MODE_VIERGE;
    moteur.BAcquisitionClick(); // a first acquisition, 101 points
    moteur.setModepermanent(true);
    unite.setDurees(0.01, 51, false);
    moteur.CBAjouterCourbes = true;
    vue.pendantMessages = [&](int) {
        if (moteur.MODEGENERAL == 5 && unite.nbTrames == 2 && unite.nbPts0X == 51)
            moteur.acquisitionPrecedente();
        else if (moteur.MODEGENERAL == 5 && unite.nbTrames == 4)
            moteur.BAcquisitionClick();
    };
    moteur.BAcquisitionClick();
    // The timing of the first acquisition is back: the store follows it, and the change
    // redrew the graph without curves.
    EXPECT_EQ(unite.nbPts0X, 101);
    EXPECT_DOUBLE_EQ(unite.dureeTotale0X, 0.01);
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    verifierTrame(0, 0, 3, 101);
    ASSERT_GE(vue.redessins.size(), 3u);
    EXPECT_FALSE(vue.redessins[vue.redessins.size() - 2]);
}

} // namespace
