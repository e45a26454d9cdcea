// The command-line tool: the program's detection, settings, engine and file writers
// without a window.
#include "executioncli.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kirvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Kirvane"));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return executerCli(arguments);
}
