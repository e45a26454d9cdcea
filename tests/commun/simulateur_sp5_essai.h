#pragma once
// The SP5 simulator library's own controls for the tests, resolved on a handle that stays
// mapped: QLibrary shares one handle per file, and a driver releasing the library must not
// unmap it under the controls. Every control is reset around each test.
#include "bibliotheque.h"

#include <QLibrary>
#include <QString>
#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>

struct ControlesSimulateurSP5 {
    void (*Reinitialiser)() = nullptr;
    void (*SetBruit)(int32_t) = nullptr;
    void (*SetAcceleration)(double) = nullptr;
    void (*SetDebranche)(int32_t) = nullptr;
    void (*SetDeclenchementAbsent)(int32_t) = nullptr;
    void (*SetPerteMots)(int32_t) = nullptr;
    void (*SetGainNul)(int32_t) = nullptr;
    void (*SetSignal)(int32_t, int32_t, double, double, double, double) = nullptr;
    double (*Tension)(int32_t, double) = nullptr;
    uint8_t(KIRVANE_STDCALL* LireRegistre)(uint8_t) = nullptr;
};

class SimulateurSP5Essai : public ::testing::Test {
protected:
    // The library at chemin, loaded, with its controls; noise off.
    void chargerSimulateur(const QString& chemin) {
        bibliotheque_.setFileName(chemin);
        bibliotheque_.setLoadHints(QLibrary::PreventUnloadHint);
        ASSERT_TRUE(bibliotheque_.load()) << bibliotheque_.errorString().toStdString();
        auto lier = [this](const char* nom, auto& cible) {
            cible = reinterpret_cast<std::remove_reference_t<decltype(cible)>>(
                bibliotheque_.resolve(nom));
            ASSERT_NE(cible, nullptr) << nom;
        };
        lier("SimSP5_Reinitialiser", sim.Reinitialiser);
        lier("SimSP5_SetBruit", sim.SetBruit);
        lier("SimSP5_SetAcceleration", sim.SetAcceleration);
        lier("SimSP5_SetDebranche", sim.SetDebranche);
        lier("SimSP5_SetDeclenchementAbsent", sim.SetDeclenchementAbsent);
        lier("SimSP5_SetPerteMots", sim.SetPerteMots);
        lier("SimSP5_SetGainNul", sim.SetGainNul);
        lier("SimSP5_SetSignal", sim.SetSignal);
        lier("SimSP5_Tension", sim.Tension);
        lier("LireRegistre", sim.LireRegistre);
        sim.Reinitialiser();
        sim.SetBruit(0);
    }
    void TearDown() override {
        if (sim.Reinitialiser != nullptr)
            sim.Reinitialiser();
        bibliotheque_.unload();
    }

    ControlesSimulateurSP5 sim;

private:
    QLibrary bibliotheque_;
};
