// Saving: the texts and rules of the save buttons, and a write that never destroys the
// previous file.
#include "enregistrement.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

TEST(NomsDeFichiers, NomParDefaut) {
    EXPECT_EQ(nomFichierDefaut(1), "Kirvane 001");
    EXPECT_EQ(nomFichierDefaut(7), "Kirvane 007");
    EXPECT_EQ(nomFichierDefaut(42), "Kirvane 042");
    EXPECT_EQ(nomFichierDefaut(1234), "Kirvane 1234");
}

// The folder of a save dialog: the last one while it exists, else the documents folder,
// else the home folder; never an empty text (the program's own folder).
TEST(NomsDeFichiers, DossierDuDialogue) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString dernier = tmp.filePath("tp");
    const QString documents = tmp.filePath("Documents");
    ASSERT_TRUE(QDir().mkpath(dernier));
    ASSERT_TRUE(QDir().mkpath(documents));
    const QString absent = tmp.filePath("absent");
    QFile fichier(tmp.filePath("fichier"));
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    const struct {
        QString dernier, documents, attendu;
    } cas[] = {
        {dernier, documents, dernier},
        {QString(), documents, documents},
        {absent, documents, documents},
        {fichier.fileName(), documents, documents}, // a file is not a folder
        {absent, absent, QDir::homePath()},
        {QString(), QString(), QDir::homePath()},
    };
    for (const auto& c : cas)
        EXPECT_EQ(dossierDialogue(c.dernier, c.documents), c.attendu)
            << c.dernier.toStdString() << " | " << c.documents.toStdString();
}

TEST(NomsDeFichiers, Extension) {
    struct Cas {
        const char* choisi;
        const char* extension;
        const char* enregistre;
    };
    const Cas cas[] = {
        {"C:\\Mesures\\essai.v2.txt", ".rw3", "C:\\Mesures\\essai.rw3"},
        {"essai.csv.bak", ".csv", "essai.csv"},
        {"/home/eleve/Kirvane 001", ".txt", "/home/eleve/Kirvane 001.txt"},
        {"/home/el.eve/mesures", ".csv", "/home/el.eve/mesures.csv"}, // dot of a folder
        {"C:\\Mes.ures\\essai", ".rw3", "C:\\Mes.ures\\essai.rw3"},
        {"/tmp/essai.rw3", ".rw3", "/tmp/essai.rw3"},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(cheminAvecExtension(QString::fromUtf8(c.choisi), c.extension),
                  QString::fromUtf8(c.enregistre))
            << c.choisi;
}

TEST(NomsDeFichiers, Dialogues) {
    const TDialogueEnregistrement r = dialogueEnregistrement(TFormatFichier::Regressi);
    EXPECT_EQ(r.titre, "Enregistrement au format Regressi Win");
    EXPECT_EQ(r.filtre, "Fichiers Regressi Windows (*.rw3)");
    EXPECT_EQ(r.extension, ".rw3");
    const TDialogueEnregistrement t = dialogueEnregistrement(TFormatFichier::Texte);
    EXPECT_EQ(t.titre, "Enregistrement au format texte");
    EXPECT_EQ(t.filtre, "Fichiers texte (*.txt)");
    EXPECT_EQ(t.extension, ".txt");
    const TDialogueEnregistrement c = dialogueEnregistrement(TFormatFichier::CSV);
    EXPECT_EQ(c.titre, "Enregistrement au format CSV");
    EXPECT_EQ(c.filtre, "Fichiers CSV (*.csv)");
    EXPECT_EQ(c.extension, ".csv");
}

TEST(NomsDeFichiers, Messages) {
    EXPECT_EQ(questionRemplacement("C:\\Mesures\\essai.rw3"),
              QString::fromUtf8("Le fichier \"C:\\Mesures\\essai.rw3\" existe déjà. "
                                "Faut-il le remplacer ?"));
    EXPECT_EQ(messageAucuneValeur(),
              QString::fromUtf8("Il n'y a pas de valeurs dans l'intervalle de temps retenu "
                                "entre les deux curseurs verts ! \n\rL'enregistrement est donc "
                                "inutile. "));
}

QByteArray lire(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<illisible>");
}

class Enregistrement : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dossier.isValid()); }
    QString chemin(const char* nom) const { return dossier.filePath(QString::fromUtf8(nom)); }
    QStringList contenu() const {
        return QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QTemporaryDir dossier;
};

TEST_F(Enregistrement, CreepuisRemplace) {
    const QString f = chemin("essai.rw3");
    EXPECT_FALSE(enregistrerOctets(f, "ancien\r\n").has_value());
    EXPECT_EQ(lire(f), "ancien\r\n");
    const QByteArray nouveau("r\xE9sultat\r\n\xA3"
                             "3\r\n");
    EXPECT_FALSE(enregistrerOctets(f, nouveau).has_value());
    EXPECT_EQ(lire(f), nouveau);
    EXPECT_EQ(contenu(), QStringList{"essai.rw3"}); // no temporary file left behind
}

TEST_F(Enregistrement, DossierAbsent) {
    const QString f = chemin("absent/essai.csv");
    const std::optional<QString> erreur = enregistrerOctets(f, "x\r\n");
    ASSERT_TRUE(erreur.has_value());
    EXPECT_TRUE(erreur->contains(QDir::toNativeSeparators(f))) << erreur->toStdString();
    EXPECT_TRUE(erreur->contains(QString::fromUtf8("protégé en écriture")));
    EXPECT_FALSE(QFile::exists(f));
}

// The target is a folder: nothing can replace it, and what it holds stays.
TEST_F(Enregistrement, CibleOccupeeParUnDossier) {
    ASSERT_TRUE(QDir(dossier.path()).mkdir("essai.txt"));
    QFile dedans(chemin("essai.txt/garde"));
    ASSERT_TRUE(dedans.open(QIODevice::WriteOnly));
    dedans.write("garde");
    dedans.close();
    EXPECT_TRUE(enregistrerOctets(chemin("essai.txt"), "x\r\n").has_value());
    EXPECT_EQ(lire(chemin("essai.txt/garde")), "garde");
    EXPECT_TRUE(contenu().isEmpty());
}

// A read-only folder: the save fails with a French message and the previous file is intact.
TEST_F(Enregistrement, DossierEnLectureSeule) {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "folder permissions do not forbid writing on Windows";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
#endif
    const QString f = chemin("essai.rw3");
    ASSERT_FALSE(enregistrerOctets(f, "ancien\r\n").has_value());
    QFile::Permissions avant = QFile::permissions(dossier.path());
    ASSERT_TRUE(QFile::setPermissions(dossier.path(), QFile::ReadOwner | QFile::ExeOwner));
    const std::optional<QString> erreur = enregistrerOctets(f, "nouveau\r\n");
    QFile::setPermissions(dossier.path(), avant);
    ASSERT_TRUE(erreur.has_value());
    EXPECT_TRUE(erreur->startsWith("Impossible d'enregistrer le fichier")) << erreur->toStdString();
    EXPECT_EQ(lire(f), "ancien\r\n");
    EXPECT_EQ(contenu(), QStringList{"essai.rw3"});
}

} // namespace
