// The transfer to Regressi against a system and a user played by the test: which file is
// written or grows, what is launched, the registry, the messages and the hourglass.
#include "exemple_export.h"
#include "fichierregressi.h"
#include "regressi_essai.h"
#include "transfertregressi.h"
#include "windows1252.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>

namespace {

const QString sdateAcq = QString::fromUtf8("09 déc. 26 - 10h 15mn0s");

QByteArray lire(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void creer(const QString& chemin, const QByteArray& contenu = "MZ") {
    QDir().mkpath(QFileInfo(chemin).path());
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contenu);
}

// One window's transfer: Regressi installed in the temporary folder, launched as on
// Windows (the native path), documents in the temporary folder.
class TransfertRegressi : public ::testing::Test {
protected:
    QTemporaryDir dossier;
    ServicesEssai services;
    DialoguesEssai dialogues;
    TOptionsRegressi options;
    TTransfertRegressi transfert{services, dialogues, false};
    QString regressi;

    void SetUp() override {
        ASSERT_TRUE(dossier.isValid());
        services.documents = dossier.filePath(QStringLiteral("Documents"));
        ASSERT_TRUE(QDir().mkpath(services.documents));
        regressi = dossier.filePath(QStringLiteral("Programmes/Evariste/Regressi/regressi.exe"));
        creer(regressi);
        services.officiel = regressi;
        transfert.localiser(options);
        ASSERT_EQ(transfert.cheminRegressiUt, regressi);
    }

    QString fichier(int n) const { return nomFichierTransfert(services.documents, sdateAcq, n); }

    TIssueTransfert transferer(const TInstantaneExport& e = exempleExport()) {
        const TIssueTransfert issue = transfert.TransfertRegressiFichier(e, sdateAcq, options);
        EXPECT_EQ(dialogues.sablierActif, 0) << "hourglass left on";
        return issue;
    }

    // The first transfer done: file 1 written, Regressi running from now on.
    void premierTransfert() {
        ASSERT_EQ(transferer(), TIssueTransfert::Lance);
        services.enCours = true;
        services.lancements.clear();
    }

    // A whole transfer file of the reference measurements, written now.
    QByteArray fichierComplet() const {
        TInstantaneExport e = exempleExport();
        e.maintenant = services.horloge;
        return *fichierRegressi(e);
    }

    TCommandeLancement lancementAttendu(int n) const {
        return {QDir::toNativeSeparators(regressi),
                {QDir::toNativeSeparators(fichier(n))},
                QDir::toNativeSeparators(services.documents)};
    }
};

} // namespace

TEST(DecisionTransfertRegressi, TableDesCas) {
    using M = TModeTransfert;
    const struct {
        bool enCours, memesNoms;
        int option;
        bool inchange;
        M attendu;
    } cas[] = {
        {false, true, 1, true, M::NouveauFichier}, // Regressi not running
        {true, false, 1, true, M::NouveauFichier}, // other curves
        {true, false, 3, true, M::NouveauFichier}, // other curves: no question
        {true, true, 0, true, M::NouveauFichier},
        {true, true, 1, true, M::NouvellePage},
        {true, true, 3, true, M::Demander},
        {true, true, 3, false, M::NouveauFichier}, // file saved or deleted: no question
        {true, true, 1, false, M::NouveauFichier}, // nowhere to add the page
        {true, true, 2, true, M::NouveauFichier},  // unknown option
        {true, true, -1, true, M::NouveauFichier},
    };
    for (const auto& c : cas)
        EXPECT_EQ(modeTransfertRegressi(c.enCours, c.memesNoms, c.option, c.inchange), c.attendu)
            << c.enCours << c.memesNoms << c.option << c.inchange;
}

