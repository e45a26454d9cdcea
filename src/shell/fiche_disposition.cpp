// The main window's part of the layout: the computed rectangles applied to the controls,
// the deferred resizing and the reduce/restore buttons.
#include "fichekirvanemixte.h"

#include "courbes.h"
#include "graphefiche.h"

#include "couleursqt.h"
#include "imagesboutons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QFont police(const Police& p, const QFont& base) {
    QFont f = base;
    if (!p.famille.isEmpty())
        f.setFamily(p.famille);
    const int px = pixelsCaractere(p);
    if (px > 0)
        f.setPixelSize(px);
    f.setBold(p.gras);
    return f;
}

void placer(QWidget* w, const QRect& r) {
    if (w && r.isValid())
        w->setGeometry(r);
}

// Sizes measured on the fonts the controls really get: a label or a field sized on fixed
// proportions cuts its text when the installed face is wider.
Metriques metriquesReelles(const QFont& base) {
    Metriques m;
    m.tailleLibelle = [base](const QString& texte, const Police& p) {
        const QFontMetrics fm(police(p, base));
        // A pixel more than the advance: the last letter's overhang stays inside.
        return QSize(fm.horizontalAdvance(texte) + 2, fm.height());
    };
    auto hauteur = [base](auto* controle, const Police& p) {
        std::unique_ptr<QWidget> w(controle);
        w->setFont(police(p, base));
        return w->sizeHint().height();
    };
    m.hauteurEdit = [hauteur](const Police& p) { return hauteur(new QLineEdit, p); };
    m.hauteurListe = [hauteur](const Police& p) {
        auto* liste = new QComboBox;
        liste->setEditable(true);
        return hauteur(liste, p);
    };
    m.hauteurCase = [hauteur](const Police& p) { return hauteur(new QCheckBox(u"Ag"_s), p); };
    return m;
}

// The longest texts of the two message fields.
const QStringList textesMessage{
    QString::fromUtf8("Mesures terminées, récupération des valeurs"),
    QString::fromUtf8("Attente du déclenchement sur synchro..."),
    QString::fromUtf8("La centrale n'a pas été trouvée"),
};

int largeurTextes(const QFont& f, const QStringList& textes) {
    const QFontMetrics fm(f);
    int l = 0;
    for (const QString& t : textes)
        l = std::max(l, fm.horizontalAdvance(t));
    // Frame and inner margins of a line edit.
    return l + 12;
}

} // namespace

void TFicheKirvaneMixte::redimensionnement() {
    if (bloqueRedim)
        return;
    appliquerDisposition();
}

