#include "componenttester.h"

#include "circuitsolver.h"
#include "inputsignal.h"
#include "periodicwave.h"
#include "spiceengine.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <list>
#include <mutex>
#include <numbers>

namespace {

/** The parts the course ships, in the order the panel offers them (files in assets/circuits/componentes/). */
constexpr const char *kShippedParts[] = {
    "r100",
    "r1k",
    "r4k7",
    "r47k",
    "c1u",
    "c10u",
    "l1h",
    "rc_paralelo",
    "d1n4148",
    "d1n4007",
    "zener5v1",
    "led_rojo",
    "npn_be",
    "npn_ce",
};

struct TeacherParts
{
    std::mutex lock;
    /** Kept for the program's life: a part, once offered, can be asked for by its id at any time. */
    std::list<TesterPart> parts;
};

TeacherParts &teacherParts()
{
    static TeacherParts parts;
    return parts;
}

struct KeptFigures
{
    std::mutex lock;
    QHash<QString, TesterSolution> solutions;
};

KeptFigures &kept()
{
    static KeptFigures figures;
    return figures;
}

} // namespace

const QList<TesterPart> &testerParts()
{
    static const QList<TesterPart> parts = [] {
        QList<TesterPart> list;
        for (const char *id : kShippedParts) {
            TesterPartReading reading
                = readTesterPartFile(QStringLiteral(":/circuits/componentes/%1.toml").arg(QLatin1String(id)));
            if (reading.part)
                list << *reading.part;
        }
        return list;
    }();
    return parts;
}

const TesterPart *testerPart(const QString &id)
{
    if (id.isEmpty())
        return nullptr;
    for (const TesterPart &part : testerParts()) {
        if (part.id == id)
            return &part;
    }
    TeacherParts &teacher = teacherParts();
    std::lock_guard guard(teacher.lock);
    for (const TesterPart &part : teacher.parts) {
        if (part.id == id)
            return &part;
    }
    return nullptr;
}

QString addTesterPart(const TesterPart &part)
{
    TesterPart added = part;
    // A teacher's part never takes a shipped part's id, nor another teacher part's.
    QString id = QStringLiteral("propio:") + part.id;
    for (int n = 2; testerPart(id); ++n)
        id = QStringLiteral("propio:%1-%2").arg(part.id).arg(n);
    added.id = id;
    TeacherParts &teacher = teacherParts();
    std::lock_guard guard(teacher.lock);
    teacher.parts.push_back(added);
    return id;
}

TesterSolution solveTester(const TesterPart *part)
{
    // With the socket open no current flows: nothing to simulate.
    if (!part)
        return {};
    const QString key = part->id + QLatin1Char('\n') + part->netlist.join(QLatin1Char('\n'));
    {
        std::lock_guard guard(kept().lock);
        const auto found = kept().solutions.constFind(key);
        if (found != kept().solutions.cend())
            return *found;
    }
    TesterSolution solution;
    const double peak = TesterSource::rmsVolts * std::numbers::sqrt2;
    const QStringList netlist = QStringList { QStringLiteral("* component tester"),
        QStringLiteral("Vtest tester_src 0 SIN(0 %1 %2)").arg(spiceNumber(peak), spiceNumber(Mains::hz)),
        QStringLiteral("Rtest tester_src a %1").arg(spiceNumber(TesterSource::ohms)) }
        + part->netlist;
    const SettledWaves settled
        = settledWaves(netlist, Mains::periodSeconds, { QStringLiteral("tester_src"), QStringLiteral("a") });
    solution.message = settled.message;
    if (settled.ok) {
        // The current through the part is what flows through the tester's own resistance.
        std::vector<double> amps = settled.waves[0]->samples();
        const std::vector<double> &across = settled.waves[1]->samples();
        for (std::size_t i = 0; i < amps.size(); ++i)
            amps[i] = (amps[i] - across[i]) / TesterSource::ohms;
        solution.volts = settled.waves[1];
        solution.amps = std::make_shared<const PeriodicWave>(std::move(amps));
        solution.ok = true;
        std::lock_guard guard(kept().lock);
        kept().solutions.insert(key, solution);
    }
    return solution;
}

Trace testerFigure(const TesterSolution &solution)
{
    const double peakVolts = TesterSource::rmsVolts * std::numbers::sqrt2;
    const double peakAmps = TesterSource::shortCircuitRmsAmps * std::numbers::sqrt2;
    Trace trace;
    trace.kind = TraceKind::XY;
    const auto point = [&](double volts, double amps) {
        return QPointF(
            volts / TesterSource::voltsPerDivision, amps / peakAmps * TesterSource::halfHeightDivisions);
    };
    if (!solution.ok || !solution.volts || !solution.amps) {
        // Nothing in the socket: the source's whole voltage, no current.
        constexpr int samples = 64;
        for (int i = 0; i <= samples; ++i)
            trace.points.append(point(peakVolts * std::sin(2.0 * std::numbers::pi * i / samples), 0.0));
        return trace;
    }
    const std::vector<double> &volts = solution.volts->samples();
    const std::vector<double> &amps = solution.amps->samples();
    trace.points.reserve(qsizetype(volts.size()) + 1);
    for (std::size_t i = 0; i <= volts.size(); ++i)
        trace.points.append(point(volts[i % volts.size()], amps[i % amps.size()]));
    return trace;
}

Trace testerFigure(const QString &partId)
{
    return testerFigure(solveTester(testerPart(partId)));
}
