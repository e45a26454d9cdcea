// SP5 driver: construction and re-construction, library loading and its errors,
// labels, calibration record and conversions, FIFO reads, release.
#include "sp5.h"
#include "test_sp5_factice.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <type_traits>

namespace {

// Nothing derives from a driver: it is the whole of its unit's behaviour.
static_assert(std::is_final_v<TSP5>);

using namespace sp5factice;

const QString cheminEssai = QStringLiteral(KIRVANE_BIBLIO_ESSAI);

// Both aggregates of the driver, the stopwatch (started at construction) set aside.
bool memeEtat(TSP5& a, const TSP5& b) {
    a.chronometre = b.chronometre;
    return static_cast<const TDonneesCentrale&>(a) == static_cast<const TDonneesCentrale&>(b) &&
           static_cast<const TDonneesSP5&>(a) == static_cast<const TDonneesSP5&>(b);
}

TEST(SP5, ValeursDuConstructeur) {
    TSP5 c(QStringLiteral("/absent/SP5.DLL"), 1);
    EXPECT_EQ(c.typeCentrale, CENTRALE_SP5);
    EXPECT_EQ(c.nomCentrale, QStringLiteral("SYSAM SP5"));
    EXPECT_FALSE(c.CentraleInstallee);
    EXPECT_EQ(c.nbEAU, 8);
    EXPECT_EQ(c.nbCanauxUt, 4);
    EXPECT_EQ(c.tAttenteMaxDecl, 0.5f);
    EXPECT_EQ(c.cGainX[7], 2097152);
    EXPECT_EQ(c.capteurs0[2], -10000);
    // Default settings, kept in the object only.
    EXPECT_TRUE(c.VoiesX[0].active);
    EXPECT_EQ(c.nbVoiesActivesX, 1);
    EXPECT_DOUBLE_EQ(c.dureeTotale0X, 0.1);
    EXPECT_EQ(c.nbPtsAffX, 1001);
    EXPECT_EQ(c.ndt, 1000);
    EXPECT_EQ(c.modeRecuperation, 1);
    EXPECT_EQ(c.voieSynchro, 0);
    EXPECT_EQ(c.idxPretrig, 0);
    EXPECT_EQ(c.modeDecl, 0);

    EXPECT_EQ(c.ITeHINT,
              QString::fromUtf8(
                  "Intervalle de temps entre deux points de mesures: \n\rvous ne pouvez pas le "
                  "modifier. Il s'agit\n\rd'un multiple entier de 100 ns si l'une seule\n\rdes "
                  "voies d'un canal est utilisée ou si le mode\n\rdifférentiel est utilisé. Il "
                  "suffit que les \n\rdeux voies d'un seul canal soient activées\n\ren mode non "
                  "différentiel pour que l'intervalle\n\rsoit un multiple de 2 µs"));
    const std::vector<QString> calibres = {"-10V/+10V", "-5V/+5V", "-1V/+1V", "-0.2V/+0.2V"};
    const std::vector<QString> simples = {"10 V", "5 V", "1 V", "0.2 V"};
    const std::vector<QString> largeurs = {" +10.0 ", " +5.00 ", " +1.00 ", " +0.200 "};
    EXPECT_EQ(c.sCalibres, calibres);
    EXPECT_EQ(c.sCalibresSIMPL, simples);
    EXPECT_EQ(c.twCals, largeurs);
    EXPECT_EQ(c.sEntrees[7], QStringLiteral("EA7"));
    EXPECT_EQ(c.GBCanauxCaption,
              (std::vector<QString>{"Canal 0", "Canal 1", "Canal 2", "Canal 3"}));
    EXPECT_EQ(c.calibresDispo[3], 0.2f);
    EXPECT_EQ(c.calibresDispo[4], -1.0f);
    const TVoie& v = c.VoiesX[5];
    EXPECT_EQ(v.CalsVoie, (std::array<int, 8>{10, 5, 1, 0, -1, -1, -1, -1}));
    EXPECT_EQ(v.calsVoieR[3], 0.2f);
    EXPECT_EQ(v.cap.sDesignation, QStringLiteral("Aucun capteur"));
    EXPECT_EQ(v.cap.sGrandeur, QStringLiteral("u[5M]"));
    EXPECT_FLOAT_EQ(v.cap.ResolutionsCapteur[0], 0.005f);
    EXPECT_EQ(v.nbGUCapX, 0);
    c.CapDefaut(5);
    EXPECT_EQ(c.VoiesX[5].cap.sGrandeur, QStringLiteral("u[EA5_M]"));
}

TEST(SP5, ChoixDuFichierDeLaBibliotheque) {
    struct Cas {
        const char* chemin;
        int type;
    };
    const Cas cas[] = {{"/prog/SP5SIM.DLL", CENTRALE_SIMULATION_SP5},
                       {"/prog/sp5sim.dll", CENTRALE_SIMULATION_SP5},
                       {"/prog/libsp5sim.so", CENTRALE_SIMULATION_SP5},
                       {"/prog/LibSP5Sim.SO", CENTRALE_SIMULATION_SP5},
                       {"/Windows/system32/SP5.DLL", CENTRALE_SP5},
                       {"/prog/autre.dll", CENTRALE_SP5},
                       {"/prog/libsp5sim.so.old", CENTRALE_SP5}};
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.chemin);
        TSP5 c(QString::fromLatin1(k.chemin), 1);
        EXPECT_EQ(c.typeCentrale, k.type);
        EXPECT_EQ(c.nomCentrale, nomLongCentrale(k.type));
        // The path is kept: a bare name would be looked for on the system path.
        EXPECT_EQ(c.FNomDLL, QString::fromLatin1(k.chemin));
    }
}

