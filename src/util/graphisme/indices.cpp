#include "indices.h"

#include "couleursqt.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

enum class TNiveau { NORMAL, EXPOSANT, INDICE };

struct TSegment {
    QString texte;
    TNiveau niveau;
};

// Cuts a prepared text where its level changes; the control characters are not drawn.
std::vector<TSegment> decouper(const QString& prepare) {
    std::vector<TSegment> segments;
    TNiveau niveau = TNiveau::NORMAL;
    QString courant;
    auto fermer = [&](TNiveau suivant) {
        if (!courant.isEmpty())
            segments.push_back({courant, niveau});
        courant.clear();
        niveau = suivant;
    };
    for (const QChar c : prepare) {
        switch (c.unicode()) {
        case DEBUT_EXPOSANT:
            fermer(TNiveau::EXPOSANT);
            break;
        case DEBUT_INDICE:
            fermer(TNiveau::INDICE);
            break;
        case FIN_EXPOSANT:
        case FIN_INDICE:
            fermer(TNiveau::NORMAL);
            break;
        default:
            courant += c;
        }
    }
    fermer(TNiveau::NORMAL);
    return segments;
}

// The font at 3/4 of the painter's size, in the unit the painter's font is given in.
QFont petitePolice(const QFont& police) {
    QFont petite = police;
    if (police.pixelSize() > 0)
        petite.setPixelSize(std::max(1, police.pixelSize() * 3 / 4));
    else
        petite.setPointSizeF(police.pointSizeF() * 3 / 4);
    return petite;
}

int largeurSegments(const std::vector<TSegment>& segments, const QFontMetrics& normale,
                    const QFontMetrics& petite) {
    int w = 0;
    for (const TSegment& s : segments)
        w += (s.niveau == TNiveau::NORMAL ? normale : petite).horizontalAdvance(s.texte);
    return w;
}

} // namespace

QSize tailleTexteIndices(const QFont& police, const QString& texte, QPaintDevice* support) {
    const QFontMetrics normale(police, support);
    const QFontMetrics petite(petitePolice(police), support);
    const int h = normale.height();
    const int w = largeurSegments(decouper(preparerTexteIndices(texte)), normale, petite);
    return {w + 2 * (h / 4), h + 2};
}

QString preparerTexteIndices(const QString& texte) {
    QString resultat;
    resultat.reserve(texte.size());
    const qsizetype n = texte.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = texte[i];
        const bool double_ = i + 1 < n && texte[i + 1] == c;
        switch (c.unicode()) {
        case u'(':
        case u')':
        case u'[':
        case u']':
            if (double_) {
                resultat += c;
                ++i;
            } else {
                resultat += QChar(c == u'('   ? DEBUT_EXPOSANT
                                  : c == u')' ? FIN_EXPOSANT
                                  : c == u'[' ? DEBUT_INDICE
                                              : FIN_INDICE);
            }
            break;
        case u'/':
            if (i + 2 < n && texte[i + 1] == u'/' &&
                (texte[i + 2] == u'1' || texte[i + 2] == u'2')) {
                resultat += QChar(texte[i + 2] == u'1' ? 7 : 8);
                i += 2;
            } else {
                resultat += c;
            }
            break;
        default:
            resultat += c;
        }
    }
    return resultat;
}

void dessinerTexteIndices(QPainter& canvas, int x, int y, int maxX, int maxY, int ancre, int effet,
                          TColor couleurTexte, std::int64_t couleurFond, TColor couleurHalo,
                          const QString& texte) {
    canvas.save(); // brush, font and pen come back as they were

    const QFont police = canvas.font();
    const QFont petite = petitePolice(police);
    const QFontMetrics mesureNormale(police, canvas.device());
    const QFontMetrics mesurePetite(petite, canvas.device());
    const int h = mesureNormale.height();
    const int m = h / 4;

    const std::vector<TSegment> segments = decouper(preparerTexteIndices(texte));
    const int largeur = largeurSegments(segments, mesureNormale, mesurePetite) + 2 * m;
    const int hauteur = h + 2;
    switch (ancre) {
    case 1:
        x -= largeur;
        y -= hauteur;
        break;
    case 2:
        x -= largeur;
        break;
    case 4:
        y -= hauteur;
        break;
    case 5:
        x += (maxX - x - largeur) / 2;
        break;
    default:
        break;
    }
    if (maxX > 0) {
        x = std::min(x, maxX - largeur);
        // The whole box stays above maxY, not only its top part.
        y = std::min(y, maxY - hauteur);
    }
    if (maxY > 0) {
        x = std::max(x, 0);
        y = std::max(y, 0);
    }

    if (couleurFond > FOND_TRANSPARENT)
        canvas.fillRect(QRect(x, y, largeur, hauteur), versQColor(std::uint32_t(couleurFond)));

    canvas.setBackgroundMode(Qt::TransparentMode);
    canvas.setBrush(Qt::NoBrush);
    auto dessiner = [&](int dx, int dy, const QColor& couleur) {
        canvas.setPen(couleur);
        int crayon = x + dx;
        for (const TSegment& s : segments) {
            const bool petit = s.niveau != TNiveau::NORMAL;
            const QFontMetrics& mesure = petit ? mesurePetite : mesureNormale;
            // Superscripts share the top of the normal text; subscripts sit h / 2 lower.
            const int haut = y + dy + (s.niveau == TNiveau::INDICE ? h / 2 : 0);
            canvas.setFont(petit ? petite : police);
            canvas.drawText(QPoint(crayon, haut + mesure.ascent()), s.texte);
            crayon += mesure.horizontalAdvance(s.texte);
        }
    };
    if (effet == 1) {
        const QColor halo = versQColor(couleurHalo);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                dessiner(dx, dy, halo);
    } else if (effet == 2) {
        constexpr int ombres[4][2] = {{1, 1}, {0, 1}, {1, 0}, {1, -1}};
        constexpr int lumieres[4][2] = {{-1, -1}, {-1, 0}, {-1, -1}, {0, -1}};
        for (const auto& d : ombres)
            dessiner(d[0], d[1], Qt::black);
        for (const auto& d : lumieres)
            dessiner(d[0], d[1], Qt::white);
    }
    dessiner(0, 0, versQColor(couleurTexte));

    canvas.restore();
}
