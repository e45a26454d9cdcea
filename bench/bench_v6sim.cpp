// The V6 simulator's byte delivery: a whole 30 000-point run on one input at 10 µs read
// through the D2XX functions, simulated time far ahead so that the link is never waited
// for (the simulator's own cost per byte); and, through the D2XX link, opening an absent
// unit, which the window does every second (goal under 1 ms).
#include "transport_d2xx.h"
#include "v6sim.h"

#include <QLibrary>
#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace d2xx;

void ecrit(FT_HANDLE h, std::string texte) {
    DWORD n = 0;
    FT_Write(h, texte.data(), static_cast<DWORD>(texte.size()), &n);
}

// Reads n bytes (at most 65 536, or what comes within a large bound); returns how many came.
std::size_t lit(FT_HANDLE h, std::size_t n, uint8_t* tampon) {
    std::size_t total = 0;
    for (int essais = 0; total < n && essais < 1000000; ++essais) {
        DWORD attente = 0, lus = 0;
        FT_GetQueueStatus(h, &attente);
        if (attente == 0)
            continue;
        FT_Read(h, tampon, std::min<DWORD>(attente, static_cast<DWORD>(n - total)), &lus);
        total += lus;
    }
    return total;
}

void BM_Simulateur30000PointsLivres(benchmark::State& etat) {
    SimV6_Reinitialiser();
    SimV6_SetAcceleration(1e9);
    char description[] = "Sysam-V6";
    FT_HANDLE h = nullptr;
    FT_OpenEx(description, FT_OPEN_BY_DESCRIPTION, &h);
    FT_SetBaudRate(h, 1250000);
    FT_SetFlowControl(h, FT_FLOW_RTS_CTS, 0x11, 0x13);
    ecrit(h, "V000F0F0F0FPFF38N7530E0000000O0000"); // EA1, 10 µs, 30 000 steps, manual
    static uint8_t tampon[65536];
    lit(h, 34 + 5 * 6, tampon); // the echoes and five ":OK@" replies
    std::size_t octets = 0;
    for (auto _ : etat) {
        ecrit(h, "F");
        lit(h, 1 + 8, tampon);
        ecrit(h, "D");
        lit(h, 2, tampon);
        octets += lit(h, 60000, tampon);
    }
    FT_Close(h);
    etat.SetBytesProcessed(static_cast<int64_t>(octets));
    SimV6_Reinitialiser();
}
BENCHMARK(BM_Simulateur30000PointsLivres)->Unit(benchmark::kMillisecond);

void BM_OuvertureCentraleAbsente(benchmark::State& etat) {
    const QString chemin = QStringLiteral(KIRVANE_V6SIM);
    QLibrary bibliotheque(chemin);
    bibliotheque.load();
    const auto debranche =
        reinterpret_cast<void (*)(int32_t)>(bibliotheque.resolve("SimV6_SetDebranche"));
    if (!debranche) {
        etat.SkipWithError("simulateur introuvable");
        return;
    }
    debranche(1);
    TTransportD2XX transport(chemin);
    for (auto _ : etat)
        benchmark::DoNotOptimize(transport.ouvrir());
    debranche(0);
}
BENCHMARK(BM_OuvertureCentraleAbsente)->Unit(benchmark::kMicrosecond);

void BM_OuvertureCentralePresente(benchmark::State& etat) {
    const QString chemin = QStringLiteral(KIRVANE_V6SIM);
    TTransportD2XX transport(chemin);
    for (auto _ : etat)
        benchmark::DoNotOptimize(transport.ouvrir());
}
BENCHMARK(BM_OuvertureCentralePresente)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
