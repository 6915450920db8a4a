#include "artgen.h"
#include "artoutputsupport.h"
#include "curfile.h"
#include "curwriter.h"
#include "evaluationlayout.h"
#include "frontpanellayout.h"
#include "frontpanelpainter.h"
#include "frontpanelspots.h"
#include "hm203.h"
#include "tubepainter.h"
#include "tubeparts.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QtEndian>
#include <QTest>

#include <functional>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint16 u16(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

/** Differs from the bare panel by more than its grain and its light fall-off. */
bool isDrawn(QRgb c)
{
    const QColor face = FrontPanelPainter::faceColour();
    return qAbs(qRed(c) - face.red()) > 24 || qAbs(qGreen(c) - face.green()) > 24
        || qAbs(qBlue(c) - face.blue()) > 24;
}

bool isGrey(QRgb c)
{
    return qAbs(qRed(c) - qGreen(c)) <= 2 && qAbs(qGreen(c) - qBlue(c)) <= 2;
}

double meanGrey(const QImage &image, const QRect &rect)
{
    const QRect r = rect.intersected(image.rect());
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            sum += qGray(image.pixel(x, y));
    return r.isEmpty() ? 0 : sum / (r.width() * r.height());
}

/** The tube drawing is shown stretched into its control in the window. */
QRectF clientToTube(const QRectF &client)
{
    const qreal sx = 536.0 / kTubePictureWidth;
    const qreal sy = 268.0 / kTubePictureHeight;
    return QRectF((client.left() - kTubePictureLeft) * sx, (client.top() - kTubePictureTop) * sy,
        client.width() * sx, client.height() * sy);
}

qreal gapBetween(const QRectF &a, const QRectF &b)
{
    const qreal dx = qMax(0.0, qMax(a.left() - b.right(), b.left() - a.right()));
    const qreal dy = qMax(0.0, qMax(a.top() - b.bottom(), b.top() - a.bottom()));
    return qMax(dx, dy);
}

} // namespace

Q_DECLARE_METATYPE(std::function<void(FrontPanelModel &)>)

class TestArt : public ArtOutputSuite
{
    Q_OBJECT

private slots:
    void initTestCase();

    void bitmapFormat_data();
    void bitmapFormat();
    void glyphTwinIsGrey_data();
    void glyphTwinIsGrey();

    void handCursorReadsBack();
    void cursorWriterRoundTrip_data();
    void cursorWriterRoundTrip();
    void cursorWriterRefuses_data();
    void cursorWriterRefuses();

    void hotSpotLiesOnAControl_data();
    void hotSpotLiesOnAControl();
    void controlStateShowsInPlace_data();
    void controlStateShowsInPlace();
    void everyPartIsOnBothPictures_data();
    void everyPartIsOnBothPictures();

    void tubeLabelSitsByItsPart_data();
    void tubeLabelSitsByItsPart();
    void tubeArrowsPointAtCathodeAndGrid();
    void tubeSpotFollowsDeflection_data();
    void tubeSpotFollowsDeflection();
};

void TestArt::initTestCase()
{
    generate({ generateShellArt, generateDescriptionArt });
}

void TestArt::bitmapFormat_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bits");
    QTest::newRow("icon") << "icon.bmp" << 32 << 32 << 4;
    QTest::newRow("calculator") << "glyph_calc.bmp" << 32 << 16 << 4;
    QTest::newRow("note pad") << "glyph_note.bmp" << 32 << 16 << 4;
    QTest::newRow("emblem") << "emblem.bmp" << 41 << 26 << 24;
    QTest::newRow("close") << "glyph_close.bmp" << 36 << 18 << 24;
    QTest::newRow("ok") << "glyph_ok.bmp" << 36 << 18 << 24;
    QTest::newRow("cancel") << "glyph_cancel.bmp" << 36 << 18 << 24;
    QTest::newRow("case") << "glyph_case.bmp" << 32 << 16 << 24;
    QTest::newRow("front panel") << "frontpanel.bmp" << 535 << 239 << 24;
    QTest::newRow("tube") << "tube.bmp" << 536 << 268 << 24;
}

