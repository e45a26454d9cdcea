// System helpers: special folders, versions, installed programs, running programs.
#include "systeme.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void ecrireFichier(const QString& chemin, const QByteArray& contenu) {
    QDir().mkpath(QFileInfo(chemin).path());
    QFile fichier(chemin);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly)) << chemin.toStdString();
    fichier.write(contenu);
}

QString programmeDuTest() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

} // namespace

TEST(Systeme, DossiersSpeciaux) {
#ifndef Q_OS_WIN
    for (const TDossierSpecial d :
         {TDossierSpecial::WINDOWS, TDossierSpecial::SYSTEME, TDossierSpecial::PROGRAMMES})
        EXPECT_EQ(cheminDossierSpecial(d), QString()) << int(d);
#endif
    const QString temp = cheminDossierSpecial(TDossierSpecial::TEMPORAIRE);
    EXPECT_TRUE(QFileInfo(temp).isDir()) << temp.toStdString();
    EXPECT_FALSE(temp.endsWith(u'/'));

    for (const TDossierSpecial d :
         {TDossierSpecial::DONNEES_COMMUNES, TDossierSpecial::DONNEES_UTILISATEUR}) {
        const QString chemin = cheminDossierSpecial(d);
        EXPECT_TRUE(QDir::isAbsolutePath(chemin)) << chemin.toStdString();
        EXPECT_FALSE(chemin.contains(u'\\'));
    }
    // The desktop is either a folder that exists or nothing.
    const QString bureau = cheminDossierSpecial(TDossierSpecial::BUREAU);
    EXPECT_TRUE(bureau.isEmpty() || QFileInfo(bureau).isDir()) << bureau.toStdString();
}

#ifndef Q_OS_WIN
// The transfer files go to the documents folder; without one, to the desktop, then home.
TEST(Systeme, DossierDocumentsEtSesReplis) {
    QTemporaryDir maison;
    ASSERT_TRUE(maison.isValid());
    const QByteArray ancienHome = qgetenv("HOME"), ancienConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(maison.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(maison.filePath(QStringLiteral(".config"))));
    const QString racine = QDir::cleanPath(maison.path());
    EXPECT_EQ(cheminDossierSpecial(TDossierSpecial::DOCUMENTS), racine);
    ASSERT_TRUE(QDir(racine).mkdir(QStringLiteral("Desktop")));
    EXPECT_EQ(cheminDossierSpecial(TDossierSpecial::DOCUMENTS),
              racine + QStringLiteral("/Desktop"));
    ASSERT_TRUE(QDir(racine).mkdir(QStringLiteral("Documents")));
    EXPECT_EQ(cheminDossierSpecial(TDossierSpecial::DOCUMENTS),
              racine + QStringLiteral("/Documents"));
    qputenv("HOME", ancienHome);
    if (ancienConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", ancienConfig);
}
#endif

TEST(Systeme, VersionDuProgrammeEtDesFichiers) {
    static const QRegularExpression quatreNombres(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"));
    EXPECT_TRUE(quatreNombres.match(versionProgramme()).hasMatch())
        << versionProgramme().toStdString();
    EXPECT_EQ(versionFichier(QCoreApplication::applicationFilePath()), versionProgramme());

    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const QString texte = dossier.filePath(QStringLiteral("sans version.exe"));
    ecrireFichier(texte, "MZ pas de ressource de version");
    EXPECT_EQ(versionFichier(texte), QString());
    EXPECT_EQ(versionFichier(dossier.filePath(QStringLiteral("absent.exe"))), QString());
    EXPECT_EQ(versionFichier(QString()), QString());
#ifndef Q_OS_WIN
    EXPECT_EQ(versionFichier(QStringLiteral("/bin/sh")), QString()); // ELF: no version resource
#endif
}

// A folder of desktop entries as the XDG application folders hold them.
class ApplicationsInstallees : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dossier.isValid());
        const QString d = dossier.path();
        // Listed first (files are read in name order, sub-folders included).
        ecrireFichier(d + "/a-libreoffice-calc.desktop",
                      "[Desktop Entry]\nType=Application\nName=LibreOffice Calc\n"
                      "Name[fr]=LibreOffice Classeur\n"
                      "Exec=/usr/lib/libreoffice/program/soffice --calc %U\n");
        ecrireFichier(d + "/b-guillemets.desktop",
                      "# commentaire\n[Desktop Entry]\nName = Mesures\\sEtudiant\n"
                      "Exec=\"/opt/Mes Programmes/mesure\" %f\n");
        ecrireFichier(
            d + "/c-env.desktop",
            "[Desktop Entry]\nName=Avec env\nExec=env LANG=fr_FR.UTF-8 /opt/outil/bin/x\n");
        ecrireFichier(d + "/d-anonyme.desktop",
                      "[Desktop Entry]\nExec=relatif --option\n"
                      "[Desktop Action nouveau]\nName=Action seule\nPath=/ailleurs\n");
        ecrireFichier(d + "/pas-une-entree.txt", "[Desktop Entry]\nName=Ignorée\n");
        // Listed last, in a sub-folder.
        ecrireFichier(d + "/wine/z-regressi.desktop",
                      "[Desktop Entry]\nName=Regressi\nPath=/home/eleve/.wine/drive_c/Regressi\n"
                      "Exec=wine regressi.exe\n");
    }
    void TearDown() override { applicationsInstallees.clear(); }

    QTemporaryDir dossier;
};

