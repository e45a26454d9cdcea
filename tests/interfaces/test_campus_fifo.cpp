// The CAMPUS FIFO reading on a stand-in library that delivers scripted samples: the
// phases by trigger mode and duration class, the software placement of the threshold
// crossing, time-outs, stops, partial steps and the unit lost.
#include "campus_factice.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

using campusfactice::Banc;

struct Lecture {
    std::vector<uint16_t> mots;
    std::vector<int> retours;
};

// The engine's order up to the start.
void demarrer(TSYSAMCAMPUS& c, int nbPtsFifo) {
    c.NbPtsFifo = nbPtsFifo;
    c.Reset();
    c.prepareTousPRX(true);
    c.TailleTransfertFifo(c.NbPtsFifo);
    c.ViderFifo();
    c.attenteDeclenchement = true;
    c.declencheAcq();
    ASSERT_TRUE(c.acqPeriodiqueEnCours);
}

// Calls LireFifo until n words came, an end (unit lost) or 400 calls.
Lecture lire(TSYSAMCAMPUS& c, std::size_t n) {
    Lecture l;
    TFifoSP5 fifo{};
    for (int appel = 0; appel < 400 && l.mots.size() < n; ++appel) {
        const int a = c.LireFifo(&fifo);
        l.retours.push_back(a);
        if (a == LIREFIFO_PERDUE)
            break;
        if (a > 0) {
            EXPECT_LE(a, 256);
            l.mots.insert(l.mots.end(), fifo.begin(), fifo.begin() + a);
        }
    }
    return l;
}

// Samples of nbPas time steps on nbVA inputs, code(step, input) given.
void fournir(int64_t nbPas, int nbVA, const std::function<int(int64_t, int)>& code) {
    for (int64_t s = 0; s < nbPas; ++s)
        for (int k = 0; k < nbVA; ++k)
            campusfactice::flux.push_back(code(s, k));
}

int codeIndex(int64_t s, int k, int nbVA) {
    return static_cast<int>((s * nbVA + k) % 4096);
}

TEST(CampusFifo, ManuelleCourteParBlocsJusquAuDernierMot) {
    Banc b({0});
    b.c.setDurees(0.1, 1001, false);
    fournir(1001, 1, [](int64_t s, int k) { return codeIndex(s, k, 1); });
    demarrer(b.c, 180);
    EXPECT_EQ(b.c.etapeAcq, 4);
    const Lecture l = lire(b.c, 1001);
    ASSERT_EQ(l.mots.size(), 1001u);
    for (std::size_t i = 0; i < l.mots.size(); ++i)
        ASSERT_EQ(l.mots[i], i << 4) << i;
    // Blocks of 180 to 256 words while it runs, the rest at the end.
    int blocs = 0;
    for (std::size_t i = 0; i + 1 < l.retours.size(); ++i)
        if (l.retours[i] > 0) {
            EXPECT_GE(l.retours[i], 180);
            ++blocs;
        }
    EXPECT_GE(blocs, 3);
    TFifoSP5 fifo{};
    EXPECT_EQ(b.c.LireFifo(&fifo), 0); // everything handed over
}

TEST(CampusFifo, ManuelleLonguePasPartielsSurDeuxEntrees) {
    Banc b({0, 2});
    b.c.setDurees(1.0, 1001, false);
    ASSERT_EQ(b.c.modeRecuperation, 0);
    fournir(1001, 2, [](int64_t s, int k) { return codeIndex(s, k, 2); });
    campusfactice::parAppel = 3; // odd pieces: a time step is cut in two
    demarrer(b.c, 100);
    const Lecture l = lire(b.c, 2002);
    ASSERT_EQ(l.mots.size(), 2002u);
    for (std::size_t i = 0; i < l.mots.size(); ++i)
        ASSERT_EQ(l.mots[i], (i % 4096) << 4) << i;
}

