// The window shown when the trigger is long in coming. It has no modal loop: the acquisition
// keeps waiting while it is shown, and reads the user's answer when it comes.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

enum class ChoixAttente { continuer, verifier, arreter };

class TFicheKirvaneAttenteDeclAcq : public QDialog {
    Q_OBJECT
public:
    explicit TFicheKirvaneAttenteDeclAcq(QWidget* parent = nullptr);

    // Shows the window centred on its parent (the main window), without a modal loop.
    void montrer();
    // The last answer; closing the window counts as "Continuer d'attendre".
    ChoixAttente resultat() const { return resultat_; }

    QLabel* LabelQuestion;
    QPushButton* BContinuerAttente;
    QPushButton* BVerifierConnexion;
    QPushButton* BArreter;

signals:
    void choixFait(ChoixAttente choix);

public slots:
    void reject() override;

private:
    void choisir(ChoixAttente choix);
    ChoixAttente resultat_ = ChoixAttente::continuer;
};
