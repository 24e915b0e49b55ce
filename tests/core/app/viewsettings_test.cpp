#include "core/app/programsettings.h"
#include "testutil.h"

#include <gtest/gtest.h>

using namespace tafelbau;

// The view switches are kept in a group of their own, which appears only
// once the view was switched on: a user who never did keeps the file as
// the program always wrote it, other groups included.
TEST(ViewSettings, CodeViewKeptInItsOwnGroupOnceSwitchedOn)
{
    testutil::TempDir dir;
    const auto file = dir / "T.ini";
    ProgramSettings s;
    ASSERT_TRUE(writeProgramSettings(file, s));
    testutil::writeFile(file, testutil::readFile(file) + "[Mine]\r\nkeep = 1\r\n");
    const std::string before = testutil::readFile(file);
    ASSERT_TRUE(writeProgramSettings(file, s));
    EXPECT_EQ(testutil::readFile(file), before);
    EXPECT_FALSE(readProgramSettings(file).view.codeView);

    const std::pair<bool, const char *> steps[] = {
        {true, "[View]\r\nGCodeView = 1\r\nGRealGadgets = 0\r\nGShowRaster = 0\r\nGToolbox = 0\r\n"},
        {false, "[View]\r\nGCodeView = 0\r\nGRealGadgets = 0\r\nGShowRaster = 0\r\nGToolbox = 0\r\n"}};
    for (const auto &[shown, group] : steps) {
        s.view.codeView = shown;
        ASSERT_TRUE(writeProgramSettings(file, s));
        EXPECT_EQ(testutil::readFile(file), before + group);
        EXPECT_EQ(readProgramSettings(file), s);
    }
    s.view.toolbox = true;
    ASSERT_TRUE(writeProgramSettings(file, s));
    EXPECT_NE(testutil::readFile(file).find("GToolbox = 1\r\n"), std::string::npos);
    EXPECT_EQ(readProgramSettings(file), s);
}

// The code view's width goes into the group only when the group is written
// anyway; a hand-edited value is kept only as a width a window can show.
TEST(ViewSettings, CodeViewWidthOnlyInAWrittenGroupAndOnlyWithinBounds)
{
    testutil::TempDir dir;
    const auto file = dir / "T.ini";
    ProgramSettings s;
    s.view.codeViewWidth = 350;
    ASSERT_TRUE(writeProgramSettings(file, s));
    EXPECT_EQ(testutil::readFile(file).find("[View]"), std::string::npos);
    EXPECT_EQ(readProgramSettings(file).view.codeViewWidth, 0);

    s.view.codeView = true;
    ASSERT_TRUE(writeProgramSettings(file, s));
    const std::string written = testutil::readFile(file);
    EXPECT_NE(written.find("GShowRaster = 0\r\nGToolbox = 0\r\nGCodeViewWidth = 350\r\n"), std::string::npos);
    EXPECT_EQ(readProgramSettings(file), s);

    auto readBack = [&](const std::string &value) {
        testutil::writeFile(file, "[View]\r\nGCodeView = 1\r\nGCodeViewWidth = " + value + "\r\n");
        return readProgramSettings(file).view.codeViewWidth;
    };
    for (const char *none : {"", "abc", "-20", "0"})
        EXPECT_EQ(readBack(none), 0) << none;
    EXPECT_EQ(readBack("640"), 640);

    // The side is written once the view was on the left, and from then on.
    s.view.codeViewLeft = true;
    ASSERT_TRUE(writeProgramSettings(file, s));
    EXPECT_NE(testutil::readFile(file).find("GCodeViewLeft = 1\r\n"), std::string::npos);
    EXPECT_EQ(readProgramSettings(file), s);
    s.view.codeViewLeft = false;
    ASSERT_TRUE(writeProgramSettings(file, s));
    EXPECT_NE(testutil::readFile(file).find("GCodeViewLeft = 0\r\n"), std::string::npos);
    EXPECT_EQ(readBack("5"), kMinCodeViewWidth);
    EXPECT_EQ(readBack("3000000"), kMaxCodeViewWidth);
}
