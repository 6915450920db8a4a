#include "program.h"

#include "helpviewer.h"
#include "spiceengine.h"
#include "taskstrip.h"
#include "tfichaprincipal.h"
#include "tosciloscopio.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <memory>
#include <mutex>

namespace {

/** What ngspice prints goes to a log in the program's cache folder, begun afresh each run. */
void logSimulatorOutput()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    auto file = std::make_shared<QFile>(folder + QStringLiteral("/ngspice.log"));
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return;
    auto lock = std::make_shared<std::mutex>();
    SpiceEngine::instance().setLog([file, lock](const QString &line) {
        std::lock_guard guard(*lock);
        file->write(line.toUtf8() + '\n');
        file->flush();
    });
}

} // namespace

int runProgram()
{
    // The application's title, for the task bar. No display name is set: the toolkit would add it
    // to every window's title, and each window's title is exactly its own.
    QApplication::setApplicationName(QStringLiteral("Vantela"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/embedded/icon.bmp")));
    // Only closing the main window ends the program; other windows merely hide.
    QApplication::setQuitOnLastWindowClosed(false);
    logSimulatorOutput();

    openWindow(fichaprincipal);
    openFromCommandLine(QCoreApplication::arguments());
    const int result = QApplication::exec();

    delete HelpViewer::instance();
    Form::destroyAll();
    return result;
}

void openFromCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption lab(QStringLiteral("lab"),
        QStringLiteral("Opens the virtual oscilloscope with the tasks of a lab file."),
        QStringLiteral("FILE"));
    parser.addOption(lab);
    // Options meant for Qt or unknown ones do not keep the program from starting.
    parser.parse(arguments);
    if (!parser.isSet(lab))
        return;
    // The launcher runs the program in its data folder: a relative path is the caller's.
    const QString path = QDir(qEnvironmentVariable("VANTELA_CALLED_FROM", QDir::currentPath()))
                             .absoluteFilePath(parser.value(lab));
    if (std::optional<Lab> opened = Tosciloscopio::readLab(path, ProgramLanguage::current())) {
        fichaprincipal->Osciloscopiovirtual1Click();
        osciloscopio->tarea->setLab(*opened);
    }
}
