#pragma once
// Shared pieces of the settings and direct-measurement tests: an engine stand-in that
// records the pending settings, and the SP5 simulator library with its controls.
#include "formats.h"
#include "reglagesacq.h"
#include "simulateur_sp5_essai.h"
#include "sp5.h"

#include <QFileInfo>
#include <QLibrary>
#include <gtest/gtest.h>

#include <vector>

class TRecepteurEssai : public TRecepteurReglages {
public:
    TModeGeneral etatFenetre() const override { return etat; }
    bool premiereAcq() const override { return premiere; }
    void reglageEnAttente(const TReglageEnAttente& r) override { recus.push_back(r); }

    TModeGeneral etat = MODE_VIERGE;
    bool premiere = true;
    std::vector<TReglageEnAttente> recus;
};

// The simulator library, built with the tests (tests/acquisition/CMakeLists.txt).
inline QString cheminSimulateurSP5() {
    return QStringLiteral(KIRVANE_SP5SIM);
}

// Opens the simulator's controls and resets them around each test.
class SimulateurSP5 : public SimulateurSP5Essai {
protected:
    void SetUp() override {
        chemin = cheminSimulateurSP5();
        ASSERT_TRUE(QFileInfo::exists(chemin)) << "simulator not built: " << chemin.toStdString();
        chargerSimulateur(chemin);
    }

    QString chemin;
};

// The rules on an SP5 object without its library (the driver computes, nothing is sent),
// with "," as decimal separator, from the default settings.
class ReglagesSansBibliotheque : public ::testing::Test {
protected:
    void SetUp() override {
        separateur_ = separateurDecimal();
        setSeparateurDecimal(u',');
        r.setCentrale(&u);
        r.reglagesDefautMI();
    }
    void TearDown() override { setSeparateurDecimal(separateur_); }

    TSP5 u{QString(), 1};
    TRecepteurEssai recepteur;
    TReglagesAcq r{recepteur};

private:
    QChar separateur_;
};
