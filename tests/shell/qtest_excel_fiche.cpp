// The tool bar's Excel transfer in the window: without Excel the workbook is written into
// the documents folder and opened; with Excel (played by the test) the sheet is filled by
// automation. Meanwhile the window is in state 7 and refuses to close; afterwards every
// control, the state and the cursor are as before.
#include "classeurexcel.h"
#include "excel_essai.h"
#include "fiche_essai.h"
#include "graphefiche.h"
#include "regressi_essai.h"
#include "seriessynthetiques.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {
constexpr double duree = 0.02;
constexpr int64_t nbPts = 1001;
} // namespace

class TestExcelFiche : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;
    JournalExcel journal;
    QStringList ouverts;
    QString documents() const { return dossier.filePath(QStringLiteral("Documents")); }

    // avecExcel: an Excel played by the test; otherwise none, as on Linux.
    void ouvrir(bool avecExcel) {
        ouverts.clear();
        journal = JournalExcel();
        TDemarrageFiche d = demarrage(nullptr);
        auto s = std::make_unique<ServicesEssai>();
        s->documents = documents();
        QVERIFY(QDir(s->documents).removeRecursively());
        QVERIFY(QDir().mkpath(s->documents));
        d.regressi = std::move(s);
        if (avecExcel)
            d.excel = std::make_unique<SystemeExcelEssai>(journal);
        else
            d.excel = std::make_unique<TSystemeSansExcel>();
        d.ouvrirDocument = [this](const QString& chemin) {
            ouverts << chemin;
            return true;
        };
        fiche = std::make_unique<TFicheKirvaneMixte>(std::move(d));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        TGrapheSynthetique g = grapheSynthetique(nbPts, duree);
        fiche->series = std::move(g.series);
        fiche->series.nbVoiesMesurees = 2;
        fiche->series.sdateAcqX = QStringLiteral("09 d\u00e9c. 26 - 10h 15mn0s");
        TCentrale& u = *fiche->centrales.SP5;
        u.dt0X = u.dtAX = g.etat.dtAX;
        u.nbPts0X = u.nbPtsAX = u.nbPtsAffX = nbPts;
        u.dureeTotale0X = u.dureeTotaleAX = duree;
        fiche->setModeGeneral(MODE_MESURES);
        fiche->reglages.optionTransfertEXCEL = OPTION_TE_NOUVEAU_CLASSEUR; // kept by a test before
        fiche->graphe->ecran.g.t0 = 0.0f;
        fiche->graphe->ecran.curseurs.tFin = duree;
    }

    void fermer() {
        fiche->series.enregistrerX = false;
        boites->reponses = {TReponse::Oui};
        fiche->close();
        fiche.reset();
    }

    // Everything as before the transfer.
    void verifierRetour() {
        QCOMPARE(fiche->modeGeneral(), MODE_MESURES);
        QVERIFY(fiche->composants.BAcquisition->isEnabled());
        QVERIFY(fiche->composants.SBTransfertDirectExcel->isEnabled());
        QVERIFY(fiche->composants.SBOptions->isEnabled());
        QVERIFY(!fiche->composants.PBarExcel->isVisible());
        QVERIFY(fiche->composants.EditPresence->isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

private slots:
    void classeurSansExcel() {
        if (!classeurExcelDisponible())
            QSKIP("libxlsxwriter absent de cette construction");
        ouvrir(false);
        QVERIFY(fiche->composants.SBTransfertDirectExcel->isEnabled());
        QTest::mouseClick(fiche->composants.SBTransfertDirectExcel, Qt::LeftButton);
        const QString classeur = nomClasseurTransfert(documents(), fiche->series.sdateAcqX, 1);
        QVERIFY(QFileInfo(classeur).size() > 0);
        QCOMPARE(ouverts, QStringList{classeur});
        QCOMPARE(fiche->composants.EditMessageX->text(),
                 QString::fromUtf8("Transfert vers EXCEL terminé "));
        QVERIFY(boites->avertissements.isEmpty());
        verifierRetour();
        fermer();
    }

    // Option "ask": the question comes once a sheet can be added; while it is shown the
    // window is in state 7, its controls frozen, and closing it is refused.
    void fermetureRefuseePendantLeTransfert() {
        if (!classeurExcelDisponible())
            QSKIP("libxlsxwriter absent de cette construction");
        ouvrir(false);
        fiche->reglages.optionTransfertEXCEL = OPTION_TE_DEMANDER;
        QTest::mouseClick(fiche->composants.SBTransfertDirectExcel, Qt::LeftButton);
        QCOMPARE(boites->nbChoixExcel, 0);
        TModeGeneral pendant = MODE_VIERGE;
        bool boutonsGeles = false;
        boites->choixExcel = TModeExcel::NouvelleFeuille;
        boites->pendantChoixExcel = [&] {
            pendant = fiche->modeGeneral();
            boutonsGeles = !fiche->composants.BAcquisition->isEnabled() &&
                           !fiche->composants.SBTransfertDirectExcel->isEnabled() &&
                           !fiche->composants.SBNouveau->isEnabled();
            fiche->close();
        };
        QTest::mouseClick(fiche->composants.SBTransfertDirectExcel, Qt::LeftButton);
        QCOMPARE(boites->nbChoixExcel, 1);
        QCOMPARE(pendant, MODE_TRANSFERT_EXCEL);
        QVERIFY(boutonsGeles);
        QVERIFY(fiche->isVisible());
        QCOMPARE(boites->avertissements,
                 QStringList{QString::fromUtf8(TextesOutils::TRANSFERT_EXCEL_EN_COURS)});
        QVERIFY(boites->questions.isEmpty());
        // The new sheet went into the first workbook.
        const QString classeur = nomClasseurTransfert(documents(), fiche->series.sdateAcqX, 1);
        QCOMPARE(ouverts, QStringList({classeur, classeur}));
        QVERIFY(!QFileInfo::exists(nomClasseurTransfert(documents(), fiche->series.sdateAcqX, 2)));
        verifierRetour();
        boites->pendantChoixExcel = nullptr;
        fermer();
    }

    void excelParAutomation() {
        ouvrir(true);
        QList<TModeGeneral> modes;
        journal.espion = [&] { modes << fiche->modeGeneral(); };
        QTest::mouseClick(fiche->composants.SBTransfertDirectExcel, Qt::LeftButton);
        journal.espion = nullptr;
        QVERIFY2(journal.appels.contains("Workbooks.Add"), qPrintable(journal.appels.join(", ")));
        // The header, then 1001 rows of 2 curves in chunks of 167 rows.
        QCOMPARE(journal.pressePapiers.size(), 1 + 6);
        QVERIFY(journal.pressePapiers[0].endsWith("\r\ns\tV\tV\r\n"));
        QVERIFY(!modes.isEmpty());
        QCOMPARE(modes.count(MODE_TRANSFERT_EXCEL), modes.size());
        QCOMPARE(fiche->composants.EditMessageX->text(),
                 QString::fromUtf8("Transfert vers EXCEL terminé "));
        QVERIFY(ouverts.isEmpty());
        verifierRetour();
        fermer();
    }
};

QTEST_MAIN(TestExcelFiche)
#include "qtest_excel_fiche.moc"
