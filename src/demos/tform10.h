#pragma once

#include "controls.h"
#include "form.h"

#include <QPointer>

/**
 * The screen of the behaviour cases: the oscilloscope screen for the case whose button was pressed
 * last in its companion, the texts window. It has no title and speaks no language.
 */
class Tform10 : public Form
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
