// One FIFO read of 256 words from the SP5 simulator at its fastest rate (10 MHz on one
// input), time always ahead so that every read is full. The driver's own cost comes on
// top: the read must stay well under the 25.6 µs that 256 words last at 10 MHz.
#include "sp5sim.h"

#include <benchmark/benchmark.h>

namespace {

void arme() {
    EcrireRegistre(0x24, 0x00);
    EcrireRegistre(0x00, 0x01);                  // EA0 alone
    for (uint8_t adr = 0x01; adr <= 0x08; ++adr) // range ±10 V, period word 0: 100 ns
        EcrireRegistre(adr, 0);
    for (uint8_t adr = 0x09; adr <= 0x0B; ++adr) // 16 777 215 points
        EcrireRegistre(adr, 0xFF);
    EcrireRegistre(0x0C, 0);
    EcrireRegistre(0x1D, 0); // manual trigger
    EcrireRegistre(0x24, 0x01);
}

void BM_LireFifo256Mots10MHz(benchmark::State& etat) {
    SimSP5_Reinitialiser();
    SimSP5_SetAcceleration(1e6);
    TailleTransfertFifo(256);
    arme();
    uint16_t tampon[256];
    for (auto _ : etat) {
        const int32_t n = LireFifo(tampon);
        benchmark::DoNotOptimize(tampon);
        if (n < 256) {
            etat.PauseTiming();
            arme();
            etat.ResumeTiming();
        }
    }
    etat.SetItemsProcessed(etat.iterations() * 256);
}
BENCHMARK(BM_LireFifo256Mots10MHz);

} // namespace

BENCHMARK_MAIN();
