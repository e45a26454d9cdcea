#include "fichechoixcouleur.h"

#include "cerclechromatique.h"
#include "couleursqt.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

const char* const texteSurvol =
    "Cliquez sur une couleur, puis affinez si nécessaire à l'aide des boites d'ajustage ";
const char* const texteClic =
    "Affinez si nécessaire à l'aide des boites d'ajustage; validez avec [OK] ";

qint64 horlogeStable() {
    static QElapsedTimer t = [] {
        QElapsedTimer e;
        e.start();
        return e;
    }();
    return t.elapsed();
}

// The bevel around the circle: dark on the left and top edges, white on the right and bottom.
void dessinerBiseau(QPainter& p, int w, int h) {
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(w - 1, 0, w - 1, h - 1);
    p.drawLine(0, h - 1, w - 1, h - 1);
    p.setPen(QPen(QColor(25, 25, 25), 1));
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(0, 0, 0, h - 1);
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(1, 1, w - 3, 1);
    p.drawLine(1, 1, 1, h - 3);
}

} // namespace

// ---- The circle ----

TImageCercle::TImageCercle(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void TImageCercle::setCercle(const QImage& cercle) {
    cercle_ = cercle;
    affichee_ = cercle_.isNull()
                    ? QImage()
                    : cercle_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    update();
}

void TImageCercle::resizeEvent(QResizeEvent*) {
    setCercle(cercle_); // stretched, not drawn again
}

void TImageCercle::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (affichee_.isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    p.drawImage(0, 0, affichee_);
    dessinerBiseau(p, width(), height());
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(170, 170, 170));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2, 2, width() - 4, height() - 4));
}

void TImageCercle::mouseMoveEvent(QMouseEvent* e) {
    if (survol)
        survol(e->position().toPoint());
}

void TImageCercle::mousePressEvent(QMouseEvent* e) {
    if (clic)
        clic(e->position().toPoint());
}

// ---- The sample ----

void TEchantillonCouleur::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width(), h = height() / 2;
    const QColor c = versQColor(couleur);
    p.fillRect(0, 0, w, h, Qt::black);
    p.fillRect(0, h, w, height() - h, Qt::white);
    const QRect haut(w / 6, h / 6, w * 4 / 6, h * 4 / 6);
    const QRect bas = haut.translated(0, h);
    p.fillRect(haut, c);
    p.fillRect(bas, c);
    p.setPen(Qt::white);
    p.drawRect(haut);
    p.setPen(Qt::black);
    p.drawRect(bas);
}

// ---- The dialog ----

TFicheChoixCouleurCercleChro::TFicheChoixCouleurCercleChro(TColor depart, QWidget* parent)
    : QDialog(parent), horloge(horlogeStable), depart_(depart) {
    setWindowTitle(QStringLiteral("Choix d'une couleur"));

    Panel5 = new QLabel(QStringLiteral("                     Préparation des couleurs ...."), this);
    Panel5->setFrameShape(QFrame::StyledPanel);
    Panel5->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Panel5->setMinimumSize(120, 120);
    Panel5->installEventFilter(this);
    pbC = new TImageCercle(Panel5);
    pbC->hide(); // shown once the circle is drawn
    pbC->survol = [this](QPoint p) { survolCercle(p); };
    pbC->clic = [this](QPoint p) { clicCercle(p); };

    pbE = new TEchantillonCouleur(this);
    pbE->setMinimumSize(110, 90);
    pbE->setToolTip(QStringLiteral(
        "Échantillon de la couleur déterminée par les trois composantes affichées "));

    auto jauge = [this](const char* couleur, const char* nom) {
        auto* g = new QProgressBar(this);
        g->setOrientation(Qt::Vertical);
        g->setRange(0, 255);
        g->setTextVisible(false);
        g->setMinimumHeight(60);
        g->setStyleSheet(
            QStringLiteral("QProgressBar::chunk { background: %1; }").arg(QLatin1String(couleur)));
        g->setToolTip(QStringLiteral("Montre le niveau de la composante %1 de la couleur "
                                     "sélectionnée")
                          .arg(QString::fromUtf8(nom)));
        return g;
    };
    GRouge = jauge("red", "rouge");
    GVert = jauge("lime", "verte");
    GBleu = jauge("blue", "bleue");
    auto boite = [this](const char* nom) {
        auto* s = new QSpinBox(this);
        s->setRange(0, 255);
        s->findChild<QLineEdit*>()->setReadOnly(true); // the arrows only
        s->setToolTip(QStringLiteral("Boite d'ajustage de la composante %1 de la couleur "
                                     "sélectionnée (minimum:0, maximum: 255)")
                          .arg(QString::fromUtf8(nom)));
        connect(s, &QSpinBox::valueChanged, this, [this] { changementComposante(); });
        return s;
    };
    SERouge = boite("rouge");
    SEVert = boite("verte");
    SEBleu = boite("bleue");

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonAnnuler = new QPushButton(QStringLiteral("Annuler "), this);
    ButtonAide = new QPushButton(QStringLiteral("Aide"), this);
    ButtonOK->setDefault(true);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);

    auto* composantes = new QGridLayout;
    const std::pair<QProgressBar*, QSpinBox*> colonnes[] = {
        {GRouge, SERouge}, {GVert, SEVert}, {GBleu, SEBleu}};
    const char* const noms[] = {"Rouge", "Vert", "Bleu"};
    for (int k = 0; k < 3; ++k) {
        composantes->addWidget(colonnes[k].first, 0, k, Qt::AlignHCenter);
        composantes->addWidget(new QLabel(QString::fromUtf8(noms[k]), this), 1, k,
                               Qt::AlignHCenter);
        composantes->addWidget(colonnes[k].second, 2, k);
    }
    auto* droite = new QVBoxLayout;
    droite->addWidget(pbE, 2);
    droite->addLayout(composantes, 3);
    droite->addStretch(1);
    auto* boutons = new QHBoxLayout;
    boutons->addWidget(ButtonOK);
    boutons->addWidget(ButtonAnnuler);
    boutons->addWidget(ButtonAide);
    droite->addLayout(boutons);
    auto* haut = new QHBoxLayout;
    haut->addWidget(Panel5, 3);
    haut->addLayout(droite, 2);
    auto* tout = new QVBoxLayout(this);
    tout->addLayout(haut, 1);
    tout->addWidget(StatusBar1);

    // Two thirds of the screen, within 300 × 250 and the designed size.
    QSize taille(largeurConception, hauteurConception);
    if (const QScreen* ecran = QGuiApplication::primaryScreen())
        taille = ecran->availableGeometry().size() * 2 / 3;
    resize(std::clamp(taille.width(), 300, largeurConception),
           std::clamp(taille.height(), 250, hauteurConception));

    // Every pointer move over the dialog outside the circle is seen.
    setMouseTracking(true);
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w == pbC)
            continue;
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    choisir(depart_);
}

