// Where no Excel answers, the Excel transfer writes an .xlsx workbook into the documents
// folder and opens it. The workbook is read back by a real reader (openpyxl, with the
// workbook's XML for the subscripts): numbers as numbers, merges, fills, bold text,
// subscripts, column widths; then which workbook a new sheet goes into.
#include "classeurexcel.h"
#include "excel_essai.h"
#include "exemple_export.h"
#include "transfertexcel.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <clocale>
#include <string>

namespace {

const QString sdateAcq = QString::fromUtf8("09 déc. 26 - 10h 15mn0s");

// Prints what a reader sees of one sheet: sheets, merges, the header cells (value, bold,
// fill, alignment), the first rows and the last one with their types, column widths, and
// the formatted runs of the rich strings.
const char* const scriptLecture = R"PY(
import re, sys, zipfile
import openpyxl
chemin = sys.argv[1]
wb = openpyxl.load_workbook(chemin)
ws = wb[sys.argv[2]]
print("feuilles", ",".join(wb.sheetnames), "active", wb.active.title)
print("fusions", ",".join(sorted(str(r) for r in ws.merged_cells.ranges)))
print("dimensions", ws.max_row, ws.max_column)
for ref in ["A1", "A2", "A3", "B3", "C3", "A4", "B4", "C4", "D4"]:
    c = ws[ref]
    fond = c.fill.fgColor.rgb if c.fill.fill_type == "solid" else "-"
    print(ref, repr(c.value), "gras" if c.font.b else "-", fond, c.alignment.horizontal or "-")
def ligne(cellules):
    return " ".join(("n:%r" if isinstance(c.value, (int, float)) else "s:%r") % (c.value,)
                    for c in cellules)
for cellules in ws.iter_rows(min_row=5, max_row=min(ws.max_row, 7)):
    print(ligne(cellules))
print("derniere", ligne(ws[ws.max_row]))
print("largeurs", " ".join("%g" % ws.column_dimensions[l].width for l in "ABC"))
xml = zipfile.ZipFile(chemin).read("xl/sharedStrings.xml").decode("utf-8")
for si in re.findall(r"<si>(.*?)</si>", xml, re.S):
    if "<r>" not in si:
        continue
    morceaux = []
    for r in re.findall(r"<r>(.*?)</r>", si, re.S):
        texte = re.search(r"<t[^>]*>(.*?)</t>", r, re.S).group(1)
        marques = ("gras" if "<b/>" in r else "") + (
            "+indice" if 'vertAlign val="subscript"' in r else "")
        morceaux.append("%s[%s]" % (texte, marques))
    print("riche", " ".join(morceaux))
)PY";

// Debian's python3 first: the one that has python3-openpyxl.
QString python3() {
    if (QFileInfo::exists(QStringLiteral("/usr/bin/python3")))
        return QStringLiteral("/usr/bin/python3");
    return QStandardPaths::findExecutable(QStringLiteral("python3"));
}

QStringList lireClasseur(const QString& chemin, const QString& feuille) {
    QProcess p;
    p.start(python3(), {QStringLiteral("-c"), QString::fromUtf8(scriptLecture), chemin, feuille});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

TInstantaneExport exemple1001() {
    TInstantaneExport e = exempleExport();
    e.series = {serieRampe(QStringLiteral("u[0_M]"), 1001, 0.01f),
                serieRampe(QStringLiteral("u[1_5]"), 1001, -0.5f)};
    e.dtAX = 2e-5;
    e.nbPtsAX = 1001;
    e.dureeTotaleAX = e.tFin = 0.02;
    return e;
}

class ClasseurExcel : public ::testing::Test {
protected:
    QTemporaryDir dossier;
    QString documents;
    JournalExcel j;
    SystemeExcelEssai systeme{j};
    VueExcelEssai vue{j};
    QStringList ouverts;
    bool ouverturePossible = true;
    TClasseursExcel classeurs{[this](const QString& c) {
        ouverts << c;
        return ouverturePossible;
    }};
    TTransfertExcel transfert{systeme, vue, &classeurs};

    void SetUp() override {
        if (!classeurExcelDisponible())
            GTEST_SKIP() << "libxlsxwriter absent de cette construction";
        ASSERT_TRUE(dossier.isValid());
        documents = dossier.filePath(QStringLiteral("Documents"));
        systeme.actif = systeme.creable = false;
    }
    QString classeur(int n) const { return nomClasseurTransfert(documents, sdateAcq, n); }
    TIssueExcel transferer(const TInstantaneExport& e = exempleExport(),
                           int option = OPTION_TE_NOUVEAU_CLASSEUR) {
        const TIssueExcel issue = transfert.TransfertExcelPP(e, option, sdateAcq, documents);
        EXPECT_EQ(vue.sablierActif, 0);
        EXPECT_FALSE(j.enTransfert);
        return issue;
    }
    void lirePython() {
        if (python3().isEmpty())
            GTEST_SKIP() << "python3 introuvable : le classeur écrit n'est pas relu (paquet "
                            "Debian python3-openpyxl)";
    }
};

} // namespace

