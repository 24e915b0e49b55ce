#pragma once

#include "core/document/fileops.h"
#include "core/document/latin1.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tafelbau {

class ContentHasher;

/// A key/value settings file held whole in memory: comments, an optional head
/// section of key lines, then named groups. The program settings, the gadget
/// pool and every gadget list file share this form.
///
/// Group and key names compare with A-Z folded; the first match wins. Lookups
/// are indexed, so reading or writing a file of many groups is linear in its
/// size while giving the same answers as a walk from the start would.
///
/// Texts in and out are Latin-1. A file that starts with the UTF-8 byte-order
/// mark is converted at every operation and written back as UTF-8.
class SettingsDocument
{
public:
    enum class State { None, Open, Missing };

    /// `files` makes the writes of close().
    explicit SettingsDocument(FileOps &files = FileOps::system());
    ~SettingsDocument();
    SettingsDocument(const SettingsDocument &) = delete;
    SettingsDocument &operator=(const SettingsDocument &) = delete;

    /// Closes the active document, then reads `path`. False when the file
    /// cannot be read; an empty document bound to the path stays active then,
    /// and writes to it create the file at close -- unless a file is there
    /// that could not be read, which counts as read-only.
    bool open(const std::filesystem::path &path);

    /// Closes the active document and starts an empty one for `path`. False
    /// when the file cannot be created there; no document is active then.
    /// The old file is replaced only when close() succeeds.
    bool create(const std::filesystem::path &path);

    /// Writes a modified document back and ends it. False when writing
    /// failed, or when changes to a read-only file were dropped; the file on
    /// disk is unchanged then.
    bool close();
    /// Every byte close() writes goes through `hasher` as well (nullptr: no
    /// hasher), so that what was written is known without reading it back.
    void hashWrittenWith(ContentHasher *hasher) { m_writtenHasher = hasher; }

    /// Discards the document without writing anything.
    void abandon();

    State state() const { return m_state; }
    /// Why the last open(), create() or close() failed: an errno value or
    /// kNotARegularFile (systemerror.h); 0 when it did not.
    int lastError() const { return m_lastError; }
    /// Whether close() writes the file as UTF-8 with its byte-order mark.
    /// Set on a document made by create() before anything is written.
    void setUtf8(bool utf8) { m_utf8 = utf8; }
    bool isModified() const { return m_modified; }
    bool isUtf8() const { return m_utf8; }
    bool isReadOnly() const { return m_readOnly; }

    bool selectGroup(std::string_view name);
    bool examineGroups();
    bool nextGroup();
    std::string groupName() const;

    std::string readText(std::string_view key, std::string_view fallback) const;
    std::int32_t readNumber(std::string_view key, std::int32_t fallback) const;
    /// The trimmed value, or nullopt when the key is not found.
    std::optional<std::string> find(std::string_view key) const;

    /// Visits the key lines of the current group (the head section when no
    /// group is selected) in file order, with values trimmed as readText
    /// trims them; nothing while a group name is pending. One pass over a
    /// group gives what a readText per key would, without a lookup per key:
    /// a caller that wants readText's answer keeps the first of equal keys.
    template<typename Visit>
    void forEachKey(Visit &&visit) const;

    int groupCount() const { return m_state == State::None ? 0 : static_cast<int>(m_sections.size()) - 1; }

    void writeText(std::string_view key, std::string_view value);
    void writeNumber(std::string_view key, std::int32_t value);
    void writeComment(std::string_view text);
    /// Whether the entry right after the current one is this comment; lets a
    /// caller avoid piling up copies of a comment it writes at every save.
    bool isCommentAfterCurrent(std::string_view text) const;

    /// Parses file bytes into an open document without touching the disk.
    void loadBytes(std::string_view bytes, const std::filesystem::path &path = {});
    /// The file form the document would be written in.
    std::string serialize() const;

private:
    // 32 bytes: a list of 100,000 gadgets holds 3.3 million of them while
    // it is written.
    struct Entry
    {
        std::string_view key;   // no data at all for a comment; a key always has some
        std::string_view value; // comment text for comments
        bool isComment() const { return key.data() == nullptr; }
    };
    struct Section
    {
        std::string_view name; // empty for the head section
        // Lines not yet split into entries: a file that is only read (every
        // list and pool) is walked line by line and never held as entries.
        std::string_view raw;
        bool parsed = false;
        std::vector<Entry> entries;
        // Built only for long sections: folded key -> first entry index.
        std::unique_ptr<std::unordered_map<std::string, int>> keyIndex;
        bool keyIndexStale = false;
    };
    struct Position
    {
        int section = -1; // -1: no current entry
        int entry = -1;   // -1: the group header itself
    };

