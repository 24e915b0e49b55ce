// The info window, the help launch and the large-text editor, driven as a
// user would; the modal entry points are answered from a timer.
#include "scripteddialogs.h"
#include "testutil.h"
#include "ui/windows/help.h"
#include "ui/windows/infowindow.h"
#include "ui/windows/largetexteditor.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace tafelbau;

namespace {

const std::string kCode = "\"+#CRLF$+\""; // the default pool's line-break code

/// How the large-text editor is left.
enum End { Ok, Cancel, CloseBox };

/// Runs `act` on the modal window of type W once its loop is running; a
/// window that stays open is rejected after a few seconds so no test hangs.
template<typename W>
void whenModal(std::function<void(W *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *w = qobject_cast<W *>(QApplication::activeModalWidget());
        if (!w) {
            if (auto *other = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                other->reject();
            QFAIL("no modal window of the expected kind");
        }
        // Dies with the window, so it never reaches a later test's window.
        QTimer::singleShot(5000, w, [w] { w->reject(); });
        act(w);
    });
}

std::string infoFileText()
{
    return testutil::readFile(std::filesystem::path(TAFELBAU_SOURCE_DIR) / "data" / "info.txt");
}

QString lines(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

/// The text area's content with line breaks as "\n" and no-break spaces
/// left as they are, which toPlainText() would not do.
QString shownText(const QPlainTextEdit *area)
{
    return area->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

/// The window title, then the text of every label, button and one-line
/// field and every tooltip, in the order the widgets were made.
QStringList captions(const QWidget &window)
{
    QStringList out{window.windowTitle()};
    for (const QWidget *w : window.findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<const QLabel *>(w))
            out << label->text();
        else if (auto *button = qobject_cast<const QPushButton *>(w))
            out << button->text();
        else if (auto *field = qobject_cast<const QLineEdit *>(w))
            out << field->text();
        if (!w->toolTip().isEmpty())
            out << w->toolTip();
    }
    return out;
}

} // namespace

class AuxWindowsTest : public QObject
{
    Q_OBJECT

    testutil::ScriptedDialogs m_dialogs;

private slots:
    void init() { m_dialogs = {}; }

    // --- info window ---------------------------------------------------------

    void infoWindowGeometryRoundsHalvesToEven_data()
    {
        QTest::addColumn<float>("scale");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("text");
        QTest::addColumn<QRect>("ok");
        QTest::newRow("1") << 1.0f << QSize(400, 300) << QRect(5, 5, 390, 255) << QRect(155, 270, 80, 20);
        QTest::newRow("1.5") << 1.5f << QSize(600, 450) << QRect(8, 8, 585, 382) << QRect(232, 405, 120, 30);
    }

    void infoWindowGeometryRoundsHalvesToEven()
    {
        QFETCH(float, scale);
        InfoSession session;
        InfoWindow window(session, scale);
        QCOMPARE(window.windowTitle(), QStringLiteral(" Tafelbau 0.583"));
        QTEST(window.size(), "window");
        QTEST(window.textField()->geometry(), "text");
        QTEST(window.okButton()->geometry(), "ok");
    }

    void damagedInfoDataGivesTheMessageAndAnEmptyWindow()
    {
        InfoSession session;
        InfoWindow window(session, 1.0f);
        std::vector<unsigned char> damaged(builtInInfoData().begin(), builtInInfoData().end());
        damaged[damaged.size() / 3] ^= 0xA5;
        window.showInfoText(m_dialogs, damaged);
        QCOMPARE(m_dialogs.takeCalls(),
                 std::vector<std::string>{"message: Fehler in _Info() beim Entpacken der Infodaten!"});
        QCOMPARE(window.textField()->toPlainText(), QString());

        window.show();
        QTest::mouseClick(window.okButton(), Qt::LeftButton);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(!window.isVisible());
    }

    void infoCommandShowsTheTextAndRemembersTheSizeButNeverShrinksTheWindow()
    {
        // The whole text, its line breaks as lines, read-only and wrapped at the field's width.
        const std::string file = infoFileText();
        const QString want =
            QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size())).replace("\r\n", "\n");
        InfoSession session;
        whenModal<InfoWindow>([&](InfoWindow *w) {
            QCOMPARE(w->textField()->toPlainText(), want);
            QVERIFY(w->textField()->isReadOnly());
            QCOMPARE(w->textField()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
            QTest::mouseClick(w->okButton(), Qt::LeftButton);
        });
        showInfo(session, m_dialogs, nullptr, 1.0f);
        QVERIFY(m_dialogs.calls.empty());
        QCOMPARE(session.width, 400);
        QCOMPARE(session.height, 300);

        session = {120, 90};
        InfoWindow window(session, 1.0f);
        QCOMPARE(window.size(), QSize(400, 300));
    }

