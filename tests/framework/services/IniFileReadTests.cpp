// Reading settings files: the private-profile lookup rules and the integer rule.
#include <gtest/gtest.h>

#include "framework/services/IniFiles.h"
#include "tests/framework/services/TempFolder.h"

namespace hx {
namespace {

using test::TTempFolder;
using test::WriteBytes;

// A byte string literal that may hold NULs.
template <std::size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

struct TReadCase {
    const char* What;
    std::string File;
    const char* Section;
    const char* Key;
    std::string Expected;  // "<default>" when the default comes back
};

TEST(IniFileRead, LookupRules)
{
    const TReadCase cases[] = {
        {"LF file", "[SET]\nFRON=1\n", "SET", "FRON", "1"},
        {"CRLF file", "[SET]\r\nFRON=0\r\nX=y\r\n", "SET", "FRON", "0"},
        {"last line without a break", "[S]\nK=v", "S", "K", "v"},
        {"BOM before the first section", "\xEF\xBB\xBF[SET]\r\nFRON=0\r\n", "SET", "FRON", "0"},
        {"section and key case-insensitive", "[sEt]\nfRoN=abc\n", "Set", "FRON", "abc"},
        {"padded key and value", "[S]\n \t K \t=  \t a  b \t \n", "S", "K", "a  b"},
        {"padded section header", "  [ S ]  \nK=v\n", "S", "K", "v"},
        {"double quotes removed", "[S]\nK= \"quoted \" \n", "S", "K", "quoted "},
        {"single quotes removed", "[S]\nK='x'\n", "S", "K", "x"},
        {"only one pair of quotes", "[S]\nK=\"\"x\"\"\n", "S", "K", "\"x\""},
        {"mismatched quotes kept", "[S]\nK=\"abc'\n", "S", "K", "\"abc'"},
        {"a lone quote kept", "[S]\nK=\"\n", "S", "K", "\""},
        {"empty value is a value", "[S]\nK=\n", "S", "K", ""},
        {"value holding '='", "[S]\nK=a=b\n", "S", "K", "a=b"},
        {"duplicate key: first wins", "[S]\nK=first\nK=second\n", "S", "K", "first"},
        {"duplicate section: first counts", "[S]\nA=1\n[T]\nB=2\n[s]\nA=9\nC=3\n", "S", "A", "1"},
        {"duplicate section: its keys unseen", "[S]\nA=1\n[T]\nB=2\n[s]\nA=9\nC=3\n", "S", "C", "<default>"},
        {"key in another section", "[T]\nK=1\n[S]\nJ=2\n", "S", "K", "<default>"},
        {"key before any section", "K=1\n[S]\n", "S", "K", "<default>"},
        {"missing section", "[T]\nK=1\n", "S", "K", "<default>"},
        {"empty file", "", "S", "K", "<default>"},
        {"comment-looking lines are plain keys", "[S]\n;K=1\nK=2\n", "S", "K", "2"},
        {"garbage around a good section",
         Bytes("\xFF\xFE\x00\x01junk\r\r\n[\x80]\n=\n[S]\nK=ok\n\x00\x00"), "S", "K", "ok"},
    };
    TTempFolder folder;
    const std::string path = folder.File("read.ini");
    for (const TReadCase& c : cases) {
        SCOPED_TRACE(c.What);
        WriteBytes(path, c.File);
        EXPECT_EQ(TIniFile(path).ReadString(c.Section, c.Key, "<default>"), c.Expected);
    }
}

TEST(IniFileRead, MissingFileOrFolderGivesTheDefault)
{
    TTempFolder folder;
    EXPECT_EQ(TIniFile(folder.File("none.ini")).ReadString("SET", "FRON", "d"), "d");
    EXPECT_EQ(TIniFile(folder.File("no/such/folder.ini")).ReadInteger("SET", "FRON", 42), 42);
    EXPECT_TRUE(TIniFile(folder.File("none.ini")).ReadBool("SET", "FRON", true));
    EXPECT_EQ(folder.Listing(), "");  // reading creates nothing
}

TEST(IniFileRead, LongValueIsCutTo2047Bytes)
{
    TTempFolder folder;
    const std::string path = folder.File("long.ini");
    WriteBytes(path, "[S]\nK=" + std::string(5000, 'v') + "\nNext=1\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "K", ""), std::string(2047, 'v'));
    EXPECT_EQ(ini.ReadString("S", "Next", ""), "1");
}

TEST(IniFileRead, RandomBytesNeverBreakALookup)
{
    TTempFolder folder;
    const std::string path = folder.File("noise.ini");
    std::string noise;
    unsigned seed = 12345;
    for (int i = 0; i < 8192; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise += static_cast<char>(seed >> 16);
    }
    WriteBytes(path, noise);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("SET", "FRON", "d"), "d");
    EXPECT_TRUE(ini.ReadBool("SET", "FRON", true));
}

TEST(IniFileRead, LookupOnlyReadsTheBoundedHeadOfAHugeFile)
{
    TTempFolder folder;
    const std::string path = folder.File("huge.ini");
    // A key right at the start is found; one beyond the read bound is not, however the
    // bound cuts through the file.
    std::string text = "[A]\nEarly=1\n[Filler]\n";
    while (text.size() < TIniFile::kReadLimit + 4096)
        text += "Filler=" + std::string(100, 'f') + "\n";
    text += "[B]\nLate=1\n";
    WriteBytes(path, text);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("A", "Early", 0), 1);
    EXPECT_EQ(ini.ReadInteger("B", "Late", 0), 0);
}

// ---------------------------------------------------------------------------------------

struct TIntCase {
    const char* Text;
    bool Converts;
    int Value;
};

TEST(IniFileRead, IntegerRule)
{
    const TIntCase cases[] = {
        {"1", true, 1},          {"2", true, 2},           {"-1", true, -1},
        {"$10", true, 16},       {"0x1f", true, 31},       {"0", true, 0},
        {"00", true, 0},         {" 7", true, 7},          {"+3", true, 3},
        {"abc", false, 0},       {"", false, 0},           {"7x", false, 0},
        {"99999999999", false, 0},
        {"x1F", true, 31},       {"X1f", true, 31},        {"0XfF", true, 255},
        {"-$10", true, -16},     {"+0x10", true, 16},      {"  -5", true, -5},
        {"2147483647", true, 2147483647},                  {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0}, {"-2147483649", false, 0},
        {"$FFFFFFFF", true, -1}, {"$100000000", false, 0}, {"$", false, 0},
        {"0x", false, 0},        {"-", false, 0},          {"+-1", false, 0},
        {"7 ", false, 0},        {"\t7", false, 0},        {"1.5", false, 0},
        {"yes", false, 0},       {"true", false, 0},       {"$1g", false, 0},
        {"00000000000000000001", true, 1},
    };
    for (const TIntCase& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.Text + "\"");
        int value = 12345;
        const bool converts = TryStrToInt(c.Text, value);
        EXPECT_EQ(converts, c.Converts);
        if (converts != c.Converts)
            continue; // the value says nothing more; the other rows still run
        if (c.Converts)
            EXPECT_EQ(value, c.Value);
        else
            EXPECT_EQ(value, 12345);  // untouched on failure
    }
}

