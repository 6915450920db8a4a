#include "tform21.h"

#include "tform22.h"

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 59,
        .top = 88,
        .width = 208,
        .height = 349,
        .caption = QStringLiteral("Diagrama de la etapa horizontal"),
    };
}

} // namespace

TForm21::TForm21()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form21"));
    Image1 = new Picture(client(), { 8, 8, 183, 292 }, PictureMode::Centred);
    Image1->setObjectName(QStringLiteral("Image1"));
}

void TForm21::FormCreate()
{
    copyLanguageFlag();
    showFigure(pick(u"ehoriz.bmp", u"ehorizv.bmp"));
    setWindowTitle(pick(u"Diagrama de la etapa horizontal", u"Diagrama de l'etapa horitzontal"));
}

void TForm21::FormHide()
{
    closePartner();
}

bool TForm21::showFigure(const QString &fileName)
{
    if (!Image1->loadFromFile(fileName))
        return false;
    Image1->resize(Image1->picture().size());
    return true;
}