    // --- help ----------------------------------------------------------------

    void helpLaunch_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("topic");
        QTest::addColumn<bool>("viewer");
        QTest::addColumn<QString>("arguments"); // of the viewer; empty: the url is opened
        QTest::addColumn<QString>("url");
        const QByteArray chm("/pb/help.chm");
        const QString url("file:///pb/help.chm");
        QTest::newRow("page in viewer") << chm << QByteArray("reference/button.html") << true
                                        << "-showPage /reference/button.html /pb/help.chm" << url;
        QTest::newRow("page already rooted")
            << chm << QByteArray("/a.html") << true << "-showPage /a.html /pb/help.chm" << url;
        QTest::newRow("general help at the topic")
            << QByteArray() << QByteArray("x.html") << true << "-showPage /x.html /pb/PureBasic.chm"
            << "file:///pb/PureBasic.chm";
        QTest::newRow("no viewer") << chm << QByteArray("a.html") << false << "" << url;
        QTest::newRow("start page") << chm << QByteArray() << true << "" << url;
        QTest::newRow("classic help") << QByteArray("a.HLP") << QByteArray("Button") << true << ""
                                      << QUrl::fromLocalFile(QDir::currentPath() + "/a.HLP").toString();
        QTest::newRow("relative") << QByteArray("docs/help") << QByteArray() << false << ""
                                  << QUrl::fromLocalFile(QDir::currentPath() + "/docs/help").toString();
        QTest::newRow("latin-1 name") << QByteArray("/pb/Hilfe\xE4.chm") << QByteArray() << false << ""
                                      << QUrl::fromLocalFile(QString::fromUtf8("/pb/Hilfeä.chm")).toString();
    }

    void helpLaunch()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, topic);
        QFETCH(bool, viewer);
        const HelpTarget target = helpTargetFor(file.toStdString(), topic.toStdString(), "/pb/PureBasic.chm");
        const HelpLaunch launch = helpLaunchFor(target, [viewer](const QString &name) {
            return viewer && name == QLatin1String("kchmviewer") ? QStringLiteral("/usr/bin/kchmviewer") : QString();
        });
        QCOMPARE(launch.program, launch.arguments.isEmpty() ? QString() : QStringLiteral("/usr/bin/kchmviewer"));
        QTEST(launch.arguments.join(' '), "arguments");
        QTEST(launch.url.toString(), "url");
    }

    void helpWithoutAnyFileOpensNothing()
    {
        const HelpLaunch launch = helpLaunchFor(helpTargetFor("", "a.html", ""),
                                                [](const QString &) { return QStringLiteral("/usr/bin/kchmviewer"); });
        QVERIFY(launch.program.isEmpty());
        QVERIFY(launch.url.isEmpty());
    }

    // --- large-text editor ---------------------------------------------------

    void largeTextEditorGrowsTheTextAreaAndMovesTheRowBelow()
    {
        LargeTextEditor editor("", kCode, 0, 1.0f);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QCOMPARE(editor.size(), QSize(700, 300));
        QCOMPARE(editor.textArea()->geometry(), QRect(5, 20, 690, 225));
        QCOMPARE(editor.wrapWidthField()->geometry(), QRect(540, 249, 30, 20));
        editor.resize(800, 350);
        QCOMPARE(editor.textArea()->geometry(), QRect(5, 20, 790, 275));
        QCOMPARE(editor.wrapWidthField()->geometry(), QRect(540, 299, 30, 20));
        editor.resize(300, 100);
        QCOMPARE(editor.size(), QSize(700, 300));
        QCOMPARE(editor.okButton()->geometry(), QRect(5, 274, 60, 20));
    }

    void largeTextEditorCaptionsAndFields()
    {
        LargeTextEditor editor("", kCode, 0, 1.0f);
        QCOMPARE(captions(editor).join('|'),
                 QString::fromUtf8("Umfangreiche Texteingabe|Hier kann man einen grösseren Text eingeben:|"
                                   "Zeilensprünge werden durch Code ersetzt:|"
                                   "\"+#CRLF$+\"|"
                                   "Kann im Gadget-Pool geändert werden...|Umbrechen:|"
                                   "Bricht den ganzen Text um - alle CR werden erst entfernt!|50|OK|Abbrechen"));
        QVERIFY(editor.lineBreakCodeField()->isReadOnly());

        // The width field takes digits only, and a kept width comes back.
        editor.wrapWidthField()->clear();
        QTest::keyClicks(editor.wrapWidthField(), "1a-2 ");
        QCOMPARE(editor.wrapWidthField()->text(), QStringLiteral("12"));
        QCOMPARE(editor.wrapWidth(), 12);
        LargeTextEditor kept("", kCode, 17, 1.0f);
        QCOMPARE(kept.wrapWidthField()->text(), QStringLiteral("17"));
    }

    void storedLineBreakCodeShowsAsLinesAndComesBackUnchanged_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("shown");
        const QByteArray code(kCode.c_str());
        QTest::newRow("two lines") << "Zeile1" + code + "Zeile2" << lines("Zeile1\nZeile2");
        QTest::newRow("empty lines") << code + code + "x" + code << lines("\n\nx\n");
        // A no-break space must not turn into a blank on the way back.
        QTest::newRow("latin-1") << QByteArray("gr\xF6\337er\xA0Text " + code + "\t")
                                 << lines("gr\xC3\xB6\xC3\237er\xC2\xA0Text \n\t");
    }

    void storedLineBreakCodeShowsAsLinesAndComesBackUnchanged()
    {
        QFETCH(QByteArray, stored);
        LargeTextEditor editor(stored.toStdString(), kCode, 0, 1.0f);
        QTEST(shownText(editor.textArea()), "shown");
        QCOMPARE(QByteArray::fromStdString(editor.text()), stored);
    }

    void typedLineBreaksBecomeTheCode()
    {
        LargeTextEditor editor("", "<br>", 0, 1.0f);
        editor.textArea()->setFocus();
        QTest::keyClicks(editor.textArea(), "a");
        QTest::keyClick(editor.textArea(), Qt::Key_Return);
        QTest::keyClicks(editor.textArea(), "b");
        QTest::keyClick(editor.textArea(), Qt::Key_Return, Qt::ShiftModifier); // a line separator
        editor.textArea()->insertPlainText(QString::fromUtf8("c€"));
        // The euro sign is kept, for a list that is written as UTF-8.
        QCOMPARE(editor.text(), std::string("a<br>b<br>c\x1A\xE2\x82\xAC"));
    }

    void wrapButtonRewrapsToTheTypedWidth()
    {
        LargeTextEditor editor("aaa bbb" + kCode + "ccc", kCode, 0, 1.0f);
        editor.wrapWidthField()->setText(QStringLiteral("10"));
        QTest::mouseClick(editor.wrapButton(), Qt::LeftButton);
        QCOMPARE(editor.textArea()->toPlainText(), lines("aaa bbb\nccc"));
        QCOMPARE(editor.text(), "aaa bbb" + kCode + "ccc");

        editor.wrapWidthField()->clear();
        QCOMPARE(editor.wrapWidth(), 0);
        QTest::mouseClick(editor.wrapButton(), Qt::LeftButton);
        QCOMPARE(editor.textArea()->toPlainText(), lines("\naaa\nbbb\nccc"));
    }

    // Whichever way the editor ends, the typed wrap width is kept for the next
    // call; only OK stores the text, and unchanged text comes back byte for byte.
    void endingStoresTheTextOnlyOnOkButAlwaysTheWidth_data()
    {
        QTest::addColumn<QString>("typedLine"); // typed on a new last line
        QTest::addColumn<int>("end");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("text");
        const QString code = QString::fromLatin1(kCode.c_str());
        QTest::newRow("OK, unchanged") << "" << int(Ok) << true << "Zeile1" + code + "Zeile2";
        QTest::newRow("OK") << "Zeile3" << int(Ok) << true << "Zeile1" + code + "Zeile2" + code + "Zeile3";
        QTest::newRow("Abbrechen") << "neu" << int(Cancel) << false << "Zeile1" + code + "Zeile2";
        QTest::newRow("close box") << "neu" << int(CloseBox) << false << "Zeile1" + code + "Zeile2";
    }

    void endingStoresTheTextOnlyOnOkButAlwaysTheWidth()
    {
        QFETCH(QString, typedLine);
        QFETCH(int, end);
        GadgetRecord record;
        record.text = "Zeile1" + kCode + "Zeile2";
        PoolSettings pool;
        pool.crSep = kCode;
        LargeTextSession session{12};
        whenModal<LargeTextEditor>([&](LargeTextEditor *e) {
            QCOMPARE(e->wrapWidthField()->text(), QStringLiteral("12"));
            if (!typedLine.isEmpty()) {
                e->textArea()->moveCursor(QTextCursor::End);
                QTest::keyClick(e->textArea(), Qt::Key_Return);
                QTest::keyClicks(e->textArea(), typedLine);
                e->wrapWidthField()->setText(QStringLiteral("7"));
            }
            if (end == CloseBox)
                e->close();
            else
                QTest::mouseClick(end == Ok ? e->okButton() : e->cancelButton(), Qt::LeftButton);
        });
        QTEST(editLargeText(record, pool, session, nullptr, 1.0f), "stored");
        QTEST(QString::fromLatin1(record.text.c_str()), "text");
        QCOMPARE(session.wrapWidth, typedLine.isEmpty() ? 12 : 7);
    }
};

QTEST_MAIN(AuxWindowsTest)
#include "auxwindows_test.moc"
