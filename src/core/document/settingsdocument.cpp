#include "core/document/settingsdocument.h"

#include "core/document/atomicfile.h"
#include "core/document/latin1.h"
#include "core/document/statefolder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tafelbau {

namespace {

constexpr std::size_t kIndexThreshold = 48;
constexpr std::size_t kArenaChunk = 64 * 1024;
constexpr std::size_t kWriteSlice = 256 * 1024;
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::uint32_t foldedHash(std::string_view s) noexcept
{
    std::uint32_t h = 2166136261u;
    for (char c : s) {
        h ^= static_cast<unsigned char>(foldAscii(c));
        h *= 16777619u;
    }
    return h;
}

bool isBlank(char c) noexcept
{
    return c == ' ' || c == '\t';
}

} // namespace

struct SettingsDocument::WriterSlot
{
    explicit WriterSlot(FileOps &files) : file(files) {}
    AtomicFile file;
};

SettingsDocument::SettingsDocument(FileOps &files) : m_files(&files) {}

SettingsDocument::~SettingsDocument()
{
    close();
}

void SettingsDocument::reset()
{
    m_state = State::None;
    m_path.clear();
    m_modified = false;
    m_utf8 = false;
    m_readOnly = false;
    m_created = false;
    m_buffer.reset();
    m_arena.clear();
    m_arenaUsed = m_arenaSize = 0;
    m_sections.clear();
    m_sections.emplace_back();
    m_groupSlots.clear();
    m_groupsIndexed = 0;
    m_lastFreshGroup = -1;
    m_currentGroup = 0;
    m_currentEntry = {};
    m_pending.reset();
    m_writer.reset();
}

std::string_view SettingsDocument::store(std::string_view s)
{
    // Never a view without data: an entry's key of none marks a comment.
    static constexpr char kNothing[] = "";
    if (s.empty())
        return {kNothing, 0};
    if (m_arenaSize - m_arenaUsed < s.size()) {
        const std::size_t size = std::max(kArenaChunk, s.size());
        // Not zero-filled: every byte is written before it is read.
        m_arena.push_back(std::unique_ptr<char[]>(new char[size]));
        m_arenaSize = size;
        m_arenaUsed = 0;
    }
    char *dst = m_arena.back().get() + m_arenaUsed;
    std::memcpy(dst, s.data(), s.size());
    m_arenaUsed += s.size();
    return {dst, s.size()};
}

std::string_view SettingsDocument::storeConverted(std::string_view latin1)
{
    if (!m_utf8)
        return store(latin1);
    return store(latin1ToUtf8(latin1));
}

std::string SettingsDocument::toLatin1(std::string_view raw) const
{
    return m_utf8 ? utf8ToLatin1(raw) : std::string(raw);
}

void SettingsDocument::addSection(std::string_view name)
{
    Section sec;
    sec.name = name;
    m_sections.push_back(std::move(sec));
    if (!m_groupSlots.empty())
        indexGroup(static_cast<int>(m_sections.size()) - 1, foldedHash(name));
}

bool SettingsDocument::lineEntry(std::string_view line, Entry &out)
{
    if (line.empty())
        return false;
    if (line[0] == ';') {
        std::string_view text = line.substr(1);
        if (!text.empty() && text[0] == ' ')
            text.remove_prefix(1);
        out = {{}, text};
        return true;
    }
    const std::size_t eq = line.find('=');
    std::string_view key = line.substr(0, eq);
    while (!key.empty() && isBlank(key.back()))
        key.remove_suffix(1);
    std::string_view value;
    if (eq != std::string_view::npos) {
        value = line.substr(eq + 1);
        while (!value.empty() && isBlank(value.front()))
            value.remove_prefix(1);
    }
    out = {key, value};
    return true;
}

SettingsDocument::Section &SettingsDocument::parsedSection(std::size_t index) const
{
    // Splitting a section into entries changes nothing a caller can see, so
    // it may happen on a read.
    auto &sec = const_cast<Section &>(m_sections[index]);
    if (!sec.parsed) {
        forEachLine(sec.raw, [&](std::string_view line) {
            Entry e;
            if (lineEntry(line, e))
                sec.entries.push_back(e);
        });
        sec.raw = {};
        sec.parsed = true;
    }
    return sec;
}

