// Files the program leaves behind: the transfer files deleted at exit with the parameter
// file listing those that could not be deleted, and the lock of the single instance.
#include "fichierparametres.h"
#include "instanceunique.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

class FichierParametres : public ::testing::Test {
protected:
    QTemporaryDir racine;
    // The data folder does not exist yet: it is made only when the file is written.
    QString donnees() const { return racine.path() + QStringLiteral("/donnees/Kirvane"); }
    QString transferts() const { return racine.path() + QStringLiteral("/transferts"); }

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(transferts())); }

    QString creer(const QString& nom, const QByteArray& contenu = "rw3") {
        const QString chemin = transferts() + u'/' + nom;
        QFile f(chemin);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenu);
        return chemin;
    }

    // What Regressi does when the user saves the transfer file: new content, new time.
    static void enregistrerDansRegressi(const QString& chemin) {
        QFile f(chemin);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("page 2");
        ASSERT_TRUE(f.flush()); // before setting the time, or closing would set it again
        ASSERT_TRUE(f.setFileTime(QFileInfo(chemin).lastModified().addSecs(3),
                                  QFileDevice::FileModificationTime));
    }

    QByteArray contenuPar(const TFichierParametres& p) const {
        QFile f(p.chemin());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(FichierParametres, DossierParDefautDansLesDonneesDeLUtilisateur) {
    const QString chemin = TFichierParametres().chemin();
    EXPECT_TRUE(chemin.endsWith(QStringLiteral("/Kirvane/Kirvane.par")));
    EXPECT_NE(QFileInfo(chemin).absolutePath(), QDir::currentPath());
}

TEST_F(FichierParametres, DateNoteeAvecSecondesSousUneFormeFixe) {
    TFichierParametres p(donnees());
    const QString chemin = creer(QStringLiteral("a.rw3"));
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QDateTime t(QDate(2024, 3, 31), QTime(1, 59, 58, 250), Qt::UTC);
    ASSERT_TRUE(f.setFileTime(t, QFileDevice::FileModificationTime));
    f.close();
    p.ajouter(chemin);
    ASSERT_EQ(p.aSupprimer().size(), 1);
    EXPECT_EQ(p.aSupprimer()[0], chemin + QStringLiteral("||2024-03-31T01:59:58.250Z"));
}

TEST_F(FichierParametres, FichiersSupprimesOuGardesSelonQuIlsOntChange) {
    TFichierParametres p(donnees());
    const QString intact = creer(QStringLiteral("Acquisition Kirvane 1.rw3"));
    const QString modifie = creer(QStringLiteral("Acquisition Kirvane 2.rw3"));
    const QString disparu = creer(QStringLiteral("Acquisition Kirvane 3.rw3"));
    const QString barres = creer(QStringLiteral("a||b.rw3")); // "||" inside a path
    for (const QString& c : {intact, modifie, disparu, barres})
        p.ajouter(c);
    enregistrerDansRegressi(modifie);
    QFile::remove(disparu);

    EXPECT_TRUE(p.nettoyerALaSortie());
    EXPECT_FALSE(QFileInfo::exists(intact));
    EXPECT_TRUE(QFileInfo::exists(modifie)); // the user's now: kept, and not listed
    EXPECT_FALSE(QFileInfo::exists(barres));
    EXPECT_FALSE(QFileInfo::exists(p.chemin()));
    EXPECT_TRUE(p.aSupprimer().isEmpty());
}

TEST_F(FichierParametres, UnFichierParametresAncienDisparaitQuandToutEstSupprime) {
    TFichierParametres p(donnees());
    ASSERT_TRUE(QDir().mkpath(donnees()));
    QFile ancien(p.chemin());
    ASSERT_TRUE(ancien.open(QIODevice::WriteOnly));
    ancien.write("x||y\r\n");
    ancien.close();
    p.ajouter(creer(QStringLiteral("b.rw3")));
    EXPECT_TRUE(p.nettoyerALaSortie());
    EXPECT_FALSE(QFileInfo::exists(p.chemin()));
}

// A directory cannot be deleted as a file, whoever runs the program.
TEST_F(FichierParametres, FichierIndestructibleNoteEnWindows1252AvecCRLF) {
    TFichierParametres p(donnees());
    const QString bloque = transferts() + QStringLiteral("/Expérience à 20 °C.rw3");
    ASSERT_TRUE(QDir().mkpath(bloque + QStringLiteral("/contenu")));
    p.ajouter(bloque);
    const QString intact = creer(QStringLiteral("c.rw3"));
    p.ajouter(intact);
    const QString entree = p.aSupprimer()[0];

    EXPECT_TRUE(p.nettoyerALaSortie());
    EXPECT_FALSE(QFileInfo::exists(intact));
    const QByteArray attendu = entree.toLatin1() + "\r\n";
    EXPECT_EQ(contenuPar(p), attendu);
    EXPECT_TRUE(attendu.contains("Exp\xE9rience \xE0 20 \xB0"));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(donnees()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(FichierParametres, FichierDansUnDossierEnLectureSeuleNote) {
    TFichierParametres p(donnees());
    const QString dossier = transferts() + QStringLiteral("/protege");
    ASSERT_TRUE(QDir().mkpath(dossier));
    const QString chemin = dossier + QStringLiteral("/d.rw3");
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    p.ajouter(chemin);
    QFile::setPermissions(dossier, QFile::ReadOwner | QFile::ExeOwner);
    QFile essai(dossier + QStringLiteral("/essai"));
    if (essai.open(QIODevice::WriteOnly)) {
        essai.remove();
        QFile::setPermissions(dossier, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "run as root: a read-only folder does not stop the deletion";
    }
    EXPECT_TRUE(p.nettoyerALaSortie());
    QFile::setPermissions(dossier, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(QFileInfo::exists(chemin));
    EXPECT_TRUE(contenuPar(p).startsWith(chemin.toLatin1() + "||"));
}

// ---- Single instance ----

class InstanceUnique : public ::testing::Test {
protected:
    QTemporaryDir dossier;
    QString verrou() const { return dossier.path() + QStringLiteral("/kirvane.lock"); }
};

TEST_F(InstanceUnique, UneSecondeInstanceEstRefuseeTantQueLaPremiereVit) {
    auto premiere = std::make_unique<TInstanceUnique>(verrou());
    TInstanceUnique seconde(verrou());
    EXPECT_TRUE(premiere->essayer());
    EXPECT_TRUE(premiere->essayer()); // asking again changes nothing
    EXPECT_FALSE(seconde.essayer());
    EXPECT_FALSE(seconde.tenu());
    premiere.reset(); // the first copy ends: its lock goes with it
    EXPECT_FALSE(QFileInfo::exists(verrou()));
    EXPECT_TRUE(seconde.essayer());
}

TEST_F(InstanceUnique, UnVerrouAncienDUneInstanceVivanteTientToujours) {
    TInstanceUnique premiere(verrou());
    ASSERT_TRUE(premiere.essayer());
    {
        QFile f(verrou());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3 * 3600),
                                  QFileDevice::FileModificationTime));
    }
    TInstanceUnique seconde(verrou());
    EXPECT_FALSE(seconde.essayer());
}

#ifndef Q_OS_WIN
TEST_F(InstanceUnique, LeVerrouDUneInstanceMorteEstRepris) {
    QByteArray contenu;
    {
        TInstanceUnique modele(verrou());
        ASSERT_TRUE(modele.essayer());
        QFile f(verrou());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        contenu = f.readAll();
    }
    // The same lock, left by a process that has ended.
    const pid_t mort = fork();
    ASSERT_GE(mort, 0);
    if (mort == 0)
        _exit(0);
    ASSERT_EQ(waitpid(mort, nullptr, 0), mort);
    const qsizetype finLigne = contenu.indexOf('\n');
    ASSERT_GT(finLigne, 0);
    contenu = QByteArray::number(mort) + contenu.mid(finLigne);
    {
        QFile f(verrou());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenu);
    }
    TInstanceUnique suivante(verrou());
    EXPECT_TRUE(suivante.essayer());
}
#endif

TEST_F(InstanceUnique, CheminParDefaut) {
    const QString chemin = TInstanceUnique::cheminParDefaut();
    EXPECT_TRUE(chemin.endsWith(QStringLiteral("/kirvane.lock")));
    EXPECT_TRUE(QFileInfo(QFileInfo(chemin).absolutePath()).isDir());
}

} // namespace
