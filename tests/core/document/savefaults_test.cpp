// Every save of the program against the faults a disk can throw at it: the
// write fails, the disk fills up half way, the file became a folder, the
// folder is read-only or gone, the file is a full device. Each save must
// report its message, leave everything on disk as it was (no temporary file
// left either) and keep the work in memory, still marked changed.
//
// Tests run as root in CI, where permission bits stop neither reads nor
// writes; the faults are made by other means, and the one that needs
// permission bits is skipped where they do not apply.
#include "core/app/appstate.h"
#include "core/app/programsettings.h"
#include "core/codegen/codefile.h"
#include "core/commands/documentcommands.h"
#include "core/document/atomicfile.h"
#include "core/document/listfile.h"
#include "core/document/settingsdocument.h"
#include "core/pool/poolfile.h"
#include "faultyfiles.h"
#include "scripteddialogs.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>
#include <memory>
#include <sys/resource.h>
#include <utility>

using namespace tafelbau;
namespace fs = std::filesystem;

namespace {

/// Undoes a fault when it goes out of scope.
class Disarm
{
public:
    explicit Disarm(std::function<void()> undo) : m_undo(std::move(undo)) {}
    Disarm(Disarm &&other) noexcept : m_undo(std::exchange(other.m_undo, nullptr)) {}
    Disarm &operator=(Disarm &&) = delete;
    ~Disarm()
    {
        if (m_undo)
            m_undo();
    }

private:
    std::function<void()> m_undo;
};

Disarm onExit(std::function<void()> undo)
{
    return Disarm(std::move(undo));
}

bool permissionBitsApply(const fs::path &dir)
{
    const fs::path probe = dir / "probe";
    fs::create_directory(probe);
    fs::permissions(probe, fs::perms::owner_read | fs::perms::owner_exec);
    std::error_code ec;
    const bool created = fs::create_directory(probe / "x", ec);
    fs::permissions(probe, fs::perms::owner_all);
    fs::remove_all(probe);
    return !created;
}

struct Fault
{
    const char *name;
    /// Makes the next save of `target` fail; an empty result skips the case.
    std::function<std::optional<Disarm>(const fs::path &target)> arm;
    std::function<std::unique_ptr<FileOps>()> files = [] { return std::make_unique<FileOps>(); };
};

const Fault kFaults[] = {
    {"every write fails as on a full disk", [](const fs::path &) -> std::optional<Disarm> { return onExit([] {}); },
     [] { return std::make_unique<testutil::FullDisk>(); }},
    {"the disk fills up after 64 bytes",
     [](const fs::path &) -> std::optional<Disarm> {
         // A file size limit makes write() stop part way and then fail,
         // as a file system that runs out of space does.
         rlimit old{};
         ::getrlimit(RLIMIT_FSIZE, &old);
         rlimit small = old;
         small.rlim_cur = 64;
         const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
         if (::setrlimit(RLIMIT_FSIZE, &small) != 0)
             return std::nullopt;
         return onExit([old, oldSignal] {
             ::setrlimit(RLIMIT_FSIZE, &old);
             std::signal(SIGXFSZ, oldSignal);
         });
     }},
    {"the file was replaced by a folder",
     [](const fs::path &target) -> std::optional<Disarm> {
         fs::remove(target);
         fs::create_directory(target);
         testutil::writeFile(target / "inside", "kept");
         return onExit([] {});
     }},
    {"the file is a link to a full device",
     [](const fs::path &target) -> std::optional<Disarm> {
         if (!fs::exists("/dev/full"))
             return std::nullopt;
         fs::remove(target);
         fs::create_symlink("/dev/full", target);
         return onExit([] {});
     }},
    {"the folder is read-only",
     [](const fs::path &target) -> std::optional<Disarm> {
         const fs::path dir = target.parent_path();
         if (!permissionBitsApply(dir))
             return std::nullopt;
         fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
         return onExit([dir] { fs::permissions(dir, fs::perms::owner_all); });
     }},
    {"the folder is gone",
     [](const fs::path &target) -> std::optional<Disarm> {
         fs::remove_all(target.parent_path());
         return onExit([] {});
     }},
};

/// Everything below `dir`: type and bytes of each entry, links not followed.
std::map<std::string, std::string> snapshot(const fs::path &dir)
{
    std::map<std::string, std::string> out;
    std::error_code ec;
    if (!fs::exists(dir, ec))
        return out;
    for (auto it = fs::recursive_directory_iterator(dir, ec); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path rel = fs::relative(it->path(), dir);
        const auto status = fs::symlink_status(it->path());
        if (fs::is_symlink(status))
            out[rel.string()] = "link to " + fs::read_symlink(it->path()).string();
        else if (fs::is_directory(status))
            out[rel.string()] = "folder";
        else
            out[rel.string()] = "file " + testutil::readFile(it->path());
    }
    return out;
}

/// Runs `save` under every fault. `target` is prepared by `prepare` before
/// each fault is armed, in a folder of its own.
void forEveryFault(const std::function<void(const fs::path &target)> &prepare, const std::string &fileName,
                   const std::function<void(const fs::path &target, FileOps &files)> &saveAndCheck)
{
    for (const Fault &fault : kFaults) {
        SCOPED_TRACE(fault.name);
        testutil::TempDir tmp;
        const fs::path dir = tmp / "work";
        fs::create_directory(dir);
        const fs::path target = dir / fileName;
        prepare(target);
        std::optional<Disarm> armed = fault.arm(target);
        if (!armed) {
            std::printf("[ skipped  ] %s: not possible here\n", fault.name);
            continue;
        }
        const auto before = snapshot(dir);
        const std::unique_ptr<FileOps> files = fault.files();
        saveAndCheck(target, *files);
        armed.reset();
        EXPECT_EQ(snapshot(dir), before) << "the disk changed";
    }
}

GadgetRecord gadget(const std::string &id)
{
    GadgetRecord r;
    r.name = "ButtonGadget";
    r.varId = id;
    r.code = "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\")";
    r.text = "Caption of " + id;
    return r;
}

struct RecordingViews : DocumentViews
{
    std::string title;
    int refreshes = 0;
    void showTitle(const std::string &t) override { title = t; }
    void refreshGadgetList() override { ++refreshes; }
};

} // namespace

