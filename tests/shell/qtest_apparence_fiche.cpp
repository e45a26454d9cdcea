// How the main window looks and speaks: its colour and font, texts shown whole at the
// usual screen sizes, and message boxes with the icon of their kind and one line break for
// each "\n\r".
#include "couleursqt.h"
#include "fiche_essai.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

namespace {

// What a box showed: found among the top-level widgets while it runs, then closed.
struct BoiteVue {
    QString texte;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    bool trouvee = false;
};

void fermerALApparition(BoiteVue& vue) {
    auto* minuterie = new QTimer;
    QObject::connect(minuterie, &QTimer::timeout, minuterie, [minuterie, &vue] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* b = qobject_cast<QMessageBox*>(w);
            if (b && b->isVisible()) {
                vue = {b->text(), b->icon(), true};
                b->done(QMessageBox::Yes);
                minuterie->deleteLater();
                return;
            }
        }
    });
    minuterie->start(10);
}

// The text of a label or a check box fits inside it, and it lies inside its parent.
QString coupe(QWidget* w, const QString& texte, int largeurEnPlus = 0) {
    const QFontMetrics fm(w->font());
    const QRect dedans = w->contentsRect();
    QStringList fautes;
    if (fm.horizontalAdvance(texte) + largeurEnPlus > dedans.width())
        fautes << QStringLiteral("%1 px wide for %2")
                      .arg(dedans.width())
                      .arg(fm.horizontalAdvance(texte) + largeurEnPlus);
    if (fm.height() > dedans.height() + 1)
        fautes << QStringLiteral("%1 px high for %2").arg(dedans.height()).arg(fm.height());
    const QRect parent = w->parentWidget()->rect();
    if (!parent.contains(w->geometry()))
        fautes << QStringLiteral("outside its parent");
    return fautes.isEmpty() ? QString() : texte + QStringLiteral(": ") + fautes.join(", ");
}

// Indicator and spacing of a check box, besides its text.
int margeCase(QCheckBox* b) {
    const QStyle* s = b->style();
    return s->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b) +
           s->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
}

} // namespace

class TestApparenceFiche : public QObject, private TEssaiFiche {
    Q_OBJECT

    std::unique_ptr<TFicheKirvaneMixte> fiche;
    TComposantsFiche& c() { return fiche->composants; }

    // With every simulator built, so that the tool bar shows one button per unit.
    void ouvrir(bool toutesLesCentrales = false) {
        TDemarrageFiche d = demarrage(nullptr);
        if (toutesLesCentrales) {
#ifdef KIRVANE_SIMULATEUR_V6
            d.chemins[FAMILLE_V6] = {QStringLiteral(KIRVANE_SIMULATEUR_V6)};
#endif
#ifdef KIRVANE_SIMULATEUR_CAMPUS
            d.chemins[FAMILLE_CAMPUS] = {QStringLiteral(KIRVANE_SIMULATEUR_CAMPUS)};
#endif
            boites->choix = -1; // a question would abandon the start
        }
        fiche = std::make_unique<TFicheKirvaneMixte>(std::move(d));
        fiche->show();
        fiche->finInitialisation();
        QVERIFY(QTest::qWaitForWindowExposed(fiche.get()));
    }

    void taille(QSize s) {
        fiche->resize(s);
        QTRY_VERIFY(!fiche->TimerRedimGene.isActive() && c().PanelVoies->isVisible());
        fiche->redimensionnement();
    }

