// Direct measurement: the live values of the active inputs, read from the SP5 simulator
// every refresh, and the cases where nothing is read.
#include "formats.h"
#include "mesuredirecte.h"
#include "test_reglagesacq_essai.h"

namespace {

class MesureDirecteSimulateur : public SimulateurSP5 {
protected:
    void SetUp() override {
        SimulateurSP5::SetUp();
        separateur_ = separateurDecimal();
        setSeparateurDecimal(u',');
    }
    void TearDown() override {
        setSeparateurDecimal(separateur_);
        SimulateurSP5::TearDown();
    }

    // The value a field text shows, in volts.
    static double volts(const QString& texte) {
        double v = 0.0;
        EXPECT_TRUE(TReglagesAcq::lireValeur(texte, v)) << texte.toStdString();
        return v;
    }

    TMesureDirecte mesure;

private:
    QChar separateur_;
};

TEST(MesureDirecteTexte, FormatDesValeurs) {
    const QChar separateur = separateurDecimal();
    setSeparateurDecimal(u',');
    const struct {
        double volts;
        const char* texte;
    } cas[] = {{0.0, "  0,00 V"},
               {0.0012345, "  1,235 mV"},
               {12.5, "  12,50 V"},
               {-2.5, "  -2,500 V"},
               {0.2, "  200,0 mV"}};
    for (const auto& c : cas)
        EXPECT_EQ(TMesureDirecte::texteValeur(c.volts), QString::fromUtf8(c.texte)) << c.texte;
    setSeparateurDecimal(separateur);
}

TEST_F(MesureDirecteSimulateur, ValeursDesEntreesActives) {
    TSP5 u(chemin, 1);
    ASSERT_TRUE(u.Presente());
    u.activeVoieA(2, false);
    u.prepareTousPRX(true);
    sim.SetSignal(2, 0, 0.0, 0.0, 2.5, 0.0); // a constant 2,5 V on EA2
    const TValeursDirectes r = mesure.rafraichir(&u, MODE_MESURES);
    ASSERT_TRUE(r.lu);
    EXPECT_FALSE(r.centraleAbsente);
    // EA0 carries the simulator's default signal, inside its ±5 V.
    ASSERT_TRUE(r.EditValU[0].has_value());
    EXPECT_TRUE(r.EditValU[0]->startsWith(QStringLiteral("  ")));
    EXPECT_TRUE(r.EditValU[0]->endsWith(u'V'));
    EXPECT_LE(std::fabs(volts(*r.EditValU[0])), 5.01);
    ASSERT_TRUE(r.EditValU[2].has_value());
    EXPECT_NEAR(volts(*r.EditValU[2]), 2.5, 2.0 * 20.0 / 4096.0);
    EXPECT_EQ(*r.EditValU[2], TMesureDirecte::texteValeur(u.Ux(2, u.VoiesX[2].mesDir)));
    // Inactive inputs are left alone.
    for (int i : {1, 3, 4, 5, 6, 7})
        EXPECT_FALSE(r.EditValU[i].has_value()) << i;
}

TEST_F(MesureDirecteSimulateur, EntreeDesactivee) {
    TSP5 u(chemin, 1);
    TRecepteurEssai recepteur;
    TReglagesAcq reglages(recepteur);
    reglages.setCentrale(&u);
    reglages.reglagesDefautMI();
    reglages.activationVoie(1, true);
    EXPECT_TRUE(mesure.rafraichir(&u, MODE_REGLAGES_MODIFIES).EditValU[1].has_value());
    const TEffetsReglages e = reglages.activationVoie(1, false);
    EXPECT_EQ(e.viderValeurU, 1);
    EXPECT_FALSE(reglages.etat.valeurActive[1]);
    const TValeursDirectes r = mesure.rafraichir(&u, MODE_REGLAGES_MODIFIES);
    EXPECT_TRUE(r.EditValU[0].has_value());
    EXPECT_FALSE(r.EditValU[1].has_value());
}

TEST_F(MesureDirecteSimulateur, RienNEstLu) {
    TSP5 u(chemin, 1);
    const TValeursDirectes vide;
    // While an acquisition runs (single, permanent), while blocked, without a unit.
    for (TModeGeneral etat : {MODE_ACQ_SIMPLE, MODE_ACQ_PERMANENTE}) {
        const TValeursDirectes r = mesure.rafraichir(&u, etat);
        EXPECT_FALSE(r.lu) << etat;
        EXPECT_EQ(r.EditValU, vide.EditValU) << etat;
    }
    EXPECT_FALSE(mesure.rafraichir(nullptr, MODE_MESURES).lu);
    mesure.bloqueTimerAcqDirecte = true;
    EXPECT_FALSE(mesure.rafraichir(&u, MODE_MESURES).lu);
    EXPECT_FALSE(mesure.rafraichir(&u, MODE_MESURES).centraleAbsente);
    mesure.bloqueTimerAcqDirecte = false;
    for (TModeGeneral etat : {MODE_VIERGE, MODE_REGLAGES_MODIFIES, MODE_MESURES,
                              MODE_PERMANENT_ARRETE, MODE_MESURES_ECRAN})
        EXPECT_TRUE(mesure.rafraichir(&u, etat).lu) << etat;
}

// Unplugged: the fields of every signal are emptied and the presence poll is asked
// for; plugged back, the values return at the next refresh.
TEST_F(MesureDirecteSimulateur, CentraleDebranchee) {
    TSP5 u(chemin, 1);
    u.activeVoieA(6, false);
    u.prepareTousPRX(true);
    sim.SetDebranche(1);
    TValeursDirectes r = mesure.rafraichir(&u, MODE_MESURES);
    EXPECT_FALSE(r.lu);
    EXPECT_TRUE(r.centraleAbsente);
    for (int i = 0; i < 8; ++i) {
        const bool signal = i == 0 || i == 6;
        EXPECT_EQ(r.EditValU[i].has_value(), signal) << i;
        if (signal) {
            EXPECT_TRUE(r.EditValU[i]->isEmpty()) << i;
        }
    }
    sim.SetDebranche(0);
    r = mesure.rafraichir(&u, MODE_MESURES);
    EXPECT_TRUE(r.lu);
    EXPECT_FALSE(r.centraleAbsente);
    EXPECT_FALSE(r.EditValU[6]->isEmpty());
}

// A library that cannot be loaded counts as an absent unit.
TEST(MesureDirecteSansBibliotheque, CentraleAbsente) {
    TSP5 u(QStringLiteral("/nulle/part/libsp5sim.so"), 1);
    TMesureDirecte mesure;
    const TValeursDirectes r = mesure.rafraichir(&u, MODE_VIERGE);
    EXPECT_FALSE(r.lu);
    EXPECT_TRUE(r.centraleAbsente);
    ASSERT_TRUE(r.EditValU[0].has_value());
    EXPECT_TRUE(r.EditValU[0]->isEmpty());
}

} // namespace
