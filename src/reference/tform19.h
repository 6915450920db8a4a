#pragma once

#include "companion.h"
#include "controls.h"
#include "form.h"
#include "language.h"
#include "richtextpane.h"

#include <QPointer>

class TForm20;

/**
 * The vertical stage: a long reading text with figure buttons beside its passages, each showing
 * its figure in the figure window created with this one.
 */
class TForm19 : public Form, public LanguageCopy<TForm19>, public Companion<TForm20>
{
    Q_OBJECT

public:
    TForm19();

    void FormCreate() override;
    void FormHide() override;

    /** The attenuator circuit, under its column headings. */
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();

    RichTextPane *RichEdit1;
    GlyphButton *BitBtn1;
    GlyphButton *BitBtn2;
    GlyphButton *BitBtn3;
    GlyphButton *BitBtn4;
    GlyphButton *BitBtn5;
};

/** The newest vertical-stage window. */
inline QPointer<TForm19> Form19;
