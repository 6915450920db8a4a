#pragma once

#include <QStringList>

/**
 * Runs the program inside an application object that already exists: sets the title and icon,
 * opens the main window, runs the message loop until the main window is closed, then destroys
 * every window the program created. Returns the loop's exit code.
 */
int runProgram();

/**
 * Opens what the command line asks for, once the main window is up: `--lab FILE` opens the virtual
 * oscilloscope running that lab. A lab file with errors is told as the window tells it, and the program goes
 * on at its main window.
 */
void openFromCommandLine(const QStringList &arguments);
