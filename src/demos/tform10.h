#pragma once

#include "companion.h"
#include "controls.h"
#include "form.h"

#include <QPointer>

class TForm11;

/**
 * The screen of the behaviour cases: the oscilloscope screen for the case whose button was pressed
 * last in the texts window it was opened with. It has no title and speaks no language.
 */
class Tform10 : public Form, public Companion<TForm11>
{
    Q_OBJECT

public:
    Tform10();

    void FormCreate() override;
    void FormHide() override;

    Picture *pantalla;
};

/** The newest behaviour-case screen. */
inline QPointer<Tform10> form10;
