#pragma once

#include "companion.h"
#include "form.h"
#include "richtextpane.h"

#include <QPointer>

class TForm14;

/**
 * The text window of the detailed tube: the explanation of the part last clicked in its tube
 * window, which also gives it its title, size and place. It closes nothing when it is hidden.
 */
class TForm15 : public Form, public Companion<TForm14>
{
    Q_OBJECT

public:
    TForm15();

    RichTextPane *RichEdit1;
};

/** The newest text window of the detailed tube. */
inline QPointer<TForm15> Form15;
