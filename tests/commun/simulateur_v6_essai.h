#pragma once
// The V6 simulator library's controls for the tests, on a handle that stays mapped, and
// the driver on the D2XX link to that library. Every control is reset around each test.
#include "fabriquetransportv6.h"
#include "sysamv6.h"

#include <QLibrary>
#include <QString>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <type_traits>

struct ControlesSimulateurV6 {
    void (*Reinitialiser)() = nullptr;
    void (*SetBruit)(int32_t) = nullptr;
    void (*SetDebranche)(int32_t) = nullptr;
    double (*Tension)(int32_t, double) = nullptr;
};

class SimulateurV6Essai : public ::testing::Test {
protected:
    void chargerSimulateur(const QString& chemin) {
        chemin_ = chemin;
        bibliotheque_.setFileName(chemin);
        bibliotheque_.setLoadHints(QLibrary::PreventUnloadHint);
        ASSERT_TRUE(bibliotheque_.load()) << bibliotheque_.errorString().toStdString();
        auto lier = [this](const char* nom, auto& cible) {
            cible = reinterpret_cast<std::remove_reference_t<decltype(cible)>>(
                bibliotheque_.resolve(nom));
            ASSERT_NE(cible, nullptr) << nom;
        };
        lier("SimV6_Reinitialiser", sim.Reinitialiser);
        lier("SimV6_SetBruit", sim.SetBruit);
        lier("SimV6_SetDebranche", sim.SetDebranche);
        lier("SimV6_Tension", sim.Tension);
        sim.Reinitialiser();
        sim.SetBruit(0);
    }
    void TearDown() override {
        if (sim.Reinitialiser != nullptr)
            sim.Reinitialiser();
    }
    // The driver on the simulator, as detection makes it.
    std::unique_ptr<TSYSAMV6> creerUnite() {
        TCreationTransportV6 t = creerTransportV6(chemin_);
        EXPECT_TRUE(t.erreur.isEmpty()) << t.erreur.toStdString();
        auto u = std::make_unique<TSYSAMV6>(std::move(t.transport), 1, CENTRALE_SIMULATION_V6);
        u->acquisitionUtilisateur = true;
        return u;
    }

    ControlesSimulateurV6 sim;

private:
    QLibrary bibliotheque_;
    QString chemin_;
};
