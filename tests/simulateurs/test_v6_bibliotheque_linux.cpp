// The V6 simulator library itself, loaded by absolute path as the program loads it: its
// exported names, and the environment variable read when it is loaded (POSIX loader).
#include <gtest/gtest.h>

#if !defined(_WIN32)

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>

namespace {

TEST(BibliothequeV6, ExporteLesFonctionsD2XXEtLitLaVariableAuChargement) {
    ASSERT_EQ(setenv("KIRVANE_SIMULATEUR_V6",
                     "EA1=constante:2,5; bruit=0;n'importe quoi;EA0=sinus:1:1;EA4=sinus:1:1;"
                     "acceleration=abc;EA2=sinus:x:1;debranche=oui",
                     1),
              0);
    void* bib = dlopen(V6SIM_CHEMIN, RTLD_NOW | RTLD_LOCAL);
    unsetenv("KIRVANE_SIMULATEUR_V6");
    ASSERT_NE(bib, nullptr) << dlerror();
    for (const char* nom :
         {"FT_OpenEx", "FT_Close", "FT_Read", "FT_Write", "FT_SetBaudRate",
          "FT_SetDataCharacteristics", "FT_SetFlowControl", "FT_SetRts", "FT_SetChars", "FT_Purge",
          "FT_SetTimeouts", "FT_GetQueueStatus", "SimV6_Reinitialiser", "SimV6_SetBruit",
          "SimV6_SetDebranche", "SimV6_Tension", "SimV6_Configurer", "SimV6_Journal"})
        EXPECT_NE(dlsym(bib, nom), nullptr) << nom;
    EXPECT_EQ(dlsym(bib, "_ZN5v6sim14coefficientsV6Ev"), nullptr) << "internals stay hidden";

    using Ouvrir = uint32_t (*)(void*, uint32_t, void**);
    const auto ouvrir = reinterpret_cast<Ouvrir>(dlsym(bib, "FT_OpenEx"));
    const auto fermer = reinterpret_cast<uint32_t (*)(void*)>(dlsym(bib, "FT_Close"));
    const auto debranche = reinterpret_cast<void (*)(int32_t)>(dlsym(bib, "SimV6_SetDebranche"));
    const auto tension = reinterpret_cast<double (*)(int32_t, double)>(dlsym(bib, "SimV6_Tension"));
    ASSERT_TRUE(ouvrir && fermer && debranche && tension);
    char description[] = "Sysam-V6";
    void* h = nullptr;
    EXPECT_EQ(ouvrir(description, 2, &h), 2u) << "unplugged at load";
    EXPECT_EQ(tension(0, 0.0123), 2.5);
    EXPECT_NEAR(tension(1, 0.005), 2, 1e-12) << "a bad entry leaves the default";
    debranche(0);
    EXPECT_EQ(ouvrir(description, 2, &h), 0u);
    EXPECT_EQ(fermer(h), 0u);
    dlclose(bib);
}

} // namespace

#endif
