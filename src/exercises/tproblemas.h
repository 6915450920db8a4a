#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"

#include <QHash>
#include <QList>
#include <QPointer>

class QLineEdit;
class QTabWidget;

/**
 * The problems: seven exercises on traces, one a page, each with its figure, its statement, its
 * answer boxes and a check button. A check shows the verdict in the feedback strip; what the
 * student typed stays for the window's life.
 */
class Tproblemas : public Form, public LanguageCopy<Tproblemas>
{
    Q_OBJECT

public:
    Tproblemas();

    void FormCreate() override;
    void FormActivate() override;

    /** Runs as the page changes: hides the strip, keeps every answer. */
    void problemaChanging();
    /** Judges one problem, 1 to 7, from its boxes and shows the verdict. */
    void checkProblem(int problem);

    /** A control by its name: "cvolt", "BitBtn4", "Label13", "Image7" ... */
    QWidget *control(const QString &name) const { return m_controls.value(name); }
    /** The answer boxes of a problem, 1 to 7 (three for problem 7: amplitude, period, phase). */
    QList<QLineEdit *> answerBoxes(int problem) const;

    QTabWidget *problema;
    QList<QWidget *> pages;
    Panel *Panel1;
    GlyphButton *bcerrar;

private:
    QHash<QString, QWidget *> m_controls;
};

/** The newest problems window. */
inline QPointer<Tproblemas> problemas;
