#pragma once
// The grid SGMesures: it paints only the rows in sight of the measurement table, keeps the
// three header rows and the index column in place while it scrolls, selects nothing, and
// reports a click on the deletion cross of a series.
#include "tableaumesures.h"

#include <QAbstractScrollArea>

class TGrilleMesures : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TGrilleMesures(QWidget* parent = nullptr);

    // The table shown; after each of its rebuilds the scroll bars and the screen follow.
    void setTableau(const TTableauMesures* tableau);
    void tableauModifie();
    // First row of points and first scrolled column in sight.
    int premiereLigne() const;
    int premiereColonne() const;
    // Centre of cell (c, r) as it stands on screen (viewport coordinates).
    QPoint centreCellule(int c, int r) const;

signals:
    // A mouse button released over the cross of series s.
    void croixCliquee(int s);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void majBarres();
    const TTableauMesures* tableau_ = nullptr;
};
