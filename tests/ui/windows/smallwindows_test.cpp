// The small windows of the editing commands, run as a user meets them.
#include "core/commands/filechoosers.h"
#include "scripteddialogs.h"
#include "ui/app/qtdialogs.h"
#include "ui/windows/flagseditorwindow.h"
#include "ui/windows/gadgetchooser.h"
#include "ui/windows/inputbox.h"
#include "ui/windows/replacevaridwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

using namespace tafelbau;

class SmallWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    // A click anywhere outside the box, the main window included, ends the
    // edit with the typed text -- and runs no command of the main window.
    void inputBoxEndsOnAClickOutside()
    {
        QMainWindow main;
        auto *button = new QPushButton(QStringLiteral("elsewhere"), &main);
        main.setCentralWidget(button);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        bool clicked = false;
        connect(button, &QPushButton::clicked, this, [&] { clicked = true; });

        InputBox box("alt", main.geometry().topLeft(), &main);
        QTimer::singleShot(0, this, [&] {
            box.field()->setText(QStringLiteral("neu"));
            QTest::mouseClick(button, Qt::LeftButton);
        });
        QTimer::singleShot(2000, &box, [&] { box.cancelEdit(); }); // a failure must not hang
        QCOMPARE(box.run(), std::string("neu"));
        QVERIFY(!clicked);

        InputBox kept("alt", {}, &main);
        QTimer::singleShot(0, this, [&] {
            kept.field()->setText(QStringLiteral("neu"));
            QTest::mouseClick(kept.field(), Qt::LeftButton); // inside: the edit goes on
            QTest::keyClick(kept.field(), Qt::Key_Escape);
        });
        QCOMPARE(kept.run(), std::string("alt"));
    }

    // Return accepts wherever the focus is, Escape cancels.
    void flagsEditorKeys_data()
    {
        QTest::addColumn<int>("focus"); // 0 list, 1 OK, 2 Abbrechen
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        for (int focus : {0, 1, 2}) {
            QTest::addRow("return, focus %d", focus) << focus << int(Qt::Key_Return) << int(QDialog::Accepted);
            QTest::addRow("enter, focus %d", focus) << focus << int(Qt::Key_Enter) << int(QDialog::Accepted);
            QTest::addRow("escape, focus %d", focus) << focus << int(Qt::Key_Escape) << int(QDialog::Rejected);
        }
    }
    void flagsEditorKeys()
    {
        QFETCH(int, focus);
        QFETCH(int, key);
        QFETCH(int, result);
        FlagsEditorWindow editor({{"A", "#A", false}, {"B", "#B", true}}, {}, nullptr);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        const auto buttons = editor.findChildren<QPushButton *>();
        QWidget *target = focus == 0 ? static_cast<QWidget *>(editor.list()) : buttons.value(focus - 1);
        QVERIFY(target);
        target->setFocus();
        QTest::keyClick(target, static_cast<Qt::Key>(key));
        QCOMPARE(editor.result(), result);
        QCOMPARE(editor.items()[1].on, true); // the keys toggle no row
    }

    void gadgetChooserOpensCentredOnTheScreen()
    {
        GadgetChooser chooser(1.0f, nullptr);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY((chooser.geometry().center() - area.center()).manhattanLength() <= 2);
    }

    // At 96 dpi every caption of "TB Varid ändern" fits its place on one line.
    void replaceVarIdCaptionsFit()
    {
        ReplaceVarIdWindow window(1.0f, nullptr);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (QLabel *label : window.findChildren<QLabel *>()) {
            const QFontMetrics metrics(label->font());
            const QStringList lines = label->text().split(QLatin1Char('\n'));
            for (const QString &line : lines)
                QVERIFY2(metrics.horizontalAdvance(line) <= label->contentsRect().width(), qPrintable(line));
            QVERIFY2(metrics.height() * lines.size() <= label->contentsRect().height(), qPrintable(label->text()));
            QVERIFY2(window.rect().contains(label->geometry()), qPrintable(label->text()));
        }
    }

    // "*.*" is every file on the systems the filters come from; on Linux it
    // would hide files without a dot.
    void everyFilePatternShowsFilesWithoutADot()
    {
        QCOMPARE(qtFileFilter("*.*"), QStringLiteral("*"));
        QCOMPARE(qtFileFilter("TafelbauFiles (*.tbf)|*.tbf|Alle Dateien|*.*"),
                 QStringLiteral("TafelbauFiles (*.tbf);;Alle Dateien (*)"));
        QCOMPARE(qtFileFilter(kSourceFileFilter), QStringLiteral("PureBasic (*.pb *.pbi);;Alle Dateien (*)"));
    }
};

QTEST_MAIN(SmallWindowsTest)
#include "smallwindows_test.moc"
