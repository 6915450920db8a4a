#pragma once

/**
 * Runs the program inside an application object that already exists: sets the title and icon,
 * opens the main window, runs the message loop until the main window is closed, then destroys
 * every window the program created. Returns the loop's exit code.
 */
int runProgram();
