// "Ansicht" -> "Vorschau": the sample two-page dialog as a working window,
// and one widget per gadget type of the shipped pool.
#include "core/commands/selection.h"
#include "ui/app/previewwindow.h"
#include "ui/windowfixture.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

using namespace tafelbau;

using testutil::kSource;

class PreviewTest : public QObject, testutil::WindowFixture
{
    Q_OBJECT

    /// The widget of the gadget `varId` in the open preview.
    QWidget *widgetOf(const std::string &varId) const
    {
        PreviewWindow *p = m_window->preview();
        for (std::size_t i = 0; i < p->gadgetCount(); ++i)
            if (p->gadgetWidget(i) && p->gadgetWidget(i)->objectName() == QString::fromStdString(varId))
                return p->gadgetWidget(i);
        return nullptr;
    }

    void select(const std::string &varId) { m_window->applyOutcome(selectByVarId(m_state.list, varId)); }

    /// By its keys, or by its menu entry when the main window is not the
    /// active one.
    PreviewWindow *openPreview(bool byKeys = false)
    {
        if (byKeys)
            QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        else
            m_window->dispatchMenu(ids::Preview);
        PreviewWindow *p = m_window->preview();
        if (p && !QTest::qWaitForWindowExposed(p))
            return nullptr;
        return p;
    }

    GadgetRecord fromPool(const std::string &name, const std::string &varId, int x, int y)
    {
        const PoolEntry *e = m_state.pool.find(name);
        if (!e)
            qFatal("no pool entry %s", name.c_str());
        GadgetRecord r;
        r.name = name, r.varId = varId, r.code = e->code, r.text = varId;
        r.x = x, r.y = y, r.xd = e->xd, r.yd = e->yd, r.color = e->color;
        r.p = e->p;
        return r;
    }

private slots:
    void init()
    {
        begin();
        QVERIFY(loadShippedPool());
        QVERIFY(openWindow(Show::Exposed));
        m_window->documents().openList(kSource / "examples" / "demo.tbf");
    }

    void cleanup() { end(); }

    void sampleDialogSwitchesTabsAndTakesTyping()
    {
        select("StrName");
        PreviewWindow *preview = openPreview(true);
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(), QStringLiteral("Adresse bearbeiten"));
        QCOMPARE(preview->size(), QSize(420, 300));
        QCOMPARE(widgetOf("BtnOk")->geometry(), QRect(200, 260, 100, 25));
        QVERIFY(static_cast<QPushButton *>(widgetOf("BtnOk"))->isDefault());
        QCOMPARE(widgetOf("StrName")->geometry(), QRect(120, 10, 250, 25));

