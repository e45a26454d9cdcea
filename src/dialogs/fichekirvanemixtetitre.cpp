#include "fichekirvanemixtetitre.h"

#include "couleurs.h"
#include "couleursqt.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <cmath>

namespace {

constexpr int LARGEUR_CLIENT = 504;
constexpr int HAUTEUR_CLIENT = 562;
constexpr int HAUTEUR_PAGES = 598;
constexpr int HAUTEUR_MEMO = 124;
constexpr int HAUTEUR_IMAGE = 150;

void colorerFond(QWidget* w, const QColor& fond) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, fond);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace

TLabelLien::TLabelLien(const QString& texte, QWidget* parent) : QLabel(texte, parent) {
    setCursor(Qt::PointingHandCursor);
    colorer();
}

void TLabelLien::colorer() {
    QPalette pal = palette();
    // Caption-text colour at rest: the one of the window's own texts.
    pal.setColor(QPalette::WindowText,
                 survole_ ? QColor(Qt::blue) : QGuiApplication::palette().color(QPalette::Text));
    setPalette(pal);
}

void TLabelLien::enterEvent(QEnterEvent* e) {
    survole_ = true;
    colorer();
    QLabel::enterEvent(e);
}

void TLabelLien::leaveEvent(QEvent* e) {
    survole_ = false;
    colorer();
    QLabel::leaveEvent(e);
}

void TLabelLien::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) {
        emit clique();
        QDesktopServices::openUrl(QUrl(adresse));
    }
    QLabel::mouseReleaseEvent(e);
}

TFicheKirvaneMixteTitre::TFicheKirvaneMixteTitre(const QString& titreBase, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(titreBase);
    colorerFond(this, couleurFenetre);
    resize(LARGEUR_CLIENT, HAUTEUR_CLIENT);

    LabelTitreFicheTitre = new QLabel(titreBase, this);
    LabelTitreFicheTitre->setAlignment(Qt::AlignCenter);
    QFont ft = LabelTitreFicheTitre->font();
    ft.setPixelSize(22);
    ft.setBold(true);
    LabelTitreFicheTitre->setFont(ft);
    // Title on the window colour darkened by 16 %, text in the window-text colour.
    colorerFond(LabelTitreFicheTitre, versQColor(assombrirCouleur(versTColor(couleurFenetre), 16)));
    LabelTitreFicheTitre->setFixedHeight(LabelTitreFicheTitre->sizeHint().height() + 8);

    PageControl1 = new QTabWidget(this);
    TSProgramme = new QWidget;
    TSInterface = new QWidget;
    colorerFond(TSProgramme, couleurFenetre);
    colorerFond(TSInterface, couleurFenetre);
    PageControl1->addTab(TSProgramme, QStringLiteral("   A propos de Kirvane...   "));
    PageControl1->addTab(TSInterface, QStringLiteral("   Centrale   "));
    PageControl1->setTabVisible(1, false);

    Image1 = new QLabel(TSProgramme);
    LabelObjectif = new QLabel(TSProgramme);
    LabelObjectif->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LabelObjectif->setText(QStringLiteral("Logiciel de pilotage des interfaces \n"
                                          "SYSAM SP5 \n"
                                          "SYSAM V6 \n"
                                          "SYSAM CAMPUS \n"
                                          "pour les travaux pratiques de sciences physiques"));
    QFont fo = LabelObjectif->font();
    fo.setPointSize(fo.pointSize() + 2);
    fo.setBold(true);
    LabelObjectif->setFont(fo);
    LabelVersion = new QLabel(TSProgramme);
    LabelVersion->setAlignment(Qt::AlignHCenter);
    LabelCreation = new QLabel(QStringLiteral("06/2025"), TSProgramme);
    LabelCreation->setAlignment(Qt::AlignHCenter);
    LabelLien = new TLabelLien(QStringLiteral("Page du projet Kirvane"), TSProgramme);
    LabelLien->setAlignment(Qt::AlignHCenter);
    QFont fl = LabelLien->font();
    fl.setUnderline(true);
    LabelLien->setFont(fl);
    LabelCredits = new QLabel(QStringLiteral("Logiciel libre écrit pour les professeurs et les "
                                             "élèves qui mesurent au laboratoire."),
                              TSProgramme);
    LabelCredits->setAlignment(Qt::AlignHCenter);
    LabelCredits->setWordWrap(true);

    MemoDemarrage = new QPlainTextEdit(TSProgramme);
    MemoDemarrage->setReadOnly(true);
    MemoDemarrage->setFocusPolicy(Qt::NoFocus);
    MemoDemarrage->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pm = MemoDemarrage->palette();
    pm.setColor(QPalette::Base, Qt::black);
    pm.setColor(QPalette::Text, couleurFenetre);
    MemoDemarrage->setPalette(pm);
    MemoDemarrage->clear();

    ButtonFermerFicheTitre = new QPushButton(QStringLiteral("Sysam, ouvre-toi !"), this);
    ButtonFermerFicheTitre->hide();
    connect(ButtonFermerFicheTitre, &QPushButton::clicked, this,
            [this] { demarrerDisparition(5); });

    TimerFicheTitre = new QTimer(this);
    TimerFicheTitre->setInterval(10);
    connect(TimerFicheTitre, &QTimer::timeout, this,
            &TFicheKirvaneMixteTitre::TimerFicheTitreTimer);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int page) {
        if (page > 0)
            TimerFicheTitre->stop();
    });

    // The unit page.
    LabelNomCentrale = new QLabel(TSInterface);
    LabelNumeroSerie = new QLabel(TSInterface);
    LabelNomCentrale->setGeometry(20, 30, 440, 24);
    LabelNumeroSerie->setGeometry(20, 64, 440, 24);

    // Geometry: title on top, pages below, client height following the pages.
    const int l = width();
    LabelTitreFicheTitre->setGeometry(3, 3, l - 6, LabelTitreFicheTitre->height());
    PageControl1->setGeometry(3, LabelTitreFicheTitre->height() + 10, l - 6, HAUTEUR_PAGES);
    resize(l, PageControl1->height() + LabelTitreFicheTitre->height() + 16);
    placerPage();
    ButtonFermerFicheTitre->adjustSize();
    ButtonFermerFicheTitre->resize(std::max(ButtonFermerFicheTitre->width(), 180),
                                   ButtonFermerFicheTitre->height() + 6);
    ButtonFermerFicheTitre->move((l - ButtonFermerFicheTitre->width()) / 2,
                                 height() - ButtonFermerFicheTitre->height() - 8);

    // Centred on the screen.
    if (QScreen* ecran = QGuiApplication::primaryScreen())
        move(ecran->availableGeometry().center() - rect().center());
    setWindowOpacity(1.0);
    hide();
}

