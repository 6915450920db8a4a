#include "spiceengine.h"

#include <ngspice/sharedspice.h>

#include <QLibrary>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>

namespace {

/** Debian's libngspice0 installs the library under this name; the development link is not needed. */
constexpr const char *kLibraryName = "ngspice";
constexpr int kLibraryVersion = 0;

/** How long a halted run is given to stop before the library is given up and opened afresh. */
constexpr auto kHaltGrace = std::chrono::seconds(2);

using InitFunction = int (*)(
    SendChar *, SendStat *, ControlledExit *, SendData *, SendInitData *, BGThreadRunning *, void *);
using CommandFunction = int (*)(char *);
using CircFunction = int (*)(char **);
using VecInfoFunction = pvector_info (*)(char *);
using RunningFunction = NG_BOOL (*)();

QByteArray latin(const QString &text)
{
    return text.toUtf8();
}

} // namespace

struct SpiceEngine::Library
{
    /** One run at a time: the library has one circuit. */
    std::mutex runs;

    /** What the callbacks change, from ngspice's threads. */
    std::mutex state;
    std::condition_variable changed;
    bool backgroundRunning = false;
    bool exitAsked = false;
    QStringList errors;
    std::function<void(const QString &)> log;

    QLibrary library;
    bool opened = false;
    QString reason;
    InitFunction init = nullptr;
    CommandFunction command = nullptr;
    CircFunction circ = nullptr;
    VecInfoFunction vecInfo = nullptr;
    RunningFunction running = nullptr;

    static int sendChar(char *text, int, void *self)
    {
        auto *lib = static_cast<Library *>(self);
        const QString line = QString::fromUtf8(text);
        std::lock_guard lock(lib->state);
        // ngspice tags each line with the stream it would have gone to.
        if (line.startsWith(QLatin1String("stderr "))) {
            const QString words = line.mid(7).trimmed();
            if (!words.isEmpty() && lib->errors.size() < 20)
                lib->errors.append(words);
        }
        if (lib->log)
            lib->log(line);
        return 0;
    }
    static int sendStat(char *, int, void *) { return 0; }
    static int controlledExit(int, NG_BOOL, NG_BOOL, int, void *self)
    {
        auto *lib = static_cast<Library *>(self);
        std::lock_guard lock(lib->state);
        lib->exitAsked = true;
        lib->changed.notify_all();
        return 0;
    }
    static int backgroundThread(NG_BOOL notRunning, int, void *self)
    {
        auto *lib = static_cast<Library *>(self);
        std::lock_guard lock(lib->state);
        lib->backgroundRunning = !notRunning;
        lib->changed.notify_all();
        return 0;
    }

    bool open()
    {
        if (opened)
            return true;
        library.setFileNameAndVersion(QString::fromLatin1(kLibraryName), kLibraryVersion);
        if (!library.load()) {
            reason = library.errorString();
            return false;
        }
        init = reinterpret_cast<InitFunction>(library.resolve("ngSpice_Init"));
        command = reinterpret_cast<CommandFunction>(library.resolve("ngSpice_Command"));
        circ = reinterpret_cast<CircFunction>(library.resolve("ngSpice_Circ"));
        vecInfo = reinterpret_cast<VecInfoFunction>(library.resolve("ngGet_Vec_Info"));
        running = reinterpret_cast<RunningFunction>(library.resolve("ngSpice_running"));
        if (!init || !command || !circ || !vecInfo || !running) {
            reason = QStringLiteral("%1: ngSpice_Init, ngSpice_Command, ngSpice_Circ, ngGet_Vec_Info")
                         .arg(library.fileName());
            library.unload();
            return false;
        }
        {
            std::lock_guard lock(state);
            exitAsked = false;
            backgroundRunning = false;
        }
        init(&sendChar, &sendStat, &controlledExit, nullptr, nullptr, &backgroundThread, this);
        opened = true;
        reason.clear();
        return true;
    }

    /** Lets the library go after it asked to end or would not stop: the next run opens it afresh. */
    void close()
    {
        opened = false;
        library.unload();
    }

    void send(const QString &text) { command(latin(text).data()); }
};

SpiceEngine &SpiceEngine::instance()
{
    static SpiceEngine engine;
    return engine;
}

SpiceEngine::SpiceEngine()
    : m_library(new Library)
{
}

SpiceEngine::~SpiceEngine()
{
    // The library's threads may still hold the callbacks' pointer at exit; it stays for the process.
}

