// The code view in the editor window: it shows what a save would write after
// every command, marks and reveals the current gadget, selects a gadget on a
// click, and comes and goes with F9.
#include "core/app/programsettings.h"
#include "core/codegen/codefile.h"
#include "core/commands/selection.h"
#include "ui/app/canvashost.h"
#include "ui/app/editcommands.h"
#include "ui/codegen/codeview.h"
#include "ui/codegen/purebasichighlighter.h"
#include "ui/windowfixture.h"

#include <QAction>
#include <QListView>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTextBlock>
#include <QtTest>

#include <functional>

using namespace tafelbau;

namespace {
constexpr std::time_t kWhen = 1'800'000'000;
}

class CodeViewTest : public QObject, testutil::WindowFixture
{
    Q_OBJECT


    void makeWindow()
    {
        closeWindow();
        m_state.list.clear();
        m_state.settings = readProgramSettings(m_state.settingsFile);
        createWindow();
        m_window->codeView()->setClock([] { return kWhen; });
        scriptInputBox();
        QVERIFY(showWindow(Show::Active));
    }

    CodeView *view() const { return m_window->codeView(); }
    CanvasHost *host() const { return m_window->canvasHost(); }

    /// Drags the separator between the canvas and the view on its right by
    /// `dx` pixels, as the user would: the window moves the separator at its
    /// next turn of the event loop, before the button is let go.
    void dragSeparatorBy(int dx)
    {
        const QRect canvas = m_window->canvasArea()->geometry();
        const QPoint at((canvas.right() + view()->geometry().left()) / 2 + 1, canvas.center().y());
        QTest::mousePress(host(), Qt::LeftButton, {}, at);
        for (int step = 1; step <= 4; ++step) {
            QTest::mouseMove(host(), at + QPoint(dx * step / 4, 0));
            QTest::qWait(10);
        }
        QTest::mouseRelease(host(), Qt::LeftButton, {}, at + QPoint(dx, 0));
    }

    void add(const char *type) { m_window->editCommands()->addGadgetFromPool(type); }

    void selectOnly(int row) { m_window->applyOutcome(selectRows(m_state.list, {{row, row}})); }

    std::string expectedCode() const { return codeFileBytes(m_state.list, m_state.pool.settings, kWhen); }

    /// The screen point of the middle of a line of the view, scrolled into sight.
    QPoint pointOfLine(int line) const
    {
        QPlainTextEdit *editor = view()->editor();
        const QTextCursor at(editor->document()->findBlockByNumber(line));
        editor->verticalScrollBar()->setValue(std::max(0, line - 2));
        return editor->cursorRect(at).center() + QPoint(20, 0);
    }

    void clickLine(int line) { QTest::mouseClick(view()->editor()->viewport(), Qt::LeftButton, {}, pointOfLine(line)); }

    /// The marked lines the view shows now, as spans of line numbers.
    std::vector<LineSpan> markedInSight() const
    {
        std::vector<LineSpan> spans;
        const QTextDocument *doc = view()->editor()->document();
        for (const QTextEdit::ExtraSelection &mark : view()->editor()->extraSelections()) {
            const int first = doc->findBlock(mark.cursor.selectionStart()).blockNumber();
            const int last = doc->findBlock(mark.cursor.selectionEnd() - 1).blockNumber();
            spans.push_back({first, last - first + 1});
        }
        // Only what is in sight counts; marks a little beyond it may be there.
        const int top = view()->editor()->cursorForPosition(QPoint(0, 0)).blockNumber();
        const int bottom =
            view()->editor()->cursorForPosition(QPoint(0, view()->editor()->viewport()->height())).blockNumber();
        std::vector<LineSpan> shown;
        for (const LineSpan &s : spans) {
            const int first = std::max(s.first, top);
            const int last = std::min(s.first + s.count - 1, bottom);
            if (first <= last)
                shown.push_back({first, last - first + 1});
        }
        return shown;
    }

private slots:
    void init()
    {
        begin();
        PoolEntry button;
        button.name = "ButtonGadget";
        button.code = "; [text]\r\nButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\")";
        button.x = 10, button.y = 10, button.xd = 100, button.yd = 25;
        PoolEntry code;
        code.name = "Code", code.code = "If [p0]\r\n\tDebug \"[id]\"\r\nEndIf\r\n", code.dontshow = 1;
        m_state.pool.entries = {button, code};
        m_state.pool.settings.codeComment = ";";
        m_state.pool.settings.codeFileExt = ".pbi";
        makeWindow();
    }

