#include "grillemesures.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

TGrilleMesures::TGrilleMesures(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("SGMesures"));
    setFocusPolicy(Qt::WheelFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    for (QScrollBar* b : {verticalScrollBar(), horizontalScrollBar()}) {
        b->setSingleStep(1);
        b->setTracking(true); // thumb tracking: the rows follow the thumb
    }
}

void TGrilleMesures::setTableau(const TTableauMesures* tableau) {
    tableau_ = tableau;
    tableauModifie();
}

void TGrilleMesures::tableauModifie() {
    majBarres();
    viewport()->update();
}

int TGrilleMesures::premiereLigne() const {
    return 3 + verticalScrollBar()->value();
}

int TGrilleMesures::premiereColonne() const {
    return 1 + horizontalScrollBar()->value();
}

void TGrilleMesures::majBarres() {
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    if (!tableau_ || tableau_->nbPoints() <= 0) {
        v->setRange(0, 0);
        h->setRange(0, 0);
        return;
    }
    const QSize taille = viewport()->size();
    const int lignes = tableau_->lignesVisibles(taille.height());
    v->setPageStep(lignes);
    v->setRange(0, static_cast<int>(std::max<int64_t>(0, tableau_->nbPoints() - lignes)));
    // The last value shows the last columns that fit whole.
    const int scrollables = tableau_->nbColonnes() - 1;
    int dernier = 0;
    while (dernier < scrollables - 1 &&
           tableau_->colonnesVisibles(taille.width(), 1 + dernier) < scrollables - dernier)
        ++dernier;
    h->setPageStep(tableau_->colonnesVisibles(taille.width(), premiereColonne()));
    h->setRange(0, dernier);
}

QPoint TGrilleMesures::centreCellule(int c, int r) const {
    if (!tableau_)
        return {};
    int x = 0;
    if (c > 0) {
        x = tableau_->largeurColonne(0);
        for (int k = premiereColonne(); k < c; ++k)
            x += tableau_->largeurColonne(k);
    }
    int y = 0;
    for (int k = 0; k < std::min(r, 3); ++k)
        y += tableau_->hauteurLigne(k);
    if (r >= 3)
        y += (r - premiereLigne()) * tableau_->hauteurLigne(3);
    return {x + tableau_->largeurColonne(c) / 2, y + tableau_->hauteurLigne(r) / 2};
}

void TGrilleMesures::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    if (tableau_)
        tableau_->dessiner(p, viewport()->size(), premiereLigne(), premiereColonne());
    else
        p.fillRect(viewport()->rect(), Qt::white);
}

void TGrilleMesures::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    majBarres();
}

void TGrilleMesures::mouseReleaseEvent(QMouseEvent* e) {
    if (!tableau_)
        return;
    const QPoint cellule = tableau_->celluleEn(e->position().toPoint(), viewport()->size(),
                                               premiereLigne(), premiereColonne());
    const int s = tableau_->serieDeLaCroix(cellule.x(), cellule.y());
    if (s >= 0)
        emit croixCliquee(s);
}

void TGrilleMesures::keyPressEvent(QKeyEvent* e) {
    // The keys scroll; no cell is ever selected.
    QScrollBar* v = verticalScrollBar();
    switch (e->key()) {
    case Qt::Key_Home:
        v->setValue(v->minimum());
        break;
    case Qt::Key_End:
        v->setValue(v->maximum());
        break;
    default:
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    e->accept();
}
