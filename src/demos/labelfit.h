#pragma once

#include "controls.h"

#include <QFontMetrics>

/**
 * Keeps a self-sizing label within the room it has. The installed faces that stand in for the
 * design's run a few per cent wider on some texts; such a text is condensed just enough to end
 * within the room, instead of running over a frame or the window's edge.
 */
inline void fitLabelToWidth(Label *label, int room)
{
    QFont font = label->font();
    font.setStretch(QFont::Unstretched);
    label->setFont(font);
    label->setText(label->text());
    for (int stretch = 99; label->width() > room + 1 && stretch >= 85; --stretch) {
        font.setStretch(stretch);
        label->setFont(font);
        label->setText(label->text());
    }
}