    void reset();
    /// Hands the file form to `sink` piece by piece, in order.
    template<typename Sink>
    void serializeTo(Sink &&sink) const;
    static std::string_view trimmed(std::string_view value);
    /// Splits one line (not a group header) into an entry; false for a line
    /// that leaves none.
    static bool lineEntry(std::string_view line, Entry &out);
    template<typename Line>
    static void forEachLine(std::string_view raw, Line &&line);
    Section &parsedSection(std::size_t index) const;
    static std::string convertedKey(std::string_view utf8);
    void parse(std::string_view bytes);
    void adopt(std::unique_ptr<char[]> buffer, std::size_t size, const std::filesystem::path &path);
    std::string_view store(std::string_view s);
    std::string_view storeConverted(std::string_view latin1);
    std::string toLatin1(std::string_view raw) const;
    int lookup(std::string_view key) const; // entry index in current section, -1
    int lookupIn(const Section &sec, std::string_view rawKey) const;
    void materialisePending();
    void addSection(std::string_view name);
    void ensureGroupIndex();
    void indexGroup(int section, std::uint32_t hash);
    int findGroup(std::string_view rawName) const;

    FileOps *m_files;
    int m_lastError = 0;
    State m_state = State::None;
    std::filesystem::path m_path;
    bool m_modified = false;
    bool m_utf8 = false;
    bool m_readOnly = false;
    bool m_created = false;
    std::unique_ptr<char[]> m_buffer; // the file's bytes; entries point into them
    std::vector<std::unique_ptr<char[]>> m_arena;
    std::size_t m_arenaUsed = 0;
    std::size_t m_arenaSize = 0;
    std::vector<Section> m_sections; // [0] is the head section
    // Folded name hash -> first section of that name, open addressing with
    // a power-of-two size; empty until a group is first selected by name.
    // Holds no strings: a list of 100,000 groups would otherwise allocate
    // and chase two pointers per name, and lose the cache on every lookup.
    struct GroupSlot
    {
        std::uint32_t hash = 0;
        std::int32_t section = -1; // -1: free
    };
    std::vector<GroupSlot> m_groupSlots;
    std::size_t m_groupsIndexed = 0;
    // Groups written from nothing tend to get as many keys as the one
    // written before them: reserving that avoids regrowing every group.
    int m_lastFreshGroup = -1;
    int m_currentGroup = 0;
    Position m_currentEntry;
    std::optional<std::string> m_pending;
    struct WriterSlot;
    std::unique_ptr<WriterSlot> m_writer;
    ContentHasher *m_writtenHasher = nullptr;
};

template<typename Line>
void SettingsDocument::forEachLine(std::string_view raw, Line &&line)
{
    // Lines end at CR or LF; runs of both, and blank lines, leave nothing.
    std::size_t pos = 0;
    const std::size_t n = raw.size();
    while (pos < n) {
        std::size_t b = pos;
        while (b < n && (raw[b] == ' ' || raw[b] == '\t'))
            ++b;
        const std::size_t hit = findEitherByte(raw, b, '\r', '\n');
        const std::size_t end = hit == std::string_view::npos ? n : hit;
        if (end > b)
            line(raw.substr(b, end - b));
        pos = end;
        while (pos < n && (raw[pos] == '\r' || raw[pos] == '\n'))
            ++pos;
    }
}

template<typename Visit>
void SettingsDocument::forEachKey(Visit &&visit) const
{
    if (m_state == State::None || m_pending)
        return;
    const Section &sec = m_sections[static_cast<std::size_t>(m_currentGroup)];
    if (!sec.parsed && !m_utf8) {
        forEachLine(sec.raw, [&](std::string_view line) {
            Entry e;
            if (lineEntry(line, e) && !e.isComment())
                visit(e.key, trimmed(e.value));
        });
        return;
    }
    for (const Entry &e : parsedSection(static_cast<std::size_t>(m_currentGroup)).entries) {
        if (e.isComment())
            continue;
        if (m_utf8) {
            const std::string key = convertedKey(e.key);
            const std::string value = convertedKey(trimmed(e.value));
            visit(std::string_view(key), std::string_view(value));
        } else {
            visit(e.key, trimmed(e.value));
        }
    }
}

} // namespace tafelbau
