// The byte link over libftdi1, as far as it goes without a unit: no V6 on the bus means
// "not there", at once, and every call on the closed link is harmless.
#include "transport_libftdi.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

TEST(TransportLibftdi, SansUniteRienNEstOuvertEtRienNeBloque) {
    std::unique_ptr<TTransportOctets> t = creerTransportLibftdi();
    if (!libftdiDisponible()) {
        EXPECT_EQ(t, nullptr) << "built without libftdi1: no link offered";
        return;
    }
    ASSERT_NE(t, nullptr);
    std::unique_ptr<TTransportOctets> autre = creerTransportLibftdi();
    const auto debut = std::chrono::steady_clock::now();
    const bool ouvert = t->ouvrir();
    EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(2));
    if (ouvert) {
        t->fermer();
        GTEST_SKIP() << "a V6 is plugged into this machine";
    }
    EXPECT_FALSE(t->ouvert());
    EXPECT_FALSE(autre->ouvert());
    const uint8_t o[2] = {'2', 0};
    uint8_t l[4];
    EXPECT_FALSE(t->ecrire(o, 1));
    EXPECT_EQ(t->enAttente(), 0u);
    EXPECT_EQ(t->lire(l, 4), 0u);
    t->purger();
    t->fermer();
    EXPECT_FALSE(t->erreurLien()) << "absent, not an I/O error";
    EXPECT_FALSE(autre->ouvrir());
    autre.reset();
    t.reset();
    // The shared context is made again after the last holder left.
    EXPECT_FALSE(creerTransportLibftdi()->ouvrir());
}

} // namespace
