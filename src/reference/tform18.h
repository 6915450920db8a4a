#pragma once

#include "companion.h"
#include "controls.h"
#include "form.h"
#include "language.h"

#include <QPointer>

class QScrollArea;
class TForm17;

/**
 * The figure window of the dual-channel pages: the block diagram of a dual-channel instrument at
 * first, then the sweep figures. It keeps its size and scrolls over a larger figure.
 */
class TForm18 : public Form, public LanguageCopy<TForm18>, public Companion<TForm17>
{
    Q_OBJECT

public:
    TForm18();

    void FormCreate() override;
    void FormHide() override;

    /** Loads a figure, the picture control taking the figure's size; false when it cannot be read. */
    bool showFigure(const QString &fileName);

    Picture *Image1;

private:
    QScrollArea *m_view;
};

/** The newest dual-channel figure window. */
inline QPointer<TForm18> Form18;
