// Cost of the Excel transfer of a full acquisition, 6 series of 50 001 points: the .xlsx
// workbook written where no Excel runs, and our own work in the automation sequence
// (chunks of clipboard text and the calls) against an Excel that does nothing.
#include "classeurexcel.h"
#include "excel_essai.h"
#include "transfertexcel.h"

#include <QTemporaryDir>
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
    e.separateur = u',';
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

void BM_ClasseurXlsx(benchmark::State& etat) {
    if (!classeurExcelDisponible()) {
        etat.SkipWithError("libxlsxwriter absent");
        return;
    }
    const TInstantaneExport e = grandeAcquisition();
    const std::vector<TFeuilleClasseur> feuilles{{e, *selectionExcel(e)}};
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("classeur.xlsx"));
    for (auto _ : etat) {
        auto erreur = ecrireClasseurExcel(chemin, feuilles);
        benchmark::DoNotOptimize(erreur);
    }
}
BENCHMARK(BM_ClasseurXlsx)->Unit(benchmark::kMillisecond);

void BM_AutomationExcel(benchmark::State& etat) {
    const TInstantaneExport e = grandeAcquisition();
    JournalExcel j;
    j.enregistrer = false;
    SystemeExcelEssai systeme(j);
    VueExcelEssai vue(j);
    TTransfertExcel transfert(systeme, vue);
    for (auto _ : etat) {
        j.pressePapiers.clear();
        vue.progressions.clear();
        auto issue =
            transfert.TransfertExcelPP(e, OPTION_TE_NOUVEAU_CLASSEUR, QString(), QString());
        benchmark::DoNotOptimize(issue);
    }
}
BENCHMARK(BM_AutomationExcel)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
