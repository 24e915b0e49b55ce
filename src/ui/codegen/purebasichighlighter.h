#pragma once

#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCharFormat>

namespace tafelbau {

/// Colours PureBasic code line by line: keywords, strings, comments after
/// ";", "#" constants and numbers. Every line is read on its own, so an edit
/// never makes the lines after it be coloured again.
///
/// Lines are coloured when asked for (colourBlocks), not when they come into
/// the document: a code file of 50,000 lines is put in at once, and only the
/// page in sight needs its colours. A line an edit touches loses them until
/// it is asked for again.
class PureBasicHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    /// Characters of one line that get colours; the rest of a longer line
    /// stays plain, so a value of megabytes cannot stall the view.
    static constexpr int kMaxColouredLength = 4000;

    enum class Token { Plain, Keyword, String, Comment, Constant, Number };

    explicit PureBasicHighlighter(QTextDocument *document);
    ~PureBasicHighlighter() override;

    /// The format a kind of word is shown in.
    QTextCharFormat format(Token token) const;

    /// Colours the blocks from `first` to `last` (both included) that are
    /// not coloured yet; an invalid `last` means the end of the document.
    void colourBlocks(QTextBlock first, const QTextBlock &last);
    static bool isColoured(const QTextBlock &block);

protected:
    void highlightBlock(const QString &text) override;

private:
    void forget(int from, int removed, int added);

    bool m_colouring = false;
    QTextCharFormat m_keyword;
    QTextCharFormat m_string;
    QTextCharFormat m_comment;
    QTextCharFormat m_constant;
    QTextCharFormat m_number;
};

} // namespace tafelbau
