#include "imagesboutons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

// Colours of the groups of the tool bar: files, transfers, views, settings and help, quit.
const QColor BLEU_FICHIERS(31, 95, 191);
const QColor VERT_TRANSFERTS(46, 139, 58);
const QColor ORANGE_VUES(224, 123, 0);
const QColor VIOLET_REGLAGES(106, 63, 160);
const QColor ROUGE_QUITTER(198, 40, 40);
const QColor ENCRE(30, 30, 40);

void texteCentre(QPainter& p, const QRectF& r, const QString& texte, double taille,
                 const QColor& couleur) {
    QFont f = p.font();
    f.setPixelSize(static_cast<int>(taille));
    f.setBold(true);
    p.setFont(f);
    p.setPen(couleur);
    p.drawText(r, Qt::AlignCenter, texte);
}

// A diskette with a short mark of the file format on its label.
void disquette(QPainter& p, const QString& marque) {
    p.setPen(QPen(ENCRE, 2));
    p.setBrush(BLEU_FICHIERS);
    QPainterPath corps;
    corps.moveTo(6, 6);
    corps.lineTo(50, 6);
    corps.lineTo(58, 14);
    corps.lineTo(58, 58);
    corps.lineTo(6, 58);
    corps.closeSubpath();
    p.drawPath(corps);
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(QRectF(18, 6, 26, 14));
    p.setBrush(BLEU_FICHIERS.darker(140));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(34, 9, 6, 9));
    p.setPen(QPen(ENCRE, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(10, 27, 44, 28));
    texteCentre(p, QRectF(8, 25, 48, 32), marque, 21, BLEU_FICHIERS.darker(160));
}

// An arrow towards a target program, named by a short mark in a box.
void transfert(QPainter& p, const QString& marque, const QColor& couleurMarque, double taille) {
    p.setPen(QPen(ENCRE, 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(22, 4, 38, 34), 5, 5);
    texteCentre(p, QRectF(22, 4, 38, 34), marque, taille, couleurMarque);
    QPolygonF fleche;
    fleche << QPointF(4, 40) << QPointF(26, 40) << QPointF(26, 30) << QPointF(46, 47)
           << QPointF(26, 62) << QPointF(26, 53) << QPointF(4, 53);
    p.setPen(QPen(VERT_TRANSFERTS.darker(150), 1.5));
    p.setBrush(VERT_TRANSFERTS);
    p.drawPolygon(fleche);
}

void nouveau(QPainter& p) {
    p.setPen(QPen(ENCRE, 2));
    p.setBrush(Qt::white);
    QPolygonF page;
    page << QPointF(12, 6) << QPointF(38, 6) << QPointF(50, 18) << QPointF(50, 60)
         << QPointF(12, 60);
    p.drawPolygon(page);
    p.setBrush(QColor(215, 225, 240));
    p.drawPolygon(QPolygonF() << QPointF(38, 6) << QPointF(38, 18) << QPointF(50, 18));
    p.setPen(QPen(BLEU_FICHIERS, 2.5));
    for (int y = 28; y <= 50; y += 7)
        p.drawLine(QPointF(18, y), QPointF(44, y));
    // A star: the page is blank and ready.
    QPolygonF etoile;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double r = i % 2 == 0 ? 13 : 5.5;
        etoile << QPointF(47 + r * std::cos(a), 15 + r * std::sin(a));
    }
    p.setPen(QPen(QColor(150, 90, 0), 1.2));
    p.setBrush(QColor(255, 200, 0));
    p.drawPolygon(etoile);
}

