#pragma once
// The preferences dialog: default timing, frame erasing and pretrigger limit; the transfer
// options and the Regressi program; the decimal separator of the CSV files; the curve
// colours of the eight inputs.
#include "preferences.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

// The guide texts of the three transfer pages, lines ended by carriage return and line feed.
extern const char* const guideTransfertRegressi;
extern const char* const guideTransfertExcel;
extern const char* const guideTransfertOOLO;

class TFicheKirvaneMixteOptions : public QDialog {
public:
    explicit TFicheKirvaneMixteOptions(const QString& titreApplication, QWidget* parent = nullptr);

    // Loads the values, the unit and the lists before the dialog is shown (FormShow).
    // cheminOfficielREGRESSI empty: Regressi has no standard place ("par défaut" disabled).
    void preparer(const TValeursPreferences& valeurs, const TUnitePreferences& unite,
                  const QStringList& durees, const QStringList& nbPoints,
                  const QString& cheminOfficielREGRESSI);
    // The values as the controls show them (what "Appliquer" gives). After "Annuler" the
    // default duration and point count are those of preparer.
    TValeursPreferences valeurs() const;
    // The Regressi program chosen, as "Appliquer" settles it.
    TRegressiChoisi regressi() const;

    // Replaceable by tests: the information box, the colour chooser (the colour chosen, or
    // nothing when cancelled), the open dialog of the Regressi program, file existence.
    std::function<void(const QString&)> informer;
    std::function<std::optional<TColor>(TColor depart, const QString& titre)> choisirCouleur;
    std::function<QString()> choisirProgrammeRegressi;
    std::function<bool(const QString&)> fichierExiste;

    TReglesPreferences regles;
    double DureeTotaleDFT0 = 0.02;
    int64_t NbPtsDFT0 = 1001;
    bool bloqueCBREGDefaut = false;

    QPushButton* BOptionsOK;
    QPushButton* BOptionsAnnuler;
    QTabWidget* PCPreferences;
    QWidget* TSparametresTemporels;
    QWidget* TSTransfertRegressi;
    QWidget* TSTransfertEXCEL;
    QWidget* TSTransfertOO;
    QWidget* TSCouleurs;
    // Time page
    QRadioButton* RBEffacerTrame;
    QRadioButton* RBNePasEffacerTrame;
    QComboBox* CBDureeTotaledft;
    QComboBox* CBNbPointsdft;
    QPushButton* BParametresActuels;
    QGroupBox* GBPretrig;
    QComboBox* CBSeuilPretrig;
    QPushButton* BtSeuilPretrigDefaut;
    // Regressi page
    QRadioButton* RBTransfertREGNouveauFichier;
    QRadioButton* RBTransfertREGNouvellePage;
    QRadioButton* RBTransfertREGDemander;
    QCheckBox* CBREGDEfaut;
    QPushButton* BVersionRegressi;
    QLineEdit* EditCheminVersionREG;
    QPlainTextEdit* MemoGuideTransfertRegressi;
    // Excel page, with the CSV separator
    QRadioButton* RBTransfertEXCELNouveauClasseur;
    QRadioButton* RBTransfertEXCELNouvelleFeuille;
    QRadioButton* RBTransfertEXCELDemander;
    QPlainTextEdit* MemoGuideTransfertExcel;
    QRadioButton* RBSeparateurCSVPoint;
    QRadioButton* RBSeparateurCSVVirgule;
    // Calc page
    QRadioButton* RBTransfertOONouveauClasseur;
    QRadioButton* RBTransfertOONouvelleFeuille;
    QRadioButton* RBTransfertOODemander;
    QPlainTextEdit* MemoGuideTransfertOOLO;
    // Colour page
    std::array<QGroupBox*, 4> gbCanaux{};
    std::array<QLabel*, 8> lbs{};
    std::array<QPushButton*, 8> pCVoies{};
    std::array<TColor, 8> couleursPanneaux{};
    QCheckBox* CBCouleursRegressi;
    QPushButton* BReinitialiserCouleurs;
    QCheckBox* CBEnregistrerCouleurs;

    // The click on a colour panel.
    void clicCouleur(int i);

public slots:
    // "Appliquer": the two typed fields are checked again (a click may come before a field
    // is left); the dialog stays open while one is refused.
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    void construirePageTemps();
    void construirePageRegressi();
    void construirePageExcel();
    void construirePageOO();
    void construirePageCouleurs();
    void afficherIndexs();
    bool sortieDuree();
    bool sortieNbPoints();
    void colorerPanneau(int i, TColor c);
    void clicVersionRegressi();
    void clicREGDefaut(bool coche);

    QString cheminOfficielREGRESSI_;
    std::array<TColor, 8> clsV0_{};
    bool dansSortie_ = false;
};
