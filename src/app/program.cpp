#include "program.h"

#include "helpviewer.h"
#include "tfichaprincipal.h"

#include <QApplication>

int runProgram()
{
    // The application's title, for the task bar. No display name is set: the toolkit would add it
    // to every window's title, and each window's title is exactly its own.
    QApplication::setApplicationName(QStringLiteral("Vantela"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/embedded/icon.bmp")));
    // Only closing the main window ends the program; other windows merely hide.
    QApplication::setQuitOnLastWindowClosed(false);

    openWindow(fichaprincipal);
    const int result = QApplication::exec();

    delete HelpViewer::instance();
    Form::destroyAll();
    return result;
}
