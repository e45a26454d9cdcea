// One LitDonneeNumerique of 256 values from the CAMPUS simulator at its fastest rate
// (100 ns on one input, then on four), time always ahead so that every read is full. The
// driver's own cost comes on top: the read must stay well under the 25.6 µs that 256 values
// last at 10 MHz.
#include "campussim.h"

#include <benchmark/benchmark.h>

namespace {

void lance(int nbVoies) {
    int32_t ordre[CAMPUS_NB_ORDRE_VOIES] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    for (int k = 0; k < nbVoies; ++k)
        ordre[k] = k;
    double te = 1e-7;
    int32_t points = 4000;
    // Permanent: the unit never runs out of points.
    PrepareAcquisition(ordre, &te, &points, _SOURCE_AUCUNE, _SEUIL, 0, 0, 1, nullptr);
    DemarreAcquisition(nullptr);
}

void BM_LitDonneeNumerique256(benchmark::State& etat) {
    SimCampus_Reinitialiser();
    SimCampus_SetAcceleration(1e9);
    lance(static_cast<int>(etat.range(0)));
    int32_t tampon[256];
    for (auto _ : etat) {
        const int32_t n = LitDonneeNumerique(256, tampon);
        benchmark::DoNotOptimize(tampon);
        if (n < 256) {
            etat.PauseTiming();
            lance(static_cast<int>(etat.range(0)));
            etat.ResumeTiming();
        }
    }
    etat.SetItemsProcessed(etat.iterations() * 256);
}
BENCHMARK(BM_LitDonneeNumerique256)->Arg(1)->Arg(4);

} // namespace

BENCHMARK_MAIN();
