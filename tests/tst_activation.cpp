// The activation rule under a real window manager: switching between two windows of the program
// runs the activation handler; coming back from another program to the same window does not.
// Runs on an X display with a window manager (see run-with-wm.sh).
#include "form.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

#include <functional>

namespace {

class CountingForm : public Form
{
public:
    CountingForm(int left, const QString &title)
        : Form(FormDesign { .left = left, .top = 60, .width = 260, .height = 160, .caption = title })
    {
    }
    void FormActivate() override { ++activations; }
    int activations = 0;
};

// Runs xdotool, giving up after a few seconds so that a window manager that ignores a request
// fails the test instead of hanging it.
QByteArray xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return process.readAllStandardOutput().trimmed();
}

void activateByTitle(const QString &title)
{
    QByteArray window;
    QElapsedTimer waited;
    waited.start();
    while (window.isEmpty() && waited.elapsed() < 10000) {
        window = xdotool({ QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$') })
                     .split('\n')
                     .value(0);
        if (window.isEmpty())
            QTest::qWait(50);
    }
    xdotool({ QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::fromLatin1(window) });
}

// Asks the window manager to activate a window until it is, as a student's click would.
bool activate(const QString &title, const std::function<bool()> &isActive)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        activateByTitle(title);
        if (QTest::qWaitFor(isActive, 2000))
            return true;
    }
    return false;
}

} // namespace

class TestActivation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void switchingWindowsRunsTheHandlerReturningFromElsewhereDoesNot();
};

void TestActivation::switchingWindowsRunsTheHandlerReturningFromElsewhereDoesNot()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X display with a window manager");
    CountingForm first(20, QStringLiteral("First window"));
    CountingForm second(320, QStringLiteral("Second window"));
    first.showWindow();
    QVERIFY(activate(QStringLiteral("First window"), [&] { return first.isActiveWindow(); }));
    QCOMPARE(first.activations, 1);
    second.showWindow();
    QVERIFY(activate(QStringLiteral("Second window"), [&] { return second.isActiveWindow(); }));
    QCOMPARE(second.activations, 1);

    QVERIFY(activate(QStringLiteral("First window"), [&] { return first.isActiveWindow(); }));
    QCOMPARE(first.activations, 2);

    // Another program takes the focus, then the student comes back to the same window.
    QProcess other;
    other.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--other-program") });
    QVERIFY(other.waitForStarted());
    QVERIFY(activate(QStringLiteral("Other program"), [&] { return !first.isActiveWindow(); }));
    QVERIFY(activate(QStringLiteral("First window"), [&] { return first.isActiveWindow(); }));
    QCOMPARE(first.activations, 2);
    QCOMPARE(second.activations, 1);
    other.kill();
    other.waitForFinished();
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--other-program") == 0) {
        QApplication app(argc, argv);
        QWidget window;
        window.setWindowTitle(QStringLiteral("Other program"));
        window.setGeometry(200, 300, 200, 100);
        window.show();
        return QApplication::exec();
    }
    QApplication app(argc, argv);
    TestActivation test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_activation.moc"