TEST(SaveFaults, ListSaveKeepsFileDocumentAndChangeMark)
{
    forEveryFault(
        [](const fs::path &target) {
            GdtList saved;
            saved.append(gadget("Ok"));
            ASSERT_TRUE(writeListFile(target, saved).ok);
            testutil::writeFile(target.parent_path() / "a.pbi", "previous code");
        },
        "a.tbf",
        [](const fs::path &target, FileOps &files) {
            // The state opening the file left, then an edit.
            AppState state;
            state.pool.settings.codeFileExt = ".pbi";
            state.list.append(gadget("Ok"));
            state.list.append(gadget("Added"));
            state.listFile = target;
            testutil::ScriptedDialogs dialogs;
            RecordingViews views;
            DocumentCommands commands(
                state.document(), dialogs, views, [] { return std::time_t{0}; }, files);
            commands.updateTitle(true);
            const std::string title = views.title;
            const std::vector<GadgetRecord> records = state.list.records();

            EXPECT_FALSE(commands.saveList());
            EXPECT_EQ(
                dialogs.takeCalls(),
                std::vector<std::string>{"message: Fehler: Kann Gadgetliste nicht speichern: " + target.string()});
            EXPECT_TRUE(state.changed);
            EXPECT_EQ(views.title, title);
            EXPECT_EQ(state.listFile, target);
            EXPECT_EQ(state.list.records(), records);

            // Quitting after a failed save of a file that is still there
            // keeps the program open. (Where it is gone, quitting asks for
            // a new name instead.)
            if (fs::is_regular_file(fs::symlink_status(target))) {
                dialogs.yesNoAnswers = {true};
                EXPECT_FALSE(commands.confirmQuit());
                EXPECT_TRUE(state.changed);
            }
        });
}

