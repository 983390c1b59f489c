// Settings files that end without a line feed, and what a lookup costs. Found by fuzzing:
// a file cut after the CR of its last CR LF read that CR as part of the last value, and the
// LF the next write added turned it into a line break, so writing one key changed another.
#include <gtest/gtest.h>

#include "framework/services/IniFiles.h"
#include "tests/framework/services/TempFolder.h"
#include "tests/support/AllocationCounter.h"

namespace hx {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

TEST(IniFileLineEnd, CrEndingTheFileEndsTheLastLine)
{
    TTempFolder folder;
    const std::string path = folder.File("cut.ini");
    WriteBytes(path, "[A]\r\nk=v\r");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("A", "k", "d"), "v");
    WriteBytes(path, "[A]\r\nk=7\r");
    EXPECT_EQ(ini.ReadInteger("A", "k", 0), 7);
    // Only at the very end: inside a line a lone CR is text.
    WriteBytes(path, "[A]\nk=v\rw\n");
    EXPECT_EQ(ini.ReadString("A", "k", "d"), "v\rw");
}

struct TCutWriteCase {
    const char* What;
    const char* Section;
    const char* Key;
    std::string Expected;
};

TEST(IniFileLineEnd, WritingAfterACrEndingTheFileKeepsTheLastValue)
{
    const TCutWriteCase cases[] = {
        {"key added to the last section: the CR gets its LF", "A", "n", "[A]\r\nk=v\r\nn=1\r\n"},
        {"section added: the CR gets its LF", "B", "n", "[A]\r\nk=v\r\n[B]\r\nn=1\r\n"},
        {"the last key replaced: the CR stays after it", "A", "k", "[A]\r\nk=1\r"},
    };
    for (const TCutWriteCase& c : cases) {
        SCOPED_TRACE(c.What);
        TTempFolder folder;
        const std::string path = folder.File("cut.ini");
        WriteBytes(path, "[A]\r\nk=v\r");
        TIniFile ini(path);
        ini.WriteString(c.Section, c.Key, "1");
        EXPECT_EQ(ReadBytes(path), c.Expected);
        EXPECT_EQ(ini.ReadString("A", "k", "d"), std::string(c.Key) == "k" ? "1" : "v");
    }
}

TEST(IniFileLineEnd, LookupInASmallFileAllocatesNothingNearTheReadBound)
{
    TTempFolder folder;
    const std::string path = folder.File("small.ini");
    WriteBytes(path, "[SET]\nFRON=1\n");
    TIniFile ini(path);
    bool value = false;
    const test::TAllocationStats stats = test::AllocationsDuring([&] { value = ini.ReadBool("SET", "FRON", false); });
    EXPECT_TRUE(value);
    EXPECT_GT(stats.Largest, 0u); // the measurement sees allocations at all
    EXPECT_LT(stats.Largest, 4096u);
}

} // namespace
} // namespace hx
