#pragma once

#include "scopesettings.h"

#include <QImage>
#include <QSize>
#include <QString>

/**
 * The pictures of the utilities book, drawn from the instrument model. Exposed so that tests can
 * tie each picture to what the window and its texts say about it.
 */
namespace UtilitiesArt {

/** The phase, in degrees, by which channel I leads channel II on the measuring screens. */
inline constexpr double kPhaseDegrees = 30.0;
/** The screen picture of the Lissajous page, and the two screens it loads. */
inline constexpr QSize kScreenSize(220, 180);

/** The two signals shown together with DUAL, centred vertically, channel II triggering the sweep. */
ScopeSettings dualSettings();
/** The same two signals in X-Y: channel I on the vertical axis, channel II on the horizontal one. */
ScopeSettings xySettings();

/**
 * The sine wave with its annotations (the formula, Um, φ, T and ω), each drawn under the click zone
 * of that name. The annotation under the zone named by without is left out.
 */
QImage annotatedSine(const QString &without = QString());

} // namespace UtilitiesArt
