#include "systemeexcel.h"

#include <QDesktopServices>
#include <QUrl>

bool ouvrirDocumentSysteme(const QString& chemin) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(chemin));
}
