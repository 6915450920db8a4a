#include "controls.h"
#include "curfile.h"
#include "cursors.h"
#include "datafile.h"
#include "errorbox.h"
#include "fonts.h"
#include "form.h"
#include "language.h"
#include "radiogroup.h"
#include "symbolfont.h"
#include "testsupport.h"

#include <QAccessible>
#include <QBuffer>
#include <QFontDatabase>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtEndian>
#include <QtTest>

#include <thread>

namespace {

void put16(QByteArray &b, quint16 v)
{
    b.append(char(v & 0xff)).append(char(v >> 8));
}
void put32(QByteArray &b, quint32 v)
{
    put16(b, quint16(v & 0xffff));
    put16(b, quint16(v >> 16));
}

// A cursor file with one 1-bit 32 x 32 picture: a black square with a transparent frame.
QByteArray monochromeCursor(QPoint hotSpot)
{
    QByteArray image;
    put32(image, 40);
    put32(image, 32);
    put32(image, 64);
    put16(image, 1);
    put16(image, 1);
    for (int i = 0; i < 6; ++i)
        put32(image, 0);
    put32(image, 0x00000000); // palette: black
    put32(image, 0x00ffffff); // white
    for (int y = 0; y < 32; ++y)
        put32(image, 0); // every pixel black
    for (int y = 0; y < 32; ++y) {
        const bool edge = y < 4 || y >= 28;
        // mask bit 1 = transparent; rows are big-endian bit order
        image.append(edge ? QByteArray(4, char(0xff)) : QByteArray::fromHex("f000000f"));
    }
    QByteArray file;
    put16(file, 0);
    put16(file, 2);
    put16(file, 1);
    file.append(char(32)).append(char(32)).append(char(0)).append(char(0));
    put16(file, quint16(hotSpot.x()));
    put16(file, quint16(hotSpot.y()));
    put32(file, quint32(image.size()));
    put32(file, 22);
    return file + image;
}

QByteArray pngCursor()
{
    QImage picture(24, 24, QImage::Format_ARGB32);
    picture.fill(qRgba(255, 0, 0, 255));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    QByteArray file;
    put16(file, 0);
    put16(file, 2);
    put16(file, 1);
    file.append(char(24)).append(char(24)).append(char(0)).append(char(0));
    put16(file, 3);
    put16(file, 5);
    put32(file, quint32(png.size()));
    put32(file, 22);
    return file + png;
}

class CountingForm : public Form
{
public:
    CountingForm()
        : Form(FormDesign { .left = 10, .top = 10, .width = 200, .height = 150, .caption = "test" })
    {
    }
    void FormActivate() override { ++activations; }
    void FormHide() override { ++hides; }
    int activations = 0;
    int hides = 0;
};

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cursorReaderReadsMonochromeBitmap();
    void cursorReaderReadsPng();
    void cursorReaderRefusesDamagedFiles_data();
    void cursorReaderRefusesDamagedFiles();
    void cursorReaderSurvivesEveryTruncationAndMutation();
    void cursorTableFallsBackToArrow();
    void bmpHeadersAreChecked_data();
    void bmpHeadersAreChecked();
    void pictureLoadingReportsMissingAndInvalidFiles();
    void identicalPicturesShareTheirPixels();
    void symbolEncodingMapsGreekAndArrows_data();
    void symbolEncodingMapsGreekAndArrows();
    void errorBoxText();
    void fontConfigurationReadBesideTheFontDatabase();
    void formClientAreaAndCloseHides();
    void activationRunsOnlyWhenAnotherWindowWasActive();
    void panelClickAndCutText();
    void hotSpotExposesItsHint();
    void radioGroupItemsAreExclusiveRadioButtons();
    void languageFollowsItsButtonUntilTheButtonGoes();
};

void TestPlatform::cursorReaderReadsMonochromeBitmap()
{
    const auto cursor = CurFile::parse(monochromeCursor({ 7, 9 }));
    QVERIFY(cursor);
    QCOMPARE(cursor->image.size(), QSize(32, 32));
    QCOMPARE(cursor->hotSpot, QPoint(7, 9));
    QCOMPARE(qAlpha(cursor->image.pixel(1, 1)), 0); // masked frame
    QCOMPARE(cursor->image.pixel(16, 16), qRgb(0, 0, 0)); // opaque black centre
    QCOMPARE(qAlpha(cursor->image.pixel(30, 16)), 0);
}

void TestPlatform::cursorReaderReadsPng()
{
    const auto cursor = CurFile::parse(pngCursor());
    QVERIFY(cursor);
    QCOMPARE(cursor->image.size(), QSize(24, 24));
    QCOMPARE(cursor->hotSpot, QPoint(3, 5));
    QCOMPARE(cursor->image.pixel(10, 10), qRgb(255, 0, 0));
}

