#include "benchbox.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

QAccessibleInterface *benchBoxAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("BenchBox") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Grouping);
    return nullptr;
}

} // namespace

BenchBox::BenchBox(QWidget *parent, const QRect &area, const QString &name)
    : QFrame(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(benchBoxAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setGeometry(area);
    setAccessibleName(name);
}
