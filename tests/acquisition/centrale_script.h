#pragma once
// A unit whose FIFO delivers known words in transfers of chosen sizes, at once: every
// sample tells which frame, time step and position it comes from, so that the tests
// see any sample lost, duplicated, misplaced or taken from another frame.
#include "bibliotheque.h"
#include "centrale_neutre.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <vector>

class TCentraleScript : public TCentraleNeutre {
public:
    TCentraleScript() : TCentraleNeutre(1) {
        typeCentrale = CENTRALE_SP5;
        nomCentrale = QStringLiteral("SYSAM SP5");
        nbEAU = 8;
        nbCanaux_ = nbCanauxUt = 4;
        VoiesX.resize(8);
        canauxDiff.assign(4, false);
        tRemanence = 0.15;
        nbPtsFifoMin = 1;
        tAttenteMaxDecl = 0.05f;
        activer({0});
        setDurees(0.01, 101, false);
    }

    // Active inputs, one signal each, in this order of signals; positions within a frame
    // of words (idxTraitKirvane) given or in order.
    void activer(std::vector<int> voies, std::vector<int> positions = {}) {
        VoiesActivesX = voies;
        std::sort(VoiesActivesX.begin(), VoiesActivesX.end());
        VoiesActivesSignaux = voies;
        nbVoiesActivesX = nbVoiesSignaux = static_cast<int>(voies.size());
        if (positions.empty()) {
            positions.resize(voies.size());
            std::iota(positions.begin(), positions.end(), 0);
        }
        idxTraitKirvane = positions;
    }
    void activeVoieA(uint8_t v, bool) override {
        std::vector<int> l = VoiesActivesSignaux;
        if (std::find(l.begin(), l.end(), v) == l.end())
            l.push_back(v);
        activer(l);
    }
    void desactiveVoieA(uint8_t v, bool) override {
        std::vector<int> l = VoiesActivesSignaux;
        l.erase(std::remove(l.begin(), l.end(), v), l.end());
        activer(l);
    }
    void setCal(uint8_t v, int cal, bool) override { VoiesX[v].idxCalibreUt = cal; }
    void setModeDeclenchement(int m, bool) override {
        modeDecl = m;
        setDurees(dureeTotale0X, nbPtsAffX, false);
    }
    using TCentraleNeutre::setDurees; // the one-argument form stays the neutral unit's
    // The threshold trigger acquires one point more than is shown.
    void setDurees(double duree, int64_t nbPts, bool) override {
        ++setDureesAppels;
        dureeTotale0X = duree;
        nbPtsAffX = nbPts;
        nbPts0X = nbPts + (modeDecl == 1 ? 1 : 0);
        dt0X = duree / static_cast<double>(nbPts - 1);
        ndt = std::llround(dt0X * 1e7);
    }
    bool memesParametresTemporels() override { return parametresTemporelsEgaux(); }
    void memoriseParametresTemporels() override { enregistrerParametresTemporels(0); }
    QString getCapVM(int n) override { return QStringLiteral("u[%1_M]").arg(n); }
    QString getCapEA(int n) override { return QStringLiteral("EA%1").arg(n); }
    double Ux(int voie, int code) override { return voie * 10.0 + code * 0.001; }
    bool Presente() override { return presente; }
    int presentePendantAcq() override {
        ++presencesTestees;
        if (presenceForcee)
            return *presenceForcee;
        return presente ? 1 : -1;
    }
    void getDTPretrig() override { dtPretrig = dtPretrigScript; }
    void getNbPtsPretrig() override {}
    void prepareTousPRX(bool) override { ++programmations; }
    void declencheAcq() override {
        if (!presente || nbVoiesActivesX <= 0 || (demarrePlus >= 0 && nbTrames >= demarrePlus))
            return;
        acqPeriodiqueEnCours = true;
        ++nbTrames;
        position = 0;
        lectures = 0;
        tSleepFifo = sommeilMs;
        chronometre.Declenche();
    }
    void arreteAcq() override { acqPeriodiqueEnCours = false; }
    int LireFifo(TPtrFifoSP5 f) override {
        ++lectures;
        if (avantLecture)
            avantLecture(lectures);
        if (const auto force = retoursForces.find(lectures); force != retoursForces.end())
            return force->second;
        if (!presente || muette || lectures <= lecturesVides)
            return 0;
        const int64_t total = static_cast<int64_t>(nbVoiesSignaux) * nbPts0X;
        if (position >= total)
            return 0;
        const int voulu = tailles.empty() ? NbPtsFifo : tailles[transferts++ % tailles.size()];
        const int n = static_cast<int>(std::min<int64_t>({voulu, 256, total - position}));
        for (int j = 0; j < n; ++j)
            (*f)[j] = static_cast<uint16_t>(code(nbTrames, position + j) << 4 | 0x9);
        position += n;
        return n;
    }

    // The 12-bit code of word w of frame t (frames counted from 1).
    static int code(int t, int64_t w) { return static_cast<int>((w * 7 + t * 1000) % 4096); }
    // Volts of signal i at time step k of frame t.
    double attendu(int t, int64_t k, int i) {
        return Ux(VoiesActivesSignaux[i], code(t, k * nbVoiesSignaux + idxTraitKirvane[i]));
    }

    bool presente = true;
    bool muette = false;   // the trigger never comes
    int lecturesVides = 0; // empty reads before the first data of each frame
    int sommeilMs = 1;
    double dtPretrigScript = 0.0;
    std::vector<int> tailles; // words per transfer, in turn; empty: NbPtsFifo
    std::function<void(int)> avantLecture;
    std::map<int, int> retoursForces; // read number -> what LireFifo returns instead
    int presencesTestees = 0;
    std::optional<int> presenceForcee; // what presentePendantAcq answers instead
    int demarrePlus = -1; // frames started before the unit silently refuses to start any more
    int nbTrames = 0;
    int lectures = 0;
    int programmations = 0;
    int setDureesAppels = 0;
    int64_t position = 0;
    std::size_t transferts = 0;
};
