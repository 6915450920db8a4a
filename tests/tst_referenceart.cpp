#include "artgen.h"
#include "artoutputsupport.h"
#include "diagrammodel.h"
#include "diagrampainter.h"
#include "referencefigures.h"
#include "tubedetail.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>

namespace {

/** Saves a picture to $VANTELA_GRAB_DIR/<name>.png when that variable is set. */
void saveForViewing(const QImage &image, const QString &name)
{
    const QString dir = qEnvironmentVariable("VANTELA_GRAB_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    image.save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

QString languageName(Language language)
{
    return language == Language::Castilian ? QStringLiteral("castilian") : QStringLiteral("valencian");
}

bool onBorder(const QRectF &r, QPointF p)
{
    const qreal e = 0.01;
    const bool inX = p.x() >= r.left() - e && p.x() <= r.right() + e;
    const bool inY = p.y() >= r.top() - e && p.y() <= r.bottom() + e;
    return (inX && (qAbs(p.y() - r.top()) < e || qAbs(p.y() - r.bottom()) < e))
        || (inY && (qAbs(p.x() - r.left()) < e || qAbs(p.x() - r.right()) < e));
}

/** Whether a horizontal or vertical run passes through the inside of a rectangle. */
bool runCrosses(QPointF a, QPointF b, const QRectF &r)
{
    const QRectF inside = r.adjusted(1, 1, -1, -1);
    const QRectF run = QRectF(a, b).normalized().adjusted(-0.01, -0.01, 0.01, 0.01);
    return run.intersects(inside);
}

/** The rectangle of the window's client area a place covers, moved into the picture's coordinates. */
QRectF onPicture(const TubeDetailPlace &place)
{
    return QRectF(
        place.left - kTubeDetailPictureLeft, place.top - kTubeDetailPictureTop, place.width, place.height);
}

/** Where an arrow character's point falls, in the picture's coordinates, for the face the window shows it in.
 */
QPointF arrowTip(const TubeDetailPlace &place)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(place.characterHeight);
    font.setBold(true);
    const QFontMetricsF fm(font);
    const QChar glyph = place.arrow == TubeDetailPlace::Arrow::Up ? QChar(0x2191) : QChar(0x2193);
    const QRectF ink = fm.tightBoundingRect(QString(glyph));
    const QRectF label = onPicture(place);
    const qreal baseline = label.top() + fm.ascent();
    return QPointF(label.center().x(),
        place.arrow == TubeDetailPlace::Arrow::Up ? baseline + ink.top() : baseline + ink.bottom());
}

qreal gapBetween(const QRectF &a, const QRectF &b)
{
    const qreal dx = qMax(0.0, qMax(a.left() - b.right(), b.left() - a.right()));
    const qreal dy = qMax(0.0, qMax(a.top() - b.bottom(), b.top() - a.bottom()));
    return qMax(dx, dy);
}

} // namespace

Q_DECLARE_METATYPE(Language)

class TestReferenceArt : public ArtOutputSuite
{
    Q_OBJECT

private slots:
    void initTestCase();

    void pictureSizes_data();
    void pictureSizes();

    void diagramBoxesStayApartInsideThePicture_data();
    void diagramBoxesStayApartInsideThePicture();
    void diagramArrowsJoinTwoBoxesAroundTheOthers_data();
    void diagramArrowsJoinTwoBoxesAroundTheOthers();
    void diagramLabelsAreReadable_data();
    void diagramLabelsAreReadable();

    void languageVariantsDifferOnlyInTheirWords_data();
    void languageVariantsDifferOnlyInTheirWords();

    void tubePartLiesUnderItsName_data();
    void tubePartLiesUnderItsName();
    void tubePartsRunFromGunToScreen();
    void tubeNamesStandOnLightGround();

