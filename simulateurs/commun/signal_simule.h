#pragma once
// A deterministic physical signal of one simulated input: shape, amplitude, frequency,
// offset and one extra parameter (the time constant of a capacitor charge).
#include <cmath>
#include <cstdint>

// Evaluated for every sample: inlined even where the compiler would rather not.
#if defined(__GNUC__)
#define SIMULATEURS_EN_LIGNE [[gnu::always_inline]] inline
#else
#define SIMULATEURS_EN_LIGNE inline
#endif

namespace simulateurs {

enum class Forme : int32_t {
    Constante = 0, // offset only
    Sinus = 1,     // offset + amplitude sin(2π f t)
    Carre = 2,     // offset ± amplitude, high during the first half period
    Triangle = 3,  // offset ± amplitude, starting at the offset and rising like a sine
    DentScie = 4,  // offset + amplitude × (fraction of the period)
    Charge = 5,    // offset + amplitude (1 − exp(−t'/τ)), t' restarting every period
};

struct ParametresSignal {
    Forme forme = Forme::Constante;
    double amplitude = 0;
    double frequence = 0; // Hz; 0 makes a periodic shape stand still at its start
    double offset = 0;
    double parametre = 0; // τ in seconds for a charge
};

// True when every value is finite and within sane bounds (the signal of an input is
// never built from a value that could make NaN or overflow later).
bool signalValide(const ParametresSignal& p);

// Points of the sine table over one period (one more closes it): linear interpolation
// between them is within 3e-7 of the amplitude, far below a converter step, and costs a
// fraction of std::sin, which the fastest sampling rate cannot afford.
constexpr int pointsTableSinus = 4096;
const double* tableSinus();

// The signal prepared for fast evaluation: every per-sample constant is computed once.
class Signal {
public:
    Signal() = default;
    explicit Signal(const ParametresSignal& p);

    // Voltage at time t (seconds).
    SIMULATEURS_EN_LIGNE double operator()(double t) const {
        switch (forme_) {
        case Forme::Constante:
            return constante(t);
        case Forme::Sinus:
            return sinus(t);
        case Forme::Carre:
            return carre(t);
        case Forme::Triangle:
            return triangle(t);
        case Forme::DentScie:
            return dentScie(t);
        case Forme::Charge:
            return charge(t);
        }
        return offset_;
    }

    // Adds signe × the voltage at the times (a0 + k) × periode to u[k], k = 0..n − 1: the
    // same values as operator(), bit for bit, with the shape chosen once for the block.
    void accumule(int64_t a0, int n, double periode, double signe, double* u) const {
        switch (forme_) {
        case Forme::Constante:
            return boucle(a0, n, periode, signe, u, &Signal::constante);
        case Forme::Sinus:
            return boucle(a0, n, periode, signe, u, &Signal::sinus);
        case Forme::Carre:
            return boucle(a0, n, periode, signe, u, &Signal::carre);
        case Forme::Triangle:
            return boucle(a0, n, periode, signe, u, &Signal::triangle);
        case Forme::DentScie:
            return boucle(a0, n, periode, signe, u, &Signal::dentScie);
        case Forme::Charge:
            return boucle(a0, n, periode, signe, u, &Signal::charge);
        }
    }

private:
    template <class F>
    SIMULATEURS_EN_LIGNE void boucle(int64_t a0, int n, double periode, double signe, double* u,
                                     F forme) const {
        for (int k = 0; k < n; ++k)
            u[k] += signe * (this->*forme)(static_cast<double>(a0 + k) * periode);
    }

    SIMULATEURS_EN_LIGNE double constante(double) const { return offset_; }
    SIMULATEURS_EN_LIGNE double sinus(double t) const {
        // sin(2π x) interpolated in the table.
        const double p = fraction(t) * pointsTableSinus;
        const int i = static_cast<int>(p);
        return offset_ + amplitude_ * (table_[i] + (p - i) * (table_[i + 1] - table_[i]));
    }
    SIMULATEURS_EN_LIGNE double carre(double t) const {
        return offset_ + (fraction(t) < 0.5 ? amplitude_ : -amplitude_);
    }
    SIMULATEURS_EN_LIGNE double triangle(double t) const {
        const double x = fraction(t);
        const double y = x < 0.25 ? 4 * x : (x < 0.75 ? 2 - 4 * x : 4 * x - 4);
        return offset_ + amplitude_ * y;
    }
    SIMULATEURS_EN_LIGNE double dentScie(double t) const {
        return offset_ + amplitude_ * fraction(t);
    }
    SIMULATEURS_EN_LIGNE double charge(double t) const {
        return offset_ + amplitude_ * (1 - std::exp(-depuisDebutPeriode(t) * inverseTau_));
    }

    // Fraction of the period at t, in [0, 1); a cast instead of std::floor, which is a
    // library call on the base x86-64 instruction set.
    SIMULATEURS_EN_LIGNE double fraction(double t) const {
        const double x = t * frequence_;
        if (!(x > -1e18 && x < 1e18))
            return 0;
        const double f = x - static_cast<double>(static_cast<int64_t>(x));
        if (f >= 0)
            return f;
        return f + 1 < 1 ? f + 1 : 0; // a tiny negative fraction plus 1 rounds to 1
    }
    double depuisDebutPeriode(double t) const {
        return frequence_ > 0 ? fraction(t) * periode_ : (t > 0 ? t : 0);
    }

    Forme forme_ = Forme::Constante;
    double amplitude_ = 0;
    double frequence_ = 0;
    double periode_ = 0;
    const double* table_ = tableSinus();
    double offset_ = 0;
    double inverseTau_ = 0; // a very large value stands for τ = 0 (an instant step)
};

} // namespace simulateurs
