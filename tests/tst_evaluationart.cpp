#include "artgen.h"
#include "artoutputsupport.h"
#include "evaluationlayout.h"
#include "evaluationspots.h"
#include "frontpanelpainter.h"

#include <QFile>
#include <QImage>
#include <QtEndian>
#include <QTest>

namespace {

/** Differs from the bare panel by more than its grain and its light fall-off. */
bool isDrawn(QRgb c)
{
    const QColor face = FrontPanelPainter::faceColour();
    return qAbs(qRed(c) - face.red()) > 24 || qAbs(qGreen(c) - face.green()) > 24
        || qAbs(qBlue(c) - face.blue()) > 24;
}

QRect inPicture(const EvaluationSpot &spot)
{
    return QRect(spot.rect.left - kEvaluationPictureLeft, spot.rect.top - kEvaluationPictureTop,
        spot.rect.width, spot.rect.height);
}

/** The hot-spot a click at a picture point reaches: the last in the table that holds it. */
const EvaluationSpot *topmostAt(QPointF point)
{
    const EvaluationSpot *top = nullptr;
    for (const EvaluationSpot &spot : kEvaluationSpots)
        if (QRectF(inPicture(spot)).contains(point))
            top = &spot;
    return top;
}

} // namespace

class TestEvaluationArt : public ArtOutputSuite
{
    Q_OBJECT

private slots:
    void initTestCase();

    void picturesAsStored_data();
    void picturesAsStored();
    void hotSpotLiesOnItsControl_data();
    void hotSpotLiesOnItsControl();
    void screenLiesUnderItsArea();
    void everyControlIsOnThePanel();
    void markGlyphTwinIsGrey();

private:
    QImage m_picture;
};

void TestEvaluationArt::initTestCase()
{
    generate({ generateEvaluationArt });
    if (QTest::currentTestFailed())
        return;
    m_picture = QImage(m_out.embedded.filePath(QStringLiteral("evaluationpanel.bmp")));
    QVERIFY(!m_picture.isNull());
}

void TestEvaluationArt::picturesAsStored_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("photograph") << "evaluationpanel.bmp" << QSize(535, 239);
    QTest::newRow("mark glyph") << "glyph_mark.bmp" << QSize(36, 18);
}

void TestEvaluationArt::picturesAsStored()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFile file(m_out.embedded.filePath(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    QVERIFY(data.startsWith("BM"));
    QCOMPARE(qFromLittleEndian<quint16>(data.constData() + 28), quint16(24));
    QCOMPARE(QImage::fromData(data).size(), size);
}

void TestEvaluationArt::hotSpotLiesOnItsControl_data()
{
    QTest::addColumn<QString>("name");
    for (const EvaluationSpot &spot : kEvaluationSpots)
        QTest::newRow(spot.name) << QString::fromLatin1(spot.name);
}

void TestEvaluationArt::hotSpotLiesOnItsControl()
{
    QFETCH(QString, name);
    const EvaluationSpot *spot = nullptr;
    for (const EvaluationSpot &s : kEvaluationSpots)
        if (name == QLatin1String(s.name))
            spot = &s;
    QVERIFY(spot);
    const QRect rect = inPicture(*spot);
    QVERIFY(m_picture.rect().contains(rect));

    // Most of the hot-spot shows the control, not bare panel.
    int drawn = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            drawn += isDrawn(m_picture.pixel(x, y)) ? 1 : 0;
    const double share = double(drawn) / (rect.width() * rect.height());
    QVERIFY2(share >= 0.35, qPrintable(QStringLiteral("only %1% of %2 is drawn").arg(100 * share).arg(name)));

    // The control drawn there is the one the hot-spot names, and a click on its middle reaches
    // this hot-spot and no other lying over it.
    const FrontPanelModel model = evaluationPanelLayout();
    const PanelControl *control = model.control(QLatin1String(spot->control));
    QVERIFY(control);
    QVERIFY(QRectF(rect).contains(control->rect.center()));
    QCOMPARE(topmostAt(control->rect.center()), spot);
    // Most of the control's body lies inside its hot-spot.
    const QRectF inside = control->rect.intersected(QRectF(rect));
    QVERIFY2(inside.width() * inside.height() >= 0.8 * control->rect.width() * control->rect.height(),
        qPrintable(name));
}

void TestEvaluationArt::screenLiesUnderItsArea()
{
    const FrontPanelModel model = evaluationPanelLayout();
    const QRectF area(kEvaluationScreen.left - kEvaluationPictureLeft,
        kEvaluationScreen.top - kEvaluationPictureTop, kEvaluationScreen.width, kEvaluationScreen.height);
    const QRectF graticule = FrontPanelPainter::graticule(model.screen);
    QVERIFY(area.contains(graticule));
    // The dark tube face fills the area: its corners are dark, the panel around the bezel is not.
    for (const QPointF corner : { area.topLeft() + QPointF(8, 8), area.bottomRight() - QPointF(8, 8) })
        QVERIFY(qGray(m_picture.pixel(corner.toPoint())) < 90);
    QVERIFY(!isDrawn(m_picture.pixel(QPoint(int(model.screen.bezel.right()) + 6, 100))));
    // No hot-spot lies on the screen.
    for (const EvaluationSpot &spot : kEvaluationSpots)
        QVERIFY2(!QRectF(inPicture(spot)).intersects(model.screen.bezel), spot.name);
}

void TestEvaluationArt::everyControlIsOnThePanel()
{
    // Nothing drawn runs over the instrument's rim or over another control.
    const FrontPanelModel model = evaluationPanelLayout();
    const QRectF face(4, 4, model.size.width() - 8, model.size.height() - 8);
    for (int i = 0; i < model.controls.size(); ++i) {
        const PanelControl &c = model.controls[i];
        QVERIFY2(face.contains(c.rect), qPrintable(c.name));
        QVERIFY2(!c.rect.intersects(model.screen.bezel), qPrintable(c.name));
        for (int j = i + 1; j < model.controls.size(); ++j) {
            const PanelControl &d = model.controls[j];
            // a CAL knob sits inside its switch; everything else stands apart
            if (c.kind == ControlKind::RotarySwitch && d.kind == ControlKind::CalKnob)
                continue;
            QVERIFY2(!c.rect.intersects(d.rect), qPrintable(c.name + QLatin1Char('/') + d.name));
        }
    }
}

void TestEvaluationArt::markGlyphTwinIsGrey()
{
    const QImage glyph(m_out.embedded.filePath(QStringLiteral("glyph_mark.bmp")));
    bool coloured = false;
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width() / 2; ++x) {
            const QRgb c = glyph.pixel(x, y);
            coloured = coloured || qAbs(qRed(c) - qGreen(c)) > 40;
            const QRgb twin = glyph.pixel(x + glyph.width() / 2, y);
            QVERIFY(qAbs(qRed(twin) - qGreen(twin)) <= 2 && qAbs(qGreen(twin) - qBlue(twin)) <= 2);
        }
    }
    QVERIFY(coloured);
    // the transparent corner is the button face
    QCOMPARE(QColor(glyph.pixel(0, glyph.height() - 1)), QColor(192, 192, 192));
}

QTEST_MAIN(TestEvaluationArt)
#include "tst_evaluationart.moc"
