#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

/**
 * The help viewer: a window of its own that shows a help file at its contents. Links inside the
 * file are followed; nothing outside it is opened. A missing file is reported by the viewer itself.
 */
class HelpViewer : public QWidget
{
    Q_OBJECT

public:
    /** The help file the program ships beside itself, read from the current directory. */
    static QString helpFile();

    /** Shows the contents of a help file in the viewer, opening the viewer if need be. */
    static HelpViewer *showContents(const QString &fileName);

    /** The one viewer, if it has been opened. */
    static HelpViewer *instance();

    QTextBrowser *browser() const { return m_browser; }

private:
    HelpViewer();

    QTextBrowser *m_browser;
};