TEST(CampusFifo, QuatreEntreesQuatreMillePointsTamponsAssez) {
    // The buffers are sized from the acquisition at its start.
    Banc b({0, 1, 2, 3});
    b.c.setDurees(0.1, 4000, false);
    ASSERT_EQ(b.c.nbPts0X, 4000);
    fournir(4000, 4, [](int64_t s, int k) { return codeIndex(s, k, 4); });
    demarrer(b.c, 256);
    const Lecture l = lire(b.c, 16000);
    ASSERT_EQ(l.mots.size(), 16000u);
    EXPECT_EQ(l.mots.back(), (15999 % 4096) << 4);
}

// A threshold acquisition on input 0 (of nbVA) whose signal rises one code per half step:
// the unit's crossing is between steps croisement - 1 and croisement of its span.
struct Seuil {
    Banc b;
    int64_t croisement;
    Seuil(std::initializer_list<int> entrees, double duree, float pretrig, int64_t croisement_,
          int mode = 1)
        : b(entrees), croisement(croisement_) {
        b.c.setModeDeclenchement(mode, false);
        b.c.setVoieSynchro(0, false);
        b.c.setPretrig(pretrig, false);
        b.c.setDurees(duree, 1001, false);
        b.c.setSeuilDecl(static_cast<float>(b.c.Ux(0, code(croisement) - 1)));
        const int nbVA = b.c.nbVoiesActivesX;
        fournir(b.c.aNombreDePoint1, nbVA,
                [this](int64_t s, int k) { return k == 0 ? code(s) : 7; });
    }
    int code(int64_t s) const { return static_cast<int>(1000 + 2 * s); }
};

TEST(CampusFifo, SeuilAvecPretrigPlaceLeFranchissement) {
    // short and long: the crossing found 14 steps after where it belongs
    for (double duree : {0.1, 1.0}) {
        SCOPED_TRACE(duree);
        Seuil s({0, 1}, duree, 25.0f, 265);
        TSYSAMCAMPUS& c = s.b.c;
        ASSERT_EQ(c.nbPtsPretrig, 250);
        ASSERT_EQ(c.psc1, 10);
        demarrer(c, 180);
        TFifoSP5 fifo{};
        EXPECT_EQ(c.LireFifo(&fifo), 0); // the first step: triggered
        EXPECT_EQ(c.etapeAcq, 2);
        EXPECT_FALSE(c.attenteDeclenchement);
        const Lecture l = lire(c, static_cast<std::size_t>(c.NBValTrame));
        ASSERT_EQ(l.mots.size(), static_cast<std::size_t>(c.NBValTrame));
        // Step 250 is the unit's step 264, the last one below the threshold.
        const int64_t D = 264 - 250;
        for (int64_t k = 0; k < c.nbPts0X; ++k) {
            ASSERT_EQ(l.mots[static_cast<std::size_t>(2 * k)] >> 4, s.code(k + D)) << k;
            ASSERT_EQ(l.mots[static_cast<std::size_t>(2 * k + 1)] >> 4, 7) << k;
        }
        // The threshold lies half way between the two steps around it.
        EXPECT_NEAR(c.dtPretrig, 0.5 * c.dt0X, 1e-3 * c.dt0X);
        // The span was read in pieces of at most 256 samples.
        for (int32_t d : campusfactice::demandes)
            EXPECT_LE(d, 256);
    }
}

TEST(CampusFifo, SeuilSansPretrigDeuxPasDAbord) {
    for (double duree : {0.1, 1.0}) {
        SCOPED_TRACE(duree);
        Seuil s({0, 3}, duree, 0.0f, 1);
        TSYSAMCAMPUS& c = s.b.c;
        campusfactice::parAppel = 1; // one sample at a time: the steps stay whole
        demarrer(c, 100);
        TFifoSP5 fifo{};
        int premier = 0;
        for (int appel = 0; appel < 10 && premier == 0; ++appel)
            premier = c.LireFifo(&fifo);
        ASSERT_EQ(premier, 4);
        EXPECT_EQ(fifo[0] >> 4, s.code(0));
        EXPECT_EQ(fifo[1] >> 4, 7);
        EXPECT_EQ(fifo[2] >> 4, s.code(1));
        EXPECT_NEAR(c.dtPretrig, 0.5 * c.dt0X, 1e-3 * c.dt0X);
        const Lecture l = lire(c, static_cast<std::size_t>(c.NBValTrame - 4));
        ASSERT_EQ(l.mots.size(), static_cast<std::size_t>(c.NBValTrame - 4));
        EXPECT_EQ(l.mots.back() >> 4, 7);
        EXPECT_EQ(l.mots[l.mots.size() - 2] >> 4, s.code(c.nbPts0X - 1));
    }
}

