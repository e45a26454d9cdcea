// The built command-line tool run as a user runs it, on the SP5 simulator that lies beside
// it: the files hold the simulated signals, and every refusal is a French message on
// standard error with a non-zero exit status.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLibrary>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

const QString cheminCli = QStringLiteral(KIRVANE_CLI);
const QString cheminSimulateur = QStringLiteral(KIRVANE_SIMULATEUR_SP5);

struct Resultat {
    int code = -1;
    QString sortie;
    QString erreurs;
};

Resultat lancer(const QStringList& arguments, const QString& simulateur = QStringLiteral("bruit=0"),
                const QString& langue = QStringLiteral("C.UTF-8")) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KIRVANE_SIMULATEUR_SP5"), simulateur);
    env.insert(QStringLiteral("KIRVANE_SIMULATEUR_V6"), QStringLiteral("bruit=0"));
    env.insert(QStringLiteral("LC_ALL"), langue);
    env.insert(QStringLiteral("LANG"), langue);
    p.setProcessEnvironment(env);
    p.start(cheminCli, arguments);
    Resultat r;
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "kirvane-cli ne s'est pas terminé";
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.sortie = QString::fromUtf8(p.readAllStandardOutput());
    r.erreurs = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The rows of numbers of a table: fields split by the separator, "." as decimal point.
std::vector<std::vector<double>> lignes(const QList<QByteArray>& texte, char separateur) {
    std::vector<std::vector<double>> r;
    for (const QByteArray& l : texte) {
        if (l.trimmed().isEmpty())
            continue; // the line end of the last row
        std::vector<double> valeurs;
        for (const QByteArray& champ : l.trimmed().split(separateur)) {
            if (champ.isEmpty() && separateur == ' ')
                continue; // columns padded with spaces
            bool ok = false;
            const double v = champ.toDouble(&ok);
            if (!ok)
                return r;
            valeurs.push_back(v);
        }
        r.push_back(valeurs);
    }
    return r;
}

class KirvaneCli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::exists(cheminCli)) << cheminCli.toStdString();
        ASSERT_TRUE(dossier.isValid());
        // The simulator's formulas give the expected values of every input.
        simulateur.setFileName(cheminSimulateur);
        ASSERT_TRUE(simulateur.load()) << simulateur.errorString().toStdString();
        reinitialiser = reinterpret_cast<void (*)()>(simulateur.resolve("SimSP5_Reinitialiser"));
        tension =
            reinterpret_cast<double (*)(int32_t, double)>(simulateur.resolve("SimSP5_Tension"));
        ASSERT_NE(reinitialiser, nullptr);
        ASSERT_NE(tension, nullptr);
        reinitialiser();
    }

    QString fichier(const char* nom) const { return dossier.filePath(QString::fromUtf8(nom)); }

    // Each row: time k × dt, then input voies[j] as the simulator gives it at that time,
    // within two steps of the ±10 V range.
    void verifierSignaux(const std::vector<std::vector<double>>& t, const std::vector<int>& voies,
                         double dt, std::size_t n) {
        ASSERT_EQ(t.size(), n);
        const double pas = 2.0 * 10.0 / 4096.0;
        int ecarts = 0;
        for (std::size_t k = 0; k < t.size(); ++k) {
            ASSERT_EQ(t[k].size(), voies.size() + 1) << "ligne " << k;
            EXPECT_NEAR(t[k][0], k * dt, 1e-6 * std::max(1.0, k * dt));
            for (std::size_t j = 0; j < voies.size(); ++j) {
                const double attendu = tension(voies[j], k * dt);
                // On an edge of the square the sample may fall on either side.
                if (std::fabs(tension(voies[j], (k - 0.25) * dt) -
                              tension(voies[j], (k + 0.25) * dt)) > 2.0 * pas)
                    continue;
                if (std::fabs(t[k][j + 1] - attendu) > 2.0 * pas && ++ecarts < 4)
                    ADD_FAILURE() << "EA" << voies[j] << " point " << k << " : " << t[k][j + 1]
                                  << " au lieu de " << attendu;
            }
        }
        EXPECT_EQ(ecarts, 0);
    }

    QTemporaryDir dossier;
    QLibrary simulateur;
    void (*reinitialiser)() = nullptr;
    double (*tension)(int32_t, double) = nullptr;
};

