#pragma once

#include "wording.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QAbstractButton;

/**
 * The program's language, and the one place that tells when it switches. The language is the enabled
 * state of the main window's "Valencià" button: Castilian exactly while that button is enabled, so it can
 * never disagree with what the main window offers. Without a main window (a window tried on its own) the
 * program speaks Castilian.
 */
class ProgramLanguage : public QObject
{
    Q_OBJECT

public:
    /** The one instance every window reads and listens to. */
    static ProgramLanguage &instance();

    /** The language in force now. */
    static Language current();

    /** Names the main window's "Valencià" button, whose enabled state is the language. */
    static void followButton(QAbstractButton *valencianButton);

signals:
    /** The language has switched to another: told once for every switch. */
    void changed(Language language);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ProgramLanguage() = default;
    /** Tells the language when it differs from the one last told. */
    void tell();

    QPointer<QAbstractButton> m_button;
    QMetaObject::Connection m_gone;
    /** The language last told, so that a switch is told once. */
    Language m_told = kFirstLanguage;
};

/**
 * A window class's copy of the program's language, shared by all its instances. Only the class's
 * creation handler takes it; every later handler of any instance reads it, so an open window keeps the
 * language it was created in.
 */
template <class Window> class LanguageCopy
{
public:
    /** The class's copy. */
    static Language language() { return s_language; }

protected:
    static void copyLanguageFlag() { s_language = ProgramLanguage::current(); }

    /** The Castilian or the Valencian text, by the class's copy. */
    static QString pick(const char16_t *castilianText, const char16_t *valencianText)
    {
        return QString::fromUtf16(inLanguage(s_language, castilianText, valencianText));
    }

private:
    static inline Language s_language = kFirstLanguage;
};
