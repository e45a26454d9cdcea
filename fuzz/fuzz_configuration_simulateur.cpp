// The simulators' settings text (environment variable or control function): any text is
// read without crashing or hanging, a bad entry is ignored, and whatever was accepted
// leaves every input with a finite voltage.
#include "configuration.h"
#include "sp5sim.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
    if (taille > 4096)
        return 0;
    const std::string texte(reinterpret_cast<const char*>(donnees), taille);
    // The shared reader on its own.
    for (const auto& e : simulateurs::decoupeConfiguration(texte)) {
        (void)simulateurs::lireSignal(e.valeur);
        (void)simulateurs::lireNombre(e.valeur);
        (void)simulateurs::lireEntier(e.valeur);
        (void)simulateurs::lireBooleen(e.valeur);
    }
    // The SP5 simulator, from its default state.
    SimSP5_Reinitialiser();
    SimSP5_Configurer(texte.c_str());
    for (int32_t entree = 0; entree < 8; ++entree)
        for (double t : {0.0, 0.0013, 0.25, 7.5}) {
            const double u = SimSP5_Tension(entree, t);
            if (!std::isfinite(u)) {
                std::fprintf(stderr, "EA%d à %g s : %g après « %s »\n", entree, t, u,
                             texte.c_str());
                std::abort();
            }
        }
    return 0;
}
