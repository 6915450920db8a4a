#include "hm203tasks.h"

#include "problemjudge.h"
#include "taskfamilies.h"
#include "taskjudging.h"
#include "taskprediction.h"
#include "tracewording.h"

#include <QStringView>

#include <algorithm>
#include <cmath>

namespace {

using namespace TaskJudging;

/** A unit a student may type after a number, and what it is worth in the task's unit. */
struct UnitSpelling
{
    const char16_t *unit;
    const char16_t *spelling;
    double factor;
};

// Longer spellings first, so that "ms" is not read as "s" after an "m".
constexpr UnitSpelling kSpellings[] {
    { u"°", u"grados", 1.0 },
    { u"°", u"graus", 1.0 },
    { u"°", u"°", 1.0 },
    { u"°", u"º", 1.0 },
    { u"Hz", u"kHz", 1000.0 },
    { u"Hz", u"Hz", 1.0 },
    { u"V", u"mV", 1e-3 },
    { u"V", u"V", 1.0 },
    { u"ms", u"µs", 1e-3 },
    { u"ms", u"us", 1e-3 },
    { u"ms", u"ms", 1.0 },
    { u"ms", u"s", 1000.0 },
    { u"ns", u"µs", 1000.0 },
    { u"ns", u"us", 1000.0 },
    { u"ns", u"ns", 1.0 },
    { u"%", u"%", 1.0 },
};

/** No measurement a student types is longer than this; a longer text is a paste, not an answer. */
constexpr qsizetype kLongestAnswer = 40;

} // namespace

std::optional<double> readTypedNumber(const QString &typed, QStringView unit)
{
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > kLongestAnswer)
        return std::nullopt;
    // A minus sign from a word processor reads like the hyphen.
    QString text = trimmed;
    text.replace(u'\u2212', u'-');
    double factor = 1.0;
    if (!unit.isEmpty()) {
        const QStringView wanted = unit;
        for (const UnitSpelling &spelling : kSpellings) {
            const QStringView spelt(spelling.spelling);
            if (wanted == QStringView(spelling.unit) && text.endsWith(spelt, Qt::CaseInsensitive)) {
                // "ms" also ends in "s": a letter left before the unit means another unit was typed.
                const QString rest = text.left(text.size() - spelt.size());
                if (!rest.isEmpty() && rest.back().isLetter())
                    return std::nullopt;
                text = rest;
                factor = spelling.factor;
                break;
            }
        }
    }
    const std::optional<double> value = ProblemJudge::readQuantity(text);
    if (!value || !std::isfinite(*value * factor))
        return std::nullopt;
    return *value * factor;
}

TaskVerdict judgeTask(
    const Hm203Task &task, const Hm203 &scope, const BeamMoment &moment, std::optional<double> answer)
{
    if (scope.isPressed(Hm203Control::Power) && moment.warming())
        return notMet(TraceCause::WarmingUp,
            TraceWording::warmingUp(WarmUp::seconds - std::max(0.0, moment.sincePowerOn)));
    return task.judge(scope, answer);
}

QList<Hm203Control> keptControls(const Hm203Task &task)
{
    QList<Hm203Control> kept;
    for (Hm203Control control : task.about)
        if (!task.prediction || !task.prediction->asked.contains(control))
            kept << control;
    return kept;
}

QList<Hm203Control> startingControls(const Hm203Task &task)
{
    const QList<Hm203Control> kept = keptControls(task);
    QList<Hm203Control> reset;
    for (const Hm203ControlInfo &info : hm203Controls())
        if (!kept.contains(info.id))
            reset << info.id;
    return reset;
}

QString panelLabel(Hm203Control control)
{
    return QString::fromUtf16(controlInfo(control).label);
}

QString hertz(double frequency)
{
    if (frequency >= 1e6)
        return formatDecimal(frequency / 1e6) + QStringLiteral(" MHz");
    if (frequency >= 1e3)
        return formatDecimal(frequency / 1e3) + QStringLiteral(" kHz");
    return formatDecimal(frequency) + QStringLiteral(" Hz");
}

QString volts(double value, const QString &unit)
{
    return formatDecimal(value) + u' ' + unit;
}
