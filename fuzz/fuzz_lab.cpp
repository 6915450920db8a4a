// libFuzzer entry point for the lab-file reader: every input must be read without a crash, a hang or a
// memory fault, and either be a lab or say what is wrong with it, never both nor neither.

#include "labfile.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const LabReading reading = readLab(bytes, QStringLiteral("fuzz.toml"));
    if (reading.lab.has_value() == !reading.errors.isEmpty())
        std::abort();
    if (reading.errors.size() > LabLimits::maximumErrors)
        std::abort();
    for (const LabError &error : reading.errors)
        for (const LanguageInfo &language : kLanguages)
            if (describeLabError(error, QStringLiteral("fuzz.toml"), language.language).isEmpty())
                std::abort();
    if (reading.lab) {
        if (reading.lab->tasks.isEmpty() || reading.lab->tasks.size() > LabLimits::maximumTasks)
            std::abort();
        // Every task the strip could open prepares its bench for any draw without a fault.
        for (const Hm203Task &task : reading.lab->tasks) {
            GeneratorSettings generator;
            task.prepare(generator, 7);
        }
    }
    return 0;
}
