#pragma once

#include "core/document/dialogs.h"

#include <QString>

class QWidget;

namespace tafelbau {

/// A filter of the program's form ("Label (pattern)|pattern|...") as Qt's
/// file dialogs take it.
QString qtFileFilter(const std::string &filter);

/// Makes Qt's own texts German whatever the user's locale, as every other
/// text of the program is: loads Qt's German translation (qtbase_de) and
/// makes German the default locale. False when the translation is not
/// installed; the question buttons are German even then.
bool installQtGerman();

/// The real dialogs: Qt message boxes, file and colour choosers.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void showMessage(const std::string &text) override;
    bool askYesNo(const std::string &title, const std::string &text) override;
    Answer askYesNoCancel(const std::string &title, const std::string &text) override;
    std::size_t askChoice(const std::string &title, const std::string &text, const std::vector<std::string> &buttons,
                          std::size_t defaultButton, std::size_t escapeButton) override;
    std::optional<std::filesystem::path> chooseOpenFile(const std::string &title, const std::filesystem::path &start,
                                                        const std::string &filter) override;
    std::optional<std::filesystem::path> chooseSaveFile(const std::string &title, const std::filesystem::path &start,
                                                        const std::string &filter) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
    std::optional<std::string> inputText(const std::string &title, const std::string &prompt,
                                         const std::string &initial) override;

private:
    QWidget *m_parent;
};

} // namespace tafelbau
