#include "errorbox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
std::function<void(const QString &)> &recorder()
{
    static std::function<void(const QString &)> current;
    return current;
}
} // namespace

namespace ErrorBox {

void show(const QString &text)
{
    if (recorder()) {
        recorder()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Vantela"), text, QMessageBox::Ok,
        QApplication::activeWindow());
    box.exec();
}

QString cannotOpenText(const QString &fileName)
{
    return QStringLiteral("Cannot open file %1.").arg(fileName);
}

void cannotOpen(const QString &fileName)
{
    show(cannotOpenText(fileName));
}

void setRecorder(std::function<void(const QString &)> newRecorder)
{
    recorder() = std::move(newRecorder);
}

} // namespace ErrorBox