TEST(DecisionTransfertRegressi, NomsEtChemins) {
    EXPECT_EQ(nomFichierTransfert(QStringLiteral("/home/eleve/Documents"), sdateAcq, 1),
              QString::fromUtf8("/home/eleve/Documents/Acquisition Kirvane09 déc. 26 - 10h "
                                "15mn0s-1.rw3"));
    EXPECT_EQ(cheminWindowsParDefaut(QStringLiteral("/home/eleve/a b.rw3")),
              QStringLiteral("Z:\\home\\eleve\\a b.rw3"));
    for (const char* nom : {"regressi.exe", "C:\\Evariste\\REGRESSI.EXE", "/x/Regressi.Exe"})
        EXPECT_TRUE(estExecutableRegressi(QLatin1String(nom))) << nom;
    for (const char* nom : {"", "regressi.exe.lnk", "/x/regressi", "/regressi.exe/autre.exe"})
        EXPECT_FALSE(estExecutableRegressi(QLatin1String(nom))) << nom;
}

// Under Wine: "wine" with the executable and the Windows path, each one argument whatever
// it holds; never a shell command line.
TEST(DecisionTransfertRegressi, CommandeSousWineEtSousWindows) {
    const QString fichier = QStringLiteral("/d/Mes \"essais\"; rm -rf ~/a.rw3");
    const QString windows = cheminWindowsParDefaut(fichier);
    const TCommandeLancement wine =
        commandeRegressi(QStringLiteral("/w/REGRESSI.EXE"), fichier, "/d", true, windows);
    EXPECT_EQ(wine.programme, QStringLiteral("wine"));
    EXPECT_EQ(wine.arguments, QStringList({QStringLiteral("/w/REGRESSI.EXE"), windows}));
    EXPECT_EQ(wine.dossier, QDir::toNativeSeparators(QStringLiteral("/d")));
    const TCommandeLancement natif =
        commandeRegressi(QStringLiteral("/w/regressi.exe"), fichier, "/d", false);
    EXPECT_EQ(natif.programme, QDir::toNativeSeparators(QStringLiteral("/w/regressi.exe")));
    EXPECT_EQ(natif.arguments, QStringList{QDir::toNativeSeparators(fichier)});
}

TEST(DecisionTransfertRegressi, PlaceStandardSansCasse) {
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    const QString programmes = d.filePath(QStringLiteral("Program Files"));
    EXPECT_EQ(cheminOfficielRegressi({programmes}), QString());
    creer(programmes + QStringLiteral("/Evariste/Regressi/Regressi.EXE"));
    EXPECT_EQ(cheminOfficielRegressi({QString(), d.filePath(QStringLiteral("absent")), programmes}),
              programmes + QStringLiteral("/Evariste/Regressi/Regressi.EXE"));
}

TEST(DecisionTransfertRegressi, LocalisationAuDemarrage) {
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    const QString bon = d.filePath(QStringLiteral("a/REGRESSI.exe"));
    const QString mauvais = d.filePath(QStringLiteral("b/autre.exe"));
    creer(bon);
    creer(mauvais);
    const QString absent = d.filePath(QStringLiteral("c/regressi.exe"));
    const struct {
        QString officiel;
        bool defaut;
        QString choisi;
        QString ut, officielRetenu, choisiApres;
        bool defautApres;
    } cas[] = {
        {bon, true, QString(), bon, bon, QString(), true},
        {QString(), true, QString(), QString(), QString(), QString(), true},
        {mauvais, true, QString(), QString(), QString(), QString(), false},
        {bon, false, mauvais, QString(), bon, QString(), false},
        {bon, false, absent, QString(), bon, QString(), false},
        {QString(), false, bon, bon, QString(), bon, false},
    };
    for (const auto& c : cas) {
        ServicesEssai s;
        DialoguesEssai dl;
        s.officiel = c.officiel;
        TTransfertRegressi t(s, dl, false);
        TOptionsRegressi o{c.defaut, c.choisi, 0};
        t.localiser(o);
        EXPECT_EQ(t.cheminRegressiUt, c.ut) << c.officiel.toStdString() << c.defaut;
        EXPECT_EQ(t.cheminOfficielREGRESSI, c.officielRetenu);
        EXPECT_EQ(o.cheminREGRESSINonDefautX, c.choisiApres);
        EXPECT_EQ(o.versionRegressiDefaut, c.defautApres);
    }
}

