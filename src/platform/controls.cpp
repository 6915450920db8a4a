#include "controls.h"

#include "datafile.h"
#include "embeddedpictures.h"
#include "fonts.h"
#include "symbolfont.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

void drawBevel(QPainter &painter, QRect &rect, Bevel bevel, const QPalette &palette)
{
    if (bevel == Bevel::None)
        return;
    const QColor light = palette.color(QPalette::Light);
    const QColor shadow = palette.color(QPalette::Dark);
    const QColor topLeft = bevel == Bevel::Raised ? light : shadow;
    const QColor bottomRight = bevel == Bevel::Raised ? shadow : light;
    painter.setPen(topLeft);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
    rect.adjust(1, 1, -1, -1);
}

bool isClick(QWidget *widget, QMouseEvent *event)
{
    return event->button() == Qt::LeftButton && widget->rect().contains(event->position().toPoint());
}

} // namespace

Panel::Panel(QWidget *parent, const Geometry &geometry)
    : QWidget(parent)
{
    setGeometry(geometry.rect());
    setColor(QColor(0xc0, 0xc0, 0xc0));
    setAccessibleName(QString());
}

void Panel::setText(const QString &text)
{
    m_text = text;
    setAccessibleName(text);
    update();
}

void Panel::setBevels(Bevel outer, Bevel inner)
{
    m_outer = outer;
    m_inner = inner;
    update();
}

void Panel::setBorderWidth(int width)
{
    m_borderWidth = width;
    update();
}

void Panel::setColor(const QColor &color)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Light, Qt::white);
    palette.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    setPalette(palette);
    update();
}

void Panel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    QRect inner = rect();
    drawBevel(painter, inner, m_outer, palette());
    inner.adjust(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
    drawBevel(painter, inner, m_inner, palette());
    if (m_text.isEmpty())
        return;
    // One line, centred; what does not fit is cut at the panel's edges.
    painter.setClipRect(inner);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(inner, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, m_text);
}

void Panel::mouseReleaseEvent(QMouseEvent *event)
{
    if (isClick(this, event))
        Q_EMIT clicked();
}

namespace {

/**
 * What a screen reader learns of a hot-spot: a button named by its hint, which it can press for
 * a student who cannot aim the mouse at the picture.
 */
class HotSpotAccessible : public QAccessibleWidget
{
public:
    explicit HotSpotAccessible(HotSpot *spot)
        : QAccessibleWidget(spot, QAccessible::Button)
    {
    }

    QStringList actionNames() const override { return { pressAction() }; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && widget()->isEnabled())
            static_cast<HotSpot *>(widget())->press();
    }
};

QAccessibleInterface *hotSpotAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("HotSpot") && object && object->isWidgetType())
        return new HotSpotAccessible(static_cast<HotSpot *>(object));
    return nullptr;
}

} // namespace

HotSpot::HotSpot(QWidget *parent, const Geometry &geometry, const QString &hint)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(hotSpotAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setGeometry(geometry.rect());
    setMouseTracking(true);
    setToolTip(hint);
    setAccessibleName(hint);
    setFocusPolicy(Qt::NoFocus);
}

void HotSpot::setKeyboardReachable(bool reachable)
{
    // Tab only: a click answers at once and needs no ring left behind it.
    setFocusPolicy(reachable ? Qt::TabFocus : Qt::NoFocus);
}

void HotSpot::paintEvent(QPaintEvent *)
{
    if (!hasFocus())
        return;
    // A ring in two colours, seen on the dark photograph and on its light lettering alike.
    QPainter painter(this);
    const QRect ring = rect().adjusted(1, 1, -2, -2);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawRect(ring);
    painter.setPen(QPen(QColor(0x00, 0x50, 0xd0), 1));
    painter.drawRect(ring);
}

void HotSpot::keyPressEvent(QKeyEvent *event)
{
    const bool pressKey
        = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (pressKey && !event->isAutoRepeat() && event->modifiers() == Qt::NoModifier) {
        press();
        return;
    }
    QWidget::keyPressEvent(event);
}

QList<QWidget *> inReadingOrder(QList<QWidget *> widgets)
{
    std::stable_sort(widgets.begin(), widgets.end(), [](const QWidget *a, const QWidget *b) {
        return a->geometry().center().y() < b->geometry().center().y();
    });
    QList<QWidget *> ordered;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= widgets.size(); ++i) {
        const QRect first = lineStart < widgets.size() ? widgets[lineStart]->geometry() : QRect();
        const bool sameLine = i < widgets.size() && widgets[i]->geometry().center().y() <= first.bottom();
        if (sameLine)
            continue;
        QList<QWidget *> line = widgets.mid(lineStart, i - lineStart);
        std::stable_sort(line.begin(), line.end(),
            [](const QWidget *a, const QWidget *b) { return a->geometry().left() < b->geometry().left(); });
        ordered += line;
        lineStart = i;
    }
    return ordered;
}

