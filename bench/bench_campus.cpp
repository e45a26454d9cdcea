// The CAMPUS driver with its simulator: one LireFifo handing over 256 words, and the
// full-fit timebase for the worst request (it runs at every keystroke of the duration
// field). Runs are re-armed outside the timed region.
#include "sysamcampus.h"

#include <QLibrary>
#include <QThread>
#include <benchmark/benchmark.h>

namespace {

const QString cheminSimulateur = QStringLiteral(KIRVANE_CAMPUSSIM);

// The simulator's controls, on a handle that stays mapped.
bool preparerSimulateur(benchmark::State& etat) {
    static QLibrary controles;
    controles.setFileName(cheminSimulateur);
    controles.setLoadHints(QLibrary::PreventUnloadHint);
    if (!controles.load()) {
        etat.SkipWithError("simulateur absent");
        return false;
    }
    auto reinitialiser = reinterpret_cast<void (*)()>(controles.resolve("SimCampus_Reinitialiser"));
    auto acceleration =
        reinterpret_cast<void (*)(double)>(controles.resolve("SimCampus_SetAcceleration"));
    if (!reinitialiser || !acceleration) {
        etat.SkipWithError("commandes du simulateur absentes");
        return false;
    }
    reinitialiser();
    acceleration(1000.0);
    return true;
}

void BM_LireFifoCampus(benchmark::State& etat) {
    if (!preparerSimulateur(etat))
        return;
    TSYSAMCAMPUS c(cheminSimulateur, 1);
    c.pauseReglageMs = 0; // the stop's pause is outside the measure anyway
    c.RecupereCalibration();
    c.activeVoieA(0, false);
    // A short manual acquisition: one read of 256 samples, handed over at once.
    c.setDurees(0.001, 257, false);
    c.NbPtsFifo = 256;
    c.Reset();
    c.prepareTousPRX(true);
    c.TailleTransfertFifo(256);
    TFifoSP5 fifo{};
    int64_t mots = 0;
    int incompletes = 0;
    for (auto _ : etat) {
        etat.PauseTiming();
        c.declencheAcq();
        QThread::usleep(100); // at 1000 times real time the run is over
        etat.ResumeTiming();
        const int n = c.LireFifo(&fifo);
        benchmark::DoNotOptimize(fifo.data());
        etat.PauseTiming();
        mots += n;
        incompletes += n != 256;
        c.arreteAcq();
        etat.ResumeTiming();
    }
    etat.counters["mots"] = benchmark::Counter(static_cast<double>(mots));
    etat.counters["lectures_incompletes"] = static_cast<double>(incompletes);
}
BENCHMARK(BM_LireFifoCampus)->Iterations(2000)->Unit(benchmark::kMicrosecond);

void BM_DureesGeneriquesPireCas(benchmark::State& etat) {
    if (!preparerSimulateur(etat))
        return;
    TSYSAMCAMPUS c(cheminSimulateur, 1);
    c.RecupereCalibration();
    for (uint8_t v = 0; v < 4; ++v)
        c.activeVoieA(v, false);
    // Threshold mode, full pretrigger, 4000 points: 1 s does not fit (the coarser-interval
    // search runs, asking the unit), 0.3998 s fits but its guard blocks do not (the count
    // shown goes down some eighty times).
    c.setModeDeclenchement(1, false);
    c.setPretrig(100.0f, false);
    const double demande = etat.range(0) == 0 ? 1.0 : 0.3998;
    for (auto _ : etat) {
        double duree = demande;
        double dt = c.dt0X;
        int64_t nb = 4000, nbAff = 4000, nbMax = 4000, ndt = 0;
        c.setDureesGeneriques(duree, dt, nb, nbAff, nbMax, ndt, c.tSkipAcq);
        benchmark::DoNotOptimize(nbAff);
    }
}
BENCHMARK(BM_DureesGeneriquesPireCas)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