TEST(SaveFaults, CodeFileKeepsItsPreviousBytes)
{
    for (const Fault &fault : kFaults) {
        SCOPED_TRACE(fault.name);
        testutil::TempDir tmp;
        const fs::path list = tmp / "a.tbf";
        const fs::path code = tmp / "a.pbi";
        testutil::writeFile(code, "previous code");
        std::optional<Disarm> armed = fault.arm(code);
        if (!armed)
            continue;
        const auto before = snapshot(tmp.path());
        GdtList gadgets;
        gadgets.append(gadget("Ok"));
        PoolSettings settings;
        settings.codeFileExt = ".pbi";
        const std::unique_ptr<FileOps> files = fault.files();
        const Outcome out = generateCodeFile(list, gadgets, settings, 0, *files);
        armed.reset();
        auto after = snapshot(tmp.path());
        // The empty export file may be written before the code file fails.
        after.erase("aPBFExport.pbf");
        EXPECT_FALSE(out.ok);
        EXPECT_EQ(out.message, "Fehler: Kann Codedatei nicht speichern: " + code.string());
        EXPECT_EQ(after, before);
    }
}

TEST(SaveFaults, CodeFileFailureAfterTheListWasSavedIsReported)
{
    testutil::TempDir dir;
    testutil::writeFile(dir / "a.pbi", "previous code");
    AppState state;
    state.pool.settings.codeFileExt = ".pbi";
    state.list.append(gadget("Ok"));
    state.listFile = dir / "a.tbf";
    state.changed = true;
    testutil::ScriptedDialogs dialogs;
    RecordingViews views;
    // The list file goes through; the code file meets a full disk.
    testutil::FullDisk disk(1);
    DocumentCommands commands(
        state.document(), dialogs, views, [] { return std::time_t{0}; }, disk);
    EXPECT_TRUE(commands.saveList());
    EXPECT_EQ(dialogs.takeCalls(),
              std::vector<std::string>{"message: Fehler: Kann Codedatei nicht speichern: " + (dir / "a.pbi").string()});
    EXPECT_EQ(testutil::readFile(dir / "a.pbi"), "previous code");
    EXPECT_EQ(testutil::readFile(dir / "a.tbf"), listFileBytes(state.list));
    EXPECT_FALSE(state.changed); // the list itself is saved
}

TEST(SaveFaults, PoolSaveKeepsFileAndEdits)
{
    GdtPool pool;
    pool.settings.codeFileExt = ".pbi";
    for (const char *name : {"ButtonGadget", "StringGadget"}) {
        PoolEntry e;
        e.name = name;
        e.code = std::string(name) + "(#[id], [x], [y], [xd], [yd])";
        pool.entries.push_back(e);
    }
    forEveryFault([&](const fs::path &target) { ASSERT_TRUE(saveGdtPool(target, pool).ok); }, "TafelbauGadgetPool.ini",
                  [&](const fs::path &target, FileOps &files) {
                      GdtPool edited = pool;
                      edited.entries[1].code = "edited";
                      const GdtPool expected = edited;
                      const Outcome out = saveGdtPool(target, edited, files);
                      EXPECT_FALSE(out.ok);
                      EXPECT_EQ(out.message, "Fehler: Kann Pooldatei nicht speichern: " + target.string());
                      EXPECT_EQ(edited.entries, expected.entries);
                  });
}

TEST(SaveFaults, ProgramSettingsKeepTheirFile)
{
    forEveryFault(
        [](const fs::path &target) {
            testutil::writeFile(
                target, testutil::crlf({"; my own notes", "[General]", "GPanelRaster = 9", "[Mine]", "kept = yes"}));
        },
        "Tafelbau.ini",
        [](const fs::path &target, FileOps &files) {
            ProgramSettings s;
            s.panelRaster = 3;
            EXPECT_FALSE(writeProgramSettings(target, s, files));
        });
}

