#pragma once

#include <QString>

#include <functional>

/**
 * The program's standard error box: modal, titled "Vantela", with the error icon and an OK button.
 * Tests replace the box with a recorder so that nothing waits for a click.
 */
namespace ErrorBox {

/** Shows the box with the given text and waits until it is dismissed. */
void show(const QString &text);

/** The text reported for a data file that is missing or cannot be read. */
QString cannotOpenText(const QString &fileName);

/** Reports a data file that is missing or cannot be read: "Cannot open file X." */
void cannotOpen(const QString &fileName);

/** Replaces the box by a function that receives each text; an empty function restores the box. */
void setRecorder(std::function<void(const QString &)> recorder);

} // namespace ErrorBox
