// The engine against the SP5 simulator with the real drawing of the points into the graph
// image (1060 × 725), as the window does:
// - a 10 MHz acquisition of 50 001 points on EA0: the wall time against the 5 ms the unit
//   takes to sample them (the loop keeps up when the two stay close);
// - a 10 s acquisition: the longest gap between two processings of the window's events.
#include "ecrangraphe.h"
#include "moteuracquisition.h"
#include "sp5.h"
#include "traceuracquisition.h"
#include "vue_essai.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLibrary>
#include <benchmark/benchmark.h>

namespace {

const QString cheminSimulateur = QStringLiteral(KIRVANE_SP5SIM);

// The recording view that also draws every batch on the graph image.
class TVueDessin : public TVueEssai {
public:
    TEcranGraphe ecran;
    TTraceurAcquisition traceur;
    std::array<TColor, 8> couleurs = clsV0;
    TCentrale* unite = nullptr;
    TSeriesMesurees* series = nullptr;
    void setModeDessinVM() override {
        ecran.setModeDessinVM(etatEcran(unite, MODE_ACQ_SIMPLE), *series);
    }
    void dessinerLot(const TLotAcquisition& l) override {
        traceur.dessinerLot(ecran.iEcranX, ecran.g, l, ecran.modeDessinVM, couleurs);
    }
};

struct TBanc {
    QLibrary bibli;
    std::unique_ptr<TSP5> unite;
    TSeriesMesurees series;
    TVueDessin vue;
    std::unique_ptr<TMoteurAcquisition> moteur;

    explicit TBanc(double duree, int64_t nbPts) {
        bibli.setFileName(cheminSimulateur);
        bibli.setLoadHints(QLibrary::PreventUnloadHint);
        bibli.load();
        if (auto bruit = reinterpret_cast<void (*)(int32_t)>(bibli.resolve("SimSP5_SetBruit")))
            bruit(0);
        unite = std::make_unique<TSP5>(cheminSimulateur, 1);
        unite->setDurees(duree, nbPts, false);
        vue.unite = unite.get();
        vue.series = &series;
        vue.ecran.redimensionnementEcran(1060, 725, 1.0, 1.0, etatEcran(unite.get(), MODE_VIERGE),
                                         series);
        moteur = std::make_unique<TMoteurAcquisition>(unite.get(), series, vue);
    }
    ~TBanc() {
        moteur.reset();
        unite->liberer(true);
    }
};

} // namespace

namespace {

void BM_Acquisition10MHzAvecDessin(benchmark::State& etat) {
    TBanc b(0.005, 50001);
    for (auto _ : etat) {
        QElapsedTimer t;
        t.start();
        b.moteur->MODEGENERAL = MODE_VIERGE;
        b.moteur->BAcquisitionClick();
        etat.SetIterationTime(t.nsecsElapsed() * 1e-9);
    }
    etat.counters["duree_unite_ms"] = b.unite->dureeTotale0X * 1000.0;
    etat.counters["dt_us"] = b.unite->dt0X * 1e6;
    etat.counters["points"] = static_cast<double>(b.series.nbPointsSerie(0));
    etat.counters["modeDessinVM"] = b.vue.ecran.modeDessinVM;
}
BENCHMARK(BM_Acquisition10MHzAvecDessin)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Acquisition10sReactivite(benchmark::State& etat) {
    TBanc b(10.0, 1001);
    for (auto _ : etat) {
        b.moteur->MODEGENERAL = MODE_VIERGE;
        b.moteur->BAcquisitionClick();
    }
    etat.counters["ecart_max_ms"] = static_cast<double>(b.vue.ecartMaxMs);
    etat.counters["traitements"] = b.vue.nbMessages;
}
BENCHMARK(BM_Acquisition10sReactivite)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