TEST(SP5, SecondeConstructionEgaleUnObjetNeuf) {
    remettre();
    TSP5 c(QStringLiteral("/absent/SP5.DLL"), 1);
    c.brancherFonctions(table());
    c.activeVoieA(5, true);
    c.setModeDiff(1, true, true);
    c.setCal(0, 2, true);
    c.setModeDeclenchement(1, true);
    c.setDurees(2.0, 101, true);
    c.declencheAcq();
    c.initialiser(QStringLiteral("/autre/libsp5sim.so"), 1);
    EXPECT_EQ(c.HandleDLL, 0);
    EXPECT_FALSE(c.bibliothequeChargee());
    EXPECT_EQ(c.fonctions().SP5_LireFifo, nullptr);
    const TSP5 neuf(QStringLiteral("/autre/libsp5sim.so"), 1);
    EXPECT_TRUE(memeEtat(c, neuf));
    EXPECT_EQ(c.typeCentrale, CENTRALE_SIMULATION_SP5);
}

TEST(SP5, BibliothequeAbsenteSansErreur) {
    TSP5 c(QStringLiteral("/absent/libsp5sim.so"), 1);
    EXPECT_FALSE(c.CentraleInstallee);
    EXPECT_TRUE(c.erreurChargement.isEmpty());
    TFifoSP5 fifo{};
    EXPECT_NO_THROW({
        EXPECT_FALSE(c.Presente());
        c.Reset();
        c.RecupereCalibration();
        c.prepareTousPRX(true);
        c.TailleTransfertFifo(256);
        c.ViderFifo();
        c.declencheAcq();
        EXPECT_EQ(c.LireFifo(&fifo), 0);
        EXPECT_EQ(c.presentePendantAcq(), -1);
        c.getNbPtsPretrig();
        c.getDTPretrig();
        c.arreteAcq();
        c.MesureDirecte();
        EXPECT_EQ(c.GetRegistre(0x24), 0);
        c.liberer(true);
    });
    EXPECT_TRUE(c.numeroSerie.isEmpty());
}