void TFicheKirvaneMixteTitre::placerPage() {
    const int l = PageControl1->width() - 8;
    Image1->setPixmap(imageTitreKirvane(l - 10, HAUTEUR_IMAGE));
    Image1->setGeometry(5, 8, l - 10, HAUTEUR_IMAGE);
    LabelObjectif->setGeometry(0, Image1->y() + Image1->height() + 12, l,
                               LabelObjectif->sizeHint().height());
    auto sous = [l](QLabel* label, const QWidget* dessus, int ecart) {
        label->setGeometry(8, dessus->y() + dessus->height() + ecart, l - 16,
                           label->heightForWidth(l - 16) > 0 ? label->heightForWidth(l - 16)
                                                             : label->sizeHint().height());
    };
    sous(LabelVersion, LabelObjectif, 20);
    sous(LabelCreation, LabelVersion, 20);
    sous(LabelLien, LabelCreation, 2);
    sous(LabelCredits, LabelLien, 10);
    MemoDemarrage->setGeometry(10, LabelCredits->y() + LabelCredits->height() + 12, l - 20,
                               HAUTEUR_MEMO);
}

void TFicheKirvaneMixteTitre::ajouterLigneDemarrage(const QString& ligne) {
    MemoDemarrage->appendPlainText(ligne);
    MemoDemarrage->repaint();
}

void TFicheKirvaneMixteTitre::setVersion(const QString& version) {
    LabelVersion->setText(QStringLiteral("Version ") + version);
}

void TFicheKirvaneMixteTitre::demarrerDisparition(int intervalleMs) {
    TimerFicheTitre->start(intervalleMs);
}