    void figureGlyphIsARedTickWithAGreyTwin();

private:
    QImage picture(const QString &name) const;
};

void TestReferenceArt::initTestCase()
{
    generate({ generateShellArt, generateReferenceArt });
}

QImage TestReferenceArt::picture(const QString &name) const
{
    const QString data = m_out.data.filePath(name);
    return QImage(QFile::exists(data) ? data : m_out.embedded.filePath(name));
}

void TestReferenceArt::pictureSizes_data()
{
    // The largest picture each area shows whole: a picture control's own size, or the client area of a
    // window whose picture takes the bitmap's size, less the control's margins.
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("exact");
    const auto both = [](const char *castilian, const char *valencian, int width, int height, bool exact) {
        QTest::newRow(castilian) << QString::fromLatin1(castilian) << width << height << exact;
        QTest::newRow(valencian) << QString::fromLatin1(valencian) << width << height << exact;
    };
    both("dbc.bmp", "dbv.bmp", 369, 313, true);
    both("evertc.bmp", "evertv.bmp", 345, 153, true);
    // The horizontal-stage figure window: 208 × 349 outside, its picture at 8, 8.
    both("ehoriz.bmp", "ehorizv.bmp", 183, 292, true);
    // Resized by its figure button to 323 × 315: 315 × 288 inside.
    both("org2c.bmp", "org2v.bmp", 315 - 16, 288 - 16, false);
    // The dual-channel figure window, 320 × 401 outside, picture at the client's corner.
    both("dbloqc.bmp", "dbloqv.bmp", 312, 374, false);
    // The vertical stage's lower picture control; the horizontal stage's figure window at 316 × 272.
    for (const char *panel : { "panel.bmp", "panel1.bmp", "panel2.bmp", "panel3.bmp" })
        QTest::newRow(panel) << QString::fromLatin1(panel) << 265 << 217 << true;
    QTest::newRow("panel4.bmp") << QStringLiteral("panel4.bmp") << 308 - 16 << 245 - 16 << false;
    QTest::newRow("circuit") << QStringLiteral("circui.bmp") << 345 << 153 << true;
    both("fig23.bmp", "fig23v.bmp", 312, 374, false);
    both("fig22.bmp", "fig22v.bmp", 312, 374, false);
    // The sweep window at 335 × 448: 327 × 421 inside.
    both("barridoc.bmp", "barridov.bmp", 327 - 16, 421 - 16, false);
    QTest::newRow("tube") << QStringLiteral("tubedetail.bmp") << 503 << 202 << true;
    QTest::newRow("figure glyph") << QStringLiteral("glyph_figure.bmp") << 32 << 16 << true;
}

void TestReferenceArt::pictureSizes()
{
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, exact);
    const QImage image = picture(name);
    QVERIFY2(!image.isNull(), qPrintable(name));
    // Every picture is stored in true colour, 24 bits a pixel.
    QFile file(
        QFile::exists(m_out.data.filePath(name)) ? m_out.data.filePath(name) : m_out.embedded.filePath(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(30);
    QCOMPARE(header.left(2), QByteArray("BM"));
    QCOMPARE(int(quint8(header.at(28))), 24);
    saveForViewing(image, QFileInfo(name).completeBaseName());
    if (exact) {
        QCOMPARE(image.size(), QSize(width, height));
    } else {
        QVERIFY2(image.width() <= width && image.height() <= height,
            qPrintable(QStringLiteral("%1 × %2").arg(image.width()).arg(image.height())));
        // Fills most of its area rather than floating in it.
        QVERIFY(image.width() * 10 >= width * 9 && image.height() * 10 >= height * 9);
    }
    // Drawn, not blank: a good share of the picture differs from its background.
    const QRgb ground = image.pixel(0, image.height() - 1);
    int drawn = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            drawn += image.pixel(x, y) != ground ? 1 : 0;
    QVERIFY2(drawn * 4 * 20 >= image.width() * image.height(), qPrintable(QString::number(drawn)));
}

void TestReferenceArt::diagramBoxesStayApartInsideThePicture_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < referenceDiagrams().size(); ++i)
        QTest::newRow(referenceDiagrams().at(i).castilian) << i;
}

