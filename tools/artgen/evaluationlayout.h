#pragma once

#include "frontpanelmodel.h"

/**
 * The front of the oscilloscope as the self-evaluation photograph shows it (535 × 239), every
 * control in its resting state. Each control that carries a hot-spot of the questionnaire is
 * placed from that hot-spot's rectangle and named as the hot-spot table names it, so that a click
 * on the photograph lands on the control it asks about.
 */
FrontPanelModel evaluationPanelLayout();
