#pragma once

#include <QTextEdit>

/**
 * The read-only rich-text viewer of the reading windows: borderless, showing an RTF file read by
 * the program's own reader. The window gives it its background (the palette's Base colour, or
 * setBackgroundColor), its default font (for text the file leaves unspecified) and its vertical
 * scroll bar policy. Nothing in a file is ever followed or run.
 */
class RichTextPane : public QTextEdit
{
    Q_OBJECT

public:
    explicit RichTextPane(QWidget *parent = nullptr);

    /**
     * Reads an RTF file by bare name from the current directory and replaces the whole content.
     * On a missing or unreadable file calls ErrorBox::cannotOpen(fileName), keeps the old content
     * and returns false.
     */
    bool loadFromFile(const QString &fileName);

    /** A pane that accepts typing lets the student type; nothing typed is ever stored. */
    void setAcceptsTyping(bool accepts);

    /** Paints the pane's background in the colour, as the window's design gives it. */
    void setBackgroundColor(const QColor &colour);

protected:
    void changeEvent(QEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
};