TEST(SP5, FonctionManquante) {
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const QString copie = dossier.filePath(QStringLiteral("libsp5sim.so"));
    ASSERT_TRUE(QFile::copy(cheminEssai, copie));
    // The stand-in library has Present and the registers but no Reset, looked up first.
    for (const QString& chemin : {cheminEssai, copie}) {
        SCOPED_TRACE(chemin.toStdString());
        TSP5* c = nullptr;
        ASSERT_NO_THROW(c = new TSP5(chemin, 1));
        EXPECT_FALSE(c->CentraleInstallee);
        EXPECT_FALSE(c->bibliothequeChargee());
        EXPECT_EQ(c->erreurChargement, QStringLiteral("Erreur lors du chargement de Reset"));
        EXPECT_NO_THROW({
            EXPECT_FALSE(c->Presente());
            EXPECT_EQ(c->GetRegistre(0), 0);
        });
        EXPECT_EQ(c->FNomDLL, chemin);
        delete c;
    }
}

TEST(SP5, AppelSansBibliothequeChargee) {
    remettre();
    TSP5 c(QStringLiteral("/absent/SP5.DLL"), 1);
    c.brancherFonctions(table());
    c.liberer(true);
    EXPECT_TRUE(c.CentraleInstallee);
    try {
        c.GetRegistre(0x24);
        FAIL() << "pas d'erreur";
    } catch (const EErreurBibliotheque& e) {
        EXPECT_EQ(e.texte(), QStringLiteral("/absent/SP5.DLL n'est pas chargé"));
    }
    EXPECT_THROW(c.SetRegistre(0x24, 1), EErreurBibliotheque);
    EXPECT_THROW(c.ViderFifo(), EErreurBibliotheque);
}

TEST(SP5, LibererAppelleResetSeulementSiDemande) {
    for (bool libererDLL : {false, true}) {
        remettre();
        {
            TSP5 c(QStringLiteral("/absent/SP5.DLL"), 1);
            c.brancherFonctions(table());
            c.liberer(libererDLL);
            EXPECT_EQ(nbReset, libererDLL ? 1 : 0);
            EXPECT_EQ(c.bibliothequeChargee(), !libererDLL);
        }
        // The destructor releases without resetting the unit.
        EXPECT_EQ(nbReset, libererDLL ? 1 : 0);
    }
}

TEST(SP5, LectureFifoBornee) {
    remettre();
    TSP5 c(QStringLiteral("/absent/SP5.DLL"), 1);
    c.brancherFonctions(table());
    TFifoSP5 fifo{};
    struct Cas {
        int taille;
        int32_t rendu;
        int attendu;
    };
    const Cas cas[] = {{256, 256, 256}, {256, 1000, 256}, {100, 180, 100},
                       {100, -5, 0},    {512, 300, 256},  {64, 17, 17}};
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.rendu);
        c.TailleTransfertFifo(k.taille);
        retourFifo = k.rendu;
        EXPECT_EQ(c.LireFifo(&fifo), k.attendu);
    }
    // Unit gone: the library's FIFO is not read.
    present = false;
    retourFifo = 10;
    const int avant = nbLectures;
    EXPECT_EQ(c.LireFifo(&fifo), 0);
    EXPECT_EQ(nbLectures, avant);
    EXPECT_EQ(c.presentePendantAcq(), -1);
}

