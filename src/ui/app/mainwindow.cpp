#include "ui/app/mainwindow.h"


#include "core/canvas/carddrawing.h"
#include "core/canvas/controlitems.h"
#include "core/canvas/mousedrag.h"
#include "core/commands/editoutcome.h"
#include "core/commands/selection.h"
#include "core/codegen/structurecheck.h"
#include "core/commands/structureedit.h"
#include "core/document/displayscale.h"
#include "core/document/latin1.h"
#include "core/document/listviews.h"
#include "core/pool/gdtpool.h"
#include "core/pool/helptarget.h"
#include "ui/app/canvashost.h"
#include "ui/app/canvasmouse.h"
#include "ui/app/editcommands.h"
#include "ui/app/inplaceeditor.h"
#include "ui/app/toolbox.h"
#include "ui/app/programrunner.h"
#include "ui/canvas/cardcanvas.h"
#include "ui/codegen/codeview.h"
#include "ui/document/gadgetlistmodel.h"
#include "ui/document/qtconvert.h"
#include "ui/document/widgetgeometry.h"
#include "ui/windows/help.h"
#include "ui/windows/structurewindow.h"
#include "ui/windows/windowlayout.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>

#include <unordered_map>
#include <utility>

namespace tafelbau {

MainWindow::MainWindow(AppState &state, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_dialogs(dialogs), m_documents(state.document(), dialogs, *this)
{
    setWindowTitle(QStringLiteral("Tafelbau"));
    buildGadgets();
    m_codeView = new CodeView(m_state.list, m_state.pool.settings, m_canvasHost);
    m_canvasHost->addCodeView(m_codeView);
    connect(m_codeView, &CodeView::gadgetClicked, this,
            [this](std::int32_t lvid) { applyOutcome(selectByLvid(m_state.list, lvid)); });
    connect(m_codeView, &CodeView::closeRequested, this, [this] { showCodeView(false); });
    buildMenu();
    buildContextMenu();
    buildShortcuts();
    m_watcher = new QFileSystemWatcher(this);
    m_diskCheck = new QTimer(this);
    m_diskCheck->setSingleShot(true);
    // A program writing the list makes several events; one look after them.
    m_diskCheck->setInterval(150);
    connect(m_diskCheck, &QTimer::timeout, this, &MainWindow::checkListOnDisk);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_diskCheck, qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_diskCheck, qOverload<>(&QTimer::start));
    m_recoveryTimer = new QTimer(this);
    m_recoveryTimer->setSingleShot(true);
    m_recoveryTimer->setInterval(30000);
    connect(m_recoveryTimer, &QTimer::timeout, this, [this] {
        // A state folder that cannot take it now is tried again later.
        if (!m_documents.keepRecovery())
            m_recoveryTimer->start();
    });

    // The table of commands behind every menu id and gadget number.
    m_menuCommands = {
        {ids::New, [this] { m_documents.newList(); }},
        {ids::Open, [this] { m_documents.openList({}); }},
        {ids::Save, [this] { m_documents.save(); }},
        {ids::SaveAs, [this] { m_documents.saveListAs(); }},
        {ids::ConfigFile, [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(fromPath(m_state.settingsFile))); }},
        {ids::Quit, [this] { close(); }},
        {ids::Help, [this] { openHelpForCurrentGadget(); }},
        {ids::Info, [this] { showInfo(m_info, m_dialogs, this, m_state.displayScale); }},
        {ids::Undo, [this] { undo(); }},
        {ids::Redo, [this] { redo(); }},
        {ids::CheckStructure, [this] { checkStructure(); }},
    };
    addViewCommands();
    addAlignCommands();
    addDesignCommands();
    m_gadgetCommands = {
        {ids::CardChooser, [this] { selectCardFromChooser(); }},
        {ids::ListView, [this] { takeSelectionFromRows(); }},
    };

