// Settings files that end without a line feed, and what a lookup costs. Found by fuzzing:
// a file cut after the CR of its last CR LF read that CR as part of the last value, and the
// LF the next write added turned it into a line break, so writing one key changed another.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "framework/IniFiles.h"
#include "tests/framework/services/TempFolder.h"

namespace {
bool gMeasuring = false;
std::size_t gLargestAllocation = 0;

// Every plain allocation form is replaced together, so that each pair meets in malloc/free.
void* Allocate(std::size_t size)
{
    if (gMeasuring && size > gLargestAllocation)
        gLargestAllocation = size;
    return std::malloc(size ? size : 1);
}
} // namespace

void* operator new(std::size_t size)
{
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

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
    gLargestAllocation = 0;
    gMeasuring = true;
    const bool value = ini.ReadBool("SET", "FRON", false);
    gMeasuring = false;
    EXPECT_TRUE(value);
    EXPECT_GT(gLargestAllocation, 0u);  // the measurement sees allocations at all
    EXPECT_LT(gLargestAllocation, 4096u);
}

} // namespace
} // namespace hx
