#pragma once

#include "companion.h"
#include "controls.h"
#include "form.h"
#include "language.h"

#include <QPointer>

class TForm22;

/**
 * The figure window of the horizontal stage: one figure at its own size, the stage's diagram at
 * first. The figure buttons of its reading window give it other figures, sizes and places.
 */
class TForm21 : public Form, public LanguageCopy<TForm21>, public Companion<TForm22>
{
    Q_OBJECT

public:
    TForm21();

    void FormCreate() override;
    void FormHide() override;

    /** Loads a figure, the picture control taking the figure's size; false when it cannot be read. */
    bool showFigure(const QString &fileName);

    Picture *Image1;
};

/** The newest horizontal-stage figure window. */
inline QPointer<TForm21> Form21;
