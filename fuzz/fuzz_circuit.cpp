// libFuzzer entry point for the readers of circuit files and tester parts: every input must be read
// without a crash, a hang or a memory fault, and either be a circuit (a part) or say what is wrong with it,
// never both nor neither; what passes never holds what the program alone may give ngspice.

#include "circuit.h"
#include "labfile.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

namespace {

/** A netlist line that passed holds no analysis, no .control, no file to read and no .end. */
bool harmless(const QStringList &netlist)
{
    for (const QString &line : netlist) {
        const QString first = line.section(QLatin1Char(' '), 0, 0).toLower();
        if (line.startsWith(QLatin1Char('.'))
            && !QStringList { QStringLiteral(".model"), QStringLiteral(".subckt"), QStringLiteral(".ends"),
                QStringLiteral(".param"), QStringLiteral(".func") }
                    .contains(first))
            return false;
        for (const QChar c : line)
            if (c.unicode() > 126)
                return false;
    }
    return netlist.size() <= CircuitLimits::maximumLines;
}

template <typename Reading> void checkErrors(const Reading &reading, bool read)
{
    if (read == !reading.errors.isEmpty())
        std::abort();
    for (const LabError &error : reading.errors)
        for (const LanguageInfo &language : kLanguages)
            if (describeLabError(error, QStringLiteral("fuzz"), language.language).isEmpty())
                std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const CircuitReading circuit = readCircuit(bytes, QStringLiteral("fuzz.toml"));
    checkErrors(circuit, circuit.circuit.has_value());
    if (circuit.circuit && !harmless(circuit.circuit->netlist))
        std::abort();
    for (const QString &name : { QStringLiteral("fuzz.toml"), QStringLiteral("fuzz.cir") }) {
        const TesterPartReading part = readTesterPart(bytes, name);
        checkErrors(part, part.part.has_value());
        if (part.part && !harmless(part.part->netlist))
            std::abort();
    }
    return 0;
}
