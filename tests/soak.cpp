// Long use: every menu command that opens windows, run a hundred times over, the language switched
// between rounds, each window's controls driven and the windows closed again, as a class of students
// would over a term; then the program ends. Reports what each opened window costs in memory (every
// window lives until the program ends). Not part of the test suites: `make soak` runs it under the
// address, leak and undefined-behaviour sanitizers.
#include "errorbox.h"
#include "studentdriver.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>

#include <cstdio>

namespace {

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.value(1).toLongLong() * 4096;
}

} // namespace

int main(int argc, char **argv)
{
    // The offscreen platform's notes on what it cannot do say nothing about the program.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type != QtDebugMsg && type != QtInfoMsg
            && !message.startsWith(QLatin1String("This plugin does not support")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    ScratchAppDir folder;
    QStringList reported;
    ErrorBox::setRecorder([&](const QString &text) { reported << text; });

    openWindow(fichaprincipal);
    // A second argument keeps only the commands whose name holds it, to see what one window costs.
    QStringList commands = StudentDriver::windowCommands();
    if (argc > 2)
        commands = commands.filter(QString::fromLocal8Bit(argv[2]));
    // One round first, so that what every window reads once for all is read before measuring.
    for (const QString &command : commands)
        for (Form *window : StudentDriver::run(command, 1))
            window->close();
    const qint64 before = residentBytes();
    qint64 windows = 0;
    for (int round = 0; round < rounds; ++round) {
        StudentDriver::setLanguage(round % 2 == 1);
        for (const QString &command : commands) {
            const QList<Form *> opened = StudentDriver::run(command, 1);
            windows += opened.size();
            for (Form *window : opened)
                window->close();
        }
        QCoreApplication::processEvents();
    }
    const qint64 grown = residentBytes() - before;
    std::printf("soak: %d rounds of %lld commands, %lld windows opened and closed; %lld KiB per window\n",
        rounds, qint64(commands.size()), windows, windows > 0 ? grown / windows / 1024 : 0);
    for (const QString &text : std::as_const(reported))
        std::printf("soak: reported: %s\n", qPrintable(text));

    fichaprincipal->close();
    Form::destroyAll();
    ErrorBox::setRecorder({});
    return reported.isEmpty() ? 0 : 1;
}
