// The activation rule under a real window manager: switching between two windows of the program
// runs the activation handler; coming back from another program to the same window does not.
// Runs on an X display with a window manager (see run-with-wm.sh).
#include "form.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

namespace {

class CountingForm : public Form
{
public:
    CountingForm(int left, const QString &title)
        : Form(FormDesign{.left = left, .top = 60, .width = 260, .height = 160, .caption = title})
    {
    }
    void FormActivate() override { ++activations; }
    int activations = 0;
};

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

void activateByTitle(const QString &title)
{
    xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
             QStringLiteral("--name"), QLatin1Char('^') + title, QStringLiteral("windowactivate"),
             QStringLiteral("--sync")});
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
    activateByTitle(QStringLiteral("First window"));
    QTRY_VERIFY(first.isActiveWindow());
    QCOMPARE(first.activations, 1);
    second.showWindow();
    activateByTitle(QStringLiteral("Second window"));
    QTRY_VERIFY(second.isActiveWindow());
    QCOMPARE(second.activations, 1);

    activateByTitle(QStringLiteral("First window"));
    QTRY_VERIFY(first.isActiveWindow());
    QCOMPARE(first.activations, 2);

    // Another program takes the focus, then the student comes back to the same window.
    QProcess other;
    other.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--other-program")});
    QVERIFY(other.waitForStarted());
    activateByTitle(QStringLiteral("Other program"));
    QTRY_VERIFY(!first.isActiveWindow());
    activateByTitle(QStringLiteral("First window"));
    QTRY_VERIFY(first.isActiveWindow());
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