TEST_F(ApplicationsInstallees, EntreesLuesDansLOrdre) {
    // The same folder twice, as XDG lists sometimes give it, counts once.
    lireApplicationsInstallees({dossier.path(), dossier.path() + "/", dossier.path() + "/absent"});
    struct Attendu {
        const char* nom;
        const char* location;
    };
    const Attendu attendus[] = {
        {"LIBREOFFICE CALC", "/USR/LIB/LIBREOFFICE/PROGRAM"},
        {"MESURES ETUDIANT", "/OPT/MES PROGRAMMES"},
        {"AVEC ENV", "/OPT/OUTIL/BIN"},
        {"Nom inconnu", "Chemin inconnu"},
        {"REGRESSI", "/HOME/ELEVE/.WINE/DRIVE_C/REGRESSI"},
    };
    ASSERT_EQ(applicationsInstallees.size(), std::size(attendus));
    for (size_t i = 0; i < std::size(attendus); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(applicationsInstallees[i].Nom, QString::fromUtf8(attendus[i].nom));
        EXPECT_EQ(applicationsInstallees[i].Location, QString::fromUtf8(attendus[i].location));
    }
}

TEST_F(ApplicationsInstallees, EstInstalleeTrouveLaPremiereEtLaDerniere) {
    lireApplicationsInstallees(QStringList{dossier.path()});
    EXPECT_TRUE(estInstallee(QStringLiteral("LIBREOFFICE"))); // first entry
    EXPECT_FALSE(estInstallee(QStringLiteral("LibreOffice.org")));
    EXPECT_TRUE(estInstallee(QStringLiteral("regressi")));      // last entry, any case
    EXPECT_TRUE(estInstallee(QStringLiteral("calc")));          // part of the name
    EXPECT_FALSE(estInstallee(QStringLiteral("Classeur")));     // translations do not count
    EXPECT_FALSE(estInstallee(QStringLiteral("Action seule"))); // other groups do not count
    EXPECT_FALSE(estInstallee(QStringLiteral("Microsoft Office")));
    EXPECT_FALSE(estInstallee(QString()));

    lireApplicationsInstallees(QStringList{});
    EXPECT_TRUE(applicationsInstallees.empty());
    EXPECT_FALSE(estInstallee(QStringLiteral("REGRESSI")));
}

