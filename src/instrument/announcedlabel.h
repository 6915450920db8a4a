#pragma once

#include <QLabel>

/**
 * A label that screen readers meet as a notification, named by its text: made to show again with
 * announce(), it is spoken wherever the focus is, as the task strip's goal and verdict and the bench's
 * answers must be while the student works on the panel.
 */
class AnnouncedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit AnnouncedLabel(QWidget *parent = nullptr);

    /** Has screen readers speak the label's text now. */
    void announce();
};
