#include "chaines.h"

QString partieTexte(const QString& texte, int partie) {
    const qsizetype barre = texte.indexOf(u'|');
    if (barre < 0)
        return texte;
    return partie == 1 ? texte.left(barre) : texte.mid(barre + 1);
}

bool dansRectangle(int x, int y, int gauche, int haut, int droite, int bas) {
    return gauche <= x && x <= droite && haut <= y && y <= bas;
}

QString sautsDeLigne(const QString& texte) {
    QString r = texte;
    r.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    r.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    r.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return r;
}
