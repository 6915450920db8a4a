#include "helpviewer.h"

#include "datafile.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QPointer<HelpViewer> &viewer()
{
    static QPointer<HelpViewer> current;
    return current;
}
} // namespace

HelpViewer::HelpViewer()
    : QWidget(nullptr, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Vantela: Ayuda / Ajuda"));
    setAttribute(Qt::WA_QuitOnClose, false);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // Only places inside the help file are followed: the browser opens no link by itself.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        if (!url.fragment().isEmpty())
            m_browser->scrollToAnchor(url.fragment());
    });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(620, 460);
}

QString HelpViewer::helpFile()
{
    return QStringLiteral("Ayuda.html");
}

HelpViewer *HelpViewer::instance()
{
    return viewer();
}

HelpViewer *HelpViewer::showContents(const QString &fileName)
{
    if (!viewer())
        viewer() = new HelpViewer;
    QTextBrowser *browser = viewer()->m_browser;
    if (const std::optional<QByteArray> data = DataFile::read(fileName)) {
        browser->setHtml(QString::fromUtf8(*data));
        browser->scrollToAnchor(QStringLiteral("contents"));
    } else {
        // The viewer says so itself, in both languages, as a help viewer does.
        browser->setHtml(QStringLiteral("<h3>Ayuda no disponible / Ajuda no disponible</h3>"
                                        "<p>No se encuentra el archivo de ayuda <b>%1</b>.</p>"
                                        "<p>No es troba el fitxer d'ajuda <b>%1</b>.</p>")
                             .arg(fileName.toHtmlEscaped()));
    }
    viewer()->show();
    viewer()->raise();
    viewer()->activateWindow();
    return viewer();
}
