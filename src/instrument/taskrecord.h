#pragma once

#include <QImage>
#include <QList>
#include <QString>

/**
 * What a student did on one task of the strip, kept in memory while the window is open so that a report
 * can be written if they ask for one; nothing of it is kept between runs. The texts are in the language
 * the strip speaks, as the student read them.
 */
struct TaskRecord
{
    /** A value typed for a measuring task, with the verdict it got then (which names the slip, if any). */
    struct Reading
    {
        QString typed;
        QString verdict;
        bool met = false;
    };
    /** A choice confirmed for a question, and whether it pictured the screen rightly. */
    struct Prediction
    {
        QString choice;
        bool correct = false;
    };

    /** Whether the student opened the task. */
    bool tried = false;
    /** Whether the task was met at some moment. */
    bool met = false;
    QList<Reading> readings;
    QList<Prediction> predictions;
    /** For a measuring task, the tube face at the moment it was last met with a reading; null otherwise. */
    QImage screen;
};
