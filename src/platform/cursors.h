#pragma once

#include <QCursor>
#include <QString>

/** The application's numbered table of cursors. */
namespace CursorTable {

/** The entry that holds the hand cursor shown over hot-spots. */
inline constexpr int kHand = 19;

/** The entry the detailed tube window loads the same hand into for its part names. */
inline constexpr int kDetailedTubeHand = 20;

/**
 * Loads a cursor file by bare name from the current directory into an entry, replacing what the
 * entry held. A file that is missing or is no sound cursor removes the entry; nothing is reported.
 */
void install(int index, const QString &fileName);

/** Loads "handgrab.cur" into the given entry (the hand cursor's by default). */
void installHandCursor(int index = kHand);

/** Whether the entry holds a cursor. */
bool has(int index);

/** The cursor of an entry; the ordinary arrow for an empty entry. */
QCursor cursor(int index);

} // namespace CursorTable