void TFicheKirvaneMixte::appliquerDisposition() {
    EntreesDisposition e;
    // The window has no menu or status bar: its client area is the central widget's.
    e.client = size();
    e.fenetre = isVisible() ? frameGeometry().size() : size();
    e.pParametresReduit = panneaux.pParametresReduit;
    e.pVoiesReduit = panneaux.pVoiesReduit;
    e.nbCentralesGerees = static_cast<int>(composants.SBCentrales_.size());
    e.PTableauVisible = PTableauVisible;
    if (const TCentrale* u = centrales.SP5.get())
        e.interfaceActive = InterfaceActive{u->ChxModeDiff, u->nbCanaux_, u->nbEAU};
    const QFont base = font();
    e.hauteurBarreDefilement = composants.ScrBoxVoies->horizontalScrollBar()->sizeHint().height();
    e.cadreScrBoxVoies = composants.ScrBoxVoies->frameWidth();
    // The labels of the symbols are as wide as what they show («u», «0_M»).
    for (int i = 0; i < 8; ++i) {
        e.symboles[i] = composants.LValU1[i]->text();
        e.indicesSymboles[i] = composants.LValUInd[i]->text();
    }
    disposition = calculerDisposition(e, metriquesReelles(base));
    const Disposition& d = disposition;

    // Tool bar
    composants.PBoutons->setGeometry(0, 0, e.client.width(), d.hauteurPBoutons);
    const DispositionOutils& o = d.outils;
    const auto outils = composants.boutonsOutils();
    for (int i = 0; i < DispositionOutils::NB_BOUTONS_OUTILS; ++i) {
        QToolButton* b = outils[i].first;
        placer(b, o.boutons[i]);
        b->setIcon(iconeBouton(static_cast<ImageBouton>(static_cast<int>(outils[i].second)), o.s));
        b->setIconSize(QSize(o.s - 4, o.s - 4));
    }
    const std::size_t nbCentrales = std::min(composants.SBCentrales_.size(), o.SBCentrales_.size());
    // One size for every unit name, the largest at which each fits its button in bold (the
    // face installed may be wider than the one the width was made for): never a cut name.
    QFont fc = police(o.policeCentrales, base);
    fc.setBold(true);
    for (std::size_t i = 0; i < nbCentrales; ++i) {
        const int place = o.SBCentrales_[i].width() - 8;
        const QString& nom = composants.SBCentrales_[i]->text();
        while (fc.pixelSize() > 7 && QFontMetrics(fc).horizontalAdvance(nom) > place)
            fc.setPixelSize(fc.pixelSize() - 1);
    }
    for (std::size_t i = 0; i < nbCentrales; ++i) {
        placer(composants.SBCentrales_[i], o.SBCentrales_[i]);
        QFont f = fc;
        f.setBold(composants.SBCentrales_[i]->isChecked());
        composants.SBCentrales_[i]->setFont(f);
    }
    placer(composants.PPointage, o.PPointage);
    placer(composants.LSerie, o.LSerie);
    placer(composants.EditSerieP, o.EditSerieP);
    placer(composants.Lpoint, o.Lpoint);
    placer(composants.EditPointP, o.EditPointP);
    for (QWidget* w :
         {static_cast<QWidget*>(composants.LSerie), static_cast<QWidget*>(composants.Lpoint)})
        w->setFont(police(o.policeLibellesPointage, base));
    for (QWidget* w : {composants.EditSerieP, composants.EditPointP})
        w->setFont(police(o.policeEditsPointage, base));
    // The message fields never run past the window's edge on a narrow window.
    QRect panel2 = o.Panel2;
    const int place = e.client.width() - 2 - panel2.x();
    if (place > 0 && panel2.width() > place)
        panel2.setWidth(place);
    placerMessages(panel2, police(o.policeEditsPanel2, base));

    // Settings panel
    const DispositionReglages& r = d.reglages;
    placer(composants.panelParametres, d.panelParametres);
    placer(composants.PTitreReglagesTemporels, r.PTitreReglagesTemporels);
    placer(composants.SBRedRegTemp, r.SBRedRegTemp);
    placer(composants.LReglages, r.LReglages);
    composants.LReglages->setFont(police(r.policeLReglages, base));
    composants.ScrollBox1->setVisible(r.ScrollBox1Visible);
    if (r.ScrollBox1Visible) {
        placer(composants.ScrollBox1, r.ScrollBox1);
        composants.PanelMesuresPeriodiques->resize(r.PanelMesuresPeriodiques.size());
        const QFont fc = police(r.policeControles, base);
        const std::pair<QWidget*, QRect> controles[] = {
            {composants.GBParametresTemporels, r.GBParametresTemporels},
            {composants.LDureeTotale, r.LDureeTotale},
            {composants.CBDureeTotale, r.CBDureeTotale},
            {composants.SBDureeTotalePlus, r.SBDureeTotalePlus},
            {composants.SBDureeTotaleMoins, r.SBDureeTotaleMoins},
            {composants.LNombreDePoints, r.LNombreDePoints},
            {composants.CBNbPoints, r.CBNbPoints},
            {composants.SBNbPointsPlus, r.SBNbPointsPlus},
            {composants.SBNbPointsMoins, r.SBNbPointsMoins},
            {composants.LabelTe, r.LabelTe},
            {composants.iTe, r.iTe},
            {composants.BAcquisitionPrecedente, r.BAcquisitionPrecedente},
            {composants.GBDeclenchement, r.GBDeclenchement},
            {composants.LType, r.LType},
            {composants.CBTypeDeclenchement, r.CBTypeDeclenchement},
            {composants.RGSensDeclenchement, r.RGSensDeclenchement},
            {composants.LVoieDecl, r.LVoieDecl},
            {composants.CBVoieSynchro, r.CBVoieSynchro},
            {composants.LSeuil, r.LSeuil},
            {composants.EditUSeuilDecl, r.EditUSeuilDecl},
            {composants.LPretrig, r.LPretrig},
            {composants.CBPretrigX, r.CBPretrigX},
            {composants.CBAjouterCourbes, r.CBAjouterCourbes},
            {composants.CBModePermanent, r.CBModePermanent},
            {composants.BAcquisition, r.BAcquisition}};
        for (const auto& [w, rect] : controles) {
            placer(w, rect);
            w->setFont(fc);
        }
        for (QWidget* w : {composants.BAcquisitionPrecedente, composants.BAcquisition})
            w->setFont(police(r.policeBoutons, base));
        composants.RGSensDeclenchement->setElements(
            {QStringLiteral("montant"), QStringLiteral("descendant")});
        const QColor face = palette().color(QPalette::Button);
        const std::pair<QToolButton*, bool> fleches[] = {{composants.SBDureeTotalePlus, true},
                                                         {composants.SBDureeTotaleMoins, false},
                                                         {composants.SBNbPointsPlus, true},
                                                         {composants.SBNbPointsMoins, false}};
        for (const auto& [b, plus] : fleches) {
            const QPixmap image = pixmapFlecheSpin(b->width(), b->height(), plus, face);
            b->setIcon(QIcon(image));
            b->setIconSize(image.size());
        }
    }

    // Channel panel
    const DispositionVoies& v = d.voies;
    placer(composants.PanelVoies, v.PanelVoies);
    placer(composants.SBRedRegVoies, v.SBRedRegVoies);
    composants.LPatience->setGeometry(0, 0, composants.PanelVoies->width(),
                                      v.SBRedRegVoies.height() + 2);
    composants.LPatience->setVisible(!panneaux.pVoiesReduit);
    composants.ScrBoxVoies->setVisible(v.ScrBoxVoiesVisible);
    if (v.ScrBoxVoiesVisible) {
        placer(composants.ScrBoxVoies, v.ScrBoxVoies);
        int largeur = composants.ScrBoxVoies->viewport()->width();
        int hauteur = composants.ScrBoxVoies->viewport()->height();
        for (int k = 0; k < 4; ++k) {
            if (!v.gbCanaux[k])
                continue;
            const DispositionBoiteCanal& b = *v.gbCanaux[k];
            placer(composants.gbCanaux[k], b.rect);
            composants.gbCanaux[k]->setFont(police(b.police, composants.gbCanaux[k]->font()));
            if (b.modeDiffVisible) {
                // Below the box's frame line, which the title pushes down.
                QRect r = b.CBModeDiff;
                r.moveTop(std::max(r.y(), composants.gbCanaux[k]->contentsRect().top() + 1));
                placer(composants.CBModeDiff[k], r);
            }
            largeur = std::max(largeur, droite(b.rect) + 4);
            hauteur = std::max(hauteur, bas(b.rect) + 4);
        }
        for (int i = 0; i < 8; ++i) {
            if (!v.entrees[i])
                continue;
            const DispositionEntree& en = *v.entrees[i];
            const std::pair<QWidget*, QRect> controles[] = {
                {composants.CBVoiesActives[i], en.CBVoiesActives},
                {composants.RGCalsEA[i], en.RGCalsEA},
                {composants.LValU1[i], en.LValU1},
                {composants.LValUInd[i], en.LValUInd},
                {composants.LEgale[i], en.LEgale},
                {composants.EditValU[i], en.EditValU},
                {composants.legendes[i], en.legendes}};
            for (const auto& [w, rect] : controles) {
                placer(w, rect);
                w->setFont(police(en.policeControles, w->font()));
            }
            if (en.titreVisible) {
                placer(composants.LTitreVoies[i], en.LTitreVoies);
                composants.LTitreVoies[i]->setFont(
                    police(en.policeTitre, composants.LTitreVoies[i]->font()));
            }
            // The radio buttons follow their box's new size.
            QStringList textes;
            for (int k = 0; k < composants.RGCalsEA[i]->nbElements(); ++k)
                textes << composants.RGCalsEA[i]->bouton(k)->text();
            composants.RGCalsEA[i]->setElements(textes);
        }
        composants.contenuVoies->resize(largeur, hauteur);
        if (v.mesures)
            placerMesures(*v.mesures, base);
        dessineLegendes();
    }

    placer(composants.PanelEcranTab, d.PanelEcranTab);
    placerPanneauEcranTab(d);
}

