#pragma once
// The V6 simulator library's own controls for the tests, resolved on a handle that stays
// mapped: QLibrary shares one handle per file, and a transport releasing the library must
// not unmap it under the controls. Every control is reset around each test.
#include "fabriquetransportv6.h"
#include "sysamv6.h"

#include <QLibrary>
#include <QString>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

struct ControlesSimulateurV6 {
    void (*Reinitialiser)() = nullptr;
    void (*SetBruit)(int32_t) = nullptr;
    void (*SetAcceleration)(double) = nullptr;
    void (*SetDebranche)(int32_t) = nullptr;
    void (*SetDeclenchementAbsent)(int32_t) = nullptr;
    void (*SetFrontExterne)(double) = nullptr;
    void (*SetPerteOctets)(int32_t) = nullptr;
    void (*SetEchoPerdu)(int32_t) = nullptr;
    void (*SetRetardEcho)(double) = nullptr;
    void (*SetDefautReponse)(int32_t, int32_t) = nullptr;
    void (*SetCalibrageInterrompu)(int32_t) = nullptr;
    void (*SetOctetsPieges)(int32_t) = nullptr;
    void (*SetSignal)(int32_t, int32_t, double, double, double, double) = nullptr;
    double (*Tension)(int32_t, double) = nullptr;
    void (*Coefficients)(int32_t, double*, double*) = nullptr;
    int32_t (*Journal)(char*, int32_t) = nullptr;
    void (*ViderJournal)() = nullptr;
    int64_t (*OctetsRecus)() = nullptr;

    // The journal of the D2XX calls that open, set, purge and close the device.
    std::string journal() const {
        const int32_t n = Journal(nullptr, 0);
        std::string texte(static_cast<std::size_t>(n) + 1, '\0');
        Journal(texte.data(), n + 1);
        texte.resize(static_cast<std::size_t>(n));
        return texte;
    }
};

class SimulateurV6Essai : public ::testing::Test {
protected:
    // The library at chemin, loaded, with its controls; noise off.
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
        lier("SimV6_SetAcceleration", sim.SetAcceleration);
        lier("SimV6_SetDebranche", sim.SetDebranche);
        lier("SimV6_SetDeclenchementAbsent", sim.SetDeclenchementAbsent);
        lier("SimV6_SetFrontExterne", sim.SetFrontExterne);
        lier("SimV6_SetPerteOctets", sim.SetPerteOctets);
        lier("SimV6_SetEchoPerdu", sim.SetEchoPerdu);
        lier("SimV6_SetRetardEcho", sim.SetRetardEcho);
        lier("SimV6_SetDefautReponse", sim.SetDefautReponse);
        lier("SimV6_SetCalibrageInterrompu", sim.SetCalibrageInterrompu);
        lier("SimV6_SetOctetsPieges", sim.SetOctetsPieges);
        lier("SimV6_SetSignal", sim.SetSignal);
        lier("SimV6_Tension", sim.Tension);
        lier("SimV6_Coefficients", sim.Coefficients);
        lier("SimV6_Journal", sim.Journal);
        lier("SimV6_ViderJournal", sim.ViderJournal);
        lier("SimV6_OctetsRecus", sim.OctetsRecus);
        sim.Reinitialiser();
        sim.SetBruit(0);
    }
    void TearDown() override {
        if (sim.Reinitialiser != nullptr)
            sim.Reinitialiser();
        bibliotheque_.unload();
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
