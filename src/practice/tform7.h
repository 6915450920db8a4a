#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"

#include <QPointer>

/**
 * The practice: the circuit the student builds, with the function generator and the
 * oscilloscope's two channels on one common ground, and two links that each state a problem to
 * solve with it in a panel under the circuit.
 */
class TForm7 : public Form, public LanguageCopy<TForm7>
{
    Q_OBJECT

public:
    TForm7();

    void FormCreate() override;
    /** Every return to the window starts again with no problem shown. */
    void FormActivate() override;

    /** Shows the first problem's statement. */
    void Label3Click();
    /** Shows the second problem's statement. */
    void Label4Click();
    void Label3MouseMove();
    void Label4MouseMove();
    /** A click on the statement puts it away. */
    void pproblClick();
    void BitBtn1Click();

    Picture *Image1;
    Label *Label1;
    Label *Label2;
    Label *Label5;
    Panel *pprobl;
    Label *Label3;
    Label *Label4;
    GlyphButton *BitBtn1;

private:
    /** Hides the panel, writes the statement and shows the panel again. */
    void showProblem(const QString &statement);
    /** Sets a label's text, set closer if it would run past the window's edge. */
    void setLine(Label *label, const QString &text);
};

/** The newest practice window. */
inline QPointer<TForm7> Form7;
