#pragma once

#include "frontpanelmodel.h"

#include <functional>
#include <span>

/**
 * Where one part of the front (hm203panel.h) stands in a front-panel picture, placed relative to the
 * top-left corner of the hot-spot rectangle it hangs on (its anchor), with its pointer's resting angle.
 * Parts without a hot-spot of their own hang on a neighbour's rectangle; rotary switches on the CAL knob
 * they carry, so the two stay concentric. What the part is and what is printed by it come from the
 * catalogue.
 */
struct AnchoredControl
{
    const char *name;
    const char *anchor;
    qreal dx, dy, width, height;
    qreal angle;
};

/** Adds the controls to the model, each placed on the rectangle anchorRect gives its anchor. */
void placeAnchoredControls(FrontPanelModel &model, std::span<const AnchoredControl> controls,
    const std::function<QRectF(const char *anchor)> &anchorRect);

/**
 * The front of the dual-channel oscilloscope as the 535 × 239 front-panel photograph shows it,
 * every control in its resting state. Controls that carry a hot-spot of the front-panel explorer
 * have that hot-spot's name and are placed from its rectangle, so picture and hot-spots agree.
 */
FrontPanelModel frontPanelLayout();
