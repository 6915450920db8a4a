#pragma once

#include "decimalformat.h"
#include "hm203panel.h"
#include "wording.h"

#include <QString>

/** The small pieces the causes' words are put together from, shared by the files that word them. */
namespace TraceWording::Parts {

inline QString text(const char16_t *literal)
{
    return QString::fromUtf16(literal);
}

/** A control as the panel prints it. */
inline QString label(Hm203Control control)
{
    return QString::fromUtf16(controlInfo(control).label);
}

/** A height on the graticule, to the two figures a student reads off it. */
inline QString divisions(double height)
{
    return formatDecimal(height, { .significantDigits = 2 });
}

inline QString channelName(bool second)
{
    return second ? QStringLiteral("CH II") : QStringLiteral("CH I");
}

inline Wording words(const char16_t *castilian, const char16_t *valencian)
{
    return Wording::of(castilian, valencian);
}

} // namespace TraceWording::Parts
