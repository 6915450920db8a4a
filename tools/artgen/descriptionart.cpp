#include "artgen.h"
#include "bmpwriter.h"
#include "embeddedpictures.h"
#include "frontpanellayout.h"
#include "frontpanelpainter.h"
#include "tubepainter.h"

void generateDescriptionArt(const ArtOutput &out)
{
    writeBmp(FrontPanelPainter::render(frontPanelLayout()),
        out.embedded.filePath(QLatin1String(EmbeddedPictures::frontPanel)));
    TubeState tube;
    tube.verticalDeflection = 0.4;
    writeBmp(TubePainter::render(descriptionTubeLayout(), tube),
        out.embedded.filePath(QLatin1String(EmbeddedPictures::tube)));
}
