#include "referencefigures.h"

const QList<ReferenceDiagram> &referenceDiagrams()
{
    static const QList<ReferenceDiagram> diagrams = {
        { "dbc.bmp", "dbv.bmp", oscilloscopeDiagram },
        { "evertc.bmp", "evertv.bmp", verticalStageDiagram },
        { "ehoriz.bmp", "ehorizv.bmp", horizontalStageDiagram },
        { "org2c.bmp", "org2v.bmp", triggerOrganisationDiagram },
        { "dbloqc.bmp", "dbloqv.bmp", dualChannelDiagram },
    };
    return diagrams;
}
