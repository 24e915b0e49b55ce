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
#include "core/codegen/codefileguard.h"
#include "core/commands/documentcommands.h"
#include "core/document/atomicfile.h"
#include "core/document/listfile.h"
#include "core/document/settingsdocument.h"
#include "core/document/systemerror.h"
#include "core/pool/poolfile.h"
#include "faultyfiles.h"
#include "scripteddialogs.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <map>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
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

struct Fault
{
    const char *name;
    /// The system's reason the save names after its own message (UTF-8).
    const char *reason;
    /// Makes the next save of `target` fail; an empty result skips the case.
    std::function<std::optional<Disarm>(const fs::path &target)> arm;
    std::function<std::unique_ptr<FileOps>()> files = [] { return std::make_unique<FileOps>(); };
};

const Fault kFaults[] = {
    {"every write fails as on a full disk", "Kein Speicherplatz mehr auf dem Ger\xC3\xA4t", [](const fs::path &) -> std::optional<Disarm> { return onExit([] {}); },
     [] { return std::make_unique<testutil::FullDisk>(); }},
    {"the disk fills up after 64 bytes",
     "Die Datei ist zu gro\xC3\x9F",
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
     "Ist ein Verzeichnis",
     [](const fs::path &target) -> std::optional<Disarm> {
         fs::remove(target);
         fs::create_directory(target);
         testutil::writeFile(target / "inside", "kept");
         return onExit([] {});
     }},
    {"the file is a link to a full device",
     "Keine gew\xC3\xB6hnliche Datei (ein Ger\xC3\xA4t, eine Pipe oder ein Socket)",
     [](const fs::path &target) -> std::optional<Disarm> {
         if (!fs::exists("/dev/full"))
             return std::nullopt;
         fs::remove(target);
         fs::create_symlink("/dev/full", target);
         return onExit([] {});
     }},
    {"the file may not be written", "Keine Berechtigung", [](const fs::path &) -> std::optional<Disarm> { return onExit([] {}); },
     [] { return std::make_unique<testutil::ReadOnlyFiles>(); }},
    {"neither the file nor its folder may be written",
     "Keine Berechtigung",
     [](const fs::path &) -> std::optional<Disarm> { return onExit([] {}); },
     [] {
         struct Locked : testutil::ReadOnlyFolder
         {
             bool mayWrite(const fs::path &) override { return false; }
         };
         return std::make_unique<Locked>();
     }},
    // Rewritten in place, the file is empty when the write fails: its old
    // bytes go back (they fit, as they did before).
    {"the folder takes no new file and the disk is full",
     "Kein Speicherplatz mehr auf dem Ger\xC3\xA4t",
     [](const fs::path &) -> std::optional<Disarm> { return onExit([] {}); },
     [] { return std::make_unique<testutil::ReadOnlyFolder>([](int write) { return write % 2 == 1; }); }},
    {"the folder is gone",
     "Datei oder Verzeichnis nicht gefunden",
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
                   const std::function<void(const fs::path &target, FileOps &files, const std::string &reason)>
                       &saveAndCheck)
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
        saveAndCheck(target, *files, fault.reason);
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
        [](const fs::path &target, FileOps &files, const std::string &reason) {
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
            const RecordList records = state.list.records();

            EXPECT_FALSE(commands.saveList());
            EXPECT_EQ(dialogs.takeCalls(), std::vector<std::string>{"message: Fehler: Kann Gadgetliste nicht speichern: "
                                                                    + target.string() + "\r\n" + reason});
            EXPECT_TRUE(state.changed);
            EXPECT_EQ(views.title, title);
            EXPECT_EQ(state.listFile, target);
            EXPECT_EQ(state.list.records(), records);

            // Quitting after a failed save of a file that is still there
            // keeps the program open. (Where it is gone, quitting asks for
            // a new name instead.)
            if (fs::is_regular_file(fs::symlink_status(target))) {
                dialogs.yesNoCancelAnswers = {Answer::Yes};
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
        testutil::writeFile(tmp / "aPBFExport.pbf", ""); // as a first save left it
        // As if this program had written it: no copy of it is needed.
        rememberCodeFile(code, "previous code", FileOps::system());
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
        const auto after = snapshot(tmp.path());
        EXPECT_FALSE(out.ok);
        EXPECT_EQ(out.message, "Fehler: Kann Codedatei nicht speichern: " + code.string() + "\r\n" + fault.reason);
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
              std::vector<std::string>{"message: Fehler: Kann Codedatei nicht speichern: " + (dir / "a.pbi").string()
                                       + "\r\nKein Speicherplatz mehr auf dem Ger\xC3\xA4t"});
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
                  [&](const fs::path &target, FileOps &files, const std::string &reason) {
                      GdtPool edited = pool;
                      edited.entries[1].code = "edited";
                      const GdtPool expected = edited;
                      const Outcome out = saveGdtPool(target, edited, files);
                      EXPECT_FALSE(out.ok);
                      EXPECT_EQ(out.message,
                                "Fehler: Kann Pooldatei nicht speichern: " + target.string() + "\r\n" + reason);
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
        [](const fs::path &target, FileOps &files, const std::string &) {
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
        dialogs.choiceAnswers = {0};
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

// A settings file its user may write but not read (mode 0200): writing the
// program's keys into an empty document would drop every other line.
TEST(SaveFaults, UnreadableProgramSettingsAreNotOverwritten)
{
    testutil::TempDir tmp;
    fs::permissions(tmp.path(), fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all);
    const fs::path file = tmp / "Tafelbau.ini";
    const std::string previous = testutil::crlf({"[Mine]", "kept = yes"});
    testutil::writeFile(file, previous);
    if (::geteuid() == 0 && ::chown(file.c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "cannot hand the file to nobody";
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::replace);
    const int status = testutil::runUnprivileged([&] { return writeProgramSettings(file, ProgramSettings{}) ? 1 : 0; });
    if (status < 0)
        GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(status, 0) << "the unreadable file was written";
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

// A file in a folder the user may not write can still be saved, where it is.
TEST(SaveFaults, WritableFileInReadOnlyFolderIsRewrittenInPlace)
{
    testutil::TempDir dir;
    GdtList list;
    list.append(gadget("Ok"));
    testutil::writeFile(dir / "a.tbf", "previous");
    fs::permissions(dir / "a.tbf", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    testutil::ReadOnlyFolder folder;
    ASSERT_TRUE(writeListFile(dir / "a.tbf", list, folder).ok);
    EXPECT_EQ(testutil::readFile(dir / "a.tbf"), listFileBytes(list));
    EXPECT_EQ(fs::status(dir / "a.tbf").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A new file cannot be made there.
    EXPECT_FALSE(writeListFile(dir / "new.tbf", list, folder).ok);
    EXPECT_FALSE(fs::exists(dir / "new.tbf"));
}

// Permission bits for real: root ignores them, so where the tests run as
// root the saves run in a child process that has dropped to "nobody".
TEST(SaveFaults, PermissionsOfAnUnprivilegedUser)
{
    testutil::TempDir tmp;
    const fs::path dir = tmp / "work";
    fs::create_directories(dir / "shut");
    GdtList list;
    list.append(gadget("Ok"));
    testutil::writeFile(dir / "locked.tbf", "locked");
    testutil::writeFile(dir / "shut" / "open.tbf", "open");
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const auto everyone = fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all;
    fs::permissions(tmp.path(), everyone);
    fs::permissions(dir, everyone);
    fs::permissions(dir / "locked.tbf", readOnly);
    fs::permissions(dir / "shut" / "open.tbf", readOnly | fs::perms::owner_write | fs::perms::group_write
                                                   | fs::perms::others_write);
    fs::permissions(dir / "shut", readOnly | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec);
    // The user's own state folder, where the copy of the old bytes goes.
    fs::create_directory(tmp / "state");
    fs::permissions(tmp / "state", everyone);

    const int status = testutil::runUnprivileged([&] {
        ::setenv("XDG_STATE_HOME", (tmp / "state").c_str(), 1);
        // Read-only stays read-only, though its folder would take the rename.
        if (writeListFile(dir / "locked.tbf", list).ok)
            return 1;
        // A writable file in a folder that takes no new file is saved in place.
        if (!writeListFile(dir / "shut" / "open.tbf", list).ok)
            return 2;
        return 0;
    });
    fs::permissions(dir / "shut", everyone);
    if (status < 0)
        GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(status, 0) << "1: a read-only file was replaced; 2: a file in a read-only folder was not saved";
    EXPECT_EQ(testutil::readFile(dir / "locked.tbf"), "locked");
    EXPECT_EQ(testutil::readFile(dir / "shut" / "open.tbf"), listFileBytes(list));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "shut"), {}), 1) << "no temporary left";
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp / "state" / "Tafelbau" / "rewrites"), {}), 0)
        << "the copy of the old bytes is gone";
}

// Every errno is a reason, the first one (EPERM) too; no error adds nothing.
TEST(SaveFaults, EveryErrorNamesItsReason)
{
    EXPECT_EQ(withSystemReason("Fehler", 0), "Fehler");
    EXPECT_EQ(withSystemReason("Fehler", EPERM), "Fehler\r\nKeine Berechtigung");
    EXPECT_EQ(withSystemReason("Fehler", 9999), "Fehler\r\nSystemfehler 9999");
}
