#pragma once
// The colour chooser: a chromatic circle to point at or click on, three spin boxes to refine
// red, green and blue, and a sample of the colour on black and on white.
#include "couleurs.h"

#include <QDialog>
#include <QImage>
#include <cstdint>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStatusBar;

// The circle as displayed: the drawn circle stretched to the widget, with its bevel.
class TImageCercle : public QWidget {
public:
    explicit TImageCercle(QWidget* parent);
    // The drawn circle (bm2); the widget shows it stretched to its own size.
    void setCercle(const QImage& cercle);
    // What the screen shows of the circle, at the widget's size.
    const QImage& affichee() const { return affichee_; }

    std::function<void(QPoint)> survol;
    std::function<void(QPoint)> clic;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    QImage cercle_;
    QImage affichee_;
};

// The sample: the colour on a black upper half and on a white lower half.
class TEchantillonCouleur : public QWidget {
public:
    explicit TEchantillonCouleur(QWidget* parent) : QWidget(parent) {}
    TColor couleur = 0;

protected:
    void paintEvent(QPaintEvent*) override;
};

class TFicheChoixCouleurCercleChro : public QDialog {
public:
    // Opens on the start colour: the spin boxes, the gauges and the sample show it.
    explicit TFicheChoixCouleurCercleChro(TColor depart, QWidget* parent = nullptr);

    TColor clChoisie = 0;
    float rayon = 0.0f;
    bool ajustage = false; // a colour was clicked or refined
    bool premierActivate = true;
    uint8_t r1 = 0, v1 = 0, b1 = 0;
    QImage bm2;

    QLabel* Panel5;
    TImageCercle* pbC;
    TEchantillonCouleur* pbE;
    QProgressBar* GRouge;
    QProgressBar* GVert;
    QProgressBar* GBleu;
    QSpinBox* SERouge;
    QSpinBox* SEVert;
    QSpinBox* SEBleu;
    QPushButton* ButtonOK;
    QPushButton* ButtonAnnuler;
    QPushButton* ButtonAide;
    QStatusBar* StatusBar1;

    // Milliseconds of a steady clock: a click freezes the pointed colour for 5 s of it
    // (TimerMM). Tests replace it.
    std::function<qint64()> horloge;
    static constexpr qint64 dureeGelMs = 5000;
    bool gele() const;

    // The pointer over the circle (coordinates of pbC), a click on it, the pointer anywhere
    // else over the dialog.
    void survolCercle(QPoint p);
    void clicCercle(QPoint p);
    void survolHorsCercle();

    // The dialog's designed size, the largest it opens at.
    static constexpr int largeurConception = 640;
    static constexpr int hauteurConception = 480;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    void dessinerCercle();
    void placerCercle();
    // The choice shown everywhere: components, spin boxes, gauges, sample.
    void choisir(TColor couleur);
    void changementComposante();

    TColor depart_;
    qint64 finGel_ = 0;
    bool bloque_ = false;
};
