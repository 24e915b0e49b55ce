#pragma once

#include "core/pool/programtemplates.h"

#include <QDialog>

class QPlainTextEdit;

namespace tafelbau {

/// "Programmvorlagen": the three templates of the main program that
/// "Programm erzeugen" writes, with what their placeholders stand for.
/// "Eingebaute" puts the built-in ones back into the fields. The widgets
/// carry object names ("program", "procedure", "case", "builtin").
class ProgramTemplatesDialog : public QDialog
{
    Q_OBJECT
public:
    ProgramTemplatesDialog(const ProgramTemplates &templates, QWidget *parent = nullptr);

    ProgramTemplates templates() const;

private:
    void fill(const ProgramTemplates &templates);

    QPlainTextEdit *m_program = nullptr;
    QPlainTextEdit *m_procedure = nullptr;
    QPlainTextEdit *m_case = nullptr;
};

} // namespace tafelbau
