#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"

#include <QPointer>

class QLineEdit;

/**
 * The access gate of the self-evaluation: a prompt, a box for the code and two buttons. A code that
 * opens the questionnaire shows a fresh questionnaire window and closes the gate; any other code
 * leaves the gate open with a refusal in place of the prompt.
 */
class Tpw : public Form, public LanguageCopy<Tpw>
{
    Q_OBJECT

public:
    Tpw();

    void FormCreate() override;

    /** Judges the code exactly as typed: opens the questionnaire, or writes the refusal. */
    void OKBtnClick();
    void CancelBtnClick();

    Label *Label1;
    QLineEdit *Password;
    GlyphButton *OKBtn;
    GlyphButton *CancelBtn;
};

/** The newest access gate. */
inline QPointer<Tpw> pw;
