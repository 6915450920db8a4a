#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

/** A number as a netlist gives it to ngspice: plain digits, twelve of them, a point for the decimals. */
QString spiceNumber(double value);

/** One transient analysis for ngspice: a netlist, the stretch of time kept, and the node voltages asked. */
struct SpiceRun
{
    /** The circuit's lines, its title first, without the analysis and without .end. */
    QStringList netlist;
    /** The interval the voltages are kept at, from startSeconds to stopSeconds. */
    double stepSeconds = 0.0;
    double startSeconds = 0.0;
    double stopSeconds = 0.0;
    /** The largest step the solver may take. */
    double maxStepSeconds = 0.0;
    /** The nodes whose voltages are kept (to ground), by name. */
    QStringList nodes;
};

/** What a run gave: each node's voltage at each kept moment, or why there is none. */
struct SpiceResult
{
    bool ok = false;
    /** When not ok, what went wrong: ngspice's own words where it said any. */
    QString message;
    /** One list of voltages per asked node, in the order asked, all at the same moments. */
    QList<std::vector<double>> volts;
};

/**
 * ngspice's shared library, the circuit simulator the bench runs on (the one KiCad embeds). The library
 * keeps one circuit in global state, so there is one engine for the whole program and runs take turns; any
 * thread may ask. The library is opened at first use, and opened afresh after it has asked to end (its
 * exit callback), so that a circuit it cannot survive never ends the program. Each run is bounded in time
 * and in points; what ngspice prints goes to the log, never to the terminal.
 */
class SpiceEngine
{
public:
    static SpiceEngine &instance();

    /** Runs one transient analysis and waits for it (at most timeLimitSeconds). */
    SpiceResult run(const SpiceRun &run);

    /** True when ngspice's library could be opened; otherwise unavailableReason() says why. */
    bool available();
    QString unavailableReason();

    /** Where what ngspice prints goes, a line at a time (from any thread); by default nowhere. */
    void setLog(std::function<void(const QString &line)> log);

    /** How long one run may take before it is halted, and how many points it may ask for. */
    static constexpr double timeLimitSeconds = 5.0;
    static constexpr double mostPoints = 4e5;

    SpiceEngine(const SpiceEngine &) = delete;
    SpiceEngine &operator=(const SpiceEngine &) = delete;

private:
    SpiceEngine();
    ~SpiceEngine();
    struct Library;
    Library *m_library;
};
