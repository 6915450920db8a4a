#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"
#include "richtextpane.h"

#include <QPointer>

/**
 * The technical data of the HM-203 under six headings, each followed by a pane read from its own
 * file. The window scrolls over the whole list.
 */
class TForm13 : public Form, public LanguageCopy<TForm13>
{
    Q_OBJECT

public:
    TForm13();

    void FormCreate() override;

    Label *Label2;
    RichTextPane *RichEdit1;
    Label *Label3;
    RichTextPane *RichEdit2;
    Label *Label4;
    RichTextPane *RichEdit3;
    Label *Label5;
    RichTextPane *RichEdit4;
    Label *Label6;
    RichTextPane *RichEdit5;
    Label *Label7;
    RichTextPane *RichEdit6;
    GlyphButton *BitBtn1;

    /** What a pane shows until its file replaces it, line by line. */
    static QString designText(int pane);
};

/** The newest technical-data window. */
inline QPointer<TForm13> Form13;