bool TFicheChoixCouleurCercleChro::gele() const {
    return horloge() < finGel_;
}

void TFicheChoixCouleurCercleChro::choisir(TColor couleur) {
    clChoisie = couleur;
    r1 = static_cast<uint8_t>(couleur & 0xFF);
    v1 = static_cast<uint8_t>((couleur >> 8) & 0xFF);
    b1 = static_cast<uint8_t>((couleur >> 16) & 0xFF);
    bloque_ = true;
    SERouge->setValue(r1);
    SEVert->setValue(v1);
    SEBleu->setValue(b1);
    bloque_ = false;
    GRouge->setValue(r1);
    GVert->setValue(v1);
    GBleu->setValue(b1);
    pbE->couleur = couleur;
    pbE->update();
}

void TFicheChoixCouleurCercleChro::changementComposante() {
    if (bloque_)
        return;
    const auto r = static_cast<uint8_t>(SERouge->value());
    const auto v = static_cast<uint8_t>(SEVert->value());
    const auto b = static_cast<uint8_t>(SEBleu->value());
    if (r == r1 && v == v1 && b == b1)
        return;
    // A refined colour is a choice: leaving the circle keeps it.
    ajustage = true;
    choisir(static_cast<TColor>(r) + static_cast<TColor>(v) * 256u +
            static_cast<TColor>(b) * 65536u);
}

void TFicheChoixCouleurCercleChro::survolCercle(QPoint p) {
    if (premierActivate || gele())
        return;
    StatusBar1->showMessage(QString::fromUtf8(texteSurvol));
    if (const std::optional<TColor> c = couleurSousPoint(pbC->affichee(), p))
        choisir(*c);
    else if (!ajustage)
        choisir(depart_); // off the disc: back to the colour the dialog opened on
    pbE->repaint();
}

void TFicheChoixCouleurCercleChro::clicCercle(QPoint p) {
    if (premierActivate)
        return;
    finGel_ = horloge() + dureeGelMs;
    StatusBar1->showMessage(QString::fromUtf8(texteClic));
    ajustage = true;
    // A click off the disc chooses black.
    choisir(couleurSousPoint(pbC->affichee(), p).value_or(0));
}

void TFicheChoixCouleurCercleChro::survolHorsCercle() {
    if (!ajustage && clChoisie != depart_)
        choisir(depart_);
}

void TFicheChoixCouleurCercleChro::placerCercle() {
    const QRect zone = Panel5->contentsRect();
    rayon = std::max(std::min(zone.width(), zone.height()) / 2.0f - 2.0f, 1.0f);
    const int cote = static_cast<int>(std::lround(2 * rayon + 4));
    const int gauche = std::max(static_cast<int>(std::lround(zone.width() / 2.0)) -
                                    static_cast<int>(std::lround(rayon)) - 2,
                                0);
    const int haut = std::max(static_cast<int>(std::lround(zone.height() / 2.0)) -
                                  static_cast<int>(std::lround(rayon)) - 2,
                              0);
    pbC->setGeometry(zone.x() + gauche, zone.y() + haut, cote, cote);
}

void TFicheChoixCouleurCercleChro::dessinerCercle() {
    if (!premierActivate)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    placerCercle();
    bm2 =
        cercleChromatique(static_cast<int>(std::lround(rayon)), palette().color(QPalette::Window));
    pbC->setCercle(bm2);
    Panel5->setText(QString());
    pbC->show();
    QApplication::restoreOverrideCursor();
    premierActivate = false;
}

void TFicheChoixCouleurCercleChro::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (premierActivate) // the caption shows while the circle is drawn
        QTimer::singleShot(0, this, [this] { dessinerCercle(); });
}

bool TFicheChoixCouleurCercleChro::eventFilter(QObject* objet, QEvent* e) {
    if (objet == Panel5 && e->type() == QEvent::Resize)
        placerCercle();
    else if (e->type() == QEvent::MouseMove)
        survolHorsCercle();
    return QDialog::eventFilter(objet, e);
}