void TestArt::bitmapFormat()
{
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bits);
    const QByteArray b = readAll(m_out.embedded.filePath(name));
    QVERIFY2(b.size() > 54, qPrintable(name));
    QCOMPARE(b.left(2), QByteArray("BM"));
    QCOMPARE(int(u32(b, 2)), b.size());
    QCOMPARE(int(u32(b, 18)), width);
    QCOMPARE(int(u32(b, 22)), height);
    QCOMPARE(int(u16(b, 28)), bits);
    const QImage image = QImage::fromData(b, "BMP");
    QCOMPARE(image.size(), QSize(width, height));
}

void TestArt::glyphTwinIsGrey_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("calculator") << "glyph_calc.bmp";
    QTest::newRow("note pad") << "glyph_note.bmp";
    QTest::newRow("close") << "glyph_close.bmp";
    QTest::newRow("ok") << "glyph_ok.bmp";
    QTest::newRow("cancel") << "glyph_cancel.bmp";
    QTest::newRow("case") << "glyph_case.bmp";
}

void TestArt::glyphTwinIsGrey()
{
    QFETCH(QString, name);
    const QImage pair(m_out.embedded.filePath(name));
    QVERIFY(!pair.isNull());
    const int half = pair.width() / 2;
    bool normalHasColour = false;
    bool twinHasDetail = false;
    for (int y = 0; y < pair.height(); ++y) {
        for (int x = 0; x < half; ++x) {
            normalHasColour = normalHasColour || !isGrey(pair.pixel(x, y));
            QVERIFY2(isGrey(pair.pixel(half + x, y)), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            twinHasDetail = twinHasDetail || pair.pixel(half + x, y) != pair.pixel(half, pair.height() - 1);
        }
    }
    QVERIFY(normalHasColour);
    QVERIFY(twinHasDetail);
    // Both halves share the button-face background that marks the glyph's transparent colour.
    QCOMPARE(pair.pixel(0, pair.height() - 1), pair.pixel(half, pair.height() - 1));
}

void TestArt::handCursorReadsBack()
{
    const QByteArray b = readAll(m_out.data.filePath(QStringLiteral("handgrab.cur")));
    QVERIFY(b.size() > 22);
    QCOMPARE(u16(b, 2), quint16(2));
    QCOMPARE(u16(b, 4), quint16(1));
    const std::optional<CurFile::Cursor> cursor = CurFile::parse(b);
    QVERIFY(cursor.has_value());
    QCOMPARE(cursor->image.size(), QSize(32, 32));
    // The hot spot is the fingertip: on the hand's outline, with nothing of the hand above it.
    const QPoint hot = cursor->hotSpot;
    const QImage image = cursor->image.convertToFormat(QImage::Format_ARGB32);
    QVERIFY(qAlpha(image.pixel(hot)) > 128 || qAlpha(image.pixel(hot + QPoint(0, 1))) > 128);
    for (int y = 0; y < hot.y(); ++y)
        QCOMPARE(qAlpha(image.pixel(hot.x(), y)), 0);
    int black = 0, white = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) == 255 && qGray(c) < 40)
                ++black;
            if (qAlpha(c) == 255 && qGray(c) > 215)
                ++white;
        }
    }
    QVERIFY2(
        black > 40 && white > 80, qPrintable(QStringLiteral("%1 black, %2 white").arg(black).arg(white)));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(31, 0)), 0);
}

void TestArt::cursorWriterRoundTrip_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("hotSpot");
    QTest::newRow("32-bit 32x32") << 32 << QSize(32, 32) << QPoint(5, 7);
    QTest::newRow("1-bit 32x32") << 1 << QSize(32, 32) << QPoint(31, 31);
    QTest::newRow("1-bit odd width") << 1 << QSize(13, 9) << QPoint(0, 0);
    QTest::newRow("32-bit 48x48") << 32 << QSize(48, 48) << QPoint(24, 2);
}

