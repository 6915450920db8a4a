#include "referencestyle.h"

#include "embeddedpictures.h"
#include "fonts.h"

namespace ReferenceStyle {

QColor litEdgeColour()
{
    return QColor(0xe3, 0xe3, 0xe3);
}

Label *heading(QWidget *parent, const char *name, const Geometry &geometry, const QString &text)
{
    auto *label = new Label(parent, geometry, QString(), true);
    label->setObjectName(QLatin1String(name));
    label->setFont(Fonts::pixels(QStringLiteral("Times New Roman"), 15, Fonts::Style::Bold));
    label->setTextColor(QColor(0x80, 0x00, 0x00));
    label->setText(text);
    return label;
}

RichTextPane *pane(QWidget *parent, const char *name, const Geometry &geometry, const QColor &background)
{
    auto *pane = new RichTextPane(parent);
    pane->setObjectName(QLatin1String(name));
    pane->setGeometry(geometry.rect());
    pane->setFont(Fonts::pixels(QStringLiteral("Times New Roman"), 15));
    pane->setBackgroundColor(background);
    QPalette palette = pane->palette();
    palette.setColor(QPalette::Text, Qt::black);
    pane->setPalette(palette);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return pane;
}

GlyphButton *figureButton(QWidget *parent, const char *name, int left, int top)
{
    auto *button = new GlyphButton(parent, { left, top, 25, 25 }, QString());
    button->setObjectName(QLatin1String(name));
    button->setGlyph(embeddedPicture(EmbeddedPictures::figureGlyph));
    return button;
}

GlyphButton *closeButton(QWidget *parent, const char *name, const Geometry &geometry)
{
    auto *button = new GlyphButton(parent, geometry, QStringLiteral("&Cerrar"));
    button->setObjectName(QLatin1String(name));
    button->setGlyph(embeddedPicture(EmbeddedPictures::closeGlyph));
    return button;
}

void setWindowBounds(Form *window, const QRect &outer)
{
    window->setFixedSize(outer.width() - 8, outer.height() - 27);
    window->move(outer.topLeft());
}

} // namespace ReferenceStyle
