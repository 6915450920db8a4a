#include "artgen.h"
#include "behaviourcases.h"
#include "bmpwriter.h"
#include "deflectiondemo.h"
#include "deflectionpainter.h"
#include "screenpainter.h"

#include <cstdio>

namespace {

/** The size of the behaviour window's screen picture, shown unstretched. */
const QSize kCaseScreenSize(193, 161);

void write(const QImage &image, const QDir &dir, const QString &name)
{
    if (!writeBmp(image, dir.filePath(name), 24))
        std::fprintf(stderr, "vantela_artgen: cannot write %s\n", qPrintable(name));
}

void generateCaseScreens(const ArtOutput &out)
{
    ScreenOptions options;
    options.scaleLegend = true;
    for (const BehaviourCase &row : behaviourCases())
        write(ScreenPainter::render(row.settings, kCaseScreenSize, options), out.data, row.fileName);
    // The resting screen has no signal to measure, so its scale line stays empty.
    options.legendText = QStringLiteral(" ");
    write(ScreenPainter::render(restingScreen().settings, kCaseScreenSize, options), out.data,
        restingScreen().fileName);
}

void generateDeflectionFrames(const ArtOutput &out)
{
    const QSize size(DeflectionDemo::frameWidth, DeflectionDemo::frameHeight);
    for (const DeflectionDemo::Frame &frame : DeflectionDemo::allFrames())
        write(DeflectionPainter::render(frame, size), out.data, frame.fileName);
}

} // namespace

void generateDemoArt(const ArtOutput &out)
{
    generateCaseScreens(out);
    generateDeflectionFrames(out);
}
