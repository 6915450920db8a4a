#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"
#include "tubeparts.h"

#include <QPointer>

/**
 * The cathode-ray-tube description: a drawing of the tube with its six parts named over it.
 * Clicking a name explains the part in one or two lines, in a box above or below the drawing.
 */
class TForm6 : public Form, public LanguageCopy<TForm6>
{
    Q_OBJECT

public:
    TForm6();

    void FormCreate() override;
    /** Every return to the window starts again with no explanation open. */
    void FormActivate() override;

    void BitBtn1Click();
    /** Hides the four text panels. */
    void ini();
    /** Hides both lines of the bottom box. */
    void Panel1Click();
    /** Hides both lines of the top box. */
    void Panel2Click();

    /** The click on a part name: hides every line, then fills and shows the part's box. */
    void partClick(const TubePart &part);
    /** The pointer moved over a part name: from now on it shows the hand there. */
    void partMouseMove(Label *label);

    /** The part label of that name (efil, ecat, erej, Label1, eph, epan); null for another name. */
    Label *partLabel(const QString &name) const;

    Picture *Image1;
    Label *efil;
    Label *ecat;
    Label *erej;
    Label *Label1;
    Label *eph;
    Label *epan;
    Label *Label2;
    Label *Label3;
    GlyphButton *BitBtn1;
    Panel *Panel2;
    Panel *Panel4;
    Panel *Panel1;
    Panel *Panel3;
    Panel *pp;

private:
    void setLine(Panel *line, const QString &text);

    QList<Label *> m_partLabels;
};

/** The newest cathode-ray-tube description. */
inline QPointer<TForm6> Form6;