TEST(IniFileRead, BooleansFollowTheIntegerRule)
{
    struct TBoolCase {
        const char* Value;
        int WhenDefaultFalse;  // ReadBool with default false / true
        int WhenDefaultTrue;
    };
    const TBoolCase cases[] = {
        {"1", 1, 1},   {"2", 1, 1},    {"-1", 1, 1},  {"$10", 1, 1}, {"0x1f", 1, 1}, {"5", 1, 1},
        {"0", 0, 0},   {"00", 0, 0},   {" 0 ", 0, 0}, {"\"0\"", 0, 0},
        {"abc", 0, 1}, {"", 0, 1},     {"yes", 0, 1}, {"true", 0, 1}, {"7x", 0, 1},
    };
    TTempFolder folder;
    const std::string path = folder.File("Hexatint91.ini");
    for (const TBoolCase& c : cases) {
        SCOPED_TRACE(std::string("FRON=") + c.Value);
        WriteBytes(path, std::string("[SET]\r\nFRON=") + c.Value + "\r\n");
        TIniFile ini(path);
        EXPECT_EQ(ini.ReadBool("SET", "FRON", false), c.WhenDefaultFalse != 0);
        EXPECT_EQ(ini.ReadBool("SET", "FRON", true), c.WhenDefaultTrue != 0);
    }
}

} // namespace
} // namespace hx
