#pragma once

#include "companion.h"
#include "controls.h"
#include "form.h"
#include "language.h"

#include <QPointer>

class TForm19;

/**
 * The figure window of the vertical stage: the stage's block diagram above a view of the front
 * panel. Every return to it puts those two back, whatever the figure buttons showed.
 */
class TForm20 : public Form, public LanguageCopy<TForm20>, public Companion<TForm19>
{
    Q_OBJECT

public:
    TForm20();

    void FormCreate() override;
    void FormActivate() override;
    void FormHide() override;

    Picture *Image1;
    Picture *Image2;
    Label *Label1;
    Label *Label2;
};

/** The newest vertical-stage figure window. */
inline QPointer<TForm20> Form20;
