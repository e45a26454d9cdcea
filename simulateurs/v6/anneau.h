#pragma once
// A fixed-capacity FIFO of bytes, optionally with one time per byte: the queues of the
// simulated link never allocate once made.
#include <array>
#include <cstddef>
#include <cstdint>

namespace v6sim {

template <std::size_t Capacite> class Anneau {
public:
    static_assert((Capacite & (Capacite - 1)) == 0, "a power of two");

    std::size_t taille() const { return fin_ - debut_; }
    bool vide() const { return fin_ == debut_; }
    bool plein() const { return taille() == Capacite; }
    // False when full (the byte is lost).
    bool ajoute(uint8_t octet, double t = 0) {
        if (plein())
            return false;
        octets_[fin_ & masque] = octet;
        temps_[fin_ & masque] = t;
        ++fin_;
        return true;
    }
    uint8_t tete() const { return octets_[debut_ & masque]; }
    double tempsTete() const { return temps_[debut_ & masque]; }
    void retire() { ++debut_; }
    // Moves at most n bytes into sortie; returns how many.
    std::size_t extrait(uint8_t* sortie, std::size_t n) {
        std::size_t k = 0;
        for (; k < n && !vide(); ++k, ++debut_)
            sortie[k] = octets_[debut_ & masque];
        return k;
    }
    void vider() { debut_ = fin_ = 0; }

private:
    static constexpr std::size_t masque = Capacite - 1;
    std::array<uint8_t, Capacite> octets_{};
    std::array<double, Capacite> temps_{};
    std::size_t debut_ = 0;
    std::size_t fin_ = 0;
};

} // namespace v6sim
