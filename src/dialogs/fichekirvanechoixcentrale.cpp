#include "fichekirvanechoixcentrale.h"

#include "chaines.h"
#include "imagesboutons.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

constexpr int LARGEUR_CLIENT = 760;
constexpr int MARGE = 16;
constexpr int LARGEUR_BOUTON = 150;
constexpr int HAUTEUR_BOUTON = 80;

// The texts are kept as the program writes them, with "\n\r" between lines; a label shows
// one line break for each.
QString lignes(const char* texte) {
    return sautsDeLigne(QString::fromUtf8(texte));
}

} // namespace

TFicheKirvaneChoixCentrale::TFicheKirvaneChoixCentrale(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Kirvane - Choix d'une centrale ... "));
    setModal(true);

    pChoixCentrale = new QFrame(this);
    pChoixCentrale->setFrameShape(QFrame::StyledPanel);
    pChoixCentrale->setFrameShadow(QFrame::Raised);

    LChoixCentrale = new QLabel(lignes("Plusieurs centrales sont connectées à l'ordinateur.\r\n"
                                       "Veuillez choisir celle qui doit être utilisée."),
                                pChoixCentrale);
    QFont fl = LChoixCentrale->font();
    fl.setPointSize(fl.pointSize() + 2);
    fl.setBold(true);
    LChoixCentrale->setFont(fl);

    struct Type {
        const char* nom;
        int tag;
        const char* commentaire;
    };
    static const std::array<Type, 3> types{{
        {"SYSAM SP5", 1,
         "- Fréquence d'échantillonnage maximale 10 MHz, 500 kHz si mode différentiel \n\r"
         "- Mode différentiel indépendant par canal\n\r"
         "- 8 entrées (sur 4 canaux), 4 calibres par voie\n\r"
         "- Capteurs non reconnus automatiquement"},
        {"SYSAM V6", 2,
         "- Fréquence d'échantillonnage maximale 100 kHz sur une voie,\n\r"
         "  50 kHz si deux voies activées, 33 kHz si trois voies activées  \n\r"
         "- 3 entrées analogiques différentielles de tension, 4 calibres\n\r"
         "  virtuels par voie\n\r"
         "- Capteurs non reconnus automatiquement"},
        {"SYSAM CAMPUS", 3,
         "- Fréquence d'échantillonnage maximale 10 MHz \n\r"
         "- 4 entrées différentielles de tension, 4 calibres par voie\n\r"
         "- Capteurs non reconnus automatiquement"},
    }};
    std::array<QToolButton*, 3> b{};
    std::array<QLabel*, 3> c{};
    for (int i = 0; i < 3; ++i) {
        b[i] = new QToolButton(pChoixCentrale);
        b[i]->setText(QString::fromUtf8(types[i].nom));
        b[i]->setProperty("tag", types[i].tag);
        b[i]->setCheckable(true);
        b[i]->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b[i]->setIcon(QIcon(imageCentrale(types[i].tag, 72, 48)));
        b[i]->setIconSize(QSize(72, 48));
        b[i]->setFixedSize(LARGEUR_BOUTON, HAUTEUR_BOUTON);
        connect(b[i], &QToolButton::clicked, this, [this, bouton = b[i]] { clicBouton(bouton); });
        c[i] = new QLabel(lignes(types[i].commentaire), pChoixCentrale);
        c[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    SBSysamSP5 = b[0];
    SBSysamV6 = b[1];
    SBSysamCAMPUS = b[2];
    LCommentaireSP5 = c[0];
    LCommentaireV6 = c[1];
    LCommentaireCAMPUS = c[2];

    BOKChoixCentrale = new QPushButton(QStringLiteral("OK"), pChoixCentrale);
    BAbandonner = new QPushButton(QStringLiteral("Abandonner"), pChoixCentrale);
    BOKChoixCentrale->setEnabled(false);
    connect(BOKChoixCentrale, &QPushButton::clicked, this, &QDialog::accept);
    connect(BAbandonner, &QPushButton::clicked, this, &TFicheKirvaneChoixCentrale::reject);

    // Fixed horizontal arrangement; the vertical one is PrepareChoixCentrale's.
    const int lPanneau = LARGEUR_CLIENT - 20;
    pChoixCentrale->setGeometry(10, 10, lPanneau, 0);
    LChoixCentrale->setGeometry(MARGE, MARGE, lPanneau - 2 * MARGE,
                                LChoixCentrale->sizeHint().height());
    const int xCommentaire = MARGE + LARGEUR_BOUTON + 14;
    for (QLabel* l : commentaires())
        l->setGeometry(xCommentaire, 0, lPanneau - xCommentaire - MARGE / 2, HAUTEUR_BOUTON);
    for (QToolButton* bouton : boutons())
        bouton->move(MARGE, 0);
    const QSize tailleBouton(120, 30);
    BOKChoixCentrale->resize(tailleBouton);
    BAbandonner->resize(tailleBouton);
    BOKChoixCentrale->move(lPanneau / 2 - tailleBouton.width() - 20, 0);
    BAbandonner->move(lPanneau / 2 + 20, 0);
    PrepareChoixCentrale({1, 2, 3});
}

void TFicheKirvaneChoixCentrale::PrepareChoixCentrale(const QSet<int>& typesCentrales) {
    int y = LChoixCentrale->y() + LChoixCentrale->height() + 40;
    for (int i = 0; i < 3; ++i) {
        QToolButton* bouton = boutons()[i];
        QLabel* commentaire = commentaires()[i];
        const int type = i + 1;
        const bool present = typesCentrales.contains(type);
        bouton->setVisible(present);
        commentaire->setVisible(present);
        if (!present)
            continue;
        bouton->move(bouton->x(), y);
        commentaire->move(commentaire->x(), y);
        y += type == 3 ? bouton->height() + 40 : 100;
    }
    BOKChoixCentrale->move(BOKChoixCentrale->x(), y);
    BAbandonner->move(BAbandonner->x(), y);
    pChoixCentrale->resize(pChoixCentrale->width(), BAbandonner->y() + BAbandonner->height() + 20);
    setFixedSize(LARGEUR_CLIENT, pChoixCentrale->y() + pChoixCentrale->height() + 10);
}

void TFicheKirvaneChoixCentrale::showEvent(QShowEvent* e) {
    for (QToolButton* bouton : boutons())
        bouton->setChecked(bouton->property("tag").toInt() == typeCentraleActive);
    // The kind already active counts as chosen, so that OK keeps it.
    typeCentraleAActiver1 = typeCentraleActive > 0 ? typeCentraleActive : -1;
    BOKChoixCentrale->setEnabled(typeCentraleActive != 0);
    QDialog::showEvent(e);
}

void TFicheKirvaneChoixCentrale::clicBouton(QToolButton* bouton) {
    if (bouton->isChecked()) {
        // At most one kind is down; all may be up.
        for (QToolButton* autre : boutons())
            if (autre != bouton)
                autre->setChecked(false);
        typeCentraleAActiver1 = bouton->property("tag").toInt();
        BOKChoixCentrale->setEnabled(true);
    } else {
        typeCentraleAActiver1 = -1;
        BOKChoixCentrale->setEnabled(false);
    }
}

void TFicheKirvaneChoixCentrale::reject() {
    typeCentraleAActiver1 = -1;
    QDialog::reject();
}
