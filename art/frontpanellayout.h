#pragma once

#include "frontpanelmodel.h"

/**
 * The front of the dual-channel oscilloscope as the 535 × 239 front-panel photograph shows it,
 * every control in its resting state. Controls that carry a hot-spot of the front-panel explorer
 * have that hot-spot's name and are placed from its rectangle, so picture and hot-spots agree.
 */
FrontPanelModel frontPanelLayout();
