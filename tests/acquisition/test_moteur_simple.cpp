// The single acquisition against a scripted unit: transfers split across time steps,
// the threshold trigger's shift, stop, loss of the unit, long waits, errors.
#include "centrale_script.h"
#include "moteuracquisition.h"
#include "vue_essai.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class MoteurSimple : public ::testing::Test {
protected:
    TCentraleScript unite;
    TSeriesMesurees series;
    TVueEssai vue;
    TMoteurAcquisition moteur{&unite, series, vue};

    // Every point of signal i of the running acquisition equals frame t of the unit.
    void verifierColonne(int colonne, int i, int t, int64_t nb) {
        ASSERT_GE(static_cast<int64_t>(series.tv2[colonne].size()), nb);
        int ecarts = 0;
        for (int64_t k = 0; k < nb; ++k)
            if (std::fabs(series.tv2[colonne][k] - unite.attendu(t, k, i)) > 1e-4 && ++ecarts < 4)
                ADD_FAILURE() << "signal " << i << " point " << k << ": " << series.tv2[colonne][k]
                              << " au lieu de " << unite.attendu(t, k, i);
        EXPECT_EQ(ecarts, 0);
    }
};

TEST(NbPtsFifo, UnDixiemeDeSecondeBorne) {
    struct Cas {
        double dt;
        int nbS, min, attendu;
    };
    const Cas cas[] = {{1e-6, 2, 16, 256}, {0.01, 2, 16, 16}, {0.01, 2, 1, 10},
                       {1e-3, 8, 1, 100},  {1.0, 3, 1, 3},    {0.0, 1, 1, 256}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.dt);
        EXPECT_EQ(TMoteurAcquisition::calculerNbPtsFifo(c.dt, c.nbS, c.min), c.attendu);
    }
}

TEST_F(MoteurSimple, LEtatGeneralEstCeluiDuMoteurEtLaVueLeSuit) {
    for (int a = 0; a <= 8; ++a) {
        moteur.setModeGeneral(static_cast<TModeGeneral>(a));
        EXPECT_EQ(moteur.MODEGENERAL, a);
        ASSERT_FALSE(vue.modes.empty());
        EXPECT_EQ(vue.modes.back(), a);
    }
    EXPECT_EQ(vue.modes.size(), 9u) << "the view is told once per change";
}

TEST_F(MoteurSimple, TroisSignauxSansPerteNiDoublon) {
    // 85 points and 1 word over, 85 and 2 over, then 86 and none.
    unite.activer({0, 5, 4}, {2, 0, 1});
    unite.setDurees(0.03, 300, false);
    struct Cas {
        const char* nom;
        std::vector<int> tailles;
    };
    const Cas cas[] = {{"256", {}}, {"1 2 5 7", {1, 2, 5, 7}}, {"100", {100}}, {"3", {3}}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        unite.tailles = c.tailles;
        vue.lots.clear();
        moteur.BAcquisitionClick();
        EXPECT_EQ(unite.NbPtsFifo, 256);
        EXPECT_EQ(moteur.MODEGENERAL, 2);
        ASSERT_EQ(series.nbVoiesMesurees, 3);
        for (int i = 0; i < 3; ++i)
            verifierColonne(i, i, unite.nbTrames, 300);
        // The batches follow each other without gap or overlap.
        int64_t suivant = 0;
        for (const TLotVu& l : vue.lots) {
            EXPECT_EQ(l.premier, suivant);
            suivant = l.dernier + 1;
        }
        EXPECT_EQ(suivant, 300);
    }
    EXPECT_EQ(vue.messages.back(), QStringLiteral("3 séries acquises"));
}

TEST_F(MoteurSimple, LotsDeTroisSignaux) {
    unite.activer({0, 5, 4});
    unite.setDurees(0.03, 300, false);
    moteur.BAcquisitionClick();
    ASSERT_EQ(vue.lots.size(), 4u);
    const int64_t bornes[][2] = {{0, 84}, {85, 169}, {170, 255}, {256, 299}};
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(vue.lots[j].premier, bornes[j][0]);
        EXPECT_EQ(vue.lots[j].dernier, bornes[j][1]);
    }
    // Live values: the latest point of each batch.
    ASSERT_EQ(vue.valeurs.size(), 12u);
    EXPECT_EQ(vue.valeurs[3].first, 0);
    EXPECT_NEAR(vue.valeurs[3].second, unite.attendu(1, 169, 0), 1e-4);
}

