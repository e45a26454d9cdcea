#pragma once
// The Excel sheet as an .xlsx workbook, for the computers without Excel: the same header
// lines, the numbers as numbers, the same merges, colours, bold text and subscripts, the
// columns sized to their contents. The workbook is written into the documents folder under
// the transfer naming («Acquisition Kirvane<date>-<n>.xlsx») and opened with the
// spreadsheet program of the system.
#include "instantaneexport.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

// One sheet: the measurements and the rows it shows.
struct TFeuilleClasseur {
    TInstantaneExport e;
    TSelection s;
};

// The library that writes workbooks is part of this build.
bool classeurExcelDisponible();

// Writes the sheets (named «Feuil1», «Feuil2»...; the last one active) into chemin, through
// a temporary file so that a failure leaves a previous workbook as it was. Nothing on
// success, else the French message.
std::optional<QString> ecrireClasseurExcel(const QString& chemin,
                                           const std::vector<TFeuilleClasseur>& feuilles);

// «<documents>/Acquisition Kirvane09 déc. 26 - 10h 15mn0s-1.xlsx».
QString nomClasseurTransfert(const QString& dossierDocuments, const QString& sdateAcqX, int numero);

// A workbook is open in a spreadsheet program: the lock file that LibreOffice
// («.~lock.<name>#») or Excel («~$<name>») leaves beside it exists.
bool classeurOuvertAilleurs(const QString& chemin);

// The workbooks of the transfers of one run. A new sheet goes into the last workbook only
// while it is as the program wrote it and no program has it open; otherwise a new workbook
// is written.
class TClasseursExcel {
public:
    // Opens a document with the program the system associates with it; false on failure.
    using TOuvreur = std::function<bool(const QString& chemin)>;
    explicit TClasseursExcel(TOuvreur ouvreur) : ouvreur(std::move(ouvreur)) {}

    // The last workbook can take a new sheet.
    bool feuillePossible() const;
    // Writes the sheet: into the last workbook (nouvelleFeuille, when possible), else into
    // a new workbook under the first free number. Nothing on success, else the message.
    std::optional<QString> ecrire(const TInstantaneExport& e, TSelection s, bool nouvelleFeuille,
                                  const QString& dossierDocuments, const QString& sdateAcqX);
    // Opens the last workbook written.
    bool ouvrir() const { return ouvreur && ouvreur(chemin); }

    QString chemin; // the last workbook written
    QString date;   // its modification time right after the writing
    int numClasseur = 0;
    std::vector<TFeuilleClasseur> feuilles; // its sheets

private:
    TOuvreur ouvreur;
};

// The message when the workbook was written but could not be opened.
QString messageClasseurNonOuvert(const QString& chemin);
