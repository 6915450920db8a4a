#pragma once

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

/** A control's place in its window's client area: Left, Top, Width, Height. */
struct Geometry
{
    int left;
    int top;
    int width;
    int height;

    QRect rect() const { return QRect(left, top, width, height); }
};

/** The bevel of a panel's edge. */
enum class Bevel { None, Raised, Lowered };

/**
 * A panel: a rectangle in one colour with an outer and an inner bevel, a border between them, and
 * one line of text centred in it. Text wider than the panel is cut at its edges.
 */
class Panel : public QWidget
{
    Q_OBJECT

public:
    Panel(QWidget *parent, const Geometry &geometry);

    QString text() const { return m_text; }
    void setText(const QString &text);
    void setBevels(Bevel outer, Bevel inner);
    void setBorderWidth(int width);
    int borderWidth() const { return m_borderWidth; }
    void setColor(const QColor &color);

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_text;
    Bevel m_outer = Bevel::Raised;
    Bevel m_inner = Bevel::None;
    int m_borderWidth = 0;
};

/**
 * A transparent area over a photograph or drawing that reacts to clicks. Its hint is its tooltip
 * and its accessible name, so a screen reader names the control under it.
 */
class HotSpot : public QWidget
{
    Q_OBJECT

public:
    HotSpot(QWidget *parent, const Geometry &geometry, const QString &hint);

    /** Acts as a click does; screen readers press a hot-spot this way. */
    void press();
    /**
     * Lets the keyboard reach the hot-spot: Tab stops on it, a ring shows where the focus is, and Space
     * or Enter press it, so a student who cannot use the mouse can still answer on the picture.
     */
    void setKeyboardReachable(bool reachable);

Q_SIGNALS:
    void clicked();
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

/**
 * Widgets in the order a reader meets them on a picture: line by line from the top, each line from the
 * left. A widget belongs to the line of the first one whose height spans its middle, so a tall knob beside
 * small buttons reads with them.
 */
QList<QWidget *> inReadingOrder(QList<QWidget *> widgets);

/** How a picture control draws its bitmap. */
enum class PictureMode {
    Plain, ///< at the top-left corner, cut at the control's edges
    Centred, ///< centred, at its own size
    Stretched, ///< scaled to fill the control
};

/** A picture control: shows a bitmap and can load one from a ".bmp" data file. */
class Picture : public QWidget
{
    Q_OBJECT

public:
    Picture(QWidget *parent, const Geometry &geometry, PictureMode mode = PictureMode::Plain);

    QImage picture() const { return m_image; }
    void setPicture(const QImage &image);
    /** Loads a data file by bare name, replacing the picture; on failure reports it and keeps the old one. */
    bool loadFromFile(const QString &fileName);
    /** The data file the picture was last loaded from; empty for a picture set in code. */
    QString fileName() const { return m_fileName; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_image;
    QString m_fileName;
    PictureMode m_mode;
};

/**
 * A label: text in a given font and colour over the window, optionally sizing itself to its text
 * from its left edge. Reports clicks and pointer moves, for links and part names.
 */
class Label : public QLabel
{
    Q_OBJECT

public:
    Label(QWidget *parent, const Geometry &geometry, const QString &text, bool autoSize);

    void setText(const QString &text);
    void setTextColor(const QColor &color);
    /** Sets the letters closer, if need be, so that the text ends within the given width. */
    void fitWithin(int width);
    /** Text in the "Symbol" typeface: its characters are shown through the Symbol encoding. */
    void setSymbolText(const QString &symbolText);

Q_SIGNALS:
    void clicked();
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void fitToText();

    bool m_autoSize;
    bool m_fitting = false;
    QFont m_untightenedFont;
};

/** The kinds of push button: an ordinary one, or one with a built-in action and glyph. */
enum class ButtonKind { Custom, Close, Cancel, Ok };

/**
 * A push button with a caption and a two-image glyph (normal and disabled side by side).
 * A close-kind button closes its window when pressed.
 */
class GlyphButton : public QPushButton
{
    Q_OBJECT

public:
    GlyphButton(QWidget *parent, const Geometry &geometry, const QString &caption,
        ButtonKind kind = ButtonKind::Custom);

    /** Sets the glyph from a picture holding the normal image and the disabled one side by side. */
    void setGlyph(const QImage &twoImages);
};

/**
 * A picture of the window descriptions, compiled into the program (":/embedded/<name>"), decoded
 * once and shared by every window that shows it.
 */
QImage embeddedPicture(const QString &name);
/** The same, by a name of embeddedpictures.h. */
inline QImage embeddedPicture(const char *name)
{
    return embeddedPicture(QLatin1String(name));
}
