#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"

#include <QPointer>

/** The block diagram of the oscilloscope, one picture in the language in force. */
class TForm16 : public Form, public LanguageCopy<TForm16>
{
    Q_OBJECT

public:
    TForm16();

    void FormCreate() override;

    Picture *Image1;
};

/** The newest block-diagram window. */
inline QPointer<TForm16> Form16;