void TestPlatform::cursorReaderRefusesDamagedFiles_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray good = monochromeCursor({ 0, 0 });
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << good.left(6);
    QTest::newRow("directory cut") << good.left(15);
    QTest::newRow("image cut") << good.left(good.size() - 100);
    QByteArray wrongType = good;
    wrongType[2] = 7;
    QTest::newRow("not a cursor") << wrongType;
    QByteArray farOffset = good;
    qToLittleEndian<quint32>(0x7fffffff, farOffset.data() + 18);
    QTest::newRow("offset past the end") << farOffset;
    QByteArray hugeWidth = good;
    qToLittleEndian<quint32>(100000, hugeWidth.data() + 22 + 4);
    QTest::newRow("huge picture") << hugeWidth;
    QByteArray badDepth = good;
    qToLittleEndian<quint16>(3, badDepth.data() + 22 + 14);
    QTest::newRow("odd bit depth") << badDepth;
    QTest::newRow("text") << QByteArray("this is not a cursor file at all, just words");
}

void TestPlatform::cursorReaderRefusesDamagedFiles()
{
    QFETCH(QByteArray, data);
    QVERIFY(!CurFile::parse(data));
}

void TestPlatform::cursorReaderSurvivesEveryTruncationAndMutation()
{
    QList<QByteArray> seeds { monochromeCursor({ 3, 3 }), pngCursor() };
    QFile real(QDir(QStringLiteral(VANTELA_APP_DIR)).filePath(QStringLiteral("handgrab.cur")));
    if (real.open(QIODevice::ReadOnly))
        seeds.append(real.readAll());
    QRandomGenerator random(20261208);
    for (const QByteArray &seed : seeds) {
        for (int length = 0; length < seed.size(); length += 3)
            CurFile::parse(seed.left(length));
        for (int round = 0; round < 2000; ++round) {
            QByteArray mutated = seed;
            const int flips = 1 + random.bounded(8);
            for (int i = 0; i < flips; ++i)
                mutated[random.bounded(int(mutated.size()))] = char(random.bounded(256));
            CurFile::parse(mutated);
        }
    }
}

void TestPlatform::cursorTableFallsBackToArrow()
{
    ScratchAppDir dir;
    {
        QFile file(dir.filePath(QStringLiteral("handgrab.cur")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(monochromeCursor({ 5, 6 }));
    }
    CursorTable::installHandCursor();
    QVERIFY(CursorTable::has(CursorTable::kHand));
    QCOMPARE(CursorTable::cursor(CursorTable::kHand).hotSpot(), QPoint(5, 6));

    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("handgrab.cur"))));
    CursorTable::installHandCursor();
    QVERIFY(!CursorTable::has(CursorTable::kHand));
    QCOMPARE(CursorTable::cursor(CursorTable::kHand).shape(), Qt::ArrowCursor);

    QFile garbage(dir.filePath(QStringLiteral("handgrab.cur")));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("garbage");
    garbage.close();
    CursorTable::installHandCursor();
    QVERIFY(!CursorTable::has(CursorTable::kHand));
}

void TestPlatform::bmpHeadersAreChecked_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("sound");
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray good;
    QBuffer buffer(&good);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    QTest::newRow("sound") << good << true;
    QTest::newRow("truncated pixels") << good.left(good.size() - 10) << false;
    QByteArray wide = good;
    qToLittleEndian<qint32>(1 << 20, wide.data() + 18);
    QTest::newRow("huge width") << wide << false;
    QByteArray offset = good;
    qToLittleEndian<quint32>(0xfffffff0u, offset.data() + 10);
    QTest::newRow("pixels past the end") << offset << false;
    QTest::newRow("not a bitmap") << QByteArray("GIF89a.........................") << false;
}

void TestPlatform::bmpHeadersAreChecked()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, sound);
    QCOMPARE(DataFile::checkBmpHeaders(data).isEmpty(), sound);
    if (sound)
        QCOMPARE(DataFile::decodeBmp(data).size(), QSize(7, 5));
}

