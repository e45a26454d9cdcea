// The real launcher under Linux: stand-ins for "wine" and "winepath" first in PATH, and a
// stand-in regressi.exe that writes down the arguments it receives.
#include "exemple_export.h"
#include "transfertregressi.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#ifndef Q_OS_WIN

namespace {

void script(const QString& chemin, const QByteArray& texte) {
    QDir().mkpath(QFileInfo(chemin).path());
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + texte);
    f.close();
    ASSERT_TRUE(
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
}

// The system, except the documents folder, the process list and the registry.
class SystemeEssai : public TServicesRegressiSysteme {
public:
    QString documents;
    QString dossierDocuments() override { return documents; }
    bool regressiEnCours() override { return false; }
};

class DialoguesMuets : public TDialoguesRegressi {
public:
    QStringList messages;
    std::optional<TModeTransfert> choisirMode() override { return std::nullopt; }
    QString chercherRegressi() override { return {}; }
    void informer(const QString& texte) override { messages << texte; }
    void sablier(bool) override {}
    void traiterMessages() override {}
    void noterASupprimer(const QString&) override {}
};

// The detached stand-in writes its file a moment later.
QByteArray attendreFichier(const QString& chemin) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        QFile f(chemin);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray contenu = f.readAll();
            if (contenu.endsWith("<fin>\n"))
                return contenu;
        }
        QThread::msleep(20);
    }
    return {};
}

class CheminEssai {
public:
    explicit CheminEssai(const QString& chemin) : ancien(qgetenv("PATH")) {
        qputenv("PATH", QFile::encodeName(chemin));
    }
    ~CheminEssai() { qputenv("PATH", ancien); }

private:
    QByteArray ancien;
};

} // namespace

TEST(LancementSousWine, RegressiRecoitLeCheminWindows) {
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    const QString outils = d.filePath(QStringLiteral("outils"));
    const QString recu = d.filePath(QStringLiteral("recu.txt"));
    // wine runs the Windows program given first with the rest of the arguments.
    script(outils + QStringLiteral("/wine"), "exe=\"$1\"; shift; exec /bin/sh \"$exe\" \"$@\"\n");
    script(outils + QStringLiteral("/winepath"),
           "[ \"$1\" = -w ] || exit 1\nprintf 'Z:%s\\n' \"$2\" | tr / '\\\\'\n");
    const QString regressi = d.filePath(QStringLiteral("Evariste/REGRESSI.EXE"));
    script(regressi, "{ printf '%s\\n' \"$#\" \"$PWD\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; "
                     "done; echo '<fin>'; } > '" +
                         QFile::encodeName(recu) + "'\n");

    SystemeEssai systeme;
    systeme.documents = d.filePath(QStringLiteral("Mes documents"));
    ASSERT_TRUE(QDir().mkpath(systeme.documents));
    DialoguesMuets dialogues;
    TTransfertRegressi transfert(systeme, dialogues, true);
    transfert.cheminRegressiUt = regressi;
    TOptionsRegressi options;
    const QString sdate = QStringLiteral("09 d\u00e9c. 26 - 10h 15mn0s");
    {
        CheminEssai chemin(outils + QStringLiteral(":/usr/bin:/bin"));
        ASSERT_EQ(transfert.TransfertRegressiFichier(exempleExport(), sdate, options),
                  TIssueTransfert::Lance);
    }
    const QString fichier = nomFichierTransfert(systeme.documents, sdate, 1);
    ASSERT_TRUE(QFileInfo::exists(fichier));
    QString windows = QStringLiteral("Z:") + fichier;
    windows.replace(u'/', u'\\');
    const QByteArray attendu = "1\n" + QFile::encodeName(systeme.documents) + "\n" +
                               QFile::encodeName(windows) + "\n<fin>\n";
    EXPECT_EQ(attendreFichier(recu), attendu);
    EXPECT_TRUE(dialogues.messages.isEmpty());

    // Without Wine, Regressi cannot start: the message, and the button goes off.
    {
        CheminEssai chemin(d.filePath(QStringLiteral("vide")));
        EXPECT_EQ(transfert.TransfertRegressiFichier(exempleExport(), sdate, options),
                  TIssueTransfert::RegressiAbsent);
    }
    EXPECT_EQ(dialogues.messages, QStringList{messageRegressiIntrouvable()});
}

#endif