    void cleanup() { end(); }

    // Each command of the window, one after the other, with the view open:
    // its text is the code file's after every one.
    void showsTheCodeFileAfterEveryCommand()
    {
        key(Qt::Key_F9);
        QVERIFY(view()->isVisible());
        QCOMPARE(view()->shownBytes(), expectedCode());

        const std::pair<const char *, std::function<void()>> steps[] = {
            {"add three", [&] { add("ButtonGadget"), add("Code"), add("ButtonGadget"); }},
            {"p0", [&] { m_inputAnswers = {"x > 1"}, selectOnly(1), m_window->propertyList()->setCurrentCell(12, 1),
                         m_window->dispatchGadget(ids::Properties); }},
            {"key move", [&] { selectOnly(0), key(Qt::Key_Right, Qt::ControlModifier); }},
            {"big key move", [&] { key(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier); }},
            {"move down", [&] { m_window->dispatchGadget(ids::MoveDown); }},
            {"indent", [&] { m_window->dispatchGadget(ids::Indent); }},
            {"VarID", [&] { m_inputAnswers = {"Ok"}, m_window->propertyList()->setCurrentCell(1, 1),
                            m_window->dispatchGadget(ids::Properties); }},
            {"text with umlauts", [&] { m_inputAnswers = {"Gr\xF6\xDF" "e \xE4\xFC"},
                                        m_window->propertyList()->setCurrentCell(3, 1),
                                        m_window->dispatchGadget(ids::Properties); }},
            {"copy and paste", [&] { key(Qt::Key_C, Qt::ControlModifier), key(Qt::Key_V, Qt::ControlModifier); }},
            {"delete", [&] { selectOnly(0), key(Qt::Key_Delete); }},
            {"undo", [&] { key(Qt::Key_Z, Qt::ControlModifier); }},
            {"undo again", [&] { key(Qt::Key_Z, Qt::ControlModifier); }},
            {"redo", [&] { key(Qt::Key_Y, Qt::ControlModifier); }},
            {"comment marker", [&] { m_state.pool.settings.codeComment = "//", m_window->dispatchMenu(ids::Save); }},
            {"new", [&] { m_dialogs.yesNoAnswers = {true}, m_window->dispatchMenu(ids::New); }},
        };
        for (const auto &[what, step] : steps) {
            step();
            QVERIFY2(view()->shownBytes() == expectedCode(), what);
        }
    }

    void showsUmlautsAsCharactersAndMarksTheCurrentGadget()
    {
        key(Qt::Key_F9);
        for (int i = 0; i < 60; ++i)
            add("ButtonGadget");
        m_state.list.records()[40].text = "Gr\xF6\xDF" "e";
        selectOnly(40);
        const LineSpan block = view()->model().blockLines(m_state.list.records()[40].lvid);
        QCOMPARE(view()->editor()->document()->findBlockByNumber(block.first).text(), QString::fromUtf8("; Größe"));

        // The marks cover the constant line and the block, and the block is in sight.
        const int constant = view()->model().enumerationLines(m_state.list.records()[40].lvid).first;
        QCOMPARE(view()->markedLines(), (std::vector<LineSpan>{{constant, 1}, block}));
        QCOMPARE(markedInSight(), (std::vector<LineSpan>{block}));
        const int top = view()->editor()->verticalScrollBar()->value();
        QVERIFY2(top <= block.first && block.first < top + 10, qPrintable(QString::number(top)));
        view()->editor()->verticalScrollBar()->setValue(constant);
        QCOMPARE(markedInSight(), (std::vector<LineSpan>{{constant, 1}}));
    }

