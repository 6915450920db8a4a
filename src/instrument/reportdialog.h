#pragma once

#include "labreport.h"
#include "wording.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

/**
 * Asks who hands the report in before it is written: a name, which must be given, and a group, which may
 * be left out, each no longer than the report prints (LabReport::maximumName, maximumGroup).
 */
class ReportDialog : public QDialog
{
    Q_OBJECT

public:
    ReportDialog(QWidget *parent, Language language);

    /** The name and group as typed, made safe to print. */
    ReportAuthor author() const;

    QLineEdit *name() const { return m_name; }
    QLineEdit *group() const { return m_group; }
    QPushButton *acceptButton() const { return m_accept; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    QLineEdit *m_name;
    QLineEdit *m_group;
    QPushButton *m_accept;
    QPushButton *m_cancel;
};