void SettingsDocument::parse(std::string_view bytes)
{
    // Only the group headers are found here; the lines between them are
    // split when a section is first looked into.
    const std::size_t n = bytes.size();
    std::size_t sectionStart = 0;
    std::size_t pos = 0;
    auto closeSection = [&](std::size_t end) {
        Section &sec = m_sections.back();
        sec.raw = bytes.substr(sectionStart, end - sectionStart);
        sec.parsed = sec.raw.empty();
    };
    while (pos < n) {
        std::size_t b = pos;
        while (b < n && isBlank(bytes[b]))
            ++b;
        const std::size_t hit = findEitherByte(bytes, b, '\r', '\n');
        const std::size_t end = hit == std::string_view::npos ? n : hit;
        if (b < end && bytes[b] == '[') {
            closeSection(pos);
            std::string_view name = bytes.substr(b + 1, end - b - 1);
            const std::size_t close = name.find(']');
            if (close != std::string_view::npos)
                name = name.substr(0, close);
            addSection(name);
            sectionStart = end;
        }
        pos = end;
        while (pos < n && (bytes[pos] == '\r' || bytes[pos] == '\n'))
            ++pos;
    }
    closeSection(n);
}

void SettingsDocument::adopt(std::unique_ptr<char[]> buffer, std::size_t size, const std::filesystem::path &path)
{
    reset();
    m_state = State::Open;
    m_path = path;
    m_buffer = std::move(buffer);
    std::string_view view(m_buffer.get(), size);
    if (view.size() > 2 && view.substr(0, 3) == kBom) {
        m_utf8 = true;
        view.remove_prefix(3);
    }
    parse(view);
}

void SettingsDocument::loadBytes(std::string_view bytes, const std::filesystem::path &path)
{
    auto copy = std::unique_ptr<char[]>(new char[bytes.size() + 1]);
    // An empty view may carry no pointer at all, which memcpy must not get.
    if (!bytes.empty())
        std::memcpy(copy.get(), bytes.data(), bytes.size());
    adopt(std::move(copy), bytes.size(), path);
}

bool SettingsDocument::open(const std::filesystem::path &path)
{
    close();
    FileBytes bytes;
    bool writable = false;
    int error = 0;
    if (!readWholeFile(path, bytes, &writable, &error)) {
        reset();
        m_lastError = error;
        m_state = State::Missing;
        m_path = path;
        // A file that is there but cannot be read must not be replaced by
        // one holding only what is written now: its other lines would be lost.
        std::error_code ec;
        m_readOnly = std::filesystem::is_regular_file(path, ec);
        return false;
    }
    adopt(std::move(bytes.data), bytes.size, path);
    m_readOnly = !writable;
    m_lastError = 0;
    return true;
}

bool SettingsDocument::create(const std::filesystem::path &path)
{
    close();
    auto writer = std::make_unique<WriterSlot>(*m_files);
    if (!writer->file.begin(path)) {
        m_lastError = writer->file.error();
        return false;
    }
    m_lastError = 0;
    reset();
    m_state = State::Open;
    m_path = path;
    m_created = true;
    m_writer = std::move(writer);
    return true;
}

template<typename Sink>
void SettingsDocument::serializeTo(Sink &&sink) const
{
    if (m_utf8) {
        sink(kBom);
        sink("\r\n");
    }
    auto write = [&sink](const Entry &e) {
        if (e.isComment()) {
            sink("; ");
            sink(e.value);
        } else {
            sink(e.key);
            sink(" = ");
            sink(e.value);
        }
        sink("\r\n");
    };
    for (std::size_t s = 0; s < m_sections.size(); ++s) {
        const Section &sec = m_sections[s];
        if (s > 0) {
            sink("[");
            sink(sec.name);
            sink("]\r\n");
        }
        if (!sec.parsed) {
            forEachLine(sec.raw, [&](std::string_view line) {
                Entry e;
                if (lineEntry(line, e))
                    write(e);
            });
        }
        for (const Entry &e : sec.entries)
            write(e);
    }
}

std::string SettingsDocument::serialize() const
{
    std::size_t total = 8;
    for (const Section &sec : m_sections) {
        total += sec.name.size() + sec.raw.size() + 4;
        for (const Entry &e : sec.entries)
            total += e.key.size() + e.value.size() + 5;
    }
    std::string out;
    out.reserve(total);
    serializeTo([&out](std::string_view piece) { out.append(piece); });
    return out;
}

bool SettingsDocument::close()
{
    if (m_state == State::None)
        return true;
    bool ok = true;
    m_lastError = 0;
    if (m_modified || (m_created && m_writer)) {
        if (m_readOnly) {
            ok = false;
            m_lastError = EACCES;
        } else {
            if (!m_writer) {
                m_writer = std::make_unique<WriterSlot>(*m_files);
                if (!m_writer->file.begin(m_path))
                    ok = false;
            }
            if (ok) {
                // Written in slices rather than as one string: a list of
                // 100,000 gadgets would need 70 MB more memory, mapped
                // afresh at every save.
                std::string slice;
                slice.reserve(kWriteSlice + 4096);
                serializeTo([&](std::string_view piece) {
                    slice.append(piece);
                    if (slice.size() >= kWriteSlice) {
                        if (m_writtenHasher)
                            m_writtenHasher->add(slice);
                        m_writer->file.write(slice);
                        slice.clear();
                    }
                });
                if (m_writtenHasher)
                    m_writtenHasher->add(slice);
                ok = m_writer->file.commit(slice);
            }
            if (!ok)
                m_lastError = m_writer->file.error();
        }
    }
    reset();
    m_state = State::None;
    return ok;
}

