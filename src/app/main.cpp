#include "fonts.h"
#include "program.h"

#include <QApplication>

#include <thread>

int main(int argc, char **argv)
{
    // The font configuration is read on another core while this one connects to the display.
    std::jthread fonts(Fonts::readConfiguration);
    QApplication app(argc, argv);
    fonts.join();
    return runProgram();
}
