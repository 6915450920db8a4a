#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"
#include "radiogroup.h"

#include <QList>
#include <QPointer>

class QTabWidget;

/**
 * The questions: seven multiple-choice questions, one a page. Picking an option judges it at once
 * in the feedback strip; changing page or coming back to the window clears every answer.
 */
class Tcuestiones : public Form, public LanguageCopy<Tcuestiones>
{
    Q_OBJECT

public:
    Tcuestiones();

    void FormCreate() override;
    void FormActivate() override;

    /** Runs as the page changes: hides the strip and clears every group, judging nothing. */
    void pagChanging();
    /** The selection of a question's group has changed (question from 0): shows its verdict. */
    void bcClick(int question);
    void BitBtn1Click();
    /** Clears the selection of all seven groups. */
    void inicio();

    /** The index, from 0, of the right option of a question, from 0. */
    static int correctOption(int question);

    QTabWidget *pag;
    /** The pages cu1 .. cu7. */
    QList<QWidget *> pages;
    /** The question texts Label1 .. Label5, Label10 and Label11, one a page. */
    QList<Label *> questionLabels;
    /** The option groups bc1 .. bc7. */
    QList<RadioGroup *> groups;
    QList<Picture *> images;
    QList<Label *> figureCaptions;
    Panel *Panel1;
    GlyphButton *BitBtn1;
};

/** The newest questions window. */
inline QPointer<Tcuestiones> cuestiones;
