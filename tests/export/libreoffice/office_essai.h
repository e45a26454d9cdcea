#pragma once
// A LibreOffice for the tests and the benches: started without a window on a private profile
// in a temporary folder and a private pipe, in a process group of its own that is killed
// when the test ends, fails or crashes.
#include "calclibreoffice.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <signal.h>
#include <unistd.h>

namespace office_essai {

// Process group of the running office; 0 when none.
inline volatile sig_atomic_t groupe = 0;

inline void tuerGroupe() {
    if (groupe > 0) {
        ::kill(-groupe, SIGKILL);
        groupe = 0;
    }
}

// A crash still takes the office with it.
inline void signalFatal(int s) {
    tuerGroupe();
    std::signal(s, SIG_DFL);
    std::raise(s);
}

inline QString cheminSoffice() {
    const QString p = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (!p.isEmpty())
        return p;
    const QString usuel = QStringLiteral("/usr/lib/libreoffice/program/soffice");
    return QFileInfo(usuel).isExecutable() ? usuel : QString();
}

class TOfficeEssai {
public:
    // False when LibreOffice is not installed.
    bool demarrer() {
        const QString soffice = cheminSoffice();
        if (soffice.isEmpty() || !profil.isValid())
            return false;
        options.tube = QStringLiteral("kirvane_essai_%1").arg(QCoreApplication::applicationPid());
        options.profilInvisible = profil.path();
        options.lancer = false;
        options.attenteMs = 90000; // a cold start on a busy machine
        static bool gardes = false;
        if (!gardes) {
            gardes = true;
            std::atexit(tuerGroupe);
            for (int s : {SIGABRT, SIGSEGV, SIGTERM, SIGINT, SIGBUS, SIGFPE})
                std::signal(s, signalFatal);
        }
        processus.setProgram(soffice);
        processus.setArguments(argumentsSoffice(options, options.tube));
        processus.setChildProcessModifier([] { ::setsid(); });
        processus.start();
        if (!processus.waitForStarted(10000))
            return false;
        groupe = static_cast<sig_atomic_t>(processus.processId());
        return true;
    }

    // The office ends cleanly when it can, then the whole group goes.
    void arreter(const std::function<void()>& terminer) {
        if (terminer)
            terminer();
        processus.waitForFinished(10000);
        tuerGroupe();
        processus.waitForFinished(2000);
    }

    ~TOfficeEssai() { tuerGroupe(); }

    TOptionsLibreOffice options;
    QTemporaryDir profil;
    QProcess processus;
};

// Runs one transfer to its end, the window's thread turning meanwhile (bounded wait).
inline std::optional<TIssueTransfertCalc>
transfererEtAttendre(TTransfertCalc& t, TInstantaneExport e, int option, int limiteMs = 120000) {
    std::optional<TIssueTransfertCalc> issue;
    QEventLoop boucle;
    t.TransfertOOCalcPP(std::move(e), option, [&](TIssueTransfertCalc i) {
        issue = i;
        boucle.quit();
    });
    if (!issue) {
        QTimer::singleShot(limiteMs, &boucle, &QEventLoop::quit);
        boucle.exec();
    }
    return issue;
}

} // namespace office_essai