TEST(CampusFifo, ExterneCourteEtLongue) {
    for (double duree : {0.1, 1.0}) {
        SCOPED_TRACE(duree);
        Seuil s({0}, duree, 50.0f, 0, 2);
        TSYSAMCAMPUS& c = s.b.c;
        EXPECT_EQ(c.psc1, 0); // no guard blocks outside threshold mode
        campusfactice::latence = 3;
        demarrer(c, 100);
        const Lecture l = lire(c, static_cast<std::size_t>(c.NBValTrame));
        ASSERT_EQ(l.mots.size(), static_cast<std::size_t>(c.NBValTrame));
        // The unit's own pretrigger as it is: every sample in order.
        for (int64_t k = 0; k < c.nbPts0X; ++k)
            ASSERT_EQ(l.mots[static_cast<std::size_t>(k)] >> 4, s.code(k)) << k;
        c.getDTPretrig();
        EXPECT_EQ(c.dtPretrig, 0.0);
    }
}

TEST(CampusFifo, DeclenchementQuiNeVientPasRappelleChaqueSeconde) {
    Seuil s({0}, 1.0, 25.0f, 265);
    campusfactice::latence = 1 << 30;
    demarrer(s.b.c, 100);
    TFifoSP5 fifo{};
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(s.b.c.LireFifo(&fifo), LIREFIFO_RAPPELER);
    EXPECT_GE(t.elapsed(), 900);
    EXPECT_LT(t.elapsed(), 2500);
    EXPECT_EQ(s.b.c.etapeAcq, 1);
    EXPECT_TRUE(s.b.c.acqPeriodiqueEnCours);
}

TEST(CampusFifo, LectureSansDonneesRappelleApresUneSecondeEtDemie) {
    Banc b({0});
    b.c.setDurees(1.0, 1001, false);
    demarrer(b.c, 100);
    TFifoSP5 fifo{};
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(b.c.LireFifo(&fifo), LIREFIFO_RAPPELER);
    EXPECT_GE(t.elapsed(), 1400);
    EXPECT_LT(t.elapsed(), 3000);
    // The next call goes on where this one stopped.
    fournir(1001, 1, [](int64_t s, int k) { return codeIndex(s, k, 1); });
    const Lecture l = lire(b.c, 1001);
    EXPECT_EQ(l.mots.size(), 1001u);
}

TEST(CampusFifo, ArretPendantLAttenteFinitLAppel) {
    Seuil s({0}, 1.0, 25.0f, 265);
    campusfactice::latence = 1 << 30;
    demarrer(s.b.c, 100);
    // The stop button's handler runs while the driver lets the window work.
    QTimer::singleShot(100, [&] { s.b.c.arreteAcq(); });
    TFifoSP5 fifo{};
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(s.b.c.LireFifo(&fifo), 0);
    EXPECT_LT(t.elapsed(), 900);
    EXPECT_FALSE(s.b.c.acqPeriodiqueEnCours);
    EXPECT_EQ(s.b.c.NbProcessus, 0);
    EXPECT_EQ(s.b.c.LireFifo(&fifo), 0);
}

