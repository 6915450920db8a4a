#include "reportdialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ReportDialog::ReportDialog(QWidget *parent, Language language)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("datosInforme"));
    setWindowTitle(textIn(language, u"Informe", u"Informe"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(textIn(language, u"El informe lleva tu nombre y, si quieres, tu grupo.",
                                 u"L'informe porta el teu nom i, si vols, el teu grup."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    const auto field = [&](const char *name, qsizetype length, const char16_t *es, const char16_t *va,
                           const char16_t *spokenEs, const char16_t *spokenVa) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setMaxLength(int(length));
        edit->setMinimumWidth(320);
        edit->setAccessibleName(textIn(language, spokenEs, spokenVa));
        form->addRow(textIn(language, es, va), edit);
        return edit;
    };
    m_name = field("nombre", LabReport::maximumName, u"&Nombre:", u"&Nom:", u"Nombre", u"Nom");
    m_group = field("grupo", LabReport::maximumGroup, u"&Grupo (opcional):", u"&Grup (opcional):",
        u"Grupo (opcional)", u"Grup (opcional)");
    layout->addLayout(form);

    auto *buttons = new QDialogButtonBox(this);
    m_accept = buttons->addButton(textIn(language, u"Aceptar", u"Accepta"), QDialogButtonBox::AcceptRole);
    m_accept->setObjectName(QStringLiteral("aceptar"));
    m_cancel = buttons->addButton(textIn(language, u"Cancelar", u"Cancel·la"), QDialogButtonBox::RejectRole);
    m_cancel->setObjectName(QStringLiteral("cancelar"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Without a name there is no report to hand in: Aceptar waits for one (blanks alone are none).
    const auto follow = [this] { m_accept->setEnabled(!author().name.isEmpty()); };
    connect(m_name, &QLineEdit::textChanged, this, follow);
    follow();
    m_accept->setDefault(true);
}

ReportAuthor ReportDialog::author() const
{
    return { LabReport::cleaned(m_name->text(), LabReport::maximumName),
        LabReport::cleaned(m_group->text(), LabReport::maximumGroup) };
}
