// The CAMPUS simulator's unit state through its exported functions: serial number, ranges,
// LEDs, outputs, conversion of codes, direct measurement, the link, and CalibreTe.
#include "outils_campus.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

using campustest::Etalonnage;
using campustest::SimulateurCampus;
using campustest::texte;

TEST_F(SimulateurCampus, NumeroDeSerieVideQuandDebrancheeEtAutreCentraleSubstituee) {
    EXPECT_EQ(texte(DonneNumeroSerieCentrale()), u"CAMPSIMUL");
    SimCampus_SetDebranche(1);
    EXPECT_EQ(texte(DonneNumeroSerieCentrale()), u"");
    SimCampus_SetDebranche(0);
    EXPECT_EQ(texte(DonneNumeroSerieCentrale()), u"CAMPSIMUL");

    // Another unit: its own serial, its own calibration, a freshly powered state.
    ASSERT_EQ(texte(SelectionneCalibre(2, 1)), u"");
    const double avant = ConvertiDonneeEntreeNumeriqueEnAnalogique(3500, 0);
    SimCampus_SetNumeroSerie("CAMP0042");
    EXPECT_EQ(texte(DonneNumeroSerieCentrale()), u"CAMP0042");
    EXPECT_EQ(SimCampus_Calibre(2), 30);
    EXPECT_NE(ConvertiDonneeEntreeNumeriqueEnAnalogique(3500, 0), avant);
    // A serial that cannot be one gives the default unit back, with its calibration.
    for (const char* faux : {"", "avec espace", "0123456789012345678901234567890123456789"}) {
        SimCampus_SetNumeroSerie("CAMP0042");
        SimCampus_SetNumeroSerie(faux);
        EXPECT_EQ(texte(DonneNumeroSerieCentrale()), u"CAMPSIMUL") << faux;
    }
    SimCampus_SetNumeroSerie(nullptr);
    EXPECT_EQ(ConvertiDonneeEntreeNumeriqueEnAnalogique(3500, 0), avant);
}

TEST_F(SimulateurCampus, CalibresAcceptesEtRefuses) {
    struct Cas {
        int32_t voie, volts;
        bool accepte;
    };
    const Cas cas[] = {{0, 30, true},   {1, 15, true},  {2, 10, true},
                       {3, 1, true},    {0, 5, false},  {1, 0, false},
                       {2, -10, false}, {4, 10, false}, {-1, 10, false}};
    for (const Cas& c : cas) {
        SimCampus_Reinitialiser();
        const std::u16string reponse = texte(SelectionneCalibre(c.voie, c.volts));
        EXPECT_EQ(reponse.empty(), c.accepte) << c.voie << " " << c.volts;
        for (int v = 0; v < 4; ++v)
            EXPECT_EQ(SimCampus_Calibre(v), c.accepte && v == c.voie ? c.volts : 30);
    }
    EXPECT_EQ(SimCampus_Calibre(4), 0);
    SimCampus_SetDebranche(1);
    EXPECT_FALSE(texte(SelectionneCalibre(0, 10)).empty());
}

// The driver's calibration (codes 500 and 3500) finds each input's and range's own gain and
// offset: near nominal, never exactly, different from one input or range to another.
TEST_F(SimulateurCampus, EtalonnageProcheDuNominalEtPropreAChaqueEntreeEtCalibre) {
    double gains[4][4];
    for (int v = 0; v < 4; ++v)
        for (int j = 0; j < 4; ++j) {
            const int32_t r = std::array<int32_t, 4>{30, 15, 10, 1}[j];
            ASSERT_EQ(texte(SelectionneCalibre(v, r)), u"");
            const Etalonnage e = Etalonnage::de(v);
            const double g = 2.0 * r / 4096, ecartGain = std::fabs(e.gain - g) / g;
            EXPECT_GE(ecartGain, 0.004) << v << " " << r;
            EXPECT_LE(ecartGain, 0.021) << v << " " << r;
            const double ecartOffset = std::fabs(e.offset + r) / r;
            EXPECT_GE(ecartOffset, 0.0019) << v << " " << r;
            EXPECT_LE(ecartOffset, 0.0051) << v << " " << r;
            // The conversion is the straight line of these coefficients.
            EXPECT_NEAR(ConvertiDonneeEntreeNumeriqueEnAnalogique(4095, v),
                        4095 * e.gain + e.offset, 1e-9);
            gains[v][j] = e.gain / g;
        }
    for (int k = 1; k < 16; ++k)
        EXPECT_NE(gains[k / 4][k % 4], gains[0][0]);
    EXPECT_EQ(ConvertiDonneeEntreeNumeriqueEnAnalogique(500, 4), 0);
    SimCampus_SetDebranche(1);
    EXPECT_EQ(ConvertiDonneeEntreeNumeriqueEnAnalogique(500, 0), 0);
}

