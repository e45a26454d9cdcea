#pragma once
// The unit manager: finds the units at start, keeps the active one, switches to another
// and polls the presence of the active unit. Headless: the window gives it a view for the
// progress lines and the loading errors, and the drivers come from a factory, so tests
// run it with fake units.
#include "centrale.h"
#include "famillescentrales.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

// One known unit (a managed kind).
struct TCentraleInsPre {
    std::unique_ptr<TCentrale> Centrale1;
    QString nom;
    QString nomPetit;
    bool installee = false;
    bool presente = false;
    int typecentrale = 0;
    QString cheminDLL;
};

using TFabriqueCentrale = std::function<TCreationCentrale(int famille, const QString& chemin)>;

// Where each family's library may be, in the order they are tried (absolute paths), by
// family number; a family without places is not installed.
using TCheminsCentrales = std::map<int, QStringList>;

class TVueCentrales {
public:
    virtual ~TVueCentrales() = default;
    // A progress line of the start-up (the title window's memo).
    virtual void ajouterLigneDemarrage(const QString& ligne) = 0;
    // A loading error of a unit library, shown to the user.
    virtual void afficherErreurChargement(const QString& texte) = 0;
    // Lets the window process its pending events (the drivers may take a moment).
    virtual void traiterMessages() = 0;
};

// What a presence poll found.
enum class TPresence { NonTestee, Connectee, Reconnectee, NonConnectee, Perdue };

class TGestionnaireCentrales {
public:
    explicit TGestionnaireCentrales(TFabriqueCentrale fabrique);
    ~TGestionnaireCentrales();

    std::vector<TCentraleInsPre> centrales;
    int nbCentralesGerees = 0;
    int nbCentralesConnectees = 0;
    std::set<int> ListeCentralesConnectees;
    std::array<QString, 8> cheminsDLLCentrales; // indexed by kind - 1
    QString cheminDLLCentrale;
    int typeCentraleActive = 0;
    std::unique_ptr<TCentrale> SP5; // the active unit, whatever its kind; null when none
    bool SP5Presente = false;

    // Probes every family of the table in its order and fills centrales, with the progress
    // lines.
    void detectionCentrales(const TCheminsCentrales& chemins, TVueCentrales& vue);

    // The unit's part of making a kind active. kind < 0: no unit. Without avecCreation the
    // object found by detection becomes SP5 and the others are released; with it the
    // object is made anew from the kept library path. Returns false when nothing changed
    // (same kind) or when the new object could not be made (then no unit is active and the
    // error, if any, was shown); a failed switch leaves no half-built object.
    bool setCentraleActive(int kind, bool avecCreation, TVueCentrales& vue);

    // The presence poll: tests the active unit only while it runs no operation. On the
    // unit coming back its calibration is read again and the unit reprogrammed.
    TPresence pollPresence();

    // "Centrale SYSAM SP5 connectée" / "non connectée" / "Initialisation de la centrale …".
    QString textePresence() const;

    // Releases every driver object (the active one with its library).
    void liberer();

private:
    TCreationCentrale creer(int famille, const QStringList& chemins, QString& cheminRetenu,
                            TVueCentrales& vue);
    void sonder(const TFamille& famille, const QStringList& chemins, TVueCentrales& vue);

    TFabriqueCentrale fabrique_;
};

// The kinds offered in the chooser: every managed kind, installed, connected or not.
std::set<int> typesProposes(const TGestionnaireCentrales& g);
