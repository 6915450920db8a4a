#pragma once

#include "companion.h"
#include "controls.h"
#include "form.h"
#include "language.h"

#include <QList>
#include <QPointer>

class TForm15;

/**
 * The detailed tube: a side view of the cathode-ray tube with its parts named over it. Clicking a
 * name fills the text window created with this one with the part's explanation, then titles,
 * sizes, places and shows it.
 */
class TForm14 : public Form, public LanguageCopy<TForm14>, public Companion<TForm15>
{
    Q_OBJECT

public:
    TForm14();

    void FormCreate() override;
    /** Whatever hides the tube window hides its text window too. */
    void FormHide() override;

    /** Hides the text window. */
    void ocultar();
    void BitBtn1Click();

    /** One part of the tube and how its explanation is shown. */
    struct Part
    {
        const char *handler;
        const char16_t *titleCastilian;
        const char16_t *titleValencian;
        const char16_t *fileCastilian;
        const char16_t *fileValencian;
        QSize viewer;
        /** The text window's outer frame: screen place and size. */
        QRect window;
    };
    /** The nine parts, in the order of their handlers. */
    static const QList<Part> &partTable();

    /** One name over the drawing: its label, place and texts, and the part it explains. */
    struct PartLabel
    {
        /** Also its place over the drawing, in the places the drawing shares (tubedetail.h). */
        const char *name;
        const char16_t *castilian;
        const char16_t *valencian;
        int part;
        bool transparent;
        /** The design text where it differs from the Castilian one (a trailing blank). */
        const char16_t *design;
    };
    /** The fifteen part labels, in the window's order. */
    static const QList<PartLabel> &labelTable();

    /** The click on any name of a part: the five steps that fill and show the text window. */
    void partClick(int part);
    /** The pointer moved over a part name: from now on it shows the hand there. */
    void partMouseMove(Label *label);

    void efilClick() { partClick(0); }
    void ecatClick() { partClick(1); }
    void erejClick() { partClick(2); }
    void eelecClick() { partClick(3); }
    void Label5Click() { partClick(4); }
    void Label9Click() { partClick(5); }
    void Label12Click() { partClick(6); }
    void Label18Click() { partClick(7); }
    void Label19Click() { partClick(8); }

    Picture *Image1;
    /** The part labels, in the order of labelTable(). */
    QList<Label *> partLabels;
    /** The eight arrows between the names and their parts. */
    QList<Label *> arrows;
    GlyphButton *BitBtn1;
};

/** The newest detailed tube window. */
inline QPointer<TForm14> Form14;