    // Every selected gadget's lines are marked, the first one's kept in
    // sight; marks come as their lines come into sight, so that thousands of
    // selected gadgets cost what the view shows.
    void marksTheLinesOfEverySelectedGadget()
    {
        key(Qt::Key_F9);
        for (int i = 0; i < 400; ++i)
            add("ButtonGadget");
        const auto &records = m_state.list.records();
        m_window->applyOutcome(selectRows(m_state.list, {{3, 3}, {5, 6}, {300, 300}}));
        const CodeModel &model = view()->model();
        QCOMPARE(view()->markedLines(), model.selectedLines(m_state.list));
        for (int i : {3, 5, 6, 300}) {
            const LineSpan block = model.blockLines(records[static_cast<std::size_t>(i)].lvid);
            view()->editor()->verticalScrollBar()->setValue(block.first);
            const auto shown = markedInSight();
            QVERIFY2(std::any_of(shown.begin(), shown.end(),
                                 [&](const LineSpan &s) {
                                     return s.first <= block.first && block.first + block.count <= s.first + s.count;
                                 }),
                     qPrintable(QString::number(i)));
        }
        view()->editor()->verticalScrollBar()->setValue(model.blockLines(records[100].lvid).first);
        QCOMPARE(markedInSight(), std::vector<LineSpan>{});
        // Every other gadget of 400 selected: the view holds only the marks near what it shows.
        std::vector<std::pair<int, int>> everyOther;
        for (int i = 0; i < 400; i += 2)
            everyOther.emplace_back(i, i);
        m_window->applyOutcome(selectRows(m_state.list, everyOther));
        QCOMPARE(view()->markedLines().size(), std::size_t(400));
        QVERIFY(view()->editor()->extraSelections().size() < 100);
    }

    void clickOnALineSelectsItsGadget()
    {
        key(Qt::Key_F9);
        for (int i = 0; i < 5; ++i)
            add(i == 3 ? "Code" : "ButtonGadget");
        const auto &records = m_state.list.records();
        const int lastLine = view()->model().blockLines(records[3].lvid).first + 2; // "EndIf" of the code gadget
        clickLine(lastLine);
        QVERIFY(records[3].selected);
        QCOMPARE(m_window->propertyList()->item(1, 1)->text(), QStringLiteral("Code1"));
        QCOMPARE(m_window->listView()->selectionModel()->selectedRows().size(), 1);

        clickLine(view()->model().enumerationLines(records[1].lvid).first); // its constant
        QVERIFY(records[1].selected && !records[3].selected);
        clickLine(0); // the header belongs to no gadget
        QVERIFY(records[1].selected);
    }

    // F9 splits the canvas area: the window keeps its width, and the view
    // takes its room from the canvas and gives it back.
    void f9SplitsTheCanvasAreaInsteadOfWideningTheWindow()
    {
        const int windowWidth = m_window->width();
        const int areaWidth = host()->width();
        QCOMPARE(m_window->canvasArea()->width(), areaWidth);
        QAction *entry = m_window->menuAction(ids::ToggleCodeView);
        QVERIFY(!view()->isVisible() && !entry->isChecked());
        key(Qt::Key_F9);
        QVERIFY(view()->isVisible() && entry->isChecked());
        QTRY_COMPARE(view()->width(), areaWidth / 2); // the first time: half the area
        QCOMPARE(m_window->width(), windowWidth);
        QCOMPARE(host()->width(), areaWidth);
        QVERIFY(m_window->canvasArea()->width() + view()->width() <= areaWidth);
        QVERIFY(m_window->canvasArea()->width() + view()->width() > areaWidth - 20); // the separator
        key(Qt::Key_F9);
        QVERIFY(!view()->isVisible() && !entry->isChecked());
        QTRY_COMPARE(m_window->canvasArea()->width(), areaWidth);
        QCOMPARE(m_window->width(), windowWidth);

        // While hidden the view does no work; shown, it catches up.
        add("ButtonGadget");
        QVERIFY(view()->shownBytes() != expectedCode());
        entry->trigger();
        QCOMPARE(view()->shownBytes(), expectedCode());
        // The dock's close button gives the room back like F9.
        view()->close();
        QVERIFY(view()->isHidden() && !entry->isChecked());
        QTRY_COMPARE(m_window->canvasArea()->width(), areaWidth);
        QCOMPARE(m_window->width(), windowWidth);
    }

