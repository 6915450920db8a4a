#include "decimalformat.h"

#include <algorithm>
#include <cmath>

namespace {

/** The digits of the number itself, before any exponent, are all zeros ("inf" and "nan" have none). */
bool roundsToZero(const QString &text)
{
    bool anyDigit = false;
    for (QChar c : text) {
        if (c == u'e')
            break;
        if (c >= u'1' && c <= u'9')
            return false;
        anyDigit = anyDigit || c == u'0';
    }
    return anyDigit;
}

/** A number rounded to its significant digits and written without an exponent, no zeros after its
 * last digit. */
QString plainSignificant(double value, int digits)
{
    const double rounded = QString::number(value, 'g', digits).toDouble();
    if (!std::isfinite(rounded) || rounded == 0.0)
        return QString::number(rounded, 'g', digits);
    const int magnitude = int(std::floor(std::log10(std::abs(rounded))));
    QString text = QString::number(rounded, 'f', std::max(0, digits - 1 - magnitude));
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

} // namespace

QString formatDecimal(double value, const DecimalStyle &style)
{
    // Qt's 'f' rounds the exact binary value, so every caller rounds a reading the same way.
    QString text = style.significantDigits <= 0 ? QString::number(value, 'f', style.decimals)
        : style.plainDigits                     ? plainSignificant(value, style.significantDigits)
                                                : QString::number(value, 'g', style.significantDigits);
    const bool zero = roundsToZero(text);
    if (zero && text.startsWith(u'-'))
        text.remove(0, 1);
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0 && style.significantDigits <= 0 && style.zeros != TrailingZeros::Keep) {
        qsizetype end = text.size();
        while (text.at(end - 1) == u'0')
            --end;
        if (end - 1 == point)
            text.truncate(point);
        else if (style.zeros == TrailingZeros::Drop)
            text.truncate(end);
    }
    if (style.signShown && !zero) {
        if (text.startsWith(u'-'))
            text[0] = QChar(0x2212);
        else if (value > 0.0)
            text.prepend(u'+');
    }
    return text.replace(u'.', u',');
}

double fixedDecimalValue(double value, int decimals)
{
    // The rounding QString::number's 'f' does, which fixedDecimal writes.
    return QString::number(value, 'f', decimals).toDouble();
}

QString fixedDecimal(double value, int decimals)
{
    return formatDecimal(value, { .decimals = decimals, .zeros = TrailingZeros::Keep });
}

QString formatPeriodCount(double periods)
{
    return formatDecimal(periods, { .decimals = periods < 10.0 ? 1 : 0 });
}
