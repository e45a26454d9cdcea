#include "calclibreoffice.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

QStringList argumentsSoffice(const TOptionsLibreOffice& options, const QString& tube) {
    QStringList a{QStringLiteral("--accept=pipe,name=") + tube +
                      QStringLiteral(";urp;StarOffice.ComponentContext"),
                  QStringLiteral("--norestore"), QStringLiteral("--nologo")};
    if (!options.profilInvisible.isEmpty())
        a << QStringLiteral("--headless") << QStringLiteral("--invisible")
          << QStringLiteral("--nodefault") << QStringLiteral("--nolockcheck")
          << QStringLiteral("-env:UserInstallation=") +
                 QUrl::fromLocalFile(options.profilInvisible).toString(QUrl::FullyEncoded);
    return a;
}

QString tubeParDefaut() {
    QString nom = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    nom.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9_]")));
    return QStringLiteral("kirvane_calc_") + nom;
}
