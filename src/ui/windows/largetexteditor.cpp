#include "ui/windows/largetexteditor.h"

#include "core/commands/wraptext.h"
#include "core/document/displayscale.h"
#include "core/document/latin1.h"
#include "core/document/listfile.h"
#include "ui/document/qtconvert.h"
#include "ui/document/widgetgeometry.h"
#include "ui/windows/windowlayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTextDocument>

#include <algorithm>

namespace tafelbau {

namespace {

constexpr int kWindow = 1;
enum Gadget { TopLabel = 1, TextArea, CodeLabel, CodeField, WrapButton, WidthField, OkButton, CancelButton };

} // namespace

LargeTextEditor::LargeTextEditor(const std::string &latin1Text, const std::string &lineBreakCode, int wrapWidth,
                                 float scale, QWidget *parent)
    : QDialog(parent), m_lineBreakCode(lineBreakCode)
{
    setWindowTitle(QStringLiteral("Umfangreiche Texteingabe"));
    setFont(dialogFont(font()));
    auto place = [&](int number, QWidget *w, int x, int y, int width, int height) {
        placeScaled(w, scale, x, y, width, height);
        // A caption a pixel or two wider than in the font the sizes were made
        // for would lose its last letter.
        if (qobject_cast<QLabel *>(w))
            w->resize(std::max(w->width(), w->sizeHint().width()), w->height());
        m_gadgets[number] = w;
        // Below the text area everything moves down as the window grows.
        m_layout.anchorGadget(number == TextArea       ? "RU"
                                  : number == TopLabel ? ""
                                                       : "O",
                              kWindow, number, w->x(), w->y(), w->width(), w->height());
    };

    place(TopLabel, new QLabel(QString::fromUtf8("Hier kann man einen grösseren Text eingeben:"), this), 5, 5, 225, 15);
    m_text = new QPlainTextEdit(this);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    place(TextArea, m_text, 5, 20, 690, 225);

    place(CodeLabel, new QLabel(QString::fromUtf8("Zeilensprünge werden durch Code ersetzt:"), this), 5, 249, 225, 15);
    m_code = new QLineEdit(fromLatin1(lineBreakCode), this);
    m_code->setReadOnly(true);
    m_code->setToolTip(QString::fromUtf8("Kann im Gadget-Pool geändert werden..."));
    place(CodeField, m_code, 235, 249, 160, 20);

    m_wrap = new QPushButton(QStringLiteral("Umbrechen:"), this);
    m_wrap->setToolTip(QStringLiteral("Bricht den ganzen Text um - alle CR werden erst entfernt!"));
    place(WrapButton, m_wrap, 470, 249, 65, 20);
    m_width = new QLineEdit(QString::number(wrapWidth == 0 ? 50 : wrapWidth), this);
    m_width->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_width));
    place(WidthField, m_width, 540, 249, 30, 20);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    place(OkButton, m_ok, 5, 274, 60, 20);
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    place(CancelButton, m_cancel, 75, 274, 60, 20);
    // Return in the width field or the text area must not end the editor.
    for (QPushButton *b : {m_wrap, m_ok, m_cancel})
        b->setAutoDefault(false);

    connect(m_wrap, &QPushButton::clicked, this, &LargeTextEditor::wrap);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    const int width = scaledPixels(700, scale);
    const int height = scaledPixels(300, scale);
    m_layout.setLayoutRule(kWindow, LayoutRules::kWholeWindow, std::nullopt, std::nullopt, width, height);
    setMinimumSize(width, height);
    resize(width, height);

    setContent(lineBreakCode.empty() ? latin1Text : replaceAll(latin1Text, lineBreakCode, "\r\n"));
    m_text->setFocus();
}

std::string LargeTextEditor::content() const
{
    // The raw text keeps no-break spaces, which toPlainText() turns into
    // blanks; a caption may hold them on purpose.
    QString text = m_text->document()->toRawText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (QChar breakChar : {QChar(QChar::ParagraphSeparator), QChar(QChar::LineSeparator), QChar(u'\r')})
        text.replace(breakChar, QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return toLatin1(text);
}

void LargeTextEditor::setContent(const std::string &latin1Crlf)
{
    m_text->setPlainText(fromLatin1(latin1Crlf));
}

std::string LargeTextEditor::text() const
{
    return withLineBreakCode(content(), m_lineBreakCode);
}

int LargeTextEditor::wrapWidth() const
{
    return parseWholeNumber(toLatin1(m_width->text()));
}

void LargeTextEditor::wrap()
{
    setContent(wrapText(content(), wrapWidth()));
}

void LargeTextEditor::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    applyLayoutRules(m_layout, kWindow, size(), m_gadgets);
}

bool editLargeText(GadgetRecord &record, const PoolSettings &pool, LargeTextSession &session, QWidget *parent,
                   float scale)
{
    LargeTextEditor editor(record.text, pool.crSep, session.wrapWidth, scale, parent);
    const bool accepted = editor.exec() == QDialog::Accepted;
    session.wrapWidth = editor.wrapWidth();
    if (accepted)
        record.text = editor.text();
    return accepted;
}

} // namespace tafelbau
