#pragma once

#include "companion.h"
#include "controls.h"
#include "form.h"
#include "language.h"
#include "richtextpane.h"

#include <QList>
#include <QPointer>

class Tform10;

/**
 * The behaviour cases: three explanatory texts with a column of case buttons down their left
 * edge, each beside the case it stands for. A button shows its case's screen in the screen window
 * opened with this one; every picture is read from its file at the press.
 */
class TForm11 : public Form, public LanguageCopy<TForm11>, public Companion<Tform10>
{
    Q_OBJECT

public:
    TForm11();

    void FormCreate() override;
    void FormActivate() override;
    void FormHide() override;

    void BitBtn1Click();
    /** The two-channel button that shows its two pictures in turn, the first after every activation. */
    void BitBtn10Click();
    /** The press of every other case button: shows its picture in the screen window. */
    void caseButtonClick(int row);

    /** Where a case button stands: its name and its top in the window, beside its case's paragraph. */
    struct CaseButtonPlace
    {
        const char *name;
        int top;
    };
    /**
     * The thirteen case buttons, top to bottom. Which picture each shows is the behaviour model's
     * to say; a button the model gives two pictures shows them in turn.
     */
    static const QList<CaseButtonPlace> &caseButtonPlaces();

    Panel *Bevel1;
    Label *Label2;
    Label *Label1;
    RichTextPane *RichEdit1;
    Label *Label3;
    RichTextPane *RichEdit2;
    Label *Label4;
    RichTextPane *RichEdit3;
    /** The case buttons in the order of the case table, BitBtn2 to BitBtn14. */
    QList<GlyphButton *> caseButtons;
    GlyphButton *BitBtn1;

private:
    bool m_alternate = false;
};

/** The newest behaviour-cases window. */
inline QPointer<TForm11> Form11;
