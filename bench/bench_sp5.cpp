// One FIFO read of 256 words through the SP5 driver and the simulator library together:
// one input at 10 MHz (dt 100 ns, 50001 points), simulated time running fast enough
// that data are always waiting. The run is re-armed outside the timed region.
#include "sp5.h"

#include <QLibrary>
#include <benchmark/benchmark.h>

namespace {

const QString cheminSimulateur = QStringLiteral(KIRVANE_SP5SIM);

void armer(TSP5& c) {
    c.Reset();
    c.prepareTousPRX(true);
    c.TailleTransfertFifo(256);
    c.ViderFifo();
    c.declencheAcq();
}

void BM_LireFifoSP5(benchmark::State& etat) {
    // Kept mapped: the controls below outlive no driver, but QLibrary shares handles.
    QLibrary controles(cheminSimulateur);
    controles.setLoadHints(QLibrary::PreventUnloadHint);
    if (!controles.load()) {
        etat.SkipWithError("simulateur absent");
        return;
    }
    auto reinitialiser = reinterpret_cast<void (*)()>(controles.resolve("SimSP5_Reinitialiser"));
    auto acceleration =
        reinterpret_cast<void (*)(double)>(controles.resolve("SimSP5_SetAcceleration"));
    reinitialiser();
    acceleration(1000.0);

    TSP5 c(cheminSimulateur, 1);
    c.setDurees(50000 * 1e-7, 50001, false);
    if (!c.CentraleInstallee || c.ndt != 1 || c.nbPtsAffX != 50001) {
        etat.SkipWithError("réglages inattendus");
        return;
    }
    armer(c);
    TFifoSP5 fifo{};
    int64_t mots = 0;
    int vides = 0;
    for (auto _ : etat) {
        const int n = c.LireFifo(&fifo);
        benchmark::DoNotOptimize(fifo.data());
        mots += n;
        if (n < 256) {
            etat.PauseTiming();
            if (n == 0)
                ++vides;
            c.arreteAcq();
            armer(c);
            etat.ResumeTiming();
        }
    }
    c.arreteAcq();
    etat.counters["mots"] = benchmark::Counter(static_cast<double>(mots));
    etat.counters["lectures_vides"] = static_cast<double>(vides);
    etat.SetItemsProcessed(mots);
}
BENCHMARK(BM_LireFifoSP5);

} // namespace

BENCHMARK_MAIN();
