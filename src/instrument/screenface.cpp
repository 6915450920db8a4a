#include "screenface.h"

#include <QAccessible>
#include <QAccessibleWidget>

/** What the face shows, as a notification named by the words: made to show again, it is spoken wherever
 * the focus is. */
class ScreenNews : public QWidget
{
    Q_OBJECT

public:
    explicit ScreenNews(QWidget *parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }
    QString words;
};

namespace {

class ScreenFaceAccessible : public QAccessibleWidget
{
public:
    explicit ScreenFaceAccessible(ScreenFace *face)
        : QAccessibleWidget(face, QAccessible::Graphic)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const auto *face = static_cast<ScreenFace *>(widget());
        if (t == QAccessible::Name)
            return face->name();
        if (t == QAccessible::Description)
            return face->description();
        return QAccessibleWidget::text(t);
    }
};

class ScreenNewsAccessible : public QAccessibleWidget
{
public:
    explicit ScreenNewsAccessible(ScreenNews *news)
        : QAccessibleWidget(news, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<ScreenNews *>(widget())->words;
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *screenAccessible(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("ScreenFace"))
        return new ScreenFaceAccessible(static_cast<ScreenFace *>(object));
    if (className == QLatin1String("ScreenNews"))
        return new ScreenNewsAccessible(static_cast<ScreenNews *>(object));
    return nullptr;
}

} // namespace

ScreenFace::ScreenFace(QWidget *parent)
    : QWidget(parent)
    , m_news(new ScreenNews(this))
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(screenAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("pantalla"));
    m_news->setObjectName(QStringLiteral("pantallaaviso"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &ScreenFace::announce);
}

void ScreenFace::setCastilian(bool castilian)
{
    m_castilian = castilian;
}

QString ScreenFace::name() const
{
    return m_castilian ? QStringLiteral("Pantalla del osciloscopio")
                       : QStringLiteral("Pantalla de l'oscil\u00b7loscopi");
}

QWidget *ScreenFace::news() const
{
    return m_news;
}

void ScreenFace::describe(const QString &words, bool news)
{
    if (words == m_words)
        return;
    m_words = words;
    if (!news || m_heard.isNull()) {
        m_heard = words;
        m_news->words = words;
        m_settle.stop();
        return;
    }
    // Back to what was last told, before it settled elsewhere, is nothing new.
    if (words == m_heard)
        m_settle.stop();
    else
        m_settle.start();
}

void ScreenFace::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_news->setGeometry(rect());
}

void ScreenFace::announce()
{
    if (m_words == m_heard || !isVisible())
        return;
    m_heard = m_words;
    m_news->words = m_words;
    QAccessibleEvent described(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&described);
    QAccessibleEvent shown(m_news, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

#include "screenface.moc"
