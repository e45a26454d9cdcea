#pragma once
// The Regressi data file (".rw3"): the variables t and the first six series, their
// descriptions, the graph settings Regressi reads, and the values between the green cursors.
#include "instantaneexport.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Removes every "[", "]", "{" and "}": «u[1_5]b» becomes «u1_5b».
QString corrigeEnteteReg(const QString& nom);

// Duration of the selection in the memo and the spreadsheets' header: engineering notation
// («4,000 ms») outside 0.1..1000 s, the general format («2,5 s») within.
QString texteDuree(double d, QChar separateur);

// The whole file; nothing when no sample lies between the green cursors.
std::optional<QByteArray> fichierRegressi(const TInstantaneExport& e);

// One further page (comment written now, values, options), appended to an earlier file by
// the transfer to Regressi; nothing when no sample lies between the green cursors.
std::optional<QByteArray> pageRegressi(const TInstantaneExport& e);

// The exponent form with 2 significant digits and at least 2 exponent digits, "." as
// separator: 0.001 gives «1.0E-03».
QString texteExposant2(double valeur);
// The general form with 3 significant digits, "." as separator: fixed notation while the
// integer part has at most 3 digits and the value is not below 1E-05 («0.000488»).
QString texteGeneral3(double valeur);