    const int refWidth = scaledPixels(800, m_state.displayScale);
    const int refHeight = scaledPixels(575, m_state.displayScale);
    m_layout.setLayoutRule(1, LayoutRules::kWholeWindow, scaledPixels(10, m_state.displayScale),
                           scaledPixels(10, m_state.displayScale), refWidth, refHeight);
    auto anchor = [&](const char *anchors, int gadget) {
        const QRect g = m_gadgets.at(gadget)->geometry();
        m_layout.anchorGadget(anchors, 1, gadget, g.x(), g.y(), g.width(), g.height());
    };
    anchor("", ids::CardChooser);
    anchor("U", ids::Properties);
    anchor("RU", ids::CanvasArea);
    m_inner->setMinimumSize(refWidth, refHeight);
    setInnerSize(refWidth, refHeight);

    move(m_state.settings.mainWinX, m_state.settings.mainWinY);
    setInnerSize(m_state.settings.mainWinXD, m_state.settings.mainWinYD);

    m_edit = new EditCommands(*this);
    m_mouse = new CanvasMouse(*this);
    m_inPlace = new InPlaceEditor(*this);
    m_toolbox = new Toolbox(*this);
    addDockWidget(Qt::RightDockWidgetArea, m_toolbox);
    m_toolbox->refill(m_state.pool);
    connect(m_toolbox, &Toolbox::closedByUser, this, [this] {
        if (m_state.settings.view.toolbox)
            toggleView(&ViewSettings::toolbox);
    });
    m_runner = new ProgramRunner(*this);
    showTitle(" Tafelbau 0.583");
    m_canvas->setPanelSize(m_state.settings.panelWidth, m_state.settings.panelHeight);
    applyView();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildGadgets()
{
    m_inner = new QWidget(this);
    setCentralWidget(m_inner);
    m_inner->installEventFilter(this);
    const float f = m_state.displayScale;
    auto place = [&](int number, QWidget *w, int x, int y, int width, int height) {
        placeScaled(w, f, x, y, width, height);
        m_gadgets[number] = w;
    };

    place(ids::LabelGadgets, new QLabel(QStringLiteral("Gadgets:"), m_inner), 0, 10, 50, 15);
    const struct
    {
        int number;
        const char *caption;
        int x;
        int width;
    } buttons[] = {{ids::MoveUp, "Hoch", 55, 45},
                   {ids::MoveDown, "Runter", 105, 45},
                   {ids::Outdent, "<", 155, 20},
                   {ids::Indent, ">", 180, 20}};
    for (const auto &b : buttons) {
        auto *button = new QPushButton(QString::fromLatin1(b.caption), m_inner);
        button->setFocusPolicy(Qt::NoFocus);
        place(b.number, button, b.x, 5, b.width, 20);
        const int number = b.number;
        connect(button, &QPushButton::clicked, this, [this, number] { dispatchGadget(number); });
    }

    m_cardChooser = new QComboBox(m_inner);
    place(ids::CardChooser, m_cardChooser, 0, 30, 220, 20);
    connect(m_cardChooser, &QComboBox::activated, this, [this] { dispatchGadget(ids::CardChooser); });

    m_listModel = new GadgetListModel(m_state.list, this);
    m_listView = new QListView(m_inner);
    m_listView->setModel(m_listModel);
    m_listView->setSelectionMode(QAbstractItemView::MultiSelection); // a click toggles a row
    m_listView->setUniformItemSizes(true);
    m_listView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    place(ids::ListView, m_listView, 0, 55, 220, 270);
    connect(m_listView->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_updatingViews)
            dispatchGadget(ids::ListView);
    });

    m_properties = new QTableWidget(0, 2, m_inner);
    m_properties->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Werte")});
    m_properties->verticalHeader()->hide();
    m_properties->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_properties->setSelectionMode(QAbstractItemView::SingleSelection);
    m_properties->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_properties->setShowGrid(true);
    m_properties->setColumnWidth(0, 100);
    m_properties->setColumnWidth(1, scaledPixels(100, f));
    m_properties->verticalHeader()->setDefaultSectionSize(m_properties->fontMetrics().height() + 4);
    place(ids::Properties, m_properties, 0, 330, 220, 225);
    connect(m_properties, &QTableWidget::cellClicked, this, [this] { dispatchGadget(ids::Properties); });
    connect(m_properties, &QTableWidget::cellDoubleClicked, this, [this] { dispatchGadget(ids::Properties); });

    auto *keyHelp = new QLabel(QString::fromUtf8("Karte: Mit <shift> und/oder <ctrl> und Pfeiltasten bewegen.\n"
                                                 "Mit <ctrl><m> Modus umschalten (Verschieben / Grösse)."),
                               m_inner);
    keyHelp->setTextFormat(Qt::PlainText);
    place(ids::KeyHelp, keyHelp, 225, 0, 405, 30);
    m_nextFreeLabel = new QLabel(QString::fromUtf8("Nächste freie Karte:"), m_inner);
    place(ids::NextFreeCard, m_nextFreeLabel, 650, 10, 145, 15);

    m_canvasArea = new QScrollArea;
    m_canvasArea->setWidgetResizable(false);
    m_canvasArea->horizontalScrollBar()->setSingleStep(5);
    m_canvasArea->verticalScrollBar()->setSingleStep(5);
    // The area holds the code view beside the canvas as well.
    m_canvasHost = new CanvasHost(m_canvasArea, m_state.settings.view, f, m_inner);
    place(ids::CanvasArea, m_canvasHost, 225, 30, 570, 525);
    m_canvas = new CardCanvas;
    m_canvas->setPanelSize(400, 300);
    m_canvasArea->setWidget(m_canvas);
    m_gadgets[ids::Canvas] = m_canvas;
}