void TFicheKirvaneMixte::placerMessages(const QRect& panel2, const QFont& police) {
    const DispositionOutils& o = disposition.outils;
    QRect message = o.EditMessageX, presence = o.EditPresence;
    const int ecart = presence.x() - droite(message);
    QStringList textesPresence{composants.EditPresence->text()};
    if (const TCentrale* u = centrales.SP5.get())
        textesPresence << QStringLiteral("Initialisation de la centrale ") + u->nomCentrale +
                              QStringLiteral("...")
                       << QStringLiteral("Centrale ") + u->nomCentrale +
                              QString::fromUtf8(" non connectée");
    QFont f = police;
    const int disponible = panel2.width() - message.x() - ecart - 2;
    const auto tiennent = [&](const QFont& p) {
        return largeurTextes(p, textesMessage) + largeurTextes(p, textesPresence) <= disponible;
    };
    const bool coupes = message.width() < largeurTextes(f, textesMessage) ||
                        presence.width() < largeurTextes(f, textesPresence) ||
                        droite(presence) > panel2.width() - 2;
    if (coupes) {
        // Each field gets its longest text and half of what is left; on a panel too short
        // for that, the font gets smaller first (not below 8 pixels).
        while (!tiennent(f) && f.pixelSize() > 8)
            f.setPixelSize(f.pixelSize() - 1);
        const int lm = largeurTextes(f, textesMessage);
        const int lp = largeurTextes(f, textesPresence);
        const int reste = disponible - lm - lp;
        message.setWidth(
            std::max(10, reste >= 0 ? lm + reste / 2 : disponible * lm / std::max(1, lm + lp)));
        presence.setLeft(droite(message) + ecart);
        presence.setWidth(std::max(10, panel2.width() - 2 - presence.x()));
    }
    placer(composants.Panel2, panel2);
    placer(composants.EditMessageX, message);
    placer(composants.EditPresence, presence);
    placer(composants.PBarExcel, presence);
    for (QWidget* w : {composants.EditMessageX, composants.EditPresence})
        w->setFont(f);
}

