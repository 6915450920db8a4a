#include "labvalues.h"

#include "decimalformat.h"

#include <QList>

#include <array>
#include <cmath>

namespace LabValues {

namespace {

/** A unit a file may write after a number, and what it is worth in its kind's base unit. */
struct UnitSpelling
{
    CheckValue kind;
    const char16_t *spelling;
    double factor;
};

// Longer spellings first, so that "mVpp" is not read as "pp" after "mV", nor "ms" as "s".
constexpr std::array kSpellings {
    UnitSpelling { CheckValue::Hertz, u"MHz", 1e6 },
    UnitSpelling { CheckValue::Hertz, u"kHz", 1e3 },
    UnitSpelling { CheckValue::Hertz, u"Hz", 1.0 },
    UnitSpelling { CheckValue::Seconds, u"ms", 1e-3 },
    UnitSpelling { CheckValue::Seconds, u"µs", 1e-6 },
    UnitSpelling { CheckValue::Seconds, u"μs", 1e-6 },
    UnitSpelling { CheckValue::Seconds, u"us", 1e-6 },
    UnitSpelling { CheckValue::Seconds, u"ns", 1e-9 },
    UnitSpelling { CheckValue::Seconds, u"s", 1.0 },
    UnitSpelling { CheckValue::Volts, u"mVpp", 1e-3 },
    UnitSpelling { CheckValue::Volts, u"Vpp", 1.0 },
    UnitSpelling { CheckValue::Volts, u"mV", 1e-3 },
    UnitSpelling { CheckValue::Volts, u"V", 1.0 },
    UnitSpelling { CheckValue::Degrees, u"grados", 1.0 },
    UnitSpelling { CheckValue::Degrees, u"graus", 1.0 },
    UnitSpelling { CheckValue::Degrees, u"°", 1.0 },
    UnitSpelling { CheckValue::Degrees, u"º", 1.0 },
};

/** No value in a lab file is longer than this. */
constexpr qsizetype kLongestValue = 40;

QString normalised(QStringView text)
{
    return text.trimmed().toString().replace(u'\u2212', u'-').simplified();
}

} // namespace

std::optional<double> number(QStringView text)
{
    if (text.size() > kLongestValue)
        return std::nullopt;
    QString plain = normalised(text);
    plain.replace(u',', u'.');
    // Digits, one point, an optional sign in front: nothing a locale or an exponent could read otherwise.
    int points = 0;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const QChar c = plain.at(i);
        if (c == u'.')
            ++points;
        else if (!(c.isDigit() && c.unicode() < 128) && !(i == 0 && (c == u'-' || c == u'+')))
            return std::nullopt;
    }
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || points > 1 || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> quantity(QStringView text, CheckValue kind)
{
    const QString written = normalised(text);
    if (kind == CheckValue::Number || kind == CheckValue::Range)
        return number(written);
    for (const UnitSpelling &unit : kSpellings) {
        const QStringView spelt(unit.spelling);
        if (unit.kind != kind || !written.endsWith(spelt))
            continue;
        const std::optional<double> value = number(QStringView(written).chopped(spelt.size()));
        if (!value)
            return std::nullopt;
        return *value * unit.factor;
    }
    return std::nullopt;
}

std::optional<Hm203Control> control(QStringView label)
{
    const QString wanted = normalised(label);
    for (const Hm203ControlInfo &info : hm203Controls())
        if (wanted.compare(QString::fromUtf16(info.label), Qt::CaseInsensitive) == 0)
            return info.id;
    return std::nullopt;
}

std::optional<int> position(Hm203Control which, QStringView text)
{
    const Hm203ControlInfo &info = controlInfo(which);
    const QString written = normalised(text);
    const auto within = [&](int p) -> std::optional<int> {
        if (p < info.minimum || p > info.maximum)
            return std::nullopt;
        return p;
    };
    if (which == Hm203Control::TimeDiv || which == Hm203Control::VoltsDivI
        || which == Hm203Control::VoltsDivII) {
        const bool time = which == Hm203Control::TimeDiv;
        QString step = written;
        if (step.endsWith(QStringLiteral("/div"), Qt::CaseInsensitive))
            step.chop(4);
        const std::optional<double> value = quantity(step, time ? CheckValue::Seconds : CheckValue::Volts);
        if (!value || *value <= 0.0)
            return std::nullopt;
        const int p = time ? Hm203::timeDivPosition(*value) : Hm203::voltsDivPosition(*value);
        const double at = time ? Hm203::secondsPerDivAt(p) : Hm203::voltsPerDivAt(p);
        // Only the switch's own steps: 0,3 ms is between two of them.
        if (std::abs(at - *value) > 1e-6 * *value)
            return std::nullopt;
        return within(p);
    }
    // AC/DC is in for DC, out for AC, and a file may say which it means.
    if (which == Hm203Control::DcI || which == Hm203Control::DcII) {
        if (written.compare(QStringLiteral("DC"), Qt::CaseInsensitive) == 0)
            return info.maximum;
        if (written.compare(QStringLiteral("AC"), Qt::CaseInsensitive) == 0)
            return info.minimum;
    }
    if (info.style == ControlStyle::Button) {
        for (const char16_t *down : { u"pulsado", u"polsat", u"sí", u"si" })
            if (written.compare(QString::fromUtf16(down), Qt::CaseInsensitive) == 0)
                return info.maximum;
        for (const char16_t *up : { u"suelto", u"solt", u"no" })
            if (written.compare(QString::fromUtf16(up), Qt::CaseInsensitive) == 0)
                return info.minimum;
    }
    if (calKnobOf(Hm203Control::TimeDiv) == which || calKnobOf(Hm203Control::VoltsDivI) == which
        || calKnobOf(Hm203Control::VoltsDivII) == which) {
        if (written.compare(QStringLiteral("CAL"), Qt::CaseInsensitive) == 0)
            return info.maximum;
    }
    if (info.style == ControlStyle::Switch) {
        const Hm203 scope;
        for (int p = info.minimum; p <= info.maximum; ++p)
            for (const LanguageInfo &language : kLanguages)
                if (written.compare(scope.readingAt(which, p, language.language), Qt::CaseInsensitive) == 0)
                    return p;
    }
    if (const std::optional<double> n = number(written); n && *n == std::floor(*n) && std::abs(*n) < 1e6)
        return within(int(*n));
    return std::nullopt;
}

Wording positionsOf(Hm203Control which)
{
    const Hm203ControlInfo &info = controlInfo(which);
    const QString range = QString::number(info.minimum) + QStringLiteral("–") + QString::number(info.maximum);
    if (which == Hm203Control::TimeDiv)
        return { QStringLiteral("un paso del conmutador, p. ej. «0,2 ms» o «1 µs»"),
            QStringLiteral("un pas del commutador, p. ex. «0,2 ms» o «1 µs»") };
    if (which == Hm203Control::VoltsDivI || which == Hm203Control::VoltsDivII)
        return { QStringLiteral("un paso del conmutador, p. ej. «0,5 V» o «50 mV»"),
            QStringLiteral("un pas del commutador, p. ex. «0,5 V» o «50 mV»") };
    if (which == Hm203Control::DcI || which == Hm203Control::DcII)
        return { QStringLiteral("«AC» o «DC» (también «suelto» o «pulsado»)"),
            QStringLiteral("«AC» o «DC» (també «solt» o «polsat»)") };
    if (info.style == ControlStyle::Button)
        return { QStringLiteral("«pulsado» o «suelto»"), QStringLiteral("«polsat» o «solt»") };
    if (info.style == ControlStyle::Switch) {
        const Hm203 scope;
        QStringList castilian;
        QStringList valencian;
        for (int p = info.minimum; p <= info.maximum; ++p) {
            castilian << QStringLiteral("«%1»").arg(scope.readingAt(which, p, Language::Castilian));
            valencian << QStringLiteral("«%1»").arg(scope.readingAt(which, p, Language::Valencian));
        }
        return { QStringLiteral("una de sus posiciones: %1").arg(castilian.join(QStringLiteral(", "))),
            QStringLiteral("una de les seues posicions: %1").arg(valencian.join(QStringLiteral(", "))) };
    }
    return { QStringLiteral("«CAL» o un número de posición de %1").arg(range),
        QStringLiteral("«CAL» o un número de posició de %1").arg(range) };
}

} // namespace LabValues
