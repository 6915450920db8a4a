#pragma once

#include "hm203tasks.h"

#include <optional>

/**
 * The goals of the task strip, each a generator to start from and a judge of the instrument, kept in two
 * files by what they ask: a setting the screen must show (settingtasks.cpp) or a value to measure off it
 * (measuringtasks.cpp), and two by what they are about: the probe and the amplifier (benchtasks.cpp), the
 * trigger (triggertasks.cpp). Some first ask what the screen will show after a change, then let the student
 * make it and look (predicttasks.cpp). The strip's table in hm203tasks.cpp puts them in teaching order.
 */
namespace TaskGoals {

// Settings the screen must show. A task that measures nothing ignores the answer, and one with nothing
// hidden, the draw.
void prepareTimeBase(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeTimeBase(const Hm203 &scope, std::optional<double> answer);
void prepareTwoPeriods(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeTwoPeriods(const Hm203 &scope, std::optional<double> answer);
void prepareBottomLine(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeBottomLine(const Hm203 &scope, std::optional<double> answer);
void prepareFallingStart(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeFallingStart(const Hm203 &scope, std::optional<double> answer);
void prepareAcCoupling(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeAcCoupling(const Hm203 &scope, std::optional<double> answer);
void prepareCalibrator(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeCalibrator(const Hm203 &scope, std::optional<double> answer);
void prepareDual(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeDual(const Hm203 &scope, std::optional<double> answer);
void prepareDifference(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeDifference(const Hm203 &scope, std::optional<double> answer);

// Values to measure off the screen.
void prepareDcLevel(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeDcLevel(const Hm203 &scope, std::optional<double> answer);
void preparePeakToPeak(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgePeakToPeak(const Hm203 &scope, std::optional<double> answer);
void preparePeriod(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgePeriod(const Hm203 &scope, std::optional<double> answer);
void prepareFrequency(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeFrequency(const Hm203 &scope, std::optional<double> answer);
void preparePhaseXY(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgePhaseXY(const Hm203 &scope, std::optional<double> answer);
void prepareRcLead(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeRcLead(const Hm203 &scope, std::optional<double> answer);

// The probe and the vertical amplifier: what they do to the signal on its way to the screen
// (benchtasks.cpp).
void prepareCompensation(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeCompensation(const Hm203 &scope, std::optional<double> answer);
void prepareProbeVoltage(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeProbeVoltage(const Hm203 &scope, std::optional<double> answer);
void prepareRiseTime(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeRiseTime(const Hm203 &scope, std::optional<double> answer);
void prepareBandwidth(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeBandwidth(const Hm203 &scope, std::optional<double> answer);

// The trigger with signals that are not clean and regular (triggertasks.cpp).
void prepareHum(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeHum(const Hm203 &scope, std::optional<double> answer);
void prepareNoise(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeNoise(const Hm203 &scope, std::optional<double> answer);
void prepareBurst(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeBurst(const Hm203 &scope, std::optional<double> answer);
void prepareSmallSignal(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgeSmallSignal(const Hm203 &scope, std::optional<double> answer);

// Predict, then look: a question on what one change will show, asked before the student may make it,
// then the change made and judged; the met verdict says why the screen looks so (predicttasks.cpp).
void preparePredictSweep(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgePredictSweep(const Hm203 &scope, std::optional<double> answer);
const TaskPrediction *sweepPrediction();
void preparePredictSensitivity(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgePredictSensitivity(const Hm203 &scope, std::optional<double> answer);
const TaskPrediction *sensitivityPrediction();
void preparePredictAc(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgePredictAc(const Hm203 &scope, std::optional<double> answer);
const TaskPrediction *acPrediction();
void preparePredictXY(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgePredictXY(const Hm203 &scope, std::optional<double> answer);
const TaskPrediction *xyPrediction();
void preparePredictProbe(GeneratorSettings &generator, quint32 draw);
TaskVerdict judgePredictProbe(const Hm203 &scope, std::optional<double> answer);
const TaskPrediction *probePrediction();

} // namespace TaskGoals
