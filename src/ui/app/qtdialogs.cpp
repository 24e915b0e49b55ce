#include "ui/app/qtdialogs.h"

#include "ui/document/qtconvert.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace tafelbau {

// "A (*.tbf)|B (*.*)" is the program's filter form; Qt separates with ";;".
// The program's filters come as "Label|pattern|Label|pattern" (or a lone
// pattern); Qt wants "Label (pattern);;...". "*.*" means every file, as it
// does where the filters were made; on Linux it would hide files without a
// dot in their name, so it becomes "*".
QString qtFileFilter(const std::string &filter)
{
    QString text = fromUtf8(filter);
    text.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    const QStringList parts = text.split(QLatin1Char('|'));
    if (parts.size() < 2)
        return parts.value(0);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &label = parts[i];
        filters << (label.contains(QLatin1Char('(')) ? label
                                                     : label + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

std::optional<std::filesystem::path> toPath(const QString &chosen)
{
    if (chosen.isEmpty())
        return std::nullopt;
    return std::filesystem::path(toUtf8(chosen));
}

} // namespace

void QtDialogs::showMessage(const std::string &text)
{
    QMessageBox::information(m_parent, QStringLiteral("Tafelbau Meldung"), fromUtf8(text));
}

bool QtDialogs::askYesNo(const std::string &title, const std::string &text)
{
    return QMessageBox::question(m_parent, fromUtf8(title), fromUtf8(text), QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

Answer QtDialogs::askYesNoCancel(const std::string &title, const std::string &text)
{
    const auto b = QMessageBox::question(m_parent, fromUtf8(title), fromUtf8(text),
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return b == QMessageBox::Yes ? Answer::Yes : b == QMessageBox::No ? Answer::No : Answer::Cancel;
}

std::optional<std::filesystem::path> QtDialogs::chooseOpenFile(const std::string &title,
                                                               const std::filesystem::path &start,
                                                               const std::string &filter)
{
    return toPath(QFileDialog::getOpenFileName(m_parent, fromUtf8(title), fromPath(start), qtFileFilter(filter)));
}

std::optional<std::filesystem::path> QtDialogs::chooseSaveFile(const std::string &title,
                                                               const std::filesystem::path &start,
                                                               const std::string &filter)
{
    // The callers ask about overwriting themselves where they want to.
    return toPath(QFileDialog::getSaveFileName(m_parent, fromUtf8(title), fromPath(start), qtFileFilter(filter), nullptr,
                                               QFileDialog::DontConfirmOverwrite));
}

std::optional<std::uint32_t> QtDialogs::chooseColour(std::uint32_t initial)
{
    const QColor c = QColorDialog::getColor(colourOf(initial), m_parent);
    if (!c.isValid())
        return std::nullopt;
    return colourNumber(c);
}

std::optional<std::string> QtDialogs::inputText(const std::string &title, const std::string &prompt,
                                                const std::string &initial)
{
    bool ok = false;
    const QString s =
        QInputDialog::getText(m_parent, fromUtf8(title), fromUtf8(prompt), QLineEdit::Normal, fromUtf8(initial), &ok);
    if (!ok)
        return std::nullopt;
    return toUtf8(s);
}

} // namespace tafelbau
