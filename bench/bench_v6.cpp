// The V6 driver's speed. BM_LireFifoV6: one 256-word transfer decoded by the driver from
// a link whose receive queue always holds sample bytes (the decoding alone, no waiting).
#include "sysamv6.h"

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

} // namespace

BENCHMARK_MAIN();
