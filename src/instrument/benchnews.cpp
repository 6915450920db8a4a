#include "benchnews.h"

#include "spokentext.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

/** A notification named by its message, whose text is the message in its language. */
class BenchNewsAccessible : public QAccessibleWidget, public SpokenText
{
public:
    explicit BenchNewsAccessible(BenchNews *news)
        : QAccessibleWidget(news, QAccessible::Notification)
    {
    }

    BenchNews *news() const { return static_cast<BenchNews *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<SpokenText *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return news()->told();
        return QAccessibleWidget::text(t);
    }

    QString spoken() const override { return news()->told(); }
    QString spokenLanguage() const override { return languageTag(news()->language()); }
};

QAccessibleInterface *benchNewsAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("BenchNews") && object && object->isWidgetType())
        return new BenchNewsAccessible(static_cast<BenchNews *>(object));
    return nullptr;
}

} // namespace

BenchNews::BenchNews(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(benchNewsAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("aviso"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(1, 1);
    m_wait.setSingleShot(true);
    connect(&m_wait, &QTimer::timeout, this, &BenchNews::tell);
}

void BenchNews::addSource(std::function<QString()> untold)
{
    m_sources << std::move(untold);
}

void BenchNews::changed()
{
    m_wait.start(kSettleMs);
}

void BenchNews::asked()
{
    // Something already on its way keeps its longer wait.
    if (!m_wait.isActive() || m_wait.remainingTime() < kAskedMs)
        m_wait.start(kAskedMs);
}

void BenchNews::tell()
{
    if (!isVisible())
        return;
    QStringList parts;
    for (const auto &untold : std::as_const(m_sources)) {
        const QString part = untold().trimmed();
        const bool saidAlready = std::any_of(
            parts.cbegin(), parts.cend(), [&](const QString &said) { return said.contains(part); });
        if (!part.isEmpty() && !saidAlready)
            parts << part;
    }
    if (parts.isEmpty())
        return;
    m_told = parts.join(QLatin1Char(' '));
    // The bridge speaks a notification that shows itself again, wherever the focus is.
    QAccessibleEvent event(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&event);
}
