#include "tform16.h"

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 165,
        .top = 97,
        .width = 378,
        .height = 341,
        .caption = QStringLiteral("Diagrama de Bloques"),
    };
}

} // namespace

TForm16::TForm16()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form16"));
    Image1 = new Picture(client(), { 0, 0, 369, 313 }, PictureMode::Plain);
    Image1->setObjectName(QStringLiteral("Image1"));
}

void TForm16::FormCreate()
{
    copyLanguageFlag();
    // The title first: a diagram that cannot be read leaves the window empty under its new title.
    setWindowTitle(pick(u"Diagrama de Bloques", u"Diagrama de blocs"));
    Image1->loadFromFile(pick(u"dbc.bmp", u"dbv.bmp"));
    Image1->setAccessibleName(windowTitle());
}
