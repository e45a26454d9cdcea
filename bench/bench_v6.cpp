// The V6 driver's speed. BM_LireFifoV6: one 256-word transfer decoded by the driver from
// a link whose receive queue always holds sample bytes (the decoding alone, no waiting).
// Through the simulator library in real time: a 30001-point acquisition against its
// physical bound, and the presence test the window runs every second.
#include "sysamv6.h"
#include "transport_d2xx.h"

#include <QElapsedTimer>
#include <QLibrary>
#include <QThread>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

namespace {

// A unit that echoes, answers every command with ":OK@" LF CR, sends a nominal
// calibration record, and once asked for data ("D") streams sample bytes without end.
class TransportFlux final : public TTransportOctets {
public:
    bool ouvrir() override {
        ouvert_ = true;
        attente_.clear();
        flux_ = false;
        return true;
    }
    void fermer() override { ouvert_ = false; }
    bool ouvert() const override { return ouvert_; }
    bool ecrire(const uint8_t* o, std::size_t n) override {
        for (std::size_t k = 0; k < n; ++k)
            recevoir(static_cast<char>(o[k]));
        return ouvert_;
    }
    std::size_t enAttente() override {
        return attente_.size() - lu_ + (flux_ && lu_ == attente_.size() ? 4096 : 0);
    }
    std::size_t lire(uint8_t* o, std::size_t n) override {
        std::size_t m = std::min(n, attente_.size() - lu_);
        std::memcpy(o, attente_.data() + lu_, m);
        lu_ += m;
        if (m == 0 && flux_) {
            // Codes 0x123 and 0x456, low byte first.
            static const uint8_t motif[4] = {0x23, 0x01, 0x56, 0x04};
            for (; m < n; ++m)
                o[m] = motif[(phase_ + m) & 3];
            phase_ = (phase_ + m) & 3;
        }
        if (lu_ == attente_.size()) {
            attente_.clear();
            lu_ = 0;
        }
        return m;
    }
    void purger() override {
        attente_.clear();
        lu_ = 0;
        flux_ = false;
    }

private:
    void recevoir(char c) {
        attente_.push_back(c);
        if (ligne_.empty()) {
            if (c == 27)
                flux_ = false; // stopped: no more samples
            if (c == 'F' || c == 'G')
                attente_ += ":DECL@\n\r"; // manual trigger: the report at once
            if (c == 27 || c == 'F' || c == 'G')
                return;
            if (c == 'D') {
                attente_ += ":";
                flux_ = true;
                return;
            }
            if (c == '0') {
                std::string r(TCalibrageV6::taille, '\0');
                const float g = 50.0f / 4096.0f, o = -25.0f;
                for (int i = 0; i < 4; ++i) {
                    std::memcpy(r.data() + 4 * i, &g, 4);
                    std::memcpy(r.data() + 16 + 4 * i, &o, 4);
                }
                attente_ += ":" + r + "@\n\r";
                return;
            }
        }
        ligne_.push_back(c);
        static const std::map<char, std::size_t> longueurs = {
            {'V', 11}, {'P', 5}, {'N', 5}, {'E', 8}, {'O', 5}, {'A', 2}, {'I', 1}, {'2', 1}};
        const auto l = longueurs.find(ligne_[0]);
        if (l == longueurs.end() || ligne_.size() >= l->second) {
            if (l != longueurs.end())
                attente_ += ":OK@\n\r";
            ligne_.clear();
        }
    }

