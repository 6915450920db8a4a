#include "artgen.h"
#include "bmpwriter.h"
#include "diagrammodel.h"
#include "diagrampainter.h"
#include "embeddedpictures.h"
#include "referencefigures.h"
#include "tubedetail.h"

#include <cstdio>
#include <functional>

namespace {

void write(const QImage &image, const QDir &dir, const QString &name)
{
    if (!writeBmp(image, dir.filePath(name), 24))
        std::fprintf(stderr, "vantela_artgen: cannot write %s\n", qPrintable(name));
}

/** Writes a picture that has words in both languages under its two file names. */
void writeBoth(const std::function<QImage(Language)> &draw, const QDir &dir, const char *castilian,
    const char *valencian)
{
    write(draw(Language::Castilian), dir, QLatin1String(castilian));
    write(draw(Language::Valencian), dir, QLatin1String(valencian));
}

} // namespace

void generateReferenceArt(const ArtOutput &out)
{
    for (const ReferenceDiagram &d : referenceDiagrams()) {
        const Diagram diagram = d.build();
        writeBoth([&diagram](Language l) { return DiagramPainter::render(diagram, l); }, out.data,
            d.castilian, d.valencian);
    }
    write(renderAttenuatorCircuit(), out.data, QStringLiteral("circui.bmp"));
    writeBoth(renderSweepFigure, out.data, "barridoc.bmp", "barridov.bmp");
    writeBoth(renderAlternateFigure, out.data, "fig23.bmp", "fig23v.bmp");
    writeBoth(renderChoppedFigure, out.data, "fig22.bmp", "fig22v.bmp");
    for (const PanelView &view : panelViews())
        write(renderPanelView(view), out.data, QLatin1String(view.file));
    write(renderDetailedTube(), out.embedded, QLatin1String(EmbeddedPictures::tubeDetail));
}
