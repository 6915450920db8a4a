#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"

#include <QPointer>

class QTimer;

/**
 * The switch-on walkthrough: seven steps, each a photograph of the front panel with a one- or
 * two-line instruction, walked forwards and back with two buttons. On the last step a red warning
 * about burning the screen blinks once a second. Every return to the window starts again at the
 * first step.
 */
class TForm4 : public Form, public LanguageCopy<TForm4>
{
    Q_OBJECT

public:
    TForm4();

    void FormCreate() override;
    /** Every return to the window starts the walkthrough again at the first step. */
    void FormActivate() override;

    /** Next step; after the last one the window closes. */
    void BitBtn1Click();
    /** Previous step. */
    void BitBtn3Click();
    /** Every second: turns the warning on or off while the last step is shown. */
    void Timer1Timer();
    /**
     * Shows the current step: its photograph first, then its texts and buttons. A photograph that
     * cannot be read is reported and the step's texts are left as they were.
     */
    void carga();

    Picture *Image1;
    Label *pasos;
    Label *pasos2;
    Label *PASOS3;
    GlyphButton *BitBtn1;
    GlyphButton *BitBtn3;
    QTimer *Timer1;

private:
    /** Sets a line of the instruction, set closer if it would run past the window's edge. */
    void setInstruction(Label *label, const QString &text);

    int m_step = 0;
    bool m_blinking = false;
};

/** The newest walkthrough. */
inline QPointer<TForm4> Form4;
