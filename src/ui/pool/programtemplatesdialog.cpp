#include "ui/pool/programtemplatesdialog.h"

#include "ui/document/qtconvert.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tafelbau {

namespace {

const char kHelp[] = "Programm: [list] Name der Gadgetliste, [include] Code-Datei vom Ordner des Programms aus, "
                     "[procedures] eine Prozedur je Gadget mit Ereignissen, [gadgetcases] und [menucases] ein "
                     "Case je Gadget und je Menüpunkt. Prozedur und Case: [id] die VarID.";

QPlainTextEdit *templateField(const char *name, QWidget *parent)
{
    auto *e = new QPlainTextEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setLineWrapMode(QPlainTextEdit::NoWrap);
    e->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    e->setTabStopDistance(4.0 * e->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    return e;
}

} // namespace

ProgramTemplatesDialog::ProgramTemplatesDialog(const ProgramTemplates &templates, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Programmvorlagen"));
    auto *layout = new QVBoxLayout(this);
    auto *help = new QLabel(QString::fromUtf8(kHelp), this);
    help->setWordWrap(true);
    layout->addWidget(help);
    auto *form = new QFormLayout;
    m_program = templateField("program", this);
    m_procedure = templateField("procedure", this);
    m_case = templateField("case", this);
    form->addRow(QStringLiteral("Programm:"), m_program);
    form->addRow(QStringLiteral("Prozedur:"), m_procedure);
    form->addRow(QStringLiteral("Case:"), m_case);
    layout->addLayout(form, 1);
    m_procedure->setFixedHeight(m_procedure->fontMetrics().lineSpacing() * 5);
    m_case->setFixedHeight(m_case->fontMetrics().lineSpacing() * 4);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    QPushButton *builtIn = buttons->addButton(QStringLiteral("Eingebaute"), QDialogButtonBox::ResetRole);
    builtIn->setObjectName(QStringLiteral("builtin"));
    builtIn->setToolTip(QStringLiteral("Die Vorlagen, die Tafelbau ohne eigene des Pools nimmt"));
    connect(builtIn, &QPushButton::clicked, this, [this] { fill(builtInProgramTemplates()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(720, 560);
    fill(templates);
}

void ProgramTemplatesDialog::fill(const ProgramTemplates &templates)
{
    m_program->setPlainText(multiLineFromLatin1(templates.program));
    m_procedure->setPlainText(multiLineFromLatin1(templates.procedure));
    m_case->setPlainText(multiLineFromLatin1(templates.eventCase));
}

ProgramTemplates ProgramTemplatesDialog::templates() const
{
    return {multiLineToLatin1(m_program->toPlainText()), multiLineToLatin1(m_procedure->toPlainText()),
            multiLineToLatin1(m_case->toPlainText())};
}

} // namespace tafelbau
