#pragma once
// The unit families the program knows, one row each: its names, its kinds, its driver, the
// places of its library (the maker's and our simulator's) and its simulator. Detection, the
// chooser, switching, the command-line tool and the tests all read this table: a new unit
// is one row here and one driver in src/interfaces/.
#include "centrale.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// The families, in detection order; the number is also the real unit's kind.
enum TFamilleCentrale : int { FAMILLE_SP5 = 1, FAMILLE_V6 = 2, FAMILLE_CAMPUS = 3 };

// A driver object made on a library path, or why it could not be: an object whose
// CentraleInstallee is false means "not installed"; erreur holds a loading error to show
// (a library that lacks a function).
struct TCreationCentrale {
    std::unique_ptr<TCentrale> centrale;
    QString erreur;
};

// The folders where the libraries are looked for.
struct TDossiersCentrales {
    QString programme; // folder of the executable
    QString windows;   // the Windows folder; empty elsewhere
    // The program's private library folder, relative to programme (where an installation
    // puts the simulators); empty when they lie beside the executable only.
    QString bibliothequesRelatif;
};

// The simulator of a family: a library with the unit library's functions, plus controls
// named prefixeControles + "Reinitialiser", "SetBruit", "SetDebranche" (int32_t) and
// "Tension" (double(int32_t input, double seconds)) that the tests drive.
struct TSimulateurCentrale {
    int typeCentrale = 0;          // the kind it makes ("SIMULATION …" in its name)
    const char* option = "";       // its name for kirvane-cli --centrale
    const char* fichierLinux = ""; // file name of the library
    const char* fichierWindows = "";
    const char* prefixeControles = "";
    QString fichier() const; // file name on this platform
};

struct TFamille {
    int famille = 0;
    int typeCentrale = 0;    // the real unit's kind
    const char* option = ""; // its name for kirvane-cli --centrale
    // In the detection lines: "Détection " + nom + "...", "Centrale " + nom + " installée ",
    // then "Centrale " + nomConnexion + " connectée ".
    const char* nom = "";
    const char* nomConnexion = "";
    // The maker's library places, absolute, in the order they are tried; none when the
    // family's prerequisites are missing (then the family is "non installée").
    QStringList (*placesConstructeur)(const TDossiersCentrales& d) = nullptr;
    // The driver on one library path; nullptr while the family has no driver.
    TCreationCentrale (*creer)(const QString& chemin) = nullptr;
    // What the family's kind needs on activation beyond the common steps.
    void (*activer)(TCentrale& c) = nullptr;
    bool avecSimulateur = false;
    TSimulateurCentrale simulateur;

    // Every place of its library: the maker's, then the simulator's (beside the executable,
    // then in the private library folder).
    QStringList places(const TDossiersCentrales& d) const;
    bool possedeType(int type) const {
        return type == typeCentrale || (avecSimulateur && type == simulateur.typeCentrale);
    }
};

// The table, in detection order.
const std::vector<TFamille>& famillesCentrales();
// The row of a family or of one of its kinds; nullptr when unknown.
const TFamille* familleParNumero(int famille);
const TFamille* familleDuType(int typeCentrale);
// True when the kind is a family's simulator.
bool estTypeSimule(int typeCentrale);
// The kind named by a --centrale value (letters compared without case); 0 when unknown.
int typeParOption(const QString& option);
// The --centrale names, in table order: "sp5, simulation-sp5, v6 …".
QStringList optionsCentrales();
