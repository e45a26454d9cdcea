// The title window: shows the program's name, version and the progress lines of the start-up,
// then fades out once the main window is ready. Later it serves as the about window.
#pragma once

#include <QLabel>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;

// A label that opens the project's web page when clicked; blue under the pointer.
class TLabelLien : public QLabel {
    Q_OBJECT
public:
    explicit TLabelLien(const QString& texte, QWidget* parent = nullptr);
    QString adresse = QStringLiteral("https://kirvane.invalid/");
    bool survole() const { return survole_; }
signals:
    void clique();

protected:
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void colorer();
    bool survole_ = false;
};

class TFicheKirvaneMixteTitre : public QWidget {
    Q_OBJECT
public:
    explicit TFicheKirvaneMixteTitre(const QString& titreBase, QWidget* parent = nullptr);

    // Start-up progress: the line is added to the memo, which is repainted at once (the
    // start-up does its work without returning to the event loop).
    void ajouterLigneDemarrage(const QString& ligne);
    void setVersion(const QString& version); // LabelVersion := "Version " + version

    // Fading out: 10 ms at the end of the start-up, 5 ms from the window's own button.
    void demarrerDisparition(int intervalleMs = 10);
    // One step of the fade-out (TimerFicheTitre).
    void TimerFicheTitreTimer();
    int alpha() const { return alpha_; }

    // About window: the button reads "Sysam, ferme-toi !" and the window shows (not modal).
    void montrerAPropos();

    // The unit page: shown while a unit is active and connected.
    void setInterface(const QString& nomCentrale, const QString& numeroSerie);
    void setOngletInterfaceVisible(bool visible);

    QLabel* LabelTitreFicheTitre;
    QTabWidget* PageControl1;
    QWidget* TSProgramme;
    QWidget* TSInterface;
    QLabel* Image1;
    QLabel* LabelObjectif;
    QLabel* LabelVersion;
    QLabel* LabelCreation;
    TLabelLien* LabelLien;
    QLabel* LabelCredits;
    QPlainTextEdit* MemoDemarrage;
    QPushButton* ButtonFermerFicheTitre;
    QTimer* TimerFicheTitre;
    QLabel* LabelNomCentrale;
    QLabel* LabelNumeroSerie;

    bool premiereFois = true;
    bool deuxiemeFois = true;

    static inline const QColor couleurFenetre{235, 255, 185};

private:
    void placerPage();
    int alpha_ = 255;
};

// Picture at the top of the title window: a screen with two curves and the program's name.
QPixmap imageTitreKirvane(int largeur, int hauteur);
