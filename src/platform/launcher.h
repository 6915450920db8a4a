#pragma once

#include <QString>
#include <QStringList>

/** Starts the desktop's tool programs, detached, without waiting and without reporting failures. */
namespace Launcher {

/** Desktop calculators, in order of preference. */
const QStringList &calculators();
/** Desktop text editors, in order of preference. */
const QStringList &textEditors();

/**
 * Starts the first of the programs found on the search path. Returns at once; returns the program
 * started, or an empty text when none could be.
 */
QString startFirst(const QStringList &programs);

} // namespace Launcher
