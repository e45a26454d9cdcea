#pragma once
// iEcranX: the widget that shows the graph image and reports the mouse to the graph.
#include <QImage>
#include <QWidget>

class TVueImage : public QWidget {
    Q_OBJECT
public:
    explicit TVueImage(QWidget* parent = nullptr);
    // The image shown (owned by the graph); nothing is painted without one.
    void setImage(const QImage* image);

signals:
    void appui(Qt::MouseButton bouton, QPoint position);
    void deplacement(QPoint position, Qt::MouseButtons boutons);
    void relache(Qt::MouseButton bouton, QPoint position);
    void redimensionnee(QSize taille);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    const QImage* image_ = nullptr;
};
