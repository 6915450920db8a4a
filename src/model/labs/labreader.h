#pragma once

// How a lab file is read, shared by the reader's files: the reader, with the values and words it
// checks, and what each way of judging a task takes from its table.

#include "labcatalogue.h"
#include "labfile.h"
#include "labvalues.h"

#include <toml++/toml.h>

#include <QString>

#include <functional>
#include <optional>
#include <string_view>
#include <utility>

namespace LabFileReading {

/** A text from the parser as the program holds it. */
QString qs(std::string_view text);
/** What a value of a kind is, for "se esperaba …". */
Wording expectedOf(CheckValue kind);

/** A quantity's range, for the message when a value is out of it. */
struct Span
{
    double low;
    double high;
};

/** Reads one file, gathering every error it finds. */
class Reader
{
public:
    explicit Reader(QString fileName)
        : m_fileName(std::move(fileName))
    {
    }

    std::optional<Lab> read(const toml::table &root);
    QList<LabError> errors;

    void fail(const toml::source_region &where, const QString &key, Wording message)
    {
        if (errors.size() < LabLimits::maximumErrors)
            errors << LabError { int(where.begin.line), int(where.begin.column), key, std::move(message) };
    }
    void fail(int line, const QString &key, Wording message)
    {
        if (errors.size() < LabLimits::maximumErrors)
            errors << LabError { line, 0, key, std::move(message) };
    }

private:
    /** Reports every key of a table that is not one of the allowed, with the allowed ones. */
    void onlyKeys(const toml::table &table, std::initializer_list<std::string_view> allowed);
    /** A text in both languages: { es = "…", va = "…" }. */
    std::optional<Wording> words(const toml::table &table, std::string_view key, bool required);
    /** A string value's text, bounded. */
    std::optional<QString> text(const toml::node &node, const QString &key);
    /** A value of a kind: a string with its unit or, for plain numbers, a TOML number too. */
    std::optional<double> value(const toml::node &node, const QString &key, CheckValue kind);
    /** A value that may be a list to draw among; each checked against a span. */
    QList<double> drawn(
        const toml::node &node, const QString &key, CheckValue kind, Span span, const QString &unit);
    std::optional<LabChannel> channel(const toml::node &node, const QString &key);
    std::optional<bool> flag(const toml::node &node, const QString &key);
    /** One of a list of ids (a circuit's, a part's); empty, with the error, for any other. */
    QString oneOf(const toml::node &node, const QString &key, const QStringList &ids);
    /** The bench circuit and the tester's part a generator table names, checked against those shipped. */
    void circuitKeys(const toml::table &table, GeneratorSettings &fixed);

    std::optional<Hm203Task> task(const toml::table &table);
    /** The generator's keys, as a function of the draw; the bench with draw 0 in bench. */
    std::optional<std::function<void(GeneratorSettings &, quint32)>> generator(
        const toml::table &table, LabBench &bench);
    bool setting(const toml::table &table, const LabBench &bench, Hm203Task &task);
    bool measurement(const toml::table &table, const LabBench &bench, Hm203Task &task);
    bool prediction(const toml::table &table, const LabBench &bench, Hm203Task &task);
    std::optional<CheckArgs> checkArgs(const toml::node &node, const LabCheck &check, const QString &key);
    std::optional<std::pair<Hm203Control, int>> controlPosition(const toml::table &table);

    QString m_fileName;
};

/** The bench circuits' ids, as a file names them. */
QStringList benchCircuitIds();

/** A word of a closed list a key takes, with what each means. */
template <class Value> struct Choice
{
    const char *word;
    Value value;
};

template <class Value, std::size_t N>
std::optional<Value> chosen(
    Reader &reader, const toml::node &node, const QString &key, const Choice<Value> (&choices)[N])
{
    QStringList words;
    for (const Choice<Value> &choice : choices)
        words << QStringLiteral("«%1»").arg(QString::fromUtf8(choice.word));
    if (const auto *string = node.as_string()) {
        const QString said = qs(string->get()).simplified();
        for (const Choice<Value> &choice : choices)
            if (said.compare(QString::fromUtf8(choice.word), Qt::CaseInsensitive) == 0)
                return choice.value;
    }
    reader.fail(node.source(), key,
        { QStringLiteral("se esperaba %1").arg(words.join(QStringLiteral(" o "))),
            QStringLiteral("s'esperava %1").arg(words.join(QStringLiteral(" o "))) });
    return std::nullopt;
}

inline constexpr Choice<Waveform> kWaveforms[] {
    { "senoidal", Waveform::Sine },
    { "cuadrada", Waveform::Square },
    { "triangular", Waveform::Triangle },
};
inline constexpr Choice<Hookup> kHookups[] {
    { "generador", Hookup::Generator },
    { "circuito RC", Hookup::RcCircuit },
    { "calibrador 0,2 V", Hookup::Calibrator02 },
    { "calibrador 2 V", Hookup::Calibrator2 },
    { "circuito", Hookup::Circuit },
};
inline constexpr Choice<Probe> kProbes[] {
    { "x1", Probe::Times1 },
    { "×1", Probe::Times1 },
    { "x10", Probe::Times10 },
    { "×10", Probe::Times10 },
};

} // namespace LabFileReading