void MainWindow::buildMenu()
{
    auto add = [this](QMenu *menu, int id, const QString &text) {
        QAction *a = menu->addAction(text);
        connect(a, &QAction::triggered, this, [this, id] { dispatchMenu(id); });
        m_menuActions[id] = a;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Datei"));
    add(file, ids::New, QStringLiteral("&Neu"));
    add(file, ids::Open, QString::fromUtf8("Ö&ffnen"));
    add(file, ids::Save, QStringLiteral("&Speichern ctrl-s"));
    add(file, ids::SaveAs, QStringLiteral("Speichern a&ls"));
    file->addSeparator();
    add(file, ids::GenerateProgram, QString::fromUtf8("&Programm erzeugen …"));
    add(file, ids::RunProgram, QString::fromUtf8("&Ausführen"));
    m_menuActions[ids::RunProgram]->setShortcut(QKeySequence(Qt::Key_F5));
    m_menuActions[ids::RunProgram]->setShortcutContext(Qt::WindowShortcut);
    addAction(m_menuActions[ids::RunProgram]);
    file->addSeparator();
    add(file, ids::ConfigFile, QStringLiteral("&Konfig.datei"));
    file->addSeparator();
    add(file, ids::Quit, QStringLiteral("&Beenden"));
    // The keys users expect for the entries that had none;
    // Ctrl+S keeps its own shortcut below.
    const std::pair<int, QKeySequence> fileKeys[] = {
        {ids::New, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {ids::Open, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {ids::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {ids::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
    for (const auto &[id, keys] : fileKeys) {
        m_menuActions[id]->setShortcut(keys);
        m_menuActions[id]->setShortcutContext(Qt::WindowShortcut);
        addAction(m_menuActions[id]);
    }

    QMenu *editing = menuBar()->addMenu(QStringLiteral("&Bearbeiten"));
    add(editing, ids::Undo, QString::fromUtf8("&Rückgängig"));
    add(editing, ids::Redo, QStringLiteral("&Wiederholen"));
    m_menuActions[ids::Undo]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_menuActions[ids::Redo]->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (int id : {ids::Undo, ids::Redo}) {
        m_menuActions[id]->setShortcutContext(Qt::WindowShortcut);
        // The menu bar holds the entries; the window holds their keys, so
        // they work whichever child has the focus.
        addAction(m_menuActions[id]);
    }
    updateEditActions();
    editing->addSeparator();
    buildDesignMenu(editing);
    editing->addSeparator();
    buildAlignMenu(editing);

    QMenu *gadgets = menuBar()->addMenu(QStringLiteral("&Gadgets"));
    add(gadgets, ids::Add, QString::fromUtf8("&Hinzufügen\tIns"));
    add(gadgets, ids::Delete, QString::fromUtf8("&Löschen\tDel"));
    add(gadgets, ids::Copy, QStringLiteral("&Kopieren\tctrl-c"));
    add(gadgets, ids::Paste, QString::fromUtf8("&Einfügen\tctrl-v"));
    gadgets->addSeparator();
    add(gadgets, ids::AssignCard, QStringLiteral("Karte &zuordnen"));
    add(gadgets, ids::ResetCode, QString::fromUtf8("&Code zurücksetzen"));
    add(gadgets, ids::LargeText, QString::fromUtf8("&Grösseren Text bearbeiten"));
    add(gadgets, ids::ReplaceVarId, QStringLiteral("&Varid ersetzen"));
    add(gadgets, ids::NewPage, QStringLiteral("&Neue Seite"));
    add(gadgets, ids::CheckStructure, QString::fromUtf8("&Struktur prüfen"));
    gadgets->addSeparator();
    add(gadgets, ids::Import, QStringLiteral("&Import aus Code"));
    gadgets->addSeparator();
    add(gadgets, ids::PoolEditor, QStringLiteral("&Pool bearbeiten"));

    buildViewMenu();

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    add(help, ids::Info, QStringLiteral("Info"));
}

void MainWindow::showCodeView(bool shown)
{
    m_state.settings.view.codeView = shown;
    menuAction(ids::ToggleCodeView)->setChecked(shown);
    m_canvasHost->showCodeView(shown);
}

void MainWindow::buildShortcuts()
{
    const struct
    {
        QKeySequence keys;
        int id;
    } shortcuts[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_S), ids::Save},
        {QKeySequence(Qt::Key_Insert), ids::Add},
        {QKeySequence(Qt::Key_Delete), ids::Delete},
        {QKeySequence(Qt::CTRL | Qt::Key_C), ids::Copy},
        {QKeySequence(Qt::CTRL | Qt::Key_V), ids::Paste},
        {QKeySequence(Qt::Key_F1), ids::Help},
        {QKeySequence(Qt::CTRL | Qt::Key_Up), ids::StepUp},
        {QKeySequence(Qt::CTRL | Qt::Key_Down), ids::StepDown},
        {QKeySequence(Qt::CTRL | Qt::Key_Left), ids::StepLeft},
        {QKeySequence(Qt::CTRL | Qt::Key_Right), ids::StepRight},
        {QKeySequence(Qt::SHIFT | Qt::Key_Up), ids::FineUp},
        {QKeySequence(Qt::SHIFT | Qt::Key_Down), ids::FineDown},
        {QKeySequence(Qt::SHIFT | Qt::Key_Left), ids::FineLeft},
        {QKeySequence(Qt::SHIFT | Qt::Key_Right), ids::FineRight},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up), ids::BigUp},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down), ids::BigDown},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left), ids::BigLeft},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right), ids::BigRight},
        {QKeySequence(Qt::CTRL | Qt::Key_M), ids::ToggleMode},
    };
    for (const auto &s : shortcuts) {
        auto *a = new QAction(this);
        a->setShortcut(s.keys);
        a->setShortcutContext(Qt::WindowShortcut);
        const int id = s.id;
        connect(a, &QAction::triggered, this, [this, id] { dispatchMenu(id); });
        addAction(a);
    }
}

