#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include "phosphorlit.h"
#include "wording.h"

/** The language of a test row's "castilian" column. */
inline Language rowLanguage(bool castilian)
{
    return castilian ? Language::Castilian : Language::Valencian;
}

/**
 * A scratch copy of the runnable folder made the current directory for one test suite, so that
 * data files are read by bare name exactly as the program reads them and a test may remove or
 * spoil a file without touching the build.
 */
class ScratchAppDir
{
public:
    ScratchAppDir()
    {
        const QDir source(QStringLiteral(VANTELA_APP_DIR));
        for (const QString &name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), m_dir.filePath(name));
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    ~ScratchAppDir() { QDir::setCurrent(m_previous); }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    /** Puts back one file from the runnable folder. */
    void restore(const QString &name) const
    {
        QFile::remove(filePath(name));
        QFile::copy(QDir(QStringLiteral(VANTELA_APP_DIR)).filePath(name), filePath(name));
    }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

/**
 * Saves a picture of a window to $VANTELA_GRAB_DIR/<name>.png when that variable is set, so that
 * anyone can look at what the tests drove. Does nothing otherwise.
 */
inline void saveGrab(QWidget *window, const QString &name)
{
    const QString dir = qEnvironmentVariable("VANTELA_GRAB_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    window->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}
