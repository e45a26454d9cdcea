#include "fichekirvanemixte.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kirvane"));
    QApplication::setOrganizationName(QStringLiteral("Kirvane"));
    TFicheKirvaneMixte fiche;
    fiche.show();
    return QApplication::exec();
}