QAction *MainWindow::menuAction(int id) const
{
    const auto it = m_menuActions.find(id);
    return it == m_menuActions.end() ? nullptr : it->second;
}

void MainWindow::dispatchMenu(int id)
{
    const auto it = m_menuCommands.find(id);
    if (it != m_menuCommands.end() && it->second)
        it->second();
    // Changes of the list reach the code view through the views' updates;
    // a save (the date) or the pool editor (the comment marker) only here.
    m_codeView->refreshHead();
}

void MainWindow::dispatchGadget(int gadget)
{
    const auto it = m_gadgetCommands.find(gadget);
    if (it != m_gadgetCommands.end() && it->second)
        it->second();
}

void MainWindow::setCommand(int id, std::function<void()> command)
{
    m_menuCommands[id] = std::move(command);
}

void MainWindow::setGadgetCommand(int gadget, std::function<void()> command)
{
    m_gadgetCommands[gadget] = std::move(command);
}

void MainWindow::showStatus(const std::string &utf8)
{
    statusBar()->showMessage(fromUtf8(utf8));
}

void MainWindow::showStructureProblems(std::size_t count)
{
    if (!m_structureButton) {
        m_structureButton = new QPushButton(this);
        m_structureButton->setFlat(true);
        m_structureButton->setCursor(Qt::PointingHandCursor);
        // Looks like the link it is: one click opens the problems.
        QFont underlined = m_structureButton->font();
        underlined.setUnderline(true);
        m_structureButton->setFont(underlined);
        QPalette link = m_structureButton->palette();
        link.setColor(QPalette::ButtonText, link.color(QPalette::Link));
        m_structureButton->setPalette(link);
        connect(m_structureButton, &QPushButton::clicked, this, [this] { dispatchMenu(ids::CheckStructure); });
        statusBar()->addPermanentWidget(m_structureButton);
    }
    m_structureButton->setText(QString::fromUtf8("Struktur: %1 %2 – anzeigen")
                                   .arg(count)
                                   .arg(count == 1 ? QStringLiteral("Problem") : QStringLiteral("Probleme")));
    m_structureButton->setVisible(count > 0);
    // An open problems window shows what the save found.
    if (m_structureWindow && m_structureWindow->isVisible())
        checkStructure();
}

