#pragma once
// The plain text table (".txt", columns of 15 characters) and the semicolon-separated table
// (".csv"): time and every series between the green cursors, "." in every number (the CSV
// table may take "," instead, as the snapshot says).
#include "instantaneexport.h"

#include <QByteArray>
#include <optional>

// Title, acquisition line, header and rows; nothing when no sample lies between the cursors.
std::optional<QByteArray> fichierTXT(const TInstantaneExport& e);
// Header and rows, numbers with the snapshot's separateurCSV; nothing when no sample lies
// between the cursors.
std::optional<QByteArray> fichierCSV(const TInstantaneExport& e);

// Time of row i (first row i0) in both tables: from the left green cursor, exactly 0 within
// half a sample of it, rounded to 6 significant digits.
float tempsTableau(const TInstantaneExport& e, int64_t i0, int64_t i);
