// The three save buttons of the main window on a synthetic store of eight series: the file
// written, its name, the replace question, the abandoned dialog, the empty interval and a
// folder that cannot be written.
#include "enregistrement.h"
#include "fiche_essai.h"
#include "graphefiche.h"
#include "seriessynthetiques.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

constexpr double duree = 0.02;
constexpr int64_t nbPts = 1001;

QByteArray contenuFichier(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QList<QByteArray> lignes(const QByteArray& octets) {
    QList<QByteArray> r = octets.split('\n');
    for (QByteArray& l : r)
        if (l.endsWith('\r'))
            l.chop(1);
    return r;
}

} // namespace

class TestEnregistrementFiche : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;

    TGrapheFiche& graphe() { return *fiche->graphe; }
    QString chemin(const QString& nom) const { return dossier.filePath(nom); }

    // The window holding the synthetic series as if just acquired, markers at both ends.
    void ouvrir() {
        fiche = std::make_unique<TFicheKirvaneMixte>(demarrage(nullptr));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
        TGrapheSynthetique s = grapheSynthetique(nbPts, duree);
        fiche->series = std::move(s.series);
        fiche->series.enregistrerX = true;
        QVERIFY(fiche->centrales.SP5);
        TCentrale& u = *fiche->centrales.SP5;
        u.dt0X = u.dtAX = s.etat.dtAX;
        u.nbPts0X = u.nbPtsAX = u.nbPtsAffX = nbPts;
        u.dureeTotale0X = u.dureeTotaleAX = duree;
        fiche->moteur->MODEGENERAL = MODE_MESURES;
        activeBoutonsOutils(fiche->etat, fiche->faits());
        fiche->appliquerEtat();
        graphe().ecran.g.t0 = 0.0f;
        graphe().ecran.curseurs.tFin = duree;
    }

    // Files of the temporary folder other than the settings the window writes.
    QStringList fichiersEnregistres() const {
        QStringList r = QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden);
        // The settings and the parameter file of the window live there too.
        r.removeIf([](const QString& n) { return n.startsWith(QLatin1String("Kirvane.")); });
        return r;
    }

