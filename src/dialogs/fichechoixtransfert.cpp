#include "fichechoixtransfert.h"

#include "couleurs.h"
#include "couleursqt.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QString texteLie(const char* texte) {
    return QString::fromUtf8(texte);
}

// A radio button on white, as the program shows them on the gradient.
QRadioButton* boutonRadio(const QString& texte, QWidget* parent) {
    auto* b = new QRadioButton(texte, parent);
    QPalette p = b->palette();
    p.setColor(QPalette::Window, Qt::white);
    b->setPalette(p);
    b->setAutoFillBackground(true);
    return b;
}

QLabel* etiquette(const QString& texte, QWidget* parent, Qt::Alignment alignement) {
    auto* l = new QLabel(texte, parent);
    l->setAlignment(alignement);
    return l;
}

constexpr int TAILLE_ILLUSTRATION = 64;

} // namespace

QColor couleurDegradeChoix(int x, int w) {
    const int pourcent = w > 1 ? x * 100 / (w - 1) : 100;
    return versQColor(eclaircirCouleur(versTColor(QColor(224, 224, 224)), pourcent));
}

TFicheChoixTransfert::TFicheChoixTransfert(const TTextesChoixTransfert& textes, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(textes.titre);
    setModal(true);

    LTexte = etiquette(textes.premierTexte, this, Qt::AlignLeft | Qt::AlignVCenter);
    LTexte->setWordWrap(true);
    IIllustration = new QLabel(this);
    IIllustration->setPixmap(QPixmap::fromImage(
        imageBouton(textes.illustration, EtatBouton::Normal, TAILLE_ILLUSTRATION)));
    IIllustration->setFixedSize(TAILLE_ILLUSTRATION, TAILLE_ILLUSTRATION);
    RBNouveau = boutonRadio(textes.nouveauDocument, this);
    RBActuel = boutonRadio(textes.documentActuel, this);
    LOuBien = etiquette(texteLie("ou bien"), this, Qt::AlignLeft | Qt::AlignVCenter);
    LCochez = etiquette(texteLie("Choisissez en cochant ci-dessus, puis cliquez sur -->"), this,
                        Qt::AlignRight | Qt::AlignVCenter);
    LSinon = etiquette(texteLie("Sinon: -->"), this, Qt::AlignRight | Qt::AlignVCenter);
    BOK = new QPushButton(QStringLiteral("OK"), this);
    BAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
    BOK->setDefault(true);
    BOK->setMinimumWidth(100);
    BAnnuler->setMinimumWidth(100);

    auto* haut = new QHBoxLayout;
    haut->addWidget(IIllustration, 0, Qt::AlignTop);
    haut->addWidget(LTexte, 1);
    auto* choix = new QVBoxLayout;
    choix->setContentsMargins(TAILLE_ILLUSTRATION + 12, 0, 0, 0);
    choix->addWidget(RBNouveau);
    choix->addWidget(LOuBien);
    choix->addWidget(RBActuel);
    auto* ok = new QHBoxLayout;
    ok->addWidget(LCochez, 1);
    ok->addWidget(BOK);
    auto* annuler = new QHBoxLayout;
    annuler->addWidget(LSinon, 1);
    annuler->addWidget(BAnnuler);
    auto* tout = new QVBoxLayout(this);
    tout->setContentsMargins(16, 16, 16, 16);
    tout->setSpacing(10);
    tout->addLayout(haut);
    tout->addLayout(choix);
    tout->addSpacing(6);
    tout->addLayout(ok);
    tout->addLayout(annuler);
    setFixedWidth(560);

    connect(RBNouveau, &QRadioButton::toggled, this, [this] { majOK(); });
    connect(RBActuel, &QRadioButton::toggled, this, [this] { majOK(); });
    connect(BOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    preparer();
}

void TFicheChoixTransfert::majOK() {
    BOK->setEnabled(RBNouveau->isChecked() || RBActuel->isChecked());
}

void TFicheChoixTransfert::preparer() {
    // Exclusive radio buttons cannot all be unticked by setChecked(false) alone.
    for (QRadioButton* b : {RBNouveau, RBActuel}) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
    majOK();
}

std::optional<TFicheChoixTransfert::TChoix> TFicheChoixTransfert::choisir() {
    preparer();
    adjustSize();
    if (const QScreen* ecran = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(ecran->availableGeometry().center());
        move(r.topLeft());
    }
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    if (RBNouveau->isChecked())
        return TChoix::NouveauDocument;
    if (RBActuel->isChecked())
        return TChoix::DocumentActuel;
    return std::nullopt;
}

void TFicheChoixTransfert::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width(), h = height();
    for (int x = 0; x < w; ++x) {
        p.setPen(couleurDegradeChoix(x, w));
        p.drawLine(x, 0, x, h - 1);
    }
}

TFicheKirvaneMixteChoixTR::TFicheKirvaneMixteChoixTR(QWidget* parent)
    : TFicheChoixTransfert(
          {texteLie("Transfert vers REGRESSI..."),
           texteLie("Lors du transfert vers REGRESSI que vous souhaitez, vous pouvez, dans "
                    "l'état actuel des choses, "),
           texteLie("créer un nouveau document REGRESSI"),
           texteLie("créer une nouvelle page dans REGRESSI actuellement en cours"),
           ImageBouton::TransfertREG},
          parent),
      RBNouveauFichier(RBNouveau), RBNouvellePage(RBActuel), BChoixTROK(BOK),
      BChoixTRAnnuler(BAnnuler) {}

TFicheKirvaneMixteChoixTE::TFicheKirvaneMixteChoixTE(QWidget* parent)
    : TFicheChoixTransfert(
          {texteLie("Transfert vers EXCEL..."),
           texteLie("Lors du transfert vers EXCEL que vous souhaitez, vous pouvez, dans l'état "
                    "actuel des choses, "),
           texteLie("créer un nouveau classeur EXCEL"),
           texteLie("créer une nouvelle feuille dans le classeur EXCEL actif"),
           ImageBouton::TransfertExcel},
          parent),
      RBNouveauClasseur(RBNouveau), RBNouvelleFeuille(RBActuel), BChoixTEOK(BOK),
      BChoixTEAnnuler(BAnnuler) {}

TFicheKirvaneMixteChoixTOO::TFicheKirvaneMixteChoixTOO(QWidget* parent)
    : TFicheChoixTransfert(
          {texteLie("Transfert vers OpenOffice.org Calc"),
           texteLie("Lors du transfert vers OpenOffice.org Calc que vous souhaitez, vous "
                    "pouvez, dans l'état actuel des choses, "),
           texteLie("créer un nouveau classeur OpenOffice.org Calc"),
           texteLie("créer une nouvelle feuille dans le classeur OpenOffice.org Calc actif"),
           ImageBouton::TransfertOOLO},
          parent),
      RBNouveauClasseurOO(RBNouveau), RBNouvelleFeuilleOO(RBActuel), BChoixTOOOK(BOK),
      BChoixTOOAnnuler(BAnnuler) {}
