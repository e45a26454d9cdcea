// Chooser of the unit kind, shown at start when several kinds are installed.
#pragma once

#include <QDialog>
#include <QSet>
#include <array>

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

class TFicheKirvaneChoixCentrale : public QDialog {
    Q_OBJECT
public:
    explicit TFicheKirvaneChoixCentrale(QWidget* parent = nullptr);

    // Shows the buttons of the given kinds (1 SP5, 2 V6, 3 CAMPUS), one under the other, and
    // fits the dialog's height to them.
    void PrepareChoixCentrale(const QSet<int>& typesCentrales);

    // exec() answers QDialog::Accepted for OK (the kind is in typeCentraleAActiver1) and
    // QDialog::Rejected for "Abandonner", Escape or the window's close box.
    int typeCentraleAActiver1 = -1;
    // Kind active when the dialog is shown (0: none yet); its button is then down.
    int typeCentraleActive = 0;

    QFrame* pChoixCentrale;
    QLabel* LChoixCentrale;
    QToolButton* SBSysamSP5;
    QToolButton* SBSysamV6;
    QToolButton* SBSysamCAMPUS;
    QLabel* LCommentaireSP5;
    QLabel* LCommentaireV6;
    QLabel* LCommentaireCAMPUS;
    QPushButton* BOKChoixCentrale;
    QPushButton* BAbandonner;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void clicBouton(QToolButton* bouton);
    std::array<QToolButton*, 3> boutons() const { return {SBSysamSP5, SBSysamV6, SBSysamCAMPUS}; }
    std::array<QLabel*, 3> commentaires() const {
        return {LCommentaireSP5, LCommentaireV6, LCommentaireCAMPUS};
    }
};
