// The tick stopwatch of the acquisitions.
#include "chronometre.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TEST(Chronometre, FrequenceDeLHorloge) {
    const TChronometreTicks chrono;
    using P = std::chrono::steady_clock::period;
    EXPECT_TRUE(chrono.HauteResolution);
    EXPECT_EQ(chrono.Frequence, P::den / P::num);
    EXPECT_GE(chrono.Frequence, 1000);
}

TEST(Chronometre, DeuxMesuresDepuisLeMemeDebut) {
    TChronometreTicks chrono;
    chrono.Declenche();
    const int64_t debut = chrono.TickDeDebut;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const double m1 = chrono.Mesure();
    const int64_t tick1 = chrono.TickDeMesure;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const double m2 = chrono.Mesure();
    EXPECT_EQ(chrono.TickDeDebut, debut);
    EXPECT_EQ(chrono.IntervalleTemps, m2);
    // The second reading counts from Declenche, not from the first reading.
    EXPECT_GE(m2, m1 + 2.0);
    EXPECT_NEAR(m2 - m1,
                static_cast<double>(chrono.TickDeMesure - tick1) * 1000.0 /
                    static_cast<double>(chrono.Frequence),
                1e-9);
}

TEST(Chronometre, MesureMonotone) {
    TChronometreTicks chrono;
    chrono.Declenche();
    double precedente = chrono.Mesure();
    EXPECT_GE(precedente, 0.0);
    for (int i = 0; i < 1000; ++i) {
        const double m = chrono.Mesure();
        ASSERT_GE(m, precedente);
        precedente = m;
    }
    int64_t a = 0, b = 0;
    chrono.MesureTick(a);
    chrono.MesureTick(b);
    EXPECT_GE(b, a);
}

TEST(Chronometre, DureeDUnSommeil) {
    TChronometreTicks chrono;
    chrono.Declenche();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const double ms = chrono.Mesure();
    // A sleep lasts at least what was asked; only the lower bound is reliable.
    EXPECT_GE(ms, 29.9);
    // Declenche starts a new interval.
    chrono.Declenche();
    EXPECT_LT(chrono.Mesure(), ms);
}

} // namespace
