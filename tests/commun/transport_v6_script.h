#pragma once
// A scripted V6 link for the driver's tests: a virtual clock that advances only when the
// driver sleeps, and a small stand-in for the unit that echoes what it receives, answers
// framed replies, sends a calibration record and plays sample bytes that the test queues.
// Faults are fields: a silent unit, dropped echoes, chattering, failed writes, unplugging.
#include "sysamv6.h"

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace v6script {

class HorlogeVirtuelle final : public THorlogeV6 {
public:
    int64_t maintenantMs() override { return t; }
    void dormirUs(int us) override {
        tUs += us;
        t = tUs / 1000;
        ++nbSommeils;
        if (us > 2000)
            ++sommeilsLongs;
    }
    int64_t t = 0; // milliseconds, read by the tests
    int64_t tUs = 0;
    int nbSommeils = 0;
    int sommeilsLongs = 0;
};

// The 128-byte record with gains and offsets per input.
inline std::vector<uint8_t> enregistrement(const std::array<float, 3>& gains,
                                           const std::array<float, 3>& offsets,
                                           const char* serie = "V6TEST") {
    std::vector<uint8_t> r(TCalibrageV6::taille, 0);
    for (int i = 0; i < 3; ++i) {
        std::memcpy(r.data() + 4 * i, &gains[i], 4);
        std::memcpy(r.data() + 16 + 4 * i, &offsets[i], 4);
    }
    std::memcpy(r.data() + 64, serie, std::min<std::size_t>(std::strlen(serie), 16));
    return r;
}

class TransportScript final : public TTransportOctets {
public:
    explicit TransportScript(HorlogeVirtuelle& h) : h_(h) {
        calibration = enregistrement({0.0123f, 0.0122f, 0.0121f}, {-25.1f, -24.9f, -25.05f});
    }

    // --- The unit ---
    bool branchee = true;
    bool muette = false;                         // answers nothing, echoes nothing
    bool bavarde = false;                        // replies never end: bytes without "@"
    std::set<std::size_t> echosPerdus;           // index in the bytes received whose echo is lost
    std::map<std::string, std::string> reponses; // command -> raw bytes after the echoes
    std::string serie = "V6TEST";
    std::vector<uint8_t> calibration;
    int echecsEcriture = 0; // the next writes fail
    // Called on a start order ("F", "G") and on "D"; the test queues what follows.
    std::function<void(TransportScript&, char)> surOrdre;

    // --- What happened ---
    std::vector<std::string> commandes; // completed text commands and orders, in order
    std::string recu;                   // every byte received
    int nbOuvertures = 0;
    int nbPurges = 0;

    // Queues bytes that become readable delai ms from now.
    void pousser(const std::string& s, int64_t delai = 0) {
        for (char c : s)
            mettre(h_.t + delai, static_cast<uint8_t>(c));
    }
    void pousserOctets(const std::vector<uint8_t>& o, int64_t delai = 0) {
        for (uint8_t c : o)
            mettre(h_.t + delai, c);
    }
    // Bytes readable now or later, without the driver's reading.
    std::size_t enFile() const { return file_.size(); }
    void debrancher() {
        branchee = false;
        ouvert_ = false; // I/O errors: the link closes itself
    }

    bool ouvrir() override {
        ++nbOuvertures;
        // What waits is dropped; what the unit is still sending arrives.
        while (!file_.empty() && file_.front().first <= h_.t)
            file_.pop_front();
        ligne_.clear();
        ouvert_ = branchee;
        return ouvert_;
    }
    void fermer() override { ouvert_ = false; }
    bool ouvert() const override { return ouvert_; }
    bool ecrire(const uint8_t* o, std::size_t n) override {
        if (!ouvert_)
            return false;
        if (echecsEcriture > 0) {
            --echecsEcriture;
            return false;
        }
        for (std::size_t k = 0; k < n; ++k)
            recevoir(o[k]);
        return true;
    }
    std::size_t enAttente() override {
        if (!ouvert_)
            return 0;
        std::size_t n = 0;
        for (const auto& [t, o] : file_) {
            if (t > h_.t)
                break;
            ++n;
        }
        return n;
    }
    std::size_t lire(uint8_t* o, std::size_t n) override {
        const std::size_t m = std::min(n, enAttente());
        for (std::size_t k = 0; k < m; ++k) {
            o[k] = file_.front().second;
            file_.pop_front();
        }
        return m;
    }
    void purger() override {
        ++nbPurges;
        while (!file_.empty() && file_.front().first <= h_.t)
            file_.pop_front();
    }

private:
    // In time order; bytes of the same instant keep the order they were sent in.
    void mettre(int64_t t, uint8_t o) {
        auto it = file_.end();
        while (it != file_.begin() && std::prev(it)->first > t)
            --it;
        file_.insert(it, {t, o});
    }

    void repondre(const std::string& cmd) {
        commandes.push_back(cmd);
        const auto it = reponses.find(cmd.substr(0, 1));
        const auto exact = reponses.find(cmd);
        if (exact != reponses.end())
            pousser(exact->second);
        else if (it != reponses.end())
            pousser(it->second);
        else if (bavarde)
            pousser(":" + std::string(2000, 'x'));
        else if (cmd == "2")
            pousser(":" + serie + "@\n\r");
        else if (cmd[0] == 'A')
            pousser(":7FF@\n\r");
        else
            pousser(":OK@\n\r");
    }

    void recevoir(uint8_t o) {
        const std::size_t index = recu.size();
        recu.push_back(static_cast<char>(o));
        if (muette)
            return;
        if (!echosPerdus.count(index))
            pousser(std::string(1, static_cast<char>(o)));
        if (ligne_.empty()) {
            switch (o) {
            case 27:
                commandes.push_back("ESC");
                return;
            case 'F':
            case 'G':
            case 'D':
                commandes.push_back(std::string(1, static_cast<char>(o)));
                if (surOrdre)
                    surOrdre(*this, static_cast<char>(o));
                return;
            case '0':
                commandes.push_back("0");
                pousser(":");
                pousserOctets(calibration);
                pousser("@\n\r");
                return;
            default:
                break;
            }
        }
        ligne_.push_back(static_cast<char>(o));
        static const std::map<char, std::size_t> longueurs = {
            {'V', 11}, {'P', 5}, {'N', 5}, {'E', 8}, {'O', 5}, {'A', 2}, {'I', 1}, {'2', 1}};
        const auto l = longueurs.find(ligne_[0]);
        if (l == longueurs.end()) {
            ligne_.clear();
            return;
        }
        if (ligne_.size() >= l->second) {
            const std::string cmd = ligne_;
            ligne_.clear();
            repondre(cmd);
        }
    }

    HorlogeVirtuelle& h_;
    std::deque<std::pair<int64_t, uint8_t>> file_;
    std::string ligne_;
    bool ouvert_ = false;
};

// Sample bytes of codes, low byte first.
inline std::vector<uint8_t> octetsEchantillons(const std::vector<int>& codes) {
    std::vector<uint8_t> r;
    for (int c : codes) {
        r.push_back(static_cast<uint8_t>(c & 0xFF));
        r.push_back(static_cast<uint8_t>(c >> 8));
    }
    return r;
}

} // namespace v6script
