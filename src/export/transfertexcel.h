#pragma once
// Handing the measurements to Excel. A running Excel (or a new one) is driven through the
// few calls of its object model that the transfer needs: the values travel through the
// clipboard as tab-separated text, in chunks of about 500 numbers, then the header cells are
// formatted. Where no Excel answers, the same sheet is written as an .xlsx workbook in the
// documents folder and opened with the spreadsheet program of the system. Excel, the
// clipboard and the window come through interfaces, so that the whole sequence runs in the
// tests without a screen or an Excel.
#include "couleurs.h"
#include "instantaneexport.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <stdexcept>

class TClasseursExcel;

// Values of optionTransfertEXCEL.
inline constexpr int OPTION_TE_NOUVEAU_CLASSEUR = 0;
inline constexpr int OPTION_TE_NOUVELLE_FEUILLE = 1;
inline constexpr int OPTION_TE_DEMANDER = 3;

enum class TModeExcel { NouveauClasseur, NouvelleFeuille };

// Colours of the header cells (red in the low byte): light blue behind the two title lines,
// light yellow behind the names and units.
inline constexpr TColor COULEUR_TITRE_EXCEL = 50317717;   // (149, 201, 255)
inline constexpr TColor COULEUR_EN_TETE_EXCEL = 46659071; // (255, 245, 199)
// Excel's constants: centred text, minimised and normal window.
inline constexpr int EXCEL_CENTRE = 3;
inline constexpr int EXCEL_REDUIT = -4140;
inline constexpr int EXCEL_NORMAL = -4143;
// Wait before each paste, in milliseconds.
inline constexpr int ATTENTE_COLLAGE_MS = 10;

// An error raised by Excel during a call (it was closed meanwhile, a dialog of its own
// is open...); the text is Excel's description.
class TErreurExcel : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One Excel application driven by automation. Every call may throw TErreurExcel. The
// ranges and cells are written as Excel reads them («A1», «A3:C4», «$A$3:$C$4»).
class TExcel {
public:
    virtual ~TExcel() = default;
    virtual void setVisible(bool visible) = 0;
    virtual void setSheetsInNewWorkbook(int nombre) = 0;
    // Workbooks.Add; the sheet worked on becomes the application's ActiveSheet.
    virtual void ajouterClasseur() = 0;
    // ActiveWorkbook.Worksheets.Add; the sheet worked on becomes the new one.
    virtual void ajouterFeuille() = 0;
    // Range(cellule).Select on the sheet worked on.
    virtual void selectionner(const QString& cellule) = 0;
    // The sheet's Paste: the clipboard at the selected cell.
    virtual void coller() = 0;
    // Range(plage).Merge(false).
    virtual void fusionner(const QString& plage) = 0;
    // Range(plage).Interior.Color.
    virtual void couleurFond(const QString& plage, TColor couleur) = 0;
    // Range(plage).Font.Bold := true.
    virtual void gras(const QString& plage) = 0;
    // Range(plage).HorizontalAlignment.
    virtual void alignementHorizontal(const QString& plage, int alignement) = 0;
    // Range(cellule).Characters(debut, longueur): Font.Subscript := true, then Font.Bold :=
    // true.
    virtual void indicesGras(const QString& cellule, int debut, int longueur) = 0;
    // The application's WindowState.
    virtual void setWindowState(int etat) = 0;
};

// What the transfer needs from the system.
class TSystemeExcel {
public:
    virtual ~TSystemeExcel() = default;
    // The running Excel ("Excel.Application" active object); nothing when none runs.
    virtual std::unique_ptr<TExcel> excelActif() = 0;
    // A new Excel ("Excel.Application" new object); nothing when none can be started.
    virtual std::unique_ptr<TExcel> nouvelExcel() = 0;
    // Plain text on the clipboard.
    virtual void pressePapiers(const QString& texte) = 0;
    // A short bounded wait, the window's events processed meanwhile (user input waits).
    virtual void attendre(int millisecondes) = 0;
};

// A system without Excel (every system but Windows): the workbook is written instead.
class TSystemeSansExcel : public TSystemeExcel {
public:
    std::unique_ptr<TExcel> excelActif() override { return nullptr; }
    std::unique_ptr<TExcel> nouvelExcel() override { return nullptr; }
    void pressePapiers(const QString&) override {}
    void attendre(int) override {}
};

