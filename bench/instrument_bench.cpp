// The virtual oscilloscope's display frames: every control swept through all its positions, each
// position one frame (the instrument computed and the panel repainted), with the 99th percentile
// against its target; then pictures that move by themselves (a slow sweep, alternating channels, a
// running trace), their frame rate and cost; then the processor time a steady window takes while
// nothing changes. Over the same sweep of states, what the answer to "why can't I see the trace?"
// costs, and the cost of putting the face into words.
#include "livepanel.h"
#include "panelcontrol.h"
#include "screendescription.h"
#include "traceexplanation.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr double kFrameTargetMs = 4.0;
constexpr double kMedianTargetMs = 2.0;
/** The explanation is asked for on a click, but should cost far less than a frame. */
constexpr double kExplanationTargetMs = 1.0;
/** The words for the face are worked out at most once a frame, only when the instrument changed. */
constexpr double kDescribeTargetMs = 1.0;

double cpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

double percentile(QList<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty()
        ? 0.0
        : values.at(std::min<qsizetype>(values.size() - 1, qsizetype(values.size() * fraction)));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    LivePanel panel(nullptr, 1.75);
    panel.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    // Each position of each control, from its lowest to its highest and back to where it was.
    QList<double> frames;
    QList<double> cpuFrames;
    QList<double> worst(kHm203ControlCount, 0.0);
    QList<double> explanations;
    QList<double> describing;
    for (const Hm203ControlInfo &info : hm203Controls()) {
        if (info.id == Hm203Control::Power)
            continue; // switching off and on starts the warm-up, not a frame of interest
        const int initial = panel.scope().value(info.id);
        QList<int> positions;
        for (int v = info.minimum; v <= info.maximum; ++v)
            positions << v;
        positions << initial;
        for (int v : positions) {
            const double cpuStart = cpuSeconds();
            QElapsedTimer clock;
            clock.start();
            panel.setControlValue(info.id, v);
            const qint64 a = clock.nsecsElapsed();
            panel.advanceFrame();
            const qint64 b = clock.nsecsElapsed();
            // What the event loop does next: paints the parts that changed, nothing else.
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            const double ms = clock.nsecsElapsed() / 1e6;
            cpuFrames << (cpuSeconds() - cpuStart) * 1000.0;
            if (qEnvironmentVariableIsSet("VANTELA_BENCH_PHASES"))
                std::printf("%s %d: control %.2f frame %.2f paint %.2f\n",
                    qPrintable(QString::fromUtf16(info.label)), v, a / 1e6, (b - a) / 1e6, ms - b / 1e6);
            frames << ms;
            worst[int(info.id)] = std::max(worst[int(info.id)], ms);
            QElapsedTimer explaining;
            explaining.start();
            explainTrace(panel.scope());
            explanations << explaining.nsecsElapsed() / 1e6;
            QElapsedTimer words;
            words.start();
            const ScreenDescription described = describeScreen(panel.scope(), panel.moment());
            describing << words.nsecsElapsed() / 1e6;
            Q_UNUSED(described);
        }
    }
    const double p99 = percentile(frames, 0.99);
    const double median = percentile(frames, 0.5);
    std::printf("virtual oscilloscope frame: median %.2f ms (target < %.0f ms: %s), 99th percentile %.2f ms "
                "over %lld frames (target < %.0f ms: %s)\n",
        median, kMedianTargetMs, median < kMedianTargetMs ? "met" : "NOT MET", p99, qlonglong(frames.size()),
        kFrameTargetMs, p99 < kFrameTargetMs ? "met" : "NOT MET");
    // Processor time is what a frame costs the machine, whatever else runs beside it.
    const double cpuP99 = percentile(cpuFrames, 0.99);
    std::printf("  in processor time: median %.2f ms, 99th percentile %.2f ms (target < %.0f ms: %s)\n",
        percentile(cpuFrames, 0.5), cpuP99, kFrameTargetMs, cpuP99 < kFrameTargetMs ? "met" : "NOT MET");
    const double explanationP99 = percentile(explanations, 0.99);
    std::printf(
        "why the trace cannot be seen, explained: median %.3f ms, 99th percentile %.3f ms over %lld states "
        "(target < %.0f ms: %s)\n",
        percentile(explanations, 0.5), explanationP99, qlonglong(explanations.size()), kExplanationTargetMs,
        explanationP99 < kExplanationTargetMs ? "met" : "NOT MET");
    const double describeP99 = percentile(describing, 0.99);
    std::printf(
        "  the face in words (describeScreen): median %.3f ms, 99th percentile %.3f ms over %lld states "
        "(target < %.0f ms: %s)\n",
        percentile(describing, 0.5), describeP99, qlonglong(describing.size()), kDescribeTargetMs,
        describeP99 < kDescribeTargetMs ? "met" : "NOT MET");
    for (const Hm203ControlInfo &info : hm203Controls())
        if (worst[int(info.id)] > kFrameTargetMs)
            std::printf("  slowest frame turning %s: %.2f ms\n", qPrintable(QString::fromUtf16(info.label)),
                worst[int(info.id)]);

    // Pictures that move by themselves: a second of the event loop each, counting the frames drawn and
    // timing each one.
    struct Moving
    {
        const char *name;
        QList<std::pair<Hm203Control, int>> controls;
    };
    const QList<Moving> moving {
        { "0,2 s/div, a crawling spot", { { Hm203Control::TimeDiv, Hm203::timeDivPosition(0.2) } } },
        { "DUAL alternate at 50 ms/div",
            { { Hm203Control::Dual, 1 }, { Hm203Control::TimeDiv, Hm203::timeDivPosition(50e-3) } } },
        { "a running trace (HF trigger, 1 kHz)", { { Hm203Control::TriggerCoupling, 2 } } },
    };
    for (const Moving &m : moving) {
        QList<int> restore;
        for (const auto &[control, value] : m.controls) {
            restore << panel.scope().value(control);
            panel.setControlValue(control, value);
        }
        panel.advanceFrame();
        const int before = panel.frameCount();
        QList<double> movingFrames;
        QElapsedTimer second;
        second.start();
        while (second.elapsed() < 1000) {
            const int count = panel.frameCount();
            QElapsedTimer clock;
            clock.start();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (panel.frameCount() != count)
                movingFrames << clock.nsecsElapsed() / 1e6;
        }
        std::printf("  moving by itself, %s: %d frames in 1 s, median %.2f ms, 99th percentile %.2f ms\n",
            m.name, panel.frameCount() - before, percentile(movingFrames, 0.5),
            percentile(movingFrames, 0.99));
        for (qsizetype i = m.controls.size() - 1; i >= 0; --i)
            panel.setControlValue(m.controls.at(i).first, restore.at(i));
        panel.advanceFrame();
    }

    // A steady picture: two seconds of the event loop with nothing to do.
    while (panel.framePending())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const int before = panel.frameCount();
    const double cpu = cpuSeconds();
    QTimer::singleShot(2000, &app, &QCoreApplication::quit);
    app.exec();
    std::printf("virtual oscilloscope at rest: %.1f ms of processor time in 2 s, %d frames drawn\n",
        (cpuSeconds() - cpu) * 1000.0, panel.frameCount() - before);
    return 0;
}
