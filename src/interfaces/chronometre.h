#pragma once
// Tick stopwatch of the acquisitions: the monotonic clock of the system, read in
// its own ticks and converted to milliseconds.
#include <cstdint>

class TChronometreTicks {
public:
    int64_t Frequence = 1000;     // ticks per second
    bool HauteResolution = false; // the high-resolution counter exists
    int64_t TickDeDebut = 0;      // reading at Declenche
    int64_t TickDeMesure = 0;     // reading at the last Mesure
    double IntervalleTemps = 0.0; // last measured interval in milliseconds

    TChronometreTicks();

    void Declenche();
    void MesureTick(int64_t& lInt) const;
    // Milliseconds since the last Declenche (not since the last Mesure).
    double Mesure();

    bool operator==(const TChronometreTicks&) const = default;
};
