// Ending the program under a real window manager: closing the main window, by "Salir" or by its
// close box, ends the program with exit code 0 whatever else is open, shown or hidden, and also
// while an error box is up. Each case runs the real program in a child process (this executable
// started with --program), which takes one command a line on its standard input; the test watches
// its windows through the window manager. Runs on an X display with a window manager
// (see run-with-wm.sh).
#include "deflectiondemo.h"
#include "form.h"
#include "program.h"
#include "testsupport.h"
#include "tfichaprincipal.h"

#include <QApplication>
#include <QProcess>
#include <QSocketNotifier>
#include <QtTest>

#include <unistd.h>

namespace {

// ---- the program side ---------------------------------------------------------------------

// Commands: "open NAME" triggers the main window's menu item NAME as a click would; "hide"
// closes the active topic window, which hides it. Each answers "ok" once it has run.
void runCommand(const QByteArray &line)
{
    const QList<QByteArray> words = line.trimmed().split(' ');
    if (words.value(0) == "open") {
        fichaprincipal->menuItem(QString::fromLatin1(words.value(1)))->trigger();
    } else if (words.value(0) == "hide") {
        if (Form *form = Form::lastActive(); form && !form->isMainWindow())
            form->close();
    }
    std::fputs("ok\n", stdout);
    std::fflush(stdout);
}

int programMain(int argc, char **argv)
{
    QApplication app(argc, argv);
    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            input.setEnabled(false);
            return;
        }
        pending.append(buffer, count);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            runCommand(line);
        }
    });
    return runProgram();
}

// ---- the test side ------------------------------------------------------------------------

// Runs a command-line tool, giving up after a few seconds so that a request the window manager
// ignores fails the test instead of hanging it.
QByteArray tool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return process.readAllStandardOutput().trimmed();
}

class Program
{
public:
    explicit Program(const QString &folder)
    {
        m_process.setWorkingDirectory(folder);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--program") });
    }
    ~Program()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    bool started() { return m_process.waitForStarted(5000); }
    qint64 pid() const { return m_process.processId(); }
    bool running() const { return m_process.state() == QProcess::Running; }

    void send(const QByteArray &command) { m_process.write(command + '\n'); }
    /** Sends a command and waits until the program has run it. */
    bool run(const QByteArray &command)
    {
        send(command);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 10000) {
            if (m_process.canReadLine() || m_process.waitForReadyRead(200)) {
                if (m_process.readLine().trimmed() == "ok")
                    return true;
            }
        }
        return false;
    }

    /** Waits for the program to end; true when it ended by itself with exit code 0. */
    bool endsCleanly(int milliseconds = 8000)
    {
        return m_process.waitForFinished(milliseconds) && m_process.exitStatus() == QProcess::NormalExit
            && m_process.exitCode() == 0;
    }

    /** The program's visible windows, as the window manager's ids. */
    QStringList visibleWindows(const QString &title = QString()) const
    {
        QStringList arguments { QStringLiteral("search"), QStringLiteral("--all"),
            QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), QString::number(pid()) };
        if (!title.isEmpty())
            arguments << QStringLiteral("--name")
                      << QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
        const QString found = QString::fromLatin1(tool(QStringLiteral("xdotool"), arguments));
        return found.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    bool waitForVisibleWindows(int count, const QString &title = QString()) const
    {
        return QTest::qWaitFor([&] { return visibleWindows(title).size() >= count; }, 20000);
    }

    /** The titles of the program's visible windows, to say what was on screen when a check failed. */
    QString describeWindows() const
    {
        QStringList titles;
        for (const QString &window : visibleWindows())
            titles << QString::fromUtf8(
                tool(QStringLiteral("xdotool"), { QStringLiteral("getwindowname"), window }));
        return titles.join(QStringLiteral(" | "));
    }

private:
    QProcess m_process;
};

/** Presses a window's close box: the window manager asks the window to close. */
void pressCloseBox(const QString &windowId)
{
    tool(QStringLiteral("wmctrl"),
        { QStringLiteral("-i"), QStringLiteral("-c"),
            QStringLiteral("0x") + QString::number(windowId.toULongLong(), 16) });
}

// The windows of several kinds a student may have open: two About boxes, two description
// choosers, the behaviour pair, a virtual oscilloscope, and one About box
// closed again, so hidden.
const QList<QByteArray> kManyWindows = {
    "open About1",
    "hide",
    "open About1",
    "open Descripcindelaparato1",
    "open Descripcindelaparato1",
    "open Composc",
    "open Osciloscopiovirtual1",
};
// The main window, the About box, the two choosers, the behaviour pair and the oscilloscope.
constexpr int kVisibleWithManyWindows = 7;

} // namespace

