#include "announcedlabel.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

class AnnouncedLabelAccessible : public QAccessibleWidget
{
public:
    explicit AnnouncedLabelAccessible(AnnouncedLabel *label)
        : QAccessibleWidget(label, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<QLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *announcedLabelAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("AnnouncedLabel") && object && object->isWidgetType())
        return new AnnouncedLabelAccessible(static_cast<AnnouncedLabel *>(object));
    return nullptr;
}

} // namespace

AnnouncedLabel::AnnouncedLabel(QWidget *parent)
    : QLabel(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(announcedLabelAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
}

void AnnouncedLabel::announce()
{
    // The bridge speaks a notification that shows itself again, wherever the focus is.
    QAccessibleEvent event(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&event);
}