    // Every text of the window that the layout sizes, shown whole.
    QStringList textesCoupes() {
        QStringList r;
        auto voir = [&r](const QString& faute) {
            if (!faute.isEmpty())
                r << faute;
        };
        for (QLabel* l : {c().LReglages, c().LSerie, c().Lpoint})
            voir(coupe(l, l->text()));
        if (c().ScrollBox1->isVisible())
            for (QLabel* l : {c().LDureeTotale, c().LNombreDePoints, c().LabelTe, c().LType,
                              c().LVoieDecl, c().LSeuil, c().LPretrig})
                voir(coupe(l, l->text()));
        for (int i = 0; i < 8; ++i) {
            if (!c().LValUInd[i]->isVisibleTo(fiche.get()))
                continue;
            voir(coupe(c().LValU1[i], c().LValU1[i]->text()));
            voir(coupe(c().LValUInd[i], c().LValUInd[i]->text()));
            voir(coupe(c().CBVoiesActives[i], c().CBVoiesActives[i]->text(),
                       margeCase(c().CBVoiesActives[i])));
        }
        for (int k = 0; k < 4; ++k)
            if (c().CBModeDiff[k]->isVisibleTo(fiche.get())) {
                voir(coupe(c().CBModeDiff[k], c().CBModeDiff[k]->text(),
                           margeCase(c().CBModeDiff[k])));
                // Not across the box's frame line.
                if (c().CBModeDiff[k]->y() <= c().gbCanaux[k]->contentsRect().top())
                    r << QStringLiteral("mode différentiel %1 on the frame").arg(k);
            }
        // The longest status text in the message field, with the field's frame and margins.
        QLineEdit* m = c().EditMessageX;
        const int cadre = 2 * m->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 4;
        voir(coupe(m, QString::fromUtf8("Attente du déclenchement sur synchro..."), cadre));
        voir(coupe(c().EditPresence, c().EditPresence->text(), cadre));
        if (!c().Panel2->rect().contains(c().EditPresence->geometry()))
            r << QStringLiteral("EditPresence outside Panel2");
        return r;
    }

    // The channel boxes: each one whole inside the scroll box's content, which the bars
    // reach to its bottom.
    QStringList boitesCachees() {
        QStringList r;
        QScrollArea* s = c().ScrBoxVoies;
        const int hauteurVisible = s->viewport()->height() + s->verticalScrollBar()->maximum();
        for (int k = 0; k < 4; ++k) {
            QGroupBox* b = c().gbCanaux[k];
            if (!b->isVisibleTo(fiche.get()))
                continue;
            if (b->geometry().bottom() >= hauteurVisible)
                r << QStringLiteral("box %1: bottom %2, visible to %3")
                         .arg(k)
                         .arg(b->geometry().bottom())
                         .arg(hauteurVisible);
        }
        return r;
    }

private slots:
    void cleanup() {
        fermer(fiche);
    }

    // The window's light blue, the tool bar and channel boxes in shades of it, and a font
    // whose size in points is the window's height at start / 100.
    void laCouleurEtLaPolice() {
        fiche = std::make_unique<TFicheKirvaneMixte>(demarrage(nullptr));
        const int hauteur = fiche->height();
        QCOMPARE(fiche->font().pointSize(), std::max(1, hauteur / 100));
        QCOMPARE(fiche->palette().color(QPalette::Window), QColor(221, 238, 255));
        QCOMPARE(c().PanelVoies->palette().color(QPalette::Window), QColor(221, 238, 255));
        QCOMPARE(c().PBoutons->palette().color(QPalette::Window),
                 versQColor(assombrirCouleur(COULEUR_FENETRE, 6)));
        QVERIFY(c().PBoutons->autoFillBackground());
        // The settings panel keeps its red title bar.
        QCOMPARE(c().PTitreReglagesTemporels->palette().color(QPalette::Window), QColor(255, 0, 0));
        // The controls the layout does not size take the window's font.
        QCOMPARE(c().LPatience->font().pointSize(), fiche->font().pointSize());
    }

    // At the common school sizes, after reducing and restoring both side panels too.
    void aucunTexteCoupe() {
        const QSize tailles[] = {{1356, 718}, {1060, 725}, {1910, 1030}};
        ouvrir();
        for (const QSize t : tailles) {
            const QByteArray nom =
                QByteArray::number(t.width()) + "x" + QByteArray::number(t.height());
            taille(t);
            QStringList fautes = textesCoupes() + boitesCachees();
            QVERIFY2(fautes.isEmpty(), qPrintable(nom + ": " + fautes.join("; ")));
            for (QToolButton* b : {c().SBRedRegTemp, c().SBRedRegVoies}) {
                fiche->SBRedRegClick(b);
                fiche->SBRedRegClick(b);
            }
            fautes = textesCoupes() + boitesCachees();
            QVERIFY2(fautes.isEmpty(), qPrintable(nom + " restored: " + fautes.join("; ")));
        }
    }

