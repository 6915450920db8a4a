#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"

#include <QPointer>

/**
 * The practice chooser: two links, one to the switch-on walkthrough and one to the practice
 * itself. It stays open after a choice, and each click opens one more window.
 */
class Tpractica : public Form, public LanguageCopy<Tpractica>
{
    Q_OBJECT

public:
    Tpractica();

    void FormCreate() override;

    /** Opens a new switch-on walkthrough. */
    void Label2Click();
    /** Opens a new practice window. */
    void Label3Click();
    void Label2MouseMove();
    void Label3MouseMove();

    Label *Label2;
    Label *Label3;
    GlyphButton *BitBtn1;

private:
    /** Writes a link and centres it in the window, so that only its words take the click. */
    void setLink(Label *link, const QString &text);
};

/** The newest practice chooser. */
inline QPointer<Tpractica> practica;