private slots:
    void cleanup() {
        if (fiche)
            fiche->series.enregistrerX = false;
        fermer(fiche);
        for (const QString& n : fichiersEnregistres())
            QFile::remove(chemin(n));
    }

    // Each button writes its own format, named by the dialog's answer with its extension.
    void lesTroisBoutons() {
        struct Cas {
            QToolButton* TComposantsFiche::*bouton;
            const char* choisi;
            const char* attendu;
            const char* titre;
        };
        const Cas cas[] = {
            {&TComposantsFiche::SBenregistrerRW3, "essai.v2.txt", "essai.rw3",
             "Enregistrement au format Regressi Win"},
            {&TComposantsFiche::SBenregistrerTXT, "tableau", "tableau.txt",
             "Enregistrement au format texte"},
            {&TComposantsFiche::SBEnregistrerCSV, "donnees.rw3", "donnees.csv",
             "Enregistrement au format CSV"},
        };
        for (const Cas& c : cas) {
            ouvrir();
            const QString attendu = chemin(c.attendu);
            boites->fichierChoisi = chemin(c.choisi);
            QVERIFY2(fiche->composants.*c.bouton && (fiche->composants.*c.bouton)->isEnabled(),
                     c.attendu);
            QTest::mouseClick(fiche->composants.*c.bouton, Qt::LeftButton);
            QCOMPARE(boites->dialoguesEnregistrement, QStringList{QString::fromUtf8(c.titre)});
            QVERIFY2(boites->avertissements.isEmpty(), c.attendu);
            QVERIFY2(QFileInfo::exists(attendu), c.attendu);
            QCOMPARE(fichiersEnregistres(), QStringList{QString::fromLatin1(c.attendu)});
            QVERIFY2(!fiche->series.enregistrerX, c.attendu);
            QCOMPARE(fiche->series.numAcqDef, 1);

            const QList<QByteArray> l = lignes(contenuFichier(attendu));
            QVERIFY2(l.size() > 3, c.attendu);
            if (QByteArray(c.attendu).endsWith(".rw3")) {
                QCOMPARE(l[0], QByteArray("EVARISTE REGRESSI WINDOWS 1.0"));
                QVERIFY(l[1].endsWith("7 NOM VAR")); // t and the first six series
                QCOMPARE(l[2], QByteArray("t"));
                QCOMPARE(l[3], QByteArray("u0_M"));
            } else if (QByteArray(c.attendu).endsWith(".csv")) {
                QCOMPARE(l[0], QByteArray("t(s);u[0_M](V);u[1_M](V);u[2_M](V);u[3_M](V);"
                                          "u[4_M](V);u[5_M](V);u[6_M](V);u[7_M](V)"));
                QVERIFY(l[1].startsWith("0;0;")); // t = 0, the sine starts at 0
                QCOMPARE(l.size() - (l.last().isEmpty() ? 1 : 0), 1 + int(nbPts));
            } else {
                QVERIFY(l[0].startsWith("Kirvane - "));
                QVERIFY(l[4].startsWith("t(s)"));
            }
            cleanup();
        }
    }

    // An existing file: "Non" keeps it and takes the number back, "Oui" replaces it.
    void leFichierExistant() {
        ouvrir();
        const QString cible = chemin("mesures.rw3");
        {
            QFile f(cible);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("ancien");
        }
        boites->fichierChoisi = chemin("mesures");
        boites->reponses = {TReponse::Non};
        QVERIFY(!fiche->enregistrer(TBoutonOutil::SBenregistrerRW3));
        QCOMPARE(boites->questions,
                 QStringList{QStringLiteral("Le fichier \"") + QDir::toNativeSeparators(cible) +
                             QString::fromUtf8("\" existe déjà. Faut-il le remplacer ?")});
        QCOMPARE(contenuFichier(cible), QByteArray("ancien"));
        QCOMPARE(fiche->series.numAcqDef, 0);
        QVERIFY(fiche->series.enregistrerX);

        boites->reponses = {TReponse::Oui};
        QVERIFY(fiche->enregistrer(TBoutonOutil::SBenregistrerRW3));
        QCOMPARE(boites->questions.size(), 2);
        QVERIFY(contenuFichier(cible).startsWith("EVARISTE REGRESSI WINDOWS 1.0"));
        QCOMPARE(fiche->series.numAcqDef, 1);
        QVERIFY(!fiche->series.enregistrerX);
    }

    // Abandoning the dialog writes nothing; the next default name still moves on.
    void leDialogueAbandonne() {
        ouvrir();
        boites->fichierChoisi.clear();
        QVERIFY(!fiche->enregistrer(TBoutonOutil::SBEnregistrerCSV));
        QCOMPARE(boites->dialoguesEnregistrement.size(), 1);
        QVERIFY(fichiersEnregistres().isEmpty());
        QVERIFY(fiche->series.enregistrerX);
        QCOMPARE(fiche->series.numAcqDef, 1);
    }

    // No sample between the green markers: the message, no dialog, no file.
    void aucuneValeurEntreLesCurseurs() {
        struct Cas {
            const char* nom;
            float t0;
            double tFin;
        };
        const Cas cas[] = {
            {"gauche après la fin", float(2 * duree), 3 * duree},
            {"droite avant gauche", 0.015f, 0.005},
            // Markers left by a longer duration: the left one on the end of the series.
            {"gauche sur la fin", float(duree), 2.5 * duree},
            {"gauche sur le dernier point", float(duree * 0.9996), 2.5 * duree},
        };
        for (const TBoutonOutil bouton :
             {TBoutonOutil::SBenregistrerRW3, TBoutonOutil::SBenregistrerTXT,
              TBoutonOutil::SBEnregistrerCSV}) {
            for (const Cas& c : cas) {
                ouvrir();
                graphe().ecran.g.t0 = c.t0;
                graphe().ecran.curseurs.tFin = c.tFin;
                boites->fichierChoisi = chemin("vide");
                QVERIFY2(!fiche->enregistrer(bouton), c.nom);
                QCOMPARE(boites->avertissements, QStringList{messageAucuneValeur()});
                QCOMPARE(boites->genres, QList<TGenreMessage>{TGenreMessage::Information});
                QVERIFY2(boites->dialoguesEnregistrement.isEmpty(), c.nom);
                QVERIFY2(fichiersEnregistres().isEmpty(), c.nom);
                QCOMPARE(fiche->series.numAcqDef, 0);
                QVERIFY2(fiche->series.enregistrerX, c.nom);
                cleanup();
            }
        }
    }

    // Each kind of file opens its dialog in the folder of the last file of that kind, kept
    // in the settings across a restart; before any, in the documents folder.
    void leDossierDuDernierEnregistrement() {
        const QString documents = chemin("Documents");
        const QString mesures = chemin("mesures/tp1");
        QVERIFY(QDir().mkpath(documents));
        QVERIFY(QDir().mkpath(mesures));
        QFile::remove(chemin("Kirvane.ini")); // no folder kept by the tests before
        const QString rw3 = dialogueEnregistrement(TFormatFichier::Regressi).titre;
        const QString csv = dialogueEnregistrement(TFormatFichier::CSV).titre;
        ouvrir();
        boites->fichierChoisi = mesures + "/essai";
        QVERIFY(fiche->enregistrer(TBoutonOutil::SBenregistrerRW3));
        boites->fichierChoisi.clear();
        QVERIFY(!fiche->enregistrer(TBoutonOutil::SBEnregistrerCSV));
        QVERIFY(!fiche->enregistrer(TBoutonOutil::SBenregistrerRW3));
        QCOMPARE(boites->dialoguesEnregistrement, (QStringList{rw3, csv, rw3}));
        QCOMPARE(boites->cheminsProposes,
                 (QStringList{documents + "/Kirvane 001", documents + "/Kirvane 002",
                              mesures + "/Kirvane 003"}));
        cleanup();

        ouvrir(); // a new run: the folder comes from the settings
        boites->fichierChoisi.clear();
        QVERIFY(!fiche->enregistrer(TBoutonOutil::SBenregistrerRW3));
        QVERIFY(!fiche->enregistrer(TBoutonOutil::SBenregistrerTXT));
        QCOMPARE(boites->cheminsProposes,
                 (QStringList{mesures + "/Kirvane 001", documents + "/Kirvane 002"}));
        cleanup();

        // The folder is gone: the documents folder again.
        QVERIFY(QDir(chemin("mesures")).removeRecursively());
        ouvrir();
        QVERIFY(!fiche->enregistrer(TBoutonOutil::SBenregistrerRW3));
        QCOMPARE(boites->cheminsProposes, QStringList{documents + "/Kirvane 001"});
        cleanup();
        QDir(documents).removeRecursively();
    }

    // An empty store saves nothing and asks nothing.
    void rienAEnregistrer() {
        ouvrir();
        fiche->series.nbVoiesMesurees = 0;
        boites->fichierChoisi = chemin("rien");
        QVERIFY(!fiche->enregistrer(TBoutonOutil::SBenregistrerTXT));
        QVERIFY(boites->dialoguesEnregistrement.isEmpty());
        QVERIFY(boites->avertissements.isEmpty());
        QVERIFY(fichiersEnregistres().isEmpty());
    }

    // A file that cannot be written (missing folder, a folder in its place, a read-only
    // folder): a warning naming it, the measurements stay unsaved.
    void lEcritureImpossible() {
        enum Cas { DossierAbsent, DossierALaPlace, DossierProtege };
        for (const Cas cas : {DossierAbsent, DossierALaPlace, DossierProtege}) {
#ifndef Q_OS_WIN
            if (cas == DossierProtege && geteuid() == 0) {
                qInfo("read-only folder not tried: root writes in it");
                continue;
            }
#endif
            ouvrir();
            const QString sousDossier = chemin(cas == DossierAbsent ? "absent" : "sous");
            if (cas != DossierAbsent)
                QVERIFY(QDir().mkpath(sousDossier));
            const QString cible = sousDossier + "/mesures.rw3";
            if (cas == DossierALaPlace)
                QVERIFY(QDir().mkpath(cible));
            if (cas == DossierProtege)
                QVERIFY(QFile::setPermissions(sousDossier, QFile::ReadOwner | QFile::ExeOwner));
            boites->fichierChoisi = sousDossier + "/mesures";
            boites->reponses = {TReponse::Oui}; // replace what stands there
            const bool ok = fiche->enregistrer(TBoutonOutil::SBenregistrerRW3);
            QFile::setPermissions(sousDossier,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QVERIFY2(!ok, qPrintable(cible));
            QCOMPARE(boites->avertissements.size(), 1);
            QVERIFY2(boites->avertissements[0].contains(QDir::toNativeSeparators(cible)),
                     qPrintable(boites->avertissements[0]));
            QVERIFY(QDir(sousDossier).entryList(QDir::Files | QDir::Hidden).isEmpty());
            QVERIFY(fiche->series.enregistrerX);
            cleanup();
            QDir(sousDossier).removeRecursively();
        }
    }
};

QTEST_MAIN(TestEnregistrementFiche)
#include "qtest_enregistrement_fiche.moc"
