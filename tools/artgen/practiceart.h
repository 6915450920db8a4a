#pragma once

#include "frontpanelmodel.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QStringList>

/** The number of steps of switching the instrument on; the photographs are numbered from 0. */
inline constexpr int kSwitchOnStepCount = 7;

/**
 * The instrument's front as the switch-on walkthrough leaves it after the given step: from a bench
 * where the knobs were left anywhere, every button goes out, the position knobs turn upright, the
 * trigger selector goes to its top position, GD goes in, the CAL triangles turn to their calibrated
 * stop, POWER goes in and lights its lamp, and finally the resting trace shows.
 */
FrontPanelModel switchOnPanel(int step);

/** The controls the given step changes or asks to adjust, by their names in the front-panel model. */
QStringList switchOnMarkedControls(int step);

/** Whether the step's photograph points at the trace on the screen. */
bool switchOnMarksTrace(int step);

/** The one accent colour of the rings and the arrow that mark what a step changes. */
QColor switchOnMarkColour();

/**
 * The size of the photographs: the front panel a little reduced, so that centred in the
 * walkthrough's picture it leaves the instruction's second line clear above it.
 */
inline constexpr QSize kSwitchOnPictureSize(503, 225);

/** The step's photograph: the front panel after the step, its changed controls ringed. */
QImage renderSwitchOnStep(int step);

/** The size of the practice circuit picture. */
inline constexpr QSize kPracticeCircuitSize(345, 217);

/**
 * Where the practice circuit picture leaves room on the oscilloscope's box for the label that
 * names it, in picture coordinates.
 */
QRectF practiceOscilloscopeNameRoom();

/**
 * The practice circuit: a function generator driving a series RC (C towards the generator, R
 * towards ground), channel I across the whole (Ue) and channel II across R (Ur), the generator's
 * and the oscilloscope's grounds joined on one common line.
 */
QImage renderPracticeCircuit();
