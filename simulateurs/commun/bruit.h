#pragma once
// Seeded noise that depends only on a counter: the noise of any sample can be computed
// again at any time (the pretrigger samples are recomputed, never stored), and two runs
// with the same seed are identical.
#include <cstdint>

namespace simulateurs {

// A well-mixed 64-bit value of x (the splitmix64 finaliser).
inline uint64_t melange(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A whole number of converter steps in −pas..+pas drawn from the low half of h
// (pas ≥ 0; 0 gives 0).
inline int32_t pasDeBruit(uint64_t h, int32_t pas) {
    const uint64_t etendue = 2 * static_cast<uint64_t>(pas) + 1;
    return static_cast<int32_t>(((h & 0xFFFFFFFFull) * etendue) >> 32) - pas;
}

} // namespace simulateurs
