#pragma once
// Handing the measurements to Regressi: a Regressi file written into the documents folder
// (or a page appended to the previous one while Regressi still shows it), then Regressi
// started with it. Everything outside the program (clock, folders, running processes,
// launching, Regressi's registry values, the user's answers) comes through two interfaces,
// so that the whole sequence runs in the tests without a screen or a Regressi.
#include "instantaneexport.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// Base name of the transfer files.
inline const QString nfRegBase = QStringLiteral("Acquisition Kirvane");
// File name of Regressi's executable, compared without case.
inline const QString NOM_EXECUTABLE_REGRESSI = QStringLiteral("REGRESSI.EXE");

enum class TModeTransfert { NouveauFichier, NouvellePage, Demander };

// Values of optionTransfertREGRESSI.
inline constexpr int OPTION_TR_NOUVEAU_FICHIER = 0;
inline constexpr int OPTION_TR_NOUVELLE_PAGE = 1;
inline constexpr int OPTION_TR_DEMANDER = 3;

// New file, new page or the question. A page is only ever added to the file of the previous
// transfer while Regressi runs, the curves bear the same names and that file is still as
// the program wrote it (not deleted, not saved by Regressi meanwhile).
TModeTransfert modeTransfertRegressi(bool regressiEnCours, bool memesGrandeurs, int option,
                                     bool fichierInchange);

// «<documents>/Acquisition Kirvane09 déc. 26 - 10h 15mn0s-1.rw3».
QString nomFichierTransfert(const QString& dossierDocuments, const QString& sdateAcqX,
                            int numFichierTR);

// Modification time of a file as the program notes it (UTC, ISO 8601 with milliseconds:
// independent of the regional settings and of daylight saving time); empty when the file
// does not exist.
QString dateModificationFichier(const QString& chemin);

// True when the file-name part of the path is "REGRESSI.EXE", without case.
bool estExecutableRegressi(const QString& chemin);

// Regressi at its standard place in one of the given program folders ("<folder>/Evariste/
// Regressi/regressi.exe", the file name without case); empty when there is none.
QString cheminOfficielRegressi(const QStringList& dossiersProgrammes);
// The program folders where Regressi is installed by default: "Program Files" on Windows,
// those of the Wine prefix elsewhere ($WINEPREFIX, or ~/.wine).
QStringList dossiersProgrammesRegressi();

// Messages.
QString messageAucuneValeurTransfert();
QString messageRegressiIntrouvable();
// Title and filter of the dialog that looks for Regressi.
QString titreRechercheRegressi();
QString filtreRechercheRegressi();

// A program to start: never through a shell, each argument passed as it is.
struct TCommandeLancement {
    QString programme;
    QStringList arguments;
    QString dossier; // working folder
    bool operator==(const TCommandeLancement&) const = default;
};

// Regressi started with the transfer file. On Windows the executable itself with the file's
// native path; under Wine, "wine" with the executable and the file's Windows path.
TCommandeLancement commandeRegressi(const QString& executable, const QString& fichier,
                                    const QString& dossierDocuments, bool sousWine,
                                    const QString& cheminWindowsFichier = QString());
// The Windows path of a Unix path under Wine's default mapping of "/" to drive Z:.
QString cheminWindowsParDefaut(const QString& chemin);

// Regressi's own values under the current user's key "Software\Regressi".
class TRegistreRegressi {
public:
    virtual ~TRegistreRegressi() = default;
    // The text value nom of the sub-key cle («Sauvegarde»); nothing when the key or the
    // value is absent.
    virtual std::optional<QString> lireTexte(const QString& cle, const QString& nom) const = 0;
    // Only called on a key that exists.
    virtual void ecrireTexte(const QString& cle, const QString& nom, const QString& valeur) = 0;
};

// The system as the transfer sees it.
class TServicesRegressi {
public:
    virtual ~TServicesRegressi() = default;
    virtual QDateTime maintenant() = 0;
    virtual QString dossierDocuments() = 0;
    // A process whose executable is REGRESSI.EXE runs.
    virtual bool regressiEnCours() = 0;
    // Starts the program detached; false when it could not be started.
    virtual bool lancer(const TCommandeLancement& commande) = 0;
    // The Windows path of a file for a program run under Wine.
    virtual QString cheminWindows(const QString& chemin) = 0;
    virtual TRegistreRegressi& registre() = 0;
    // Regressi at its standard place; empty when it is not there.
    virtual QString cheminOfficielRegressi() = 0;
};