class TestQuit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void closingTheMainWindowEndsTheProgram_data();
    void closingTheMainWindowEndsTheProgram();
    void closeBoxWaitsForAnErrorBoxThenEndsTheProgram();
    void salirEndsTheProgramWhileAnErrorBoxIsUp();

private:
    void openManyWindows(Program &program);
};

void TestQuit::init()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X display with a window manager");
}

void TestQuit::openManyWindows(Program &program)
{
    QVERIFY(program.started());
    QVERIFY(program.waitForVisibleWindows(1, QStringLiteral("Vantela")));
    for (const QByteArray &command : kManyWindows)
        QVERIFY2(program.run(command), command.constData());
    QVERIFY2(program.waitForVisibleWindows(kVisibleWithManyWindows), qPrintable(program.describeWindows()));
}

void TestQuit::closingTheMainWindowEndsTheProgram_data()
{
    QTest::addColumn<bool>("byCloseBox");
    QTest::newRow("Salir") << false;
    QTest::newRow("close box") << true;
}

void TestQuit::closingTheMainWindowEndsTheProgram()
{
    QFETCH(bool, byCloseBox);
    ScratchAppDir folder;
    Program program(folder.path());
    openManyWindows(program);
    if (QTest::currentTestFailed())
        return;
    if (byCloseBox) {
        const QStringList main = program.visibleWindows(QStringLiteral("Vantela"));
        QCOMPARE(main.size(), 1);
        pressCloseBox(main.first());
    } else {
        program.send("open Salir1");
    }
    QVERIFY(program.endsCleanly());
}

void TestQuit::closeBoxWaitsForAnErrorBoxThenEndsTheProgram()
{
    ScratchAppDir folder;
    QVERIFY(QFile::remove(folder.filePath(DeflectionDemo::leadInFiles().first())));
    Program program(folder.path());
    openManyWindows(program);
    if (QTest::currentTestFailed())
        return;
    const QString mainWindow = program.visibleWindows(QStringLiteral("Vantela")).value(0);
    QVERIFY(!mainWindow.isEmpty());
    // The deflection window cannot read its first frame: the error box comes up over the windows.
    program.send("open ComportamientodelTRC1");
    QVERIFY2(
        program.waitForVisibleWindows(2, QStringLiteral("Vantela")), qPrintable(program.describeWindows()));
    const QStringList titled = program.visibleWindows(QStringLiteral("Vantela"));
    const QString box = titled.value(titled.indexOf(mainWindow) == 0 ? 1 : 0);

    // While the box waits for its answer, the main window's close box does nothing.
    pressCloseBox(mainWindow);
    QTest::qWait(1000);
    QVERIFY(program.running());
    QVERIFY(program.visibleWindows().contains(box));

    // The student answers the box, then closes the main window.
    // (The key goes through the keyboard itself: sent to the box as a synthetic event, its release
    // can be lost, and the key then repeats into whatever window comes next.)
    tool(QStringLiteral("xdotool"),
        { QStringLiteral("windowactivate"), QStringLiteral("--sync"), box, QStringLiteral("key"),
            QStringLiteral("Return") });
    QVERIFY(QTest::qWaitFor([&] { return !program.visibleWindows().contains(box); }, 10000));
    pressCloseBox(mainWindow);
    QVERIFY(program.endsCleanly());
}

void TestQuit::salirEndsTheProgramWhileAnErrorBoxIsUp()
{
    ScratchAppDir folder;
    QVERIFY(QFile::remove(folder.filePath(DeflectionDemo::leadInFiles().first())));
    Program program(folder.path());
    openManyWindows(program);
    if (QTest::currentTestFailed())
        return;
    program.send("open ComportamientodelTRC1");
    QVERIFY2(
        program.waitForVisibleWindows(2, QStringLiteral("Vantela")), qPrintable(program.describeWindows()));
    // The program is told to end while the box's own loop runs: both loops end, the rest of the
    // deflection window's creation runs to its end without another box, and nothing hangs.
    program.send("open Salir1");
    QVERIFY(program.endsCleanly());
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--program") == 0)
        return programMain(argc, argv);
    QApplication app(argc, argv);
    TestQuit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_quit.moc"
