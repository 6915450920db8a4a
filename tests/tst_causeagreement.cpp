// The task judges and the explanation of the screen read the same screen: where a verdict gives a cause the
// explanation knows, the explanation finds it too, and for what leaves the face dark or faint it finds it
// first.
#include "taskstestsupport.h"
#include "traceexplanation.h"

namespace {

using C = Hm203Control;

/** The controls a student turns while trying a task, causes and all. */
const QList<C> &turned()
{
    static const QList<C> controls { C::Power, C::Intensity, C::Tester, C::AtNorm, C::Level, C::Slope,
        C::TriggerCoupling, C::ExtTrigger, C::AltTrigger, C::GroundI, C::GroundII, C::DcI, C::DcII,
        C::ChannelII, C::Dual, C::Add, C::XY, C::TimeDiv, C::TimeCal, C::VoltsDivI, C::VoltsDivII,
        C::YPositionI, C::YPositionII, C::XPosition, C::XMagnifier, C::HoldOff, C::Focus, C::TraceRotation };
    return controls;
}

/** Causes that leave nothing to work with: the explanation must put them first. */
bool blocksAll(TraceCause cause)
{
    switch (cause) {
    case TraceCause::PowerOff:
    case TraceCause::WarmingUp:
    case TraceCause::IntensityLow:
    case TraceCause::FastSweepDim:
    case TraceCause::Tester:
        return true;
    default:
        break;
    }
    return false;
}

} // namespace

class TestCauseAgreement : public QObject
{
    Q_OBJECT

private slots:
    void verdictsAndExplanationNameOneCause_data()
    {
        QTest::addColumn<int>("task");
        for (int task = 0; task < hm203Tasks().size(); ++task)
            QTest::newRow(qPrintable(QStringLiteral("task %1").arg(task + 1))) << task;
    }
    void verdictsAndExplanationNameOneCause()
    {
        QFETCH(int, task);
        const Hm203Task &t = hm203Tasks().at(task);
        QRandomGenerator random(0x5eed + quint32(task));
        int compared = 0;
        for (int state = 0; state < 60; ++state) {
            Hm203 scope = startedTask(task, random.bounded(8u));
            // One to four controls turned anywhere in their range, as a student trying things does.
            const int moves = 1 + int(random.bounded(4u));
            QStringList done;
            for (int m = 0; m < moves; ++m) {
                const C control = turned().at(int(random.bounded(quint32(turned().size()))));
                const Hm203ControlInfo &info = controlInfo(control);
                const int value
                    = info.minimum + int(random.bounded(quint32(info.maximum - info.minimum + 1)));
                scope.setValue(control, value);
                done << QStringLiteral("%1=%2").arg(QString::fromUtf16(info.label)).arg(value);
            }
            const TaskVerdict verdict = t.judge(scope, std::nullopt);
            if (verdict.met || !verdict.cause)
                continue;
            ++compared;
            const TraceExplanation e = explainTrace(scope);
            const QString where = done.join(QStringLiteral(", ")) + QStringLiteral(": ") + verdict.castilian
                + QStringLiteral(" / ") + e.castilian;
            QVERIFY2(e.causes.contains(*verdict.cause), qPrintable(where));
            if (blocksAll(*verdict.cause))
                QVERIFY2(e.causes.first() == *verdict.cause, qPrintable(where));
        }
        // Every task meets some of the causes in its random states.
        QVERIFY2(compared > 0, "no verdict gave a cause");
    }
};

QTEST_APPLESS_MAIN(TestCauseAgreement)
#include "tst_causeagreement.moc"