        auto *tabs = qobject_cast<QTabWidget *>(widgetOf("PanelAdresse"));
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Person"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Kontakt"));
        auto *phone = qobject_cast<QLineEdit *>(widgetOf("StrTelefon"));
        QVERIFY(phone);
        QVERIFY(!phone->isVisible());
        QTabBar *bar = tabs->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(tabs->currentIndex(), 1);
        QTRY_VERIFY(phone->isVisible());

        preview->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(preview));
        phone->setFocus();
        QTest::keyClicks(phone, QStringLiteral("030 1234"));
        QCOMPARE(phone->text(), QStringLiteral("030 1234"));
        // Tab goes on in list order: the next field of the page.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), widgetOf("StrMail"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), widgetOf("BtnOk"));

        // The design stays as it was.
        QVERIFY(m_state.list.findByVarId("StrTelefon"));
        QCOMPARE(m_state.list.current()->text, std::string());
        QVERIFY(m_window->windowTitle().endsWith(QStringLiteral("demo.tbf")));

        // Opened again: the new one takes the old one's place.
        QPointer<PreviewWindow> old = preview;
        QVERIFY(openPreview());
        QTRY_VERIFY(!old);
        QVERIFY(m_window->preview()->isVisible());

        QTest::keyClick(m_window->preview(), Qt::Key_Escape);
        QTRY_VERIFY(!m_window->preview());
    }

    // Every type of the shipped pool: the widget the preview makes of it.
    void shippedPoolTypesBecomeTheirWidgets()
    {
        GdtList list;
        GadgetRecord win = fromPool("OpenWindow", "Win", 0, 0);
        win.xd = 800, win.yd = 600;
        list.append(win);
        const struct
        {
            const char *type;
            const char *widget;
        } rows[] = {
            {"ButtonGadget", "QPushButton"},         {"ButtonImageGadget", "QPushButton"},
            {"CalendarGadget", "QCalendarWidget"},   {"CanvasGadget", "QFrame"},
            {"CheckBoxGadget", "QCheckBox"},         {"ComboBoxGadget", "QComboBox"},
            {"DateGadget", "QDateEdit"},             {"EditorGadget", "QPlainTextEdit"},
            {"FrameGadget", "QGroupBox"},            {"HyperLinkGadget", "QLabel"},
            {"ImageGadget", "QFrame"},               {"IPAddressGadget", "QLineEdit"},
            {"ListIconGadget", "QTreeWidget"},       {"ListViewGadget", "QListWidget"},
            {"OptionGadget", "QRadioButton"},        {"ProgressBarGadget", "QProgressBar"},
            {"ScrollBarGadget", "QScrollBar"},       {"ShortcutGadget", "QKeySequenceEdit"},
            {"SpinGadget", "QSpinBox"},              {"StringGadget", "QLineEdit"},
            {"TextGadget", "QLabel"},                {"TrackBarGadget", "QSlider"},
            {"TreeGadget", "QTreeWidget"},           {"ContainerGadget", "QFrame"},
            {"ScrollAreaGadget", "QScrollArea"},     {"PanelGadget", "QTabWidget"},
            // No widget stands for these: painted as the real-gadget drawing paints them.
            {"WebGadget", "QWidget"},                {"MDIGadget", "QWidget"},
            {"ExplorerListGadget", "QWidget"},       {"SplitterGadget", "QWidget"},
        };
        int y = 0;
        for (const auto &row : rows) {
            list.append(fromPool(row.type, std::string("G") + row.type, 0, y));
            y += 2;
            // What holds gadgets is closed again, so that the next goes into the window.
            if (std::string(row.type) == "ContainerGadget" || std::string(row.type) == "ScrollAreaGadget"
                || std::string(row.type) == "PanelGadget")
                list.append(fromPool("CloseGadgetList", std::string("C") + row.type, 0, 0));
        }
        m_state.list = list;
        m_window->refreshGadgetList();
        PreviewWindow *preview = openPreview();
        QVERIFY(preview);
        for (const auto &row : rows) {
            QWidget *w = widgetOf(std::string("G") + row.type);
            QVERIFY2(w, row.type);
            QCOMPARE(QString::fromLatin1(w->metaObject()->className()), QString::fromLatin1(row.widget));
        }
        // A gadget of the user's own looks as on the card: its frame colour on black.
        GadgetRecord own = fromPool("ButtonGadget", "Own", 10, 10);
        own.code = "MeinGadget(#[id], [x], [y], [xd], [yd])";
        own.color = 0x00FF00;
        m_state.list.append(own);
        m_window->refreshGadgetList();
        QVERIFY(openPreview());
        QWidget *painted = widgetOf("Own");
        QCOMPARE(QString::fromLatin1(painted->metaObject()->className()), QStringLiteral("QWidget"));
        const QImage image = painted->grab().toImage();
        QCOMPARE(image.pixelColor(painted->width() / 2, painted->height() - 3), QColor(Qt::black));
        QCOMPARE(image.pixelColor(0, painted->height() / 2), QColor(0, 255, 0));
    }

    void optionsGroupedAsTheCodeGroupsThemRangesAndInnerSizes()
    {
        GdtList list;
        list.append(fromPool("OpenWindow", "Win", 0, 0));
        for (const char *id : {"A", "B"})
            list.append(fromPool("OptionGadget", id, 0, 0));
        list.append(fromPool("TextGadget", "Between", 0, 0));
        list.append(fromPool("OptionGadget", "C", 0, 0));
        GadgetRecord spin = fromPool("SpinGadget", "Spin", 0, 0);
        spin.p[0] = "5", spin.p[1] = "9";
        list.append(spin);
        GadgetRecord area = fromPool("ScrollAreaGadget", "Area", 0, 0);
        area.p[0] = "640", area.p[1] = "480", area.p[2] = "10";
        list.append(area);
        list.append(fromPool("ButtonGadget", "Inside", 7, 8));
        list.append(fromPool("OptionGadget", "InArea", 0, 40));
        list.append(fromPool("CloseGadgetList", "EndArea", 0, 0));
        list.append(fromPool("OptionGadget", "Outside", 0, 0)); // next in the list, in another gadget list
        GadgetRecord secret = fromPool("StringGadget", "Secret", 0, 0);
        secret.flags = "#PB_String_Password | #PB_String_Numeric";
        secret.text.clear();
        list.append(secret);
        m_state.list = list;
        m_window->refreshGadgetList();
        QVERIFY(openPreview());
        auto *a = qobject_cast<QRadioButton *>(widgetOf("A"));
        auto *b = qobject_cast<QRadioButton *>(widgetOf("B"));
        auto *c = qobject_cast<QRadioButton *>(widgetOf("C"));
        QVERIFY(a && b && c && a->group());
        QCOMPARE(a->group(), b->group());
        QVERIFY(c->group() != a->group());
        a->click();
        c->click();
        QVERIFY(a->isChecked() && c->isChecked());
        b->click();
        QVERIFY(!a->isChecked() && b->isChecked());

        auto *s = qobject_cast<QSpinBox *>(widgetOf("Spin"));
        QCOMPARE(s->minimum(), 5);
        QCOMPARE(s->maximum(), 9);
        auto *scroll = qobject_cast<QScrollArea *>(widgetOf("Area"));
        QCOMPARE(scroll->widget()->size(), QSize(640, 480));
        QCOMPARE(widgetOf("Inside")->parentWidget(), scroll->widget());
        QCOMPARE(widgetOf("Inside")->pos(), QPoint(7, 8));
        QVERIFY(qobject_cast<QRadioButton *>(widgetOf("InArea"))->group()
                != qobject_cast<QRadioButton *>(widgetOf("Outside"))->group());
        auto *secretField = qobject_cast<QLineEdit *>(widgetOf("Secret"));
        QCOMPARE(secretField->parentWidget(), m_window->preview());
        QCOMPARE(secretField->echoMode(), QLineEdit::Password);
        QTest::keyClicks(secretField, QStringLiteral("4x2"));
        QCOMPARE(secretField->text(), QStringLiteral("42")); // digits only
    }

    void withoutAWindowOneMessage()
    {
        m_state.list = GdtList{};
        m_state.list.append(fromPool("ButtonGadget", "Alone", 0, 0));
        m_window->refreshGadgetList();
        m_window->dispatchMenu(ids::Preview);
        QVERIFY(!m_window->preview());
        QCOMPARE(m_dialogs.takeCalls(), (std::vector<std::string>{
                                            "message: Keine Vorschau: In der Gadgetliste ist kein Fenster (OpenWindow)."}));
    }
};

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"