    // The width the view is dragged to is its own: squeezed by the smallest
    // window it keeps its minimum and the canvas its own, it takes its width
    // back as the window grows, and it comes back with it, and on its side,
    // at the next start.
    void theViewKeepsTheWidthItWasDraggedTo()
    {
        key(Qt::Key_F9);
        QTRY_COMPARE(view()->width(), host()->width() / 2);
        dragSeparatorBy(view()->width() - 500);
        QTRY_COMPARE(view()->width(), 500);
        QCOMPARE(m_state.settings.view.codeViewWidth, 500);

        m_window->setInnerSize(400, 300); // snaps to 800 x 575
        QTRY_COMPARE(host()->width(), 570);
        QVERIFY(view()->width() >= host()->codeViewMinimum());
        QVERIFY(m_window->canvasArea()->width() >= host()->canvasMinimum());
        QVERIFY(view()->width() < 500);
        m_window->setInnerSize(1400, 575);
        QTRY_COMPARE(view()->width(), 500);
        QTRY_COMPARE(m_window->canvasArea()->width() > 500, true);

        // Kept at quit, and only once it was switched on.
        m_window->close();
        QVERIFY(readProgramSettings(m_state.settingsFile).view.codeView);
        QCOMPARE(readProgramSettings(m_state.settingsFile).view.codeViewWidth, 500);
        makeWindow();
        QVERIFY(view()->isVisible() && m_window->menuAction(ids::ToggleCodeView)->isChecked());
        QTRY_COMPARE(view()->width(), 500);
        QCOMPARE(m_window->width(), 1400);
        // And the side it was docked on.
        host()->addDockWidget(Qt::LeftDockWidgetArea, view());
        m_window->close();
        makeWindow();
        QCOMPARE(host()->dockWidgetArea(view()), Qt::LeftDockWidgetArea);
        QTRY_VERIFY(view()->geometry().right() < m_window->canvasArea()->geometry().left());
        key(Qt::Key_F9);
        m_window->close();
        QVERIFY(!readProgramSettings(m_state.settingsFile).view.codeView);
    }