// The window as the transfer sees it.
class TVueTransfertExcel {
public:
    virtual ~TVueTransfertExcel() = default;
    // Start: BAcquisition disabled, the live values stopped, the window state remembered and
    // set to 7 (closing is refused), the acquisition controls disabled.
    virtual void debutTransfert() = 0;
    // End: BAcquisition enabled, the live values resumed, the window state restored, the
    // controls enabled again.
    virtual void finTransfert() = 0;
    // EditMessageX, shown at once.
    virtual void message(const QString& texte) = 0;
    // PBarExcel, 0 to 100.
    virtual void progression(int pourcent) = 0;
    // EditPresence shown or hidden (the progress bar takes its place).
    virtual void presenceVisible(bool visible) = 0;
    virtual void sablier(bool actif) = 0;
    // The choice dialog: new workbook or new sheet; nothing when the user abandons.
    virtual std::optional<TModeExcel> choisirMode() = 0;
    // The main window repainted (after the choice dialog).
    virtual void redessiner() = 0;
    // The focus back to the main window.
    virtual void reprendreFocus() = 0;
    virtual void informer(const QString& texte) = 0;
    virtual void avertir(const QString& texte) = 0;
};

enum class TIssueExcel {
    AucuneValeur,  // nothing between the green markers: nothing done
    Transfere,     // the sheet filled in Excel
    Abandonne,     // the choice dialog abandoned
    ErreurExcel,   // Excel raised an error: the transfer stopped there
    Classeur,      // no Excel: the workbook written (and opened when possible)
    EchecClasseur, // no Excel: the workbook could not be written
    ExcelAbsent,   // no Excel and no workbook writer: the "not found" warning
};

// Curves of the sheet: n = min(number of series, 500).
int nbCourbesExcel(const TInstantaneExport& e);
// Rows per chunk: about 500 numbers, max(500 div (number of series + 1) + 1, 1).
int64_t lignesParCollage(int nbSeries);
// The rows of the sheet: the first n series, within the committed samples.
std::optional<TSelection> selectionExcel(const TInstantaneExport& e);
// The four header lines, cell by cell: the acquisition, the points and curves, the names
// («t», «u0_M»...), the units («s», «V»...).
std::vector<QStringList> lignesEnTeteExcel(const TInstantaneExport& e, TSelection s);
// Time of row i as the sheet shows it.
float tempsExcel(const TInstantaneExport& e, TSelection s, int64_t i);

// Texts.
QString messageConnexionExcel();   // "Connexion à Excel..."
QString messageTransfertExcel();   // "Transfert vers Excel en cours..."
QString messageExcelTermine();     // "Transfert vers EXCEL terminé "
QString messageExcelAnnule();      // the choice dialog abandoned
QString messageExcelInterrompu();  // an error stopped the transfer
QString messageExcelIntrouvable(); // no Excel and nothing to write a workbook
QString messageErreurExcel(const QString& description);

class TTransfertExcel {
public:
    // classeurs: the workbook writer for systems without Excel; nothing: the "not found"
    // warning there.
    TTransfertExcel(TSystemeExcel& systeme, TVueTransfertExcel& vue,
                    TClasseursExcel* classeurs = nullptr);

    // The button's work. e: the measurements as on screen; option: optionTransfertEXCEL;
    // sdateAcqX and dossierDocuments name the workbook written where Excel is missing.
    TIssueExcel TransfertExcelPP(const TInstantaneExport& e, int option, const QString& sdateAcqX,
                                 const QString& dossierDocuments);

private:
    std::optional<TModeExcel> modeSelonOption(int option);
    void remplirFeuille(TExcel& excel, const TInstantaneExport& e, TSelection s);
    void mettreEnForme(TExcel& excel, int n);
    TIssueExcel transfertClasseur(const TInstantaneExport& e, TSelection s, int option,
                                  const QString& sdateAcqX, const QString& dossierDocuments);
    // The window back as before the transfer (the hourglass off when it is still on).
    void finSansExcel(bool sablierActif = true);

    TSystemeExcel& systeme;
    TVueTransfertExcel& vue;
    TClasseursExcel* classeurs;
    // The chunk being collected: reused from one chunk to the next.
    QString donneesPPEXCEL;
};
