#include "tform15.h"

#include "referencestyle.h"

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 104,
        .top = 33,
        .width = 411,
        .height = 149,
        .caption = QString(),
        .color = ReferenceStyle::litEdgeColour(),
    };
}

} // namespace

TForm15::TForm15()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form15"));
    RichEdit1 = ReferenceStyle::pane(client(), "RichEdit1", { 8, 0, 385, 113 }, design().color);
    // The explanations are sized to their viewer, which still scrolls the rest of a longer one.
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setPlainText(QStringLiteral("\n\n"));
}
