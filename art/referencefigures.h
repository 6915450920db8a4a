#pragma once

#include "diagrammodel.h"

#include <QImage>

#include <functional>

/** A block diagram of the reference pages and the two files it is written to. */
struct ReferenceDiagram
{
    const char *castilian;
    const char *valencian;
    Diagram (*build)();
};

/** Every block diagram of the reference pages, each sized to the picture control that shows it. */
const QList<ReferenceDiagram> &referenceDiagrams();
