// The shared library itself, loaded by absolute path as the program loads it: its exported
// names, and the environment variable read when it is loaded (POSIX loader).
#include "sp5sim.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)

#include <cmath>
#include <cstdlib>
#include <dlfcn.h>

namespace {

TEST(BibliothequeSP5, ExporteSesFonctionsEtLitLaVariableAuChargement) {
    ASSERT_EQ(setenv("KIRVANE_SIMULATEUR_SP5",
                     "EA0=constante:2,5; bruit=0;n'importe quoi;EA9=sinus:1:1;acceleration=abc;"
                     "EA1=sinus:x:1;debranche=oui",
                     1),
              0);
    void* bib = dlopen(SP5SIM_CHEMIN, RTLD_NOW | RTLD_LOCAL);
    unsetenv("KIRVANE_SIMULATEUR_SP5");
    ASSERT_NE(bib, nullptr) << dlerror();
    for (const char* nom :
         {"Reset", "Present", "LireRegistre", "EcrireRegistre", "EcrireFifo", "RecupereCalibration",
          "LireFifo", "ViderFifo", "TailleTransfertFifo", "AfficheInfos", "SimSP5_Reinitialiser",
          "SimSP5_Tension", "SimSP5_Configurer"})
        EXPECT_NE(dlsym(bib, nom), nullptr) << nom;
    EXPECT_EQ(dlsym(bib, "_ZN6sp5sim15coefficientsSP5Ev"), nullptr) << "internals stay hidden";

    const auto present = reinterpret_cast<bool (*)()>(dlsym(bib, "Present"));
    const auto debranche = reinterpret_cast<void (*)(int32_t)>(dlsym(bib, "SimSP5_SetDebranche"));
    const auto tension =
        reinterpret_cast<double (*)(int32_t, double)>(dlsym(bib, "SimSP5_Tension"));
    ASSERT_TRUE(present && debranche && tension);
    EXPECT_FALSE(present());
    EXPECT_EQ(tension(0, 0.0123), 2.5);
    EXPECT_NEAR(tension(1, 0.015), -2, 1e-12) << "a bad entry leaves the default";
    debranche(0);
    EXPECT_TRUE(present());
    dlclose(bib);
}

} // namespace

#endif
