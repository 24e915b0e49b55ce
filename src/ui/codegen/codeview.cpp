#include "ui/codegen/codeview.h"

#include "ui/codegen/purebasichighlighter.h"
#include "ui/document/qtconvert.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>

namespace tafelbau {

namespace {

// Control bytes would break a line (CR, LF) or vanish; the Unicode control
// pictures show each for what it is and keep one block per line. Appended in
// place: a first fill puts 50,000 lines into one string.
void appendShownLine(QString &text, std::string_view latin1)
{
    const bool cut = latin1.size() > static_cast<std::size_t>(CodeView::kMaxShownLineLength);
    const std::string_view part = cut ? latin1.substr(0, CodeView::kMaxShownLineLength) : latin1;
    const qsizetype from = text.size();
    if (part.find(kWideMark) != std::string_view::npos)
        text.append(fromLatin1(part));
    else
        text.append(QLatin1StringView(part.data(), static_cast<qsizetype>(part.size())));
    for (auto c = text.begin() + from; c != text.end(); ++c) {
        const char16_t u = c->unicode();
        if (u < 0x20 && u != u'\t')
            *c = QChar(static_cast<char16_t>(0x2400 + u));
        else if (u == 0x7F)
            *c = QChar(u'\u2421');
    }
    if (cut)
        text += QStringLiteral(" \u2026 (%1 Zeichen mehr)").arg(latin1.size() - part.size());
}

// The lines as one text for the document, with a line end before or after
// them where the edit needs one.
QString joined(const std::vector<std::string> &lines, bool endBefore, bool endAfter)
{
    QString text;
    std::size_t size = lines.size() + 1;
    for (const std::string &l : lines)
        size += std::min(l.size(), static_cast<std::size_t>(CodeView::kMaxShownLineLength) + 32);
    text.reserve(static_cast<qsizetype>(size));
    if (endBefore)
        text += QLatin1Char('\n');
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        appendShownLine(text, lines[i]);
    }
    if (endAfter)
        text += QLatin1Char('\n');
    return text;
}

} // namespace

CodeView::CodeView(const GdtList &list, const PoolSettings &settings, QWidget *parent)
    : QDockWidget(QStringLiteral("Code-Vorschau"), parent),
      m_list(list),
      m_settings(settings),
      m_clock([] { return std::time(nullptr); })
{
    setObjectName(QStringLiteral("codeView"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    m_editor = new QPlainTextEdit(this);
    m_editor->setReadOnly(true);
    m_editor->setUndoRedoEnabled(false);
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The keys belong to the gadget list: Ctrl+arrows move gadgets, not the
    // text cursor, whatever was clicked last.
    m_editor->setFocusPolicy(Qt::NoFocus);
    m_editor->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    m_editor->setFont(font);
    m_editor->setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * 4);
    // The colours of the highlighting are chosen for a light page.
    QPalette palette = m_editor->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    m_editor->setPalette(palette);
    m_editor->viewport()->installEventFilter(this);
    m_highlighter = new PureBasicHighlighter(m_editor->document());
    // Lines scrolled into sight get their colours before they are painted.
    connect(m_editor->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (m_editing)
            return;
        colourShownLines();
        showMarksInSight();
    });
    setWidget(m_editor);

    m_minute = new QTimer(this);
    m_minute->setSingleShot(true);
    connect(m_minute, &QTimer::timeout, this, [this] { refreshHead(); });
}

CodeView::~CodeView() = default;

void CodeView::setClock(std::function<std::time_t()> clock)
{
    m_clock = std::move(clock);
}

void CodeView::refresh()
{
    if (!isVisible()) {
        m_behind = true;
        return;
    }
    m_behind = false;
    applyEdits(m_model.update(m_list, m_settings, m_clock()));
    markSelectedGadgets();
    refreshHead();
}

void CodeView::refreshHead()
{
    if (!isVisible())
        return;
    applyEdits(m_model.updateHead(m_settings, m_clock()));
    // Edited lines in sight are coloured now rather than at the next paint,
    // which would have to paint them again.
    colourShownLines();
    const std::time_t now = m_clock();
    m_minute->start(static_cast<int>(60 - now % 60) * 1000 + 100);
}

void CodeView::showEvent(QShowEvent *event)
{
    QDockWidget::showEvent(event);
    // Hidden, the view followed neither the list nor the clock.
    if (m_behind)
        refresh();
    else
        refreshHead();
}

void CodeView::closeEvent(QCloseEvent *event)
{
    event->ignore();
    emit closeRequested();
}

