// The tool bar's Regressi transfer in the window: the file written into the documents folder
// and handed to Regressi, deleted at exit when unchanged; a failed launch tells it and turns
// the button off, without leaving the hourglass.
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

class TestRegressiFiche : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;
    ServicesEssai* services = nullptr;
    QString documents() const { return dossier.filePath(QStringLiteral("Documents")); }

    void ouvrir() {
        TDemarrageFiche d = demarrage(nullptr);
        auto s = std::make_unique<ServicesEssai>();
        services = s.get();
        s->documents = documents();
        QVERIFY(QDir().mkpath(s->documents));
        s->officiel = dossier.filePath(QStringLiteral("Evariste/Regressi/regressi.exe"));
        QVERIFY(QDir().mkpath(QFileInfo(s->officiel).path()));
        QFile exe(s->officiel);
        QVERIFY(exe.open(QIODevice::WriteOnly));
        d.regressi = std::move(s);
        fiche = std::make_unique<TFicheKirvaneMixte>(std::move(d));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        TGrapheSynthetique g = grapheSynthetique(nbPts, duree);
        fiche->series = std::move(g.series);
        fiche->series.sdateAcqX = QStringLiteral("09 d\u00e9c. 26 - 10h 15mn0s");
        TCentrale& u = *fiche->centrales.SP5;
        u.dt0X = u.dtAX = g.etat.dtAX;
        u.nbPts0X = u.nbPtsAX = u.nbPtsAffX = nbPts;
        u.dureeTotale0X = u.dureeTotaleAX = duree;
        fiche->moteur->MODEGENERAL = MODE_MESURES;
        activeBoutonsOutils(fiche->etat, fiche->faits());
        fiche->appliquerEtat();
        fiche->graphe->ecran.g.t0 = 0.0f;
        fiche->graphe->ecran.curseurs.tFin = duree;
    }

    void fermer() {
        fiche->series.enregistrerX = false;
        boites->reponses = {TReponse::Oui};
        fiche->close();
        fiche.reset();
    }

private slots:
    void transfertPuisEffacementALaSortie() {
        ouvrir();
        QCOMPARE(fiche->transfertRegressi().cheminRegressiUt, services->officiel);
        QVERIFY(fiche->composants.SBTransfertDirectREG->isEnabled());
        QTest::mouseClick(fiche->composants.SBTransfertDirectREG, Qt::LeftButton);
        const QString fichier = nomFichierTransfert(documents(), fiche->series.sdateAcqX, 1);
        QVERIFY(QFileInfo::exists(fichier));
        // On Linux through wine, with the Windows path of the file.
        QCOMPARE(services->lancements,
                 QList<TCommandeLancement>{commandeRegressi(
                     services->officiel, fichier, documents(),
                     TTransfertRegressi::SOUS_WINE_PAR_DEFAUT, cheminWindowsParDefaut(fichier))});
        QVERIFY(boites->avertissements.isEmpty());
        QVERIFY(!QGuiApplication::overrideCursor());
        // The user keeps the second file by saving it in Regressi: it stays at exit.
        QTest::mouseClick(fiche->composants.SBTransfertDirectREG, Qt::LeftButton);
        const QString garde = nomFichierTransfert(documents(), fiche->series.sdateAcqX, 2);
        {
            QFile f(garde);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                  QFileDevice::FileModificationTime));
        }
        fermer();
        QVERIFY(!QFileInfo::exists(fichier));
        QVERIFY(QFileInfo::exists(garde));
    }

    void echecDuLancement() {
        ouvrir();
        services->lancementPossible = false;
        QTest::mouseClick(fiche->composants.SBTransfertDirectREG, Qt::LeftButton);
        QCOMPARE(boites->avertissements, QStringList{messageRegressiIntrouvable()});
        QCOMPARE(boites->genres, QList<TGenreMessage>{TGenreMessage::Information});
        QVERIFY(!fiche->composants.SBTransfertDirectREG->isEnabled());
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(fiche->transfertRegressi().cheminRegressiUt, QString());
        fermer();
    }
};

QTEST_MAIN(TestRegressiFiche)
#include "qtest_regressi_fiche.moc"
