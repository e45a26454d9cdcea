#pragma once
// Shared pieces of the settings and direct-measurement tests: an engine stand-in that
// records the pending settings, and the SP5 simulator library with its controls.
#include "reglagesacq.h"
#include "sp5.h"

#include <QFileInfo>
#include <QLibrary>
#include <gtest/gtest.h>

#include <vector>

class TRecepteurEssai : public TRecepteurReglages {
public:
    int etatFenetre() const override { return etat; }
    bool premiereAcq() const override { return premiere; }
    void reglageEnAttente(const TReglageEnAttente& r) override { recus.push_back(r); }

    int etat = 0;
    bool premiere = true;
    std::vector<TReglageEnAttente> recus;
};

// The simulator library, built with the tests (tests/acquisition/CMakeLists.txt).
inline QString cheminSimulateurSP5() {
    return QStringLiteral(KIRVANE_SP5SIM);
}

// Opens the simulator's controls and resets them around each test.
class SimulateurSP5 : public ::testing::Test {
protected:
    struct Controles {
        void (*Reinitialiser)() = nullptr;
        void (*SetBruit)(int32_t) = nullptr;
        void (*SetDebranche)(int32_t) = nullptr;
        void (*SetSignal)(int32_t, int32_t, double, double, double, double) = nullptr;
        uint8_t(KIRVANE_STDCALL* LireRegistre)(uint8_t) = nullptr;
    };

    void SetUp() override {
        chemin = cheminSimulateurSP5();
        ASSERT_TRUE(QFileInfo::exists(chemin)) << "simulator not built: " << chemin.toStdString();
        bibliotheque_.setFileName(chemin);
        // One handle per file is shared with the driver: keep it mapped under the controls.
        bibliotheque_.setLoadHints(QLibrary::PreventUnloadHint);
        ASSERT_TRUE(bibliotheque_.load()) << bibliotheque_.errorString().toStdString();
        auto lier = [this](const char* nom, auto& cible) {
            cible = reinterpret_cast<std::remove_reference_t<decltype(cible)>>(
                bibliotheque_.resolve(nom));
            ASSERT_NE(cible, nullptr) << nom;
        };
        lier("SimSP5_Reinitialiser", sim.Reinitialiser);
        lier("SimSP5_SetBruit", sim.SetBruit);
        lier("SimSP5_SetDebranche", sim.SetDebranche);
        lier("SimSP5_SetSignal", sim.SetSignal);
        lier("LireRegistre", sim.LireRegistre);
        sim.Reinitialiser();
        sim.SetBruit(0);
    }
    void TearDown() override {
        if (sim.Reinitialiser != nullptr)
            sim.Reinitialiser();
        bibliotheque_.unload();
    }

    QString chemin;
    Controles sim;

private:
    QLibrary bibliotheque_;
};
