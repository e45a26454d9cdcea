// The transfer to Excel against an Excel, a clipboard and a window played by the test:
// every call in order, the clipboard texts, the chunk rows, the formatting, the messages and
// the final steps, which run whatever happens.
#include "excel_essai.h"
#include "exemple_export.h"
#include "transfertexcel.h"
#include "transfertregressi.h"

#include <QTemporaryDir>

namespace {

const QString sdateAcq = QString::fromUtf8("09 déc. 26 - 10h 15mn0s");

// The reference acquisition with nb samples at 20 µs: two ramps.
TInstantaneExport exemple1001(int nb = 1001) {
    TInstantaneExport e = exempleExport();
    e.series = {serieRampe(QStringLiteral("u[0_M]"), nb, 0.01f),
                serieRampe(QStringLiteral("u[1_5]"), nb, -0.5f)};
    e.dtAX = 2e-5;
    e.nbPtsAX = nb;
    e.dureeTotaleAX = 0.02;
    e.tFin = 0.02;
    return e;
}

class TransfertExcel : public ::testing::Test {
protected:
    JournalExcel j;
    SystemeExcelEssai systeme{j};
    VueExcelEssai vue{j};
    TTransfertExcel transfert{systeme, vue};

    TIssueExcel transferer(const TInstantaneExport& e, int option = OPTION_TE_NOUVEAU_CLASSEUR) {
        const TIssueExcel issue = transfert.TransfertExcelPP(e, option, sdateAcq, QString());
        EXPECT_EQ(vue.sablierActif, 0) << "hourglass left on";
        EXPECT_FALSE(j.enTransfert) << "window state not restored";
        EXPECT_EQ(j.appelsHorsTransfert, 0) << "Excel driven outside state 7";
        return issue;
    }
    // The cells where the data chunks were pasted.
    QStringList collages() const {
        QStringList r;
        for (qsizetype k = 1; k < j.appels.size(); ++k)
            if (j.appels[k] == QLatin1String("Paste") && j.appels[k - 1] != "Select A1")
                r << j.appels[k - 1].mid(7);
        return r;
    }
};

// The final steps after a sheet was filled: A1 selected, the message, the window back,
// Excel shown normal and released, progress bar and presence back, default cursor.
QStringList finNormale(const QString& message) {
    return {"Select A1",    "message " + message, "WindowState -4143", "Visible 1", "libere",
            "finTransfert", "progression 0",      "presence 1",        "sablier 0"};
}

} // namespace

TEST_F(TransfertExcel, ExempleCompletDansLOrdre) {
    EXPECT_EQ(transferer(exempleExport()), TIssueExcel::Transfere);
    QStringList attendu{"debutTransfert",
                        QString::fromUtf8("message Connexion à Excel..."),
                        "sablier 1",
                        "GetActiveObject",
                        "Visible 0",
                        "redessiner",
                        "SheetsInNewWorkbook 1",
                        "Workbooks.Add",
                        "message Transfert vers Excel en cours...",
                        "progression 0",
                        "presence 0",
                        "Clipboard",
                        "Select A1",
                        "Paste",
                        "Clipboard",
                        "attendre 10",
                        "Select A5",
                        "Paste",
                        "progression 100",
                        "Merge A1:F1",
                        "Merge A2:F2",
                        "Color A1 50317717",
                        "Bold A1",
                        "Color A2 50317717",
                        "Bold A2",
                        "HorizontalAlignment A3:C4 3",
                        "Bold A3:C4",
                        "Color $A$3:$C4 46659071",
                        "HorizontalAlignment $A$3:$C4 3",
                        "Bold $A$3:$C4",
                        "Characters B3 2 100 Subscript Bold",
                        "Characters C3 2 100 Subscript Bold"};
    attendu << finNormale(QString::fromUtf8("Transfert vers EXCEL terminé "));
    EXPECT_EQ(j.appels, attendu);
    EXPECT_EQ(j.pressePapiers,
              QStringList({QString::fromUtf8("Mesures réalisées avec l'interface SYSAM SP5 le "
                                             "09/12/2026 à 10:15:00\r\n"
                                             "5 points répartis sur 4,000 ms   2 séries "
                                             "mesurées \r\n"
                                             "t\tu0_M\tu1_5\r\n"
                                             "s\tV\tV\r\n"),
                           "0\t0\t-0,25\r\n0,001\t0,5\t-0,25\r\n0,002\t1\t-0,25\r\n"
                           "0,003\t1,5\t-0,25\r\n0,004\t2\t-0,25\r\n"}));
    EXPECT_TRUE(vue.boites.isEmpty());
}

