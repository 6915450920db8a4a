// The yardstick for start-up time: a minimal Qt program that shows one empty window.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(637, 52);
    window.show();
    return QApplication::exec();
}
