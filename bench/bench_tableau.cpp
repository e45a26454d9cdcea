// The measurement table over eight series of 50 001 points: showing it (the rebuild and the
// first screen of rows painted) and painting one screen of rows further down, as a scroll
// does. A screen is the table's share of a 1366 × 768 window.
#include "seriessynthetiques.h"
#include "tableaumesures.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

const QSize ecran(600, 560);

TParamsTableau params(const TGrapheSynthetique& s) {
    TParamsTableau p;
    p.dtAX = s.etat.dtAX;
    p.dureeTotaleAX = s.etat.dureeTotaleAX;
    p.nbPtsAX = s.etat.nbPtsAX;
    p.tFin = s.etat.dureeTotaleAX;
    return p;
}

void BM_AfficherLeTableau(benchmark::State& etat) {
    const TGrapheSynthetique s = grapheSynthetique(50001, 0.5);
    QImage image(ecran, QImage::Format_RGB32);
    for (auto _ : etat) {
        TTableauMesures t;
        t.MAJTableau(s.series, params(s));
        QPainter p(&image);
        t.dessiner(p, image.size(), 3, 1);
        benchmark::DoNotOptimize(image.constBits());
    }
    etat.counters["cellules"] = 8.0 * 50001;
}
BENCHMARK(BM_AfficherLeTableau)->Unit(benchmark::kMillisecond);

void BM_PeindreUnEcranDeLignes(benchmark::State& etat) {
    const TGrapheSynthetique s = grapheSynthetique(50001, 0.5);
    TTableauMesures t;
    t.MAJTableau(s.series, params(s));
    QImage image(ecran, QImage::Format_RGB32);
    int premiere = 3;
    for (auto _ : etat) {
        QPainter p(&image);
        t.dessiner(p, image.size(), premiere, 1);
        p.end();
        premiere = premiere > 49000 ? 3 : premiere + 997;
        benchmark::DoNotOptimize(image.constBits());
    }
    etat.counters["lignes"] = t.lignesVisibles(ecran.height());
}
BENCHMARK(BM_PeindreUnEcranDeLignes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
