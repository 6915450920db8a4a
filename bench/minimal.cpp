// The yardstick for start-up time: a minimal Qt program that shows one empty window. With --text
// the window shows one line of text, which shows what laying out any text costs at start-up.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bool withText = QApplication::arguments().contains(QStringLiteral("--text"));
    QWidget window;
    window.setWindowTitle(withText ? QStringLiteral("Minimal text") : QStringLiteral("Minimal"));
    window.resize(637, 52);
    if (withText)
        (new QLabel(QStringLiteral("Práctica  Vantela  Ejercicios  Autoevaluación"), &window))->move(8, 8);
    window.show();
    return QApplication::exec();
}
