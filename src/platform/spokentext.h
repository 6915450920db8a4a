#pragma once

#include <QAccessibleTextInterface>
#include <QRect>
#include <QString>

#include <algorithm>

/**
 * The text a screen reader reads of an object whose words are not the ones it shows (a reading in words,
 * a message): read-only, with no caret and nothing to select, and in a language. Qt's AT-SPI bridge passes
 * a language on only this way, as the text attribute "language" (a BCP 47 tag, "es-ES"), which a screen
 * reader may use to choose its voice.
 */
class SpokenText : public QAccessibleTextInterface
{
public:
    /** The words, and the tag of the language they are in. */
    virtual QString spoken() const = 0;
    virtual QString spokenLanguage() const = 0;

    QString text(int startOffset, int endOffset) const override
    {
        const QString words = spoken();
        const qsizetype end = endOffset < 0 ? words.size() : std::min<qsizetype>(endOffset, words.size());
        const qsizetype start = std::clamp<qsizetype>(startOffset, 0, end);
        return words.mid(start, end - start);
    }
    int characterCount() const override { return int(spoken().size()); }
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        const QString language = spokenLanguage();
        return language.isEmpty() ? QString() : QStringLiteral("language:") + language;
    }
    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override { }
};