void SettingsDocument::abandon()
{
    reset();
    m_state = State::None;
}

void SettingsDocument::indexGroup(int section, std::uint32_t hash)
{
    if ((m_groupsIndexed + 1) * 2 > m_groupSlots.size()) {
        std::vector<GroupSlot> old(std::max<std::size_t>(16, m_groupSlots.size() * 2));
        old.swap(m_groupSlots);
        m_groupsIndexed = 0;
        // The table holds no two equal names, so the order of reinsertion
        // cannot change which section a name finds.
        for (const GroupSlot &slot : old)
            if (slot.section >= 0)
                indexGroup(slot.section, slot.hash);
    }
    const std::size_t mask = m_groupSlots.size() - 1;
    const std::string_view name = m_sections[static_cast<std::size_t>(section)].name;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        GroupSlot &slot = m_groupSlots[i];
        if (slot.section < 0) {
            slot = {hash, section};
            ++m_groupsIndexed;
            return;
        }
        // An earlier group of the same name keeps the name: first match wins.
        if (slot.hash == hash && equalsFolded(m_sections[static_cast<std::size_t>(slot.section)].name, name))
            return;
    }
}

int SettingsDocument::findGroup(std::string_view rawName) const
{
    const std::uint32_t hash = foldedHash(rawName);
    const std::size_t mask = m_groupSlots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const GroupSlot &slot = m_groupSlots[i];
        if (slot.section < 0)
            return -1;
        if (slot.hash == hash && equalsFolded(m_sections[static_cast<std::size_t>(slot.section)].name, rawName))
            return slot.section;
    }
}

void SettingsDocument::ensureGroupIndex()
{
    if (!m_groupSlots.empty())
        return;
    std::size_t slots = 16;
    while (slots < m_sections.size() * 2)
        slots *= 2;
    m_groupSlots.resize(slots);
    for (std::size_t s = 1; s < m_sections.size(); ++s)
        indexGroup(static_cast<int>(s), foldedHash(m_sections[s].name));
}

bool SettingsDocument::selectGroup(std::string_view name)
{
    if (m_state == State::None)
        return false;
    if (name.empty()) {
        m_currentGroup = 0;
        m_currentEntry = {};
        m_pending.reset();
        return true;
    }
    ensureGroupIndex();
    const int found = m_utf8 ? findGroup(latin1ToUtf8(name)) : findGroup(name);
    if (found >= 0) {
        m_currentGroup = found;
        m_currentEntry = {found, -1};
        m_pending.reset();
        return true;
    }
    m_pending = std::string(name);
    return false;
}

bool SettingsDocument::examineGroups()
{
    if (m_state == State::None)
        return false;
    m_currentGroup = 0;
    m_currentEntry = {};
    m_pending.reset();
    return true;
}

bool SettingsDocument::nextGroup()
{
    if (m_state == State::None)
        return false;
    if (static_cast<std::size_t>(m_currentGroup) + 1 >= m_sections.size())
        return false;
    ++m_currentGroup;
    m_currentEntry = {m_currentGroup, -1};
    m_pending.reset();
    return true;
}

std::string SettingsDocument::groupName() const
{
    if (m_state == State::None || m_currentGroup == 0)
        return {};
    return toLatin1(m_sections[static_cast<std::size_t>(m_currentGroup)].name);
}

int SettingsDocument::lookupIn(const Section &sec, std::string_view rawKey) const
{
    if (sec.entries.size() > kIndexThreshold) {
        auto &self = const_cast<Section &>(sec);
        if (!self.keyIndex || self.keyIndexStale) {
            self.keyIndex = std::make_unique<std::unordered_map<std::string, int>>();
            self.keyIndex->reserve(sec.entries.size());
            for (std::size_t i = 0; i < sec.entries.size(); ++i)
                if (!sec.entries[i].isComment())
                    self.keyIndex->emplace(foldedCopy(sec.entries[i].key), static_cast<int>(i));
            self.keyIndexStale = false;
        }
        const auto it = sec.keyIndex->find(foldedCopy(rawKey));
        return it == sec.keyIndex->end() ? -1 : it->second;
    }
    for (std::size_t i = 0; i < sec.entries.size(); ++i) {
        const Entry &e = sec.entries[i];
        if (!e.isComment() && equalsFolded(e.key, rawKey))
            return static_cast<int>(i);
    }
    return -1;
}