void TFicheKirvaneMixte::appliquerApparence() {
    QPalette p = palette();
    p.setColor(QPalette::Window, versQColor(COULEUR_FENETRE));
    setPalette(p);
    // The tool bar a shade darker, the channel boxes a shade lighter.
    for (auto [panneau, couleur] :
         {std::pair<QWidget*, TColor>{composants.PBoutons, assombrirCouleur(COULEUR_FENETRE, 6)},
          std::pair<QWidget*, TColor>{composants.contenuVoies,
                                      eclaircirCouleur(COULEUR_FENETRE, 40)}}) {
        QPalette pp = panneau->palette();
        pp.setColor(QPalette::Window, versQColor(couleur));
        panneau->setPalette(pp);
        panneau->setAutoFillBackground(true);
    }
    // The screen font: its size in points is the window's height / 100.
    QFont f = font();
    f.setPointSize(std::max(1, height() / 100));
    setFont(f);
}

void TFicheKirvaneMixte::placerMesures(const DispositionMesuresSurEcran& m, const QFont& base) {
    placer(composants.PanelMesuresSurEcran, m.PanelMesuresSurEcran);
    // Three quarters of the character height: the read-outs fit their boxes.
    QFont f = police(m.police, base);
    if (f.pixelSize() > 0)
        f.setPixelSize(std::max(8, f.pixelSize() * 3 / 4));
    const std::pair<QWidget*, QRect> controles[] = {
        {composants.GBMesureTemps, m.GBMesureTemps},
        {composants.EditT0M, m.EditT0M},
        {composants.EditTFM, m.EditTFM},
        {composants.EditDTM, m.EditDTM},
        {composants.GBMesureU, m.GBMesureU},
        {composants.EditUmaxM, m.EditUmaxM},
        {composants.EditUMinM, m.EditUMinM},
        {composants.EditDUM, m.EditDUM},
        {composants.LAxeVertical, m.LAxeVertical},
        {composants.CBAxes, m.CBAxes},
        {composants.BFermerMesuresSurEcran, m.BFermerMesuresSurEcran}};
    for (const auto& [w, rect] : controles) {
        placer(w, rect);
        w->setFont(f);
    }
    // Each label ends 5 pixels left of its box, measured in the font it is drawn with.
    const std::pair<QLabel*, QLineEdit*> libelles[] = {
        {composants.LInstant1, composants.EditT0M},
        {composants.LInstant2, composants.EditTFM},
        {composants.LIntervallet, composants.EditDTM},
        {composants.LUMax, composants.EditUmaxM},
        {composants.LUMin, composants.EditUMinM},
        {composants.LIntervalleU, composants.EditDUM}};
    const QFontMetrics fm(f);
    for (const auto& [l, e] : libelles) {
        l->setFont(f);
        const int w = fm.horizontalAdvance(l->text()) + 2;
        const int x = std::max(2, e->x() - w - 5);
        l->setGeometry(x, e->y() + (e->height() - fm.height()) / 2, e->x() - 5 - x, fm.height());
    }
}