void TestArt::cursorWriterRoundTrip()
{
    QFETCH(int, bits);
    QFETCH(QSize, size);
    QFETCH(QPoint, hotSpot);
    // A checker of black, white and transparent squares, so every mask and colour bit is exercised.
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int kind = (x / 3 + y / 2) % 3;
            image.setPixel(x, y, kind == 0 ? 0u : kind == 1 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    const QByteArray bytes = encodeCursor(image, hotSpot, bits);
    QVERIFY(!bytes.isEmpty());
    const int colourRow = ((size.width() * bits + 31) / 32) * 4;
    const int maskRow = ((size.width() + 31) / 32) * 4;
    const int palette = bits == 1 ? 8 : 0;
    QCOMPARE(bytes.size(), 6 + 16 + 40 + palette + (colourRow + maskRow) * size.height());
    QCOMPARE(int(u32(bytes, 22 + 8)), 2 * size.height());
    const std::optional<CurFile::Cursor> cursor = CurFile::parse(bytes);
    QVERIFY(cursor.has_value());
    QCOMPARE(cursor->hotSpot, hotSpot);
    const QImage back = cursor->image.convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(back.size(), size);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb want = image.pixel(x, y);
            const QRgb got = back.pixel(x, y);
            QCOMPARE(qAlpha(got), qAlpha(want));
            if (qAlpha(want))
                QCOMPARE(qGray(got), qGray(want));
        }
    }
}

void TestArt::cursorWriterRefuses_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("hotSpot");
    QTest::addColumn<int>("bits");
    QTest::newRow("hot spot right of the picture") << QSize(32, 32) << QPoint(32, 0) << 32;
    QTest::newRow("hot spot above the picture") << QSize(32, 32) << QPoint(3, -1) << 32;
    QTest::newRow("too wide") << QSize(257, 16) << QPoint(0, 0) << 32;
    QTest::newRow("empty") << QSize(0, 0) << QPoint(0, 0) << 32;
    QTest::newRow("4-bit not written") << QSize(32, 32) << QPoint(0, 0) << 4;
}

void TestArt::cursorWriterRefuses()
{
    QFETCH(QSize, size);
    QFETCH(QPoint, hotSpot);
    QFETCH(int, bits);
    QImage image;
    if (!size.isEmpty()) {
        image = QImage(size, QImage::Format_ARGB32);
        image.fill(Qt::black);
    }
    QVERIFY(encodeCursor(image, hotSpot, bits).isEmpty());
    QVERIFY(!writeCursor(image, hotSpot, m_out.data.filePath(QStringLiteral("refused.cur")), bits));
}

void TestArt::hotSpotLiesOnAControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    for (const FrontPanelSpot &spot : kFrontPanelSpots) {
        QTest::newRow(spot.name) << QString::fromLatin1(spot.name)
                                 << QRect(spot.rect.left - kFrontPanelPictureLeft,
                                        spot.rect.top - kFrontPanelPictureTop, spot.rect.width,
                                        spot.rect.height);
    }
}

void TestArt::hotSpotLiesOnAControl()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    static const QImage picture(m_out.embedded.filePath(QStringLiteral("frontpanel.bmp")));
    QCOMPARE(picture.size(), QSize(kFrontPanelPictureWidth, kFrontPanelPictureHeight));
    QVERIFY(picture.rect().contains(rect));
    int drawn = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            drawn += isDrawn(picture.pixel(x, y)) ? 1 : 0;
    const double share = double(drawn) / (rect.width() * rect.height());
    QVERIFY2(share >= 0.35, qPrintable(QStringLiteral("only %1% of %2 is drawn").arg(100 * share).arg(name)));
    // The model names the control after its hot-spot, so later pictures can change its state.
    const FrontPanelModel model = frontPanelLayout();
    QVERIFY(model.control(name) != nullptr || name == QLatin1String("pantalla"));
}

