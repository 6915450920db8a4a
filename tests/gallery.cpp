// Pictures of every topic window for the README: each main-menu command that opens windows is run
// in Castilian and in Valencian, and each window it shows is drawn with its two languages side by
// side into FOLDER/<command>.png. Usage: gallery FOLDER (from any folder; it reads the runnable
// folder's data files). scripts/gallery.sh builds and runs it.
#include "studentdriver.h"
#include "testsupport.h"

#include <QApplication>
#include <QPainter>

#include <cstdio>

namespace {

/** The windows a command shows, drawn as the student sees them. */
QList<QImage> shownWindows(const QString &command)
{
    const QList<Form *> before = Form::allForms();
    fichaprincipal->menuItem(command)->trigger();
    QCoreApplication::processEvents();
    QList<QImage> pictures;
    for (Form *form : Form::allForms())
        if (!before.contains(form) && form->isVisible())
            pictures << form->grab().toImage();
    return pictures;
}

/** Pictures in a row, with a little room between them. */
QImage sideBySide(const QList<QImage> &pictures)
{
    constexpr int kGap = 12;
    int width = 0, height = 0;
    for (const QImage &picture : pictures) {
        width += picture.width() + kGap;
        height = std::max(height, picture.height());
    }
    QImage row(std::max(1, width - kGap), std::max(1, height), QImage::Format_RGB32);
    row.fill(QColor(0x3a, 0x6e, 0xa5));
    QPainter painter(&row);
    int x = 0;
    for (const QImage &picture : pictures) {
        painter.drawImage(x, 0, picture);
        x += picture.width() + kGap;
    }
    return row;
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gallery FOLDER\n");
        return 2;
    }
    const QDir out(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
    out.mkpath(QStringLiteral("."));
    ScratchAppDir folder;
    openWindow(fichaprincipal);
    for (const QString &command : StudentDriver::windowCommands()) {
        StudentDriver::setLanguage(false);
        const QList<QImage> castilian = shownWindows(command);
        StudentDriver::setLanguage(true);
        const QList<QImage> valencian = shownWindows(command);
        QList<QImage> rows;
        for (int i = 0; i < std::min(castilian.size(), valencian.size()); ++i)
            rows << sideBySide({ castilian[i], valencian[i] });
        // The windows of one command stand one under the other.
        int width = 0, height = 0;
        for (const QImage &row : rows) {
            width = std::max(width, row.width());
            height += row.height() + 12;
        }
        QImage sheet(std::max(1, width), std::max(1, height - 12), QImage::Format_RGB32);
        sheet.fill(QColor(0x3a, 0x6e, 0xa5));
        QPainter painter(&sheet);
        int y = 0;
        for (const QImage &row : rows) {
            painter.drawImage(0, y, row);
            y += row.height() + 12;
        }
        painter.end();
        const QString path = out.filePath(command + QStringLiteral(".png"));
        sheet.save(path);
        std::printf("%s\n", qPrintable(path));
    }
    Form::destroyAll();
    return 0;
}
