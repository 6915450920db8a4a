#include "tform20.h"

#include "referencestyle.h"
#include "tform19.h"

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 1,
        .top = 3,
        .width = 354,
        .height = 449,
        .caption = QString(),
    };
}

} // namespace

TForm20::TForm20()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form20"));
    Image1 = new Picture(client(), { 0, 16, 345, 153 }, PictureMode::Centred);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image2 = new Picture(client(), { 40, 200, 265, 217 }, PictureMode::Centred);
    Image2->setObjectName(QStringLiteral("Image2"));
    Label1 = ReferenceStyle::heading(
        client(), "Label1", { 40, 0, 264, 17 }, QStringLiteral("Diagrama de bloques de la etapa vertical"));
    // Keeps its left edge even with the blanks of the circuit's column headings.
    Label1->setTextFormat(Qt::PlainText);
    Label2
        = ReferenceStyle::heading(client(), "Label2", { 128, 184, 87, 17 }, QStringLiteral("Panel Frontal"));
    Label2->setAttribute(Qt::WA_TranslucentBackground);
}

void TForm20::FormCreate()
{
    copyLanguageFlag();
    Label1->setText(
        pick(u"Diagrama de bloques de la etapa vertical", u"Diagrama de blocs de l'etapa vertical"));
}

void TForm20::FormActivate()
{
    // Every return to the window puts the default figures back; the heading keeps its text.
    if (!Image2->loadFromFile(QStringLiteral("panel.bmp")))
        return;
    if (!Image1->loadFromFile(pick(u"evertc.bmp", u"evertv.bmp")))
        return;
    setWindowTitle(QString());
}

void TForm20::FormHide()
{
    closePartner();
}