void TFicheKirvaneMixteTitre::TimerFicheTitreTimer() {
    alpha_ = std::max(alpha_ - 5, 0);
    setWindowOpacity(alpha_ / 255.0);
    if (alpha_ < 180) {
        MemoDemarrage->hide();
        if (deuxiemeFois) {
            deuxiemeFois = false;
            PageControl1->resize(PageControl1->width(),
                                 PageControl1->height() - MemoDemarrage->height());
        }
    }
    if (alpha_ > 0)
        return;
    TimerFicheTitre->stop();
    if (premiereFois) {
        // The window shrinks once, for good: the memo is not shown again.
        resize(width(), height() - (MemoDemarrage->height() / 3 + 35));
        MemoDemarrage->resize(MemoDemarrage->width(), MemoDemarrage->height() - 35);
        const int basPages = PageControl1->y() + PageControl1->height();
        ButtonFermerFicheTitre->move(ButtonFermerFicheTitre->x(),
                                     (basPages + height() - ButtonFermerFicheTitre->height()) / 2);
        ButtonFermerFicheTitre->show();
    }
    hide();
    alpha_ = 255;
    setWindowOpacity(1.0);
    premiereFois = false;
}

void TFicheKirvaneMixteTitre::montrerAPropos() {
    ButtonFermerFicheTitre->setText(QStringLiteral("Sysam, ferme-toi !"));
    show();
    raise();
}

void TFicheKirvaneMixteTitre::setInterface(const QString& nomCentrale, const QString& numeroSerie) {
    LabelNomCentrale->setText(QStringLiteral("Centrale : ") + nomCentrale);
    LabelNumeroSerie->setText(QStringLiteral("Numéro de série : ") + numeroSerie);
}

void TFicheKirvaneMixteTitre::setOngletInterfaceVisible(bool visible) {
    PageControl1->setTabVisible(1, visible);
}

QPixmap imageTitreKirvane(int largeur, int hauteur) {
    QImage img(std::max(largeur, 1), std::max(hauteur, 1), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ecran(2, 2, largeur - 4, hauteur - 4);
    p.setPen(QPen(QColor(40, 60, 40), 3));
    p.setBrush(QColor(20, 35, 25));
    p.drawRoundedRect(ecran, 12, 12);
    // Graticule.
    p.setPen(QPen(QColor(60, 100, 70), 1, Qt::DotLine));
    for (int i = 1; i < 10; ++i)
        p.drawLine(QPointF(ecran.left() + ecran.width() * i / 10, ecran.top() + 6),
                   QPointF(ecran.left() + ecran.width() * i / 10, ecran.bottom() - 6));
    for (int j = 1; j < 4; ++j)
        p.drawLine(QPointF(ecran.left() + 6, ecran.top() + ecran.height() * j / 4),
                   QPointF(ecran.right() - 6, ecran.top() + ecran.height() * j / 4));
    // A damped sine and a square wave.
    const double milieu = ecran.center().y();
    QPainterPath sinus;
    QPainterPath carre;
    for (int x = 0; x <= static_cast<int>(ecran.width()) - 20; ++x) {
        const double t = x / (ecran.width() - 20);
        const QPointF ps(ecran.left() + 10 + x, milieu - 0.38 * ecran.height() *
                                                             std::exp(-2.2 * t) *
                                                             std::sin(2 * M_PI * 5 * t));
        const QPointF pc(ecran.left() + 10 + x,
                         milieu + (std::fmod(t * 4, 1.0) < 0.5 ? -0.18 : 0.18) * ecran.height());
        if (x == 0) {
            sinus.moveTo(ps);
            carre.moveTo(pc);
        } else {
            sinus.lineTo(ps);
            carre.lineTo(pc);
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 200, 60, 200), 2));
    p.drawPath(carre);
    p.setPen(QPen(QColor(120, 255, 140), 2.5));
    p.drawPath(sinus);
    QFont f = p.font();
    f.setPixelSize(static_cast<int>(hauteur * 0.28));
    f.setBold(true);
    f.setItalic(true);
    p.setFont(f);
    p.setPen(QColor(235, 255, 185));
    p.drawText(ecran.adjusted(0, 0, -16, -8), Qt::AlignRight | Qt::AlignBottom,
               QStringLiteral("Kirvane"));
    return QPixmap::fromImage(img);
}