TEST_F(TransfertRegressi, PremierTransfertEcritLeFichierEtLanceRegressi) {
    services.reg.valeurs = {{QStringLiteral("Sauvegarde/Arecuperer"), QStringLiteral("1")},
                            {QStringLiteral("Format/chiffres"), QStringLiteral("3")}};
    ASSERT_EQ(transferer(), TIssueTransfert::Lance);
    // The reference file, its page comment written at the clock's time.
    EXPECT_EQ(lire(fichier(1)), fichierComplet());
    EXPECT_EQ(services.lancements, QList<TCommandeLancement>{lancementAttendu(1)});
    EXPECT_EQ(dialogues.aSupprimer, QStringList{fichier(1)});
    EXPECT_EQ(transfert.nfRegAC, fichier(1));
    EXPECT_EQ(transfert.dateRegAC, dateModificationFichier(fichier(1)));
    EXPECT_TRUE(transfert.PremierLancementREG);
    EXPECT_FALSE(transfert.premiereTentativeREG);
    EXPECT_TRUE(dialogues.messages.isEmpty());
    // Only the two values that existed are changed; nothing is created.
    const std::map<QString, QString> attendu = {{QStringLiteral("Sauvegarde/Arecuperer"), "0"},
                                                {QStringLiteral("Format/chiffres"), "6"}};
    EXPECT_EQ(services.reg.valeurs, attendu);
    services.reg.valeurs.clear();
    services.enCours = true;
    ASSERT_EQ(transferer(), TIssueTransfert::Lance);
    EXPECT_TRUE(services.reg.valeurs.empty());
}

TEST_F(TransfertRegressi, DeuxiemeTransfertAjouteUnePage) {
    options.optionTransfertREGRESSI = OPTION_TR_NOUVELLE_PAGE;
    premierTransfert();
    const QByteArray avant = lire(fichier(1));
    services.horloge = services.horloge.addSecs(60);
    ASSERT_EQ(transferer(), TIssueTransfert::Lance);
    const QByteArray apres = lire(fichier(1));
    ASSERT_TRUE(apres.startsWith(avant));
    const QByteArray page =
        versWindows1252(QString::fromUtf8("£1 PAGE COMMENT\r\n"
                                          "Mesures réalisées avec l'interface SYSAM SP5 le "
                                          "09/12/2026 à 10:17:00\r\n"
                                          "&5 VALEUR VAR\r\n"
                                          "0 0 -0.25\r\n"
                                          "0.001 0.5 -0.25\r\n"
                                          "0.002 1 -0.25\r\n"
                                          "0.003 1.5 -0.25\r\n"
                                          "0.004 2 -0.25\r\n"
                                          "&2 OPTIONS\r\n1\r\n1\r\n"));
    EXPECT_EQ(apres.mid(avant.size()), page);
    EXPECT_FALSE(QFileInfo::exists(fichier(2)));
    EXPECT_EQ(services.lancements, QList<TCommandeLancement>{lancementAttendu(1)});
    EXPECT_EQ(dialogues.aSupprimer, QStringList{fichier(1)});
    EXPECT_FALSE(transfert.PremierLancementREG);
    EXPECT_EQ(transfert.dateRegAC, dateModificationFichier(fichier(1)));
}

