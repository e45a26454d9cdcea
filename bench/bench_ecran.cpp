// The graph at the design size (1060 × 725): a full redraw of eight series of 50 001
// points in the dense style (background, axes, curves, markers), and the redraw of a
// marker drag that only copies the kept image back.
#include "ecrangraphe.h"
#include "seriessynthetiques.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

struct TBanc {
    TGrapheSynthetique s = grapheSynthetique(50001, 0.5);
    TEcranGraphe ecran;
    TBanc() {
        ecran.curseurs.tFin = s.etat.dureeTotaleAX;
        ecran.redimensionnementEcran(1060, 725, 1.0, 1.0, s.etat, s.series);
    }
};

void BM_RedessinComplet(benchmark::State& etat) {
    TBanc b;
    for (auto _ : etat) {
        b.ecran.dessineEcranN(b.s.etat, b.s.series, true);
        benchmark::DoNotOptimize(b.ecran.iEcranX.constBits());
    }
    etat.counters["modeDessinVM"] = b.ecran.modeDessinVM;
}
BENCHMARK(BM_RedessinComplet)->Unit(benchmark::kMillisecond);

void BM_DeplacementCurseur(benchmark::State& etat) {
    TBanc b;
    b.ecran.dessineEcranN(b.s.etat, b.s.series, true);
    double t = 0.1;
    for (auto _ : etat) {
        b.ecran.curseurs.tFin = t;
        t = t > 0.4 ? 0.1 : t + 0.001;
        b.ecran.dessineEcranRCu(b.s.etat, b.s.series);
        benchmark::DoNotOptimize(b.ecran.iEcranX.constBits());
    }
}
BENCHMARK(BM_DeplacementCurseur)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
