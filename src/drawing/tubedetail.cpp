#include "tubedetail.h"

TubeLayout detailedTubeLayout()
{
    // The gun's electrodes line up under the arrows that point at them: those from above end a few
    // pixels over an electrode's top, those from below a few pixels under its bottom. The cathode's
    // arrow is shorter and reaches into the neck, to the sleeve inside the grid.
    TubeLayout t;
    t.size = QSizeF(kTubeDetailWidth, kTubeDetailHeight);
    t.axisY = 106;
    t.neckLeft = 3;
    t.neckRight = 302;
    t.neckHalfHeight = 24;
    t.screenX = 476;
    t.screenHalfHeight = 92;
    t.screenBulge = 17;
    t.base = QRectF(0, 96, 7, 20);
    t.filament = QRectF(9, 101, 27, 10);
    t.cathode = QRectF(34, 100, 42, 12);
    t.grid = QRectF(74, 86, 14, 40);
    t.preAccelerator = QRectF(90, 87, 13, 38);
    t.focusAnode = QRectF(109, 87, 34, 38);
    t.acceleratingAnode = QRectF(149, 87, 24, 38);
    t.horizontalPlates = QRectF(198, 86, 34, 40);
    t.verticalPlates = QRectF(254, 86, 38, 40);
    t.finalAnodeCap = QRectF(336, 62, 13, 7);
    return t;
}

QRectF detailedTubePart(const TubeLayout &t, TubeDetailPart part)
{
    switch (part) {
    case TubeDetailPart::Filament:
        return t.filament;
    case TubeDetailPart::Cathode:
        return t.cathode;
    case TubeDetailPart::Grid:
        return t.grid;
    case TubeDetailPart::PreAccelerator:
        return t.preAccelerator;
    case TubeDetailPart::Focus:
        return t.focusAnode;
    case TubeDetailPart::SecondAnode:
        return t.acceleratingAnode;
    case TubeDetailPart::HorizontalPlates:
        return t.horizontalPlates;
    case TubeDetailPart::VerticalPlates:
        return t.verticalPlates;
    case TubeDetailPart::FinalAccelerator:
        return t.finalAnodeCap;
    case TubeDetailPart::Screen:
        return t.screen();
    }
    return {};
}

QImage renderDetailedTube()
{
    TubeState state;
    state.plateNames = false;
    return TubePainter::render(detailedTubeLayout(), state);
}