void TestArt::everyPartIsOnBothPictures_data()
{
    QTest::addColumn<QString>("name");
    for (const Hm203Part &part : kHm203Parts)
        QTest::newRow(part.panelName) << QString::fromLatin1(part.panelName);
}

void TestArt::everyPartIsOnBothPictures()
{
    // Both photographs of the front draw every part of the catalogue once, as what it is, with its
    // print, and nothing the catalogue does not know.
    QFETCH(QString, name);
    const Hm203Part *part = hm203Part(name);
    QVERIFY(part);
    for (const FrontPanelModel &picture : { frontPanelLayout(), evaluationPanelLayout() }) {
        QCOMPARE(picture.controls.size(), qsizetype(kHm203Parts.size()));
        QCOMPARE(std::count_if(picture.controls.cbegin(), picture.controls.cend(),
                     [&](const PanelControl &c) { return c.name == name; }),
            1);
        const PanelControl *drawn = picture.control(name);
        QCOMPARE(drawn->kind, part->kind);
        QCOMPARE(drawn->label, QString::fromLatin1(part->printed));
        QVERIFY(QRectF(QPointF(), picture.size).contains(drawn->rect));
    }
    // Whatever the student operates is one of these parts, worked as its kind says.
    for (const Hm203ControlInfo &info : hm203Controls()) {
        if (name != QLatin1String(info.panelName))
            continue;
        const bool button = part->kind == ControlKind::PushButton;
        QCOMPARE(info.style == ControlStyle::Button, button);
    }
}

void TestArt::controlStateShowsInPlace_data()
{
    using Change = std::function<void(FrontPanelModel &)>;
    QTest::addColumn<QString>("name");
    QTest::addColumn<Change>("change");
    QTest::newRow("power pushed in") << "Interruptor" << Change([](FrontPanelModel &m) {
        m.control("Interruptor")->pressed = true;
    });
    QTest::newRow("lamp lit") << "lamp" << Change([](FrontPanelModel &m) { m.control("lamp")->lit = true; });
    QTest::newRow("GD pushed in") << "gd1"
                                  << Change([](FrontPanelModel &m) { m.control("gd1")->pressed = true; });
    QTest::newRow("trigger coupling at its lowest")
        << "trigger" << Change([](FrontPanelModel &m) { m.control("trigger")->position = 4; });
    QTest::newRow("focus turned") << "focus"
                                  << Change([](FrontPanelModel &m) { m.control("focus")->angle += 120; });
    QTest::newRow("time base turned")
        << "time" << Change([](FrontPanelModel &m) { m.control("time")->angle = -90; });
    QTest::newRow("CAL knob turned") << "cal2"
                                     << Change([](FrontPanelModel &m) { m.control("cal2")->angle = -135; });
}

void TestArt::controlStateShowsInPlace()
{
    QFETCH(QString, name);
    QFETCH(std::function<void(FrontPanelModel &)>, change);
    const FrontPanelModel before = frontPanelLayout();
    FrontPanelModel after = before;
    change(after);
    const QImage a = FrontPanelPainter::render(before);
    const QImage b = FrontPanelPainter::render(after);
    const QRect inside = after.control(name)->rect.toAlignedRect();
    // A lamp's glow and a button's shadow reach a little beyond the control itself.
    const QRect near = inside.adjusted(-8, -8, 8, 8);
    int changedInside = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == b.pixel(x, y))
                continue;
            QVERIFY2(near.contains(x, y),
                qPrintable(QStringLiteral("%1 changed at %2,%3").arg(name).arg(x).arg(y)));
            changedInside += inside.contains(x, y) ? 1 : 0;
        }
    }
    QVERIFY2(
        changedInside >= inside.width() * inside.height() / 20, qPrintable(QString::number(changedInside)));
}

