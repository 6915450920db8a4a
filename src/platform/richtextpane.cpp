#include "richtextpane.h"

#include "datafile.h"
#include "errorbox.h"
#include "fonts.h"
#include "rtfreader.h"

#include <QEvent>
#include <QFile>
#include <QMimeData>
#include <QPointer>
#include <QTextDocument>

namespace {

// The viewer keeps its text a pixel from its edges, as the system's rich-edit control does.
constexpr int kDocumentMargin = 1;

void prepareDocument(QTextDocument *document, const QFont &font)
{
    document->setDefaultFont(font);
    document->setDocumentMargin(kDocumentMargin);
    document->setUndoRedoEnabled(false);
}

} // namespace

RichTextPane::RichTextPane(QWidget *parent)
    : QTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setAcceptRichText(false);
    setAcceptsTyping(false);
    prepareDocument(document(), font());
}

bool RichTextPane::loadFromFile(const QString &fileName)
{
    const std::optional<QByteArray> data = DataFile::read(fileName);
    if (!data) {
        ErrorBox::cannotOpen(fileName);
        return false;
    }
    // Something that is no rich text at all is refused whole, and the pane keeps what it showed.
    if (!Rtf::looksLikeRtf(*data)) {
        ErrorBox::show(DataFile::invalidRichTextText(fileName));
        return false;
    }
    // Read into a fresh document, so loading replaces everything, images and tab stops included,
    // and the view lays the text out once.
    auto *document = new QTextDocument(this);
    prepareDocument(document, font());
    const Rtf::ReadResult result = Rtf::read(*data, document, &Fonts::family);
    document->setUndoRedoEnabled(!isReadOnly());
    // The view deletes the document it made itself; one loaded earlier is the pane's to delete.
    const QPointer<QTextDocument> old = this->document();
    setDocument(document);
    if (old && old->parent() == this)
        delete old;
    moveCursor(QTextCursor::Start);
    // A text that breaks off shows what could be read, and says so.
    if (!result.complete) {
        ErrorBox::show(DataFile::damagedRichTextText(fileName));
        return false;
    }
    return true;
}

void RichTextPane::setAcceptsTyping(bool accepts)
{
    setReadOnly(!accepts);
    // A read-only pane still lets the reader select and move through the text by keyboard, as
    // screen readers expect.
    setTextInteractionFlags(
        accepts ? Qt::TextEditorInteraction : Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void RichTextPane::setBackgroundColor(const QColor &colour)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
}

void RichTextPane::changeEvent(QEvent *event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        document()->setDefaultFont(font());
}

bool RichTextPane::canInsertFromMimeData(const QMimeData *source) const
{
    // Typing is allowed where the window says so; pasting or dropping pictures is not.
    return !isReadOnly() && source->hasText();
}
