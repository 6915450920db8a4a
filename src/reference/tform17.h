#pragma once

#include "companion.h"
#include "controls.h"
#include "form.h"
#include "language.h"
#include "richtextpane.h"

#include <QList>
#include <QPointer>

class TForm18;

/**
 * Dual-channel oscilloscopes: a reading text with two figure buttons, each showing one way of
 * sweeping both channels in the figure window created with this one, under its own title.
 */
class TForm17 : public Form, public LanguageCopy<TForm17>, public Companion<TForm18>
{
    Q_OBJECT

public:
    TForm17();

    void FormCreate() override;
    void FormHide() override;

    void BitBtn1Click();
    void BitBtn2Click() { figureClick(0); }
    void BitBtn3Click() { figureClick(1); }

    /** One figure button: the figure window's new title and picture. */
    struct Figure
    {
        const char *button;
        const char16_t *castilianTitle;
        const char16_t *valencianTitle;
        const char16_t *castilianPicture;
        const char16_t *valencianPicture;
    };
    /** The two figure buttons, top to bottom. */
    static const QList<Figure> &figureTable();

    /** A figure button's press: the title first, then the picture; the window is not brought up. */
    void figureClick(int figure);

    RichTextPane *RichEdit1;
    GlyphButton *BitBtn1;
    GlyphButton *BitBtn2;
    GlyphButton *BitBtn3;
};

/** The newest dual-channel reading window. */
inline QPointer<TForm17> Form17;
