#include "labreport.h"

#include "fonts.h"
#include "labfile.h"
#include "taskstrip.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <functional>
#include <memory>

namespace {

/** Print resolution: fine enough for text, and the screen's picture is scaled up smoothly to it. */
constexpr int kDotsPerInch = 300;
/** The page's margins, in millimetres: a printed page's usual 2 cm, more at the left for a binder. */
constexpr QMarginsF kMarginsMm { 25, 20, 20, 20 };
/** How wide the screen's picture is printed, in millimetres: about the size of the real tube's face. */
constexpr double kPictureWidthMm = 80.0;
/** Room between a task's lines and before each task, in points. */
constexpr double kLineGapPt = 3.0;
constexpr double kTaskGapPt = 14.0;
/** Where a task's details stand in from its heading, in millimetres. */
constexpr double kIndentMm = 6.0;

double mm(double millimetres)
{
    return millimetres / 25.4 * kDotsPerInch;
}

double pt(double points)
{
    return points / 72.0 * kDotsPerInch;
}

QFont textFont(int pointSize, bool bold = false)
{
    QFont font(Fonts::family(QStringLiteral("Arial")));
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

/** One thing placed on a page, top to bottom: a paragraph or a picture, with the room it takes. */
struct Block
{
    double height = 0;
    /** Room left above it, unless it opens a page. */
    double gap = 0;
    std::function<void(QPainter &painter, double top)> draw;
};

/**
 * A paragraph wrapped to a width with the writer's own metrics; a leading label may be bold ("Nombre: ").
 * Words too long for a line (a name typed without blanks) break anywhere rather than leave the page.
 */
Block paragraph(const QString &text, const QFont &font, double indent, double width,
    const QPaintDevice *device, qsizetype boldLength = 0, double gap = pt(kLineGapPt))
{
    auto layout = std::make_shared<QTextLayout>(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    if (boldLength > 0) {
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        layout->setFormats({ QTextLayout::FormatRange { 0, int(boldLength), bold } });
    }
    double height = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(width - indent);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout->endLayout();
    return Block { height, gap,
        [layout, indent](QPainter &painter, double top) { layout->draw(&painter, QPointF(indent, top)); } };
}

/** A picture scaled to a printed width, never wider than the text nor taller than a page. */
Block picture(const QImage &image, double indent, double width, double pageHeight)
{
    QSizeF size(std::min(mm(kPictureWidthMm), width - indent), 0);
    size.setHeight(size.width() * image.height() / std::max(1, image.width()));
    if (size.height() > pageHeight)
        size = size * (pageHeight / size.height());
    return Block { size.height(), pt(kLineGapPt * 2), [image, indent, size](QPainter &painter, double top) {
                      painter.setRenderHint(QPainter::SmoothPixmapTransform);
                      painter.drawImage(QRectF(QPointF(indent, top), size), image);
                  } };
}

/** Places blocks down the pages: a group of blocks that does not fit in what is left of a page starts the
 * next one, and so does any block that does not fit on its own. */
class Pages
{
public:
    Pages(QPdfWriter &writer, QPainter &painter)
        : m_writer(writer)
        , m_painter(painter)
    {
    }

    double height() const { return m_writer.height(); }
    /** Starts a new page unless the group fits below what is drawn or the page is still empty. */
    void keepTogether(const QList<Block> &group)
    {
        double needed = 0;
        for (const Block &block : group)
            needed += block.gap + block.height;
        if (m_top > 0 && m_top + needed > height())
            newPage();
    }
    void place(const Block &block)
    {
        if (m_top > 0 && m_top + block.gap + block.height > height())
            newPage();
        if (m_top > 0)
            m_top += block.gap;
        block.draw(m_painter, m_top);
        m_top += block.height;
    }
    void place(const QList<Block> &group)
    {
        keepTogether(group);
        for (const Block &block : group)
            place(block);
    }

private:
    void newPage()
    {
        m_writer.newPage();
        m_top = 0;
    }

    QPdfWriter &m_writer;
    QPainter &m_painter;
    double m_top = 0;
};

QString text(Language language, const char16_t *castilian, const char16_t *valencian)
{
    return textIn(language, castilian, valencian);
}

/** A text of ours or the lab's with its line breaks kept: the layout breaks lines only at U+2028. */
QString withBreaks(QString said)
{
    return said.replace(QLatin1Char('\n'), QChar::LineSeparator);
}

/** A task's blocks: its heading with how it stands, then what was asked and what the student did. */
QList<Block> taskBlocks(const Hm203Task &task, const TaskRecord &record, int index, int count,
    Language language, double width, const QPaintDevice *device, double pageHeight)
{
    const double indent = mm(kIndentMm);
    const QString heading = taskHeading(index, count, language) + QStringLiteral(" — ")
        + (record.met ? text(language, u"cumplida", u"complida")
                      : text(language, u"sin cumplir", u"sense complir"));
    QList<Block> blocks { paragraph(heading, textFont(12, true), 0, width, device, 0, pt(kTaskGapPt)) };
    const auto labelled = [&](const QString &label, const QString &said) {
        blocks << paragraph(
            label + QLatin1Char(' ') + withBreaks(said), textFont(10), indent, width, device, label.size());
    };
    if (task.prediction)
        labelled(text(language, u"Pregunta:", u"Pregunta:"), task.prediction->question.in(language));
    labelled(text(language, u"Objetivo:", u"Objectiu:"), task.goal.in(language));
    for (const TaskRecord::Prediction &prediction : record.predictions)
        labelled(text(language, u"Predicción:", u"Predicció:"),
            QStringLiteral("«%1» — %2")
                .arg(prediction.choice,
                    prediction.correct ? text(language, u"acertada", u"encertada")
                                       : text(language, u"no acertada", u"no encertada")));
    const bool measuring = !task.answerUnit.isEmpty();
    const QString reading = text(language, u"Medida (%1):", u"Mesura (%1):").arg(task.answerUnit);
    for (const TaskRecord::Reading &typed : record.readings)
        labelled(
            reading, QStringLiteral("«%1» — %2").arg(LabReport::cleaned(typed.typed, 80), typed.verdict));
    if (measuring && record.readings.isEmpty())
        blocks << paragraph(
            text(language, u"No se escribió ninguna medida.", u"No es va escriure cap mesura."), textFont(10),
            indent, width, device);
    if (!record.screen.isNull()) {
        blocks << paragraph(
            text(language, u"La pantalla al cumplir la tarea:", u"La pantalla en complir la tasca:"),
            textFont(10), indent, width, device);
        blocks << picture(record.screen, indent, width, pageHeight);
    }
    return blocks;
}

} // namespace

namespace LabReport {

QString cleaned(const QString &typed, qsizetype length)
{
    QString said = typed;
    for (QChar &c : said) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line
            || category == QChar::Separator_Paragraph)
            c = u' ';
    }
    said = said.simplified();
    if (said.size() > length) {
        said.truncate(length);
        // A character outside the basic plane takes two units: none is cut in half.
        if (said.back().isHighSurrogate())
            said.chop(1);
    }
    return said;
}

QByteArray pdf(const Lab &lab, const QList<TaskRecord> &records, const ReportAuthor &author, QDate date,
    Language language)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kDotsPerInch);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, kMarginsMm, QPageLayout::Millimeter));
    const QString title = cleaned(lab.title.in(language), LabLimits::maximumText);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Vantela"));

    QPainter painter(&writer);
    Pages pages(writer, painter);
    const double width = writer.width();

    const auto line = [&](const QString &label, const QString &said) {
        return paragraph(label + QLatin1Char(' ') + said, textFont(11), 0, width, &writer, label.size());
    };
    QList<Block> front {
        paragraph(text(language, u"Informe de la práctica", u"Informe de la pràctica"), textFont(10), 0,
            width, &writer),
        paragraph(title, textFont(18, true), 0, width, &writer),
        line(text(language, u"Fecha:", u"Data:"), date.toString(QStringLiteral("dd/MM/yyyy"))),
        line(text(language, u"Nombre:", u"Nom:"), cleaned(author.name, maximumName)),
    };
    const QString group = cleaned(author.group, maximumGroup);
    if (!group.isEmpty())
        front << line(text(language, u"Grupo:", u"Grup:"), group);
    if (!lab.fileName.isEmpty())
        front << line(
            text(language, u"Archivo:", u"Fitxer:"), cleaned(QFileInfo(lab.fileName).fileName(), 255));

    const int count = int(lab.tasks.size());
    int tried = 0;
    int met = 0;
    for (const TaskRecord &record : records) {
        tried += record.tried;
        met += record.tried && record.met;
    }
    front << paragraph(tried == 0
            ? text(language, u"No se ha abierto ninguna tarea.", u"No s'ha obert cap tasca.")
            : text(language, u"Tareas abiertas: %1 de %2. Cumplidas: %3.",
                u"Tasques obertes: %1 de %2. Complides: %3.")
                  .arg(tried)
                  .arg(count)
                  .arg(met),
        textFont(11), 0, width, &writer, 0, pt(kTaskGapPt));
    pages.place(front);

    for (int i = 0; i < std::min(count, int(records.size())); ++i) {
        if (records.at(i).tried)
            pages.place(taskBlocks(
                lab.tasks.at(i), records.at(i), i, count, language, width, &writer, pages.height()));
    }
    painter.end();
    return bytes;
}

} // namespace LabReport