void TestReferenceArt::diagramBoxesStayApartInsideThePicture()
{
    QFETCH(int, index);
    const Diagram d = referenceDiagrams().at(index).build();
    const QRectF page(QPointF(0, 0), QSizeF(d.size));
    for (int i = 0; i < d.boxes.size(); ++i) {
        const DiagramBox &a = d.boxes.at(i);
        QVERIFY2(page.adjusted(1, 1, -1, -1).contains(a.rect), qPrintable(a.id));
        for (int j = i + 1; j < d.boxes.size(); ++j) {
            const DiagramBox &b = d.boxes.at(j);
            QVERIFY2(gapBetween(a.rect, b.rect) >= 4, qPrintable(a.id + QStringLiteral(" touches ") + b.id));
        }
        QCOMPARE(d.box(a.id), &a); // names are unique
    }
    for (const DiagramNote &n : d.notes) {
        QVERIFY(page.contains(n.rect));
        for (const DiagramBox &b : d.boxes)
            QVERIFY2(!n.rect.intersects(b.rect), qPrintable(b.id));
    }
}

void TestReferenceArt::diagramArrowsJoinTwoBoxesAroundTheOthers_data()
{
    diagramBoxesStayApartInsideThePicture_data();
}

void TestReferenceArt::diagramArrowsJoinTwoBoxesAroundTheOthers()
{
    QFETCH(int, index);
    const Diagram d = referenceDiagrams().at(index).build();
    QSet<QString> joined;
    for (const DiagramArrow &a : d.arrows) {
        const QString name = a.from + QStringLiteral(" -> ") + a.to;
        const DiagramBox *from = d.box(a.from);
        const DiagramBox *to = d.box(a.to);
        QVERIFY2(from && to && from != to, qPrintable(name));
        const QPolygonF path = d.route(a);
        QVERIFY2(path.size() >= 2, qPrintable(name));
        QVERIFY2(onBorder(from->rect, path.first()), qPrintable(name));
        QVERIFY2(onBorder(to->rect, path.last()), qPrintable(name));
        for (int i = 0; i + 1 < path.size(); ++i) {
            const QPointF s = path.at(i), e = path.at(i + 1);
            QVERIFY2(qAbs(s.x() - e.x()) < 0.01 || qAbs(s.y() - e.y()) < 0.01, qPrintable(name));
            for (const DiagramBox &b : d.boxes)
                QVERIFY2(!runCrosses(s, e, b.rect), qPrintable(name + QStringLiteral(" crosses ") + b.id));
        }
        // The last run is long enough to carry its arrow head clear of any bend.
        const QPointF last = path.last() - path.at(path.size() - 2);
        QVERIFY2(qAbs(last.x()) + qAbs(last.y()) >= 7, qPrintable(name));
        joined << a.from << a.to;
    }
    // Every box takes part in the signal flow.
    for (const DiagramBox &b : d.boxes)
        QVERIFY2(joined.contains(b.id), qPrintable(b.id));
}

void TestReferenceArt::diagramLabelsAreReadable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<Language>("language");
    for (int i = 0; i < referenceDiagrams().size(); ++i) {
        QTest::addRow("%s", referenceDiagrams().at(i).castilian) << i << Language::Castilian;
        QTest::addRow("%s", referenceDiagrams().at(i).valencian) << i << Language::Valencian;
    }
}

void TestReferenceArt::diagramLabelsAreReadable()
{
    QFETCH(int, index);
    QFETCH(Language, language);
    const Diagram d = referenceDiagrams().at(index).build();
    for (const DiagramBox &b : d.boxes) {
        const QString text = b.label.in(language);
        QVERIFY2(!text.trimmed().isEmpty(), qPrintable(b.id));
        if (b.kind != BoxKind::Block)
            continue;
        const int size = DiagramPainter::fittingFont(text, b.rect.width() - 6, b.rect.height() - 2, 10, false)
                             .pixelSize();
        QVERIFY2(size >= 9,
            qPrintable(QStringLiteral("%1 at %2 px in %3").arg(b.id).arg(size).arg(languageName(language))));
    }
}

