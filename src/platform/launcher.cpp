#include "launcher.h"

#include <QProcess>
#include <QStandardPaths>

namespace Launcher {

const QStringList &calculators()
{
#ifdef Q_OS_WIN
    static const QStringList programs { QStringLiteral("c:\\windows\\calc.exe"), QStringLiteral("calc.exe") };
#else
    static const QStringList programs {
        QStringLiteral("gnome-calculator"),
        QStringLiteral("kcalc"),
        QStringLiteral("galculator"),
        QStringLiteral("mate-calc"),
        QStringLiteral("qalculate-gtk"),
        QStringLiteral("xcalc"),
    };
#endif
    return programs;
}

const QStringList &textEditors()
{
#ifdef Q_OS_WIN
    static const QStringList programs { QStringLiteral("c:\\windows\\notepad.exe"),
        QStringLiteral("notepad.exe") };
#else
    static const QStringList programs {
        QStringLiteral("gedit"),
        QStringLiteral("gnome-text-editor"),
        QStringLiteral("kate"),
        QStringLiteral("kwrite"),
        QStringLiteral("mousepad"),
        QStringLiteral("pluma"),
        QStringLiteral("xed"),
        QStringLiteral("leafpad"),
    };
#endif
    return programs;
}

QString startFirst(const QStringList &programs)
{
    for (const QString &program : programs) {
        const QString path = QStandardPaths::findExecutable(program);
        if (path.isEmpty())
            continue;
        if (QProcess::startDetached(path, {}))
            return program;
    }
    return {};
}

} // namespace Launcher
