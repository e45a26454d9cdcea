#include "fichekirvanemixte.h"

TFicheKirvaneMixte::TFicheKirvaneMixte(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QString::fromUtf8(TITRE_FICHE_PRINCIPALE));
    resize(1060, 725);
}
