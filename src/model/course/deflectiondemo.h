#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

/**
 * The spot-deflection demonstration: five choices of plate voltages, the frame files that play
 * each one after a common lead-in, and where the spot stands on every frame. The tube deflects
 * 1 cm for 14 V on the vertical plates and 1 cm for 32 V on the horizontal plates; its screen is
 * 10 cm wide and 8 cm high.
 */
namespace DeflectionDemo {

inline constexpr double verticalVoltsPerCm = 14.0;
inline constexpr double horizontalVoltsPerCm = 32.0;
inline constexpr double screenHalfWidthCm = 5.0;
inline constexpr double screenHalfHeightCm = 4.0;
inline constexpr int frameWidth = 282;
inline constexpr int frameHeight = 114;
inline constexpr int leadInFrameCount = 9;

/** The voltages between the vertical-deflection plates (Pv) and the horizontal-deflection plates (Ph). */
struct PlateVoltages
{
    double vertical = 0.0;
    double horizontal = 0.0;
};

/** One item of the choice list: its text, its voltages, and how its frame files are numbered. */
struct Option
{
    QString text;
    PlateVoltages voltages;
    /** The number of the first case file: "caso" + two digits, counting up from here. */
    int firstFileNumber = 0;
    int frameCount = 0;
};

/** What one frame shows. */
struct Frame
{
    QString fileName;
    /** The choice it belongs to, or -1 for the lead-in. */
    int item = -1;
    /** 1-based position in its sequence. */
    int step = 0;
    /** How far the beam has travelled from the gun towards the screen, 0 to 1. */
    double beamReach = 0.0;
    /** The voltages on the plates while this frame is shown. */
    PlateVoltages voltages;
    /** Where the voltages send the spot, in cm from the centre of the screen, y upwards. */
    QPointF spotCm;
    /** The spot positions of the earlier frames of the same case, oldest first. */
    QList<QPointF> trailCm;
};

/** The five choices in the order of the list. */
const QList<Option> &options();

/** The deflection in cm that a voltage gives with a deflection coefficient in V/cm. */
double deflectionCm(double volts, double voltsPerCm);
/** Where a pair of plate voltages sends the spot, in cm from the centre. */
QPointF spotPosition(const PlateVoltages &voltages);
/** True when the spot lands on the screen face (its edge included). */
bool onScreen(QPointF spotCm);

/** "cat1.bmp" to "cat9.bmp". */
QStringList leadInFiles();
/** The case files of one choice in order of display; empty for an item out of range. */
QStringList caseFiles(int item);
/** All 53 files in the order the window loads them: the lead-in, then the five cases. */
QStringList allFrameFiles();

/** Lead-in frame 1 to 9: the plates uncharged, the beam on its way to the centre of the screen. */
Frame leadInFrame(int step);
/** Case frame 1 to the item's count: the plates charge in equal steps and the spot follows. */
Frame caseFrame(int item, int step);
/** Every frame, in the order of allFrameFiles(). */
QList<Frame> allFrames();

/** The caption of a frame's vertical deflection, e.g. "Pv = 50 V → y = 3,57 cm". */
QString verticalCaption(const Frame &frame);
/** The caption of a frame's horizontal deflection, e.g. "Ph = 80 V → x = 2,50 cm". */
QString horizontalCaption(const Frame &frame);

} // namespace DeflectionDemo
