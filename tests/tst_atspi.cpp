// The virtual oscilloscope as a screen reader meets it: read over the accessibility bus, through
// Qt's real AT-SPI bridge, as Orca reads it. The suite is its own AT-SPI client: it reads its own
// windows with asynchronous D-Bus calls while the event loop runs, so that the bridge, which answers
// on this same GUI thread, can answer. Runs with a session bus on an X display (see run-with-atspi.sh).
#include "benchnews.h"
#include "generatorpanel.h"
#include "hm203tasks.h"
#include "livepanel.h"
#include "panelcontrol.h"
#include "reportdialog.h"
#include "screenface.h"
#include "screennote.h"
#include "taskstrip.h"
#include "testsupport.h"
#include "tfichaprincipal.h"
#include "tosciloscopio.h"
#include "windowtestsupport.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolTip>
#include <QtTest>

#include <algorithm>

using C = Hm203Control;

namespace {

// From at-spi2-core's atspi-constants.h.
constexpr uint kRoleCheckBox = 7;
constexpr uint kRoleFrame = 23;
constexpr uint kRolePanel = 39;
constexpr uint kRoleImage = 27;
constexpr uint kRoleLabel = 29;
constexpr uint kRoleMenuItem = 35;
constexpr uint kRoleNotification = 101;
constexpr uint kRolePushButton = 43;
constexpr uint kRoleRadioButton = 44;
constexpr uint kRoleToggleButton = 62;
constexpr uint kRoleSpinButton = 52;
constexpr uint kRoleText = 61;
constexpr uint kStateChecked = 4;
constexpr uint kStateEnabled = 8;
constexpr uint kStateFocusable = 11;
constexpr uint kStateFocused = 12;
constexpr uint kStateSensitive = 24;
constexpr uint kStateShowing = 25;

/** An object on the bus: the connection that serves it and its path. */
struct Ref
{
    QString service;
    QDBusObjectPath path;
};

QDBusArgument &operator<<(QDBusArgument &argument, const Ref &ref)
{
    argument.beginStructure();
    argument << ref.service << ref.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, Ref &ref)
{
    argument.beginStructure();
    argument >> ref.service >> ref.path;
    argument.endStructure();
    return argument;
}

/** What a screen reader learns of one object. */
struct Heard
{
    uint role = 0;
    QString name;
    QString description;
    /** The Text interface's text and the Value interface's value, where there are. */
    QString text;
    double value = -1.0;
    bool checked = false;
    /** Enabled and sensitive: the reader may work it. */
    bool enabled = false;
};

} // namespace

Q_DECLARE_METATYPE(Ref)

class TestAtSpi : public WindowSuite
{
    Q_OBJECT

private:
    QDBusConnection m_bus { QString() };
    QString m_app;
    /** The objects that have said "showing" since the last look, as a notification does. */
    QStringList m_shown;

    static QDBusMessage accessibleCall(const Ref &ref, const char *method)
    {
        return QDBusMessage::createMethodCall(
            ref.service, ref.path.path(), QStringLiteral("org.a11y.atspi.Accessible"), QLatin1String(method));
    }
    static QDBusMessage property(const Ref &ref, const char *interface, const char *name)
    {
        QDBusMessage m = QDBusMessage::createMethodCall(ref.service, ref.path.path(),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        m.setArguments({ QLatin1String(interface), QLatin1String(name) });
        return m;
    }
    static QVariant first(const QDBusMessage &reply)
    {
        const QVariant v = reply.arguments().value(0);
        return v.canConvert<QDBusVariant>() ? v.value<QDBusVariant>().variant() : v;
    }

    /** Sends the calls at once and runs the event loop until every answer is in. */
    QList<QDBusMessage> ask(const QList<QDBusMessage> &calls)
    {
        QList<QDBusPendingCall> pending;
        for (const QDBusMessage &m : calls)
            pending << m_bus.asyncCall(m, 5000);
        for (const QDBusPendingCall &p : pending) {
            QDBusPendingCallWatcher watcher(p);
            QEventLoop loop;
            connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
            if (!watcher.isFinished())
                loop.exec();
        }
        QList<QDBusMessage> replies;
        for (const QDBusPendingCall &p : pending)
            replies << p.reply();
        return replies;
    }

    static QList<Ref> children(const QDBusMessage &reply)
    {
        return qdbus_cast<QList<Ref>>(reply.arguments().value(0));
    }

    /** Every object under a window, by name, walked a level at a time. */
    QMultiHash<QString, Ref> objectsUnder(const Ref &window)
    {
        QMultiHash<QString, Ref> named;
        QList<Ref> level { window };
        while (!level.isEmpty()) {
            QList<QDBusMessage> calls;
            for (const Ref &r : level)
                calls << accessibleCall(r, "GetChildren");
            QList<Ref> next;
            for (const QDBusMessage &reply : ask(calls))
                next << children(reply);
            calls.clear();
            for (const Ref &r : next)
                calls << property(r, "org.a11y.atspi.Accessible", "Name");
            const QList<QDBusMessage> names = ask(calls);
            for (qsizetype i = 0; i < next.size(); ++i)
                named.insert(first(names.at(i)).toString(), next.at(i));
            level = next;
        }
        return named;
    }

    /** Every object under a window, each with its role, name and state. */
    struct Met
    {
        Ref ref;
        uint role = 0;
        QString name;
        uint state = 0;
    };
    QList<Met> everythingUnder(const Ref &window)
    {
        QList<Met> met;
        QList<Ref> level { window };
        while (!level.isEmpty()) {
            QList<QDBusMessage> calls;
            for (const Ref &r : level)
                calls << accessibleCall(r, "GetChildren");
            QList<Ref> next;
            for (const QDBusMessage &reply : ask(calls))
                next << children(reply);
            calls.clear();
            for (const Ref &r : next)
                calls << accessibleCall(r, "GetRole") << property(r, "org.a11y.atspi.Accessible", "Name")
                      << accessibleCall(r, "GetState");
            const QList<QDBusMessage> replies = ask(calls);
            for (qsizetype i = 0; i < next.size(); ++i) {
                const QList<uint> state = qdbus_cast<QList<uint>>(replies.at(3 * i + 2).arguments().value(0));
                met << Met { next.at(i), first(replies.at(3 * i)).toUInt(),
                    first(replies.at(3 * i + 1)).toString(), state.value(0) };
            }
            level = next;
        }
        return met;
    }

    /** The oscilloscope window as the bus shows it: the one showing under its title. */
    Ref windowOnTheBus(const QWidget *window)
    {
        const Ref root { m_app, QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root")) };
        const QList<Ref> windows = children(ask({ accessibleCall(root, "GetChildren") }).first());
        for (const Ref &w : windows) {
            const QList<QDBusMessage> r
                = ask({ property(w, "org.a11y.atspi.Accessible", "Name"), accessibleCall(w, "GetState") });
            const QList<uint> state = qdbus_cast<QList<uint>>(r.at(1).arguments().value(0));
            const bool showing = !state.isEmpty() && (state.first() & (1u << kStateShowing));
            if (showing && first(r.at(0)).toString() == window->windowTitle())
                return w;
        }
        return {};
    }

    Heard hear(const Ref &ref)
    {
        QDBusMessage text = QDBusMessage::createMethodCall(
            ref.service, ref.path.path(), QStringLiteral("org.a11y.atspi.Text"), QStringLiteral("GetText"));
        text.setArguments({ 0, -1 });
        const QList<QDBusMessage> r
            = ask({ accessibleCall(ref, "GetRole"), property(ref, "org.a11y.atspi.Accessible", "Name"),
                property(ref, "org.a11y.atspi.Accessible", "Description"), accessibleCall(ref, "GetState"),
                text, property(ref, "org.a11y.atspi.Value", "CurrentValue") });
        Heard heard;
        heard.role = first(r.at(0)).toUInt();
        heard.name = first(r.at(1)).toString();
        heard.description = first(r.at(2)).toString();
        const QList<uint> state = qdbus_cast<QList<uint>>(r.at(3).arguments().value(0));
        heard.checked = !state.isEmpty() && (state.first() & (1u << kStateChecked));
        const uint workable = (1u << kStateEnabled) | (1u << kStateSensitive);
        heard.enabled = !state.isEmpty() && (state.first() & workable) == workable;
        if (r.at(4).type() == QDBusMessage::ReplyMessage)
            heard.text = first(r.at(4)).toString();
        if (r.at(5).type() == QDBusMessage::ReplyMessage)
            heard.value = first(r.at(5)).toDouble();
        return heard;
    }

    /** Opens the virtual oscilloscope as the student does and finds it on the bus. */
    QMultiHash<QString, Ref> open(bool castilian)
    {
        setLanguage(castilian);
        menu("Osciloscopiovirtual1");
        const Ref window = windowOnTheBus(osciloscopio);
        if (window.service.isEmpty())
            return {};
        return objectsUnder(window);
    }

    /** With VANTELA_GRAB_DIR set, saves the screen with a control's tooltip up, as the pointer raises it. */
    static void saveTooltip(QWidget *widget, const QString &name)
    {
        const QString dir = qEnvironmentVariable("VANTELA_GRAB_DIR");
        if (dir.isEmpty())
            return;
        const QPoint centre = widget->rect().center();
        QHelpEvent help(QEvent::ToolTip, centre, widget->mapToGlobal(centre));
        QCoreApplication::sendEvent(widget, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->inherits("QTipLabel"))
                QVERIFY(QTest::qWaitForWindowExposed(w));
        }
        QDir().mkpath(dir);
        widget->screen()->grabWindow(0).save(QDir(dir).filePath(name + QStringLiteral(".png")));
        QToolTip::hideText();
    }

    /** A widget of this program on the bus, at the path Qt's bridge gives its accessible interface. */
    Ref bus(QWidget *widget) const
    {
        const QAccessible::Id id = QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget));
        return { m_app, QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/%1").arg(id)) };
    }
    /** Where the bench's news shows itself on the bus. */
    QString newsPath() const { return bus(osciloscopio->aviso).path.path(); }