void TestPlatform::pictureLoadingReportsMissingAndInvalidFiles()
{
    ScratchAppDir dir;
    QStringList reported;
    ErrorBox::setRecorder([&](const QString &text) { reported << text; });
    Picture picture(nullptr, { 0, 0, 10, 10 });
    QVERIFY(!picture.loadFromFile(QStringLiteral("nothere.bmp")));
    QImage green(4, 4, QImage::Format_RGB32);
    green.fill(Qt::green);
    green.save(dir.filePath(QStringLiteral("good.bmp")), "BMP");
    QVERIFY(picture.loadFromFile(QStringLiteral("good.bmp")));
    QFile spoilt(dir.filePath(QStringLiteral("spoilt.bmp")));
    QVERIFY(spoilt.open(QIODevice::WriteOnly));
    spoilt.write("BM this is not really a bitmap");
    spoilt.close();
    QVERIFY(!picture.loadFromFile(QStringLiteral("spoilt.bmp")));
    // the picture shown before a failed load stays
    QCOMPARE(picture.picture().pixel(1, 1), QColor(Qt::green).rgb());
    QCOMPARE(reported,
        QStringList({ QStringLiteral("Cannot open file nothere.bmp."),
            QStringLiteral("The file spoilt.bmp is not a valid bitmap.") }));
    ErrorBox::setRecorder({});
}

void TestPlatform::identicalPicturesShareTheirPixels()
{
    ScratchAppDir dir;
    QImage image(50, 40, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image.save(dir.filePath(QStringLiteral("a.bmp")), "BMP");
    QFile::copy(dir.filePath(QStringLiteral("a.bmp")), dir.filePath(QStringLiteral("b.bmp")));
    const QImage a = *DataFile::loadPicture(QStringLiteral("a.bmp"));
    const QImage b = *DataFile::loadPicture(QStringLiteral("b.bmp"));
    QCOMPARE(a.constBits(), b.constBits());
    // a file changed on disk is read again
    image.fill(Qt::red);
    image.save(dir.filePath(QStringLiteral("b.bmp")), "BMP");
    const QImage changed = *DataFile::loadPicture(QStringLiteral("b.bmp"));
    QCOMPARE(changed.pixel(0, 0), QColor(Qt::red).rgb());
}

void TestPlatform::symbolEncodingMapsGreekAndArrows_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("omega") << int('w') << QStringLiteral("ω");
    QTest::newRow("phi") << int('j') << QStringLiteral("φ");
    QTest::newRow("Omega") << int('W') << QStringLiteral("Ω");
    QTest::newRow("pi") << int('p') << QStringLiteral("π");
    QTest::newRow("up arrow") << 173 << QStringLiteral("↑");
    QTest::newRow("down arrow") << 175 << QStringLiteral("↓");
    QTest::newRow("plus-minus") << 177 << QStringLiteral("±");
    QTest::newRow("digit") << int('5') << QStringLiteral("5");
    QTest::newRow("private use") << 0xF0AD << QStringLiteral("↑");
}

void TestPlatform::symbolEncodingMapsGreekAndArrows()
{
    QFETCH(int, code);
    QFETCH(QString, expected);
    QCOMPARE(SymbolFont::toUnicode(QString(QChar(code))), expected);
}

void TestPlatform::languageFollowsItsButtonUntilTheButtonGoes()
{
    QCOMPARE(ProgramLanguage::current(), Language::Castilian); // no main window
    QSignalSpy told(&ProgramLanguage::instance(), &ProgramLanguage::changed);
    auto *valencia = new QPushButton;
    ProgramLanguage::followButton(valencia);
    QCOMPARE(told.count(), 0);
    valencia->setEnabled(false);
    QCOMPARE(ProgramLanguage::current(), Language::Valencian);
    valencia->setEnabled(false);
    QCOMPARE(told.count(), 1);
    // The main window goes, and with it the Valencian it was in.
    delete valencia;
    QCOMPARE(ProgramLanguage::current(), Language::Castilian);
    QCOMPARE(told.count(), 2);
    QCOMPARE(told.last().at(0).value<Language>(), Language::Castilian);
}

void TestPlatform::errorBoxText()
{
    QCOMPARE(
        ErrorBox::cannotOpenText(QStringLiteral("cat1.bmp")), QStringLiteral("Cannot open file cat1.bmp."));
}

