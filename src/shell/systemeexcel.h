#pragma once
// The system of the Excel transfer: on Windows, Excel driven through ActiveQt and the
// clipboard; elsewhere no Excel (the transfer writes the .xlsx workbook instead).
#include "classeurexcel.h"
#include "transfertexcel.h"

#include <QString>
#include <memory>

std::unique_ptr<TSystemeExcel> systemeExcelStandard();

// Opens a document with the program the system associates with it; false on failure.
bool ouvrirDocumentSysteme(const QString& chemin);