TEST_F(SimulateurCampus, EcartDeCalibrageAuDelaDeTrentePourCent) {
    ASSERT_EQ(texte(SelectionneCalibre(2, 1)), u"");
    const Etalonnage normal = Etalonnage::de(2);
    SimCampus_SetEcartCalibrage(2, 1, 0.4);
    const Etalonnage ecarte = Etalonnage::de(2);
    EXPECT_NEAR(ecarte.gain / normal.gain, 1.4, 1e-12);
    EXPECT_GT(std::fabs(ecarte.gain - 2.0 / 4096) / (2.0 / 4096), 0.3);
    // The other ranges and inputs keep theirs; the codes follow the faulty gain.
    SimCampus_SetSignal(2, SIMCAMPUS_CONSTANTE, 0, 0, 0.5, 0);
    SimCampus_SetBruit(0);
    EXPECT_NEAR(ecarte.volts(LitValeurVoie(2)), 0.5, ecarte.gain);
    ASSERT_EQ(texte(SelectionneCalibre(2, 10)), u"");
    EXPECT_LT(std::fabs(Etalonnage::de(2).gain - 20.0 / 4096) / (20.0 / 4096), 0.03);
    // Out-of-bounds deviations are ignored.
    SimCampus_SetEcartCalibrage(2, 1, -1);
    SimCampus_SetEcartCalibrage(2, 1, std::numeric_limits<double>::quiet_NaN());
    SimCampus_SetEcartCalibrage(2, 7, 0.5);
    ASSERT_EQ(texte(SelectionneCalibre(2, 1)), u"");
    EXPECT_NEAR(Etalonnage::de(2).gain, ecarte.gain, 1e-15);
}

TEST_F(SimulateurCampus, LedsEtSorties) {
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(SimCampus_Led(v), LED_ETEINT);
    struct Cas {
        int32_t voie, etat, retour;
    };
    const Cas cas[] = {{0, LED_ROUGE, 0}, {1, LED_BLEU, 0}, {3, LED_MAUVE, 0}, {2, LED_ETEINT, 0},
                       {0, 4, -1},        {0, -1, -1},      {4, LED_BLEU, -1}};
    for (const Cas& c : cas) {
        const int32_t avant = SimCampus_Led(c.voie);
        EXPECT_EQ(CommandeLed(c.voie, c.etat), c.retour) << c.voie << " " << c.etat;
        EXPECT_EQ(SimCampus_Led(c.voie), c.retour == 0 ? c.etat : avant);
    }

    EXPECT_EQ(SimCampus_EtatSortie(16), 0);
    SimCampus_DemarreSortie(16);
    SimCampus_DemarreSortie(17);
    EXPECT_EQ(texte(ReseteSortie(17)), u"");
    EXPECT_EQ(SimCampus_EtatSortie(16), 1);
    EXPECT_EQ(SimCampus_EtatSortie(17), 0);
    EXPECT_EQ(texte(ReseteSortie(16)), u"");
    EXPECT_EQ(SimCampus_EtatSortie(16), 0);
    EXPECT_FALSE(texte(ReseteSortie(18)).empty());
    EXPECT_EQ(SimCampus_EtatSortie(18), -1);

    SimCampus_SetDebranche(1);
    EXPECT_EQ(CommandeLed(0, LED_BLEU), -1);
    EXPECT_FALSE(texte(ReseteSortie(16)).empty());
    // Plugged back: a freshly powered unit.
    SimCampus_SetDebranche(0);
    EXPECT_EQ(SimCampus_Led(0), LED_ETEINT);
}