void CodeView::applyEdits(const std::vector<CodeLineEdit> &edits)
{
    const QScopedValueRollback<bool> editing(m_editing, true);
    QTextDocument *doc = m_editor->document();
    QTextCursor cursor(doc);
    // All edits are one change of the document: the layout then forgets
    // only the lines between the first edit and the last, and the
    // highlighter only notes them to be coloured again, both cheap; as
    // changes of their own, the ten thousand line edits of loading another
    // list would each reach the view, and the document would compact its
    // text buffer again and again.
    cursor.beginEditBlock();
    for (const CodeLineEdit &e : edits) {
        const bool some = !e.lines.empty();
        const int blocks = doc->blockCount();
        if (doc->isEmpty() && blocks == 1) {
            cursor.movePosition(QTextCursor::Start);
            cursor.insertText(joined(e.lines, false, false));
        } else if (e.first + e.removed < blocks) {
            cursor.setPosition(doc->findBlockByNumber(e.first).position());
            cursor.setPosition(doc->findBlockByNumber(e.first + e.removed).position(), QTextCursor::KeepAnchor);
            cursor.insertText(some ? joined(e.lines, false, true) : QString());
        } else if (e.first == 0) {
            cursor.select(QTextCursor::Document);
            cursor.insertText(joined(e.lines, false, false));
        } else {
            // Up to the last line: the line end before the edit goes with it.
            const QTextBlock before = doc->findBlockByNumber(e.first - 1);
            cursor.setPosition(before.position() + before.length() - 1);
            cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            cursor.insertText(some ? joined(e.lines, true, false) : QString());
        }
    }
    cursor.endEditBlock();
}

std::pair<int, int> CodeView::linesInSight() const
{
    return {m_editor->cursorForPosition(QPoint(0, 0)).blockNumber(),
            m_editor->cursorForPosition(QPoint(0, m_editor->viewport()->height())).blockNumber()};
}

void CodeView::colourShownLines()
{
    const QTextBlock first = m_editor->cursorForPosition(QPoint(0, 0)).block();
    const QTextBlock last = m_editor->cursorForPosition(QPoint(0, m_editor->viewport()->height())).block();
    m_highlighter->colourBlocks(first, last);
}

void CodeView::markSelectedGadgets()
{
    m_marked = m_model.selectedLines(m_list);
    showMarksInSight();
    std::int32_t lvid = 0;
    for (const GadgetRecord &r : m_list.records())
        if (r.selected) {
            lvid = r.lvid;
            break;
        }
    const LineSpan block = m_model.blockLines(lvid);
    if (block.count == 0)
        return;

    // In the view without a wrapped line, the scroll bar counts lines.
    QScrollBar *bar = m_editor->verticalScrollBar();
    const int shown = std::max(1, m_editor->viewport()->height() / m_editor->fontMetrics().lineSpacing());
    const int top = bar->value();
    const int needed = std::min(block.count, shown);
    if (block.first >= top && block.first + needed <= top + shown)
        return;
    bar->setValue(std::max(0, block.first - shown / 4));
    m_editor->horizontalScrollBar()->setValue(0);
}

void CodeView::showMarksInSight()
{
    // A view's height beyond both ends, so that a small scroll or a taller
    // view finds its marks already there.
    const auto [top, bottom] = linesInSight();
    const int from = top - (bottom - top) - 1;
    const int to = bottom + (bottom - top) + 1;
    QList<QTextEdit::ExtraSelection> marks;
    QTextDocument *doc = m_editor->document();
    auto it = std::partition_point(m_marked.begin(), m_marked.end(),
                                   [from](const LineSpan &s) { return s.first + s.count <= from; });
    for (; it != m_marked.end() && it->first <= to; ++it) {
        const int first = std::max(it->first, from);
        const int last = std::min(it->first + it->count - 1, to);
        QTextEdit::ExtraSelection mark;
        mark.format.setBackground(QColor(0xff, 0xf0, 0xa8));
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        mark.cursor = QTextCursor(doc);
        mark.cursor.setPosition(doc->findBlockByNumber(first).position());
        // To the start of the next line: only a selection that goes on past
        // a line's end is drawn to the edge of the view.
        const QTextBlock end = doc->findBlockByNumber(last);
        mark.cursor.setPosition(std::min(end.position() + end.length(), doc->characterCount() - 1),
                                QTextCursor::KeepAnchor);
        marks.append(mark);
    }
    m_editor->setExtraSelections(marks);
}

std::string CodeView::shownBytes() const
{
    std::string bytes;
    for (QTextBlock b = m_editor->document()->begin(); b.isValid(); b = b.next()) {
        bytes.append(toLatin1(b.text())).append("\r\n");
    }
    return bytes;
}

bool CodeView::eventFilter(QObject *watched, QEvent *event)
{
    // Whatever brought lines into sight (an edit, a taller view, the first
    // showing), they are coloured before the view paints them.
    if (watched == m_editor->viewport() && event->type() == QEvent::Paint)
        colourShownLines();
    if (watched == m_editor->viewport() && event->type() == QEvent::Resize)
        showMarksInSight();
    if (watched == m_editor->viewport()
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint at = mouse->position().toPoint();
        if (mouse->button() != Qt::LeftButton)
            return false;
        if (event->type() == QEvent::MouseButtonPress) {
            m_pressedAt = at;
            return false;
        }
        // A drag selects text to copy; only a click selects the gadget.
        if ((at - m_pressedAt).manhattanLength() > QApplication::startDragDistance())
            return false;
        const QTextCursor cursor = m_editor->cursorForPosition(at);
        const QRect line = m_editor->cursorRect(cursor);
        if (at.y() < line.top() || at.y() > line.bottom())
            return false; // below the last line
        if (const auto lvid = m_model.recordAtLine(cursor.blockNumber()))
            emit gadgetClicked(*lvid);
    }
    return QDockWidget::eventFilter(watched, event);
}

} // namespace tafelbau
