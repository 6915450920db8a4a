#pragma once

#include "controls.h"

#include <QFontMetrics>

/**
 * Keeps a self-sizing label within the width its design gives it. The installed faces that stand
 * in for the design's run a few per cent wider on some texts; such a text is condensed just
 * enough to end where the design ends, instead of running over a frame or the window's edge.
 */
inline void fitLabelToDesignWidth(Label *label, int designWidth)
{
    QFont font = label->font();
    font.setStretch(QFont::Unstretched);
    label->setFont(font);
    label->setText(label->text());
    for (int stretch = 99; label->width() > designWidth + 1 && stretch >= 85; --stretch) {
        font.setStretch(stretch);
        label->setFont(font);
        label->setText(label->text());
    }
}
