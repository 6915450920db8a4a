#include "problemjudge.h"

#include "exercisefigures.h"

#include <QStringList>

#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

namespace ProblemJudge {

namespace {

bool isBlank(QChar c)
{
    return c.isSpace();
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

QStringView trimmed(QStringView text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

Verdict verdict(bool right)
{
    return right ? Verdict::Right : Verdict::Wrong;
}

/** The word folded for comparison: blanks around it dropped, case folded, accents composed. */
QString folded(QStringView text)
{
    // No accepted word is long: a longer text is wrong without folding it.
    const QStringView word = trimmed(text);
    if (word.size() > 16)
        return QString();
    return word.toString().normalized(QString::NormalizationForm_C).toCaseFolded();
}

} // namespace

std::optional<double> readQuantity(QStringView text, QStringView unit)
{
    QStringView rest = trimmed(text);
    if (!unit.isEmpty() && rest.size() >= unit.size()
        && rest.right(unit.size()).compare(unit, Qt::CaseInsensitive) == 0)
        rest = trimmed(rest.left(rest.size() - unit.size()));

    bool negative = false;
    qsizetype i = 0;
    if (i < rest.size() && (rest[i] == u'+' || rest[i] == u'-'))
        negative = rest[i++] == u'-';
    // Leading zeros are dropped and fractional digits past the thirtieth add nothing a verdict
    // needs, so even a very long text is read in one pass into a short number.
    std::string whole;
    std::string fraction;
    int digits = 0;
    bool separator = false;
    for (; i < rest.size(); ++i) {
        const QChar c = rest[i];
        if (isAsciiDigit(c)) {
            ++digits;
            if (separator) {
                if (fraction.size() < 30)
                    fraction += char(c.unicode());
            } else if (!(whole.empty() && c == u'0')) {
                whole += char(c.unicode());
            }
        } else if ((c == u',' || c == u'.') && !separator) {
            separator = true;
        } else {
            return std::nullopt;
        }
    }
    // More than 309 whole digits is past the largest finite number.
    if (digits == 0 || whole.size() > 309)
        return std::nullopt;
    std::string number = negative ? std::string("-") : std::string();
    number += whole.empty() ? std::string("0") : whole;
    if (!fraction.empty())
        number += '.' + fraction;
    double value = 0.0;
    const char *last = number.data() + number.size();
    const auto [end, error] = std::from_chars(number.data(), last, value, std::chars_format::fixed);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

Verdict judgeVoltage(QStringView answer)
{
    return verdict(answer == u"10");
}

Verdict judgePhaseDifference(QStringView answer)
{
    return verdict(answer == u"60");
}

Verdict judgeEllipseAngle(QStringView answer)
{
    return verdict(answer == u"53" || answer == u"59");
}

Verdict judgePeriod(QStringView answer)
{
    return verdict(answer == u"3");
}

Verdict judgeFrequency(QStringView answer)
{
    const std::optional<double> f = readQuantity(answer, u"Hz");
    return verdict(f && *f >= lowestFrequency && *f <= highestFrequency);
}

double expectedAngularFrequency()
{
    static const double omega
        = 2.0 * std::numbers::pi * ExerciseFigures::problemScreen(6).channelI.signal.frequencyHz;
    return omega;
}

Verdict judgeAngularFrequency(QStringView answer)
{
    const std::optional<double> w = readQuantity(answer, u"rad/s");
    const double expected = expectedAngularFrequency();
    return verdict(w && std::abs(*w - expected) <= angularFrequencyTolerance * expected);
}

Verdict judgeWords(QStringView amplitudeBox, QStringView periodBox, QStringView phaseBox)
{
    const QString period = folded(periodBox);
    const bool periodRight
        = period == u"periodo" || period == u"período" || period == u"periode" || period == u"període";
    return verdict(folded(amplitudeBox) == u"amplitud" && periodRight && folded(phaseBox) == u"fase");
}

Verdict judge(int problem, const QStringList &answers)
{
    const auto box
        = [&answers](int i) { return i < answers.size() ? QStringView(answers[i]) : QStringView(); };
    switch (problem) {
    case 1:
        return judgeVoltage(box(0));
    case 2:
        return judgePhaseDifference(box(0));
    case 3:
        return judgeEllipseAngle(box(0));
    case 4:
        return judgePeriod(box(0));
    case 5:
        return judgeFrequency(box(0));
    case 6:
        return judgeAngularFrequency(box(0));
    case 7:
        return judgeWords(box(0), box(1), box(2));
    default:
        return Verdict::Wrong;
    }
}

} // namespace ProblemJudge