void mesures(QPainter& p) {
    p.setPen(QPen(ENCRE, 2.5));
    p.drawLine(QPointF(6, 4), QPointF(6, 58));
    p.drawLine(QPointF(6, 58), QPointF(60, 58));
    QPainterPath courbe;
    courbe.moveTo(8, 34);
    for (int x = 8; x <= 60; ++x)
        courbe.lineTo(x, 34 - 18 * std::sin((x - 8) * 2 * M_PI / 40));
    p.setPen(QPen(BLEU_FICHIERS, 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(courbe);
    QPen curseur(ORANGE_VUES, 3);
    curseur.setDashPattern({2, 1.5});
    p.setPen(curseur);
    p.drawLine(QPointF(18, 6), QPointF(18, 56));
    p.drawLine(QPointF(48, 6), QPointF(48, 56));
    p.setPen(QPen(ORANGE_VUES.darker(130), 2.5));
    p.drawLine(QPointF(20, 62 - 10), QPointF(46, 62 - 10));
    p.setBrush(ORANGE_VUES.darker(130));
    p.drawPolygon(QPolygonF() << QPointF(19, 52) << QPointF(25, 48) << QPointF(25, 56));
    p.drawPolygon(QPolygonF() << QPointF(47, 52) << QPointF(41, 48) << QPointF(41, 56));
}

void tableau(QPainter& p) {
    p.setPen(QPen(ENCRE, 2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 8, 52, 50));
    p.setBrush(ORANGE_VUES);
    p.drawRect(QRectF(6, 8, 52, 12));
    p.setPen(QPen(ENCRE, 1.5));
    for (double x : {23.3, 40.6})
        p.drawLine(QPointF(x, 8), QPointF(x, 58));
    for (double y : {29.5, 39.0, 48.5})
        p.drawLine(QPointF(6, y), QPointF(58, y));
}

void options(QPainter& p) {
    QPainterPath roue;
    const int dents = 8;
    for (int i = 0; i < dents * 4; ++i) {
        const double a = i * 2 * M_PI / (dents * 4) - M_PI / (dents * 4) * 1.5;
        const double r = (i % 4 == 0 || i % 4 == 1) ? 28 : 20;
        const QPointF pt(32 + r * std::cos(a), 32 + r * std::sin(a));
        if (i == 0)
            roue.moveTo(pt);
        else
            roue.lineTo(pt);
    }
    roue.closeSubpath();
    roue.addEllipse(QPointF(32, 32), 8, 8);
    roue.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(VIOLET_REGLAGES.darker(160), 2));
    p.setBrush(VIOLET_REGLAGES);
    p.drawPath(roue);
}

void aPropos(QPainter& p) {
    p.setPen(QPen(VIOLET_REGLAGES.darker(160), 2));
    p.setBrush(QColor(120, 90, 200));
    p.drawEllipse(QPointF(32, 32), 27, 27);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(32, 17), 5, 5);
    p.drawRoundedRect(QRectF(27, 26, 10, 26), 3, 3);
}

void quitter(QPainter& p) {
    // A door left ajar, with an arrow going out.
    p.setPen(QPen(ENCRE, 2));
    p.setBrush(QColor(230, 225, 215));
    p.drawRect(QRectF(8, 6, 30, 52));
    p.setBrush(QColor(150, 95, 50));
    p.drawPolygon(QPolygonF() << QPointF(8, 6) << QPointF(26, 12) << QPointF(26, 62)
                              << QPointF(8, 58));
    p.setBrush(ENCRE);
    p.drawEllipse(QPointF(21, 36), 2, 2);
    QPolygonF fleche;
    fleche << QPointF(30, 27) << QPointF(44, 27) << QPointF(44, 17) << QPointF(62, 32)
           << QPointF(44, 47) << QPointF(44, 37) << QPointF(30, 37);
    p.setPen(QPen(ROUGE_QUITTER.darker(150), 1.5));
    p.setBrush(ROUGE_QUITTER);
    p.drawPolygon(fleche);
}

void dessiner(QPainter& p, ImageBouton b) {
    switch (b) {
    case ImageBouton::Nouveau:
        return nouveau(p);
    case ImageBouton::EnregistrerRW3:
        return disquette(p, QStringLiteral("rw3"));
    case ImageBouton::EnregistrerTXT:
        return disquette(p, QStringLiteral("txt"));
    case ImageBouton::EnregistrerCSV:
        return disquette(p, QStringLiteral("csv"));
    case ImageBouton::TransfertREG:
        return transfert(p, QStringLiteral("R"), QColor(170, 30, 30), 30);
    case ImageBouton::TransfertExcel:
        return transfert(p, QStringLiteral("X"), QColor(16, 110, 60), 30);
    case ImageBouton::TransfertOOLO:
        return transfert(p, QStringLiteral("Calc"), QColor(20, 90, 150), 15);
    case ImageBouton::Mesures:
        return mesures(p);
    case ImageBouton::VoirTableau:
        return tableau(p);
    case ImageBouton::Options:
        return options(p);
    case ImageBouton::AproposDe:
        return aPropos(p);
    case ImageBouton::Quitter:
        return quitter(p);
    }
}

QImage dessinNormal(ImageBouton b, int s, double decalage) {
    QImage img(s, s, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(decalage, decalage);
    p.scale(s / 64.0, s / 64.0);
    dessiner(p, b);
    return img;
}

// Grey, faded copy: what a disabled button shows.
QImage griser(const QImage& source) {
    QImage img = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = ligne[x];
            const int gris = qGray(c);
            const int clair = 120 + gris * 110 / 255;
            ligne[x] = qRgba(clair, clair, clair, qAlpha(c) * 3 / 4);
        }
    }
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

QImage imageBouton(ImageBouton bouton, EtatBouton etat, int s) {
    if (s <= 0)
        return {};
    // A pressed or latched picture moves one pixel down and right, as the button face sinks.
    const double decalage = std::max(1.0, s / 26.0);
    switch (etat) {
    case EtatBouton::Normal:
        return dessinNormal(bouton, s, 0);
    case EtatBouton::Desactive:
        return griser(dessinNormal(bouton, s, 0));
    case EtatBouton::Enfonce: {
        QImage img = dessinNormal(bouton, s, decalage);
        QPainter p(&img);
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        p.fillRect(img.rect(), QColor(0, 0, 0, 50));
        return img;
    }
    case EtatBouton::Verrouille: {
        QImage img(s, s, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(40, 90, 170), 1));
        p.setBrush(QColor(190, 215, 250, 200));
        p.drawRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), s / 8.0, s / 8.0);
        p.drawImage(0, 0, dessinNormal(bouton, s, decalage));
        return img;
    }
    }
    return {};
}

