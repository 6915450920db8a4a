#include "scopesettings.h"

#include "decimalformat.h"

#include <algorithm>
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

/** Writes a number with its prefix's symbol before the unit: "0,2 ms/div". */
QString withPrefix(const PrefixedNumber &n, const QString &unit)
{
    static const char *const symbols[] = { "", "m", "\xc2\xb5", "n" };
    return n.digits + QLatin1Char(' ') + QString::fromUtf8(symbols[-n.exponent / 3]) + unit;
}

} // namespace

PrefixedNumber prefixedNumber(double value, int smallestExponent)
{
    for (int exponent = 0; exponent >= std::max(smallestExponent, -9); exponent -= 3) {
        const double scale = std::pow(10.0, exponent);
        if (value >= 0.1 * scale * 0.999 || exponent <= smallestExponent)
            return { formatDecimal(value / scale, kScaleDigits), exponent };
    }
    return { formatDecimal(value, kScaleDigits), 0 };
}

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

PrefixedNumber voltsPerDivNumber(double voltsPerDiv)
{
    // The panel switches to millivolts only below 0.1 V: ".1 V", ".2 V" and ".5 V" stay in volts.
    return prefixedNumber(voltsPerDiv, -3);
}

PrefixedNumber secondsPerDivNumber(double secondsPerDiv)
{
    return prefixedNumber(secondsPerDiv, -6);
}

QString formatVoltsPerDiv(double voltsPerDiv)
{
    return withPrefix(voltsPerDivNumber(voltsPerDiv), QStringLiteral("V/div"));
}

QString formatSecondsPerDiv(double secondsPerDiv)
{
    return withPrefix(secondsPerDivNumber(secondsPerDiv), QStringLiteral("s/div"));
}

QString formatQuantity(double value, const QString &unit)
{
    return withPrefix(prefixedNumber(value, -9), unit);
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
