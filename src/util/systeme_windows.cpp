// System helpers on Windows: shell folders, version resources, uninstall keys of the
// registry and the process snapshot.
#include "systeme.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <string>
#include <vector>

#include <windows.h>

#include <shlobj.h>
#include <tlhelp32.h>

#ifdef _MSC_VER
#pragma comment(lib, "version.lib")
#pragma comment(lib, "shell32.lib")
#endif

namespace {

QString dossierShell(int csidl) {
    wchar_t chemin[MAX_PATH];
    if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, chemin) != S_OK)
        return {};
    return QDir::cleanPath(QDir::fromNativeSeparators(QString::fromWCharArray(chemin)));
}

} // namespace

QString cheminDossierSpecial(TDossierSpecial dossier) {
    switch (dossier) {
    case TDossierSpecial::BUREAU: {
        const QString chemin = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        return chemin.isEmpty() ? QString() : QDir::cleanPath(chemin);
    }
    case TDossierSpecial::DONNEES_COMMUNES:
        return dossierShell(CSIDL_COMMON_APPDATA);
    case TDossierSpecial::DONNEES_UTILISATEUR:
        return dossierShell(CSIDL_APPDATA);
    case TDossierSpecial::WINDOWS:
        return dossierShell(CSIDL_WINDOWS);
    case TDossierSpecial::SYSTEME:
        return dossierShell(CSIDL_SYSTEM);
    case TDossierSpecial::PROGRAMMES:
        return dossierShell(CSIDL_PROGRAM_FILES);
    case TDossierSpecial::DOCUMENTS: {
        // "Personal", or the desktop when the user has none.
        const QString documents = dossierShell(CSIDL_PERSONAL);
        return documents.isEmpty() ? cheminDossierSpecial(TDossierSpecial::BUREAU) : documents;
    }
    case TDossierSpecial::TEMPORAIRE: {
        const QString chemin = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
        return chemin.isEmpty() ? QString() : QDir::cleanPath(chemin);
    }
    }
    return {};
}

QString versionFichier(const QString& chemin) {
    const std::wstring nom = QDir::toNativeSeparators(chemin).toStdWString();
    DWORD inutile = 0;
    const DWORD taille = GetFileVersionInfoSizeW(nom.c_str(), &inutile);
    if (taille == 0)
        return {};
    std::vector<char> donnees(taille);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT tailleInfo = 0;
    if (!GetFileVersionInfoW(nom.c_str(), 0, taille, donnees.data()) ||
        !VerQueryValueW(donnees.data(), L"\\", reinterpret_cast<void**>(&info), &tailleInfo) ||
        info == nullptr || tailleInfo < sizeof(VS_FIXEDFILEINFO))
        return {};
    return QStringLiteral("%1.%2.%3.%4")
        .arg(HIWORD(info->dwFileVersionMS))
        .arg(LOWORD(info->dwFileVersionMS))
        .arg(HIWORD(info->dwFileVersionLS))
        .arg(LOWORD(info->dwFileVersionLS));
}

void lireApplicationsInstallees() {
    applicationsInstallees.clear();
    for (const QSettings::Format vue : {QSettings::Registry32Format, QSettings::Registry64Format}) {
        QSettings desinstallation(
            QStringLiteral(
                "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"),
            vue);
        for (const QString& sousCle : desinstallation.childGroups()) {
            desinstallation.beginGroup(sousCle);
            const QString nom = desinstallation.value(QStringLiteral("DisplayName")).toString();
            const QString dossier =
                desinstallation.value(QStringLiteral("InstallLocation")).toString();
            desinstallation.endGroup();
            applicationsInstallees.push_back(
                {nom.isEmpty() ? QStringLiteral("Nom inconnu") : nom.toUpper(),
                 dossier.isEmpty() ? QStringLiteral("Chemin inconnu") : dossier.toUpper()});
        }
    }
}

bool programmeEnCours(const QString& nomExecutable) {
    const HANDLE instantane = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (instantane == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W processus{};
    processus.dwSize = sizeof processus;
    bool trouve = false;
    for (BOOL suite = Process32FirstW(instantane, &processus); suite && !trouve;
         suite = Process32NextW(instantane, &processus))
        trouve = memeNomExecutable(QString::fromWCharArray(processus.szExeFile), nomExecutable);
    CloseHandle(instantane);
    return trouve;
}
