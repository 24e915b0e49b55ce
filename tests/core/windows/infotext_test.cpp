#include "core/windows/infotext.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <vector>

using namespace tafelbau;

namespace {

std::vector<std::string> crlfLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text does not end in CR LF";
    return lines;
}

std::size_t indexOf(const std::vector<std::string> &lines, const std::string &line)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == line)
            return i;
    ADD_FAILURE() << "no line " << line;
    return lines.size();
}

const std::vector<unsigned char> kHallo = {0x78, 0xDA, 0xF3, 0x48, 0xCC, 0xC9, 0xC9,
                                           0x07, 0x00, 0x05, 0x7C, 0x01, 0xF1};
// 1000 zero bytes: they need more than ten times the 17 bytes of the stream.
const std::vector<unsigned char> kThousandZeros = {0x78, 0xDA, 0x63, 0x60, 0x18, 0x05, 0xA3, 0x60, 0x14,
                                                   0x0C, 0x77, 0x00, 0x00, 0x03, 0xE8, 0x00, 0x01};

} // namespace

TEST(InfoText, BuiltInStreamIsZlibWrappedAndUnpacksToTheTextFile)
{
    const auto data = builtInInfoData();
    ASSERT_GE(data.size(), 2u);
    EXPECT_EQ(data[0] & 0x0F, 8) << "deflate";
    EXPECT_EQ((data[0] * 256 + data[1]) % 31, 0) << "zlib header check";

    const UnpackedInfo info = unpackInfoText(data);
    ASSERT_EQ(info.failure, InfoFailure::None);
    EXPECT_EQ(info.text, testutil::readFile(std::filesystem::path(TAFELBAU_SOURCE_DIR) / "data" / "info.txt"));
}

TEST(InfoText, HasTheDocumentStructure)
{
    const std::string text = unpackInfoText(builtInInfoData()).text;
    for (unsigned char c : text)
        ASSERT_TRUE(c == '\t' || c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F) || c >= 0xA0)
            << "byte " << int(c) << " is no printable Latin-1";
    const auto lines = crlfLines(text);
    ASSERT_GT(lines.size(), 10u);
    for (const std::string &line : lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "lone line break in " << line;

    EXPECT_EQ(lines[0].rfind("Tafelbau 0.583", 0), 0u);
    EXPECT_EQ(lines[1], std::string(lines[0].size(), '='));
    std::vector<std::size_t> at = {2}; // the introduction, then the sections in order
    for (const char *heading : {"Hinweise", "Ideen, Fehler, zu tun:", "Geschichte", "Dank an..."})
        at.push_back(indexOf(lines, heading));
    EXPECT_EQ(std::adjacent_find(at.begin(), at.end(), std::greater_equal<>()), at.end());

    // History: "dd.mm.yyyy<tab>Version x", dates and versions falling, each with "- " lines.
    const std::regex entry(R"((\d\d)\.(\d\d)\.(\d{4})\tVersion (\d+\.\d+))");
    std::vector<std::string> versions;
    std::string lastDate = "99999999";
    int changes = -1;
    bool refreshEntry = false;
    for (std::size_t i = at[3] + 1; i < at[4] && !lines[i].empty(); ++i) {
        std::smatch m;
        if (std::regex_match(lines[i], m, entry)) {
            EXPECT_NE(changes, 0) << "entry without changes before " << lines[i];
            const std::string date = m.str(3) + m.str(2) + m.str(1);
            EXPECT_TRUE(m.str(2) >= "01" && m.str(2) <= "12" && m.str(1) >= "01" && m.str(1) <= "31") << lines[i];
            EXPECT_LE(date, lastDate) << lines[i];
            EXPECT_TRUE(versions.empty() || std::stod(m[4]) < std::stod(versions.back())) << lines[i];
            lastDate = date, changes = 0;
            versions.push_back(m[4]);
        } else {
            ASSERT_GE(changes, 0) << "history starts with " << lines[i];
            EXPECT_EQ(lines[i].rfind("- ", 0), 0u) << lines[i];
            ++changes;
            refreshEntry = refreshEntry || lines[i].find("tafelbau /refreshcode \"%FILE\"") != std::string::npos;
        }
    }
    EXPECT_GT(changes, 0);
    ASSERT_FALSE(versions.empty());
    EXPECT_EQ(versions.front(), "0.583");
    EXPECT_EQ(versions.back(), "0.10");
    EXPECT_TRUE(refreshEntry) << "no entry tells how to set up the editor tool";

    for (const char *banned : {"http", "www.", "@", ".de", ".com"})
        EXPECT_EQ(text.find(banned), std::string::npos) << banned;
}

TEST(InfoText, DamagedStreamsFailToUnpack)
{
    std::vector<unsigned char> flipped(builtInInfoData().begin(), builtInInfoData().end());
    flipped[flipped.size() / 2] ^= 0x55;
    std::vector<unsigned char> badChecksum = kHallo;
    badChecksum.back() ^= 1;
    const std::vector<unsigned char> cut(kHallo.begin(), kHallo.end() - 5);
    std::vector<unsigned char> rawDeflate(kHallo.begin() + 2, kHallo.end() - 4);

    const std::pair<const char *, std::vector<unsigned char>> cases[] = {
        {"flipped", flipped}, {"checksum", badChecksum},
        {"cut short", cut},   {"no zlib header", rawDeflate},
        {"empty", {}},        {"too big for ten times", kThousandZeros},
    };
    for (const auto &[name, bytes] : cases) {
        const UnpackedInfo info = unpackInfoText(bytes);
        EXPECT_EQ(info.failure, InfoFailure::Unpacking) << name;
        EXPECT_EQ(info.text, "") << name;
    }

    std::vector<unsigned char> trailing = kHallo;
    trailing.insert(trailing.end(), {0xFF, 0x00});
    EXPECT_EQ(unpackInfoText(trailing).text, "Hallo");
}

TEST(InfoText, MessagesAreLatin1)
{
    EXPECT_EQ(infoFailureMessage(InfoFailure::WindowNotOpened),
              "Fehler in _Info(): Konnte Info-Fenster nicht \xF6"
              "ffnen!");
    EXPECT_EQ(infoFailureMessage(InfoFailure::NoMemory), "Fehler in _Info(): Konnte Speicher nicht anfordern!");
    EXPECT_EQ(infoFailureMessage(InfoFailure::Unpacking), "Fehler in _Info() beim Entpacken der Infodaten!");
    EXPECT_EQ(infoFailureMessage(InfoFailure::None), "");
}