void TFicheKirvaneMixte::dessineLegendes() {
    for (int i = 0; i < 8; ++i) {
        QLabel* l = composants.legendes[i];
        if (l->width() <= 0 || l->height() <= 0)
            continue;
        QImage image(l->size(), QImage::Format_RGB32);
        QPainter p(&image);
        dessineLegende(p, image.width(), image.height(), reglages.clsVX[i]);
        p.end();
        l->setPixmap(QPixmap::fromImage(image));
    }
}

void TFicheKirvaneMixte::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (bloqueRedim || initialisation)
        return;
    // The layout runs once, 100 ms after the last of a series of resize events.
    TimerRedimGene.stop();
    for (QWidget* w : {composants.PBoutons, composants.PanelEcranTab, composants.panelParametres,
                       composants.PanelVoies})
        w->hide();
    TimerRedimGene.start();
}

void TFicheKirvaneMixte::TimerRedimGeneTimer() {
    TimerRedimGene.stop();
    if (initialisation)
        return;
    redimensionnement();
    for (QWidget* w : {composants.PBoutons, composants.panelParametres, composants.PanelEcranTab,
                       composants.PanelVoies})
        w->show();
}

void TFicheKirvaneMixte::SBRedRegClick(QToolButton* bouton) {
    if (bouton == composants.SBRedRegVoies) {
        const Bascule b = basculerPanneauVoies(panneaux, composants.SBRedRegVoies->height(),
                                               disposition.hauNomPVoies);
        composants.SBRedRegVoies->setText(b.legendeBouton);
        composants.LPatience->setText(b.legendePanneau);
    } else {
        const Bascule b = basculerPanneauParametres(panneaux, composants.SBRedRegTemp->width(),
                                                    disposition.LarNomPParametres);
        composants.SBRedRegTemp->setText(b.legendeBouton);
    }
    redimensionnement();
}
