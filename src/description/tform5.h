#pragma once

#include "controls.h"
#include "form.h"
#include "frontpanelspots.h"
#include "language.h"

#include <QPointer>

/**
 * The front-panel explorer: a picture of the HM-203's front panel with an invisible hot-spot over
 * each control. Clicking a control explains it in one line, in a small panel placed near it; the
 * three CAL knobs also raise a red warning line at the top of the window.
 */
class TForm5 : public Form, public LanguageCopy<TForm5>
{
    Q_OBJECT

public:
    TForm5();

    void FormCreate() override;
    /** Every return to the window starts again with no explanation open. */
    void FormActivate() override;

    void BitBtn1Click();
    /** Hides all ten information panels. */
    void inicializacion();

    /**
     * The click on a hot-spot: hides every panel, then fills and shows the hot-spot's own; a CAL
     * knob also writes its warning in red, any other control clears the warning.
     */
    void hotSpotClick(const FrontPanelSpot &spot);
    /** The pointer moved over a hot-spot: from now on it shows the hand there. */
    void hotSpotMouseMove(HotSpot *spot);
    /** The click on an information panel hides it and nothing else. */
    void panelClick(Panel *panel);

    /** The hot-spot of that name, as the front-panel table names it; null for an unknown name. */
    HotSpot *hotSpot(const QString &name) const;
    /** The information panel of that name; null for an unknown name. */
    Panel *panel(const QString &name) const;
    /** The ten information panels, in the order they are hidden. */
    const QList<Panel *> &panels() const { return m_panels; }

    Picture *Image1;
    Label *einf2;
    Label *einf1;
    GlyphButton *BitBtn1;

    Panel *Ppant;
    Panel *pbajoi;
    Panel *pbajod;
    Panel *pmedioi;
    Panel *pmediod;
    Panel *psupi;
    Panel *psupd;
    Panel *ppeq;
    Panel *ppeqi;
    Panel *pinfc;

private:
    QList<HotSpot *> m_hotSpots;
    QList<Panel *> m_panels;
};

/** The newest front-panel explorer. */
inline QPointer<TForm5> Form5;