// The user as the transfer sees them.
class TDialoguesRegressi {
public:
    virtual ~TDialoguesRegressi() = default;
    // The choice dialog: new file or new page; nothing when the user abandons.
    virtual std::optional<TModeTransfert> choisirMode() = 0;
    // The open dialog looking for Regressi; empty when the user cancels.
    virtual QString chercherRegressi() = 0;
    virtual void informer(const QString& texte) = 0;
    // The hourglass cursor on (true) or off (false).
    virtual void sablier(bool actif) = 0;
    // Lets the window process its pending events.
    virtual void traiterMessages() = 0;
    // A transfer file just written, to delete at exit if the user leaves it unchanged.
    virtual void noterASupprimer(const QString& chemin) = 0;
};

// The stored settings the transfer reads and may change.
struct TOptionsRegressi {
    bool versionRegressiDefaut = true;
    QString cheminREGRESSINonDefautX;
    int optionTransfertREGRESSI = OPTION_TR_NOUVEAU_FICHIER;
};

enum class TIssueTransfert {
    AucuneValeur,   // nothing between the green markers: nothing written
    Abandonne,      // the question or the search for Regressi abandoned
    EchecEcriture,  // the file could not be written: Regressi not started
    Lance,          // Regressi started with the file
    RegressiAbsent, // Regressi could not be started: the transfer button goes off
};

class TTransfertRegressi {
public:
    TTransfertRegressi(TServicesRegressi& services, TDialoguesRegressi& dialogues,
                       bool sousWine = SOUS_WINE_PAR_DEFAUT);

    // At start-up: where Regressi is.
    void localiser(TOptionsRegressi& options);
    // The Regressi choice of the preferences applied: the executable to launch changes at once.
    void appliquerPreferences(TOptionsRegressi& options);

    // The button's work. e: the measurements as on screen; sdateAcqX: the acquisition's date
    // text for the file name.
    TIssueTransfert TransfertRegressiFichier(TInstantaneExport e, const QString& sdateAcqX,
                                             TOptionsRegressi& options);

    QString cheminOfficielREGRESSI;
    QString cheminRegressiUt;
    bool premiereTentativeREG = true;
    bool PremierLancementREG = false;
    // Names of the curves of the file nfRegAC.
    QString EnteteGrandeursREG;
    int numFichierTR = 0;
    QString nfRegAC;
    QString dateRegAC;

#ifdef Q_OS_WIN
    static constexpr bool SOUS_WINE_PAR_DEFAUT = false;
#else
    static constexpr bool SOUS_WINE_PAR_DEFAUT = true;
#endif

private:
    bool fichierInchange() const;
    void reglerRegistre();
    bool nouveauFichierTransfert(const TInstantaneExport& e, const QString& sdateAcqX);
    bool nouvellePage(const TInstantaneExport& e);
    bool demarrer(const QString& executable);
    TIssueTransfert lancerRegressi(TOptionsRegressi& options);
    TIssueTransfert regressiIntrouvable(TOptionsRegressi& options);

    TServicesRegressi& services;
    TDialoguesRegressi& dialogues;
    bool sousWine;
};

// The real system: clock, documents folder, /proc or the process snapshot, QProcess,
// winepath, and Regressi's key of the registry (none outside Windows).
class TServicesRegressiSysteme : public TServicesRegressi {
public:
    TServicesRegressiSysteme();
    ~TServicesRegressiSysteme() override;
    QDateTime maintenant() override;
    QString dossierDocuments() override;
    bool regressiEnCours() override;
    bool lancer(const TCommandeLancement& commande) override;
    QString cheminWindows(const QString& chemin) override;
    TRegistreRegressi& registre() override;
    QString cheminOfficielRegressi() override;

private:
    std::unique_ptr<TRegistreRegressi> registre_;
};
