#pragma once
// Handing the measurements to OpenOffice/LibreOffice Calc. The office is reached through
// TCalc (its UNO implementation lives in the library calc_libreoffice), whose calls run on a
// worker thread so that the window stays responsive while Calc works; the decisions (new
// workbook or new sheet, the sheet's name, the cells written and their formats, the messages)
// are made here and run in the tests against a recording fake.
#include "instantaneexport.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// Values of optionTransfertOOo.
inline constexpr int OPTION_TOO_NOUVEAU_CLASSEUR = 0;
inline constexpr int OPTION_TOO_NOUVELLE_FEUILLE = 1;
inline constexpr int OPTION_TOO_DEMANDER = 3;

// Name of the sheet of a new workbook; the sheets added later are "Transfert2", ...
inline const QString nomFeuilleTransfert = QStringLiteral("Transfert");

// Colours of the header cells (0xRRGGBB, as Calc takes them) and the cell formats.
inline constexpr int COULEUR_TITRE_CALC = 9816575;   // red 149, green 201, blue 255
inline constexpr int COULEUR_ENTETE_CALC = 16774599; // red 255, green 245, blue 199
inline constexpr int ALIGNEMENT_GAUCHE_CALC = 1;
inline constexpr int ALIGNEMENT_CENTRE_CALC = 2;
// Cells per block of data written at once: one remote call per block, and the progress
// moves at each.
inline constexpr int CELLULES_PAR_BLOC_CALC = 12000;

// An error reported by the office: its text and its kind (the exception's type name).
struct TErreurCalc {
    QString texte;
    QString genre;
};

// The office as the transfer sees it. Every call but the constructor and the destructor runs
// on the transfer's worker thread; all may throw TErreurCalc. Ranges and cells are written
// as Calc names them: "$A$1:$G$1", "A5:C1005", "$D5".
class TCalc {
public:
    virtual ~TCalc() = default;
    // Reaches the office (starting it when none answers). False when no office answers
    // within a few seconds. Called again after the office was closed meanwhile.
    virtual bool connecter() = 0;
    // The workbook of the previous transfer is still open and its sheets answer.
    virtual bool classeurVivant() = 0;
    // A new workbook with a single sheet named nomFeuille; later sheets go into it.
    virtual void nouveauClasseur(const QString& nomFeuille) = 0;
    // Names of the sheets of that workbook.
    virtual QStringList nomsFeuilles() = 0;
    // Appends a sheet to that workbook and makes it the current one.
    virtual void nouvelleFeuille(const QString& nom) = 0;
    // Screen updates of the workbook held back (true) while the cells are written, or given
    // back and its window brought forward (false).
    virtual void suspendreAffichage(bool suspendre) = 0;
    // Texts into row ligne (from 1), from column A on, as cell values.
    virtual void ecrireTextes(int ligne, const QStringList& textes) = 0;
    // nbLignes × nbColonnes numbers, row after row, from column A of row ligne on; a value
    // that is not finite leaves its cell empty.
    virtual void ecrireNombres(int ligne, int nbLignes, int nbColonnes, const double* valeurs) = 0;
    virtual void fusionner(const QString& plage) = 0;
    virtual void alignement(const QString& plage, int alignement) = 0;
    virtual void couleurFond(const QString& plage, int couleur) = 0;
    virtual void gras(const QString& plage) = 0;
    // The office's standard number format (the general one of the document's language): the
    // values show as numbers with their significant digits.
    virtual void formatNombres(const QString& plage) = 0;
    // Leaves the cell cursor on that cell.
    virtual void selectionner(const QString& cellule) = 0;
};

enum class TModeCalc { NouveauClasseur, NouvelleFeuille, Demander };

// New workbook or new sheet: the first transfer of the run always opens a workbook; later
// ones follow the option, a sheet (or the question) only while the previous workbook is
// still open.
TModeCalc modeTransfertCalc(bool premiereConnexion, int option, bool classeurVivant);