int SettingsDocument::lookup(std::string_view key) const
{
    if (m_state == State::None || m_pending)
        return -1;
    const Section &sec = parsedSection(static_cast<std::size_t>(m_currentGroup));
    if (m_utf8) {
        const std::string raw = latin1ToUtf8(key);
        return lookupIn(sec, raw);
    }
    return lookupIn(sec, key);
}

std::optional<std::string> SettingsDocument::find(std::string_view key) const
{
    const int i = lookup(key);
    if (i < 0)
        return std::nullopt;
    const Entry &e = m_sections[static_cast<std::size_t>(m_currentGroup)].entries[static_cast<std::size_t>(i)];
    return toLatin1(trimBlanksTabs(e.value));
}

std::string SettingsDocument::readText(std::string_view key, std::string_view fallback) const
{
    if (auto v = find(key))
        return std::move(*v);
    return std::string(fallback);
}

std::int32_t SettingsDocument::readNumber(std::string_view key, std::int32_t fallback) const
{
    const int i = lookup(key);
    if (i < 0)
        return fallback;
    // Digits are ASCII in both encodings, so no conversion is needed.
    return parseDecimal(
        m_sections[static_cast<std::size_t>(m_currentGroup)].entries[static_cast<std::size_t>(i)].value);
}

std::string_view SettingsDocument::trimmed(std::string_view value)
{
    return trimBlanksTabs(value);
}

std::string SettingsDocument::convertedKey(std::string_view utf8)
{
    return utf8ToLatin1(utf8);
}

void SettingsDocument::materialisePending()
{
    if (!m_pending)
        return;
    addSection(storeConverted(*m_pending));
    m_pending.reset();
    if (m_lastFreshGroup >= 0) {
        const std::size_t previous = m_sections[static_cast<std::size_t>(m_lastFreshGroup)].entries.size();
        m_sections.back().entries.reserve(std::min<std::size_t>(previous, 1024));
    }
    m_lastFreshGroup = static_cast<int>(m_sections.size()) - 1;
    m_currentGroup = static_cast<int>(m_sections.size()) - 1;
    m_currentEntry = {m_currentGroup, -1};
    m_modified = true;
}

void SettingsDocument::writeText(std::string_view key, std::string_view value)
{
    if (m_state == State::None)
        return;
    materialisePending();
    Section &sec = parsedSection(static_cast<std::size_t>(m_currentGroup));
    const std::string_view rawValue = storeConverted(value);
    const int i = lookup(key);
    if (i >= 0) {
        Entry &e = sec.entries[static_cast<std::size_t>(i)];
        e.key = storeConverted(key);
        e.value = rawValue;
        m_currentEntry = {m_currentGroup, i};
    } else {
        const std::string_view rawKey = storeConverted(key);
        sec.entries.push_back({rawKey, rawValue});
        const int at = static_cast<int>(sec.entries.size()) - 1;
        if (sec.keyIndex && !sec.keyIndexStale)
            sec.keyIndex->emplace(foldedCopy(rawKey), at);
        m_currentEntry = {m_currentGroup, at};
    }
    m_modified = true;
}

void SettingsDocument::writeNumber(std::string_view key, std::int32_t value)
{
    writeText(key, numberText(value));
}

void SettingsDocument::writeComment(std::string_view text)
{
    if (m_state == State::None)
        return;
    materialisePending();
    const Entry comment{{}, storeConverted(text)};
    int s = m_currentEntry.section;
    int at = m_currentEntry.entry + 1;
    if (s < 0) {
        s = 0;
        at = 0;
    }
    Section &sec = parsedSection(static_cast<std::size_t>(s));
    sec.entries.insert(sec.entries.begin() + at, comment);
    if (static_cast<std::size_t>(at) + 1 != sec.entries.size())
        sec.keyIndexStale = true;
    m_currentEntry = {s, at};
    m_modified = true;
}

bool SettingsDocument::isCommentAfterCurrent(std::string_view text) const
{
    if (m_state == State::None || m_pending)
        return false;
    const int s = m_currentEntry.section < 0 ? 0 : m_currentEntry.section;
    const int at = m_currentEntry.section < 0 ? 0 : m_currentEntry.entry + 1;
    const Section &sec = parsedSection(static_cast<std::size_t>(s));
    if (static_cast<std::size_t>(at) >= sec.entries.size())
        return false;
    const Entry &e = sec.entries[static_cast<std::size_t>(at)];
    return e.isComment() && toLatin1(e.value) == text;
}

} // namespace tafelbau
