#pragma once

#include "controls.h"

#include <QHash>
#include <QImage>
#include <QString>

/**
 * An embedded picture, decoded at its first use and shared from then on by every window that
 * shows it, so that opening another exercise window decodes nothing and holds no second copy.
 */
inline QImage sharedEmbeddedPicture(const QString &name)
{
    static QHash<QString, QImage> decoded;
    auto found = decoded.constFind(name);
    if (found == decoded.constEnd())
        found = decoded.insert(name, embeddedPicture(name));
    return *found;
}