void MainWindow::checkStructure()
{
    if (!m_structureWindow) {
        m_structureWindow = new StructureWindow(this);
        connect(m_structureWindow, &StructureWindow::gadgetChosen, this,
                [this](std::int32_t lvid) { applyOutcome(selectByLvid(m_state.list, lvid)); });
    }
    const std::vector<StructureProblem> problems = tafelbau::checkStructure(m_state.list);
    m_structureWindow->showProblems(m_state.list, problems);
    if (m_structureButton)
        m_structureButton->setVisible(!problems.empty());
    m_structureWindow->show();
    m_structureWindow->raise();
}

void MainWindow::showTitle(const std::string &utf8)
{
    setWindowTitle(fromUtf8(utf8));
    // Every load, save and new list passes here.
    updateEditActions();
    watchListFile();
    // Counted from the first unsaved change, not the last: editing without
    // a pause must not keep the recovery from being written.
    if (!m_recoveryTimer)
        return;
    if (!m_state.changed) {
        m_recoveryTimer->stop();
        m_documents.keepRecovery(); // removes one an undo made stale
    } else if (!m_recoveryTimer->isActive())
        m_recoveryTimer->start();
}

void MainWindow::setRecoveryDelay(int milliseconds)
{
    m_recoveryTimer->setInterval(milliseconds);
}

void MainWindow::watchListFile()
{
    // Watched anew every time: a save, ours or another program's, puts a new
    // file in the old one's place, and a watch stays with the file it was
    // set on. The folder tells when a list that was gone comes back.
    if (!m_watcher)
        return;
    const QString file = m_state.listFile.empty() ? QString() : fromPath(m_state.listFile);
    const QString folder = file.isEmpty() ? QString() : fromPath(m_state.listFile.parent_path());
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    if (!m_watcher->directories().isEmpty() && m_watcher->directories() != QStringList{folder})
        m_watcher->removePaths(m_watcher->directories());
    if (file.isEmpty())
        return;
    if (m_watcher->directories().isEmpty() && !folder.isEmpty())
        m_watcher->addPath(folder);
    if (listFileExists(m_state.listFile))
        m_watcher->addPath(file);
}