TEST_F(TransfertExcel, MilleUnPointsParMorceauxDe167Lignes) {
    const TInstantaneExport e = exemple1001();
    EXPECT_EQ(lignesParCollage(2), 167);
    EXPECT_EQ(transferer(e), TIssueExcel::Transfere);
    EXPECT_EQ(collages(), QStringList({"A5", "A172", "A339", "A506", "A673", "A840"}));
    ASSERT_EQ(j.pressePapiers.size(), 7);
    EXPECT_TRUE(j.pressePapiers[0].contains(
        QString::fromUtf8("\r\n1001 points répartis sur 20,00 ms   2 séries mesurées \r\n")));
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(j.pressePapiers[k].count(QStringLiteral("\r\n")), 167) << k;
    EXPECT_EQ(j.pressePapiers[6].count(QStringLiteral("\r\n")), 166);
    // Rows follow each other: the second chunk starts with sample 167.
    EXPECT_TRUE(j.pressePapiers[2].startsWith("0,00334\t1,67\t-83,5\r\n"));
    EXPECT_TRUE(j.pressePapiers[6].endsWith("0,02\t10\t-500\r\n"));
    EXPECT_EQ(vue.progressions, QList<int>({0, 17, 33, 50, 67, 83, 100, 0}));
}

TEST_F(TransfertExcel, CurseurGaucheAuPointCent) {
    TInstantaneExport e = exemple1001();
    e.t0 = 100 * 2e-5f;
    EXPECT_EQ(transferer(e), TIssueExcel::Transfere);
    // 901 rows: the first chunk still at A5, the next ones directly after it.
    EXPECT_EQ(collages(), QStringList({"A5", "A172", "A339", "A506", "A673", "A840"}));
    const QString debut = "0\t1\t-50\r\n2E-005\t1,01\t-50,5\r\n";
    EXPECT_EQ(j.pressePapiers[1].left(debut.size()), debut);
    EXPECT_EQ(j.pressePapiers[6].count(QStringLiteral("\r\n")), 901 - 5 * 167);
}

// A selection of the first sample alone: progress counted over the rows written (the share
// i / i1 would divide by zero).
TEST_F(TransfertExcel, PremierEchantillonSeul) {
    TInstantaneExport e = exemple1001();
    e.tFin = 0.0;
    EXPECT_EQ(transferer(e), TIssueExcel::Transfere);
    EXPECT_EQ(collages(), QStringList{"A5"});
    EXPECT_EQ(j.pressePapiers[1], "0\t0\t0\r\n");
    EXPECT_EQ(vue.progressions, QList<int>({0, 100, 0}));
}

// The point setting raised after the acquisition: the rows end with the committed series.
TEST_F(TransfertExcel, LignesBorneesParLesSeriesAcquises) {
    TInstantaneExport e = exemple1001();
    e.nbPtsAX = 50001;
    e.tFin = 1.0;
    e.dureeTotaleAX = 1.0;
    EXPECT_EQ(transferer(e), TIssueExcel::Transfere);
    qsizetype lignes = 0;
    for (qsizetype k = 1; k < j.pressePapiers.size(); ++k)
        lignes += j.pressePapiers[k].count(QStringLiteral("\r\n"));
    EXPECT_EQ(lignes, 1001);
}

// Nothing between the green markers: the message alone, nothing started nor shown.
TEST_F(TransfertExcel, AucuneValeur) {
    TInstantaneExport e = exempleExport();
    e.t0 = 0.004f; // the last sample: nothing after it
    EXPECT_EQ(transferer(e), TIssueExcel::AucuneValeur);
    EXPECT_EQ(j.appels, QStringList{"informer"});
    EXPECT_EQ(vue.boites, QStringList{messageAucuneValeurTransfert()});
}

TEST_F(TransfertExcel, ModeSelonOption) {
    const struct {
        int option;
        std::optional<TModeExcel> choix;
        const char* appel; // the call that makes the sheet
        bool question;
    } cas[] = {
        {OPTION_TE_NOUVEAU_CLASSEUR, std::nullopt, "Workbooks.Add", false},
        {OPTION_TE_NOUVELLE_FEUILLE, std::nullopt, "Worksheets.Add", false},
        {OPTION_TE_DEMANDER, TModeExcel::NouveauClasseur, "Workbooks.Add", true},
        {OPTION_TE_DEMANDER, TModeExcel::NouvelleFeuille, "Worksheets.Add", true},
        {7, std::nullopt, "Workbooks.Add", false},
    };
    for (const auto& c : cas) {
        j.appels.clear();
        vue.choix = c.choix;
        EXPECT_EQ(transferer(exempleExport(), c.option), TIssueExcel::Transfere) << c.option;
        EXPECT_TRUE(j.appels.contains(QLatin1String(c.appel))) << c.option;
        EXPECT_EQ(j.appels.contains("Workbooks.Add") + j.appels.contains("Worksheets.Add"), 1);
        EXPECT_EQ(j.appels.contains("choisirMode"), c.question) << c.option;
        if (c.question) { // the normal pointer over the dialog
            EXPECT_EQ(j.appels[j.appels.indexOf("choisirMode") - 1], "sablier 0");
        }
    }
}