TEST_F(SimulateurCampus, MesureDirecteSurLeCalibreChoisi) {
    SimCampus_SetBruit(0);
    SimCampus_SetSignal(1, SIMCAMPUS_CONSTANTE, 0, 0, 0.7, 0);
    for (int32_t r : {30, 15, 10, 1}) {
        ASSERT_EQ(texte(SelectionneCalibre(1, r)), u"");
        const Etalonnage e = Etalonnage::de(1);
        const int32_t code = LitValeurVoie(1);
        ASSERT_GE(code, 0);
        EXPECT_NEAR(e.volts(code), 0.7, 0.51 * e.gain) << r;
    }
    // Out of the range: the code stops at the end of the scale.
    SimCampus_SetSignal(1, SIMCAMPUS_CONSTANTE, 0, 0, 5, 0);
    EXPECT_EQ(LitValeurVoie(1), 4095);
    SimCampus_SetSignal(1, SIMCAMPUS_CONSTANTE, 0, 0, -5, 0);
    EXPECT_EQ(LitValeurVoie(1), 0);
    // Noise: ±1 step around the same value.
    SimCampus_SetSignal(1, SIMCAMPUS_CONSTANTE, 0, 0, 0.3, 0);
    SimCampus_SetBruit(1);
    int min = 4096, max = -1;
    for (int k = 0; k < 200; ++k) {
        const int32_t c = LitValeurVoie(1);
        min = std::min(min, c);
        max = std::max(max, c);
    }
    EXPECT_EQ(max - min, 2);

    EXPECT_EQ(LitValeurVoie(4), -1);
    EXPECT_EQ(LitValeurVoie(-1), -1);
    SimCampus_SetDebranche(1);
    EXPECT_EQ(LitValeurVoie(1), -1);
}

TEST_F(SimulateurCampus, CalibreTeDonneUnMultipleDeCentNanosecondesAuMoinsEgal) {
    const int32_t ordre[9] = {0, -1, -1, -1, -1, -1, -1, -1, -1};
    struct Cas {
        double te, attendu;
    };
    const Cas cas[] = {{3.3e-7, 4e-7},        {3e-7, 3e-7},     {5e-8, 1e-7},     {1e-7, 1e-7},
                       {1.26e-6, 1.3e-6},     {2.5e-4, 2.5e-4}, {2.6e-4, 2.6e-4}, {0.019, 0.019},
                       {1.2345e-4, 1.235e-4}, {0, 1e-7},        {-1, 1e-7},       {1e6, 1000}};
    for (const Cas& c : cas) {
        const double r = CalibreTe(c.te, ordre);
        EXPECT_NEAR(r, c.attendu, c.attendu * 1e-12) << c.te;
        if (c.te > 0 && c.te <= 1000) {
            EXPECT_GE(r, c.te * (1 - 1e-12)) << c.te;
        }
        const double ticks = r / 1e-7;
        EXPECT_NEAR(ticks, std::round(ticks), 1e-6) << c.te;
    }
    EXPECT_EQ(CalibreTe(std::numeric_limits<double>::quiet_NaN(), ordre), 1e-7);
    EXPECT_EQ(CalibreTe(1e-4, nullptr), 1e-4);

    // The faults: less than asked, then nothing.
    SimCampus_SetReponseCalibreTe(1);
    EXPECT_LT(CalibreTe(2.5e-4, ordre), 2.5e-4);
    SimCampus_SetReponseCalibreTe(2);
    EXPECT_EQ(CalibreTe(2.5e-4, ordre), 0);
    SimCampus_SetReponseCalibreTe(3); // not a mode: ignored
    EXPECT_EQ(CalibreTe(2.5e-4, ordre), 0);
    SimCampus_SetReponseCalibreTe(0);
    EXPECT_NEAR(CalibreTe(2.5e-4, ordre), 2.5e-4, 1e-18);
}

TEST_F(SimulateurCampus, FermerLaLiaisonArreteLaCourseEtLaCentraleResteServie) {
    campustest::lance({});
    EXPECT_EQ(FermeConnectionUSB(), 0);
    EXPECT_EQ(SimCampus_NbFermetures(), 1);
    int32_t tampon[16];
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(LitDonneeNumerique(16, tampon), 0);
    // The next caller finds it working.
    EXPECT_EQ(texte(DonneNumeroSerieCentrale()), u"CAMPSIMUL");
    const char16_t* message = nullptr;
    EXPECT_EQ(DemarreAcquisition(&message), 0);
    EXPECT_FALSE(campustest::litEchantillons(10, 2).empty());
}

} // namespace
