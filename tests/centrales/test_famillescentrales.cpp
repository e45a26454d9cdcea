// The table of unit families: the places of each library, the kinds and the names the
// command-line tool accepts.
#include "centralesstandard.h"
#include "fabriquetransportv6.h"
#include "famillescentrales.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

TEST(FamillesCentrales, LesEmplacementsVontDuConstructeurAuSimulateur) {
    const TFamille& sp5 = *familleParNumero(FAMILLE_SP5);
#if defined(Q_OS_WIN)
    EXPECT_EQ(sp5.places({"C:/Kirvane", "C:/Windows", QString()}),
              (QStringList{"C:/Windows/system32/SP5.DLL", "C:/Windows/SysWOW64/SP5.DLL",
                           "C:/Kirvane/SP5SIM.DLL"}));
#else
    EXPECT_EQ(sp5.places({"/opt/kirvane", "", QString()}),
              QStringList{"/opt/kirvane/libsp5sim.so"});
    // Installed: beside the executable, then in the private library folder.
    EXPECT_EQ(sp5.places({"/usr/bin", "", "../lib/kirvane"}),
              (QStringList{"/usr/bin/libsp5sim.so", "/usr/lib/kirvane/libsp5sim.so"}));
    // The V6: FTDI's own library where it is installed, else libftdi1 when the program has
    // it, then the simulator. The CAMPUS: only its simulator, the maker's library exists
    // for Windows only.
    const TCheminsCentrales chemins = cheminsCentrales({"/opt/kirvane", "", QString()});
    const QStringList v6 = chemins.at(FAMILLE_V6);
    ASSERT_FALSE(v6.isEmpty());
    EXPECT_EQ(v6.last(), "/opt/kirvane/libv6sim.so");
    const bool ftd2xx = QFileInfo::exists("/usr/local/lib/libftd2xx.so") ||
                        QFileInfo::exists("/usr/lib/libftd2xx.so");
    EXPECT_EQ(v6.contains(placeLibftdiV6()), !ftd2xx && libftdiDisponible());
    EXPECT_EQ(chemins.at(FAMILLE_CAMPUS), QStringList{"/opt/kirvane/libcampussim.so"});
#endif
}

TEST(FamillesCentrales, ChaqueTypeAppartientAUneFamille) {
    const struct {
        int type;
        int famille; // 0: none
    } cas[] = {{CENTRALE_SP5, FAMILLE_SP5},
               {CENTRALE_SIMULATION_SP5, FAMILLE_SP5},
               {CENTRALE_V6, FAMILLE_V6},
               {CENTRALE_CAMPUS, FAMILLE_CAMPUS},
               {CENTRALE_SIMULATION_CAMPUS, FAMILLE_CAMPUS},
               {CENTRALE_AUDIO, 0},
               {0, 0},
               {-1, 0}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.type);
        const TFamille* f = familleDuType(c.type);
        EXPECT_EQ(f ? f->famille : 0, c.famille);
    }
    const TFamille* v6 = familleDuType(CENTRALE_SIMULATION_V6);
    EXPECT_EQ(v6 ? v6->famille : 0, familleParNumero(FAMILLE_V6)->avecSimulateur ? FAMILLE_V6 : 0);
    // Detection order, and a family number that is the real unit's kind.
    std::vector<int> ordre;
    for (const TFamille& f : famillesCentrales()) {
        ordre.push_back(f.famille);
        EXPECT_EQ(f.typeCentrale, f.famille);
    }
    EXPECT_EQ(ordre, (std::vector<int>{FAMILLE_SP5, FAMILLE_V6, FAMILLE_CAMPUS}));
}

TEST(FamillesCentrales, NomsDeLOutilEnLigneDeCommande) {
    EXPECT_EQ(optionsCentrales(), (QStringList{"simulation-sp5", "sp5", "simulation-v6", "v6",
                                               "simulation-campus", "campus"}));
    const struct {
        const char* option;
        int type;
    } cas[] = {{"simulation-sp5", CENTRALE_SIMULATION_SP5},
               {"SP5", CENTRALE_SP5},
               {"v6", CENTRALE_V6},
               {"Simulation-V6", CENTRALE_SIMULATION_V6},
               {"Campus", CENTRALE_CAMPUS},
               {"Simulation-Campus", CENTRALE_SIMULATION_CAMPUS},
               {"sp6", 0},
               {"", 0}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.option);
        EXPECT_EQ(typeParOption(QString::fromLatin1(c.option)), c.type);
    }
}

TEST(FamillesCentrales, LaFabriqueSuitLaTable) {
    const TFabriqueCentrale fabrique = fabriqueCentralesStandard();
    // The SP5 driver on a missing library: made, not installed.
    TCreationCentrale sp5 = fabrique(FAMILLE_SP5, QStringLiteral("/nulle/part/libsp5sim.so"));
    ASSERT_NE(sp5.centrale, nullptr);
    EXPECT_FALSE(sp5.centrale->CentraleInstallee);
    EXPECT_EQ(sp5.centrale->typeCentrale, CENTRALE_SIMULATION_SP5);
    // The CAMPUS simulator missing from one of its places: nothing, and no error, so that
    // the next place is tried. The maker's library missing: its loading error.
    TCreationCentrale sim = fabrique(FAMILLE_CAMPUS, QStringLiteral("/nulle/part/libcampussim.so"));
    EXPECT_EQ(sim.centrale, nullptr);
    EXPECT_TRUE(sim.erreur.isEmpty());
    TCreationCentrale campus = fabrique(FAMILLE_CAMPUS, QStringLiteral("/nulle/part/Campus.DLL"));
    EXPECT_EQ(campus.centrale, nullptr);
    EXPECT_EQ(campus.erreur, QStringLiteral("Erreur DLL /nulle/part/Campus.DLL inexistante"));
    // The V6 driver likewise, its kind told by the file name.
    for (const auto& [chemin, type] :
         {std::pair{"/nulle/part/libv6sim.so", int(CENTRALE_SIMULATION_V6)},
          std::pair{"/nulle/part/libftd2xx.so", int(CENTRALE_V6)}}) {
        TCreationCentrale v6 = fabrique(FAMILLE_V6, QString::fromLatin1(chemin));
        ASSERT_NE(v6.centrale, nullptr);
        EXPECT_FALSE(v6.centrale->CentraleInstallee);
        EXPECT_FALSE(v6.centrale->CentralePresente);
        EXPECT_EQ(v6.centrale->typeCentrale, type);
        EXPECT_EQ(v6.centrale->numeroSerie, "V6Absente");
    }
    // An unknown family: nothing.
    EXPECT_EQ(fabrique(99, QStringLiteral("/x")).centrale, nullptr);
}

} // namespace
