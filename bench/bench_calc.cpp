// Calc transfer into a real LibreOffice (started without a window on a private profile):
// 6 series × 50 001 points into a running office, with the longest pause of the window's
// thread meanwhile; and the start of the office to the first cell written. Skipped when
// LibreOffice or its SDK is absent.
#include "calc_enregistreur.h"
#include "calclibreoffice.h"
#include "executeurcalc.h"
#include "office_essai.h"

#ifdef KIRVANE_CALC_UNO
#include "calclibreoffice_uno.h"

#include <com/sun/star/util/XCloseable.hpp>
#endif

#include <QElapsedTimer>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

using namespace office_essai;

namespace {

#ifdef KIRVANE_CALC_UNO
namespace css = com::sun::star;

TInstantaneExport sixSeries(int nb) {
    TInstantaneExport e;
    for (int j = 0; j < 6; ++j) {
        TSerieExport s{QStringLiteral("u[%1]").arg(j), 0,         0, false,
                       QStringLiteral("EA%1").arg(j),  QString(), {}};
        s.valeurs.reserve(nb);
        for (int k = 0; k < nb; ++k)
            s.valeurs.push_back(static_cast<float>(std::sin(0.001 * k + j)) * 5.0f);
        e.series.push_back(std::move(s));
    }
    e.dtAX = 1e-4;
    e.nbPtsAX = nb;
    e.dureeTotaleAX = e.dtAX * (nb - 1);
    e.tFin = e.dureeTotaleAX;
    e.nomCentrale = QStringLiteral("SYSAM SP5");
    e.heureAcq = QDateTime(QDate(2026, 12, 9), QTime(10, 15, 0));
    return e;
}

void terminerOffice(const TOptionsLibreOffice& options) {
    TCalcLibreOffice c(options);
    if (!c.connecter())
        return;
    try {
        c.desktop()->terminate();
    } catch (const css::uno::Exception&) {
    }
}

void BM_SixSeries50001(benchmark::State& state) {
    TOfficeEssai office;
    if (!office.demarrer()) {
        state.SkipWithError("LibreOffice absent");
        return;
    }
    FenetreEnregistreuse fenetre;
    TExecuteurCalcFil executeur;
    auto c = std::make_unique<TCalcLibreOffice>(office.options);
    TCalcLibreOffice* calc = c.get();
    TTransfertCalc transfert(std::move(c), executeur, fenetre);
    const TInstantaneExport e = sixSeries(50001);
    // The office started and a first workbook made before the clock runs.
    if (transfererEtAttendre(transfert, sixSeries(11), OPTION_TOO_NOUVEAU_CLASSEUR) !=
        TIssueTransfertCalc::Transfere) {
        state.SkipWithError("LibreOffice ne répond pas");
        office.arreter([&] { terminerOffice(office.options); });
        return;
    }
    double pauseMax = 0;
    for (auto _ : state) {
        // The window's thread: a 5 ms timer whose longest gap tells how responsive it stays.
        QElapsedTimer horloge;
        horloge.start();
        qint64 dernier = 0;
        QTimer battement;
        battement.setInterval(5);
        QObject::connect(&battement, &QTimer::timeout, [&] {
            const qint64 t = horloge.elapsed();
            pauseMax = std::max(pauseMax, static_cast<double>(t - dernier));
            dernier = t;
        });
        battement.start();
        const auto issue = transfererEtAttendre(transfert, e, OPTION_TOO_NOUVEAU_CLASSEUR);
        battement.stop();
        if (issue != TIssueTransfertCalc::Transfere) {
            state.SkipWithError("transfert en échec");
            break;
        }
        state.PauseTiming();
        const css::uno::Reference<css::util::XCloseable> ferme(calc->classeur(),
                                                               css::uno::UNO_QUERY);
        if (ferme.is())
            ferme->close(true);
        state.ResumeTiming();
    }
    state.counters["pause_max_fenetre_ms"] = pauseMax;
    state.counters["cellules"] = 6.0 * 50001 + 50001;
    office.arreter([&] { terminerOffice(office.options); });
}
BENCHMARK(BM_SixSeries50001)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Start of the office (new profile: the first start on a machine) to the first cell written.
void BM_DemarrageJusquaPremiereCellule(benchmark::State& state) {
    for (auto _ : state) {
        TOfficeEssai office;
        QElapsedTimer horloge;
        horloge.start();
        if (!office.demarrer()) {
            state.SkipWithError("LibreOffice absent");
            return;
        }
        TCalcLibreOffice calc(office.options);
        bool ecrit = false;
        if (calc.connecter()) {
            try {
                calc.nouveauClasseur(nomFeuilleTransfert);
                calc.ecrireTextes(1, {QStringLiteral("Mesures")});
                ecrit = true;
            } catch (const TErreurCalc&) {
            }
        }
        state.SetIterationTime(horloge.nsecsElapsed() / 1e9);
        office.arreter([&] {
            try {
                if (calc.desktop().is())
                    calc.desktop()->terminate();
            } catch (const css::uno::Exception&) {
            }
        });
        if (!ecrit) {
            state.SkipWithError("LibreOffice ne répond pas");
            return;
        }
    }
}
BENCHMARK(BM_DemarrageJusquaPremiereCellule)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseManualTime();
#else
void BM_SansSDK(benchmark::State& state) {
    for (auto _ : state)
        state.SkipWithError("construit sans le SDK de LibreOffice");
}
BENCHMARK(BM_SansSDK);
#endif

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