// Reading a file can fail even for root: /proc/self/mem is a regular file
// whose first bytes cannot be read.
TEST(SaveFaults, UnreadableFilesAreReportedAndLeaveTheDocument)
{
    std::vector<fs::path> unreadable;
    if (std::FILE *f = std::fopen("/proc/self/mem", "rb")) {
        char c;
        if (std::fread(&c, 1, 1, f) == 0)
            unreadable.push_back("/proc/self/mem");
        std::fclose(f);
    }
    testutil::TempDir dir;
    testutil::writeFile(dir / "locked.tbf", "GdtListFileVersion = 081103\r\n[A]\r\n");
    fs::permissions(dir / "locked.tbf", fs::perms::none);
    if (testutil::readFile(dir / "locked.tbf").empty())
        unreadable.push_back(dir / "locked.tbf");
    if (unreadable.empty())
        GTEST_SKIP() << "no unreadable file can be made here";

    for (const fs::path &path : unreadable) {
        SCOPED_TRACE(path.string());
        AppState state;
        state.list.append(gadget("Mine"));
        state.listFile = dir / "mine.tbf";
        state.changed = true;
        testutil::ScriptedDialogs dialogs;
        RecordingViews views;
        DocumentCommands commands(state.document(), dialogs, views);
        dialogs.yesNoAnswers = {true};
        commands.openList(path);
        const auto calls = dialogs.takeCalls();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[1], "message: Fehler: Kann Gadgetliste nicht \xC3\266ffnen: " + path.string());
        ASSERT_EQ(state.list.size(), 1);
        EXPECT_EQ(state.listFile, dir / "mine.tbf");
        EXPECT_TRUE(state.changed);

        GdtPool pool;
        pool.entries.resize(1);
        EXPECT_FALSE(loadGdtPool(path, pool));
        EXPECT_EQ(pool.entries.size(), 1u);
    }
}

// A settings file that exists but cannot be read would otherwise be
// replaced by one holding only the program's own keys.
TEST(SaveFaults, UnreadableSettingsFileCountsAsReadOnly)
{
    // Even root cannot read /proc/self/mem from its start.
    if (!fs::is_regular_file("/proc/self/mem"))
        GTEST_SKIP() << "no /proc/self/mem";
    SettingsDocument doc;
    EXPECT_FALSE(doc.open("/proc/self/mem"));
    EXPECT_TRUE(doc.isReadOnly());
    doc.writeText("k", "v");
    EXPECT_FALSE(doc.close());

    // A file that is not there is no such case: writing creates it.
    testutil::TempDir dir;
    EXPECT_FALSE(doc.open(dir / "new.ini"));
    EXPECT_FALSE(doc.isReadOnly());
    doc.writeText("k", "v");
    EXPECT_TRUE(doc.close());
    EXPECT_EQ(testutil::readFile(dir / "new.ini"), "k = v\r\n");
}

TEST(SaveFaults, UnreadableProgramSettingsAreNotOverwritten)
{
    testutil::TempDir dir;
    const fs::path file = dir / "Tafelbau.ini";
    const std::string previous = testutil::crlf({"[Mine]", "kept = yes"});
    testutil::writeFile(file, previous);
    fs::permissions(file, fs::perms::none);
    if (!testutil::readFile(file).empty())
        GTEST_SKIP() << "permission bits do not stop reading here";
    EXPECT_FALSE(writeProgramSettings(file, ProgramSettings{}));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(testutil::readFile(file), previous);
}

// A big list is written in slices; a disk that fills up after the first of
// them must still leave the old file, and a write that goes through must give
// the same bytes as the list file's form in memory.
TEST(SaveFaults, ListWrittenInSlicesFailsWholeOrNotAtAll)
{
    testutil::TempDir dir;
    GdtList list;
    for (int i = 0; i < 3000; ++i)
        list.append(gadget("G" + std::to_string(i)));
    const std::string bytes = listFileBytes(list);
    ASSERT_GT(bytes.size(), 3u * 256 * 1024) << "the list must need several slices";

    testutil::writeFile(dir / "a.tbf", "previous");
    testutil::FullDisk disk(1);
    const Outcome failed = writeListFile(dir / "a.tbf", list, disk);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(disk.writes(), 2) << "nothing written after the failed slice";
    EXPECT_EQ(snapshot(dir.path()), (std::map<std::string, std::string>{{"a.tbf", "file previous"}}));

    ASSERT_TRUE(writeListFile(dir / "a.tbf", list).ok);
    EXPECT_EQ(testutil::readFile(dir / "a.tbf"), bytes);
}
