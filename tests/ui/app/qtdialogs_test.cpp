// Qt's own dialogs as the user meets them: German buttons, whether or not
// Qt's German translation is installed. Every box is answered by a timer
// from inside its own event loop, so nothing waits for a person.
#include "ui/app/qtdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace tafelbau;

namespace {

struct Seen
{
    QStringList buttons; ///< texts without their access-key "&", in the box's order
    bool found = false;
};

// Waits for the modal question box, reads its buttons, then presses the one
// reading `press` (Escape when `press` is empty, Return when it is "\n", the
// close button when it is "x").
Seen answerQuestion(const QString &press, const std::function<void()> &ask)
{
    Seen seen;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer.stop();
        seen.found = true;
        QAbstractButton *target = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            const QString text = b->text().remove(QLatin1Char('&'));
            seen.buttons << text;
            if (text == press)
                target = b;
        }
        if (target)
            target->click();
        else if (press == QStringLiteral("\n"))
            QTest::keyClick(box, Qt::Key_Return);
        else if (press == QStringLiteral("x"))
            box->close();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    });
    timer.start();
    ask();
    return seen;
}

QStringList sorted(QStringList l)
{
    l.sort();
    return l;
}

} // namespace

class QtDialogsTest : public QObject
{
    Q_OBJECT

    void questions(bool translated);

private slots:
    void questionsWithoutTranslation() { questions(false); }
    void questionsWithTranslation()
    {
        if (!installQtGerman())
            QSKIP("Qt's German translation is not installed (qt6-translations-l10n)");
        questions(true);
    }
    void qtOwnDialogsAreGerman();
};

void QtDialogsTest::questions(bool translated)
{
    QtDialogs dialogs;
    const QString yes = QStringLiteral("Ja"), no = QStringLiteral("Nein"), cancel = QStringLiteral("Abbrechen");
    const struct
    {
        QString press;
        bool answer;
    } yesNo[] = {{yes, true}, {no, false}, {QString(), false}};
    for (const auto &c : yesNo) {
        bool answer = !c.answer;
        const Seen seen = answerQuestion(c.press, [&] { answer = dialogs.askYesNo("Titel", "Frage?"); });
        QVERIFY2(seen.found, "no question box appeared");
        QCOMPARE(sorted(seen.buttons), sorted({yes, no}));
        QCOMPARE(answer, c.answer);
    }
    const struct
    {
        QString press;
        Answer answer;
    } yesNoCancel[] = {{yes, Answer::Yes}, {no, Answer::No}, {cancel, Answer::Cancel}, {QString(), Answer::Cancel}};
    for (const auto &c : yesNoCancel) {
        Answer answer = Answer::Yes;
        if (c.answer == Answer::Yes)
            answer = Answer::No;
        const Seen seen = answerQuestion(c.press, [&] { answer = dialogs.askYesNoCancel("Titel", "Frage?"); });
        QVERIFY2(seen.found, "no question box appeared");
        QCOMPARE(sorted(seen.buttons), sorted({yes, no, cancel}));
        QVERIFY2(answer == c.answer, qPrintable(c.press + (translated ? " (translated)" : "")));
    }
    // Buttons of its own: Return presses the default one; Escape and the
    // close button the escape one, which need not be the last.
    const struct
    {
        QString press;
        std::size_t answer;
    } choices[] = {
        {QStringLiteral("Neu laden"), 1}, {QStringLiteral("\n"), 2}, {QString(), 0}, {QStringLiteral("x"), 0}};
    for (const auto &c : choices) {
        std::size_t answer = 99;
        const Seen seen = answerQuestion(c.press, [&] {
            answer = dialogs.askChoice("Titel", "Frage?",
                                       {"Abbrechen", "Neu laden",
                                        "\xC3\x9C"
                                        "berschreiben"},
                                       2, 0);
        });
        QVERIFY2(seen.found, "no question box appeared");
        QCOMPARE(sorted(seen.buttons), sorted({cancel, QStringLiteral("Neu laden"), QStringLiteral("Überschreiben")}));
        QVERIFY2(answer == c.answer, qPrintable(c.press));
    }
}

void QtDialogsTest::qtOwnDialogsAreGerman()
{
    if (!installQtGerman())
        QSKIP("Qt's German translation is not installed (qt6-translations-l10n)");
    QColorDialog colours;
    QCOMPARE(colours.windowTitle(), QStringLiteral("Farbauswahl"));
    QCOMPARE(QLocale().language(), QLocale::German);
}

QTEST_MAIN(QtDialogsTest)
#include "qtdialogs_test.moc"
