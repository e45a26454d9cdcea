// The base interface object: initial state, re-initialisation, the count of running
// acquisitions and the timing comparison shared by the drivers.
#include "centrale.h"
#include "centrale_neutre.h"

#include <type_traits>

#include <gtest/gtest.h>

namespace {

// A minimal driver: what every real driver does with the base helpers.
class TCentraleEssai : public TCentraleNeutre {
public:
    explicit TCentraleEssai(const QString& sDLL) : TCentraleNeutre(sDLL, 1) { construire(sDLL); }

    // A driver's construction: base values first, then its own geometry.
    void construire(const QString& sDLL) {
        initialiserBase(1);
        FNomDLL = sDLL;
        typeCentrale = CENTRALE_SP5;
        nbEAU = 8;
        VoiesX.assign(8, TVoie());
        a1.assign(8, std::vector<double>(6, 0.0));
        nbPts0X = 1001;
        ndt = 1000;
    }

    void declencheAcq() override {
        debutProcessus();
        acqPeriodiqueEnCours = true;
        chronometre.Declenche();
    }
    void arreteAcq() override {
        if (!finProcessus())
            return; // nothing runs: nothing to stop
        acqPeriodiqueEnCours = NbProcessus > 0;
        tAcqTotal = chronometre.Mesure();
    }
    uint8_t CapteurBase(uint8_t canal) override { return static_cast<uint8_t>(canal + 40); }