void MainWindow::checkListOnDisk()
{
    // A question open from an earlier check runs its own event loop; the
    // file is looked at again when it is answered.
    if (m_checkingDisk) {
        m_diskCheck->start();
        return;
    }
    m_checkingDisk = true;
    watchListFile();
    m_documents.listChangedOnDisk();
    m_checkingDisk = false;
}

void MainWindow::runEdit(const std::string &label, const std::string &kind, const std::function<void()> &command)
{
    m_state.history.begin(m_state.list, m_shownCard, label, kind);
    const auto panels = selectedPanelSizes();
    command();
    keepPagesWithPanels(panels);
    m_state.history.commit(m_state.list, m_shownCard);
    updateEditActions();
}

void MainWindow::trackReferencesTo(const std::string &varId)
{
    for (int i : recordsReferringTo(m_state.list, varId))
        m_state.history.track(m_state.list, static_cast<std::size_t>(i));
}

void MainWindow::beginStep(const std::string &label)
{
    m_state.history.begin(m_state.list, m_shownCard, label);
    m_panelsBefore = selectedPanelSizes();
}

std::vector<std::array<std::int32_t, 3>> MainWindow::selectedPanelSizes() const
{
    std::vector<std::array<std::int32_t, 3>> out;
    for (const GadgetRecord &r : m_state.list.records())
        if (r.selected && controlType(r.code, r.flags).kind == ControlKind::Panel)
            out.push_back({r.lvid, r.xd, r.yd});
    return out;
}

void MainWindow::keepPagesWithPanels(const std::vector<std::array<std::int32_t, 3>> &before)
{
    if (before.empty())
        return;
    // By lvid: with every record selected, a list of many panels would
    // otherwise be walked once per panel.
    std::unordered_map<std::int32_t, std::pair<std::int32_t, std::int32_t>> sizeBefore;
    sizeBefore.reserve(before.size());
    for (const auto &[lvid, xd, yd] : before)
        sizeBefore.try_emplace(lvid, xd, yd);
    std::vector<int> panels;
    const auto &records = m_state.list.records();
    for (std::size_t i = 0; i < records.size(); ++i)
        if (const auto it = sizeBefore.find(records[i].lvid);
            it != sizeBefore.end() && (records[i].xd != it->second.first || records[i].yd != it->second.second))
            panels.push_back(static_cast<int>(i));
    if (panels.empty())
        return;
    const DialogStructure structure(m_state.list);
    for (int panel : panels)
        for (int page : structure.pagesOf(panel))
            m_state.history.track(m_state.list, static_cast<std::size_t>(page));
    if (!fitPagesToPanels(m_state.list, structure, panels).empty())
        drawCard();
}

void MainWindow::commitStep()
{
    keepPagesWithPanels(std::exchange(m_panelsBefore, {}));
    m_state.history.commit(m_state.list, m_shownCard);
    updateEditActions();
}

void MainWindow::rollbackStep()
{
    m_state.history.rollback(m_state.list);
}

void MainWindow::undo()
{
    if (const auto card = m_state.history.undo(m_state.list))
        showRestoredState(*card);
}

void MainWindow::redo()
{
    if (const auto card = m_state.history.redo(m_state.list))
        showRestoredState(*card);
}

void MainWindow::showRestoredState(std::int32_t shownCard)
{
    m_shownCard = shownCard;
    m_documents.updateTitle(!m_state.history.isAtSavedState());
    refreshGadgetList();
}

void MainWindow::updateEditActions()
{
    QAction *undoAction = menuAction(ids::Undo);
    QAction *redoAction = menuAction(ids::Redo);
    if (!undoAction || !redoAction)
        return;
    const History &h = m_state.history;
    undoAction->setEnabled(h.canUndo());
    undoAction->setText(h.canUndo() ? QString::fromUtf8("&Rückgängig: ") + fromUtf8(h.undoLabel())
                                    : QString::fromUtf8("&Rückgängig"));
    redoAction->setEnabled(h.canRedo());
    redoAction->setText(h.canRedo() ? QStringLiteral("&Wiederholen: ") + fromUtf8(h.redoLabel())
                                    : QStringLiteral("&Wiederholen"));
}

