#include "tform18.h"

#include "tform17.h"

#include <QScrollArea>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 4,
        .top = 36,
        .width = 320,
        .height = 401,
        .caption = QStringLiteral("Diagrama de Bloques "),
    };
}

} // namespace

TForm18::TForm18()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form18"));
    // The window keeps its size: a figure larger than the client area is scrolled, not cut.
    m_view = new QScrollArea(client());
    m_view->setGeometry(client()->rect());
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setWidgetResizable(false);
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *canvas = new QWidget;
    canvas->setObjectName(QStringLiteral("canvas"));
    Image1 = new Picture(canvas, { 0, 0, 345, 353 }, PictureMode::Centred);
    Image1->setObjectName(QStringLiteral("Image1"));
    canvas->resize(Image1->size());
    m_view->setWidget(canvas);
    m_view->viewport()->setAutoFillBackground(false);
    canvas->setAutoFillBackground(false);
}

void TForm18::FormCreate()
{
    copyLanguageFlag();
    showFigure(pick(u"dbloqc.bmp", u"dbloqv.bmp"));
    setWindowTitle(pick(u"Diagrama de Bloques", u"Diagrama de Blocs"));
}

void TForm18::FormHide()
{
    closePartner();
}

bool TForm18::showFigure(const QString &fileName)
{
    if (!Image1->loadFromFile(fileName))
        return false;
    Image1->resize(Image1->picture().size());
    m_view->widget()->resize(Image1->size());
    return true;
}