// Option "ask" and Cancel: nothing pasted, Excel shown minimised, the focus back, no
// "terminé" for nothing.
TEST_F(TransfertExcel, DemanderPuisAnnuler) {
    vue.choix.reset();
    EXPECT_EQ(transferer(exempleExport(), OPTION_TE_DEMANDER), TIssueExcel::Abandonne);
    EXPECT_TRUE(j.pressePapiers.isEmpty());
    const QStringList attendu{"debutTransfert",
                              QString::fromUtf8("message Connexion à Excel..."),
                              "sablier 1",
                              "GetActiveObject",
                              "Visible 0",
                              "sablier 0",
                              "choisirMode",
                              "sablier 1",
                              "redessiner",
                              QString::fromUtf8("message Transfert vers EXCEL annulé"),
                              "WindowState -4140",
                              "Visible 1",
                              "libere",
                              "finTransfert",
                              "progression 0",
                              "presence 1",
                              "sablier 0",
                              "reprendreFocus"};
    EXPECT_EQ(j.appels, attendu);
}

// Excel not running: a new one with a new workbook, whatever the option, no question.
TEST_F(TransfertExcel, NouvelExcelQuelleQueSoitLOption) {
    systeme.actif = false;
    for (int option :
         {OPTION_TE_NOUVEAU_CLASSEUR, OPTION_TE_NOUVELLE_FEUILLE, OPTION_TE_DEMANDER}) {
        j.appels.clear();
        EXPECT_EQ(transferer(exempleExport(), option), TIssueExcel::Transfere);
        EXPECT_EQ(j.appels.mid(3, 6), QStringList({"GetActiveObject", "CreateObject", "Visible 0",
                                                   "SheetsInNewWorkbook 1", "Workbooks.Add",
                                                   "message Transfert vers Excel en cours..."}));
        EXPECT_FALSE(j.appels.contains("choisirMode"));
    }
}

// Neither running nor creatable, and nothing to write a workbook: the warning, everything
// restored.
TEST_F(TransfertExcel, ExcelIntrouvable) {
    systeme.actif = systeme.creable = false;
    EXPECT_EQ(transferer(exempleExport()), TIssueExcel::ExcelAbsent);
    EXPECT_EQ(vue.boites, QStringList{messageExcelIntrouvable()});
    EXPECT_EQ(j.appels.mid(3),
              QStringList({"GetActiveObject", "CreateObject", "sablier 0", "avertir",
                           "finTransfert", "progression 0", "presence 1"}));
    EXPECT_EQ(messageExcelIntrouvable(),
              QString::fromUtf8("L'application Microsoft EXCEL n'a pas été trouvée.  \n\r"
                                "Impossible de passer directement à EXCEL."));
}

// An error raised by Excel stops the filling; the final steps all run, the user is told,
// and the message does not say the transfer ended well.
TEST_F(TransfertExcel, ErreurDExcelPuisEtapesFinales) {
    const struct {
        const char* echec;
        bool feuilleCreee;
    } cas[] = {{"Visible 0", false},
               {"Workbooks.Add", false},
               {"Paste", true},
               {"Merge A1:F1", true},
               {"Characters C3 2 100 Subscript Bold", true},
               {"WindowState -4143", true}};
    for (const auto& c : cas) {
        j.appels.clear();
        vue.boites.clear();
        j.echec = QLatin1String(c.echec);
        EXPECT_EQ(transferer(exempleExport()), TIssueExcel::ErreurExcel) << c.echec;
        EXPECT_EQ(vue.boites, QStringList{messageErreurExcel(QStringLiteral("Erreur simulée"))});
        const qsizetype fin = j.appels.indexOf("libere");
        ASSERT_GT(fin, 2) << c.echec;
        EXPECT_EQ(j.appels[fin - 3],
                  j.echec == "WindowState -4143"
                      ? QString::fromUtf8("message Transfert vers EXCEL terminé ")
                      : QStringLiteral("message Transfert vers EXCEL interrompu"))
            << c.echec;
        EXPECT_EQ(j.appels.contains("Select A1") && j.appels.lastIndexOf("Select A1") < fin,
                  c.feuilleCreee)
            << c.echec;
        EXPECT_EQ(j.appels.mid(fin - 2),
                  QStringList({"WindowState -4143", "Visible 1", "libere", "finTransfert",
                               "progression 0", "presence 1", "sablier 0", "avertir"}))
            << c.echec;
    }
}
