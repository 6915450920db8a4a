#include "tform10.h"

#include "tform11.h"

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 14,
        .top = 98,
        .width = 236,
        .height = 325,
        .caption = QString(),
    };
}

} // namespace

Tform10::Tform10()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("form10"));
    pantalla = new Picture(client(), { 16, 56, 193, 161 }, PictureMode::Plain);
    pantalla->setObjectName(QStringLiteral("pantalla"));
}

void Tform10::FormCreate()
{
    setWindowTitle(QString());
    pantalla->loadFromFile(QStringLiteral("papag.bmp"));
}

void Tform10::FormHide()
{
    // The pair goes together: hiding the screen closes its texts window.
    closePartner();
}