void TestPlatform::fontConfigurationReadBesideTheFontDatabase()
{
    // Start-up reads the configuration on another thread while the toolkit may already ask for
    // fonts: both at once must neither crash nor leave the database without the window faces.
    {
        std::jthread first(Fonts::readConfiguration);
        std::jthread second(Fonts::readConfiguration);
        QVERIFY(!QFontDatabase::families().isEmpty());
    }
    Fonts::readConfiguration();
    QCOMPARE(Fonts::family(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
    QCOMPARE(Fonts::family(QStringLiteral("Symbol")), QStringLiteral("DejaVu Sans"));
    QVERIFY(QFontMetrics(Fonts::standard()).horizontalAdvance(QStringLiteral("Vantela")) > 0);
}

void TestPlatform::formClientAreaAndCloseHides()
{
    CountingForm form;
    QCOMPARE(form.size(), QSize(192, 123));
    form.showWindow();
    QVERIFY(form.isVisible());
    form.close();
    QVERIFY(!form.isVisible());
    QCOMPARE(form.hides, 1);
    // closing a hidden window does nothing more
    form.close();
    QCOMPARE(form.hides, 1);
    QVERIFY(Form::allForms().contains(&form));
}

void TestPlatform::activationRunsOnlyWhenAnotherWindowWasActive()
{
    CountingForm first;
    CountingForm second;
    first.showWindow();
    QCOMPARE(first.activations, 1);
    second.showWindow();
    QCOMPARE(second.activations, 1);

    // the window system activates the first window again
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&first, &activate);
    QCOMPARE(first.activations, 2);

    // the student goes to another program and comes back to the same window
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&first, &deactivate);
    QCoreApplication::sendEvent(&first, &activate);
    QCOMPARE(first.activations, 2);
    QCOMPARE(second.activations, 1);
}

void TestPlatform::panelClickAndCutText()
{
    Panel panel(nullptr, { 0, 0, 60, 20 });
    QSignalSpy spy(&panel, &Panel::clicked);
    panel.setText(QStringLiteral("A text far wider than its little panel"));
    panel.show();
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(30, 10));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(panel.size(), QSize(60, 20)); // panels never resize
    QCOMPARE(panel.accessibleName(), panel.text());
}

void TestPlatform::hotSpotExposesItsHint()
{
    HotSpot spot(nullptr, { 0, 0, 20, 20 }, QStringLiteral("Time/Div"));
    QCOMPARE(spot.toolTip(), QStringLiteral("Time/Div"));
    QCOMPARE(spot.accessibleName(), QStringLiteral("Time/Div"));
    QVERIFY(spot.hasMouseTracking());
    // a screen reader hears a button named by the hint, and can press it
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&spot);
    QVERIFY(face);
    QCOMPARE(face->role(), QAccessible::Button);
    QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Time/Div"));
    QAccessibleActionInterface *actions = face->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QSignalSpy clicks(&spot, &HotSpot::clicked);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks.count(), 1);
}

void TestPlatform::radioGroupItemsAreExclusiveRadioButtons()
{
    QWidget host;
    host.resize(200, 140);
    RadioGroup group(&host, { 10, 10, 180, 120 }, QStringLiteral("Opciones"),
        { QStringLiteral("uno"), QStringLiteral("dos"), QStringLiteral("tres") });
    host.show();
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    QSignalSpy clicks(&group, &RadioGroup::clicked);

    const auto announced = [&](int item) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(group.button(item));
        return face ? std::make_pair(face->role(), face->state().checked != 0)
                    : std::make_pair(QAccessible::NoRole, false);
    };
    for (int i = 0; i < group.count(); ++i) {
        QCOMPARE(announced(i).first, QAccessible::RadioButton);
        QCOMPARE(announced(i).second, false);
        QCOMPARE(QAccessible::queryAccessibleInterface(group.button(i))->text(QAccessible::Name),
            group.items().at(i));
    }

    // by mouse
    QRadioButton *second = group.button(1);
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(6, second->height() / 2));
    QCOMPARE(group.itemIndex(), 1);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(announced(1), std::make_pair(QAccessible::RadioButton, true));
    // a click on the selected item neither clears it nor reports it again
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(6, second->height() / 2));
    QCOMPARE(group.itemIndex(), 1);
    QCOMPARE(clicks.count(), 1);

    // by keyboard: the arrows move the selection, and each move is reported once
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Down);
    QCOMPARE(group.itemIndex(), 2);
    QCOMPARE(clicks.count(), 2);
    QVERIFY(!second->isChecked());
    QCOMPARE(announced(2), std::make_pair(QAccessible::RadioButton, true));
    QCOMPARE(announced(1).second, false);
    QTest::keyClick(group.button(2), Qt::Key_Up);
    QCOMPARE(group.itemIndex(), 1);
    QCOMPARE(clicks.count(), 3);

    // the program clears the selection without reporting it; the items stay radio buttons
    group.setItemIndex(-1);
    QCOMPARE(group.itemIndex(), -1);
    QCOMPARE(clicks.count(), 3);
    for (int i = 0; i < group.count(); ++i)
        QCOMPARE(announced(i), std::make_pair(QAccessible::RadioButton, false));
    // and the student can pick again afterwards, even the item that was selected
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(6, second->height() / 2));
    QCOMPARE(group.itemIndex(), 1);
    QCOMPARE(clicks.count(), 4);
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
