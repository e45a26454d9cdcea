#include "vueimage.h"

#include <QMouseEvent>
#include <QPainter>

TVueImage::TVueImage(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true); // pointing follows the mouse without a button held
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TVueImage::setImage(const QImage* image) {
    image_ = image;
    update();
}

void TVueImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (image_ && !image_->isNull())
        p.drawImage(0, 0, *image_);
    // Beyond the image (between a resize and the next redraw): the background colour.
    const int l = image_ ? image_->width() : 0;
    const int h = image_ ? image_->height() : 0;
    const QColor fond(240, 240, 240);
    if (width() > l)
        p.fillRect(l, 0, width() - l, height(), fond);
    if (height() > h)
        p.fillRect(0, h, std::min(l, width()), height() - h, fond);
}

void TVueImage::mousePressEvent(QMouseEvent* e) {
    emit appui(e->button(), e->position().toPoint());
}

void TVueImage::mouseMoveEvent(QMouseEvent* e) {
    emit deplacement(e->position().toPoint(), e->buttons());
}

void TVueImage::mouseReleaseEvent(QMouseEvent* e) {
    emit relache(e->button(), e->position().toPoint());
}
