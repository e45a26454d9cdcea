// Cost of writing the files of a full acquisition: 6 series of 50 001 points between the
// green cursors, as a Regressi file and as a CSV table (bytes built in memory).
#include "fichierregressi.h"
#include "fichierstexte.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

TInstantaneExport grandeAcquisition() {
    constexpr int nbPoints = 50001;
    TInstantaneExport e;
    e.dtAX = 2e-5;
    e.nbPtsAX = nbPoints;
    e.t0 = 0.0f;
    e.tFin = e.dureeTotaleAX = e.dtAX * (nbPoints - 1);
    e.nomCentrale = QStringLiteral("SYSAM SP5");
    e.heureAcq = e.maintenant = QDateTime(QDate(2026, 12, 9), QTime(10, 15, 0));
    e.cheminExecutable = QStringLiteral("C:\\Prog\\Kirvane.exe");
    e.titreProgramme = QStringLiteral("Kirvane - 3.2.2.0");
    for (int j = 0; j < 6; ++j) {
        TSerieExport s{QStringLiteral("u[%1_M]").arg(j), 0x02000090, 0, false,
                       QStringLiteral("EA%1").arg(j),    QString(),  {}};
        s.valeurs.resize(nbPoints);
        for (int k = 0; k < nbPoints; ++k) // sines of several amplitudes: varied digits
            s.valeurs[k] = static_cast<float>((j + 1) * 1.7 * std::sin(0.0123 * k + j));
        e.series.push_back(std::move(s));
    }
    return e;
}

void BM_FichierRegressi(benchmark::State& etat) {
    const TInstantaneExport e = grandeAcquisition();
    for (auto _ : etat) {
        auto octets = fichierRegressi(e);
        benchmark::DoNotOptimize(octets);
    }
    etat.SetBytesProcessed(etat.iterations() * fichierRegressi(e)->size());
}
BENCHMARK(BM_FichierRegressi)->Unit(benchmark::kMillisecond);

void BM_FichierCSV(benchmark::State& etat) {
    const TInstantaneExport e = grandeAcquisition();
    for (auto _ : etat) {
        auto octets = fichierCSV(e);
        benchmark::DoNotOptimize(octets);
    }
    etat.SetBytesProcessed(etat.iterations() * fichierCSV(e)->size());
}
BENCHMARK(BM_FichierCSV)->Unit(benchmark::kMillisecond);

void BM_FichierTXT(benchmark::State& etat) {
    const TInstantaneExport e = grandeAcquisition();
    for (auto _ : etat) {
        auto octets = fichierTXT(e);
        benchmark::DoNotOptimize(octets);
    }
}
BENCHMARK(BM_FichierTXT)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
