#include "hm203.h"

#include "decimalformat.h"
#include "spokenwords.h"

#include <algorithm>
#include <cstdlib>

namespace {

using C = Hm203Control;

/** A position knob's offset, in divisions: a tenth of a division a step. */
QString positionNumber(int position, bool signShown)
{
    return formatDecimal(position / 10.0, { .zeros = TrailingZeros::Keep, .signShown = signShown });
}

/** TR's turn, in degrees: a twentieth of a degree a step. */
QString rotationNumber(int position, bool signShown)
{
    return formatDecimal(
        position * 0.05, { .decimals = 2, .zeros = TrailingZeros::Keep, .signShown = signShown });
}

/** How much a CAL knob off its stop stretches the picture, to a tenth. */
QString calFactor(int position)
{
    return fixedDecimal(calMagnification(position), 1);
}

/** A range switch says so when its fine knob is off the stop: the step it points at is then not the scale
 * on the screen. Both readings, shown and spoken, say it in these words. */
QString calibrationNote(const Hm203 &scope, Hm203Control range, Language language)
{
    const std::optional<Hm203Control> cal = calKnobOf(range);
    if (!cal || scope.value(*cal) == controlInfo(*cal).maximum)
        return QString();
    return textIn(language, u", sin calibrar", u", sense calibrar");
}

/** A push button whose two positions have names of their own, out first; the rest are only in or out. */
struct NamedPositions
{
    Hm203Control control;
    const char16_t *outCastilian;
    const char16_t *inCastilian;
    const char16_t *outValencian;
    const char16_t *inValencian;
};

// AC and DC spelled out, or a voice reads "AC" as one syllable; SLOPE by the edges the course names.
// clang-format off
constexpr NamedPositions kNamedPositions[] = {
    { C::AtNorm,    u"AT",                 u"NORM",               u"AT",              u"NORM" },
    { C::DcI,       u"A C",                u"D C",                u"A C",             u"D C" },
    { C::DcII,      u"A C",                u"D C",                u"A C",             u"D C" },
    { C::ChannelII, u"CH I",               u"CH II",              u"CH I",            u"CH II" },
    { C::Slope,     u"flanco de subida",   u"flanco de bajada",   u"flanc de pujada", u"flanc de baixada" },
};
// clang-format on

} // namespace

QString Hm203::readingAt(Hm203Control control, int position, Language language) const
{
    const Hm203ControlInfo &info = controlInfo(control);
    const int v = std::clamp(position, info.minimum, info.maximum);
    switch (control) {
    case C::TimeDiv:
        return formatSecondsPerDiv(secondsPerDivAt(v)) + calibrationNote(*this, control, language);
    case C::VoltsDivI:
    case C::VoltsDivII:
        return formatVoltsPerDiv(voltsPerDivAt(v)) + calibrationNote(*this, control, language);
    case C::TimeCal:
    case C::VoltsCalI:
    case C::VoltsCalII:
        if (v == info.maximum)
            return QStringLiteral("CAL");
        return textIn(language, u"sin calibrar ×", u"sense calibrar ×") + calFactor(v);
    case C::TriggerCoupling:
        if (v == 4)
            return textIn(language, u"~ (red)", u"~ (xarxa)");
        return printedPositions(*hm203Part("trigger")).value(v);
    case C::XPosition:
    case C::YPositionI:
    case C::YPositionII:
    case C::Level:
        if (v == 0)
            return textIn(language, u"centro", u"centre");
        return positionNumber(v, true) + QStringLiteral(" div");
    case C::TraceRotation:
        return rotationNumber(v, true) + QStringLiteral("°");
    case C::Intensity:
    case C::Focus:
    case C::HoldOff:
        return fixedDecimal(v, 0) + QStringLiteral(" %");
    default:
        break;
    }
    return v ? textIn(language, u"pulsado", u"polsat") : textIn(language, u"suelto", u"solt");
}

QString Hm203::spokenReadingAt(Hm203Control control, int position, Language language) const
{
    const Hm203ControlInfo &info = controlInfo(control);
    const int v = std::clamp(position, info.minimum, info.maximum);
    // A scale in the unit and prefix the panel prints it in.
    const auto scale = [&](const PrefixedNumber &n, SpokenUnit unit) {
        return spokenQuantity(n.digits, unit, language, n.exponent) + QLatin1Char(' ')
            + spokenPerDivision(language);
    };
    // Which way a knob has moved the trace or the level, in the words the screen's description uses.
    const auto offset = [&](const char16_t *upEs, const char16_t *upVa, const char16_t *downEs,
                            const char16_t *downVa) {
        if (v == 0)
            return textIn(language, u"centro", u"centre");
        return spokenQuantity(positionNumber(std::abs(v), false), SpokenUnit::Division, language)
            + QLatin1Char(' ') + (v > 0 ? textIn(language, upEs, upVa) : textIn(language, downEs, downVa));
    };
    switch (control) {
    case C::TimeDiv:
        return scale(secondsPerDivNumber(secondsPerDivAt(v)), SpokenUnit::Second)
            + calibrationNote(*this, control, language);
    case C::VoltsDivI:
    case C::VoltsDivII:
        return scale(voltsPerDivNumber(voltsPerDivAt(v)), SpokenUnit::Volt)
            + calibrationNote(*this, control, language);
    case C::TimeCal:
    case C::VoltsCalI:
    case C::VoltsCalII:
        if (v == info.maximum)
            return textIn(language, u"calibrado", u"calibrat");
        // "×" is read as nothing by espeak-ng, "por" and "per" by any voice.
        return textIn(language, u"sin calibrar, por ", u"sense calibrar, per ") + calFactor(v);
    case C::TriggerCoupling:
        if (v == 4)
            return textIn(language, u"red", u"xarxa");
        return spelledOut(printedPositions(*hm203Part("trigger")).value(v));
    case C::XPosition:
        return offset(u"a la derecha del centro", u"a la dreta del centre", u"a la izquierda del centro",
            u"a l'esquerra del centre");
    case C::YPositionI:
    case C::YPositionII:
        return offset(u"por encima del centro", u"per damunt del centre", u"por debajo del centro",
            u"per davall del centre");
    case C::Level:
        return offset(
            u"por encima de cero", u"per damunt de zero", u"por debajo de cero", u"per davall de zero");
    case C::TraceRotation:
        if (v == 0)
            return spokenQuantity(rotationNumber(v, false), SpokenUnit::Degree, language);
        // Positive turns the picture anticlockwise.
        return spokenQuantity(rotationNumber(std::abs(v), false), SpokenUnit::Degree, language)
            + (v > 0 ? textIn(language, u" en sentido antihorario", u" en sentit antihorari")
                     : textIn(language, u" en sentido horario", u" en sentit horari"));
    case C::Intensity:
    case C::Focus:
    case C::HoldOff:
        return spokenQuantity(fixedDecimal(v, 0), SpokenUnit::Percent, language);
    default:
        break;
    }
    for (const NamedPositions &named : kNamedPositions) {
        if (named.control == control)
            return v ? textIn(language, named.inCastilian, named.inValencian)
                     : textIn(language, named.outCastilian, named.outValencian);
    }
    return QString();
}
