#include "tpw.h"

#include "accesscode.h"
#include "tevaluacion.h"

#include <QLineEdit>

namespace {

FormDesign formDesign()
{
    return FormDesign {
        .left = 0,
        .top = 0,
        .width = 273,
        .height = 143,
        .caption = QString(),
        .color = QColor(0xc0, 0xc0, 0xc0),
        .frame = FrameKind::Dialog,
        .centred = true,
    };
}

} // namespace

Tpw::Tpw()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("pw"));

    Label1 = new Label(client(), { 16, 14, 233, 13 }, QString(), true);
    Label1->setObjectName(QStringLiteral("Label1"));

    Password = new QLineEdit(client());
    Password->setObjectName(QStringLiteral("Password"));
    Password->setGeometry(16, 32, 233, 21);
    // The code is a secret: it shows as dots.
    Password->setEchoMode(QLineEdit::Password);
    Label1->setBuddy(Password);

    OKBtn = new GlyphButton(client(), { 40, 72, 89, 27 }, QString(), ButtonKind::Ok);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &Tpw::OKBtnClick);
    setDefaultButton(OKBtn);

    CancelBtn = new GlyphButton(client(), { 137, 72, 89, 27 }, QString(), ButtonKind::Cancel);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(CancelBtn, &QPushButton::clicked, this, &Tpw::CancelBtnClick);
    setCancelButton(CancelBtn);

    Password->setFocus();
}

void Tpw::FormCreate()
{
    copyLanguageFlag();
    setWindowTitle(pick(u"Autoevaluación", u"Autoevaluació"));
    Label1->setText(pick(u"Introduzca su clave", u"Introdueixca la seua clau"));
    // The box keeps saying what it asks for, also once the refusal has replaced the prompt.
    Password->setAccessibleName(pick(u"Clave de acceso", u"Clau d'accés"));
    OKBtn->setText(pick(u"Aceptar", u"Acceptar"));
    CancelBtn->setText(pick(u"Cancelar", u"Cancel·lar"));
}

void Tpw::OKBtnClick()
{
    if (!AccessCode::accepts(Password->text())) {
        // The typed code stays in the box for another attempt.
        Label1->setText(pick(u"Clave incorrecta", u"Clau incorrecta"));
        return;
    }
    openWindow(evaluacion);
    close();
}

void Tpw::CancelBtnClick()
{
    close();
}
