#pragma once
// Shared pieces of the settings and direct-measurement tests: an engine stand-in that
// records the pending settings, and the SP5 simulator library with its controls.
#include "reglagesacq.h"
#include "simulateur_sp5_essai.h"
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
class SimulateurSP5 : public SimulateurSP5Essai {
protected:
    void SetUp() override {
        chemin = cheminSimulateurSP5();
        ASSERT_TRUE(QFileInfo::exists(chemin)) << "simulator not built: " << chemin.toStdString();
        chargerSimulateur(chemin);
    }

    QString chemin;
};
