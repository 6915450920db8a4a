#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"
#include "richtextpane.h"
#include "sinezones.h"

#include <QHash>
#include <QList>
#include <QPointer>

class QStackedWidget;

/**
 * The utilities of the oscilloscope: a small book of pages without tabs. The index links to the
 * characteristics of a sine wave (whose annotations explain themselves when clicked), to the phase
 * angle between two waves, and to measuring with the oscilloscope, which links on to measuring the
 * phase in dual mode and by Lissajous figures. Each page has a small button back to the page it
 * came from; the Lissajous page also shows the same two signals on a screen in either mode.
 */
class TForm8 : public Form, public LanguageCopy<TForm8>
{
    Q_OBJECT

public:
    TForm8();

    void FormCreate() override;
    /** Every return to the window starts again at the index with no explanation open. */
    void FormActivate() override;

    void BitBtn1Click();
    void ecaracClick();
    void eangClick();
    void emedClick();
    void Label31Click();
    void Label34Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    /** The click on a zone of the sine wave: hides every panel, then fills and shows the zone's own. */
    void zoneClick(const SineZone &zone);
    /** The click on an explanation panel hides it and nothing else. */
    void panelClick(Panel *panel);
    /** Shows the two signals in dual mode on the screen picture. */
    void SpeedButton7Click();
    /** Shows the two signals in X-Y mode on the screen picture. */
    void SpeedButton8Click();
    /** The pointer moved over a link or a zone: from now on it shows the hand there. */
    void handMouseMove(QWidget *control);
    /** Hides the three explanation panels. */
    void inicio();

    /** The label of that name, on whichever page it stands; null for an unknown name. */
    Label *label(const QString &name) const { return m_labels.value(name); }
    /** The click zone of that name; null for an unknown name. */
    HotSpot *zone(const QString &name) const { return m_zones.value(name); }
    /** The explanation panel of that name; null for an unknown name. */
    Panel *panel(const QString &name) const;
    /** The three explanation panels, in the order they are hidden. */
    QList<Panel *> panels() const { return { put, pw, pij }; }

    QStackedWidget *PageControl1;
    QWidget *pag1;
    QWidget *pag3;
    QWidget *pag4;
    QWidget *pag5;
    QWidget *pag6;
    QWidget *pag7;

    Label *eutil;
    Picture *imsen;
    Picture *imdual;
    Picture *imlis;
    RichTextPane *RichEdit1;
    Label *ecarac;
    Label *eang;
    Label *emed;
    GlyphButton *BitBtn1;

    Picture *imsenoide;
    Panel *put;
    Panel *pw;
    Panel *pij;
    GlyphButton *SpeedButton2;

    Picture *imcomp;
    GlyphButton *SpeedButton3;

    Picture *imosc;
    Label *Label31;
    Label *Label34;
    GlyphButton *SpeedButton4;

    Picture *imdesdual;
    GlyphButton *SpeedButton5;

    Picture *imdeslis;
    GlyphButton *SpeedButton6;
    Picture *pant;
    GlyphButton *SpeedButton7;
    GlyphButton *SpeedButton8;

private:
    QWidget *page(int number) const;
    void showPage(QWidget *page);
    GlyphButton *backButton(QWidget *page, const char *name, const Geometry &geometry);
    /** Places the formula fragments and the flowing lines after their texts have changed. */
    void layoutLines();

    QHash<QString, Label *> m_labels;
    QHash<QString, HotSpot *> m_zones;
};

/** The newest utilities window. */
inline QPointer<TForm8> Form8;