// A record with known values at their offsets.
std::array<uint8_t, TCalibrageSP5::taille> enregistrement(const char* numero, int longueur) {
    std::array<uint8_t, TCalibrageSP5::taille> o{};
    auto single = [&o](int pos, float f) { std::memcpy(&o[pos], &f, 4); };
    o[0] = 7;
    o[1] = static_cast<uint8_t>(longueur);
    std::memcpy(&o[2], numero, std::min<std::size_t>(std::strlen(numero), 12));
    for (int k = 0; k < 16; ++k) {
        const int r = k % 4;
        single(14 + 4 * k, static_cast<float>(TSP5::gainNominal(r) * (1.0 + 0.001 * k)));
        single(206 + 4 * k, static_cast<float>(TSP5::offsetNominal(r) + 0.01 * k));
    }
    for (int k = 0; k < 32; ++k)
        single(78 + 4 * k, static_cast<float>(TSP5::offsetNominal(k % 4) - 0.001 * k));
    single(334, 1.5f);
    single(346, -0.25f);
    const double date = 45000.5;
    std::memcpy(&o[350], &date, 8);
    o[366] = 3;
    std::memcpy(&o[367], "ABC", 3);
    return o;
}

TEST(SP5, EnregistrementDeCalibrage) {
    const auto o = enregistrement("SP5-00012345", 12);
    const TCalibrageSP5 k = TCalibrageSP5::decoder(o.data());
    EXPECT_EQ(k.Reserved, 7);
    EXPECT_EQ(k.NumeroSerie, QStringLiteral("SP5-00012345"));
    EXPECT_FLOAT_EQ(k.Ampli_EA[5], static_cast<float>(TSP5::gainNominal(1) * 1.005));
    EXPECT_FLOAT_EQ(k.Offset_EA[31], static_cast<float>(TSP5::offsetNominal(3) - 0.031));
    EXPECT_FLOAT_EQ(k.Offset_EADiff[15], static_cast<float>(TSP5::offsetNominal(3) + 0.15));
    EXPECT_EQ(k.Ampli_SA[0], 1.5f);
    EXPECT_EQ(k.Offset_SA[1], -0.25f);
    EXPECT_EQ(k.DateEtalonnage, 45000.5);
    EXPECT_EQ(k.NumeroSerieCablage, QStringLiteral("ABC"));
    // A length byte beyond the field keeps the 12 characters.
    EXPECT_EQ(TCalibrageSP5::decoder(enregistrement("SP5-00012345", 200).data()).NumeroSerie,
              QStringLiteral("SP5-00012345"));
}

TEST(SP5, CoefficientsDuCalibrage) {
    remettre();
    calibration = enregistrement("SP5-1", 5);
    const float zero = 0.0f, nan = NAN;
    std::memcpy(&calibration[14 + 4 * 1], &zero, 4); // channel 0, range 1
    std::memcpy(&calibration[14 + 4 * 10], &nan, 4); // channel 2, range 2
    std::memcpy(&calibration[78 + 4 * 9], &nan, 4);  // input 2, range 1 (offset)
    TSP5 c(QStringLiteral("/absent/SP5.DLL"), 1);
    // Before any record: the nominal coefficients.
    EXPECT_DOUBLE_EQ(c.Ux(3, 0), -10.0);
    EXPECT_DOUBLE_EQ(c.Ux(3, 2048), 0.0);
    EXPECT_EQ(c.ValUx(3, 0.0f), 2048);
    c.brancherFonctions(table());
    c.RecupereCalibration();
    c.MAJCalibrage();
    EXPECT_EQ(c.numeroSerie, QStringLiteral("SP5-1"));
    EXPECT_DOUBLE_EQ(c.a1[0][1], TSP5::gainNominal(1));
    EXPECT_DOUBLE_EQ(c.a1[2][2], TSP5::gainNominal(2));
    EXPECT_DOUBLE_EQ(c.a1[6][2], TSP5::gainNominal(2));
    EXPECT_DOUBLE_EQ(c.b1[2][1], TSP5::offsetNominal(1));
    EXPECT_DOUBLE_EQ(c.a1[1][3], static_cast<float>(TSP5::gainNominal(3) * 1.007));
    EXPECT_DOUBLE_EQ(c.a1[5][3], c.a1[1][3]);
    EXPECT_DOUBLE_EQ(c.b1[6][0], static_cast<float>(-10.0 - 0.024));
    EXPECT_DOUBLE_EQ(c.b1diff[3][0], static_cast<float>(-10.0 + 0.12));
    // Differential channel 1: its own offset; the second input keeps b1.
    c.setModeDiff(1, true, false);
    EXPECT_DOUBLE_EQ(c.Ux(1, 100), 100 * c.a1[1][0] + static_cast<float>(-10.0 + 0.04));
    EXPECT_DOUBLE_EQ(c.Ux(5, 100), 100 * c.a1[5][0] + static_cast<float>(-10.0 - 0.020));
    for (int v = 0; v < 8; ++v)
        for (int r = 0; r < 4; ++r)
            EXPECT_TRUE(std::isfinite(c.a1[v][r]) && c.a1[v][r] != 0.0);
    // Unit gone: the record is read, the serial number says it.
    present = false;
    c.RecupereCalibration();
    EXPECT_EQ(c.numeroSerie, QStringLiteral("SP5Absente"));
}