void TestReferenceArt::languageVariantsDifferOnlyInTheirWords_data()
{
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("valencian");
    for (const ReferenceDiagram &d : referenceDiagrams())
        QTest::newRow(d.castilian) << QString::fromLatin1(d.castilian) << QString::fromLatin1(d.valencian);
    QTest::newRow("barridoc.bmp") << QStringLiteral("barridoc.bmp") << QStringLiteral("barridov.bmp");
    QTest::newRow("fig23.bmp") << QStringLiteral("fig23.bmp") << QStringLiteral("fig23v.bmp");
    QTest::newRow("fig22.bmp") << QStringLiteral("fig22.bmp") << QStringLiteral("fig22v.bmp");
}

void TestReferenceArt::languageVariantsDifferOnlyInTheirWords()
{
    // Same drawing, other words: the pictures share their size and most of their pixels, yet differ.
    QFETCH(QString, castilian);
    QFETCH(QString, valencian);
    const QImage a = picture(castilian);
    const QImage b = picture(valencian);
    QCOMPARE(a.size(), b.size());
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    QVERIFY(differing > 0);
    QVERIFY2(differing * 5 < a.width() * a.height(), qPrintable(QString::number(differing)));
}

void TestReferenceArt::tubePartLiesUnderItsName_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(kTubeDetailPlaces.size()); ++i)
        QTest::newRow(kTubeDetailPlaces.at(i).name) << i;
}

void TestReferenceArt::tubePartLiesUnderItsName()
{
    QFETCH(int, index);
    const TubeDetailPlace &place = kTubeDetailPlaces.at(index);
    const QRectF part = detailedTubePart(detailedTubeLayout(), place.part);
    QVERIFY(!part.isEmpty());
    const QRectF label = onPicture(place);
    if (place.arrow == TubeDetailPlace::Arrow::None) {
        // A name stands by the arrow that points its part out, on the same side of the tube; a part
        // without an arrow has its name on it or close by.
        const bool above = label.center().y() < detailedTubeLayout().axisY;
        QRectF name;
        const TubeDetailPlace *arrow = nullptr;
        for (const TubeDetailPlace &other : kTubeDetailPlaces) {
            if (other.part != place.part
                || (onPicture(other).center().y() < detailedTubeLayout().axisY) != above)
                continue;
            if (other.arrow == TubeDetailPlace::Arrow::None)
                name = name.united(onPicture(other));
            else
                arrow = &other;
        }
        if (arrow) {
            QVERIFY2(gapBetween(name, onPicture(*arrow)) <= 12, arrow->name);
            QCOMPARE(arrow->arrow == TubeDetailPlace::Arrow::Down, above);
        } else {
            QVERIFY2(gapBetween(label, part) <= 30, qPrintable(QString::number(gapBetween(label, part))));
        }
        return;
    }
    // An arrow points straight at its part and stops just short of it.
    const QPointF tip = arrowTip(place);
    QVERIFY2(part.left() <= tip.x() && tip.x() <= part.right(),
        qPrintable(QStringLiteral("%1 outside %2..%3").arg(tip.x()).arg(part.left()).arg(part.right())));
    const qreal gap
        = place.arrow == TubeDetailPlace::Arrow::Up ? tip.y() - part.bottom() : part.top() - tip.y();
    QVERIFY2(gap >= -1 && gap <= 8, qPrintable(QStringLiteral("gap %1").arg(gap)));
    // No other part lies between the arrow's point and its own part.
    for (int p = 0; p <= int(TubeDetailPart::Screen); ++p) {
        const QRectF other = detailedTubePart(detailedTubeLayout(), TubeDetailPart(p));
        if (TubeDetailPart(p) == place.part || other.isEmpty())
            continue;
        const QRectF between = place.arrow == TubeDetailPlace::Arrow::Up
            ? QRectF(QPointF(tip.x() - 0.5, part.bottom()), QPointF(tip.x() + 0.5, tip.y()))
            : QRectF(QPointF(tip.x() - 0.5, tip.y()), QPointF(tip.x() + 0.5, part.top()));
        QVERIFY2(!between.intersects(other), qPrintable(QString::number(p)));
    }
}