    // The tool bar's unit buttons show the whole name of their unit (the face installed may
    // be wider than the one their width was made for), the active one in bold.
    void lesNomsDesCentralesEntiers() {
#ifndef KIRVANE_SIMULATEUR_V6
        QSKIP("sans le simulateur de la V6, une seule centrale : pas de boutons");
#endif
        ouvrir(true);
        QVERIFY(c().SBCentrales_.size() >= 2); // the simulated units, one button each
        for (const QSize t : {QSize(1356, 718), QSize(1910, 1030)}) {
            taille(t);
            for (QToolButton* b : c().SBCentrales_) {
                const QString faute = coupe(b, b->text(), 6);
                QVERIFY2(faute.isEmpty(), qPrintable(faute));
                QCOMPARE(b->font().bold(), b->isChecked());
            }
        }
    }

    // The real boxes: the icon of the kind, one line break for each "\n\r", also in a
    // question.
    void lesBoitesStandard() {
        const std::unique_ptr<TBoitesDialogue> b = boitesDialogueStandard();
        const QString texte =
            QString::fromUtf8("Aucune entrée analogique n'est active. \n\rActivez au moins une "
                              "entrée !");
        const QString vu =
            QString::fromUtf8("Aucune entrée analogique n'est active. \nActivez au moins une "
                              "entrée !");
        const std::pair<TGenreMessage, QMessageBox::Icon> cas[] = {
            {TGenreMessage::Information, QMessageBox::Information},
            {TGenreMessage::Avertissement, QMessageBox::Warning},
            {TGenreMessage::Simple, QMessageBox::NoIcon}};
        for (const auto& [genre, icone] : cas) {
            BoiteVue v;
            fermerALApparition(v);
            b->message(nullptr, texte, genre);
            QVERIFY(v.trouvee);
            QCOMPARE(v.icone, icone);
            QCOMPARE(v.texte, vu);
        }
        BoiteVue q;
        fermerALApparition(q);
        QCOMPARE(b->demander(nullptr, QStringLiteral("Un\n\rdeux"), true), TReponse::Oui);
        QCOMPARE(q.texte, QStringLiteral("Un\ndeux"));
        QCOMPARE(q.icone, QMessageBox::Question);
    }

    // The window gives each message its kind: information for a refused start or a
    // mistyped value, warning when quitting is refused.
    void leGenreDesMessagesDeLaFenetre() {
        ouvrir();
        QTest::mouseClick(c().CBVoiesActives[0], Qt::LeftButton, {},
                          QPoint(6, c().CBVoiesActives[0]->height() / 2));
        QVERIFY(!fiche->centrales.SP5->VoiesX[0].active);
        QTest::mouseClick(c().BAcquisition, Qt::LeftButton);
        QCOMPARE(boites->avertissements,
                 QStringList{QString::fromUtf8("Aucune entrée analogique n'est active. \n\r"
                                               "Activez au moins une entrée !")});
        QCOMPARE(boites->genres, QList<TGenreMessage>{TGenreMessage::Information});

        c().CBDureeTotale->setFocus();
        c().CBDureeTotale->lineEdit()->selectAll();
        QTest::keyClicks(c().CBDureeTotale->lineEdit(), QStringLiteral("abc"));
        c().BAcquisition->setFocus();
        QTRY_COMPARE(boites->genres.size(), 2);
        QCOMPARE(boites->avertissements.last(),
                 QString::fromUtf8("Valeur de durée totale incorrecte. Veuillez rectifier."));
        QCOMPARE(boites->genres.last(), TGenreMessage::Information);

        fiche->moteur->MODEGENERAL = MODE_TRANSFERT_EXCEL;
        QVERIFY(!fiche->close());
        QCOMPARE(boites->genres.last(), TGenreMessage::Avertissement);
        fiche->moteur->MODEGENERAL = MODE_VIERGE;
    }
};

QTEST_MAIN(TestApparenceFiche)
#include "qtest_apparence_fiche.moc"