TEST_F(MoteurSimple, SeuilDecaleSurLInstantDeDeclenchement) {
    unite.setModeDeclenchement(1, false);
    unite.setDurees(0.01, 101, false);
    ASSERT_EQ(unite.nbPts0X, 102);
    for (double part : {0.0, 0.5, 0.25}) {
        SCOPED_TRACE(part);
        unite.dtPretrigScript = part * unite.dt0X;
        unite.tailles = {1, 40}; // the first transfer holds a single time step
        vue.valeurs.clear();
        moteur.BAcquisitionClick();
        ASSERT_EQ(series.nbVoiesMesurees, 1);
        const int t = unite.nbTrames;
        for (int64_t k = 0; k + 1 < unite.nbPts0X; ++k) {
            const double u0 = unite.attendu(t, k, 0), u1 = unite.attendu(t, k + 1, 0);
            ASSERT_NEAR(series.tv2[0][k], u0 + (u1 - u0) * part, 1e-4) << k;
        }
        // The last point is acquired only to shift the one before it.
        EXPECT_EQ(series.tv2[0][unite.nbPts0X - 1], 0.0f);
        // The live value after the first transfer is sample 0, not a value before it.
        ASSERT_FALSE(vue.valeurs.empty());
        EXPECT_NEAR(vue.valeurs.front().second, unite.attendu(t, 0, 0), 1e-4);
    }
}

TEST_F(MoteurSimple, ArretAvantLeDeclenchement) {
    unite.setModeDeclenchement(1, false);
    unite.muette = true;
    vue.pendantMessages = [&](int n) {
        if (n == 6)
            moteur.BAcquisitionClick();
    };
    moteur.BAcquisitionClick();
    EXPECT_TRUE(vue.aMessage(QStringLiteral("Attente du déclenchement sur synchro...")));
    EXPECT_EQ(moteur.MODEGENERAL, 2);
    EXPECT_FALSE(unite.acqPeriodiqueEnCours);
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    for (float v : series.tv2[0])
        ASSERT_EQ(v, 0.0f);
    EXPECT_TRUE(vue.avertissements.empty());
    EXPECT_EQ(vue.legendes.back(), QStringLiteral("Démarrer l'acquisition"));
}

TEST_F(MoteurSimple, ArretEnCoursGardeLesPointsLus) {
    unite.setDurees(1.0, 1000, false);
    unite.tailles = {20};
    vue.pendantMessages = [&](int n) {
        if (n == 5)
            moteur.BAcquisitionClick();
    };
    moteur.BAcquisitionClick();
    EXPECT_EQ(moteur.MODEGENERAL, 2);
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    // Five transfers of 20 points were stored; the rest stays 0.
    verifierColonne(0, 0, 1, 100);
    for (int64_t k = 100; k < 1000; ++k)
        ASSERT_EQ(series.tv2[0][k], 0.0f) << k;
}

TEST_F(MoteurSimple, DebranchementCode13) {
    unite.setDurees(1.0, 1000, false);
    unite.tailles = {20};
    unite.avantLecture = [&](int lecture) {
        if (lecture == 4)
            unite.presente = false;
    };
    moteur.BAcquisitionClick();
    EXPECT_EQ(moteur.MODEGENERAL, 2);
    ASSERT_EQ(vue.avertissements.size(), 1u);
    EXPECT_EQ(vue.avertissements[0], TMoteurAcquisition::texteDebranchement);
    EXPECT_EQ(moteur.typeSortieMP, 0);
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    verifierColonne(0, 0, 1, 60);
    EXPECT_EQ(series.tv2[0][60], 0.0f);
}

