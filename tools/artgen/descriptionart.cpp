#include "artgen.h"
#include "bmpwriter.h"
#include "frontpanellayout.h"
#include "frontpanelpainter.h"
#include "tubepainter.h"

void generateDescriptionArt(const ArtOutput &out)
{
    writeBmp(FrontPanelPainter::render(frontPanelLayout()),
        out.embedded.filePath(QStringLiteral("frontpanel.bmp")));
    TubeState tube;
    tube.verticalDeflection = 0.4;
    writeBmp(TubePainter::render(descriptionTubeLayout(), tube),
        out.embedded.filePath(QStringLiteral("tube.bmp")));
}