QSize MainWindow::innerSize() const
{
    return m_inner->size();
}

void MainWindow::setInnerSize(int width, int height)
{
    const int menuHeight = menuBar()->isVisible() || !isVisible() ? menuBar()->sizeHint().height() : 0;
    resize(width, height + menuHeight + statusBar()->sizeHint().height());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_inner && event->type() == QEvent::Resize)
        applyLayoutRules(m_layout, 1, m_inner->size(), m_gadgets);
    return QMainWindow::eventFilter(watched, event);
}

// --- views -----------------------------------------------------------------

void MainWindow::refreshGadgetList()
{
    m_updatingViews = true;
    m_cardChooser->clear();
    for (const std::string &entry : cardChooserEntries(m_state.list))
        m_cardChooser->addItem(fromLatin1(entry));
    m_cardChooser->setCurrentIndex(-1);

    m_listModel->rebuild();
    int lastSelected = 0;
    const auto &records = m_state.list.records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].lvid == 0)
            m_dialogs.showMessage(latin1ToUtf8("Problem: GdtList()\\lvid ist 0! Dies sollte nicht vorkommen! "
                                               "Bitte Programmierer verst\xE4ndigen."));
        if (records[i].selected)
            lastSelected = static_cast<int>(i);
    }
    m_updatingViews = false;
    applySelectionToRows();
    const int target = scrollTargetRow(lastSelected, m_listModel->rowCount());
    if (target >= 0) {
        m_listView->scrollTo(m_listModel->index(target));
        m_listView->scrollTo(m_listModel->index(lastSelected));
    }
    // A list loaded with as many records as the one before has other cards
    // all the same: the label is not left to the count.
    m_countedRecords = m_state.list.size();
    showNextFreeCard();
    drawCard();
    showGadgetProperties();
    m_codeView->refresh();
}

void MainWindow::applySelectionToRows()
{
    // Row i shows record i; consecutive selected rows go in as one range, so
    // a thousand selected gadgets do not mean a thousand selection updates.
    QItemSelection selection;
    const auto &records = m_state.list.records();
    const int rows = std::min(m_listModel->rowCount(), m_state.list.size());
    for (int i = 0; i < rows;) {
        if (!records[static_cast<std::size_t>(i)].selected) {
            ++i;
            continue;
        }
        int j = i;
        while (j + 1 < rows && records[static_cast<std::size_t>(j + 1)].selected)
            ++j;
        selection.select(m_listModel->index(i), m_listModel->index(j));
        i = j + 1;
    }
    m_updatingViews = true;
    m_listView->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_updatingViews = false;
}

void MainWindow::takeSelectionFromRows()
{
    std::vector<std::pair<int, int>> ranges;
    for (const QItemSelectionRange &range : m_listView->selectionModel()->selection())
        ranges.emplace_back(range.top(), range.bottom());
    applyOutcome(selectRows(m_state.list, ranges));
}

void MainWindow::showGadgetProperties()
{
    m_properties->setRowCount(0);
    const int row = tafelbau::currentRowGadget(m_state.list);
    if (row < 0)
        return;
    const GadgetRecord &r = m_state.list.records()[static_cast<std::size_t>(row)];
    const auto rows = propertyRows(r);
    m_properties->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        m_properties->setItem(static_cast<int>(i), 0, new QTableWidgetItem(fromLatin1(rows[i].first)));
        m_properties->setItem(static_cast<int>(i), 1, new QTableWidgetItem(fromLatin1(rows[i].second)));
    }
    m_state.newGadgetPosition = {r.x, r.y};
}

void MainWindow::selectCardFromChooser()
{
    const std::string varId = toLatin1(m_cardChooser->currentText());
    applyOutcome(selectByVarId(m_state.list, varId));
    if (varId != m_chooserText) {
        m_listView->setFocus();
        m_chooserText = varId;
    }
}