    Heard heardControl(const QMultiHash<QString, Ref> &objects, C c)
    {
        return hear(objects.value(QString::fromUtf16(controlInfo(c).label)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        qDBusRegisterMetaType<Ref>();
        qDBusRegisterMetaType<QList<Ref>>();
        startSuite();
        // The accessibility bus, as a screen reader finds it, and this program's bridge on it.
        const QDBusMessage address = QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
        QCOMPARE(address.type(), QDBusMessage::ReplyMessage);
        m_bus = QDBusConnection::connectToBus(
            address.arguments().value(0).toString(), QStringLiteral("reader"));
        QVERIFY(m_bus.isConnected());
        const Ref registry { QStringLiteral("org.a11y.atspi.Registry"),
            QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root")) };
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const Ref &app : children(ask({ accessibleCall(registry, "GetChildren") }).first())) {
                    const QDBusMessage pid
                        = m_bus.interface()->call(QStringLiteral("GetConnectionUnixProcessID"), app.service);
                    if (pid.arguments().value(0).toLongLong() == QCoreApplication::applicationPid())
                        m_app = app.service;
                }
                return !m_app.isEmpty();
            }(),
            10000);
        // Listen for objects that show themselves, as Orca does for notifications.
        QDBusMessage listen = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.atspi.Registry"),
            QStringLiteral("/org/a11y/atspi/registry"), QStringLiteral("org.a11y.atspi.Registry"),
            QStringLiteral("RegisterEvent"));
        listen.setArguments({ QStringLiteral("object:state-changed:showing"), QStringList(), QString() });
        QCOMPARE(ask({ listen }).first().type(), QDBusMessage::ReplyMessage);
        QVERIFY(m_bus.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"),
            QStringLiteral("StateChanged"), this, SLOT(stateChanged(QDBusMessage))));
    }
    void cleanupTestCase() { endSuite(); }
    void init() { startCase(); }
    void cleanup()
    {
        if (osciloscopio)
            osciloscopio->close();
    }

    void stateChanged(const QDBusMessage &message)
    {
        if (message.arguments().value(0).toString() == QLatin1String("showing")
            && message.arguments().value(1).toInt() == 1)
            m_shown << message.path();
    }

    void everyControlIsNamedAsPrinted()
    {
        const QMultiHash<QString, Ref> objects = open(true);
        QVERIFY(!objects.isEmpty());
        for (const Hm203ControlInfo &info : hm203Controls()) {
            const QString label = QString::fromUtf16(info.label);
            QCOMPARE(objects.count(label), 1);
            QCOMPARE(hear(objects.value(label)).role,
                osciloscopio->panel->controlWidget(info.id)->isOnOff() ? kRoleCheckBox : kRoleSpinButton);
        }
    }

    void readingsFromTheOpeningAndAfterAKey_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        // The reading a knob or switch speaks is its text, in words, and so is the name of a button's
        // position where the panel gives it one; a button only in or out is checked while it is in.
        const auto row = [](const char *name, C c, Qt::Key key, const char16_t *es, const char16_t *esAfter,
                             const char16_t *va, const char16_t *vaAfter) {
            QTest::addRow("%s castellano", name)
                << true << int(c) << int(key) << QString::fromUtf16(es) << QString::fromUtf16(esAfter);
            QTest::addRow("%s valencià", name)
                << false << int(c) << int(key) << QString::fromUtf16(va) << QString::fromUtf16(vaAfter);
        };
        row("TIME/DIV", C::TimeDiv, Qt::Key_Left, u"0,2 milisegundos por división",
            u"0,5 milisegundos por división", u"0,2 mil·lisegons per divisió",
            u"0,5 mil·lisegons per divisió");
        row("TRIG.", C::TriggerCoupling, Qt::Key_End, u"A C", u"red", u"A C", u"xarxa");
        row("LEVEL", C::Level, Qt::Key_Right, u"centro", u"0,1 divisiones por encima de cero", u"centre",
            u"0,1 divisions per damunt de zero");
        row("Y-POS I", C::YPositionI, Qt::Key_PageDown, u"centro", u"1,0 divisiones por debajo del centro",
            u"centre", u"1,0 divisions per davall del centre");
        row("TIME/DIV CAL", C::TimeCal, Qt::Key_Home, u"calibrado", u"sin calibrar, por 2,5", u"calibrat",
            u"sense calibrar, per 2,5");
        row("AC/DC I", C::DcI, Qt::Key_Space, u"D C", u"A C", u"D C", u"A C");
        row("POWER", C::Power, Qt::Key_Space, u"", u"", u"", u"");
    }
    void readingsFromTheOpeningAndAfterAKey()
    {
        QFETCH(bool, castilian);
        QFETCH(int, control);
        QFETCH(int, key);
        QFETCH(QString, before);
        QFETCH(QString, after);
        const QMultiHash<QString, Ref> objects = open(castilian);
        QVERIFY(!objects.isEmpty());
        PanelControlWidget *widget = osciloscopio->panel->controlWidget(C(control));
        const bool button = widget->isOnOff();
        const auto reading = [&](const Heard &h) { return h.text; };
        // The tooltip keeps the reading as the panel writes it.
        const auto tip = [&] {
            return widget->label() + QStringLiteral(": ")
                + osciloscopio->panel->scope().readingAt(C(control), widget->value(), rowLanguage(castilian));
        };

        Heard heard = heardControl(objects, C(control));
        const bool wasIn = widget->value() != 0;
        QCOMPARE(heard.role, button ? kRoleCheckBox : kRoleSpinButton);
        QCOMPARE(heard.name, widget->label());
        QCOMPARE(reading(heard), before);
        QCOMPARE(heard.checked, button && wasIn);
        // A knob's position is its value; its description stays empty, or the reading would be heard twice.
        QCOMPARE(heard.value, button ? -1.0 : widget->value());
        QVERIFY(heard.description.isEmpty());
        QCOMPARE(widget->toolTip(), tip());

        // With a screen reader listening, the bridge lets it see each key before the window does.
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key(key));
        QTRY_COMPARE(reading(heardControl(objects, C(control))), after);
        if (button)
            QTRY_COMPARE(heardControl(objects, C(control)).checked, !wasIn);
        heard = heardControl(objects, C(control));
        QCOMPARE(heard.value, button ? -1.0 : widget->value());
        QCOMPARE(widget->toolTip(), tip());
        saveTooltip(widget,
            QStringLiteral("tooltip-") + QString::fromUtf8(QTest::currentDataTag()).replace(u'/', u'-'));
    }

    void everyEventCarriesTheNewReading_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("reading");
        QTest::newRow("TIME/DIV") << int(C::TimeDiv) << int(Qt::Key_Left)
                                  << QString::fromUtf16(u"0,5 milisegundos por división");
        QTest::newRow("AT/NORM") << int(C::AtNorm) << int(Qt::Key_Space) << "NORM";
        // Only in or out: the checked state says it all, and no reading repeats it.
        QTest::newRow("GD I") << int(C::GroundI) << int(Qt::Key_Space) << "";
        QTest::newRow("POWER") << int(C::Power) << int(Qt::Key_Space) << "";
    }
    void everyEventCarriesTheNewReading()
    {
        // A bridge may read a control as it tells of its change, before the instrument has heard of it.
        QFETCH(int, control);
        QFETCH(int, key);
        QFETCH(QString, reading);
        QVERIFY(!open(true).isEmpty());
        PanelControlWidget *widget = osciloscopio->panel->controlWidget(C(control));
        const int before = widget->value();
        widget->setFocus();
        static QStringList heard;
        heard.clear();
        const QAccessible::UpdateHandler bridge
            = QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
                  if (qobject_cast<PanelControlWidget *>(event->object()))
                      heard << event->accessibleInterface()->text(QAccessible::Value);
              });
        QTest::keyClick(widget, Qt::Key(key));
        QTRY_VERIFY(widget->value() != before);
        QAccessible::installUpdateHandler(bridge);
        QVERIFY(!heard.isEmpty());
        QCOMPARE(heard, QStringList(heard.size(), reading));
    }

    void aRangeSwitchFollowsItsFineKnob_data() { languages(); }
    void aRangeSwitchFollowsItsFineKnob()
    {
        QFETCH(bool, castilian);
        const QMultiHash<QString, Ref> objects = open(castilian);
        QVERIFY(!objects.isEmpty());
        const QString calibrated
            = QString::fromUtf16(castilian ? u"1 voltio por división" : u"1 volt per divisió");
        QCOMPARE(heardControl(objects, C::VoltsDivI).text, calibrated);
        PanelControlWidget *cal = osciloscopio->panel->controlWidget(C::VoltsCalI);
        cal->setFocus();
        QTest::keyClick(cal, Qt::Key_Left);
        QTRY_COMPARE(heardControl(objects, C::VoltsDivI).text,
            calibrated + (castilian ? QStringLiteral(", sin calibrar") : QStringLiteral(", sense calibrar")));
        QTest::keyClick(cal, Qt::Key_Right);
        QTRY_COMPARE(heardControl(objects, C::VoltsDivI).text, calibrated);
    }

    void theTaskStripIsHeard_data() { languages(); }
    void theTaskStripIsHeard()
    {
        QFETCH(bool, castilian);
        QMultiHash<QString, Ref> objects = open(castilian);
        QVERIFY(!objects.isEmpty());
        TaskStrip *strip = osciloscopio->tarea;
        m_shown.clear();
        QTest::mouseClick(strip->next(), Qt::LeftButton);
        objects = objectsUnder(windowOnTheBus(osciloscopio));

        // The goal is a label named by itself and its verdict, and described by the verdict; the bench's
        // news tells the task with its title, goal, starting panel and verdict as it is shown.
        const Ref goal = bus(strip->goal());
        Heard heard = hear(goal);
        QCOMPARE(heard.role, kRoleLabel);
        QCOMPARE(heard.name, strip->goal()->text() + QLatin1Char(' ') + strip->verdict()->text());
        QCOMPARE(heard.description, strip->verdict()->text());
        QTRY_COMPARE(m_shown.count(newsPath()), 1);
        const QString title = castilian ? QStringLiteral("Tarea 1 de ") : QStringLiteral("Tasca 1 de ");
        QVERIFY2(
            hear(bus(osciloscopio->aviso)).name.startsWith(title), qPrintable(osciloscopio->aviso->told()));
        // With the face's new words after it, as the task sets the generator up.
        QVERIFY(osciloscopio->aviso->told().startsWith(QStringList(
            { title + QString::number(hm203Tasks().size()) + QLatin1Char('.'), strip->goal()->text(),
                strip->start()->accessibleName(), strip->verdict()->text() })
                                                           .join(QLatin1Char(' '))));

        // Working the task, the student hears the new verdict once, with the new words of the face.
        const QString first = strip->verdict()->text();
        PanelControlWidget *time = osciloscopio->panel->controlWidget(C::TimeDiv);
        time->setFocus();
        QTest::keyClick(time, Qt::Key_Left);
        QTest::keyClick(time, Qt::Key_Left);
        QTRY_VERIFY(strip->isMet());
        QVERIFY(strip->verdict()->text() != first);
        QCOMPARE(hear(goal).description, strip->verdict()->text());
        QTRY_COMPARE(m_shown.count(newsPath()), 2);
        heard = hear(bus(osciloscopio->aviso));
        QCOMPARE(heard.role, kRoleNotification);
        QCOMPARE(heard.name,
            strip->verdict()->text() + QLatin1Char(' ')
                + osciloscopio->panel->screenDescription(rowLanguage(castilian)));
        QTest::qWait(BenchNews::kSettleMs + 300);
        QCOMPARE(m_shown.count(newsPath()), 2);
    }

    void theNoteUnderTheScreenIsHeard_data() { languages(); }
    void theNoteUnderTheScreenIsHeard()
    {
        QFETCH(bool, castilian);
        QMultiHash<QString, Ref> objects = open(castilian);
        QVERIFY(!objects.isEmpty());
        ScreenNote *note = osciloscopio->nota;
        // Both buttons are there from the opening, named by their words.
        for (QPushButton *button : { note->why(), note->describe() }) {
            QCOMPARE(objects.count(button->text()), 1);
            const Heard heard = hear(objects.value(button->text()));
            QVERIFY2(heard.role == kRolePushButton || heard.role == kRoleToggleButton
                    || heard.role == kRoleCheckBox,
                qPrintable(QString::number(heard.role)));
            QCOMPARE(heard.name, button->text());
            QVERIFY(heard.enabled);
        }
        // POWER off, then the question: the answer is spoken wherever the focus is, once it settles.
        m_shown.clear();
        osciloscopio->panel->setControlValue(C::Power, 0);
        QTest::mouseClick(note->why(), Qt::LeftButton);
        const QString answer = note->text()->text();
        QVERIFY2(answer.contains(QStringLiteral("POWER")), qPrintable(answer));
        objects = objectsUnder(windowOnTheBus(osciloscopio));
        QCOMPARE(objects.count(answer), 1);
        QCOMPARE(hear(objects.value(answer)).role, kRoleLabel);
        QTRY_COMPARE(m_shown.count(newsPath()), 1);
        const Heard told = hear(bus(osciloscopio->aviso));
        QCOMPARE(told.role, kRoleNotification);
        QVERIFY2(told.name.startsWith(answer), qPrintable(told.name));
        // Asked again, the same answer is spoken again, alone.
        QTest::mouseClick(note->why(), Qt::LeftButton);
        QTRY_COMPARE(m_shown.count(newsPath()), 2);
        QCOMPARE(hear(bus(osciloscopio->aviso)).name, answer);
        osciloscopio->panel->setControlValue(C::Power, 1);
    }

    void theTriggerInputWiringIsHeard_data() { languages(); }
    void theTriggerInputWiringIsHeard()
    {
        QFETCH(bool, castilian);
        QMultiHash<QString, Ref> objects = open(castilian);
        QVERIFY(!objects.isEmpty());
        // Output I on TRIG. INP. is a check box named by its words, heard checked once it is wired.
        QCheckBox *wiring = osciloscopio->generador->triggerInput();
        const QString said = wiring->text();
        QCOMPARE(objects.count(said), 1);
        QCOMPARE(hear(objects.value(said)).role, kRoleCheckBox);
        QVERIFY(!hear(objects.value(said)).checked);
        QTest::mouseClick(wiring, Qt::LeftButton, {}, QPoint(6, wiring->height() / 2));
        QTRY_VERIFY(hear(objects.value(said)).checked);
    }

    void everyFocusableObjectIsNamedAndNoneIsAFrame_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::addColumn<int>("task");
        // As the window opens, on a measuring task (the typed answer) and on a question (the choices).
        const auto firstWith = [](auto has) {
            const QList<Hm203Task> &tasks = hm203Tasks();
            return int(std::find_if(tasks.begin(), tasks.end(), has) - tasks.begin());
        };
        const int measuring = firstWith([](const Hm203Task &t) { return t.answerUnit != nullptr; });
        const int question = firstWith([](const Hm203Task &t) { return t.prediction != nullptr; });
        for (const bool castilian : { true, false }) {
            const char *language = castilian ? "castellano" : "valencià";
            QTest::addRow("opening %s", language) << castilian << -1;
            QTest::addRow("measuring %s", language) << castilian << measuring;
            QTest::addRow("question %s", language) << castilian << question;
        }
    }
    void everyFocusableObjectIsNamedAndNoneIsAFrame()
    {
        QFETCH(bool, castilian);
        QFETCH(int, task);
        QVERIFY(!open(castilian).isEmpty());
        TaskStrip *strip = osciloscopio->tarea;
        while (strip->taskIndex() < task)
            QTest::mouseClick(strip->next(), Qt::LeftButton);
        const QList<Met> met = everythingUnder(windowOnTheBus(osciloscopio));
        QVERIFY(met.size() > 60);
        int focusable = 0;
        for (const Met &m : met) {
            // A frame is a window's role: a screen reader takes one inside the window for an inactive
            // window and drops the focus events of what is inside it.
            QVERIFY2(m.role != kRoleFrame, qPrintable(m.name + QLatin1Char(' ') + m.ref.path.path()));
            const bool reachable = (m.state & (1u << kStateFocusable)) && (m.state & (1u << kStateShowing));
            if (!reachable)
                continue;
            ++focusable;
            QVERIFY2(!m.name.trimmed().isEmpty(),
                qPrintable(QStringLiteral("role %1 at %2 has no name").arg(m.role).arg(m.ref.path.path())));
        }
        // The panel's 34 controls, the note's two buttons, the generator's and the strip's.
        QVERIFY2(focusable > 50, qPrintable(QString::number(focusable)));
    }

    void theBoxesAreGroupingsNotWindows_data() { languages(); }
    void theBoxesAreGroupingsNotWindows()
    {
        QFETCH(bool, castilian);
        const QMultiHash<QString, Ref> objects = open(castilian);
        QVERIFY(!objects.isEmpty());
        // A frame is a window's role: a screen reader takes a box of that role for an inactive window and
        // drops the focus events of what is inside it.
        const QList<QString> names = objects.keys();
        QList<QDBusMessage> calls;
        for (const QString &name : names)
            calls << accessibleCall(objects.value(name), "GetRole");
        const QList<QDBusMessage> roles = ask(calls);
        for (qsizetype i = 0; i < names.size(); ++i)
            QVERIFY2(first(roles.at(i)).toUInt() != kRoleFrame, qPrintable(names.at(i)));
        const std::pair<const char16_t *, const char16_t *> boxes[] {
            { u"Nota bajo la pantalla", u"Nota davall de la pantalla" },
            { u"Generador de funciones", u"Generador de funcions" },
            { u"Tareas", u"Tasques" },
        };
        for (const auto &[es, va] : boxes) {
            const QString name = QString::fromUtf16(castilian ? es : va);
            // The box, beside the title it may share its name with.
            const QList<Ref> named = objects.values(name);
            QVERIFY2(std::any_of(named.begin(), named.end(),
                         [this](const Ref &r) { return hear(r).role == kRolePanel; }),
                qPrintable(name));
        }
    }

    void aPredictionIsHeardAsChoices_data() { languages(); }
    void aPredictionIsHeardAsChoices()
    {
        QFETCH(bool, castilian);
        QVERIFY(!open(castilian).isEmpty());
        TaskStrip *strip = osciloscopio->tarea;
        do
            QTest::mouseClick(strip->next(), Qt::LeftButton);
        while (!hm203Tasks().at(strip->taskIndex()).prediction);
        QVERIFY(strip->predicting());
        QMultiHash<QString, Ref> objects = objectsUnder(windowOnTheBus(osciloscopio));

        // Each choice is a radio button named by its sentence; the panel's controls cannot be worked yet.
        for (int i = 0; i < strip->choices().size(); ++i) {
            const QString said = strip->choiceButton(i)->text();
            QCOMPARE(objects.count(said), 1);
            const Heard heard = hear(objects.value(said));
            QCOMPARE(heard.role, kRoleRadioButton);
            QCOMPARE(heard.name, said);
            QVERIFY(heard.enabled && !heard.checked);
        }
        for (C c : { C::TimeDiv, C::Power, C::VoltsDivI })
            QVERIFY(!heardControl(objects, c).enabled);

        // By the keyboard alone: Tab from the question to the first choice, an arrow chooses the second, Tab
        // reaches Comprobar and Space answers.
        osciloscopio->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(osciloscopio));
        strip->goal()->setFocus(Qt::TabFocusReason);
        // The bridge lets the screen reader see each key before the window does: the focus follows a moment
        // later.
        QTest::keyClick(strip->goal(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), strip->choiceButton(0));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QRadioButton *chosen = strip->choiceButton(1);
        QTRY_VERIFY(hear(objects.value(chosen->text())).checked);
        QVERIFY(!hear(objects.value(strip->choiceButton(0)->text())).checked);
        QTRY_COMPARE(QApplication::focusWidget(), chosen);
        QTest::keyClick(chosen, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), strip->confirm());
        QTest::keyClick(strip->confirm(), Qt::Key_Space);

        // Confirmed: the choice stays heard, checked and no longer to be changed; the panel is free; the
        // focus is on the next step, a label the screen reader reads with the verdict.
        QTRY_VERIFY(heardControl(objects, C::TimeDiv).enabled);
        const Heard heard = hear(objects.value(chosen->text()));
        QVERIFY(heard.checked && !heard.enabled);
        const QList<uint> state = qdbus_cast<QList<uint>>(
            ask({ accessibleCall(bus(strip->goal()), "GetState") }).first().arguments().value(0));
        QVERIFY(state.value(0) & (1u << kStateFocused));
        const Heard next = hear(bus(strip->goal()));
        QCOMPARE(next.role, kRoleLabel);
        QCOMPARE(next.name, strip->goal()->text() + QLatin1Char(' ') + strip->verdict()->text());
        QCOMPARE(next.description, strip->verdict()->text());
    }

    void theLabsActionsAreHeard_data() { languages(); }
    void theLabsActionsAreHeard()
    {
        QFETCH(bool, castilian);
        QVERIFY(!open(castilian).isEmpty());
        // The button under the strip, named as printed, offering its menu.
        const Heard button = hear(bus(osciloscopio->bpractica));
        QCOMPARE(button.role, kRolePushButton);
        QCOMPARE(button.name, castilian ? QStringLiteral("Práctica") : QStringLiteral("Pràctica"));
        QVERIFY(button.enabled);
        // Its menu's entries, each a menu item named as it reads.
        QMenu *menu = osciloscopio->bpractica->menu();
        menu->popup(osciloscopio->bpractica->mapToGlobal(QPoint(0, osciloscopio->bpractica->height())));
        QTRY_VERIFY(menu->isVisible());
        QStringList entries;
        for (const Ref &entry : children(ask({ accessibleCall(bus(menu), "GetChildren") }).first())) {
            const Heard heard = hear(entry);
            QCOMPARE(heard.role, kRoleMenuItem);
            entries << heard.name;
        }
        const QStringList expected = castilian
            ? QStringList { QStringLiteral("Abrir práctica…"), QStringLiteral("Informe…"),
                  QStringLiteral("Guardar imagen de la pantalla…") }
            : QStringList { QStringLiteral("Obri pràctica…"), QStringLiteral("Informe…"),
                  QStringLiteral("Guarda imatge de la pantalla…") };
        QCOMPARE(entries, expected);
        menu->close();
        // The report's dialog: the fields for who hands it in and its buttons, each named.
        osciloscopio->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(osciloscopio));
        QTest::keyClick(osciloscopio, Qt::Key_R, Qt::ControlModifier);
        ReportDialog *about = nullptr;
        QTRY_VERIFY((about = osciloscopio->findChild<ReportDialog *>()) && about->isVisible());
        const std::tuple<QWidget *, uint, QString> named[] {
            { about->name(), kRoleText, castilian ? QStringLiteral("Nombre") : QStringLiteral("Nom") },
            { about->group(), kRoleText,
                castilian ? QStringLiteral("Grupo (opcional)") : QStringLiteral("Grup (opcional)") },
            { about->acceptButton(), kRolePushButton,
                castilian ? QStringLiteral("Aceptar") : QStringLiteral("Accepta") },
            { about->cancelButton(), kRolePushButton,
                castilian ? QStringLiteral("Cancelar") : QStringLiteral("Cancel·la") },
        };
        for (const auto &[widget, role, name] : named) {
            const Heard heard = hear(bus(widget));
            QCOMPARE(heard.role, role);
            QCOMPARE(heard.name, name);
        }
        QTest::mouseClick(about->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY(!osciloscopio->findChild<ReportDialog *>());
    }

    void oneMessagePerChange_data() { languages(); }
    void oneMessagePerChange()
    {
        // A task open, the question asked and the words on: a knob turned is told once, with only what is
        // new, the words once.
        QFETCH(bool, castilian);
        QVERIFY(!open(castilian).isEmpty());
        TaskStrip *strip = osciloscopio->tarea;
        ScreenNote *note = osciloscopio->nota;
        LivePanel *panel = osciloscopio->panel;
        QTest::mouseClick(strip->next(), Qt::LeftButton);
        QTest::mouseClick(note->why(), Qt::LeftButton);
        QTest::mouseClick(note->describe(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!osciloscopio->aviso->pending() && !panel->framePending(), 5000);
        // What the bus carried of the set-up has arrived before the count starts.
        QTest::qWait(300);
        m_shown.clear();
        PanelControlWidget *volts = panel->controlWidget(C::VoltsDivI);
        volts->setFocus();
        QTest::keyClick(volts, Qt::Key_Right);
        // One notification on the bus, from the bench's news, and no more after it.
        QTRY_COMPARE_WITH_TIMEOUT(m_shown.size(), 1, 3000);
        QTest::qWait(BenchNews::kSettleMs + 300);
        QCOMPARE(m_shown, QStringList { newsPath() });
        const QString told = osciloscopio->aviso->told();
        const QString words = panel->screenDescription(rowLanguage(castilian));
        QVERIFY2(words.contains(QStringLiteral("8,0 div")), qPrintable(words));
        // The new words alone: the answer to the question still says the trace is fine, and the verdict has
        // not changed, so neither is told again.
        QCOMPARE(told, words);

        // Keys a little less than the wait apart: one message, of the last position.
        m_shown.clear();
        for (int step = 0; step < 3; ++step) {
            QTest::keyClick(volts, Qt::Key_Left);
            QTest::qWait(BenchNews::kSettleMs * 3 / 5);
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_shown.size(), 1, 3000);
        QTest::qWait(BenchNews::kSettleMs + 300);
        QCOMPARE(m_shown, QStringList { newsPath() });
        QVERIFY2(osciloscopio->aviso->told().contains(panel->screenDescription(rowLanguage(castilian))),
            qPrintable(osciloscopio->aviso->told()));
        QVERIFY(!panel->screenDescription(rowLanguage(castilian)).contains(QStringLiteral("8,0 div")));
    }

    void theWordsAreInTheProgramsLanguage_data() { languages(); }
    void theWordsAreInTheProgramsLanguage()
    {
        // Told through the text attribute "language", the one way Qt's bridge passes a language on: a voice
        // for Catalan may then read Valencian.
        QFETCH(bool, castilian);
        const QMultiHash<QString, Ref> objects = open(castilian);
        QVERIFY(!objects.isEmpty());
        const QString tag = castilian ? QStringLiteral("es-ES") : QStringLiteral("ca-ES-valencia");
        const auto language = [this](const Ref &ref) {
            QDBusMessage call = QDBusMessage::createMethodCall(ref.service, ref.path.path(),
                QStringLiteral("org.a11y.atspi.Text"), QStringLiteral("GetAttributes"));
            call.setArguments({ 0 });
            const QDBusMessage reply = ask({ call }).first();
            return qdbus_cast<QMap<QString, QString>>(reply.arguments().value(0))
                .value(QStringLiteral("language"));
        };
        QCOMPARE(language(objects.value(QStringLiteral("TIME/DIV"))), tag);
        QCOMPARE(language(bus(osciloscopio->generador->frequency())), tag);
        QTest::mouseClick(osciloscopio->nota->why(), Qt::LeftButton);
        QTRY_VERIFY(!osciloscopio->aviso->told().isEmpty());
        QCOMPARE(language(bus(osciloscopio->aviso)), tag);
    }

    void theWordsSaySwitchedOnThenWhatTheyAre_data() { languages(); }
    void theWordsSaySwitchedOnThenWhatTheyAre()
    {
        QFETCH(bool, castilian);
        QVERIFY(!open(castilian).isEmpty());
        QPushButton *describe = osciloscopio->nota->describe();
        describe->setFocus(Qt::TabFocusReason);
        m_shown.clear();
        QTest::keyClick(describe, Qt::Key_Space);
        QTRY_COMPARE(m_shown.count(newsPath()), 1);
        const QString words = osciloscopio->panel->screenDescription(rowLanguage(castilian));
        QCOMPARE(hear(bus(osciloscopio->aviso)).name,
            (castilian ? QStringLiteral("Activado. ") : QStringLiteral("Activat. ")) + words);
        QTest::keyClick(describe, Qt::Key_Space);
        QTRY_COMPARE(m_shown.count(newsPath()), 2);
        QCOMPARE(hear(bus(osciloscopio->aviso)).name,
            castilian ? QStringLiteral("Desactivado.") : QStringLiteral("Desactivat."));
        QTest::qWait(BenchNews::kSettleMs + 300);
        QCOMPARE(m_shown.count(newsPath()), 2);
    }

    void theScreenIsAPictureDescribedInWords_data() { languages(); }
    void theScreenIsAPictureDescribedInWords()
    {
        QFETCH(bool, castilian);
        const QMultiHash<QString, Ref> objects = open(castilian);
        QVERIFY(!objects.isEmpty());
        LivePanel *panel = osciloscopio->panel;
        const QString name = castilian ? QStringLiteral("Pantalla del osciloscopio")
                                       : QStringLiteral("Pantalla de l'oscil\u00b7loscopi");
        QCOMPARE(objects.count(name), 1);
        const Ref screen = objects.value(name);
        // From the moment the window opens, a picture described by the model's words for the face.
        QCOMPARE(hear(screen).role, kRoleImage);
        QCOMPARE(hear(screen).description,
            describeScreen(panel->scope(), panel->moment()).in(rowLanguage(castilian)));
        QVERIFY(hear(screen).description.startsWith(QStringLiteral("CH I: ")));

        // VOLTS/DIV I turned a step through its widget doubles the trace, and the words follow.
        m_shown.clear();
        PanelControlWidget *volts = panel->controlWidget(C::VoltsDivI);
        volts->setFocus();
        QTest::keyClick(volts, Qt::Key_Right);
        QTRY_VERIFY(hear(screen).description.contains(QStringLiteral("8,0 div")));
        const QString words = hear(screen).description;
        QCOMPARE(words, describeScreen(panel->scope(), panel->moment()).in(rowLanguage(castilian)));
        // Once they have settled, the bench's news shows itself with them, once.
        QMultiHash<QString, Ref> now;
        QTRY_VERIFY_WITH_TIMEOUT((now = objectsUnder(windowOnTheBus(osciloscopio))).contains(words), 3000);
        const Ref news = now.value(words);
        QCOMPARE(hear(news).role, kRoleNotification);
        QTRY_COMPARE(m_shown.count(news.path.path()), 1);
        QTest::qWait(BenchNews::kSettleMs + 300);
        QCOMPARE(m_shown.count(news.path.path()), 1);
        QVERIFY(!m_shown.contains(screen.path.path()));
    }

    void theScreenIsToldOnceItsWordsSettle()
    {
        QVERIFY(!open(true).isEmpty());
        LivePanel *panel = osciloscopio->panel;
        static QObject *screen = nullptr;
        static QObject *news = nullptr;
        static int described = 0;
        static int shown = 0;
        screen = panel->screenFace();
        news = osciloscopio->aviso;
        described = shown = 0;
        const QAccessible::UpdateHandler bridge
            = QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
                  described += event->object() == screen && event->type() == QAccessible::DescriptionChanged;
                  shown += event->object() == news && event->type() == QAccessible::ObjectShow;
              });
        // Three turns of Y-POS I, each drawn in a frame of its own: three sets of words, none told yet.
        QStringList said;
        for (int turn = 1; turn <= 3; ++turn) {
            panel->setControlValue(C::YPositionI, 5 * turn);
            QTRY_VERIFY(!panel->framePending());
            said << panel->screenDescription(Language::Castilian);
        }
        QCOMPARE(QSet<QString>(said.cbegin(), said.cend()).size(), 3);
        QCOMPARE(described, 0);
        QTRY_COMPARE_WITH_TIMEOUT(described, 1, 3000);
        QCOMPARE(shown, 1);
        QCOMPARE(QAccessible::queryAccessibleInterface(news)->text(QAccessible::Name), said.last());
        // A running trace draws frame after frame with the same words: told once, and no more.
        panel->setControlValue(C::TriggerCoupling, 2);
        QTRY_COMPARE_WITH_TIMEOUT(described, 2, 3000);
        const int frames = panel->frameCount();
        QTest::qWait(BenchNews::kSettleMs + 500);
        QVERIFY(panel->frameCount() > frames + 20);
        // Moved and put back before the words settle: nothing new to tell.
        panel->setControlValue(C::YPositionI, 30);
        QTRY_VERIFY(
            panel->screenDescription(Language::Castilian).contains(QStringLiteral("3,0 div por encima")));
        panel->setControlValue(C::YPositionI, 15);
        QTRY_VERIFY(
            panel->screenDescription(Language::Castilian).contains(QStringLiteral("1,5 div por encima")));
        QTest::qWait(BenchNews::kSettleMs + 500);
        QCOMPARE(described, 2);
        QCOMPARE(shown, 2);
        QAccessible::installUpdateHandler(bridge);
        panel->setControlValue(C::TriggerCoupling, 0);
        panel->setControlValue(C::YPositionI, 0);
    }

    void atNormSaysWhichItIs_data() { languages(); }
    void atNormSaysWhichItIs()
    {
        QFETCH(bool, castilian);
        const QMultiHash<QString, Ref> objects = open(castilian);
        QVERIFY(!objects.isEmpty());
        PanelControlWidget *atNorm = osciloscopio->panel->controlWidget(C::AtNorm);
        // A spin button between its two named positions, read as the knobs are: its text says which.
        Heard heard = heardControl(objects, C::AtNorm);
        QCOMPARE(heard.name, QStringLiteral("AT/NORM"));
        QCOMPARE(heard.role, kRoleSpinButton);
        QCOMPARE(heard.text, QStringLiteral("AT"));
        QVERIFY(heard.description.isEmpty());

        // Space presses it in and the text says NORM; an arrow brings it back to AT, as on any spin button.
        atNorm->setFocus();
        QTest::keyClick(atNorm, Qt::Key_Space);
        QTRY_COMPARE(heardControl(objects, C::AtNorm).text, QStringLiteral("NORM"));
        QVERIFY(osciloscopio->panel->scope().isPressed(C::AtNorm));
        QTest::keyClick(atNorm, Qt::Key_Left);
        QTRY_COMPARE(heardControl(objects, C::AtNorm).text, QStringLiteral("AT"));
        QVERIFY(!osciloscopio->panel->scope().isPressed(C::AtNorm));
    }

    void aFineKnobSaysWhetherItIsCalibrated_data() { languages(); }
    void aFineKnobSaysWhetherItIsCalibrated()
    {
        QFETCH(bool, castilian);
        const QMultiHash<QString, Ref> objects = open(castilian);
        QVERIFY(!objects.isEmpty());
        // Named "VOLTS/DIV I CAL", it no longer reads "CAL" again after its name.
        Heard heard = heardControl(objects, C::VoltsCalI);
        QCOMPARE(heard.role, kRoleSpinButton);
        QCOMPARE(heard.text, castilian ? QStringLiteral("calibrado") : QStringLiteral("calibrat"));
        PanelControlWidget *cal = osciloscopio->panel->controlWidget(C::VoltsCalI);
        cal->setFocus();
        QTest::keyClick(cal, Qt::Key_Home);
        QTRY_COMPARE(heardControl(objects, C::VoltsCalI).text,
            castilian ? QStringLiteral("sin calibrar, por 2,5") : QStringLiteral("sense calibrar, per 2,5"));
        QCOMPARE(cal->toolTip(),
            castilian ? QString::fromUtf16(u"VOLTS/DIV I CAL: sin calibrar ×2,5")
                      : QString::fromUtf16(u"VOLTS/DIV I CAL: sense calibrar ×2,5"));
        QTest::keyClick(cal, Qt::Key_End);
        QTRY_COMPARE(heardControl(objects, C::VoltsCalI).text,
            castilian ? QStringLiteral("calibrado") : QStringLiteral("calibrat"));
    }

    void aButtonDoesNotRepeatItsState_data() { languages(); }
    void aButtonDoesNotRepeatItsState()
    {
        QFETCH(bool, castilian);
        const QMultiHash<QString, Ref> objects = open(castilian);
        QVERIFY(!objects.isEmpty());
        const QStringList state = castilian
            ? QStringList { QStringLiteral("pulsado"), QStringLiteral("suelto") }
            : QStringList { QStringLiteral("polsat"), QStringLiteral("solt") };
        for (PanelControlWidget *widget : osciloscopio->panel->controlWidgets()) {
            if (!widget->isButton())
                continue;
            const Heard heard = heardControl(objects, widget->control());
            for (const QString &word : state)
                QVERIFY2(!heard.description.contains(word) && !heard.text.contains(word),
                    qPrintable(widget->label()));
            QVERIFY2(heard.description.isEmpty(), qPrintable(widget->label()));
            // A button only in or out says so by its checked state; one whose positions have names, by
            // its text.
            if (widget->isOnOff())
                QCOMPARE(heard.checked, widget->value() != 0);
            else
                QCOMPARE(heard.text,
                    osciloscopio->panel->scope().spokenValueText(widget->control(), rowLanguage(castilian)));
        }
        // Worked, a plain button's checked state follows it and its description stays empty.
        PanelControlWidget *ground = osciloscopio->panel->controlWidget(C::GroundI);
        ground->setFocus();
        QTest::keyClick(ground, Qt::Key_Space);
        QTRY_VERIFY(heardControl(objects, C::GroundI).checked);
        QVERIFY(heardControl(objects, C::GroundI).description.isEmpty());
        QTest::keyClick(ground, Qt::Key_Space);
        QTRY_VERIFY(!heardControl(objects, C::GroundI).checked);
    }

    void generatorValuesAreHeardInWords_data() { languages(); }
    void generatorValuesAreHeardInWords()
    {
        QFETCH(bool, castilian);
        const QMultiHash<QString, Ref> objects = open(castilian);
        QVERIFY(!objects.isEmpty());
        GeneratorPanel *generator = osciloscopio->generador;
        // Every value box is on the bus by the name of its label, a spin button heard in words.
        // The box, beside the label it shares its name with.
        const auto boxOnTheBus = [&](QDoubleSpinBox *box) {
            for (const Ref &named : objects.values(box->accessibleName())) {
                if (hear(named).role == kRoleSpinButton)
                    return named;
            }
            return Ref();
        };
        for (QDoubleSpinBox *box : generator->findChildren<QDoubleSpinBox *>()) {
            QVERIFY2(!box->accessibleName().isEmpty(), qPrintable(box->objectName()));
            const Ref ref = boxOnTheBus(box);
            QVERIFY2(!ref.service.isEmpty(), qPrintable(box->accessibleName()));
            const Heard heard = hear(ref);
            QCOMPARE(heard.role, kRoleSpinButton);
            QCOMPARE(heard.value, box->value());
            QVERIFY2(!heard.text.contains(box->suffix().trimmed()) || box->suffix().isEmpty(),
                qPrintable(heard.text));
        }
        const auto heardBox = [&](QDoubleSpinBox *box) { return hear(boxOnTheBus(box)).text; };
        QCOMPARE(heardBox(generator->frequency()),
            castilian ? QStringLiteral("1000 hercios") : QStringLiteral("1000 hertzs"));
        QCOMPARE(generator->frequency()->text(), QStringLiteral("1000 Hz"));
        QCOMPARE(heardBox(generator->amplitudeI()),
            castilian ? QStringLiteral("4,00 voltios de pico a pico")
                      : QStringLiteral("4,00 volts de pic a pic"));
        QCOMPARE(heardBox(generator->phaseII()),
            castilian ? QStringLiteral("0 grados") : QStringLiteral("0 graus"));
        QCOMPARE(heardBox(generator->compensation(false)), QStringLiteral("0,80"));

        // Turned with the keys, the words follow; the box shows what it always did.
        QDoubleSpinBox *frequency = generator->frequency();
        frequency->setFocus();
        QTest::keyClick(frequency, Qt::Key_Up);
        QTRY_COMPARE(
            heardBox(frequency), castilian ? QStringLiteral("1100 hercios") : QStringLiteral("1100 hertzs"));
        QCOMPARE(frequency->text(), QStringLiteral("1100 Hz"));
        QDoubleSpinBox *offset = generator->offsetI();
        offset->setFocus();
        QTest::keyClick(offset, Qt::Key_Down);
        QTRY_COMPARE(heardBox(offset),
            castilian ? QStringLiteral("menos 0,10 voltios") : QStringLiteral("menys 0,10 volts"));
        QCOMPARE(offset->text(), QStringLiteral("-0,10 V"));
        // Back where they were; the bridge holds each key until the screen reader has seen it, so the test
        // waits for both to arrive rather than leave them in its hands.
        QTest::keyClick(offset, Qt::Key_Up);
        QTRY_COMPARE(offset->value(), 0.0);
        frequency->setFocus();
        QTest::keyClick(frequency, Qt::Key_Down);
        QTRY_COMPARE(frequency->value(), 1000.0);
    }
};

QTEST_MAIN(TestAtSpi)
#include "tst_atspi.moc"