TEST(CampusFifo, ArretIdempotent) {
    Banc b({0});
    demarrer(b.c, 180);
    EXPECT_EQ(b.c.NbProcessus, 1);
    // A second start without a stop still counts one run.
    b.c.declencheAcq();
    EXPECT_EQ(b.c.NbProcessus, 1);
    for (int k = 0; k < 3; ++k) {
        b.c.arreteAcq();
        EXPECT_EQ(b.c.NbProcessus, 0);
        EXPECT_FALSE(b.c.acqPeriodiqueEnCours);
    }
    EXPECT_FALSE(b.c.arretNonConfirme);
    // An unexpected answer: the run is over here all the same, and it is told.
    campusfactice::reponseArret = u"Erreur USB";
    demarrer(b.c, 180);
    b.c.arreteAcq();
    EXPECT_EQ(b.c.NbProcessus, 0);
    EXPECT_FALSE(b.c.acqPeriodiqueEnCours);
    EXPECT_TRUE(b.c.arretNonConfirme);
    EXPECT_EQ(b.c.MSGErreurAcq, QStringLiteral("Erreur USB"));
}

TEST(CampusFifo, UnitePerdueSignalee) {
    Banc b({0});
    b.c.setDurees(1.0, 1001, false);
    fournir(300, 1, [](int64_t s, int k) { return codeIndex(s, k, 1); });
    demarrer(b.c, 100);
    EXPECT_EQ(b.c.presentePendantAcq(), 1);
    const Lecture l = lire(b.c, 200);
    EXPECT_GE(l.mots.size(), 200u);
    campusfactice::debranchee = true;
    const Lecture fin = lire(b.c, 1001);
    ASSERT_FALSE(fin.retours.empty());
    EXPECT_EQ(fin.retours.back(), LIREFIFO_PERDUE);
    EXPECT_EQ(b.c.presentePendantAcq(), -1);
    b.c.arreteAcq();
    EXPECT_EQ(b.c.NbProcessus, 0);
}

TEST(CampusFifo, SeuilCentPourCentNeRenvoieQueLAcquisition) {
    // The span with its guard blocks is longer than the acquisition: only the acquisition's
    // words, all of them real samples, are handed over.
    for (double duree : {0.1, 1.0}) {
        SCOPED_TRACE(duree);
        Seuil s({0}, duree, 100.0f, 1005);
        TSYSAMCAMPUS& c = s.b.c;
        demarrer(c, 100);
        const Lecture l = lire(c, static_cast<std::size_t>(c.NBValTrame) + 1);
        ASSERT_EQ(l.mots.size(), static_cast<std::size_t>(c.NBValTrame));
        const int64_t D = 1004 - c.nbPtsPretrig;
        for (int64_t k = 0; k < c.nbPts0X; ++k)
            ASSERT_EQ(l.mots[static_cast<std::size_t>(k)] >> 4, s.code(k + D)) << k;
    }
}

TEST(CampusFifo, RetardDuDeclenchementBorneAUnIntervalle) {
    // threshold between codes (half steps from step 0) -> delay in intervals; the steps
    // around the crossing are steps 0 and 1 (codes 1000 and 1002)
    const struct {
        int64_t croisement;
        double retard;
    } cas[] = {{1, 0.5}, {0, 0.0}, {3, 1.0}};
    for (const auto& k : cas) {
        SCOPED_TRACE(k.croisement);
        Seuil s({0}, 1.0, 0.0f, k.croisement);
        demarrer(s.b.c, 100);
        const Lecture l = lire(s.b.c, 2);
        ASSERT_EQ(l.mots.size(), 2u);
        EXPECT_NEAR(s.b.c.dtPretrig, k.retard * s.b.c.dt0X, 1e-3 * s.b.c.dt0X);
    }
    // Equal codes on both sides: no delay.
    Seuil s({0}, 1.0, 0.0f, 1);
    campusfactice::flux.assign(campusfactice::flux.size(), 1500);
    demarrer(s.b.c, 100);
    EXPECT_EQ(lire(s.b.c, 2).mots.size(), 2u);
    EXPECT_EQ(s.b.c.dtPretrig, 0.0);
}

} // namespace