TEST_F(KirvaneCli, SinusEtCarreDansLesFichiers) {
    const Resultat r = lancer({"--entrees", "EA0,EA1", "--duree", "20 ms", "--points", "1001",
                               "--regressi", fichier("m.rw3"), "--csv", fichier("m.csv")});
    ASSERT_EQ(r.code, 0) << r.erreurs.toStdString();
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral("2 séries acquises")));

    QFile csv(fichier("m.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lignesCsv = csv.readAll().split('\n');
    ASSERT_GT(lignesCsv.size(), 1);
    EXPECT_EQ(lignesCsv[0].trimmed(), QByteArray("t(s);u[0_M](V);u[1_M](V)"));
    const auto tCsv = lignes(lignesCsv.mid(1, 1001), ';');
    {
        SCOPED_TRACE("csv");
        verifierSignaux(tCsv, {0, 1}, 2e-5, 1001);
    }
    // The sine of EA0 reaches its 5 V peak, the square of EA1 is ±2 V.
    double max0 = -100, min1 = 100, max1 = -100;
    for (const auto& l : tCsv) {
        max0 = std::max(max0, l[1]);
        min1 = std::min(min1, l[2]);
        max1 = std::max(max1, l[2]);
    }
    EXPECT_NEAR(max0, 5.0, 0.02);
    EXPECT_NEAR(min1, -2.0, 0.02);
    EXPECT_NEAR(max1, 2.0, 0.02);

    QFile rw3(fichier("m.rw3"));
    ASSERT_TRUE(rw3.open(QIODevice::ReadOnly));
    const QList<QByteArray> lignesRw3 = rw3.readAll().split('\n');
    EXPECT_EQ(lignesRw3[0], QByteArray("EVARISTE REGRESSI WINDOWS 1.0\r"));
    qsizetype debut = -1;
    for (qsizetype i = 0; i < lignesRw3.size(); ++i)
        if (lignesRw3[i].trimmed() == QByteArray("&1001 VALEUR VAR"))
            debut = i + 1;
    ASSERT_GT(debut, 0);
    SCOPED_TRACE("rw3");
    verifierSignaux(lignes(lignesRw3.mid(debut, 1001), ' '), {0, 1}, 2e-5, 1001);
}

TEST_F(KirvaneCli, PointsLimitesCommeDansLaFenetre) {
    // 60000 points on an SP5: the list keeps 50001, as when typed in the window.
    const Resultat r = lancer({"--points", "60000", "--txt", fichier("p.txt")});
    ASSERT_EQ(r.code, 0) << r.erreurs.toStdString();
    QFile txt(fichier("p.txt"));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    const QList<QByteArray> l = txt.readAll().split('\n');
    // Title, empty line, acquisition line, empty line, header, empty line, then the rows.
    ASSERT_GE(l.size(), 6);
    const auto t = lignes(l.mid(6), ' ');
    ASSERT_EQ(t.size(), 50001u);
}

TEST_F(KirvaneCli, ModePermanentGardeUneTrameComplete) {
    const Resultat r = lancer({"--entrees", "EA0", "--duree", "10 ms", "--points", "1001",
                               "--trames", "3", "--csv", fichier("t.csv")});
    ASSERT_EQ(r.code, 0) << r.erreurs.toStdString();
    QFile csv(fichier("t.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    // Each frame starts at its own trigger: the whole file is the signal from 0, with no
    // zeros of an unfinished frame at its end.
    verifierSignaux(lignes(csv.readAll().split('\n').mid(1, 1001), ';'), {0}, 1e-5, 1001);
}

// Frames of 10 ms: a script's log gets each status once and a progress line at most once a
// second, not two lines a frame.
TEST_F(KirvaneCli, ProgressionDuModePermanent) {
    QElapsedTimer duree;
    duree.start();
    const Resultat r = lancer(
        {"--duree", "10 ms", "--points", "101", "--trames", "20", "--csv", fichier("p.csv")});
    const qint64 secondes = duree.elapsed() / 1000;
    ASSERT_EQ(r.code, 0) << r.erreurs.toStdString();
    const QStringList l = r.erreurs.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(l.count(QStringLiteral("Acquisition en cours...")), 1) << r.erreurs.toStdString();
    EXPECT_LE(l.count(QStringLiteral("Acquisition en attente...")), 1);
    const QStringList trames =
        l.filter(QRegularExpression(QStringLiteral("^Trame \\d+/20 acquise$")));
    EXPECT_GE(trames.size(), 1) << r.erreurs.toStdString();
    EXPECT_LE(trames.size(), secondes + 1) << r.erreurs.toStdString();
    EXPECT_EQ(l.size(), 3 + l.count(QStringLiteral("Acquisition en attente...")) + trames.size())
        << r.erreurs.toStdString();
}

// A trigger that never comes: Ctrl+C, a script's kill or a closed terminal stop the unit and
// the tool, without files and without an account of series that contradicts it.
TEST_F(KirvaneCli, InterruptionSansFichier) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KIRVANE_SIMULATEUR_SP5"),
                   QStringLiteral("bruit=0;declenchement_absent=1"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        p.setProcessEnvironment(env);
        p.start(cheminCli, {"--declenchement", "seuil", "--csv", fichier("i.csv")});
        p.setReadChannel(QProcess::StandardError);
        ASSERT_TRUE(p.waitForStarted(5000));
        // The tool says it waits for the trigger, and how to give up.
        QString erreurs;
        while (!erreurs.contains(QStringLiteral("attendre")) && p.waitForReadyRead(5000))
            erreurs += QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(erreurs.contains(
            QStringLiteral("Le déclenchement se fait attendre... (Ctrl+C pour abandonner)")))
            << erreurs.toStdString();
        ::kill(static_cast<pid_t>(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(5000));
        erreurs += QString::fromUtf8(p.readAllStandardError());
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_FALSE(QFile::exists(fichier("i.csv")));
        EXPECT_TRUE(erreurs.endsWith(
            QStringLiteral("Acquisition interrompue : aucun fichier n'est écrit.\n")))
            << erreurs.toStdString();
    }
}

// A bounded wait for a trigger that never comes ends the tool on its own, without a file.
TEST_F(KirvaneCli, AttenteMaxSansFichier) {
    const Resultat r =
        lancer({"--declenchement", "seuil", "--attente-max", "1,5 s", "--csv", fichier("a.csv")},
               QStringLiteral("bruit=0;declenchement_absent=1"));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.endsWith(QStringLiteral(
        "Pas de déclenchement en 1,5 s : acquisition abandonnée, aucun fichier n'est écrit.\n")))
        << r.erreurs.toStdString();
    EXPECT_FALSE(QFile::exists(fichier("a.csv")));
}

TEST_F(KirvaneCli, ListeDeDetection) {
    const Resultat r = lancer({"--lister"});
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.sortie, QStringLiteral("Détection SYSAM SP5...\n"
                                       "Centrale SIMULATION SP5 installée \n"
                                       "Centrale SIMULATION SP5 connectée \n\n"
                                       "Détection SYSAM V6...\n"
#ifdef KIRVANE_SIMULATEUR_V6
                                       "Centrale SIMULATION V6 installée \n"
                                       "Centrale SIMULATION V6 connectée \n\n"
#else
                                       "Centrale SYSAM V6 non installée sur cet ordinateur\n\n"
#endif
                                       "Détection SYSAM CAMPUS...\n"
                                       "Centrale SIMULATION CAMPUS installée \n"
                                       "Centrale SIMULATION CAMPUS connectée \n\n"));
}

// The simulated CAMPUS chosen by name: V1 acquired and written.
TEST_F(KirvaneCli, CampusSimulee) {
    const Resultat r = lancer({"--centrale", "simulation-campus", "--duree", "20 ms", "--points",
                               "101", "--csv", fichier("c.csv")});
    ASSERT_EQ(r.code, 0) << r.erreurs.toStdString();
    QFile f(fichier("c.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> texte = f.readAll().split('\n');
    EXPECT_GE(texte.size(), 101);
}

#ifdef KIRVANE_SIMULATEUR_V6
// The simulated V6 chosen by name: the Regressi file holds EA1's sine as the simulator
// gives it, within two steps of the ±25 V range.
TEST_F(KirvaneCli, RegressiDUneAcquisitionV6) {
    QLibrary v6(QStringLiteral(KIRVANE_SIMULATEUR_V6));
    ASSERT_TRUE(v6.load()) << v6.errorString().toStdString();
    auto tensionV6 = reinterpret_cast<double (*)(int32_t, double)>(v6.resolve("SimV6_Tension"));
    ASSERT_NE(tensionV6, nullptr);
    // The tool numbers the inputs from 0 on every unit: EA0 is the V6's first input, EA1.
    const Resultat r = lancer({"--centrale", "simulation-v6", "--entrees", "EA0", "--duree",
                               "20 ms", "--points", "1001", "--regressi", fichier("v6.rw3")});
    ASSERT_EQ(r.code, 0) << r.erreurs.toStdString();
    QFile rw3(fichier("v6.rw3"));
    ASSERT_TRUE(rw3.open(QIODevice::ReadOnly));
    const QList<QByteArray> l = rw3.readAll().split('\n');
    ASSERT_FALSE(l.isEmpty());
    EXPECT_EQ(l[0], QByteArray("EVARISTE REGRESSI WINDOWS 1.0\r"));
    qsizetype debut = -1;
    for (qsizetype i = 0; i < l.size(); ++i)
        if (l[i].trimmed() == QByteArray("&1001 VALEUR VAR"))
            debut = i + 1;
    ASSERT_GT(debut, 0);
    const auto t = lignes(l.mid(debut, 1001), ' ');
    ASSERT_EQ(t.size(), 1001u);
    const double pas = 50.0 / 4096.0;
    int ecarts = 0;
    for (std::size_t k = 0; k < t.size(); ++k) {
        ASSERT_EQ(t[k].size(), 2u);
        EXPECT_NEAR(t[k][0], k * 2e-5, 1e-9);
        if (std::fabs(t[k][1] - tensionV6(0, k * 2e-5)) > 2.0 * pas && ++ecarts < 4)
            ADD_FAILURE() << "point " << k << " : " << t[k][1];
    }
    EXPECT_EQ(ecarts, 0);
}
#endif

struct CasAjustement {
    const char* nom;
    QStringList arguments;
    QStringList lignes; // the lines told on standard error, in this order; none: no "ajusté"
};

// A value the settings rules changed is told, once, as the window would show it.
TEST_F(KirvaneCli, ReglagesAjustesSignales) {
    const QString f = fichier("r.rw3");
    const CasAjustement cas[] = {
        {"points trop peu nombreux",
         {"--points", "4", "--regressi", f},
         {"Nombre de points ajusté : 1001 au lieu de « 4 »."}},
        {"durée nulle",
         {"--duree", "0", "--regressi", f},
         {"Durée totale ajustée : 1,000 µs au lieu de « 0 ».",
          "Nombre de points ajusté : 11 au lieu de 1001 (valeur par défaut)."}},
        {"seuil hors calibre",
         {"--declenchement", "seuil", "--calibre", "EA0=1", "--seuil", "50 V", "--regressi", f},
         {"Seuil de déclenchement ajusté : 0,9 V au lieu de « 50 V »."}},
        {"points au-delà de la cadence",
         {"--entrees", "EA0,EA1", "--duree", "100 us", "--points", "10001", "--regressi", f},
         {"Nombre de points ajusté : 1001 au lieu de « 10001 »."}},
        {"sept courbes",
         {"--entrees", "EA0,EA1,EA2,EA3,EA4,EA5,EA6", "--points", "101", "--regressi", f},
         {"Le fichier Regressi ne garde que les 6 premières courbes sur 7."}},
        {"rien d'ajusté",
         {"--duree", "100 us", "--points", "101", "--declenchement", "seuil", "--seuil", "1,5 V",
          "--regressi", f},
         {}},
    };
    for (const CasAjustement& c : cas) {
        SCOPED_TRACE(c.nom);
        QFile::remove(f);
        const Resultat r = lancer(c.arguments);
        EXPECT_EQ(r.code, 0) << r.erreurs.toStdString();
        EXPECT_TRUE(QFile::exists(f));
        const QStringList dites =
            r.erreurs.split(QLatin1Char('\n'))
                .filter(QRegularExpression(QStringLiteral("ajusté|ne garde que")));
        EXPECT_EQ(dites, c.lignes) << r.erreurs.toStdString();
    }
}

// The values of the help read the same whatever the system's language: the same file for
// the same settings written in both ways.
TEST_F(KirvaneCli, ValeursLuesDansToutesLesLangues) {
    QByteArray reference;
    const std::pair<const char*, const char*> cas[] = {{"C", "200 us"},
                                                       {"C.UTF-8", "2.10-4 s"},
                                                       {"fr_FR.UTF-8", "0,2 ms"},
                                                       {"en_US.UTF-8", "0.2ms"}};
    for (const auto& [langue, duree] : cas) {
        SCOPED_TRACE(std::string(langue) + " " + duree);
        const QString f = fichier("l.csv");
        QFile::remove(f);
        const Resultat r = lancer({"--duree", duree, "--points", "101", "--declenchement", "seuil",
                                   "--seuil", "1,5 V", "--csv", f},
                                  QStringLiteral("bruit=0"), QString::fromUtf8(langue));
        ASSERT_EQ(r.code, 0) << r.erreurs.toStdString();
        EXPECT_FALSE(r.erreurs.contains(QStringLiteral("ajusté"))) << r.erreurs.toStdString();
        QFile csv(f);
        ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
        const QByteArray octets = csv.readAll();
        if (reference.isEmpty()) {
            reference = octets;
            const auto t = lignes(octets.split('\n').mid(1), ';');
            ASSERT_EQ(t.size(), 101u);
            EXPECT_NEAR(t.back()[0], 200e-6, 1e-9);
        }
        EXPECT_EQ(octets, reference);
    }
}

// The files are checked before the unit is even looked for: with the unit unplugged the
// message is still about the file, at once, with the options' exit status.
TEST_F(KirvaneCli, FichiersVerifiesAvantLAcquisition) {
    ASSERT_TRUE(QDir(dossier.path()).mkdir(QStringLiteral("d.csv")));
    ASSERT_TRUE(QFile::link(fichier("b.csv"), fichier("a.txt")));
    const std::pair<QStringList, QString> cas[] = {
        {{"--csv", fichier("absent/m.csv")},
         QStringLiteral("Impossible d'enregistrer le fichier « ") + fichier("absent/m.csv") +
             QStringLiteral(" » : le dossier « ") + fichier("absent") +
             QStringLiteral(" » n'existe pas.")},
        {{"--csv", fichier("d")},
         QStringLiteral("Impossible d'enregistrer le fichier « ") + fichier("d.csv") +
             QStringLiteral(" » : c'est un dossier.")},
        {{"--txt", fichier("a"), "--csv", fichier("b")},
         QStringLiteral("Les options --txt et --csv désignent le même fichier : « ") +
             fichier("a.txt") + QStringLiteral(" ».")},
    };
    for (const auto& [arguments, message] : cas) {
        SCOPED_TRACE(message.toStdString());
        const Resultat r = lancer(arguments, QStringLiteral("debranche=1"));
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.erreurs.startsWith(message)) << r.erreurs.toStdString();
    }
    EXPECT_FALSE(QFile::exists(fichier("b.csv")));
}

TEST_F(KirvaneCli, DossierProtegeVerifieAvantLAcquisition) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root écrit dans un dossier protégé";
    const QString protege = fichier("protege");
    ASSERT_TRUE(QDir().mkdir(protege));
    QFile::setPermissions(protege, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const Resultat r =
        lancer({"--csv", protege + QStringLiteral("/m")}, QStringLiteral("debranche=1"));
    QFile::setPermissions(protege,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral(" » est protégé en écriture.")))
        << r.erreurs.toStdString();
}

// «--csv mesure» gets the extension of its format, «-» is the standard output.
TEST_F(KirvaneCli, ExtensionEtSortieStandard) {
    const Resultat r = lancer({"--points", "11", "--txt", fichier("mesure"), "--csv", "-"});
    ASSERT_EQ(r.code, 0) << r.erreurs.toStdString();
    EXPECT_TRUE(QFile::exists(fichier("mesure.txt")));
    EXPECT_FALSE(QFile::exists(fichier("mesure")));
    EXPECT_TRUE(r.sortie.startsWith(QStringLiteral("t(s);u[0_M](V)\r\n")));
    EXPECT_EQ(lignes(r.sortie.toUtf8().split('\n').mid(1), ';').size(), 11u);
}

// One cell of a sheet as a spreadsheet read it: a number or a text.
struct CelluleTableur {
    bool nombre = false;
    double valeur = 0.0;
    QString texte;
};

// The rows of the first sheet of a flat OpenDocument spreadsheet (.fods), repeated cells
// and rows spelt out; the trailing empty cells of a row are dropped.
std::vector<std::vector<CelluleTableur>> lireFeuilleFods(const QByteArray& xml) {
    std::vector<std::vector<CelluleTableur>> feuille;
    QXmlStreamReader r(xml);
    int repetitionsLigne = 1;
    std::vector<CelluleTableur> ligne;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("table-row")) {
            ligne.clear();
            repetitionsLigne = std::max(
                1, r.attributes().value(QLatin1String("table:number-rows-repeated")).toInt());
        } else if (r.isEndElement() && r.name() == QLatin1String("table-row")) {
            while (!ligne.empty() && !ligne.back().nombre && ligne.back().texte.isEmpty())
                ligne.pop_back();
            if (!ligne.empty())
                for (int k = 0; k < repetitionsLigne; ++k)
                    feuille.push_back(ligne);
        } else if (r.isEndElement() && r.name() == QLatin1String("table")) {
            break; // the first sheet only
        } else if (r.isStartElement() && r.name() == QLatin1String("table-cell")) {
            const QXmlStreamAttributes a = r.attributes();
            const int n =
                std::max(1, a.value(QLatin1String("table:number-columns-repeated")).toInt());
            CelluleTableur c;
            c.nombre = a.value(QLatin1String("office:value-type")) == QLatin1String("float");
            c.valeur = a.value(QLatin1String("office:value")).toDouble();
            c.texte = r.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            ligne.insert(ligne.end(), static_cast<std::size_t>(std::min(n, 1000)), c);
        }
    }
    return feuille;
}