    // Which characters get which colour, one mark per character: k keyword,
    // s string, c comment, # constant, n number, . plain.
    void highlighterColoursEachKindOfWord_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("marks");
        QTest::newRow("keyword, comment") << "If x ; \"no string\"" << "kk...ccccccccccccc";
        QTest::newRow("string, comment") << "Debug \"a;b\" ;c" << "kkkkk.sssss.cc";
        QTest::newRow("open string") << "t(\"ab" << "..sss";
        QTest::newRow("constants") << "#PB_A|#Null #" << "#####.#####..";
        QTest::newRow("numbers") << "x1 = 10*s + $fF - 2.5" << ".....nn.....nnn...nnn";
        QTest::newRow("any case, whole words") << "ENDIF Endifs elseIf" << "kkkkk........kkkkkk";
        QTest::newRow("umlaut in a word") << "Gr\u00F6sseIf 1" << ".........n";
    }

    void highlighterColoursEachKindOfWord()
    {
        QFETCH(QString, line);
        QTextDocument doc;
        doc.setDocumentLayout(new QPlainTextDocumentLayout(&doc)); // as in the view: edits reach the highlighter
        PureBasicHighlighter highlighter(&doc);
        QTextCursor(&doc).insertText(line); // as the view puts lines in
        highlighter.colourBlocks(doc.firstBlock(), doc.firstBlock());
        const std::pair<PureBasicHighlighter::Token, QChar> kinds[] = {
            {PureBasicHighlighter::Token::Keyword, 'k'}, {PureBasicHighlighter::Token::String, 's'},
            {PureBasicHighlighter::Token::Comment, 'c'}, {PureBasicHighlighter::Token::Constant, '#'},
            {PureBasicHighlighter::Token::Number, 'n'}};
        QString marks(line.size(), QLatin1Char('.'));
        for (const QTextLayout::FormatRange &range : doc.firstBlock().layout()->formats())
            for (const auto &[token, mark] : kinds)
                if (range.format == highlighter.format(token))
                    marks.replace(range.start, range.length, QString(range.length, mark));
        QTEST(marks, "marks");
    }

    // Only the lines in sight are coloured; one scrolled to late, or edited
    // while in sight, has the colours of the same line coloured at once.
    void linesGetTheirColoursWhenTheyComeIntoSight()
    {
        for (int i = 0; i < 150; ++i)
            add("ButtonGadget");
        selectOnly(0);
        key(Qt::Key_F9); // shows the first gadget's lines, far from the last
        const QTextDocument *doc = view()->editor()->document();
        const auto line = [&](int record) {
            return doc->findBlockByNumber(view()->model().blockLines(m_state.list.records()[record].lvid).first + 1);
        };
        const QTextBlock last = line(149);
        QVERIFY(!PureBasicHighlighter::isColoured(last));

        auto colouredAtOnce = [](const QString &text) {
            QTextDocument eager;
            eager.setDocumentLayout(new QPlainTextDocumentLayout(&eager));
            QTextCursor(&eager).insertText(text);
            PureBasicHighlighter highlighter(&eager);
            highlighter.rehighlight(); // the base class's colouring of every line
            return eager.firstBlock().layout()->formats();
        };
        QScrollBar *bar = view()->editor()->verticalScrollBar();
        bar->setValue(bar->maximum());
        QVERIFY(!last.layout()->formats().isEmpty());
        QCOMPARE(last.layout()->formats(), colouredAtOnce(last.text()));

        selectOnly(0); // back in sight, then moved
        key(Qt::Key_Right, Qt::ControlModifier);
        const QTextBlock moved = line(0);
        QVERIFY(moved.text().startsWith(QStringLiteral("ButtonGadget(#ButtonGadget1, 15*")));
        QCOMPARE(moved.layout()->formats(), colouredAtOnce(moved.text()));
    }

    // Values no user would type but a hand-edited list may hold: the view
    // keeps one line per code line and stays quick.
    void badValuesKeepTheLinesInStep()
    {
        key(Qt::Key_F9);
        add("ButtonGadget");
        add("ButtonGadget");
        GadgetRecord &r = m_state.list.records()[0];
        r.text = std::string(3'000'000, 'x') + "\ry\n" + std::string(1, '\0') + "\x1F";
        r.tab = 1'000'000;
        selectOnly(1);
        QCOMPARE(view()->editor()->document()->blockCount(), view()->model().lineCount());
        const QString comment = view()->editor()->document()->findBlockByNumber(
            view()->model().blockLines(r.lvid).first).text();
        QVERIFY(comment.size() < CodeView::kMaxShownLineLength + 100);
        QVERIFY(comment.endsWith(QStringLiteral(" Zeichen mehr)")));
        clickLine(view()->model().blockLines(m_state.list.records()[1].lvid).first);
        QVERIFY(m_state.list.records()[1].selected);
    }
};

int main(int argc, char **argv)
{
    // The offscreen screen is 800 pixels wide unless told otherwise, less
    // than the window alone; the dock wants a screen with room beside it.
    testutil::TempDir screen;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        testutil::writeFile(screen / "screen.json",
                            R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1920, "height": 1080,)"
                            R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + (screen / "screen.json").c_str());
    }
    QApplication app(argc, argv);
    CodeViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "codeview_test.moc"
