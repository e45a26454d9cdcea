#include "fichekirvaneattentedeclacq.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFicheKirvaneAttenteDeclAcq::TFicheKirvaneAttenteDeclAcq(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Attente de déclenchement un peu longue..."));
    setModal(false);
    LabelQuestion =
        new QLabel(QStringLiteral("Le déclenchement se fait attendre... Que faut-il faire ?"));
    LabelQuestion->setAlignment(Qt::AlignCenter);
    BContinuerAttente = new QPushButton(QStringLiteral("Continuer d'attendre"));
    BVerifierConnexion = new QPushButton(QStringLiteral("Vérifier la connexion de la centrale "));
    BArreter = new QPushButton(QStringLiteral("Arrêter l'acquisition"));
    BContinuerAttente->setDefault(true);

    auto* boutons = new QHBoxLayout;
    boutons->addWidget(BContinuerAttente);
    boutons->addWidget(BVerifierConnexion);
    boutons->addWidget(BArreter);
    auto* colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(16, 16, 16, 12);
    colonne->setSpacing(16);
    colonne->addWidget(LabelQuestion);
    colonne->addLayout(boutons);
    setFixedSize(sizeHint());

    connect(BContinuerAttente, &QPushButton::clicked, this,
            [this] { choisir(ChoixAttente::continuer); });
    connect(BVerifierConnexion, &QPushButton::clicked, this,
            [this] { choisir(ChoixAttente::verifier); });
    connect(BArreter, &QPushButton::clicked, this, [this] { choisir(ChoixAttente::arreter); });
}

void TFicheKirvaneAttenteDeclAcq::montrer() {
    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
    show();
    raise();
}

void TFicheKirvaneAttenteDeclAcq::choisir(ChoixAttente choix) {
    resultat_ = choix;
    hide();
    emit choixFait(choix);
}

void TFicheKirvaneAttenteDeclAcq::reject() {
    // Escape or the close box: the acquisition simply goes on waiting.
    choisir(ChoixAttente::continuer);
}
