#include "hm203panel.h"

const Hm203Part *hm203Part(QStringView panelName)
{
    for (const Hm203Part &part : kHm203Parts) {
        if (panelName == QLatin1String(part.panelName))
            return &part;
    }
    return nullptr;
}

QStringList printedPositions(const Hm203Part &part)
{
    const QString positions = QString::fromLatin1(part.positions);
    return positions.isEmpty() ? QStringList() : positions.split(QLatin1Char('|'));
}