#ifndef Q_OS_WIN
TEST_F(ApplicationsInstallees, DossiersXdgParDefaut) {
    // The default list comes from XDG_DATA_HOME and XDG_DATA_DIRS: "<folder>/applications".
    QTemporaryDir maison;
    ASSERT_TRUE(maison.isValid());
    ecrireFichier(maison.path() + "/applications/kirvane-essai.desktop",
                  "[Desktop Entry]\nName=Essai Maison\nExec=/opt/essai/essai\n");
    const QByteArray ancienHome = qgetenv("XDG_DATA_HOME");
    const QByteArray ancienDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_HOME", QFile::encodeName(maison.path()));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(dossier.path() + "/vide"));
    lireApplicationsInstallees();
    ancienHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", ancienHome);
    ancienDirs.isNull() ? qunsetenv("XDG_DATA_DIRS") : qputenv("XDG_DATA_DIRS", ancienDirs);

    ASSERT_EQ(applicationsInstallees.size(), 1u);
    EXPECT_EQ(applicationsInstallees[0].Nom, QStringLiteral("ESSAI MAISON"));
    EXPECT_EQ(applicationsInstallees[0].Location, QStringLiteral("/OPT/ESSAI"));
}
#endif

TEST(Systeme, MemeNomExecutable) {
    struct Cas {
        const char* chemin;
        const char* nom;
        bool attendu;
    };
    const Cas cas[] = {
        {"C:\\Program Files\\Regressi\\regressi.exe", "REGRESSI.EXE", true},
        {"/usr/bin/regressi", "Regressi", true},
        {"regressi.exe", "REGRESSI.EXE", true},
        {"/usr/bin/regressi", "REGRESSI.EXE", false},
        {"/opt/regressi.exe/autre", "REGRESSI.EXE", false},
        {"Z:/mixte\\dossier/REGRESSI.EXE", "regressi.exe", true},
        {"/usr/bin/", "", false},
        // Only a-z change case: accented letters must match exactly.
        {"/opt/régressi", "RéGRESSI", true},
        {"/opt/régressi", "RÉGRESSI", false},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.chemin);
        EXPECT_EQ(memeNomExecutable(QString::fromUtf8(c.chemin), QString::fromUtf8(c.nom)),
                  c.attendu);
    }
}

#ifndef Q_OS_WIN
TEST(Systeme, ProgrammeEnCoursDansUnFauxProc) {
    QTemporaryDir proc;
    ASSERT_TRUE(proc.isValid());
    const QString r = proc.path();
    // A Windows program under Wine: its Windows path is an argument; the loader is the exe.
    static const char ligneWine[] = "C:\\Program Files\\Regressi\\regressi.exe\0/f\0";
    ecrireFichier(r + "/1234/cmdline", QByteArray(ligneWine, sizeof ligneWine - 1));
    ASSERT_TRUE(QFile::link("/usr/bin/wine64-preloader", r + "/1234/exe"));
    // A native program, known by its exe link only.
    QDir().mkpath(r + "/5678");
    ASSERT_TRUE(QFile::link("/usr/bin/regressi", r + "/5678/exe"));
    // The exe link unreadable: the command name stands in for it.
    ecrireFichier(r + "/42/comm", "acquisition\n");
    // A process that vanished: an empty folder.
    QDir().mkpath(r + "/77");
    // Not a process: a name that is not a number.
    QDir().mkpath(r + "/sys");
    ASSERT_TRUE(QFile::link("/usr/bin/horsprocessus", r + "/sys/exe"));

    struct Cas {
        const char* nom;
        bool attendu;
    };
    const Cas cas[] = {
        {"REGRESSI.EXE", true},     {"regressi.exe", true},   {"REGRESSI", true},
        {"wine64-preloader", true}, {"ACQUISITION", true},    {"regressi.ex", false},
        {"Program Files", false},   {"horsprocessus", false}, {"", false},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(programmeEnCours(QString::fromUtf8(c.nom), r), c.attendu);
    }
    EXPECT_FALSE(programmeEnCours(QStringLiteral("REGRESSI.EXE"), r + "/absent"));
}
#endif

TEST(Systeme, ProgrammeEnCoursTrouveLeProgrammeDuTest) {
    EXPECT_TRUE(programmeEnCours(programmeDuTest()));
    EXPECT_TRUE(programmeEnCours(programmeDuTest().toUpper()));
    EXPECT_FALSE(programmeEnCours(programmeDuTest() + QStringLiteral("-absent-kv.exe")));
}