// A page goes only into the file as the program left it: saved by Regressi, deleted, or with
// other curves, a new file (the deleted file was once announced to Regressi, empty-handed).
TEST_F(TransfertRegressi, NouveauFichierQuandLaPageEstImpossible) {
    options.optionTransfertREGRESSI = OPTION_TR_NOUVELLE_PAGE;
    premierTransfert();
    int n = 1;
    const std::function<void()> changements[] = {
        [&] {
            QFile f(fichier(n));
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                      QFileDevice::FileModificationTime));
        },
        [&] { ASSERT_TRUE(QFile::remove(fichier(n))); },
    };
    for (const auto& changer : changements) {
        changer();
        ASSERT_EQ(transferer(), TIssueTransfert::Lance);
        ++n;
        EXPECT_EQ(lire(fichier(n)), fichierComplet());
        EXPECT_EQ(services.lancements.takeLast(), lancementAttendu(n));
        EXPECT_EQ(dialogues.aSupprimer.last(), fichier(n));
    }
    TInstantaneExport autres = exempleExport();
    autres.series[1].sEnteteVM = QStringLiteral("u[2_M]");
    options.optionTransfertREGRESSI = OPTION_TR_DEMANDER;
    ASSERT_EQ(transferer(autres), TIssueTransfert::Lance);
    EXPECT_EQ(dialogues.nbQuestions, 0);
    EXPECT_EQ(services.lancements.takeLast(), lancementAttendu(n + 1));
    EXPECT_EQ(transfert.numFichierTR, n + 1);
}

TEST_F(TransfertRegressi, LaQuestionDecideOuAbandonne) {
    options.optionTransfertREGRESSI = OPTION_TR_DEMANDER;
    premierTransfert();
    const QByteArray avant = lire(fichier(1));
    const auto registreAvant = services.reg.valeurs;
    services.reg.valeurs = {{QStringLiteral("Format/chiffres"), QStringLiteral("3")}};

    dialogues.choix = std::nullopt; // Cancel or the close box
    EXPECT_EQ(transferer(), TIssueTransfert::Abandonne);
    EXPECT_EQ(dialogues.nbQuestions, 1);
    EXPECT_EQ(lire(fichier(1)), avant);
    EXPECT_FALSE(QFileInfo::exists(fichier(2)));
    EXPECT_TRUE(services.lancements.isEmpty());
    EXPECT_EQ(services.reg.valeurs.at(QStringLiteral("Format/chiffres")), QStringLiteral("3"));

    dialogues.choix = TModeTransfert::NouvellePage;
    EXPECT_EQ(transferer(), TIssueTransfert::Lance);
    EXPECT_GT(lire(fichier(1)).size(), avant.size());
    EXPECT_FALSE(QFileInfo::exists(fichier(2)));

    dialogues.choix = TModeTransfert::NouveauFichier;
    EXPECT_EQ(transferer(), TIssueTransfert::Lance);
    EXPECT_EQ(lire(fichier(2)), fichierComplet());
    EXPECT_EQ(dialogues.nbQuestions, 3);
    EXPECT_EQ(services.lancements.last(), lancementAttendu(2));
}

TEST_F(TransfertRegressi, RegressiArreteNouveauFichier) {
    options.optionTransfertREGRESSI = OPTION_TR_NOUVELLE_PAGE;
    premierTransfert();
    services.enCours = false;
    ASSERT_EQ(transferer(), TIssueTransfert::Lance);
    EXPECT_EQ(lire(fichier(2)), fichierComplet());
    EXPECT_TRUE(transfert.PremierLancementREG);
    EXPECT_EQ(services.lancements, QList<TCommandeLancement>{lancementAttendu(2)});
}

// A failed launch, the first one included, is told and turns the button off; the file
// stays written and listed for deletion.
TEST_F(TransfertRegressi, EchecDuLancement) {
    services.lancementPossible = false;
    options.versionRegressiDefaut = false;
    options.cheminREGRESSINonDefautX = regressi;
    ASSERT_EQ(transferer(), TIssueTransfert::RegressiAbsent);
    EXPECT_EQ(dialogues.messages, QStringList{messageRegressiIntrouvable()});
    EXPECT_EQ(transfert.cheminRegressiUt, QString());
    EXPECT_EQ(options.cheminREGRESSINonDefautX, QString());
    EXPECT_TRUE(transfert.premiereTentativeREG);
    EXPECT_EQ(lire(fichier(1)), fichierComplet());
    EXPECT_EQ(dialogues.aSupprimer, QStringList{fichier(1)});
}