TEST_F(ClasseurExcel, ExempleReluParUnVraiLecteur) {
    lirePython();
    EXPECT_EQ(transferer(), TIssueExcel::Classeur);
    EXPECT_EQ(ouverts, QStringList{classeur(1)});
    EXPECT_TRUE(vue.boites.isEmpty());
    EXPECT_TRUE(j.appels.contains(QString::fromUtf8("message Transfert vers EXCEL terminé ")));
    const QStringList attendu{
        "feuilles Feuil1 active Feuil1",
        "fusions A1:F1,A2:F2",
        "dimensions 9 6",
        QString::fromUtf8(
            "A1 \"Mesures réalisées avec l'interface SYSAM SP5 le 09/12/2026 à 10:15:00\" "
            "gras FF95C9FF -"),
        QString::fromUtf8("A2 '5 points répartis sur 4,000 ms   2 séries mesurées ' gras "
                          "FF95C9FF -"),
        "A3 't' gras FFFFF5C7 center",
        "B3 'u0_M' gras FFFFF5C7 center",
        "C3 'u1_5' gras FFFFF5C7 center",
        "A4 's' gras FFFFF5C7 center",
        "B4 'V' gras FFFFF5C7 center",
        "C4 'V' gras FFFFF5C7 center",
        "D4 None - - -",
        "n:0 n:0 n:-0.25 s:None s:None s:None",
        "n:0.001 n:0.5 n:-0.25 s:None s:None s:None",
        "n:0.002 n:1 n:-0.25 s:None s:None s:None",
        "derniere n:0.004 n:2 n:-0.25 s:None s:None s:None",
        "largeurs 7.71094 6.71094 7.71094",
        "riche u[gras] 0_M[gras+indice]",
        "riche u[gras] 1_5[gras+indice]",
    };
    EXPECT_EQ(lireClasseur(classeur(1), QStringLiteral("Feuil1")), attendu);
}

// The program runs under the user's locale: a French numeric locale must not put "0,5"
// into the workbook, and is given back afterwards.
TEST_F(ClasseurExcel, LocaleNumeriqueFrancaise) {
    lirePython();
    const std::string avant = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr)
        GTEST_SKIP() << "locale fr_FR.UTF-8 absente";
    const TIssueExcel issue = transferer();
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "fr_FR.UTF-8");
    std::setlocale(LC_NUMERIC, avant.c_str());
    EXPECT_EQ(issue, TIssueExcel::Classeur);
    EXPECT_EQ(lireClasseur(classeur(1), QStringLiteral("Feuil1")).value(13),
              "n:0.001 n:0.5 n:-0.25 s:None s:None s:None");
}

TEST_F(ClasseurExcel, MilleUnPointsRelus) {
    lirePython();
    TInstantaneExport e = exemple1001();
    e.nbPtsAX = 50001; // the point setting raised since: the rows end with the series
    e.tFin = 1.0;
    e.dureeTotaleAX = 1.0;
    EXPECT_EQ(transferer(e), TIssueExcel::Classeur);
    const QStringList lu = lireClasseur(classeur(1), QStringLiteral("Feuil1"));
    ASSERT_GE(lu.size(), 17);
    EXPECT_EQ(lu[2], "dimensions 1005 6");
    EXPECT_EQ(lu[13], "n:2e-05 n:0.01 n:-0.5 s:None s:None s:None");
    EXPECT_EQ(lu[15], "derniere n:0.02 n:10 n:-500 s:None s:None s:None");
}

