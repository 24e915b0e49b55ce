#include "ui/app/qtdialogs.h"

#include "ui/document/qtconvert.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTranslator>

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

// The buttons carry their German texts themselves, so a question reads
// "Ja"/"Nein"/"Abbrechen" also where Qt's translation is not installed.
// Standard buttons keep their roles: Escape still answers No or Cancel.
QMessageBox::StandardButton ask(QWidget *parent, const QString &title, const QString &text,
                                QMessageBox::StandardButtons buttons)
{
    QMessageBox box(QMessageBox::Question, title, text, buttons, parent);
    const struct
    {
        QMessageBox::StandardButton button;
        const char *text;
    } german[] = {{QMessageBox::Yes, "&Ja"}, {QMessageBox::No, "&Nein"}, {QMessageBox::Cancel, "Abbrechen"}};
    for (const auto &g : german)
        if (QAbstractButton *b = box.button(g.button))
            b->setText(QString::fromUtf8(g.text));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

bool installQtGerman()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

void QtDialogs::showMessage(const std::string &text)
{
    QMessageBox::information(m_parent, QStringLiteral("Tafelbau Meldung"), fromUtf8(text));
}

bool QtDialogs::askYesNo(const std::string &title, const std::string &text)
{
    return ask(m_parent, fromUtf8(title), fromUtf8(text), QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Answer QtDialogs::askYesNoCancel(const std::string &title, const std::string &text)
{
    const auto b =
        ask(m_parent, fromUtf8(title), fromUtf8(text), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return b == QMessageBox::Yes ? Answer::Yes : b == QMessageBox::No ? Answer::No : Answer::Cancel;
}

std::size_t QtDialogs::askChoice(const std::string &title, const std::string &text,
                                 const std::vector<std::string> &buttons, std::size_t defaultButton,
                                 std::size_t escapeButton)
{
    QMessageBox box(QMessageBox::Question, fromUtf8(title), fromUtf8(text), QMessageBox::NoButton, m_parent);
    std::vector<QPushButton *> added;
    QString keys;
    for (const std::string &b : buttons) {
        // Each button's first letter is its access key unless one before it
        // took that letter already.
        QString caption = fromUtf8(b);
        const QChar key = caption.isEmpty() ? QChar() : caption.front().toLower();
        if (!key.isNull() && !keys.contains(key)) {
            keys += key;
            caption.prepend(QLatin1Char('&'));
        }
        added.push_back(box.addButton(caption, QMessageBox::ActionRole));
    }
    if (defaultButton < added.size())
        box.setDefaultButton(added[defaultButton]);
    // The escape button also answers the box's close button.
    if (escapeButton < added.size())
        box.setEscapeButton(added[escapeButton]);
    box.exec();
    for (std::size_t i = 0; i < added.size(); ++i)
        if (box.clickedButton() == added[i])
            return i;
    return escapeButton;
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
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(fromUtf8(title));
    dialog.setLabelText(fromUtf8(prompt));
    dialog.setTextValue(fromUtf8(initial));
    // As the question buttons: German without Qt's translation too.
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return toUtf8(dialog.textValue());
}

} // namespace tafelbau