// What a French spreadsheet makes of the CSV tables: LibreOffice Calc, started in a French
// locale with its own profile, opens each file as a user does (";" between columns,
// Windows-1252) and saves it as a flat OpenDocument sheet.
TEST_F(KirvaneCli, CsvVirguleLuCommeDesNombresParUnTableurFrancais) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) absent : installez le paquet libreoffice-calc "
                        "(outils/tester.sh le fait) pour vérifier la lecture du CSV.";
    QProcess localeA;
    localeA.start(QStringLiteral("locale"), {QStringLiteral("-a")});
    ASSERT_TRUE(localeA.waitForFinished(10000));
    ASSERT_TRUE(QString::fromLocal8Bit(localeA.readAllStandardOutput())
                    .contains(QStringLiteral("fr_FR.utf8"), Qt::CaseInsensitive))
        << "locale fr_FR.UTF-8 absente : outils/tester.sh la crée (locale-gen)";

    const Resultat virgule = lancer({"--entrees", "EA0,EA1", "--duree", "20 ms", "--points", "1001",
                                     "--csv", fichier("virgule.csv"), "--csv-virgule"});
    ASSERT_EQ(virgule.code, 0) << virgule.erreurs.toStdString();
    const Resultat point = lancer({"--entrees", "EA0,EA1", "--duree", "20 ms", "--points", "1001",
                                   "--csv", fichier("point.csv")});
    ASSERT_EQ(point.code, 0) << point.erreurs.toStdString();

    QProcess calc;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"LANG", "LC_ALL", "LANGUAGE"})
        env.insert(QString::fromLatin1(v), QStringLiteral("fr_FR.UTF-8"));
    env.insert(QStringLiteral("HOME"), dossier.path());
    calc.setProcessEnvironment(env);
    calc.setProcessChannelMode(QProcess::MergedChannels);
    calc.start(soffice, {QStringLiteral("-env:UserInstallation=") +
                             QUrl::fromLocalFile(fichier("profil")).toString(),
                         QStringLiteral("--headless"), QStringLiteral("--norestore"),
                         QStringLiteral("--infilter=CSV:59,34,1,1"), QStringLiteral("--convert-to"),
                         QStringLiteral("fods"), QStringLiteral("--outdir"), fichier("calc"),
                         fichier("virgule.csv"), fichier("point.csv")});
    ASSERT_TRUE(calc.waitForFinished(280000)) << "LibreOffice ne s'est pas terminé";
    const QByteArray journal = calc.readAll();
    auto feuille = [&](const char* nom) {
        QFile f(dossier.filePath(QStringLiteral("calc/") + QString::fromUtf8(nom)));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << nom << " : " << journal.constData();
        return lireFeuilleFods(f.readAll());
    };
    const auto calcVirgule = feuille("virgule.fods");
    const auto calcPoint = feuille("point.fods");

    // The values the files hold, read back with their own separator.
    QFile csv(fichier("virgule.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lignesCsv = csv.readAll().replace(',', '.').split('\n');
    const auto valeurs = lignes(lignesCsv.mid(1), ';');
    ASSERT_EQ(valeurs.size(), 1001u);
    {
        SCOPED_TRACE("virgule");
        verifierSignaux(valeurs, {0, 1}, 2e-5, 1001);
    }

    // Comma: every cell below the header is the number written.
    ASSERT_EQ(calcVirgule.size(), 1002u);
    EXPECT_EQ(calcVirgule[0][1].texte, QStringLiteral("u[0_M](V)"));
    int nombres = 0;
    for (std::size_t k = 0; k < valeurs.size(); ++k) {
        const auto& l = calcVirgule[k + 1];
        ASSERT_EQ(l.size(), 3u) << "ligne " << k;
        for (std::size_t j = 0; j < 3; ++j) {
            EXPECT_TRUE(l[j].nombre) << "ligne " << k << " : " << l[j].texte.toStdString();
            EXPECT_DOUBLE_EQ(l[j].valeur, valeurs[k][j]);
            nombres += l[j].nombre ? 1 : 0;
        }
    }
    EXPECT_EQ(nombres, 3003);
    // Point, the format's default: the same locale takes the decimals for texts, which
    // shows the French reading was in force.
    ASSERT_EQ(calcPoint.size(), 1002u);
    int textes = 0;
    for (std::size_t k = 1; k < calcPoint.size(); ++k)
        for (const CelluleTableur& c : calcPoint[k])
            textes += c.nombre ? 0 : 1;
    EXPECT_GT(textes, 2000);
}

struct CasErreur {
    const char* nom;
    QStringList arguments;
    const char* simulateur;
    int code;
    const char* message;
};

TEST_F(KirvaneCli, ErreursEnFrancais) {
    const QString f = fichier("e.csv");
    const CasErreur cas[] = {
        {"option inconnue", {"--vitesse", "2", "--csv", f}, "", 2, "Option inconnue : --vitesse."},
        {"durée illisible",
         {"--duree", "vingt ms", "--csv", f},
         "",
         1,
         "Valeur de durée totale incorrecte. Veuillez rectifier."},
        {"points illisibles",
         {"--points", "12a", "--csv", f},
         "",
         1,
         "Le nombre de points saisi est incorrect. Veuillez rectifier."},
        {"seuil illisible",
         {"--declenchement", "seuil", "--seuil", "x", "--csv", f},
         "",
         1,
         "La valeur du seuil de déclenchement comporte une erreur de saisie."},
        {"centrale absente",
         {"--centrale", "v6", "--csv", f},
         "",
         1,
         "Centrale SYSAM V6 non installée sur cet ordinateur"},
        {"centrale débranchée",
         {"--csv", f},
         "debranche=1",
         1,
         "Centrale SIMULATION SP5 non connectée"},
        {"calibre inconnu",
         {"--calibre", "EA0=3", "--csv", f},
         "",
         1,
         "Calibre incorrect pour EA0 : « 3 »"},
        {"entrée inactive",
         {"--calibre", "EA2=1", "--csv", f},
         "",
         1,
         "Le calibre de l'entrée EA2 ne peut pas être choisi : l'entrée n'est pas activée."},
        {"partenaire différentiel",
         {"--differentiel", "0", "--entrees", "EA0,EA4", "--csv", f},
         "",
         1,
         "L'entrée EA4 ne peut pas être activée : son canal est en mode différentiel."},
    };
    for (const CasErreur& c : cas) {
        SCOPED_TRACE(c.nom);
        const Resultat r = lancer(c.arguments, QString::fromUtf8(c.simulateur));
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.erreurs.contains(QString::fromUtf8(c.message))) << r.erreurs.toStdString();
        EXPECT_TRUE(r.sortie.isEmpty());
        EXPECT_FALSE(QFile::exists(f));
    }
}

} // namespace
