#include "form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWindow>

namespace {

QList<Form *> &registry()
{
    static QList<Form *> forms;
    return forms;
}

QPointer<Form> &lastActiveForm()
{
    static QPointer<Form> form;
    return form;
}

QPointer<Form> &mainForm()
{
    static QPointer<Form> form;
    return form;
}

Qt::WindowFlags flagsFor(FrameKind frame)
{
    switch (frame) {
    case FrameKind::Sizeable:
        return Qt::Window;
    case FrameKind::Fixed:
        return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    case FrameKind::Dialog:
        return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    }
    return Qt::Window;
}

} // namespace

Form::Form(const FormDesign &design)
    : QWidget(nullptr, flagsFor(design.frame))
    , m_design(design)
{
    registry().append(this);
    setWindowTitle(design.caption);
    setFont(design.font);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, design.color);
    setPalette(palette);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_client = new QWidget;
    m_client->setObjectName(QStringLiteral("client"));
    if (design.scrollHeight > 0) {
        m_scrollArea = new QScrollArea;
        m_scrollArea->setFrameShape(QFrame::NoFrame);
        m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_scrollArea->setWidgetResizable(false);
        m_scrollArea->setWidget(m_client);
        m_scrollArea->viewport()->setAutoFillBackground(false);
        layout->addWidget(m_scrollArea);
    } else {
        layout->addWidget(m_client);
    }
    applyClientSize();
    move(design.left, design.top);
}

Form::~Form()
{
    registry().removeOne(this);
}

void Form::applyClientSize()
{
    QSize client = m_design.clientSize.isValid() ? m_design.clientSize
                                                 : QSize(m_design.width - 8, m_design.height - 27);
    if (m_scrollArea) {
        const int barWidth = m_scrollArea->verticalScrollBar()->sizeHint().width();
        m_client->setFixedSize(client.width() - barWidth, m_design.scrollHeight);
    }
    if (m_menuBar) {
        // The menu bar is part of the client area; the rest must still hold the controls whole.
        const int below = client.height() - 19;
        client.setHeight(m_menuBar->sizeHint().height() + below);
    }
    if (m_design.frame == FrameKind::Sizeable)
        resize(client);
    else
        setFixedSize(client);
}

void Form::setMenuBar(QMenuBar *menuBar)
{
    m_menuBar = menuBar;
    static_cast<QVBoxLayout *>(layout())->setMenuBar(menuBar);
    applyClientSize();
}

void Form::makeMainWindow()
{
    mainForm() = this;
}

bool Form::isMainWindow() const
{
    return mainForm() == this;
}

void Form::showWindow()
{
    show();
    raise();
    activateWindow();
    // Showing a window makes it the active one at once, so its activation handler runs at its
    // first showing even before the window system reports the activation.
    noteActivated();
}

Form *Form::lastActive()
{
    return lastActiveForm();
}

void Form::noteActivated()
{
    if (lastActiveForm() == this)
        return;
    lastActiveForm() = this;
    FormActivate();
}

bool Form::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        noteActivated();
        break;
    case QEvent::WindowTitleChange:
    case QEvent::Show:
        keepEmptyTitleEmpty();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void Form::keepEmptyTitleEmpty()
{
    // The window system would put the application's name on a window without a title; a blank
    // keeps the title bar as empty as the window's caption.
    if (windowTitle().isEmpty() && windowHandle())
        windowHandle()->setTitle(QStringLiteral(" "));
}

void Form::showEvent(QShowEvent *event)
{
    if (!m_shownBefore && m_design.centred && !event->spontaneous()) {
        if (const QScreen *screen = this->screen()) {
            const QRect area = screen->geometry();
            move(area.x() + (area.width() - m_design.width) / 2,
                area.y() + (area.height() - m_design.height) / 2);
        }
    }
    m_shownBefore = true;
    QWidget::showEvent(event);
}

void Form::closeEvent(QCloseEvent *event)
{
    if (isMainWindow()) {
        event->accept();
        // Ends the message loop, and any box's loop running inside it, at once. A quit request
        // would first ask every other window to close, stop at the first that hides instead, and
        // so leave the program running whenever two or more windows were open.
        QCoreApplication::exit(0);
        return;
    }
    // Closing any other window only hides it; it lives until the program ends.
    event->ignore();
    hide();
}

void Form::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void Form::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto *focused = qobject_cast<QPushButton *>(focusWidget());
        QPushButton *target = focused ? focused : m_defaultButton.data();
        if (target && target->isEnabled() && target->isVisible()) {
            target->animateClick();
            return;
        }
    } else if (event->key() == Qt::Key_Escape) {
        if (m_cancelButton && m_cancelButton->isEnabled() && m_cancelButton->isVisible()) {
            m_cancelButton->animateClick();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void Form::destroyAll()
{
    while (!registry().isEmpty()) {
        Form *form = registry().takeLast();
        form->FormDestroy();
        delete form;
    }
}

QList<Form *> Form::allForms()
{
    return registry();
}