QIcon iconeBouton(ImageBouton bouton, int s) {
    QIcon icone;
    icone.addPixmap(QPixmap::fromImage(imageBouton(bouton, EtatBouton::Normal, s)), QIcon::Normal,
                    QIcon::Off);
    const QPixmap gris = QPixmap::fromImage(imageBouton(bouton, EtatBouton::Desactive, s));
    icone.addPixmap(gris, QIcon::Disabled, QIcon::Off);
    icone.addPixmap(gris, QIcon::Disabled, QIcon::On);
    icone.addPixmap(QPixmap::fromImage(imageBouton(bouton, EtatBouton::Enfonce, s)), QIcon::Active,
                    QIcon::Off);
    const QPixmap bas = QPixmap::fromImage(imageBouton(bouton, EtatBouton::Verrouille, s));
    icone.addPixmap(bas, QIcon::Normal, QIcon::On);
    icone.addPixmap(bas, QIcon::Active, QIcon::On);
    return icone;
}

QImage imageFlecheSpin(int w, int hb, bool plus, const QColor& faceBouton) {
    if (w <= 0 || hb <= 0)
        return {};
    QImage img(w + 4, hb + 4, QImage::Format_ARGB32);
    img.fill(faceBouton.rgb());
    // Pixel by pixel, so that the arrow is exactly the same on every platform.
    auto point = [&img](int x, int y, QRgb c) {
        if (img.rect().contains(x, y))
            img.setPixel(x, y, c);
    };
    const QRgb noir = qRgb(0, 0, 0);
    const QRgb blanc = qRgb(255, 255, 255);
    // Lines go from point to point, the end point left out: dark from (0, hb) to (w, hb) and
    // up to (w, 0); light from (1, hb - 1) up to (1, 1) and on to (w - 1, 1).
    for (int x = 0; x < w; ++x)
        point(x, hb, noir);
    for (int y = hb; y > 0; --y)
        point(w, y, noir);
    for (int y = hb - 1; y > 1; --y)
        point(1, y, blanc);
    for (int x = 1; x < w - 1; ++x)
        point(x, 1, blanc);
    // Filled triangle, outline included: base from c - d to c + d, apex d away.
    const int c = w / 2 + 1;
    const int d = hb / 3;
    const int base = plus ? 2 * hb / 3 + 1 : hb / 3 + 1;
    const int sens = plus ? -1 : 1;
    for (int i = 0; i <= d; ++i)
        for (int x = c - (d - i); x <= c + (d - i); ++x)
            point(x, base + sens * i, noir);
    // The marking pixel, and every pixel of its colour, becomes transparent.
    point(0, hb + 3, COULEUR_TRANSPARENTE_FLECHE);
    for (int y = 0; y < img.height(); ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (ligne[x] == COULEUR_TRANSPARENTE_FLECHE)
                ligne[x] = qRgba(0, 0, 0, 0);
    }
    return img;
}

QPixmap pixmapFlecheSpin(int w, int hb, bool plus, const QColor& faceBouton) {
    return QPixmap::fromImage(imageFlecheSpin(w, hb, plus, faceBouton));
}

QPixmap imageCentrale(int typeCentrale, int largeur, int hauteur) {
    QImage img(largeur, hauteur, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(largeur / 96.0, hauteur / 64.0);
    QColor corps;
    int bornes = 0;
    QString nom;
    switch (typeCentrale) {
    case 1:
        corps = QColor(70, 90, 120);
        bornes = 8;
        nom = QStringLiteral("SP5");
        break;
    case 2:
        corps = QColor(40, 110, 190);
        bornes = 3;
        nom = QStringLiteral("V6");
        break;
    default:
        corps = QColor(230, 120, 20);
        bornes = 4;
        nom = QStringLiteral("CAMPUS");
        break;
    }
    // The case of the unit, its name, and its row of input terminals.
    p.setPen(QPen(corps.darker(170), 2));
    p.setBrush(corps);
    p.drawRoundedRect(QRectF(4, 8, 88, 48), 8, 8);
    p.setBrush(corps.lighter(135));
    p.drawRoundedRect(QRectF(10, 14, 76, 18), 4, 4);
    texteCentre(p, QRectF(10, 13, 76, 20), nom, nom.size() > 3 ? 13 : 16, Qt::white);
    const double pas = 76.0 / bornes;
    for (int i = 0; i < bornes; ++i) {
        const QPointF centre(10 + pas * (i + 0.5), 44);
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(i % 2 == 0 ? QColor(200, 30, 30) : QColor(40, 40, 40));
        p.drawEllipse(centre, 4, 4);
    }
    // The USB lead.
    p.setPen(QPen(QColor(60, 60, 60), 3));
    p.drawLine(QPointF(92, 30), QPointF(95, 30));
    return QPixmap::fromImage(img);
}
