// System services the program needs: special folders, version of an executable, list of
// installed programs, test whether a program runs. One implementation per platform
// (systeme_linux.cpp, systeme_windows.cpp); what both share is in systeme.cpp.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The special folders the program uses.
enum class TDossierSpecial {
    BUREAU,              // the user's desktop
    DONNEES_COMMUNES,    // application data shared by the users of the machine
    DONNEES_UTILISATEUR, // application data of the current user
    WINDOWS,             // the Windows folder (none on Linux)
    SYSTEME,             // the system folder, "system32" (none on Linux)
    PROGRAMMES,          // "Program Files" (none on Linux)
    TEMPORAIRE,          // the folder for temporary files
    DOCUMENTS            // the user's documents, or the desktop when there is none
};

// Path of a special folder with "/" separators and no trailing separator; empty when the
// platform has no such folder or it cannot be found. The data folders may not exist yet:
// the caller creates its own folder inside them with any missing parents.
QString cheminDossierSpecial(TDossierSpecial dossier);

// Version of the program: four numbers joined by ".", such as "1.2.0.7".
QString versionProgramme();

// File version of an executable as four decimal numbers joined by "."; empty when the file
// carries no version information. ELF files have none: on Linux only the program's own
// executable answers, with versionProgramme().
QString versionFichier(const QString& chemin);

// One installed program.
struct TDonneesApplication {
    QString Nom;      // display name upper-cased, or "Nom inconnu"
    QString Location; // install folder upper-cased, or "Chemin inconnu"
};
using TTabApplications = std::vector<TDonneesApplication>;

// The installed programs, filled at start-up.
extern TTabApplications applicationsInstallees;

// Fills applicationsInstallees: the uninstall keys of both registry views on Windows, the
// desktop entries of the XDG application folders elsewhere.
void lireApplicationsInstallees();

// Fills applicationsInstallees from the desktop entries (*.desktop, sub-folders included) of
// the given folders, in their order.
void lireApplicationsInstallees(const QStringList& dossiersApplications);

// Reads one desktop entry: Name (untranslated) and Path or the folder of an absolute Exec.
TDonneesApplication lireEntreeBureau(const QString& cheminFichier);

// True when the upper-cased name occurs in the Nom of an installed program.
bool estInstallee(const QString& nom);

// True when a running process has that executable file name (letters a-z compared without
// case). On Linux the executable, the command name and every argument of the command line
// count, so that a Windows program run through Wine is found.
bool programmeEnCours(const QString& nomExecutable);
#ifndef Q_OS_WIN
// The same on a process tree laid out as /proc.
bool programmeEnCours(const QString& nomExecutable, const QString& racineProcessus);
#endif

// True when the file-name part of a path (after the last "/" or "\") is the given name,
// letters a-z compared without case.
bool memeNomExecutable(const QString& chemin, const QString& nomExecutable);
