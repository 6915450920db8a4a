// Pictures of every topic window for the README: each main-menu command that opens windows is run
// in Castilian and in Valencian, and each window it shows is drawn with its two languages side by
// side into FOLDER/<command>.png. Usage: gallery FOLDER (from any folder; it reads the runnable
// folder's data files). scripts/gallery.sh builds and runs it. Then the virtual oscilloscope's screen
// in the states a student meets on the first day, into FOLDER/../screens/<state>.png.
#include "livepanel.h"
#include "studentdriver.h"
#include "testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>

#include <cstdio>
#include <functional>

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

/** A state of the virtual oscilloscope to show, and how long to let it run first. */
struct ScreenState
{
    const char *name;
    std::function<void(LivePanel &)> set;
    int runMs = 0;
};

void generatorTo(LivePanel &panel, const std::function<void(GeneratorSettings &)> &change)
{
    GeneratorSettings g = panel.scope().generator();
    change(g);
    panel.setGenerator(g);
}

void squares(LivePanel &panel, double phaseDegrees)
{
    generatorTo(panel, [phaseDegrees](GeneratorSettings &g) {
        g.waveform = Waveform::Square;
        g.amplitudeIIVpp = 4.0;
        g.phaseIIDegrees = phaseDegrees;
    });
    panel.setControlValue(Hm203Control::VoltsDivII, Hm203::voltsDivPosition(1.0));
    panel.setControlValue(Hm203Control::XY, 1);
}

/** The screen in each state, as the panel draws it, into the folder. */
void drawScreens(const QDir &out)
{
    using C = Hm203Control;
    const QList<ScreenState> states {
        { "opening", [](LivePanel &) {} },
        { "square-0.2ms",
            [](LivePanel &p) {
                generatorTo(p, [](GeneratorSettings &g) { g.waveform = Waveform::Square; });
            } },
        { "xy-squares-in-phase", [](LivePanel &p) { squares(p, 0.0); } },
        { "xy-squares-in-quadrature", [](LivePanel &p) { squares(p, 90.0); } },
        // A division above the centre line, where the graticule does not hide it.
        { "fast-sweep",
            [](LivePanel &p) {
                p.setControlValue(C::TimeDiv, Hm203::timeDivPosition(0.5e-6));
                p.setControlValue(C::YPositionI, 10);
            } },
        { "fast-sweep-intens-up",
            [](LivePanel &p) {
                p.setControlValue(C::TimeDiv, Hm203::timeDivPosition(0.5e-6));
                p.setControlValue(C::YPositionI, 10);
                p.setControlValue(C::Intensity, 100);
            } },
        { "slow-sweep-0.2s", [](LivePanel &p) { p.setControlValue(C::TimeDiv, Hm203::timeDivPosition(0.2)); },
            1000 },
        { "slow-sweep-0.2s-gd",
            [](LivePanel &p) {
                p.setControlValue(C::TimeDiv, Hm203::timeDivPosition(0.2));
                p.setControlValue(C::GroundI, 1);
            },
            1000 },
        { "dual-alternate-50ms",
            [](LivePanel &p) {
                p.setControlValue(C::Dual, 1);
                p.setControlValue(C::TimeDiv, Hm203::timeDivPosition(50e-3));
            },
            300 },
        { "dual-alternate-50ms-next",
            [](LivePanel &p) {
                p.setControlValue(C::Dual, 1);
                p.setControlValue(C::TimeDiv, Hm203::timeDivPosition(50e-3));
            },
            875 },
        { "running", [](LivePanel &p) { p.setControlValue(C::TriggerCoupling, 2); }, 200 },
        { "defocused", [](LivePanel &p) { p.setControlValue(C::Focus, 12); } },
    };
    out.mkpath(QStringLiteral("."));
    for (const ScreenState &state : states) {
        LivePanel panel(nullptr, 1.75);
        panel.show();
        state.set(panel);
        panel.advanceFrame();
        QElapsedTimer running;
        running.start();
        while (running.elapsed() < state.runMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        panel.advanceFrame();
        const QString path = out.filePath(QString::fromLatin1(state.name) + QStringLiteral(".png"));
        panel.grab(panel.screenRect()).save(path);
        std::printf("%s\n", qPrintable(path));
    }
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
    drawScreens(QDir(out.absoluteFilePath(QStringLiteral("../screens"))));
    return 0;
}
