#include "screenface.h"

#include <QAccessible>
#include <QAccessibleWidget>

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

QAccessibleInterface *screenAccessible(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("ScreenFace"))
        return new ScreenFaceAccessible(static_cast<ScreenFace *>(object));
    return nullptr;
}

} // namespace

ScreenFace::ScreenFace(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(screenAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("pantalla"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void ScreenFace::setLanguage(Language language)
{
    m_language = language;
}

QString ScreenFace::name() const
{
    return inLanguage(m_language, QStringLiteral("Pantalla del osciloscopio"),
        QStringLiteral("Pantalla de l'oscil\u00b7loscopi"));
}

void ScreenFace::describe(const QString &words, bool news)
{
    if (words == m_words)
        return;
    m_words = words;
    if (!news || m_heard.isNull())
        m_heard = words;
}

QString ScreenFace::untold()
{
    if (m_words == m_heard)
        return QString();
    m_heard = m_words;
    QAccessibleEvent described(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&described);
    return m_words;
}
