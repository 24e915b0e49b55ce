#include "app/qtdialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace tafelbau {

namespace {

QString qs(const std::string &utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// "A (*.tbf)|B (*.*)" is the program's filter form; Qt separates with ";;".
// The program's filters come as "Label|pattern|Label|pattern" (or a lone
// pattern); Qt wants "Label (pattern);;...".
QString qtFilter(const std::string &filter)
{
    const QStringList parts = qs(filter).split(QLatin1Char('|'));
    if (parts.size() < 2)
        return parts.value(0);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &label = parts[i];
        filters << (label.contains(QLatin1Char('(')) ? label : label + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<std::filesystem::path> toPath(const QString &chosen)
{
    if (chosen.isEmpty())
        return std::nullopt;
    return std::filesystem::path(chosen.toStdString());
}

} // namespace

void QtDialogs::showMessage(const std::string &text)
{
    QMessageBox::information(m_parent, QStringLiteral("Tafelbau Meldung"), qs(text));
}

bool QtDialogs::askYesNo(const std::string &title, const std::string &text)
{
    return QMessageBox::question(m_parent, qs(title), qs(text), QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

Answer QtDialogs::askYesNoCancel(const std::string &title, const std::string &text)
{
    const auto b = QMessageBox::question(m_parent, qs(title), qs(text),
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return b == QMessageBox::Yes ? Answer::Yes : b == QMessageBox::No ? Answer::No : Answer::Cancel;
}

std::optional<std::filesystem::path> QtDialogs::chooseOpenFile(const std::string &title,
                                                               const std::filesystem::path &start,
                                                               const std::string &filter)
{
    return toPath(QFileDialog::getOpenFileName(m_parent, qs(title), QString::fromStdString(start.string()),
                                               qtFilter(filter)));
}

std::optional<std::filesystem::path> QtDialogs::chooseSaveFile(const std::string &title,
                                                               const std::filesystem::path &start,
                                                               const std::string &filter)
{
    // The callers ask about overwriting themselves where they want to.
    return toPath(QFileDialog::getSaveFileName(m_parent, qs(title), QString::fromStdString(start.string()),
                                               qtFilter(filter), nullptr, QFileDialog::DontConfirmOverwrite));
}

std::optional<std::uint32_t> QtDialogs::chooseColour(std::uint32_t initial)
{
    const QColor start(static_cast<int>(initial & 0xFF), static_cast<int>((initial >> 8) & 0xFF),
                       static_cast<int>((initial >> 16) & 0xFF));
    const QColor c = QColorDialog::getColor(start, m_parent);
    if (!c.isValid())
        return std::nullopt;
    return static_cast<std::uint32_t>(c.red() + 256 * c.green() + 65536 * c.blue());
}

std::optional<std::string> QtDialogs::inputText(const std::string &title, const std::string &prompt,
                                                const std::string &initial)
{
    bool ok = false;
    const QString s = QInputDialog::getText(m_parent, qs(title), qs(prompt), QLineEdit::Normal, qs(initial), &ok);
    if (!ok)
        return std::nullopt;
    return s.toStdString();
}

} // namespace tafelbau
