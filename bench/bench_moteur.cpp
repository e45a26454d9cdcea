// The engine's read loop: FIFO words decoded, converted and stored, with a window that
// draws nothing and a unit that answers at once. Figures: samples per second through the
// loop, and allocations made between arming and stopping (goal: none).
#include "centrale_neutre.h"
#include "moteuracquisition.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <new>

namespace {

// Allocations counted only while the unit is armed.
bool g_compter = false;
long g_allocations = 0;

} // namespace

void* operator new(std::size_t n) {
    if (g_compter)
        ++g_allocations;
    if (void* p = std::malloc(n == 0 ? 1 : n))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
    return operator new(n);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using Horloge = std::chrono::steady_clock;

// A unit whose FIFO always holds a full transfer of varied codes.
class TCentraleRapide : public TCentraleNeutre {
public:
    explicit TCentraleRapide(int nbSignaux, int64_t nbPts) : TCentraleNeutre(1) {
        typeCentrale = CENTRALE_SP5;
        VoiesX.resize(8);
        canauxDiff.assign(4, false);
        for (int i = 0; i < nbSignaux; ++i) {
            VoiesActivesSignaux.push_back(i);
            idxTraitKirvane.push_back(nbSignaux - 1 - i);
        }
        VoiesActivesX = VoiesActivesSignaux;
        nbVoiesActivesX = nbVoiesSignaux = nbSignaux;
        nbPts0X = nbPtsAffX = nbPts;
        dureeTotale0X = 10.0;
        dt0X = dureeTotale0X / static_cast<double>(nbPts - 1);
        nbPtsFifoMin = 1;
        tRemanence = 0.15;
        for (std::size_t j = 0; j < motif.size(); ++j)
            motif[j] = static_cast<uint16_t>(((j * 37 + 11) % 4096) << 4);
    }
    bool Presente() override { return true; }
    double Ux(int voie, int code) override { return code * 0.0048828125 - 10.0 + voie; }
    void declencheAcq() override {
        acqPeriodiqueEnCours = true;
        tSleepFifo = 1;
        g_allocations = 0;
        g_compter = true;
        debut = Horloge::now();
    }
    void arreteAcq() override {
        if (!acqPeriodiqueEnCours)
            return;
        fin = Horloge::now();
        g_compter = false;
        acqPeriodiqueEnCours = false;
    }
    int LireFifo(TPtrFifoSP5 f) override {
        const int n = std::clamp(NbPtsFifo, 1, 256);
        std::copy(motif.begin(), motif.begin() + n, f->begin());
        return n;
    }

    TFifoSP5 motif{};
    Horloge::time_point debut, fin;
};

class TVueMuette : public TVueAcquisition {
public:
    void modeGeneralChange(TModeGeneral) override {}
    void afficherMessage(const QString&) override {}
    void legendeBoutonAcquisition(const QString&) override {}
    void valeurDirecte(int, double) override {}
    void effacerValeursDirectes() override {}
    void afficherModePermanent(bool) override {}
    void debutAcquisition(bool) override {}
    void preparerAxeTemps() override {}
    void setModeDessinVM() override {}
    void redessiner(bool) override {}
    void dessinerPretrig() override {}
    void dessinerLot(const TLotAcquisition& lot) override { benchmark::DoNotOptimize(lot.dernier); }
    void debutTrameRapide() override {}
    void finTrameRapide() override {}
    void rafraichir() override {}
    void traiterMessages() override {}
    void afficherAttenteLongue() override {}
    void masquerAttenteLongue() override {}
    void informer(const QString&) override {}
    void avertir(const QString&) override {}
    void messageSimple(const QString&) override {}
    void timerAcqDirecte(bool) override {}
    void timerPresence(bool) override {}
    TContexteValidation contexteValidation() override { return {}; }
    void acquisitionValidee(bool) override {}
    void acquisitionTerminee() override {}
    void quitter() override {}
};

// One single acquisition per iteration; the time counted is that of the read loop only.
void lecture(benchmark::State& state, int modeDecl) {
    const int nbS = static_cast<int>(state.range(0));
    const int64_t nbPts = 1'000'000;
    TCentraleRapide unite(nbS, nbPts);
    unite.modeDecl = modeDecl;
    TSeriesMesurees series;
    TVueMuette vue;
    TMoteurAcquisition moteur(&unite, series, vue);
    long allocations = 0;
    for (auto _ : state) {
        moteur.BAcquisitionClick();
        allocations += g_allocations;
        state.SetIterationTime(std::chrono::duration<double>(unite.fin - unite.debut).count());
        benchmark::DoNotOptimize(series.tv2.back().data());
    }
    state.SetItemsProcessed(state.iterations() * nbPts * nbS);
    state.counters["echantillons_par_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * nbPts * nbS), benchmark::Counter::kIsRate);
    state.counters["allocations_dans_la_boucle"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());
}

void BM_LectureManuelle(benchmark::State& state) {
    lecture(state, 0);
}
void BM_LectureSeuil(benchmark::State& state) {
    lecture(state, 1);
}

} // namespace

BENCHMARK(BM_LectureManuelle)
    ->Arg(1)
    ->Arg(4)
    ->Arg(8)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LectureSeuil)->Arg(4)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
