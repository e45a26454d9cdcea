#pragma once
// The controls of the main window, under the names the program gives them. The window
// places them by code (no layout managers): every position follows the window's size.
#include "boutonsoutils.h"
#include "grillemesures.h"
#include "vueimage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <array>
#include <utility>
#include <vector>

class QWidget;

// A radio group: a titled box of exclusive radio buttons, with the item index.
class TGroupeRadio : public QGroupBox {
    Q_OBJECT
public:
    TGroupeRadio(const QString& titre, QWidget* parent);
    void setElements(const QStringList& textes);
    int itemIndex() const;
    void setItemIndex(int i);
    int nbElements() const { return static_cast<int>(boutons_.size()); }
    QRadioButton* bouton(int i) const { return boutons_.at(i); }

signals:
    void clique(int index);

private:
    std::vector<QRadioButton*> boutons_;
};

struct TComposantsFiche {
    // Tool bar
    QFrame* PBoutons = nullptr;
    QToolButton* SBNouveau = nullptr;
    QToolButton* SBenregistrerRW3 = nullptr;
    QToolButton* SBenregistrerTXT = nullptr;
    QToolButton* SBEnregistrerCSV = nullptr;
    QToolButton* SBTransfertDirectREG = nullptr;
    QToolButton* SBTransfertDirectExcel = nullptr;
    QToolButton* SBtransfertDirectOOLO = nullptr;
    QToolButton* SBMesures = nullptr;
    QToolButton* SBVoirTableau = nullptr;
    QToolButton* SBOptions = nullptr;
    QToolButton* SBAproposDe = nullptr;
    QToolButton* SBQuitter = nullptr;
    std::vector<QToolButton*> SBCentrales_;
    QFrame* PPointage = nullptr;
    QLabel* LSerie = nullptr;
    QLineEdit* EditSerieP = nullptr;
    QLabel* Lpoint = nullptr;
    QLineEdit* EditPointP = nullptr;
    QFrame* Panel2 = nullptr;
    QLineEdit* EditMessageX = nullptr;
    QLineEdit* EditPresence = nullptr;
    QProgressBar* PBarExcel = nullptr;

    // Settings panel
    QFrame* panelParametres = nullptr;
    QFrame* PTitreReglagesTemporels = nullptr;
    QLabel* LReglages = nullptr;
    QToolButton* SBRedRegTemp = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QFrame* PanelMesuresPeriodiques = nullptr;
    QGroupBox* GBParametresTemporels = nullptr;
    QLabel* LDureeTotale = nullptr;
    QComboBox* CBDureeTotale = nullptr;
    QToolButton* SBDureeTotalePlus = nullptr;
    QToolButton* SBDureeTotaleMoins = nullptr;
    QLabel* LNombreDePoints = nullptr;
    QComboBox* CBNbPoints = nullptr;
    QToolButton* SBNbPointsPlus = nullptr;
    QToolButton* SBNbPointsMoins = nullptr;
    QLabel* LabelTe = nullptr;
    QLabel* iTe = nullptr;
    QPushButton* BAcquisitionPrecedente = nullptr;
    QGroupBox* GBDeclenchement = nullptr;
    QLabel* LType = nullptr;
    QComboBox* CBTypeDeclenchement = nullptr;
    TGroupeRadio* RGSensDeclenchement = nullptr;
    QLabel* LVoieDecl = nullptr;
    QComboBox* CBVoieSynchro = nullptr;
    QLabel* LSeuil = nullptr;
    QLineEdit* EditUSeuilDecl = nullptr;
    QLabel* LPretrig = nullptr;
    QComboBox* CBPretrigX = nullptr;
    QCheckBox* CBAjouterCourbes = nullptr;
    QCheckBox* CBModePermanent = nullptr;
    QPushButton* BAcquisition = nullptr;

    // Channel panel
    QFrame* PanelVoies = nullptr;
    QLabel* LPatience = nullptr; // the panel's caption
    QToolButton* SBRedRegVoies = nullptr;
    QScrollArea* ScrBoxVoies = nullptr;
    QWidget* contenuVoies = nullptr; // what the scroll box scrolls
    std::array<QGroupBox*, 4> gbCanaux{};
    std::array<QCheckBox*, 4> CBModeDiff{};
    std::array<QLabel*, 8> LTitreVoies{};
    std::array<QCheckBox*, 8> CBVoiesActives{};
    std::array<TGroupeRadio*, 8> RGCalsEA{};
    std::array<QLabel*, 8> LValU1{};
    std::array<QLabel*, 8> LValUInd{};
    std::array<QLabel*, 8> LEgale{};
    std::array<QLineEdit*, 8> EditValU{};
    std::array<QLabel*, 8> legendes{};
    QFrame* PanelMesuresSurEcran = nullptr;
    QPushButton* BFermerMesuresSurEcran = nullptr;
    QGroupBox* GBMesureTemps = nullptr;
    QLabel *LInstant1 = nullptr, *LInstant2 = nullptr, *LIntervallet = nullptr;
    QLineEdit *EditT0M = nullptr, *EditTFM = nullptr, *EditDTM = nullptr;
    QGroupBox* GBMesureU = nullptr;
    QLabel *LUMax = nullptr, *LUMin = nullptr, *LIntervalleU = nullptr, *LAxeVertical = nullptr;
    QLineEdit *EditUmaxM = nullptr, *EditUMinM = nullptr, *EditDUM = nullptr;
    QComboBox* CBAxes = nullptr;

    // Central panel: the graph and the table
    QFrame* PanelEcranTab = nullptr;
    QWidget* PEcran = nullptr;
    TVueImage* iEcranX = nullptr;
    QFrame* PanelSBH = nullptr;
    QToolButton *SBZoomMoinsH = nullptr, *SBZoomPlusH = nullptr;
    QScrollBar* SBHor = nullptr;
    QFrame* PanelSBV = nullptr;
    QToolButton *SBZoomPlusV = nullptr, *SBZoomMoinsV = nullptr;
    QScrollBar* SBVert = nullptr;
    QFrame* Splitter1 = nullptr;
    QFrame* PTableau = nullptr;
    TGrilleMesures* SGMesures = nullptr; // fills PTableau

    // The twelve picture buttons of the tool bar with their role, in tool-bar order.
    std::array<std::pair<QToolButton*, TBoutonOutil>, 12> boutonsOutils() const;
};

// Builds every control under racine, with its fixed texts.
void construireComposants(TComposantsFiche& c, QWidget* racine);
