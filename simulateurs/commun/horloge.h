#pragma once
// Simulated time: a monotonic clock that runs a chosen number of times faster than the
// real one. Changing the factor keeps the simulated time continuous.
#include <chrono>

namespace simulateurs {

class HorlogeSimulee {
public:
    static constexpr double accelerationMin = 1e-3;
    static constexpr double accelerationMax = 1e9;

    HorlogeSimulee() { reinitialiser(); }

    // Simulated seconds since the last reinitialiser().
    double maintenant() const {
        const std::chrono::duration<double> reel =
            std::chrono::steady_clock::now() - origineReelle_;
        return origineSimulee_ + reel.count() * acceleration_;
    }
    double acceleration() const { return acceleration_; }
    // Values out of accelerationMin..accelerationMax are brought into it; NaN is ignored.
    void setAcceleration(double facteur);
    // Simulated time back to 0, factor 1.
    void reinitialiser();

private:
    std::chrono::steady_clock::time_point origineReelle_;
    double origineSimulee_ = 0;
    double acceleration_ = 1;
};

} // namespace simulateurs
