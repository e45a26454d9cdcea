#include "fichekirvanemixte.h"
#include "formats.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kirvane"));
    QApplication::setOrganizationName(QStringLiteral("Kirvane"));
    // Numbers shown to the user take the regional decimal separator, captured once.
    capturerSeparateurDecimal();
    TFicheKirvaneMixte fiche;
    fiche.show();
    return QApplication::exec();
}