TEST(SP5, ConversionsBorneesAuCalibre) {
    TSP5 c(QStringLiteral("/absent/SP5.DLL"), 1);
    c.setCal(3, 7, false);
    EXPECT_EQ(c.VoiesX[3].idxCalibreEA, 3);
    EXPECT_EQ(c.VoiesX[3].idxCalibreUt, 3);
    EXPECT_FLOAT_EQ(c.VoiesX[3].calibreR, 0.2f);
    EXPECT_FLOAT_EQ(c.VoiesX[3].cap.ResolutionsCapteur[0], 0.0001f);
    EXPECT_FLOAT_EQ(c.VoiesX[3].cap.ValMaxUt, 0.2f);
    c.setCal(4, -2, false);
    EXPECT_EQ(c.VoiesX[4].idxCalibreUt, 0);
    c.a1[3][3] = 1.0; // a coefficient far too large
    EXPECT_LE(c.Ux(3, 4095), 0.2);
    EXPECT_GE(c.Ux(3, 4095), 0.19);
    c.b1[3][3] = -50.0;
    EXPECT_GE(c.Ux(3, 0), -0.2);
    struct Cas {
        float u;
        int code;
    };
    const Cas cas[] = {{1e6f, 4095}, {-1e6f, 0}, {10.0f, 4095}, {-10.0f, 0}, {0.0f, 2048}};
    for (const Cas& k : cas)
        EXPECT_EQ(c.ValUx(0, k.u), k.code) << k.u;
}

TEST(SP5, Libelles) {
    TSP5 c(QStringLiteral("/absent/SP5.DLL"), 1);
    configurer(c, {2, 6, 0, 5}, {2});
    struct Cas {
        int v;
        const char* intitule;
        const char* capVM;
    };
    const Cas cas[] = {{0, "u[EA0_M]", "u[0_M]"},
                       {2, "u[EA2_EA6]", "u[2_6]"},
                       {6, "u[EA6]", "u[6_M]"},
                       {5, "u[EA5]", "u[5_M]"}};
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.v);
        EXPECT_EQ(c.getIntituleVoie(k.v), QString::fromLatin1(k.intitule));
        EXPECT_EQ(c.getIntituleVoieSimplifie(k.v), QString::fromLatin1(k.intitule));
        EXPECT_EQ(c.getCapVM(k.v), QString::fromLatin1(k.capVM));
        EXPECT_EQ(c.getIntituleVoieTresSimplifie(k.v), QStringLiteral("EA") + QString::number(k.v));
        EXPECT_EQ(c.getCapEA(k.v), QStringLiteral("EA") + QString::number(k.v));
        EXPECT_EQ(c.GetCapU(k.v), QStringLiteral("u"));
    }
    EXPECT_EQ(c.nbVoiesSignaux, 3); // EA6 is measured with EA2
    EXPECT_TRUE(c.getIntituleVoie(8).isEmpty());
    EXPECT_TRUE(c.getCapVM(-1).isEmpty());
}

} // namespace