TEST_F(MoteurSimple, RetoursNegatifsDeLireFifo) {
    // "Call again" is neither data nor an empty read: no wait is counted, so no presence
    // test comes however many there are; an empty read is a wait; "unit gone" ends the
    // acquisition as an unplugged unit does.
    const struct {
        int retour;
        int nombre; // reads that return it, from the first
        bool presencesAttendues;
        bool perdue;
    } cas[] = {
        {LIREFIFO_RAPPELER, 150, false, false},
        {0, 150, true, false},
        {LIREFIFO_PERDUE, 1, false, true},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.retour);
        TCentraleScript u;
        TSeriesMesurees s;
        TVueEssai v;
        TMoteurAcquisition m{&u, s, v};
        u.sommeilMs = 1;
        for (int l = 1; l <= c.nombre; ++l)
            u.retoursForces[l] = c.retour;
        m.BAcquisitionClick();
        EXPECT_EQ(m.MODEGENERAL, 2);
        EXPECT_EQ(u.presencesTestees > 0, c.presencesAttendues) << u.presencesTestees;
        if (c.perdue) {
            ASSERT_EQ(v.avertissements.size(), 1u);
            EXPECT_EQ(v.avertissements[0], TMoteurAcquisition::texteDebranchement);
            continue;
        }
        EXPECT_TRUE(v.avertissements.empty());
        ASSERT_EQ(s.nbVoiesMesurees, 1);
        for (int64_t k = 0; k < u.nbPts0X; ++k)
            ASSERT_NEAR(s.tv2[0][k], u.attendu(1, k, 0), 1e-4) << k;
    }
}

TEST_F(MoteurSimple, UneReponseDePresenceIndecisePatienteCommeUnePresence) {
    // A unit that cannot tell (neither 1 nor -1) is not gone: the engine goes on waiting
    // with its short sleeps instead of asking again at every empty read.
    unite.setDurees(0.1, 100, false);
    unite.tailles = {10};
    unite.presenceForcee = 0;
    // Values come, then 90 empty reads, then the rest.
    for (int l = 3; l < 93; ++l)
        unite.retoursForces[l] = 0;
    moteur.BAcquisitionClick();
    EXPECT_EQ(moteur.MODEGENERAL, 2);
    EXPECT_TRUE(vue.avertissements.empty());
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    // One presence test per nine empty reads, not one per read.
    EXPECT_LE(unite.presencesTestees, 90 / 9 + 1);
    EXPECT_GE(unite.presencesTestees, 5);
}

TEST_F(MoteurSimple, AttenteLongueDuDeclenchement) {
    unite.setModeDeclenchement(2, false);
    unite.muette = true;
    vue.pendantMessages = [&](int) {
        if (vue.attentesAffichees == 2 && moteur.MODEGENERAL == 3)
            moteur.BAcquisitionClick();
    };
    moteur.BAcquisitionClick();
    EXPECT_EQ(vue.attentesAffichees, 2);
    EXPECT_GE(vue.attentesMasquees, 1);
    EXPECT_EQ(moteur.MODEGENERAL, 2);
    EXPECT_TRUE(vue.avertissements.empty()) << "the unit is still there";
}

// A unit without a waiting limit is still asked every second, while the trigger does not
// come, whether it is there: unplugged, the acquisition ends at the next check.
TEST_F(MoteurSimple, PresenceChaqueSecondeEnAttendantLeDeclenchement) {
    unite.setModeDeclenchement(2, false);
    unite.muette = true;
    unite.tAttenteMaxDecl = 1e6f;
    QElapsedTimer depuisDebranchement;
    QElapsedTimer total;
    total.start();
    vue.pendantMessages = [&](int) {
        if (unite.presencesTestees == 2 && unite.presente) {
            unite.presente = false;
            depuisDebranchement.start();
        }
        // Generous bounds: a loaded machine stretches every sleep.
        if (total.elapsed() > 30000 && moteur.MODEGENERAL == MODE_ACQ_SIMPLE)
            moteur.BAcquisitionClick(); // never left waiting
    };
    moteur.BAcquisitionClick();
    ASSERT_TRUE(depuisDebranchement.isValid()) << unite.presencesTestees << " presence checks";
    const qint64 ms = depuisDebranchement.elapsed();
    EXPECT_EQ(unite.presencesTestees, 3) << "one check per second, none in between";
    EXPECT_GE(ms, 900);
    EXPECT_LT(ms, 20000);
    EXPECT_EQ(moteur.MODEGENERAL, MODE_MESURES);
    ASSERT_EQ(vue.avertissements.size(), 1u);
    EXPECT_EQ(vue.avertissements[0], TMoteurAcquisition::texteDebranchement);
    EXPECT_EQ(vue.attentesAffichees, 0) << "no waiting limit: no long-wait window";
}

