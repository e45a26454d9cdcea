// The long-wait window and the French question with three answers.
#include "fichekirvaneattentedeclacq.h"
#include "traductions.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(ChoixAttente)

class TestAttenteQuestion : public QObject {
    Q_OBJECT
private slots:
    void textesAttente();
    void reponsesAttente();
    void questionEnFrancais();
    void reponsesQuestion_data();
    void reponsesQuestion();
    void traductionsDeQt();
};

void TestAttenteQuestion::textesAttente() {
    TFicheKirvaneAttenteDeclAcq f;
    QCOMPARE(f.windowTitle(), QStringLiteral("Attente de déclenchement un peu longue..."));
    QCOMPARE(f.LabelQuestion->text(),
             QStringLiteral("Le déclenchement se fait attendre... Que faut-il faire ?"));
    QCOMPARE(f.BContinuerAttente->text(), QStringLiteral("Continuer d'attendre"));
    QCOMPARE(f.BVerifierConnexion->text(), QStringLiteral("Vérifier la connexion de la centrale "));
    QCOMPARE(f.BArreter->text(), QStringLiteral("Arrêter l'acquisition"));
    QVERIFY(!f.isModal());
}

void TestAttenteQuestion::reponsesAttente() {
    QWidget principale;
    principale.setGeometry(100, 100, 800, 600);
    TFicheKirvaneAttenteDeclAcq f(&principale);
    QSignalSpy spy(&f, &TFicheKirvaneAttenteDeclAcq::choixFait);
    struct Cas {
        QPushButton* bouton;
        ChoixAttente choix;
    };
    const Cas cas[] = {{f.BArreter, ChoixAttente::arreter},
                       {f.BVerifierConnexion, ChoixAttente::verifier},
                       {f.BContinuerAttente, ChoixAttente::continuer}};
    for (const Cas& c : cas) {
        f.montrer();
        QVERIFY(f.isVisible());
        QTest::mouseClick(c.bouton, Qt::LeftButton);
        QVERIFY(!f.isVisible());
        QCOMPARE(f.resultat(), c.choix);
        QCOMPARE(spy.takeFirst().at(0).value<ChoixAttente>(), c.choix);
    }
    // Escape: the acquisition goes on waiting.
    f.montrer();
    QTest::mouseClick(f.BArreter, Qt::LeftButton);
    f.montrer();
    QTest::keyClick(&f, Qt::Key_Escape);
    QVERIFY(!f.isVisible());
    QCOMPARE(f.resultat(), ChoixAttente::continuer);
}

void TestAttenteQuestion::questionEnFrancais() {
    auto boite =
        creerQuestionOuiNonAnnuler(nullptr, QStringLiteral("Kirvane"),
                                   QStringLiteral("Désirez-vous enregistrer les mesures ?"));
    QCOMPARE(boite->button(QMessageBox::Yes)->text(), QStringLiteral("Oui"));
    QCOMPARE(boite->button(QMessageBox::No)->text(), QStringLiteral("Non"));
    QCOMPARE(boite->button(QMessageBox::Cancel)->text(), QStringLiteral("Annuler"));
    QCOMPARE(boite->icon(), QMessageBox::Question);
    QCOMPARE(boite->text(), QStringLiteral("Désirez-vous enregistrer les mesures ?"));
}

void TestAttenteQuestion::reponsesQuestion_data() {
    QTest::addColumn<int>("touche"); // 0: click the button below
    QTest::addColumn<int>("bouton");
    QTest::addColumn<int>("reponse");
    QTest::newRow("Oui") << 0 << int(QMessageBox::Yes) << int(ReponseOuiNonAnnuler::oui);
    QTest::newRow("Non") << 0 << int(QMessageBox::No) << int(ReponseOuiNonAnnuler::non);
    QTest::newRow("Annuler") << 0 << int(QMessageBox::Cancel) << int(ReponseOuiNonAnnuler::annuler);
    QTest::newRow("Echap") << int(Qt::Key_Escape) << 0 << int(ReponseOuiNonAnnuler::annuler);
}

void TestAttenteQuestion::reponsesQuestion() {
    QFETCH(int, touche);
    QFETCH(int, bouton);
    QFETCH(int, reponse);
    // Answer as soon as the box is up.
    QTimer::singleShot(0, [=] {
        auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(boite);
        if (touche)
            QTest::keyClick(boite, Qt::Key(touche));
        else
            boite->button(QMessageBox::StandardButton(bouton))->click();
    });
    const ReponseOuiNonAnnuler r =
        questionOuiNonAnnuler(nullptr, QStringLiteral("Kirvane"), QStringLiteral("Une question ?"));
    QCOMPARE(int(r), reponse);
}

void TestAttenteQuestion::traductionsDeQt() {
    if (!installerTraductionsFrancaises(*qApp))
        QSKIP("Les traductions françaises de Qt ne sont pas installées");
    QDialogButtonBox boutons(QDialogButtonBox::Yes | QDialogButtonBox::No |
                             QDialogButtonBox::Cancel);
    QCOMPARE(boutons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
             QStringLiteral("Annuler"));
    QCOMPARE(boutons.button(QDialogButtonBox::Yes)->text().remove(QLatin1Char('&')),
             QStringLiteral("Oui"));
}

QTEST_MAIN(TestAttenteQuestion)
#include "qtest_attente_question.moc"
