#pragma once

#include "core/app/appstate.h"
#include "core/commands/documentcommands.h"
#include "core/document/dialogs.h"
#include "core/windows/layoutrules.h"
#include "ui/app/previewwindow.h"
#include "ui/windows/infowindow.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <vector>
#include <map>

class QAction;
class QComboBox;
class QFileSystemWatcher;
class QTimer;
class QLabel;
class QListView;
class QMenu;
class QPushButton;
class QScrollArea;
class QTableWidget;

namespace tafelbau {

class CanvasHost;
class CanvasMouse;
class CardCanvas;
class CodeView;
class EditCommands;
class GadgetListModel;
class InPlaceEditor;
class Toolbox;
class ProgramRunner;
class StructureWindow;
struct EditOutcome;

/// Numbers of the main window's gadgets and of its menu and shortcut
/// events; commands are looked up by them.
namespace ids {
enum Gadget {
    LabelGadgets = 2,
    MoveUp = 3,
    MoveDown = 4,
    Outdent = 5,
    Indent = 6,
    CardChooser = 7,
    ListView = 8,
    Properties = 9,
    KeyHelp = 10,
    NextFreeCard = 11,
    CanvasArea = 12,
    Canvas = 14
};
enum Menu {
    New = 2,
    Save = 3,
    SaveAs = 4,
    Open = 5,
    ConfigFile = 6,
    Quit = 7,
    Add = 8,
    Delete = 9,
    Import = 10,
    AssignCard = 11,
    ResetCode = 12,
    LargeText = 13,
    ReplaceVarId = 14,
    Copy = 15,
    Paste = 16,
    PoolEditor = 17,
    Info = 18,
    StepUp = 21,
    StepDown = 22,
    StepLeft = 23,
    StepRight = 24,
    FineUp = 25,
    FineDown = 26,
    FineLeft = 27,
    FineRight = 28,
    BigUp = 29,
    BigDown = 30,
    BigLeft = 31,
    BigRight = 32,
    ToggleMode = 33,
    RealGadgets = 40, ///< the "Ansicht" menu's switches from here on
    ToggleCodeView = 41,
    ToggleToolbox = 42,
    Help = 9539,
    // Beyond the original table: the history.
    Undo = 50,
    Redo = 51,
    // Beyond the original table: the usual keys and the context menu.
    Cut = 52,
    Duplicate = 53,
    SelectAll = 54,
    EditInPlace = 55,
    ToFront = 56,
    ToBack = 57,
    FocusProperties = 58,
    // Beyond the original table: designing with the mouse.
    ShowRaster = 45, ///< an "Ansicht" switch
    AlignLeft = 60,
    AlignRight = 61,
    AlignTop = 62,
    AlignBottom = 63,
    CentreHorizontally = 64,
    CentreVertically = 65,
    SameWidth = 66,
    SameHeight = 67,
    SameSize = 68,
    DistributeHorizontally = 69,
    DistributeVertically = 70,
    // Beyond the original table: trying the dialog.
    GenerateProgram = 90,
    RunProgram = 91,
    Preview = 92,
    // Beyond the original table: the dialog's structure.
    CheckStructure = 93,
    NewPage = 94,
};
} // namespace ids

/// The editor's one permanent window: the gadget list with its card chooser
/// and property list on the left, the card canvas on the right, the menu
/// and the keyboard shortcuts.
///
/// Every menu entry, shortcut and gadget event goes through one table from
/// its number to a command; later commands are plugged in with setCommand().
class MainWindow : public QMainWindow, public DocumentViews
{
    Q_OBJECT
public:
    MainWindow(AppState &state, Dialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    /// Runs the command of a menu or shortcut id; unknown ids do nothing.
    void dispatchMenu(int id);
    /// Runs the command of a gadget event.
    void dispatchGadget(int gadget);
    void setCommand(int id, std::function<void()> command);
    void setGadgetCommand(int gadget, std::function<void()> command);

    DocumentCommands &documents() { return m_documents; }
    Dialogs &dialogs() { return m_dialogs; }
    AppState &state() { return m_state; }

    // The views, as the list-editing commands use them.
    void showTitle(const std::string &utf8) override;
    void refreshGadgetList() override;
    void showStatus(const std::string &utf8) override;
    void showStructureProblems(std::size_t count) override;
    /// "Struktur prüfen": the problems window, filled anew.
    void checkStructure();
    StructureWindow *structureWindow() const { return m_structureWindow; }
    /// The status line's button that opens the problems after a save.
    QPushButton *structureButton() const { return m_structureButton; }
    void showGadgetProperties();
    void applySelectionToRows();
    void drawCard();
    /// Brings the window in step with the "Ansicht" switches of the settings.
    void applyView();
    void showNextFreeCard();
    void refreshCardChooser();

    std::int32_t shownCard() const override { return m_shownCard; }

    /// Brings the title and the views in step with what a list command did,
    /// and shows its message.
    void applyOutcome(const EditOutcome &outcome);

    /// Runs `command`, which may change the list, as one step of the
    /// history named `label` (UTF-8); steps of the same non-empty `kind`
    /// in quick succession merge.
    void runEdit(const std::string &label, const std::string &kind, const std::function<void()> &command);
    void undo();
    void redo();

    /// A change that spans several events, such as a drag, as one step of
    /// the history: begun when it starts, then kept, or undone as if it had
    /// never begun.
    void beginStep(const std::string &label);
    /// Inside runEdit(): the records naming `varId` join the step being
    /// made, as a rename of it changes them too.
    void trackReferencesTo(const std::string &varId);
    void commitStep();
    void rollbackStep();

    EditCommands *editCommands() const { return m_edit; }
    InPlaceEditor *inPlaceEditor() const { return m_inPlace; }
    Toolbox *toolbox() const { return m_toolbox; }
    ProgramRunner *programRunner() const { return m_runner; }
    /// "Vorschau": the dialog of the current gadget as a working window; a
    /// preview still open gives way to the new one.
    void openPreview();
    PreviewWindow *preview() const { return m_preview; }

    /// Inner size of the window: the area below the menu.
    QSize innerSize() const;
    void setInnerSize(int width, int height);

    // For tests and the commands that work on these views.
    QListView *listView() const { return m_listView; }
    QComboBox *cardChooser() const { return m_cardChooser; }
    QTableWidget *propertyList() const { return m_properties; }
    CardCanvas *canvas() const { return m_canvas; }
    CodeView *codeView() const { return m_codeView; }
    QLabel *nextFreeCardLabel() const { return m_nextFreeLabel; }
    QScrollArea *canvasArea() const { return m_canvasArea; }
    /// Gadget 12: the canvas area with the code view docked in it.
    CanvasHost *canvasHost() const { return m_canvasHost; }
    QAction *menuAction(int id) const;
    QFileSystemWatcher *listWatcher() const { return m_watcher; }
    /// How long after the first unsaved change the recovery is written
    /// (30 s).
    void setRecoveryDelay(int milliseconds);
    /// The menu a right click on the canvas or the gadget list opens.
    QMenu *contextMenu() const { return m_contextMenu; }
    /// Opens the context menu at `global`, its entries enabled as they apply.
    void showContextMenu(QPoint global);

signals:
    /// The quit sequence has run: the program is to end, also while the
    /// gadget chooser is still open.
    void quitConfirmed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildGadgets();
    void buildMenu();
    void buildShortcuts();
    void buildViewMenu();
    void addViewCommands();
    void toggleView(bool ViewSettings::*value);
    /// The code view comes and goes beside the canvas, in the canvas's room.
    void showCodeView(bool shown);
    void buildAlignMenu(QMenu *editing);
    /// The "Bearbeiten" entries of the usual keys, the context menu, and the
    /// plain arrow keys of the canvas.
    void buildDesignMenu(QMenu *editing);
    void buildContextMenu();
    void addDesignCommands();
    void updateDesignActions();
    void contextMenuOnCanvas(QPoint at);
    void contextMenuOnList(QPoint at);
    void addAlignCommands();
    /// The "Ausrichten" entries: enabled when enough gadgets are selected,
    /// brought up to date when the "Bearbeiten" menu opens.
    void updateAlignActions();
    void takeSelectionFromRows();
    void selectCardFromChooser();
    void revealRow(int row);
    void writeSettingsAtQuit();
    /// The undo and redo entries: enabled and named after their steps.
    void updateEditActions();
    /// The sizes of the selected panels, by lvid, before a step.
    std::vector<std::array<std::int32_t, 3>> selectedPanelSizes() const;
    /// Before a step is kept: the pages of a panel resized since `before`
    /// take its new size.
    void keepPagesWithPanels(const std::vector<std::array<std::int32_t, 3>> &before);
    /// After undo or redo: every view shows the list as it is now.
    void showRestoredState(std::int32_t shownCard);
    void openHelpForCurrentGadget();
    /// Keeps the list file and its folder watched, whatever list is open.
    void watchListFile();
    /// After the list file or its folder changed on disk.
    void checkListOnDisk();

    AppState &m_state;
    Dialogs &m_dialogs;
    DocumentCommands m_documents;
    LayoutRules m_layout;
    std::map<int, std::function<void()>> m_menuCommands;
    std::map<int, std::function<void()>> m_gadgetCommands;
    std::map<int, QAction *> m_menuActions;
    std::map<int, QWidget *> m_gadgets;

    QWidget *m_inner = nullptr;
    QComboBox *m_cardChooser = nullptr;
    QListView *m_listView = nullptr;
    GadgetListModel *m_listModel = nullptr;
    QTableWidget *m_properties = nullptr;
    QLabel *m_nextFreeLabel = nullptr;
    QScrollArea *m_canvasArea = nullptr;
    CanvasHost *m_canvasHost = nullptr;
    CardCanvas *m_canvas = nullptr;
    CodeView *m_codeView = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_diskCheck = nullptr;
    bool m_checkingDisk = false;
    QTimer *m_recoveryTimer = nullptr;
    QMenu *m_alignMenu = nullptr;
    QMenu *m_contextMenu = nullptr;

    EditCommands *m_edit = nullptr;
    CanvasMouse *m_mouse = nullptr;
    InPlaceEditor *m_inPlace = nullptr;
    Toolbox *m_toolbox = nullptr;
    ProgramRunner *m_runner = nullptr;
    QPointer<PreviewWindow> m_preview;
    StructureWindow *m_structureWindow = nullptr;
    QPushButton *m_structureButton = nullptr;
    InfoSession m_info; ///< the info window's size, kept for the run
    std::int32_t m_shownCard = 0;
    int m_countedRecords = 0;
    std::string m_chooserText;
    bool m_updatingViews = false;
    std::vector<std::array<std::int32_t, 3>> m_panelsBefore; ///< of the step begun by beginStep()
};

} // namespace tafelbau
