#pragma once

#include "artgen.h"

#include <QDir>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>

#include <initializer_list>

/**
 * What every suite of the picture generator shares: the generator's two output folders, the data
 * files and the embedded pictures, in a scratch folder of the suite's own. The suite fills them
 * once, in initTestCase, with the generators it checks; every test then reads back the files that
 * one run wrote, as the build writes them, without touching the build's own folders.
 */
class ArtOutputSuite : public QObject
{
protected:
    using Generator = void (*)(const ArtOutput &);

    /**
     * Makes the two folders and runs the generators into them, in the given order. When a folder
     * cannot be made the calling test fails and nothing is generated.
     */
    void generate(std::initializer_list<Generator> generators)
    {
        QVERIFY(m_dir.isValid());
        QDir root(m_dir.path());
        QVERIFY(root.mkpath(QStringLiteral("data")));
        QVERIFY(root.mkpath(QStringLiteral("embedded")));
        m_out = ArtOutput { QDir(root.filePath(QStringLiteral("data"))),
            QDir(root.filePath(QStringLiteral("embedded"))) };
        for (Generator generator : generators)
            generator(m_out);
    }

    QTemporaryDir m_dir;
    ArtOutput m_out;
};