void HotSpot::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT mouseMoved();
    QWidget::mouseMoveEvent(event);
}

void HotSpot::mouseReleaseEvent(QMouseEvent *event)
{
    if (isClick(this, event))
        Q_EMIT clicked();
}

void HotSpot::press()
{
    Q_EMIT clicked();
}

Picture::Picture(QWidget *parent, const Geometry &geometry, PictureMode mode)
    : QWidget(parent)
    , m_mode(mode)
{
    setGeometry(geometry.rect());
}

void Picture::setPicture(const QImage &image)
{
    m_image = image;
    m_fileName.clear();
    update();
}

bool Picture::loadFromFile(const QString &fileName)
{
    const std::optional<QImage> image = DataFile::loadPicture(fileName);
    if (!image)
        return false;
    setPicture(*image);
    m_fileName = fileName;
    return true;
}

void Picture::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    switch (m_mode) {
    case PictureMode::Plain:
        painter.drawImage(0, 0, m_image);
        break;
    case PictureMode::Centred:
        painter.drawImage((width() - m_image.width()) / 2, (height() - m_image.height()) / 2, m_image);
        break;
    case PictureMode::Stretched:
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_image);
        break;
    }
}

void Picture::mouseReleaseEvent(QMouseEvent *event)
{
    if (isClick(this, event))
        Q_EMIT clicked();
}

Label::Label(QWidget *parent, const Geometry &geometry, const QString &text, bool autoSize)
    : QLabel(parent)
    , m_autoSize(autoSize)
{
    setGeometry(geometry.rect());
    setMouseTracking(true);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setText(text);
}

void Label::setText(const QString &text)
{
    QLabel::setText(text);
    setAccessibleName(text);
    fitToText();
}

void Label::setSymbolText(const QString &symbolText)
{
    setText(SymbolFont::toUnicode(symbolText));
}

void Label::fitWithin(int width)
{
    // Always from the label's own font, so fitting twice never tightens twice.
    if (!m_fitting) {
        m_untightenedFont = font();
        m_fitting = true;
    }
    setFont(Fonts::fitted(m_untightenedFont, text(), width));
    fitToText();
}

void Label::setTextColor(const QColor &color)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, color);
    setPalette(palette);
}

void Label::fitToText()
{
    if (!m_autoSize)
        return;
    // A label that sizes itself keeps its left edge; an empty one keeps its design size.
    if (text().isEmpty())
        return;
    const QFontMetrics metrics(font());
    resize(metrics.horizontalAdvance(text()) + 1, metrics.height());
}

void Label::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT mouseMoved();
    QLabel::mouseMoveEvent(event);
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    if (isClick(this, event))
        Q_EMIT clicked();
}

GlyphButton::GlyphButton(QWidget *parent, const Geometry &geometry, const QString &caption, ButtonKind kind)
    : QPushButton(caption, parent)
{
    setGeometry(geometry.rect());
    switch (kind) {
    case ButtonKind::Close:
        setGlyph(embeddedPicture(EmbeddedPictures::closeGlyph));
        connect(this, &QPushButton::clicked, this, [this] { window()->close(); });
        break;
    case ButtonKind::Cancel:
        setGlyph(embeddedPicture(EmbeddedPictures::cancelGlyph));
        break;
    case ButtonKind::Ok:
        setGlyph(embeddedPicture(EmbeddedPictures::okGlyph));
        break;
    case ButtonKind::Custom:
        break;
    }
}

void GlyphButton::setGlyph(const QImage &twoImages)
{
    if (twoImages.isNull())
        return;
    const int side = twoImages.width() / 2;
    // The glyphs' bottom-left pixel colour is their transparent colour, as with classic glyphs.
    auto cut = [&](int x) {
        QImage part = twoImages.copy(x, 0, side, twoImages.height()).convertToFormat(QImage::Format_ARGB32);
        const QRgb key = part.pixel(0, part.height() - 1);
        for (int y = 0; y < part.height(); ++y)
            for (int i = 0; i < part.width(); ++i)
                if (part.pixel(i, y) == key)
                    part.setPixel(i, y, qRgba(0, 0, 0, 0));
        return QPixmap::fromImage(part);
    };
    QIcon icon;
    icon.addPixmap(cut(0), QIcon::Normal);
    icon.addPixmap(cut(side), QIcon::Disabled);
    setIcon(icon);
    setIconSize(QSize(side, twoImages.height()));
}

QImage embeddedPicture(const QString &name)
{
    // Decoded at its first use and shared from then on: a student may open a window many times,
    // and every copy shows the same pixels.
    static QHash<QString, QImage> decoded;
    auto found = decoded.constFind(name);
    if (found == decoded.constEnd())
        found = decoded.insert(name, QImage(QStringLiteral(":/embedded/") + name));
    return *found;
}
