#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"

#include <QPointer>

/** The About box: the program's emblem, name, version and credits. */
class TAboutBox : public Form, public LanguageCopy<TAboutBox>
{
    Q_OBJECT

public:
    TAboutBox();

    void FormCreate() override;
    void OKButtonClick();

    Panel *Panel1;
    Picture *ProgramIcon;
    Label *Label1;
    Label *Label5;
    QList<Label *> credits;
    QPushButton *OKButton;
};

/** The newest About box. */
inline QPointer<TAboutBox> AboutBox;
