#pragma once

#include <QMainWindow>

// The main window. It composes the unit manager, the settings, the series store,
// the acquisition engine, the graph and the exports; for now it only carries its caption.
class TFicheKirvaneMixte : public QMainWindow {
    Q_OBJECT
public:
    explicit TFicheKirvaneMixte(QWidget* parent = nullptr);
};

// Caption of the main window.
inline constexpr const char* TITRE_FICHE_PRINCIPALE =
    "Kirvane : pilotage des interfaces SYSAM SP5, SYSAM V6 et SYSAM CAMPUS";
