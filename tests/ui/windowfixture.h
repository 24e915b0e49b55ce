#pragma once

// What the tests of the main window start from: a fresh folder that holds
// the settings file, so no test reads or changes the user's, scripted
// dialogs, and the window itself.
#include "core/pool/poolfile.h"
#include "scripteddialogs.h"
#include "testutil.h"
#include "ui/app/editcommands.h"
#include "ui/app/mainwindow.h"
#include "ui/canvas/cardcanvas.h"

#include <QListView>
#include <QtTest>

#include <deque>
#include <vector>

namespace testutil {

inline const std::filesystem::path kSource = TAFELBAU_SOURCE_DIR;

/// A button as the pool's own line would place it.
inline tafelbau::GadgetRecord button(const char *id, int x, int y, int xd, int yd, int card = 0)
{
    tafelbau::GadgetRecord r;
    r.name = "ButtonGadget";
    r.varId = id;
    r.text = id;
    r.code = "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\")";
    r.card = card, r.x = x, r.y = y, r.xd = xd, r.yd = yd;
    return r;
}

/// The window of card `card`, at 0,0 as every window is.
inline tafelbau::GadgetRecord window(const char *id, int card)
{
    tafelbau::GadgetRecord r = button(id, 0, 0, 400, 300, card);
    r.name = "OpenWindow";
    r.code = "OpenWindow(#[id], [x], [y], [xd], [yd], \"[text]\")";
    r.xy0 = 1;
    return r;
}

struct WindowFixture
{
    TempDir *m_dir = nullptr;
    tafelbau::AppState m_state;
    ScriptedDialogs m_dialogs;
    tafelbau::MainWindow *m_window = nullptr;
    std::vector<std::string> m_inputValues; ///< what the input box was opened with
    std::deque<std::string> m_inputAnswers; ///< given in turn, then the box keeps its value

    /// Shown only is enough for what is drawn; keys need the window active
    /// and the gadget list holding the focus, as after a start.
    enum class Show { No, Exposed, Active };

    void begin()
    {
        m_dir = new TempDir;
        resetState();
        m_inputValues.clear();
        m_inputAnswers.clear();
    }
    void resetState()
    {
        m_state = tafelbau::AppState{};
        m_state.settingsFile = m_dir->path() / "Tafelbau.ini";
    }
    bool loadShippedPool() { return tafelbau::loadGdtPool(kSource / "data" / "TafelbauGadgetPool.ini", m_state.pool); }

    void createWindow()
    {
        closeWindow();
        m_dialogs = {};
        m_window = new tafelbau::MainWindow(m_state, m_dialogs);
    }
    bool showWindow(Show how)
    {
        if (how == Show::No)
            return true;
        m_window->show();
        if (how == Show::Exposed)
            return QTest::qWaitForWindowExposed(m_window);
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window))
            return false;
        m_window->listView()->setFocus();
        return true;
    }
    bool openWindow(Show how)
    {
        createWindow();
        return showWindow(how);
    }
    void scriptInputBox()
    {
        m_window->editCommands()->windows.inputBox = [this](const std::string &value, QPoint) {
            m_inputValues.push_back(value);
            if (m_inputAnswers.empty())
                return value;
            std::string answer = m_inputAnswers.front();
            m_inputAnswers.pop_front();
            return answer;
        };
    }
    /// Active, with `list` as if it had been opened.
    bool openWindowWith(tafelbau::GdtList list)
    {
        createWindow();
        m_state.list = std::move(list);
        m_window->refreshGadgetList();
        return showWindow(Show::Active);
    }
    void closeWindow()
    {
        delete m_window;
        m_window = nullptr;
    }
    void end()
    {
        closeWindow();
        delete m_dir;
        m_dir = nullptr;
    }

    tafelbau::CardCanvas *canvas() const { return m_window->canvas(); }
    /// A point of the card, in the canvas's own pixels.
    QPoint at(int x, int y) const { return QPoint(x, y) + canvas()->cardOrigin(); }

    /// A key on the gadget list, where the window's keys start.
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(m_window->listView(), static_cast<Qt::Key>(k), mods);
    }
    /// "Hinzufügen" with the chooser answered by `type`.
    void add(const char *type)
    {
        m_window->dispatchMenu(tafelbau::ids::Add);
        m_window->editCommands()->addGadgetFromPool(type);
    }
    /// Only `varId` selected, set directly rather than by a command.
    void select(const std::string &varId)
    {
        for (tafelbau::GadgetRecord &r : m_state.list.records())
            r.selected = r.varId == varId;
        m_window->refreshGadgetList();
    }
    /// The VarIDs in list order, or only the selected ones.
    QString ids(bool onlySelected = false) const
    {
        QStringList out;
        for (const tafelbau::GadgetRecord &r : m_state.list.records())
            if (!onlySelected || r.selected)
                out << QString::fromLatin1(r.varId.c_str());
        return out.join(' ');
    }
};

} // namespace testutil