void MainWindow::revealRow(int row)
{
    // To the bottom first, so that scrolling back up leaves the row at the
    // top of the view.
    m_listView->scrollToBottom();
    if (row >= 0)
        m_listView->scrollTo(m_listModel->index(row));
}

void MainWindow::drawCard()
{
    m_shownCard = cardToShow(m_state.list, m_shownCard);
    const std::uint32_t marking = markingColour(m_state.placement);
    std::vector<CardItem> items = m_canvas->realGadgets()
        ? controlItems(m_state.list, m_shownCard, marking, m_canvas->controlMetrics())
        : cardItems(m_state.list, m_shownCard, marking);
    markGrips(items, m_state.list, m_shownCard);
    m_canvas->setItems(std::move(items));
    if (m_state.list.size() != m_countedRecords) {
        m_countedRecords = m_state.list.size();
        showNextFreeCard();
    }
}

void MainWindow::showNextFreeCard()
{
    m_nextFreeLabel->setText(fromLatin1(tafelbau::nextFreeCardLabel(m_state.list)));
}

void MainWindow::refreshCardChooser()
{
    const QString shown = m_cardChooser->currentText();
    m_cardChooser->clear();
    for (const std::string &entry : cardChooserEntries(m_state.list))
        m_cardChooser->addItem(fromLatin1(entry));
    m_cardChooser->setCurrentIndex(m_cardChooser->findText(shown));
}

void MainWindow::applyOutcome(const EditOutcome &outcome)
{
    if (outcome.mark == ChangeMark::Set)
        m_documents.updateTitle(true);
    else if (outcome.mark == ChangeMark::Clear)
        m_documents.updateTitle(false);
    const ViewUpdates &v = outcome.views;
    if (v.rebuildList) {
        refreshGadgetList();
    } else {
        if (v.currentRowText)
            m_listModel->rowChanged(outcome.current);
        if (v.applySelection)
            applySelectionToRows();
        if (v.revealCurrent)
            revealRow(outcome.current);
        if (v.cardChooser)
            refreshCardChooser();
        if (v.nextFreeCard)
            showNextFreeCard();
        if (v.properties || v.propertyValue)
            showGadgetProperties();
    }
    if (v.canvas && !v.rebuildList)
        drawCard();
    if (!v.rebuildList)
        m_codeView->refresh();
    if (!outcome.message.empty())
        m_dialogs.showMessage(outcome.message);
}

// --- help and quitting -------------------------------------------------------

void MainWindow::openHelpForCurrentGadget()
{
    // Without a current gadget, or with its type gone from the pool, there
    // is nothing to look up.
    const int row = tafelbau::currentRowGadget(m_state.list);
    if (row < 0)
        return;
    const PoolEntry *entry = m_state.pool.find(m_state.list.records()[static_cast<std::size_t>(row)].name);
    if (!entry)
        return;
    openHelpAt(helpTargetFor(entry->helpfile, entry->helptopic, m_state.pool.settings.generalPrgHelpFile));
}

void MainWindow::writeSettingsAtQuit()
{
    m_canvasHost->noteCodeViewSide();
    ProgramSettings s = m_state.settings;
    s.helpFile = m_state.pool.settings.generalPrgHelpFile;
    const QRect frame = frameGeometry();
    s.mainWinX = frame.x();
    s.mainWinY = frame.y();
    // A docked toolbox is part of the window's inner area: the next start
    // gives the window this width and the dock takes its share again.
    const bool docked = !m_toolbox->isHidden() && !m_toolbox->isFloating();
    s.mainWinXD = innerSize().width() + (docked ? width() - m_inner->width() : 0);
    s.mainWinYD = innerSize().height();
    s.view.codeView = !m_codeView->isHidden();
    writeProgramSettings(m_state.settingsFile, s);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_documents.confirmQuit()) {
        event->ignore();
        return;
    }
    writeSettingsAtQuit();
    event->accept();
    emit quitConfirmed();
}

} // namespace tafelbau