void TestReferenceArt::tubePartsRunFromGunToScreen()
{
    // Left to right along the beam, the parts come in the order the electrons meet them.
    const TubeLayout t = detailedTubeLayout();
    QRectF previous;
    for (int p = 0; p <= int(TubeDetailPart::Screen); ++p) {
        const QRectF part = detailedTubePart(t, TubeDetailPart(p));
        QVERIFY(QRectF(0, 0, kTubeDetailWidth, kTubeDetailHeight).contains(part));
        QVERIFY2(p == 0 || part.center().x() > previous.center().x(), qPrintable(QString::number(p)));
        previous = part;
    }
    // The electrodes of the gun and the plates sit inside the neck, round the beam's axis.
    for (TubeDetailPart p :
        { TubeDetailPart::Grid, TubeDetailPart::PreAccelerator, TubeDetailPart::Focus,
            TubeDetailPart::SecondAnode, TubeDetailPart::HorizontalPlates, TubeDetailPart::VerticalPlates }) {
        const QRectF part = detailedTubePart(t, p);
        QVERIFY(part.top() < t.axisY && part.bottom() > t.axisY);
        QVERIFY(part.top() >= t.axisY - t.neckHalfHeight && part.bottom() <= t.axisY + t.neckHalfHeight);
        QVERIFY(part.right() <= t.neckRight);
    }
}

void TestReferenceArt::tubeNamesStandOnLightGround()
{
    const QImage image = picture(QStringLiteral("tubedetail.bmp"));
    QCOMPARE(image.depth(), 32);
    QImage labelled = image.convertToFormat(QImage::Format_ARGB32);
    QPainter p(&labelled);
    for (const TubeDetailPlace &place : kTubeDetailPlaces) {
        const QRect r = onPicture(place).toAlignedRect().intersected(image.rect());
        double sum = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                sum += qGray(image.pixel(x, y));
        // Blue names need a light ground: white paper or the tube's pale glass.
        QVERIFY2(sum / (r.width() * r.height()) >= 175, place.name);
        p.setPen(QColor(0, 0, 255, 160));
        p.setBrush(Qt::NoBrush);
        p.drawRect(onPicture(place));
        if (place.arrow != TubeDetailPlace::Arrow::None) {
            p.setBrush(Qt::red);
            p.drawEllipse(arrowTip(place), 1.5, 1.5);
        }
    }
    p.end();
    saveForViewing(labelled, QStringLiteral("tubedetail-places"));
}

void TestReferenceArt::figureGlyphIsARedTickWithAGreyTwin()
{
    const QImage glyph = picture(QStringLiteral("glyph_figure.bmp"));
    QCOMPARE(glyph.size(), QSize(32, 16));
    int red = 0, coloured = 0, darkTwin = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QColor normal = glyph.pixelColor(x, y);
            const QColor twin = glyph.pixelColor(x + 16, y);
            red += normal.red() > 150 && normal.green() < 90 && normal.blue() < 90 ? 1 : 0;
            coloured += qAbs(twin.red() - twin.green()) > 3 || qAbs(twin.green() - twin.blue()) > 3 ? 1 : 0;
            darkTwin += twin.value() < 160 ? 1 : 0;
        }
    }
    QVERIFY2(red >= 20, qPrintable(QString::number(red)));
    QCOMPARE(coloured, 0);
    QVERIFY(darkTwin >= 10);
    // A tick: its stroke falls to a low point left of centre, then rises to the upper right.
    const auto lowest = [&glyph](int x) {
        for (int y = 15; y >= 0; --y)
            if (glyph.pixelColor(x, y).red() > 150 && glyph.pixelColor(x, y).green() < 90)
                return y;
        return -1;
    };
    QVERIFY(lowest(6) > lowest(3));
    QVERIFY(lowest(6) > lowest(12));
}

QTEST_MAIN(TestReferenceArt)
#include "tst_referenceart.moc"
