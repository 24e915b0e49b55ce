#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace tafelbau {

/// Colours PureBasic code line by line: keywords, strings, comments after
/// ";", "#" constants and numbers. Every line is read on its own, so an edit
/// never makes the lines after it be coloured again.
class PureBasicHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    /// Characters of one line that get colours; the rest of a longer line
    /// stays plain, so a value of megabytes cannot stall the view.
    static constexpr int kMaxColouredLength = 4000;

    enum class Token { Plain, Keyword, String, Comment, Constant, Number };

    explicit PureBasicHighlighter(QTextDocument *document);

    /// The format a kind of word is shown in.
    QTextCharFormat format(Token token) const;

protected:
    void highlightBlock(const QString &text) override;

private:
    QTextCharFormat m_keyword;
    QTextCharFormat m_string;
    QTextCharFormat m_comment;
    QTextCharFormat m_constant;
    QTextCharFormat m_number;
};

} // namespace tafelbau
