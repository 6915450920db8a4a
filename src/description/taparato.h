#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"

#include <QPointer>

/**
 * The description chooser: two links, one to the cathode-ray-tube description and one to the
 * front-panel controls. It stays open after a choice, so the other description can follow.
 */
class Taparato : public Form, public LanguageCopy<Taparato>
{
    Q_OBJECT

public:
    Taparato();

    void FormCreate() override;

    /** Opens a new cathode-ray-tube description. */
    void Label1Click();
    /** Opens a new front-panel explorer. */
    void Label2Click();
    void Label1MouseMove();
    void Label2MouseMove();

    Label *Label1;
    Label *Label2;
    GlyphButton *BitBtn1;
};

/** The newest description chooser. */
inline QPointer<Taparato> aparato;
