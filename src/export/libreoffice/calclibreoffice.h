#pragma once
// The office of the Calc transfer: LibreOffice (or OpenOffice) reached through its C++ UNO
// interface over a named pipe, started when no office answers on it. Built without the
// LibreOffice SDK, the office never answers and the transfer says so.
#include "transfertcalc.h"

#include <QString>
#include <memory>

struct TOptionsLibreOffice {
    // The office's program; empty: "soffice" on the path, or its usual place.
    QString soffice;
    // Name of the pipe the office accepts connections on; empty: one per user.
    QString tube;
    // Start the office when none answers on the pipe (false: wait for one started by
    // someone else, as the tests do).
    bool lancer = true;
    // A started office runs without a window, on this profile folder (tests and benches);
    // empty: the user's own office, visible, on the user's profile.
    QString profilInvisible;
    // Longest wait for a started office to answer.
    int attenteMs = 30000;
};

std::unique_ptr<TCalc> calcLibreOffice(const TOptionsLibreOffice& options = {});
// True when the program was built with the LibreOffice SDK.
bool calcLibreOfficeDisponible();
// The arguments of a started office.
QStringList argumentsSoffice(const TOptionsLibreOffice& options, const QString& tube);
// The pipe of this user when none is given.
QString tubeParDefaut();
