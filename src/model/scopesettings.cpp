#include "scopesettings.h"

#include "decimalformat.h"

#include <cmath>

namespace {

/** Scales are written to three significant digits: "0,2 ms/div", and off the CAL stop "2,63 mV/div". */
constexpr DecimalStyle kScaleDigits { .significantDigits = 3 };

QList<double> oneTwoFive(double first, double last)
{
    QList<double> steps;
    for (double decade = 1e-9; decade <= last * 1.001; decade *= 10.0) {
        for (double mantissa : { 1.0, 2.0, 5.0 }) {
            const double value = mantissa * decade;
            if (value >= first * 0.999 && value <= last * 1.001)
                steps.append(value);
        }
    }
    return steps;
}

/** Writes a value in the unit that keeps the number between 0.1 and 999, with a decimal comma. */
QString withPrefix(double value, const QString &unit, double smallestUnitScale)
{
    struct Prefix
    {
        double scale;
        const char *name;
    };
    static const Prefix prefixes[] = { { 1.0, "" }, { 1e-3, "m" }, { 1e-6, "\xc2\xb5" }, { 1e-9, "n" } };
    for (const Prefix &p : prefixes) {
        if (p.scale < smallestUnitScale * 0.999)
            break;
        if (value >= 0.1 * p.scale * 0.999 || p.scale <= smallestUnitScale * 1.001) {
            return formatDecimal(value / p.scale, kScaleDigits) + QLatin1Char(' ') + QString::fromUtf8(p.name)
                + unit;
        }
    }
    return formatDecimal(value, kScaleDigits) + QLatin1Char(' ') + unit;
}

} // namespace

const QList<double> &voltsPerDivSteps()
{
    static const QList<double> steps = oneTwoFive(5e-3, 20.0);
    return steps;
}

const QList<double> &secondsPerDivSteps()
{
    static const QList<double> steps = oneTwoFive(0.5e-6, 0.2);
    return steps;
}

bool isCalibratedStep(const QList<double> &steps, double value)
{
    for (double step : steps) {
        if (std::abs(value - step) <= step * 1e-6)
            return true;
    }
    return false;
}

QString formatVoltsPerDiv(double voltsPerDiv)
{
    // The panel switches to millivolts only below 0.1 V: ".1 V", ".2 V" and ".5 V" stay in volts.
    const double scale = voltsPerDiv < 0.0999 ? 1e-3 : 1.0;
    return formatDecimal(voltsPerDiv / scale, kScaleDigits)
        + (scale < 1.0 ? QStringLiteral(" mV/div") : QStringLiteral(" V/div"));
}

QString formatSecondsPerDiv(double secondsPerDiv)
{
    return withPrefix(secondsPerDiv, QStringLiteral("s/div"), 1e-6);
}

QString formatQuantity(double value, const QString &unit)
{
    return withPrefix(value, unit, 1e-9);
}

QString scaleLegend(const ScopeSettings &settings)
{
    const QString gap = QStringLiteral("   ");
    const double v1 = settings.channelI.voltsPerDiv;
    const double v2 = settings.channelII.voltsPerDiv;
    switch (settings.mode) {
    case DisplayMode::ChannelI:
        return formatVoltsPerDiv(v1) + gap + formatSecondsPerDiv(settings.secondsPerDiv);
    case DisplayMode::ChannelII:
        return formatVoltsPerDiv(v2) + gap + formatSecondsPerDiv(settings.secondsPerDiv);
    case DisplayMode::Dual:
    case DisplayMode::Add:
        if (std::abs(v1 - v2) <= v1 * 1e-6)
            return formatVoltsPerDiv(v1) + gap + formatSecondsPerDiv(settings.secondsPerDiv);
        return QStringLiteral("I: ") + formatVoltsPerDiv(v1) + QStringLiteral("  II: ")
            + formatVoltsPerDiv(v2) + gap + formatSecondsPerDiv(settings.secondsPerDiv);
    case DisplayMode::XY:
        return QStringLiteral("Y: ") + formatVoltsPerDiv(v1) + gap + QStringLiteral("X: ")
            + formatVoltsPerDiv(v2);
    }
    return {};
}
