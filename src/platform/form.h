#pragma once

#include "fonts.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QWidget>

class QMenuBar;
class QScrollArea;

/** The kinds of window frame the program uses. */
enum class FrameKind {
    Sizeable, ///< ordinary frame the student may resize (the main window)
    Fixed, ///< ordinary frame of fixed size
    Dialog, ///< dialog frame: fixed size, no minimise or maximise box
};

/**
 * The design-time description of a window. Left, Top, Width and Height are the outer frame with
 * the classic frame, whose client area is (Width - 8) x (Height - 27).
 */
struct FormDesign
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QString caption;
    QColor color = Qt::white;
    QFont font = Fonts::standard();
    FrameKind frame = FrameKind::Fixed;
    /** Centred on the screen when first shown, whatever Left and Top say. */
    bool centred = false;
    /** A client area given directly, instead of the one the outer size implies. */
    QSize clientSize = QSize();
    /** Height of the controls when they reach below the client area, which then scrolls. */
    int scrollHeight = 0;
};

/**
 * The base of every window. It lays the window out from its design, gives the window events to
 * the handlers FormCreate, FormActivate, FormHide and FormDestroy, hides the window when it is
 * closed (the main window ends the program instead) and presses the default and cancel buttons
 * for the Enter and Escape keys.
 */
class Form : public QWidget
{
    Q_OBJECT

public:
    explicit Form(const FormDesign &design);
    ~Form() override;

    /** The widget the controls sit on, at their design client coordinates. */
    QWidget *client() const { return m_client; }
    const FormDesign &design() const { return m_design; }

    /** Runs when the window is created, after its window variable names it. */
    virtual void FormCreate() { }
    /** Runs when the window becomes the application's active window after another of its windows was. */
    virtual void FormActivate() { }
    /** Runs whenever the window is hidden. */
    virtual void FormHide() { }
    /** Runs when the application destroys the window at its end. */
    virtual void FormDestroy() { }

    /** The button the Enter key presses. */
    void setDefaultButton(QPushButton *button) { m_defaultButton = button; }
    /** The button the Escape key presses. */
    void setCancelButton(QPushButton *button) { m_cancelButton = button; }
    /** Gives the window a menu bar above its client area (the main window's client includes it). */
    void setMenuBar(QMenuBar *menuBar);

    /** Makes the window the program's main window: closing it ends the program. */
    void makeMainWindow();
    bool isMainWindow() const;

    /** Shows the window non-modally, brings it to the front and activates it. */
    void showWindow();

    /** The window that was last the program's active window; message boxes and menus do not count. */
    static Form *lastActive();

    /**
     * Destroys every window the program created, newest first, shown or hidden. The program calls
     * it once its message loop has ended.
     */
    static void destroyAll();
    /** Every window alive, oldest first. */
    static QList<Form *> allForms();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void noteActivated();
    void keepEmptyTitleEmpty();
    void applyClientSize();

    FormDesign m_design;
    QWidget *m_client = nullptr;
    QScrollArea *m_scrollArea = nullptr;
    QMenuBar *m_menuBar = nullptr;
    QPointer<QPushButton> m_defaultButton;
    QPointer<QPushButton> m_cancelButton;
    bool m_shownBefore = false;
};

/**
 * The open-window operation's first half: creates a new instance, stores it in the class's window
 * variable, then runs its creation handler (which may already reach the window through the variable).
 */
template <class T> T *createWindow(QPointer<T> &variable)
{
    auto *window = new T;
    variable = window;
    window->FormCreate();
    return window;
}

/** The open-window operation: create, store in the window variable, show non-modally. */
template <class T> T *openWindow(QPointer<T> &variable)
{
    T *window = createWindow(variable);
    window->showWindow();
    return window;
}
