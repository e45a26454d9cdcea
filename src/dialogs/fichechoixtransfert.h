// The three transfer choice dialogs (Regressi, Excel, Calc): a new document or a new
// page/sheet in the current one. One design, three sets of texts; each is made once and
// asked again at every transfer that needs it.
#pragma once

#include "imagesboutons.h"

#include <QDialog>
#include <optional>

class QLabel;
class QPushButton;
class QRadioButton;

// Texts of one dialog.
struct TTextesChoixTransfert {
    QString titre;
    QString premierTexte;
    QString nouveauDocument; // radio button 1
    QString documentActuel;  // radio button 2
    ImageBouton illustration;
};

class TFicheChoixTransfert : public QDialog {
    Q_OBJECT
public:
    enum class TChoix { NouveauDocument, DocumentActuel };

    TFicheChoixTransfert(const TTextesChoixTransfert& textes, QWidget* parent);

    // Both buttons unticked, OK disabled, shown modally: the choice, or nothing when the user
    // cancels or closes the window.
    std::optional<TChoix> choisir();

    QLabel* LTexte;
    QRadioButton* RBNouveau;
    QRadioButton* RBActuel;
    QLabel* LOuBien;
    QLabel* LCochez;
    QLabel* LSinon;
    QLabel* IIllustration;
    QPushButton* BOK;
    QPushButton* BAnnuler;

    // Prepares the dialog for a use (both buttons unticked, OK disabled) without showing it.
    void preparer();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void majOK();
};

// Regressi: RBNouveauFichier, RBNouvellePage, BChoixTROK, BChoixTRAnnuler.
class TFicheKirvaneMixteChoixTR : public TFicheChoixTransfert {
    Q_OBJECT
public:
    explicit TFicheKirvaneMixteChoixTR(QWidget* parent = nullptr);
    QRadioButton* const RBNouveauFichier;
    QRadioButton* const RBNouvellePage;
    QPushButton* const BChoixTROK;
    QPushButton* const BChoixTRAnnuler;
};

// Excel: RBNouveauClasseur, RBNouvelleFeuille, BChoixTEOK, BChoixTEAnnuler.
class TFicheKirvaneMixteChoixTE : public TFicheChoixTransfert {
    Q_OBJECT
public:
    explicit TFicheKirvaneMixteChoixTE(QWidget* parent = nullptr);
    QRadioButton* const RBNouveauClasseur;
    QRadioButton* const RBNouvelleFeuille;
    QPushButton* const BChoixTEOK;
    QPushButton* const BChoixTEAnnuler;
};

// Calc: RBNouveauClasseurOO, RBNouvelleFeuilleOO, BChoixTOOOK, BChoixTOOAnnuler.
class TFicheKirvaneMixteChoixTOO : public TFicheChoixTransfert {
    Q_OBJECT
public:
    explicit TFicheKirvaneMixteChoixTOO(QWidget* parent = nullptr);
    QRadioButton* const RBNouveauClasseurOO;
    QRadioButton* const RBNouvelleFeuilleOO;
    QPushButton* const BChoixTOOOK;
    QPushButton* const BChoixTOOAnnuler;
};

// Colour of pixel column x of a client area w pixels wide: light grey (224, 224, 224) on
// the left lightened up to white on the right.
QColor couleurDegradeChoix(int x, int w);