// No Regressi known: the user looks for it, with the normal pointer.
TEST_F(TransfertRegressi, RechercheDeRegressi) {
    transfert.cheminRegressiUt.clear();
    ASSERT_EQ(transferer(), TIssueTransfert::Abandonne); // search cancelled
    EXPECT_EQ(dialogues.nbRecherches, 1);
    EXPECT_EQ(dialogues.sablierPendantRecherche, 0);
    EXPECT_FALSE(options.versionRegressiDefaut);
    EXPECT_TRUE(services.lancements.isEmpty());
    EXPECT_EQ(dialogues.aSupprimer, QStringList{fichier(1)});

    const QString autre = dossier.filePath(QStringLiteral("autre.exe"));
    creer(autre);
    dialogues.regressiChoisi = autre; // not Regressi
    EXPECT_EQ(transferer(), TIssueTransfert::RegressiAbsent);
    EXPECT_EQ(dialogues.messages, QStringList{messageRegressiIntrouvable()});
    EXPECT_TRUE(services.lancements.isEmpty());

    dialogues.regressiChoisi = regressi;
    EXPECT_EQ(transferer(), TIssueTransfert::Lance);
    EXPECT_EQ(transfert.cheminRegressiUt, regressi);
    EXPECT_EQ(options.cheminREGRESSINonDefautX, regressi);
    EXPECT_EQ(services.lancements, QList<TCommandeLancement>{lancementAttendu(3)});
    EXPECT_EQ(dialogues.nbRecherches, 3);
}

// The empty interval is found on the samples actually committed, as for the files.
TEST_F(TransfertRegressi, IntervalleVide) {
    TInstantaneExport e = exempleExport();
    e.t0 = 0.0051f; // beyond the last sample (4 ms)
    EXPECT_EQ(transferer(e), TIssueTransfert::AucuneValeur);
    e = exempleExport();
    e.tFin = -0.001;
    EXPECT_EQ(transferer(e), TIssueTransfert::AucuneValeur);
    EXPECT_EQ(dialogues.messages,
              QStringList({messageAucuneValeurTransfert(), messageAucuneValeurTransfert()}));
    EXPECT_TRUE(QDir(services.documents).isEmpty());
    EXPECT_TRUE(services.lancements.isEmpty());
    EXPECT_EQ(transfert.numFichierTR, 0);
}

TEST_F(TransfertRegressi, DossierDocumentsInutilisable) {
    services.documents = dossier.filePath(QStringLiteral("absent/Documents"));
    EXPECT_EQ(transferer(), TIssueTransfert::EchecEcriture);
    ASSERT_EQ(dialogues.messages.size(), 1);
    EXPECT_TRUE(dialogues.messages[0].startsWith(QStringLiteral("Impossible d'enregistrer")));
    EXPECT_TRUE(services.lancements.isEmpty());
    EXPECT_TRUE(dialogues.aSupprimer.isEmpty());
}

TEST_F(TransfertRegressi, PreferencesChangentLeProgrammeLance) {
    const QString autre = dossier.filePath(QStringLiteral("ailleurs/Regressi.exe"));
    creer(autre);
    options = {false, autre, 0};
    transfert.appliquerPreferences(options);
    EXPECT_EQ(transfert.cheminRegressiUt, autre);
    options = {false, dossier.filePath(QStringLiteral("absent/regressi.exe")), 0};
    transfert.appliquerPreferences(options);
    EXPECT_EQ(transfert.cheminRegressiUt, regressi);
    EXPECT_TRUE(options.versionRegressiDefaut);
}
