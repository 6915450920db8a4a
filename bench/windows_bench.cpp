// Opening times of the topic windows, the memory each further deflection window or reference pair
// costs, and the time to judge an answer. Run from the runnable folder, so the windows read their
// data files as the program does.
#include "errorbox.h"
#include "problemjudge.h"
#include "tcuestiones.h"
#include "tevaluacion.h"
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
#include "tform4.h"
#include "tform7.h"
#include "tform8.h"
#include "tosciloscopio.h"
#include "tproblemas.h"
#include "tpw.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

constexpr double kTargetMs = 40.0;
// Every topic window opens within this, the files it reads included.
constexpr double kTopicTargetMs = 30.0;
constexpr int kVerdicts = 100000;
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

/** Judges kVerdicts answers of a problem, typical ones right and wrong in turn; nanoseconds per verdict. */
double nanosecondsPerVerdict(int problem)
{
    static const QList<QStringList> samples[8]
        = { {}, { { "10" }, { "10,0" }, { " 10" } }, { { "60" }, { "6O" } }, { { "53" }, { "59" }, { "56" } },
              { { "3" }, { "3 ms" } }, { { "333" }, { "333,3 Hz" }, { "3330" }, { "1/3" }, { "" } },
              { { "1047" }, { "1047,2" }, { "1050 rad/s" }, { "1,5" }, { "2094" } },
              { { "amplitud", "periodo", "fase" }, { " Amplitud ", "PERÍODO", "Fase" },
                  { "periodo", "fase", "amplitud" } } };
    const QList<QStringList> &answers = samples[problem];
    int right = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kVerdicts; ++i)
        right += ProblemJudge::judge(problem, answers[i % answers.size()]) == Verdict::Right ? 1 : 0;
    const double ns = double(clock.nsecsElapsed()) / kVerdicts;
    // The count keeps the loop from being optimised away.
    return right >= 0 ? ns : -1.0;
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
    // The walkthrough reads its first photograph as it is shown; the practice window its cursor.
    const double walkthrough = medianOpenMs(runs, [] {
        openWindow(Form4);
        waitShown(Form4);
        return static_cast<QWidget *>(Form4.data());
    });
    const double practice = medianOpenMs(runs, [] {
        openWindow(Form7);
        waitShown(Form7);
        return static_cast<QWidget *>(Form7.data());
    });
    // The utilities book reads its text and the hand cursor when it opens, and each of its two
    // screens when its button is pressed: the second figure counts both presses.
    const double utilities = medianOpenMs(runs, [] {
        fichaprincipal->Utilidadesdelosciloscopio1Click();
        waitShown(Form8);
        return static_cast<QWidget *>(Form8.data());
    });
    const double utilitiesScreens = medianOpenMs(runs, [] {
        fichaprincipal->Utilidadesdelosciloscopio1Click();
        Form8->SpeedButton7Click();
        Form8->SpeedButton8Click();
        waitShown(Form8);
        return static_cast<QWidget *>(Form8.data());
    });
    const double instrument = medianOpenMs(runs, [] {
        fichaprincipal->Osciloscopiovirtual1Click();
        waitShown(osciloscopio);
        return static_cast<QWidget *>(osciloscopio.data());
    });
    const double gate = medianOpenMs(runs, [] {
        fichaprincipal->Cuestionario1Click();
        waitShown(pw);
        return static_cast<QWidget *>(pw.data());
    });
    // From the accepted code to the questionnaire on the screen; the gate itself is opened untimed.
    QList<double> questionnaireTimes;
    for (int i = 0; i < runs; ++i) {
        fichaprincipal->Cuestionario1Click();
        waitShown(pw);
        pw->Password->setText(QStringLiteral("50000000"));
        QElapsedTimer clock;
        clock.start();
        pw->OKBtnClick();
        waitShown(evaluacion);
        questionnaireTimes << clock.nsecsElapsed() / 1e6;
        evaluacion->close();
        QCoreApplication::processEvents();
    }
    const double questionnaire = median(questionnaireTimes);
    const double questions = medianOpenMs(runs, [] {
        fichaprincipal->Problemas2Click();
        waitShown(cuestiones);
        return static_cast<QWidget *>(cuestiones.data());
    });
    const double problems = medianOpenMs(runs, [] {
        fichaprincipal->Problemas3Click();
        waitShown(problemas);
        return static_cast<QWidget *>(problemas.data());
    });

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
    std::printf("opening TForm4 (antes-0.bmp read): median %.1f ms over %d (target < %.0f ms: %s)\n",
        walkthrough, runs, kTopicTargetMs, verdict(walkthrough < kTopicTargetMs));
    std::printf("opening TForm7 (handgrab.cur read): median %.1f ms over %d (target < %.0f ms: %s)\n",
        practice, runs, kTopicTargetMs, verdict(practice < kTopicTargetMs));
    std::printf("opening TForm8 (its text and cursor read): median %.1f ms over %d (target < %.0f ms: %s)\n",
        utilities, runs, kTopicTargetMs, verdict(utilities < kTopicTargetMs));
    std::printf("opening TForm8 and loading both screens: median %.1f ms over %d (target < %.0f ms: %s)\n",
        utilitiesScreens, runs, kTopicTargetMs, verdict(utilitiesScreens < kTopicTargetMs));
    std::printf("opening Tosciloscopio: median %.1f ms over %d (target < %.0f ms: %s)\n", instrument, runs,
        kTopicTargetMs, verdict(instrument < kTopicTargetMs));
    std::printf("opening Tpw: median %.1f ms over %d (target < %.0f ms: %s)\n", gate, runs, kTopicTargetMs,
        verdict(gate < kTopicTargetMs));
    std::printf("opening Tevaluacion from an accepted code: median %.1f ms over %d (target < %.0f ms: %s)\n",
        questionnaire, runs, kTopicTargetMs, verdict(questionnaire < kTopicTargetMs));
    std::printf("memory per further TForm23, %d shown: %lld KiB (target <= %lld KiB: %s)\n", kInstances,
        perInstance / 1024, kTargetBytesPerInstance / 1024, verdict(perInstance <= kTargetBytesPerInstance));
    std::printf("opening Tcuestiones: median %.1f ms over %d (target < %.0f ms: %s)\n", questions, runs,
        kTopicTargetMs, verdict(questions < kTopicTargetMs));
    std::printf("opening Tproblemas: median %.1f ms over %d (target < %.0f ms: %s)\n", problems, runs,
        kTopicTargetMs, verdict(problems < kTopicTargetMs));
    for (int problem = 1; problem <= ProblemJudge::problemCount; ++problem) {
        const double ns = nanosecondsPerVerdict(problem);
        std::printf("judging problem %d: %d answers, %.0f ns per verdict (target well under 1 ms: %s)\n",
            problem, kVerdicts, ns, verdict(ns >= 0.0 && ns < 10000.0));
    }
    const QList<ReferenceCommand> commands = referenceCommands();
    for (int i = 0; i < commands.size(); ++i) {
        std::printf(
            "opening %s: median %.1f ms over %d (target < %.0f ms: %s); %lld KiB per further one, %d shown\n",
            commands[i].what, referenceTimes[i], runs, kTopicTargetMs,
            verdict(referenceTimes[i] < kTopicTargetMs), perPair[i] / 1024, kInstances);
    }
    Form::destroyAll();
    return 0;
}