// A new sheet goes into the last workbook only while it is as written and closed.
TEST_F(ClasseurExcel, NouvelleFeuilleOuNouveauClasseur) {
    const struct {
        const char* cas;
        std::function<void(const QString&)> changer;
        bool memeClasseur;
    } cas[] = {
        {"inchangé", [](const QString&) {}, true},
        {"ouvert dans LibreOffice",
         [](const QString& c) {
             QFile f(QFileInfo(c).dir().filePath(".~lock." + QFileInfo(c).fileName() + "#"));
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         },
         false},
        {"ouvert dans Excel",
         [](const QString& c) {
             QFile f(QFileInfo(c).dir().filePath("~$" + QFileInfo(c).fileName()));
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         },
         false},
        {"enregistré depuis",
         [](const QString& c) {
             QFile f(c);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                       QFileDevice::FileModificationTime));
         },
         false},
        {"effacé", [](const QString& c) { QFile::remove(c); }, false},
    };
    for (const auto& c : cas) {
        ASSERT_TRUE(QDir(documents).removeRecursively() || !QFileInfo::exists(documents));
        classeurs = TClasseursExcel([this](const QString& x) {
            ouverts << x;
            return true;
        });
        EXPECT_EQ(transferer(exempleExport(), OPTION_TE_NOUVELLE_FEUILLE), TIssueExcel::Classeur);
        EXPECT_EQ(classeurs.chemin, classeur(1));
        c.changer(classeur(1));
        EXPECT_EQ(transferer(exemple1001(), OPTION_TE_NOUVELLE_FEUILLE), TIssueExcel::Classeur);
        EXPECT_EQ(classeurs.chemin, classeur(c.memeClasseur ? 1 : 2)) << c.cas;
        EXPECT_EQ(classeurs.feuilles.size(), c.memeClasseur ? 2u : 1u) << c.cas;
        EXPECT_EQ(ouverts.last(), classeurs.chemin) << c.cas;
    }
    if (python3().isEmpty())
        return;
    // The first case again, read back: two sheets, the new one shown.
    ASSERT_TRUE(QDir(documents).removeRecursively());
    classeurs = TClasseursExcel([](const QString&) { return true; });
    transferer(exempleExport(), OPTION_TE_NOUVELLE_FEUILLE);
    transferer(exemple1001(), OPTION_TE_NOUVELLE_FEUILLE);
    const QStringList lu = lireClasseur(classeur(1), QStringLiteral("Feuil2"));
    ASSERT_GE(lu.size(), 3);
    EXPECT_EQ(lu[0], "feuilles Feuil1,Feuil2 active Feuil2");
    EXPECT_EQ(lu[2], "dimensions 1005 6");
    EXPECT_EQ(lireClasseur(classeur(1), QStringLiteral("Feuil1")).value(2), "dimensions 9 6");
}

// "Ask": only when a sheet can be added; Cancel writes nothing.
TEST_F(ClasseurExcel, DemanderSeulementQuandUneFeuillePeutSAjouter) {
    EXPECT_EQ(transferer(exempleExport(), OPTION_TE_DEMANDER), TIssueExcel::Classeur);
    EXPECT_FALSE(j.appels.contains("choisirMode"));
    vue.choix.reset();
    j.appels.clear();
    EXPECT_EQ(transferer(exempleExport(), OPTION_TE_DEMANDER), TIssueExcel::Abandonne);
    EXPECT_TRUE(j.appels.contains("choisirMode"));
    EXPECT_TRUE(j.appels.contains(QString::fromUtf8("message Transfert vers EXCEL annulé")));
    EXPECT_EQ(ouverts.size(), 1);
    EXPECT_EQ(classeurs.feuilles.size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(classeur(2)));
    vue.choix = TModeExcel::NouveauClasseur;
    EXPECT_EQ(transferer(exempleExport(), OPTION_TE_DEMANDER), TIssueExcel::Classeur);
    EXPECT_EQ(classeurs.chemin, classeur(2));
}

// A workbook of an earlier run under the same name is never overwritten.
TEST_F(ClasseurExcel, NumeroLibreSuivant) {
    ASSERT_TRUE(QDir().mkpath(documents));
    {
        QFile f(classeur(1));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("garde");
    }
    EXPECT_EQ(transferer(), TIssueExcel::Classeur);
    EXPECT_EQ(classeurs.chemin, classeur(2));
    QFile f(classeur(1));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "garde");
}

TEST_F(ClasseurExcel, EchecsDEcritureEtDOuverture) {
    ouverturePossible = false;
    EXPECT_EQ(transferer(), TIssueExcel::Classeur);
    EXPECT_EQ(vue.boites, QStringList{messageClasseurNonOuvert(classeur(1))});
    // The documents folder is a file: nothing written, nothing opened, the user told.
    vue.boites.clear();
    ouverts.clear();
    ASSERT_TRUE(QDir(documents).removeRecursively());
    {
        QFile f(documents);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(transferer(), TIssueExcel::EchecClasseur);
    ASSERT_EQ(vue.boites.size(), 1);
    EXPECT_TRUE(vue.boites[0].contains(QString::fromUtf8("n'a pas pu être enregistré")));
    EXPECT_TRUE(ouverts.isEmpty());
    EXPECT_TRUE(j.appels.contains("message Transfert vers EXCEL interrompu"));
}