void TestArt::tubeLabelSitsByItsPart_data()
{
    QTest::addColumn<QRectF>("label");
    QTest::addColumn<QRectF>("part");
    const TubeLayout t = descriptionTubeLayout();
    // The part each label of the window's table names.
    const QHash<QString, QRectF> parts {
        { "efil", t.filament },
        { "ecat", t.cathode },
        { "erej", t.grid },
        { "Label1", t.anodes() },
        { "eph", t.plates() },
        { "epan", t.screen() },
    };
    QCOMPARE(parts.size(), int(kTubeParts.size()));
    for (const TubePart &label : kTubeParts) {
        QVERIFY(parts.contains(QLatin1String(label.name)));
        QTest::newRow(label.name) << QRectF(label.rect.left, label.rect.top, label.rect.width,
            label.rect.height) << parts.value(QLatin1String(label.name));
    }
}

void TestArt::tubeLabelSitsByItsPart()
{
    QFETCH(QRectF, label);
    QFETCH(QRectF, part);
    static const QImage picture(m_out.embedded.filePath(QStringLiteral("tube.bmp")));
    const QRectF onPicture = clientToTube(label);
    QVERIFY2(gapBetween(onPicture, part) <= 36, qPrintable(QString::number(gapBetween(onPicture, part))));
    // Every part shows some of itself left or right of its label, not hidden under the text.
    QVERIFY(
        part.left() < onPicture.left() || part.right() > onPicture.right() || !part.intersects(onPicture));
    // The label's coloured text needs a light background.
    QVERIFY2(meanGrey(picture, onPicture.toAlignedRect()) >= 200,
        qPrintable(QString::number(meanGrey(picture, onPicture.toAlignedRect()))));
}

void TestArt::tubeArrowsPointAtCathodeAndGrid()
{
    const TubeLayout t = descriptionTubeLayout();
    // The up arrow stands above the cathode's label and points at the cathode.
    const auto &u = kTubeUpArrow.rect;
    const QRectF up = clientToTube(QRectF(u.left, u.top, u.width, u.height));
    QVERIFY(t.cathode.bottom() < up.top());
    QVERIFY(up.top() - t.cathode.bottom() < 14);
    QVERIFY(t.cathode.left() <= up.center().x() && up.center().x() <= t.cathode.right());
    // The down arrow stands below the grid's label and points at the grid.
    const auto &d = kTubeDownArrow.rect;
    const QRectF down = clientToTube(QRectF(d.left, d.top, d.width, d.height));
    QVERIFY(t.grid.top() > down.bottom());
    QVERIFY(t.grid.top() - down.bottom() < 10);
    QVERIFY(t.grid.left() <= down.center().x() && down.center().x() <= t.grid.right());
}

void TestArt::tubeSpotFollowsDeflection_data()
{
    QTest::addColumn<qreal>("vertical");
    QTest::newRow("centre") << 0.0;
    QTest::newRow("up") << 0.8;
    QTest::newRow("down") << -1.0;
}

void TestArt::tubeSpotFollowsDeflection()
{
    QFETCH(qreal, vertical);
    const TubeLayout t = descriptionTubeLayout();
    TubeState state;
    state.verticalDeflection = vertical;
    const QPointF spot = TubePainter::spotPosition(t, state);
    QVERIFY(t.screen().contains(spot));
    QCOMPARE(spot.y() < t.axisY, vertical > 0);
    QVERIFY(qAbs(TubePainter::beamPath(t, state).currentPosition().y() - spot.y()) < 0.01);
    const QImage image = TubePainter::render(t, state);
    const QRgb glow = image.pixel(spot.toPoint());
    QVERIFY2(qGreen(glow) > 200 && qGreen(glow) > qRed(glow) + 10, qPrintable(QString::number(glow, 16)));
}

QTEST_MAIN(TestArt)
#include "tst_art.moc"
