#pragma once

#include "companion.h"
#include "controls.h"
#include "form.h"
#include "language.h"
#include "richtextpane.h"

#include <QList>
#include <QPointer>
#include <QRect>

class TForm21;

/**
 * The horizontal stage: three reading texts (the stage, its trigger circuit, its sweep generator)
 * with figure buttons beside their passages. It opens its own figure window as it is created.
 */
class TForm22 : public Form, public LanguageCopy<TForm22>, public Companion<TForm21>
{
    Q_OBJECT

public:
    TForm22();

    void FormCreate() override;
    void FormHide() override;

    void BitBtn1Click() { figureClick(0); }
    void BitBtn2Click();
    void BitBtn3Click() { figureClick(1); }
    void BitBtn4Click() { figureClick(2); }

    /** One figure button: what it shows and where it puts the figure window. */
    struct Figure
    {
        const char *button;
        const char16_t *castilianPicture;
        const char16_t *valencianPicture;
        /** The figure window's outer frame: screen place and size. */
        QRect window;
    };
    /** The three figure buttons, top to bottom. */
    static const QList<Figure> &figureTable();

    /** A figure button's press: new picture, then new size and place; neither shows nor retitles. */
    void figureClick(int figure);

    RichTextPane *RichEdit1;
    Label *Label1;
    RichTextPane *RichEdit2;
    Label *Label2;
    RichTextPane *RichEdit3;
    GlyphButton *BitBtn1;
    GlyphButton *BitBtn3;
    GlyphButton *BitBtn4;
    GlyphButton *BitBtn2;
};

/** The newest horizontal-stage window. */
inline QPointer<TForm22> Form22;