    using TCentrale::initialiserBase;
};

TEST(Centrale, ValeursDuConstructeurDeBase) {
    TCentraleNeutre c(QStringLiteral("/chemin/SP5.DLL"), 1);
    EXPECT_EQ(c.LogiUtilisateur, 1);
    EXPECT_FALSE(c.acquisitionUtilisateur);
    EXPECT_EQ(c.coPretrigCache, 0.0);
    EXPECT_EQ(c.tAcqRecup, -1.0);
    EXPECT_FALSE(c.CentralePCI);
    EXPECT_TRUE(c.pretrigDispo);
    EXPECT_FLOAT_EQ(c.tAttenteMaxDecl, 3.1557599e10f);
    EXPECT_FALSE(c.LaCentraleGereDesCapteurs);
    EXPECT_FALSE(c.synchroExterneDispo);
    EXPECT_FALSE(c.detectionCapteurPdtAcqPossible);
    EXPECT_FALSE(c.BloqueConstructionGraphe);
    EXPECT_TRUE(c.chronometre.HauteResolution);
    // The base does not use the library name.
    EXPECT_TRUE(c.FNomDLL.isEmpty());
    EXPECT_EQ(c.HandleDLL, 0);
    EXPECT_EQ(c.NbProcessus, 0);
    EXPECT_FALSE(c.CentraleInstallee);
    EXPECT_TRUE(c.VoiesX.empty());
    // Apart from the values above, every field is zero, false or empty.
    TDonneesCentrale attendu;
    attendu.LogiUtilisateur = 1;
    attendu.chronometre = c.chronometre;
    EXPECT_TRUE(static_cast<const TDonneesCentrale&>(c) == attendu);

    const TCentraleNeutre sansNom(0);
    EXPECT_EQ(sansNom.LogiUtilisateur, 0);
}

// A driver must provide every operation the program relies on; the base answers only
// where its answer is right for every unit.
static_assert(std::is_abstract_v<TCentrale>);

TEST(Centrale, OperationsParDefaut) {
    TCentraleNeutre c(1);
    TFifoSP5 fifo{};
    EXPECT_TRUE(c.synchroDisponible());
    EXPECT_EQ(c.LireFifoBASE(&fifo), 0);
    EXPECT_EQ(c.GetRegistre(24), 0);
    EXPECT_EQ(c.filtreNbPts(1234), 1234);
    EXPECT_FALSE(c.detectionCapteursBAse(true));
    EXPECT_EQ(c.Capteur(2), 0);
    for (int n : {0, 3, 7}) {
        SCOPED_TRACE(n);
        EXPECT_TRUE(c.getIntituleVoie(n).isEmpty());
        EXPECT_TRUE(c.getIntituleVoieSimplifie(n).isEmpty());
        EXPECT_TRUE(c.getIntituleVoieTresSimplifie(n).isEmpty());
    }
}

TEST(Centrale, CapteurPasseParCapteurBase) {
    TCentraleEssai c{QString()};
    EXPECT_EQ(c.Capteur(2), 42);
}

TEST(Centrale, ReinitialisationDonneLEtatDUnObjetNeuf) {
    TCentraleEssai reprise(QStringLiteral("/premier/SP5.DLL"));
    // A first construction that went its way: settings, a run, a memorised timing.
    reprise.CentraleInstallee = true;
    reprise.HandleDLL = 7;
    reprise.numeroSerie = QStringLiteral("SP5Absente");
    reprise.VoiesX[3].active = true;
    reprise.VoiesX[3].cap.sDesignation = QStringLiteral("Aucun capteur");
    reprise.a1[2][1] = 0.0049;
    reprise.canauxDiff = {true, false, true, false};
    reprise.enregistrerParametresTemporels(1);
    reprise.tAcqRecup = 12.5;
    reprise.declencheAcq();
    reprise.chronometre.Mesure();
    const int64_t debutAvant = reprise.chronometre.TickDeDebut;

    reprise.construire(QStringLiteral("/second/SP5SIM.DLL"));
    const TCentraleEssai neuve(QStringLiteral("/second/SP5SIM.DLL"));

    EXPECT_EQ(reprise.NbProcessus, 0);
    EXPECT_FALSE(reprise.acqPeriodiqueEnCours);
    EXPECT_EQ(reprise.tAcqRecup, -1.0);
    EXPECT_EQ(reprise.acqPerPrec, TReglagesTemporels{});
    EXPECT_TRUE(reprise.canauxDiff.empty());
    // A new stopwatch, started again.
    EXPECT_GE(reprise.chronometre.TickDeDebut, debutAvant);
    EXPECT_EQ(reprise.chronometre.TickDeMesure, reprise.chronometre.TickDeDebut);

    // Every field equal, the stopwatch's instant of creation aside.
    TDonneesCentrale a = reprise;
    TDonneesCentrale b = neuve;
    a.chronometre = b.chronometre;
    EXPECT_TRUE(a == b);
}

TEST(Centrale, NbProcessusJamaisNegatif) {
    const struct {
        const char* nom;
        const char* suite; // d: declencheAcq, a: arreteAcq
        int attendu;
        bool enCours;
    } cas[] = {
        {"arret seul", "a", 0, false},
        {"deux arrets", "aa", 0, false},
        {"marche arret", "da", 0, false},
        {"arret de trop", "daa", 0, false},
        {"arret puis marche", "ad", 1, true},
        {"deux marches", "dd", 2, true},
        {"deux marches un arret", "dda", 1, true},
        {"arrets en trop puis marche", "daaad", 1, true},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        TCentraleEssai centrale{QString()};
        for (const char* p = c.suite; *p; ++p) {
            if (*p == 'd')
                centrale.declencheAcq();
            else
                centrale.arreteAcq();
            ASSERT_GE(centrale.NbProcessus, 0);
        }
        EXPECT_EQ(centrale.NbProcessus, c.attendu);
        EXPECT_EQ(centrale.acqPeriodiqueEnCours, c.enCours);
    }
}

TEST(Centrale, ArretSansAcquisitionNeChangeRien) {
    TCentraleEssai c{QString()};
    c.tAcqTotal = 123.0;
    const TDonneesCentrale avant = c;
    c.arreteAcq();
    EXPECT_TRUE(static_cast<const TDonneesCentrale&>(c) == avant);
}

TEST(Centrale, MemesParametresTemporels) {
    const struct {
        const char* nom;
        int64_t nbPts, ndt;              // current timing
        TReglagesTemporels prec;         // memorised one
        int64_t facteurAct, facteurPrec; // tick units of each
        bool attendu;
    } cas[] = {
        {"identiques", 1001, 100, {0, 1001, 100}, 1, 1, true},
        {"rien de memorise", 1001, 100, {0, 0, 0}, 1, 1, false},
        {"rien de memorise, zero point", 0, 0, {0, 0, 0}, 1, 1, false},
        {"meme total, autres points", 500, 200, {0, 1000, 100}, 1, 1, false},
        {"memes points, autre periode", 1001, 101, {0, 1001, 100}, 1, 1, false},
        {"autre unite de tick, meme duree", 1001, 5, {0, 1001, 100}, 20, 1, true},
        {"autre unite de tick, autre duree", 1001, 100, {0, 1001, 100}, 20, 1, false},
        {"grands nombres", 50001, 1000000000, {0, 50001, 1000000000}, 1, 1, true},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        TCentraleNeutre centrale(1);
        centrale.nbPts0X = c.nbPts;
        centrale.ndt = c.ndt;
        centrale.acqPerPrec = c.prec;
        EXPECT_EQ(centrale.parametresTemporelsEgaux(c.facteurAct, c.facteurPrec), c.attendu);
    }
    EXPECT_EQ(TCentrale::ticksTotaux(50001, 1000000000, 20), 1000020000000000LL);
}

TEST(Centrale, MemoriserPuisComparer) {
    TCentraleNeutre c(1);
    c.nbPts0X = 1001;
    c.ndt = 1000;
    EXPECT_FALSE(c.parametresTemporelsEgaux());
    c.enregistrerParametresTemporels(1);
    EXPECT_EQ(c.acqPerPrec, (TReglagesTemporels{1, 1001, 1000}));
    EXPECT_TRUE(c.parametresTemporelsEgaux());
    c.nbPts0X = 2001;
    EXPECT_FALSE(c.parametresTemporelsEgaux());
}

TEST(Centrale, NomsDesCentrales) {
    const struct {
        int type;
        const char* nomLong;
        const char* nomCourt;
    } cas[] = {
        {0, "", ""},
        {1, "SYSAM SP5", "Sysam SP5"},
        {2, "SYSAM V6", "Sysam V6"},
        {3, "SYSAM CAMPUS", "Sysam Campus"},
        {4, "SIMULATION SP5", "Simulation SP5"},
        {5, "AUDIO", "Audio"},
        {6, "SIMULATION V6", "Simulation V6"},
        {-1, "", ""},
        {99, "", ""},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(nomLongCentrale(c.type), QString::fromUtf8(c.nomLong));
        EXPECT_EQ(nomCourtCentrale(c.type), QString::fromUtf8(c.nomCourt));
    }
}

} // namespace
