#include "cursors.h"

#include "curfile.h"
#include "datafile.h"

#include <QHash>
#include <QPixmap>

namespace {
QHash<int, QCursor> &entries()
{
    static QHash<int, QCursor> table;
    return table;
}
} // namespace

namespace CursorTable {

void install(int index, const QString &fileName)
{
    entries().remove(index);
    const std::optional<QByteArray> data = DataFile::read(fileName);
    if (!data)
        return;
    const std::optional<CurFile::Cursor> parsed = CurFile::parse(*data);
    if (!parsed)
        return;
    entries().insert(
        index, QCursor(QPixmap::fromImage(parsed->image), parsed->hotSpot.x(), parsed->hotSpot.y()));
}

void installHandCursor(int index)
{
    install(index, QStringLiteral("handgrab.cur"));
}

bool has(int index)
{
    return entries().contains(index);
}

QCursor cursor(int index)
{
    return entries().value(index, QCursor(Qt::ArrowCursor));
}

} // namespace CursorTable
