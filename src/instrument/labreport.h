#pragma once

#include "lab.h"
#include "taskrecord.h"
#include "wording.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

/** Who hands the report in, as typed in the report's dialog. */
struct ReportAuthor
{
    QString name;
    /** The class group; may be empty. */
    QString group;
};

/**
 * The report a student hands in after a lab: an A4 PDF with the lab's title, the date, who did it, and for
 * each task they opened its goal, whether it was met, the readings typed with their verdicts, the
 * predictions chosen, and the screen at the moment a measurement was met. Drawn with Qt's own PDF writer,
 * in memory; the window decides where the bytes go.
 */
namespace LabReport {

/** The longest name and group the dialog takes, in characters: a full name, and a group's code. */
inline constexpr qsizetype maximumName = 60;
inline constexpr qsizetype maximumGroup = 30;

/**
 * A text the student typed, safe to draw as one line: control characters and line breaks become blanks,
 * blanks are trimmed and run together, and at most length characters are kept (never half a character).
 */
QString cleaned(const QString &typed, qsizetype length);

/** The report's PDF bytes, in a language, for the tasks of a lab as the strip recorded them. */
QByteArray pdf(const Lab &lab, const QList<TaskRecord> &records, const ReportAuthor &author, QDate date,
    Language language);

} // namespace LabReport