// A name no sheet bears, letter case ignored: nom itself, or nom followed by "a", "b", ...,
// "z", "aa", "ab", ...
QString nomFeuilleLibre(const QString& nom, const QStringList& feuilles);

// The four header rows: title, points and duration, names, units.
QList<QStringList> lignesEnteteCalc(const TInstantaneExport& e, TSelection s, int n);

// Messages.
QString messageConnexionCalc();              // "Connexion à OpenOffice/LibreOffice..."
QString messageCalcIntrouvable();            // first connection failed
QString messageCalcIntrouvableReconnexion(); // a later connection failed
QString messageErreurCreationCalc();         // the workbook or sheet could not be made
QString messageTransfertCalcEnCours();
QString messageTransfertCalcTermine();
QString messageErreurTransfertCalc(); // an error while the cells were written

// Where the work runs: travail away from the window (it may take seconds), then suite on the
// window's thread; pendant the progress posted from travail to the window's thread.
class TExecuteurCalc {
public:
    virtual ~TExecuteurCalc() = default;
    virtual void executer(std::function<void()> travail, std::function<void()> suite) = 0;
    virtual void versFenetre(std::function<void()> f) = 0;
};

// Everything at once on the calling thread (tests).
class TExecuteurCalcImmediat : public TExecuteurCalc {
public:
    void executer(std::function<void()> travail, std::function<void()> suite) override {
        travail();
        suite();
    }
    void versFenetre(std::function<void()> f) override { f(); }
};

enum class TGenreMessageCalc { Information, Avertissement, Simple };

// The window as the transfer sees it.
class TFenetreCalc {
public:
    virtual ~TFenetreCalc() = default;
    // Window state 8, acquisition button and live values off, controls frozen, hourglass.
    virtual void debutTransfert() = 0;
    virtual void afficherMessage(const QString& texte) = 0; // EditMessageX
    virtual void progression(int pourcent) = 0;             // PBarExcel
    virtual void masquerPresence(bool masquer) = 0;         // EditPresence
    virtual void message(const QString& texte, TGenreMessageCalc genre) = 0;
    // The choice dialog: new workbook or new sheet; nothing when the user abandons.
    virtual std::optional<TModeCalc> choisirMode() = 0;
    // The transfer button off for the rest of the run.
    virtual void desactiverBouton() = 0;
    // finTransfertCalc: everything of debutTransfert given back.
    virtual void finTransfert() = 0;
};

enum class TIssueTransfertCalc {
    AucuneValeur, // nothing between the green markers: nothing done
    EnCours,      // a transfer already runs: nothing done
    Indisponible, // the office could not be reached earlier in the run
    SansConnexion,
    Abandonne, // the question abandoned
    ErreurCreation,
    Erreur,
    Transfere,
};

class TTransfertCalc {
public:
    TTransfertCalc(std::unique_ptr<TCalc> calc, TExecuteurCalc& executeur, TFenetreCalc& fenetre);
    ~TTransfertCalc();

    // The button's work: returns at once when the executor runs the work away; fini (when
    // given) receives the issue on the window's thread at the end.
    void TransfertOOCalcPP(TInstantaneExport e, int optionTransfertOOo,
                           std::function<void(TIssueTransfertCalc)> fini = {});

    bool enCours() const { return enCours_; }
    int numTransfertOOO_CC = 0;
    bool aATransfertDirectOOCalcDisponible = true;

private:
    struct TTravail;
    void apresConnexion(std::shared_ptr<TTravail> t);
    void ecrire(TTravail& t);
    void terminer(TTravail& t, TIssueTransfertCalc issue);

    std::unique_ptr<TCalc> calc;
    TExecuteurCalc& executeur;
    TFenetreCalc& fenetre;
    bool connecte = false; // a connection was made during this run
    bool enCours_ = false;
};
