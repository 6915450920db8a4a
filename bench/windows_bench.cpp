// Opening times of the behaviour demonstrations and of the reference pages, and the memory each
// further deflection window or reference window costs. Run from the runnable folder, so the
// windows read their data files as the program does.
#include "errorbox.h"
#include "tfichaprincipal.h"
#include "tform10.h"
#include "tform11.h"
#include "tform13.h"
#include "tform14.h"
#include "tform15.h"
#include "tform16.h"
#include "tform17.h"
#include "tform18.h"
#include "tform19.h"
#include "tform20.h"
#include "tform21.h"
#include "tform22.h"
#include "tform23.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

constexpr double kTargetMs = 40.0;
constexpr double kReferenceTargetMs = 30.0;
constexpr qint64 kTargetBytesPerInstance = 1024 * 1024;

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

// Until the window is on the screen and painted, or a second has passed.
void waitShown(QWidget *window)
{
    QElapsedTimer guard;
    guard.start();
    while (!(window->windowHandle() && window->windowHandle()->isExposed()) && guard.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values[values.size() / 2];
}

template <class Open> double medianOpenMs(int runs, Open open)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        QWidget *shown = open();
        times << clock.nsecsElapsed() / 1e6;
        shown->close();
        QCoreApplication::processEvents();
    }
    return median(times);
}

const char *verdict(bool met)
{
    return met ? "meets" : "MISSES";
}

// The platform's remarks (an offscreen display cannot raise windows...) are no results.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

/** One command of the complementary information: what it opens, and the window to close after. */
struct ReferenceCommand
{
    const char *what;
    void (Tfichaprincipal::*handler)();
    /** The windows the command shows, waited for until they are painted. */
    std::function<QList<QWidget *>()> shown;
};

QList<ReferenceCommand> referenceCommands()
{
    return {
        { "TForm16 (block diagram)", &Tfichaprincipal::Diagramadebloquesdelosciloscopio1Click,
            [] { return QList<QWidget *> { Form16 }; } },
        { "TForm14 + TForm15 (detailed tube)", &Tfichaprincipal::DescripcindetalladadelTRC1Click,
            [] { return QList<QWidget *> { Form14 }; } },
        { "TForm19 + TForm20 (vertical stage)", &Tfichaprincipal::Descripcindelaetapavertical1Click,
            [] {
                return QList<QWidget *> { Form19, Form20 };
            } },
        { "TForm22 + TForm21 (horizontal stage)", &Tfichaprincipal::Descripcindelaetapahorizontal1Click,
            [] {
                return QList<QWidget *> { Form22, Form21 };
            } },
        { "TForm17 + TForm18 (dual channel)", &Tfichaprincipal::Osciloscopiosdedoblecanal1Click,
            [] {
                return QList<QWidget *> { Form17, Form18 };
            } },
        { "TForm13 (technical data)", &Tfichaprincipal::DatostcnicosdelHM2031Click,
            [] { return QList<QWidget *> { Form13 }; } },
    };
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    const int runs = qEnvironmentVariableIntValue("RUNS") > 0 ? qEnvironmentVariableIntValue("RUNS") : 25;
    QStringList errors;
    ErrorBox::setRecorder([&errors](const QString &text) { errors << text; });

    openWindow(fichaprincipal);
    waitShown(fichaprincipal);

    const double deflection = medianOpenMs(runs, [] {
        fichaprincipal->ComportamientodelTRC1Click();
        waitShown(Form23);
        return static_cast<QWidget *>(Form23.data());
    });
    const double pair = medianOpenMs(runs, [] {
        fichaprincipal->ComposcClick();
        waitShown(form10);
        waitShown(Form11);
        // closing the texts closes the screen too
        return static_cast<QWidget *>(Form11.data());
    });
    if (!errors.isEmpty()) {
        std::fprintf(
            stderr, "windows_bench: %s (run it from the runnable folder)\n", qPrintable(errors.first()));
        return 1;
    }

    // The six commands of the complementary information, files read included. Closing the first
    // window shown closes its partner too.
    QList<double> referenceTimes;
    for (const ReferenceCommand &command : referenceCommands()) {
        referenceTimes << medianOpenMs(runs, [&command] {
            (fichaprincipal.data()->*command.handler)();
            const QList<QWidget *> windows = command.shown();
            for (QWidget *window : windows)
                waitShown(window);
            return windows.first();
        });
    }
    if (!errors.isEmpty()) {
        std::fprintf(
            stderr, "windows_bench: %s (run it from the runnable folder)\n", qPrintable(errors.first()));
        return 1;
    }

    constexpr int kInstances = 20;
    const qint64 before = residentBytes();
    for (int i = 0; i < kInstances; ++i) {
        fichaprincipal->ComportamientodelTRC1Click();
        waitShown(Form23);
    }
    const qint64 perInstance = (residentBytes() - before) / kInstances;

    // What each further pair costs once the first of its kind has read its files.
    QList<qint64> perPair;
    for (const ReferenceCommand &command : referenceCommands()) {
        const qint64 start = residentBytes();
        for (int i = 0; i < kInstances; ++i) {
            (fichaprincipal.data()->*command.handler)();
            for (QWidget *window : command.shown())
                waitShown(window);
        }
        perPair << (residentBytes() - start) / kInstances;
    }

    std::printf("opening TForm23 (53 frames read): median %.1f ms over %d (target < %.0f ms: %s)\n",
        deflection, runs, kTargetMs, verdict(deflection < kTargetMs));
    std::printf("opening Tform10 + TForm11: median %.1f ms over %d (target < %.0f ms: %s)\n", pair, runs,
        kTargetMs, verdict(pair < kTargetMs));
    std::printf("memory per further TForm23, %d shown: %lld KiB (target <= %lld KiB: %s)\n", kInstances,
        perInstance / 1024, kTargetBytesPerInstance / 1024, verdict(perInstance <= kTargetBytesPerInstance));
    const QList<ReferenceCommand> commands = referenceCommands();
    for (int i = 0; i < commands.size(); ++i) {
        std::printf(
            "opening %s: median %.1f ms over %d (target < %.0f ms: %s); %lld KiB per further one, %d shown\n",
            commands[i].what, referenceTimes[i], runs, kReferenceTargetMs,
            verdict(referenceTimes[i] < kReferenceTargetMs), perPair[i] / 1024, kInstances);
    }
    Form::destroyAll();
    return 0;
}
