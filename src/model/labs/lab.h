#pragma once

#include "hm203tasks.h"
#include "wording.h"

#include <QList>
#include <QString>

/**
 * A lab: a session's worth of tasks for the virtual oscilloscope, with its title and an introduction, as a
 * teacher writes it in a lab file (labfile.h) or as the course ships it.
 */
struct Lab
{
    Wording title;
    /** What the lab is about, shown before its first task. */
    Wording introduction;
    QList<Hm203Task> tasks;
    /** The file it was read from, as the student chose it; empty for the course's own tasks. */
    QString fileName;
};

/** Where a lab the course ships is kept, by its file's name ("ajustes.toml"). */
QString shippedLabPath(const QString &file);

/** The course's own tasks, from the labs it ships, in teaching order: what the strip opens with. */
const Lab &courseLab();