TEST_F(MoteurSimple, AttentesCourtesQuoiQueDemandeLUnite) {
    unite.muette = true;
    unite.sommeilMs = 1000; // the unit asks for long sleeps
    QElapsedTimer duree;
    duree.start();
    vue.pendantMessages = [&](int) {
        if (duree.elapsed() > 400 && moteur.MODEGENERAL == 3)
            moteur.BAcquisitionClick();
    };
    moteur.BAcquisitionClick();
    EXPECT_EQ(moteur.MODEGENERAL, 2);
    EXPECT_LE(vue.ecartMaxMs, 250);
    EXPECT_LT(duree.elapsed(), 1000);
}

TEST_F(MoteurSimple, RefusSansEntreeOuSansCentrale) {
    unite.activer({});
    moteur.BAcquisitionClick();
    ASSERT_EQ(vue.informations.size(), 1u);
    EXPECT_EQ(
        vue.informations[0],
        QStringLiteral("Aucune entrée analogique n'est active. \n\rActivez au moins une entrée !"));
    unite.activer({0});
    unite.presente = false;
    moteur.BAcquisitionClick();
    ASSERT_EQ(vue.simples.size(), 1u);
    EXPECT_EQ(vue.simples[0], QStringLiteral("La centrale SYSAM SP5 n'a pas été trouvée: vérifiez "
                                             "si\n\relle est connectée à un port USB de "
                                             "l'ordinateur\n\r et si elle est alimentée."));
    EXPECT_EQ(vue.messages.back(), QStringLiteral("La centrale n'a pas été trouvée"));
    EXPECT_TRUE(vue.modes.empty());
    EXPECT_FALSE(vue.timerAcqDir);
    EXPECT_EQ(unite.nbTrames, 0);
}

TEST_F(MoteurSimple, ErreurPendantLAcquisition) {
    unite.tailles = {30};
    for (bool permanent : {false, true}) {
        SCOPED_TRACE(permanent);
        moteur.setModepermanent(permanent);
        moteur.MODEGENERAL = MODE_VIERGE;
        vue.avertissements.clear();
        unite.avantLecture = [](int lecture) {
            if (lecture == 3)
                throw EErreurBibliotheque(QStringLiteral("SP5.DLL n'est pas chargé"));
        };
        moteur.BAcquisitionClick();
        EXPECT_EQ(moteur.MODEGENERAL, permanent ? 4 : 2);
        EXPECT_FALSE(unite.acqPeriodiqueEnCours);
        ASSERT_EQ(vue.avertissements.size(), 1u);
        EXPECT_TRUE(vue.avertissements[0].endsWith(QStringLiteral("SP5.DLL n'est pas chargé")));
        EXPECT_TRUE(vue.timerPres);
        EXPECT_EQ(vue.terminees, permanent ? 2 : 1);
        EXPECT_EQ(vue.legendes.back(), QStringLiteral("Démarrer l'acquisition"));
    }
}

TEST_F(MoteurSimple, MessageDeFinDesMesures) {
    // 50 % pretrigger of 0.2 s: the message 100 ms after the first samples.
    unite.setDurees(0.2, 1000, false);
    moteur.indexCBPretrig = 2;
    unite.tailles = {10};
    unite.avantLecture = [](int) { QThread::msleep(2); };
    moteur.BAcquisitionClick();
    EXPECT_TRUE(vue.aMessage(QStringLiteral("Mesures terminées, récupération des valeurs")));
    vue.messages.clear();
    moteur.indexCBPretrig = 4; // all pretrigger: no message
    moteur.BAcquisitionClick();
    EXPECT_FALSE(vue.aMessage(QStringLiteral("Mesures terminées, récupération des valeurs")));
}

} // namespace
