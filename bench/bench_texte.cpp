// Cost of the 6-significant-digit general format against the standard conversion:
// the same 100 000 floats (magnitudes 1e-8..1e8, both signs) per iteration.
#include "formats.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <random>
#include <vector>

namespace {

const std::vector<float>& valeurs() {
    static const std::vector<float> v = [] {
        std::mt19937 alea(12345);
        std::uniform_real_distribution<double> exposant(-8.0, 8.0);
        std::bernoulli_distribution negatif(0.5);
        std::vector<float> r(100000);
        for (float& x : r) {
            const double m = std::pow(10.0, exposant(alea));
            x = static_cast<float>(negatif(alea) ? -m : m);
        }
        return r;
    }();
    return v;
}

void BM_ToCharsGeneral6(benchmark::State& etat) {
    const auto& v = valeurs();
    char tampon[32];
    for (auto _ : etat) {
        for (float x : v) {
            const auto r =
                std::to_chars(tampon, tampon + sizeof tampon, x, std::chars_format::general, 6);
            benchmark::DoNotOptimize(r.ptr);
            benchmark::ClobberMemory();
        }
    }
    etat.SetItemsProcessed(etat.iterations() * static_cast<int64_t>(v.size()));
}

void BM_TexteG6Ascii(benchmark::State& etat) {
    const auto& v = valeurs();
    char tampon[tailleTexteAscii];
    for (auto _ : etat) {
        for (float x : v) {
            const int n = texteG6Ascii(x, '.', tampon);
            benchmark::DoNotOptimize(n);
            benchmark::ClobberMemory();
        }
    }
    etat.SetItemsProcessed(etat.iterations() * static_cast<int64_t>(v.size()));
}

void BM_TexteG6QString(benchmark::State& etat) {
    const auto& v = valeurs();
    for (auto _ : etat) {
        for (float x : v) {
            QString s = texteG6(x, u'.');
            benchmark::DoNotOptimize(s);
        }
    }
    etat.SetItemsProcessed(etat.iterations() * static_cast<int64_t>(v.size()));
}

BENCHMARK(BM_ToCharsGeneral6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TexteG6Ascii)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TexteG6QString)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
