// Every data file the program reads, missing, cut short or replaced by garbage in turn: the
// standard error box names exactly that file, the windows are still created and shown, and the
// program goes on. Which files there are is learnt from the windows themselves: each menu command
// is run and its windows clicked through while the data-file loader reports what is asked for.
#include "datafile.h"
#include "errorbox.h"
#include "studentdriver.h"
#include "testsupport.h"

#include <QRandomGenerator>

namespace {

enum class Spoil { Missing, Truncated, Garbage };

/** What the student is told when a file is spoilt so; empty when nothing is to be said. */
QString expectedMessage(const QString &file, Spoil spoil)
{
    // A cursor file that cannot be read leaves the ordinary pointer, and nothing is said.
    if (file.endsWith(QLatin1String(".cur")))
        return {};
    if (spoil == Spoil::Missing)
        return ErrorBox::cannotOpenText(file);
    if (file.endsWith(QLatin1String(".bmp")))
        return DataFile::invalidPictureText(file);
    return spoil == Spoil::Truncated ? DataFile::damagedRichTextText(file)
                                     : DataFile::invalidRichTextText(file);
}

} // namespace

class TestDataFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void everyFileIsReadByACommand();
    void spoiltFilesAreReportedByName_data();
    void spoiltFilesAreReportedByName();

private:
    ScratchAppDir m_folder;
    QStringList m_reported;
    QStringList m_read;
    /** Each data file, and the first command whose windows read it, in which language. */
    QMap<QString, std::pair<QString, bool>> m_readBy;
};

void TestDataFiles::initTestCase()
{
    ErrorBox::setRecorder([this](const QString &text) { m_reported << text; });
    DataFile::setReadObserver([this](const QString &file) { m_read << file; });
    openWindow(fichaprincipal);
    for (const bool valencian : { false, true }) {
        StudentDriver::setLanguage(valencian);
        for (const QString &command : StudentDriver::windowCommands()) {
            m_read.clear();
            StudentDriver::destroy(StudentDriver::run(command));
            for (const QString &file : std::as_const(m_read))
                if (!m_readBy.contains(file))
                    m_readBy.insert(file, { command, valencian });
        }
    }
    QVERIFY2(m_reported.isEmpty(), qPrintable(m_reported.join(QLatin1Char('\n'))));
}

void TestDataFiles::cleanupTestCase()
{
    DataFile::setReadObserver({});
    ErrorBox::setRecorder({});
    Form::destroyAll();
}

void TestDataFiles::everyFileIsReadByACommand()
{
    // Every data file laid out beside the program is read by some window, and every file a window
    // asks for is there.
    QStringList laidOut
        = QDir(m_folder.path())
              .entryList(
                  { QStringLiteral("*.bmp"), QStringLiteral("*.rtf"), QStringLiteral("*.cur") }, QDir::Files);
    QStringList read = m_readBy.keys();
    laidOut.sort();
    read.sort();
    for (const QString &file : std::as_const(read))
        QVERIFY2(laidOut.contains(file), qPrintable(file + QStringLiteral(" is read but not laid out")));
    for (const QString &file : std::as_const(laidOut))
        QVERIFY2(read.contains(file), qPrintable(file + QStringLiteral(" is laid out but never read")));
    QVERIFY(read.size() > 100);
}

void TestDataFiles::spoiltFilesAreReportedByName_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("valencian");
    QTest::addColumn<int>("spoil");
    for (auto it = m_readBy.cbegin(); it != m_readBy.cend(); ++it) {
        const auto &[command, valencian] = it.value();
        const QByteArray name = it.key().toUtf8();
        QTest::addRow("%s missing", name.constData())
            << it.key() << command << valencian << int(Spoil::Missing);
        QTest::addRow("%s truncated", name.constData())
            << it.key() << command << valencian << int(Spoil::Truncated);
        QTest::addRow("%s garbage", name.constData())
            << it.key() << command << valencian << int(Spoil::Garbage);
    }
}

void TestDataFiles::spoiltFilesAreReportedByName()
{
    QFETCH(QString, file);
    QFETCH(QString, command);
    QFETCH(bool, valencian);
    QFETCH(int, spoil);
    StudentDriver::setLanguage(valencian);
    const QString path = m_folder.filePath(file);
    QFile original(path);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();
    QVERIFY(QFile::remove(path));
    if (spoil != int(Spoil::Missing)) {
        QByteArray spoilt = bytes.left(bytes.size() / 2);
        if (spoil == int(Spoil::Garbage)) {
            spoilt.resize(bytes.size());
            QRandomGenerator random(qHash(file));
            for (char &c : spoilt)
                c = char(random.bounded(256));
        }
        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(spoilt);
    }

    m_reported.clear();
    const QList<Form *> windows = StudentDriver::run(command);
    m_folder.restore(file);
    // The windows were created and shown, whatever they could not read.
    QVERIFY(!windows.isEmpty());
    const QString expected = expectedMessage(file, Spoil(spoil));
    if (expected.isEmpty()) {
        QVERIFY2(m_reported.isEmpty(), qPrintable(m_reported.join(QLatin1Char('\n'))));
    } else {
        QVERIFY2(!m_reported.isEmpty(), "nothing was reported");
        for (const QString &message : std::as_const(m_reported))
            QCOMPARE(message, expected);
    }
    StudentDriver::destroy(windows);
    QVERIFY(fichaprincipal);
}

QTEST_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
