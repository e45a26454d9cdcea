#include "chronometre.h"

#include <chrono>

namespace {
using Horloge = std::chrono::steady_clock;

int64_t lecture() {
    return static_cast<int64_t>(Horloge::now().time_since_epoch().count());
}
} // namespace

TChronometreTicks::TChronometreTicks() {
    // The clock's own tick: ticks per second = den / num of its period.
    using P = Horloge::period;
    HauteResolution = P::num == 1 && P::den >= 1000;
    Frequence = HauteResolution ? static_cast<int64_t>(P::den / P::num) : 1000;
    Declenche();
}

void TChronometreTicks::Declenche() {
    MesureTick(TickDeDebut);
    TickDeMesure = TickDeDebut;
}

void TChronometreTicks::MesureTick(int64_t& lInt) const {
    if (HauteResolution) {
        lInt = lecture();
        return;
    }
    // A clock coarser than the millisecond: count milliseconds instead.
    lInt = std::chrono::duration_cast<std::chrono::milliseconds>(Horloge::now().time_since_epoch())
               .count();
}

double TChronometreTicks::Mesure() {
    MesureTick(TickDeMesure);
    const int64_t ecart = TickDeMesure - TickDeDebut;
    IntervalleTemps = static_cast<double>(ecart) * 1000.0 / static_cast<double>(Frequence);
    return IntervalleTemps;
}
