#pragma once

#include <QFrame>

/**
 * A sunken box round one part of the bench (the note, the generator, the task strip). Screen readers meet
 * it as a named grouping: a plain frame reaches AT-SPI with a window's role, and Orca then takes the box
 * for an inactive window and drops the focus events of the controls inside it.
 */
class BenchBox : public QFrame
{
    Q_OBJECT

public:
    BenchBox(QWidget *parent, const QRect &area, const QString &name);
};