    bool ouvert_ = false;
    bool flux_ = false;
    std::string attente_, ligne_;
    std::size_t lu_ = 0;
    std::size_t phase_ = 0;
};

void armer(TSYSAMV6& c) {
    c.Reset();
    c.prepareTousPRX(true);
    c.TailleTransfertFifo(256);
    c.declencheAcq();
}

void BM_LireFifoV6(benchmark::State& etat) {
    TSYSAMV6 c(std::make_unique<TransportFlux>(), 1);
    c.acquisitionUtilisateur = true;
    c.activeVoieA(1, false);
    c.setDurees(0.3, 15001, false); // 30002 values: many transfers before re-arming
    if (!c.CentralePresente) {
        etat.SkipWithError("centrale absente");
        return;
    }
    armer(c);
    TFifoSP5 fifo{};
    int64_t mots = 0;
    for (auto _ : etat) {
        const int n = c.LireFifo(&fifo);
        benchmark::DoNotOptimize(fifo.data());
        mots += n;
        if (n < 256) {
            etat.PauseTiming();
            c.arreteAcq();
            armer(c);
            etat.ResumeTiming();
        }
    }
    c.arreteAcq();
    etat.counters["mots"] = benchmark::Counter(static_cast<double>(mots));
    etat.counters["mots_par_s"] =
        benchmark::Counter(static_cast<double>(mots), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LireFifoV6);

const QString cheminSimulateur = QStringLiteral(KIRVANE_V6SIM);

// The simulator's test controls, from the library the driver loads too.
struct ControlesV6 {
    QLibrary bibliotheque{cheminSimulateur};
    void (*reinitialiser)() = nullptr;
    void (*debranche)(int32_t) = nullptr;
    bool charger() {
        bibliotheque.setLoadHints(QLibrary::PreventUnloadHint);
        if (!bibliotheque.load())
            return false;
        reinitialiser = reinterpret_cast<void (*)()>(bibliotheque.resolve("SimV6_Reinitialiser"));
        debranche = reinterpret_cast<void (*)(int32_t)>(bibliotheque.resolve("SimV6_SetDebranche"));
        return reinitialiser && debranche;
    }
    // Loaded and reset, or the bench skipped.
    bool preparer(benchmark::State& etat) {
        if (!charger()) {
            etat.SkipWithError("simulateur absent");
            return false;
        }
        reinitialiser();
        return true;
    }
};

// EA1 alone, 30001 points over 0.3 s (10 µs): 60002 sample bytes, so the link's 125 000 B/s
// bound (0.48 s) is above the sampling time. The counter "rapport_max" is the worst wall time of
// the whole acquisition (start, every transfer, stop) over that bound.
void BM_Acquisition30001PointsV6(benchmark::State& etat) {
    ControlesV6 sim;
    if (!sim.preparer(etat))
        return;
    TSYSAMV6 c(std::make_unique<TTransportD2XX>(cheminSimulateur), 1);
    c.acquisitionUtilisateur = true;
    c.setDurees(0.3, 30001, false);
    if (!c.CentralePresente || c.nbPts0X != 30001) {
        etat.SkipWithError("centrale absente ou réglages inattendus");
        return;
    }
    const double borne = std::max(c.dureeTotale0X, 2.0 * 30001 / 125000.0);
    TFifoSP5 fifo{};
    double rapportMax = 0.0;
    double programmation = 0.0;
    int64_t incompletes = 0;
    for (auto _ : etat) {
        // The programming is sent before the start order, as the read loop does: it is
        // timed apart (counter "programmation_ms").
        QElapsedTimer p;
        p.start();
        c.Reset();
        c.prepareTousPRX(true);
        c.TailleTransfertFifo(256);
        programmation += static_cast<double>(p.nsecsElapsed()) * 1e-6;
        QElapsedTimer t;
        t.start();
        c.declencheAcq();
        int64_t mots = 0;
        while (mots < 30001 && t.elapsed() < 5000) {
            const int n = c.LireFifo(&fifo);
            if (n < 0 && n != LIREFIFO_RAPPELER)
                break;
            if (n > 0)
                mots += n;
            else
                QThread::msleep(1); // what the read loop does between empty reads
        }
        c.arreteAcq();
        const double rapport = static_cast<double>(t.nsecsElapsed()) * 1e-9 / borne;
        etat.SetIterationTime(rapport * borne);
        rapportMax = std::max(rapportMax, rapport);
        incompletes += mots < 30001 ? 1 : 0;
    }
    etat.counters["rapport_max"] = rapportMax;
    etat.counters["borne_s"] = borne;
    etat.counters["programmation_ms"] =
        programmation / static_cast<double>(std::max<int64_t>(etat.iterations(), 1));
    if (incompletes > 0)
        etat.SkipWithError("acquisition incomplète");
}
BENCHMARK(BM_Acquisition30001PointsV6)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// The presence test of the window's poll, unit present then absent.
void BM_PresenceV6(benchmark::State& etat) {
    ControlesV6 sim;
    if (!sim.preparer(etat))
        return;
    const bool absente = etat.range(0) == 0;
    TSYSAMV6 c(std::make_unique<TTransportD2XX>(cheminSimulateur), 1);
    sim.debranche(absente ? 1 : 0);
    bool vue = false;
    for (auto _ : etat)
        vue = c.Presente();
    sim.debranche(0);
    if (vue == absente)
        etat.SkipWithError("présence inattendue");
}
BENCHMARK(BM_PresenceV6)->Arg(1)->Arg(0)->ArgNames({"presente"})->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
