#pragma once

#include "datafile.h"
#include "errorbox.h"
#include "form.h"
#include "language.h"
#include "richtextpane.h"
#include "testsupport.h"
#include "tfichaprincipal.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QtTest>

#include "controls.h"

#include <QApplication>
#include <QComboBox>
#include <QScrollArea>

/** Counts the times a window is hidden. */
class HideCounter : public QObject
{
public:
    explicit HideCounter(QWidget *window) { window->installEventFilter(this); }
    int hides = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            ++hides;
        return false;
    }
};

/** The window becomes the application's active one, as when the student clicks into it. */
inline void activate(QWidget *window)
{
    QEvent event(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window, &event);
}

/** The pointer moves over the middle of a control, as it does under the student's hand. */
inline void pointerOver(QWidget *widget)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent move(
        QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

/** Switches the program's language as the student does, with the main window's buttons. */
inline void chooseLanguage(bool castilian)
{
    if (ProgramLanguage::current() != rowLanguage(castilian))
        QTest::mouseClick(castilian ? fichaprincipal->cast : fichaprincipal->val, Qt::LeftButton);
}

/** Whether a control shows the hand pointer the program loads from its cursor file. */
inline bool showsHand(QWidget *widget)
{
    return widget->testAttribute(Qt::WA_SetCursor) && widget->cursor().shape() == Qt::BitmapCursor;
}

/** Whether a control shows the ordinary arrow pointer. */
inline bool showsArrow(QWidget *widget)
{
    return widget->cursor().shape() == Qt::ArrowCursor;
}

/** Clicks a surface at a point, as the student does: whatever lies on top there takes the click. */
/** Picks an entry of a closed list as a student does from the keyboard: the arrow keys, one entry a key. */
inline void chooseByKeys(QComboBox *box, int index)
{
    box->setFocus();
    while (box->currentIndex() < index)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > index)
        QTest::keyClick(box, Qt::Key_Up);
}

inline QWidget *clickAt(QWidget *surface, const QPoint &point)
{
    QWidget *target = surface->childAt(point);
    if (!target)
        return nullptr;
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(surface, point));
    return target;
}

/** Clicks a window's client area at a point in it. */
inline QWidget *clickAt(Form *form, const QPoint &point)
{
    return clickAt(form->client(), point);
}

/** A control's place in its window's client area. */
inline QRect inClient(const QWidget *widget, const Form *form)
{
    return QRect(widget->mapTo(form->client(), QPoint(0, 0)), widget->size());
}

/** The window's outer frame as its design counts it: client area plus 8 by 27. */
inline QRect outerFrame(const QWidget *window)
{
    return QRect(window->pos(), window->size() + QSize(8, 27));
}

/** A bitmap decoded straight from its file; null when it is missing. */
inline QImage decodedFile(const QString &fileName)
{
    const std::optional<QByteArray> data = DataFile::read(fileName);
    return data ? DataFile::decodeBmp(*data) : QImage();
}

/** The text of a rich-text file, read by a pane of its own. */
inline QString fileText(const QString &fileName)
{
    RichTextPane pane;
    return pane.loadFromFile(fileName) ? pane.toPlainText() : QStringLiteral("<missing %1>").arg(fileName);
}

inline GlyphButton *button(QWidget *window, const char *name)
{
    return window->findChild<GlyphButton *>(QLatin1String(name));
}

/** Presses a button the way the student does: scrolled into view first, then clicked. */
inline void press(Form *window, const char *name)
{
    GlyphButton *target = button(window, name);
    QVERIFY2(target, name);
    if (auto *scroll = window->findChild<QScrollArea *>())
        scroll->ensureWidgetVisible(target);
    QTest::mouseClick(target, Qt::LeftButton);
}

inline void checkFigureButton(Form *window, const char *name, const QRect &place)
{
    GlyphButton *figure = button(window, name);
    QVERIFY2(figure, name);
    QCOMPARE(inClient(figure, window), place);
    // no caption, the red tick, and a name for screen readers
    QVERIFY(figure->text().isEmpty());
    QVERIFY(!figure->icon().isNull());
    QCOMPARE(figure->iconSize(), QSize(16, 16));
    QVERIFY(!figure->accessibleName().isEmpty());
}

/** Records the order in which the program's windows are first shown. */
class ShowOrder : public QObject
{
public:
    ShowOrder() { qApp->installEventFilter(this); }
    ~ShowOrder() override { qApp->removeEventFilter(this); }
    QStringList shown;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<Form *>(object) && !event->spontaneous())
            shown << object->objectName();
        return false;
    }
};

/**
 * What every window suite shares: a scratch copy of the runnable folder, the main window and the
 * error boxes recorded instead of shown. A suite starts it in initTestCase, starts each case in
 * init (Castilian, no error recorded yet) and ends it in cleanupTestCase.
 */
class WindowSuite : public QObject
{
protected:
    void startSuite()
    {
        m_dir = new ScratchAppDir;
        ErrorBox::setRecorder([this](const QString &text) { m_errors << text; });
        openWindow(fichaprincipal);
        QVERIFY(fichaprincipal);
    }
    void startCase(bool castilian = true)
    {
        m_errors.clear();
        setLanguage(castilian);
    }
    void endSuite()
    {
        ErrorBox::setRecorder({});
        Form::destroyAll();
        delete m_dir;
    }
    void setLanguage(bool castilian)
    {
        chooseLanguage(castilian);
        QCOMPARE(ProgramLanguage::current(), rowLanguage(castilian));
    }
    /** Rows for the two languages, in a column named "castilian". */
    static void languages()
    {
        QTest::addColumn<bool>("castilian");
        QTest::newRow("castellano") << true;
        QTest::newRow("valencià") << false;
    }
    static QString suffix(bool castilian) { return QLatin1String(castilian ? "c" : "v"); }

    void menu(const char *item) { fichaprincipal->menuItem(QLatin1String(item))->trigger(); }

    /** Takes a file away for one step; the destructor of the returned guard puts it back. */
    struct Removed
    {
        ScratchAppDir *dir;
        QString name;
        ~Removed() { dir->restore(name); }
    };
    Removed remove(const QString &name)
    {
        QFile::remove(m_dir->filePath(name));
        return Removed { m_dir, name };
    }
    static QString cannotOpen(const QString &name)
    {
        return QStringLiteral("Cannot open file %1.").arg(name);
    }

    ScratchAppDir *m_dir = nullptr;
    QStringList m_errors;
};