bool SpiceEngine::available()
{
    std::lock_guard lock(m_library->runs);
    return m_library->open();
}

QString SpiceEngine::unavailableReason()
{
    std::lock_guard lock(m_library->runs);
    m_library->open();
    return m_library->reason;
}

void SpiceEngine::setLog(std::function<void(const QString &)> log)
{
    std::lock_guard lock(m_library->state);
    m_library->log = std::move(log);
}

QString spiceNumber(double value)
{
    return QString::number(value, 'g', 12);
}

SpiceResult SpiceEngine::run(const SpiceRun &run)
{
    SpiceResult result;
    const auto positive = [](double v) { return v > 0.0 && std::isfinite(v); };
    if (!positive(run.stepSeconds) || !positive(run.stopSeconds) || !positive(run.maxStepSeconds)
        || !(run.startSeconds >= 0.0 && run.startSeconds < run.stopSeconds) || run.nodes.isEmpty()
        || run.stopSeconds / std::min(run.maxStepSeconds, run.stepSeconds) > mostPoints) {
        result.message = QStringLiteral("transient analysis out of bounds");
        return result;
    }

    std::lock_guard runLock(m_library->runs);
    Library &lib = *m_library;
    if (!lib.open()) {
        result.message = lib.reason;
        return result;
    }
    {
        std::lock_guard lock(lib.state);
        lib.errors.clear();
    }

    // The circuit as ngspice takes it: its lines, the analysis, and output at even steps for the table.
    QList<QByteArray> lines;
    for (const QString &line : run.netlist)
        lines.append(latin(line));
    lines.append(".options interp noacct");
    lines.append(latin(QStringLiteral(".tran %1 %2 %3 %4")
                           .arg(spiceNumber(run.stepSeconds), spiceNumber(run.stopSeconds),
                               spiceNumber(run.startSeconds), spiceNumber(run.maxStepSeconds))));
    lines.append(".end");
    std::vector<char *> pointers;
    for (QByteArray &line : lines)
        pointers.push_back(line.data());
    pointers.push_back(nullptr);

    lib.send(QStringLiteral("destroy all"));
    lib.send(QStringLiteral("remcirc"));
    lib.circ(pointers.data());

    bool exited = false;
    {
        std::unique_lock lock(lib.state);
        exited = lib.exitAsked;
    }
    if (!exited) {
        {
            std::lock_guard lock(lib.state);
            lib.backgroundRunning = true;
        }
        lib.send(QStringLiteral("bg_run"));
        std::unique_lock lock(lib.state);
        const auto limit = std::chrono::duration<double>(timeLimitSeconds);
        const bool finished
            = lib.changed.wait_for(lock, limit, [&] { return !lib.backgroundRunning || lib.exitAsked; });
        exited = lib.exitAsked;
        if (!finished) {
            lock.unlock();
            lib.send(QStringLiteral("bg_halt"));
            lock.lock();
            if (!lib.changed.wait_for(lock, kHaltGrace, [&] { return !lib.backgroundRunning; }))
                exited = true;
            result.message = QStringLiteral("the simulation took longer than %1 s and was stopped")
                                 .arg(timeLimitSeconds);
        }
    }
    QStringList errors;
    {
        std::lock_guard lock(lib.state);
        errors = lib.errors;
    }
    if (exited) {
        lib.close();
        if (result.message.isEmpty())
            result.message
                = errors.isEmpty() ? QStringLiteral("ngspice stopped") : errors.join(QLatin1Char('\n'));
        return result;
    }
    if (!result.message.isEmpty())
        return result;

    // ngGet_Vec_Info hands back one shared record: each vector is copied before the next is asked for.
    qsizetype length = -1;
    for (const QString &node : run.nodes) {
        QByteArray name = latin(QStringLiteral("v(%1)").arg(node));
        const pvector_info info = lib.vecInfo(name.data());
        if (!info || !info->v_realdata || info->v_length <= 1 || (length >= 0 && info->v_length != length)) {
            result.volts.clear();
            result.message = errors.isEmpty() ? QStringLiteral("no voltage for node %1").arg(node)
                                              : errors.join(QLatin1Char('\n'));
            return result;
        }
        length = info->v_length;
        result.volts.append(std::vector<double>(info->v_realdata, info->v_realdata + info->v_length));
    }
    result.ok = true;
    return result;
}
