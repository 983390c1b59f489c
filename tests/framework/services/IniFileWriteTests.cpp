// Writing settings files: every other byte of the file survives, and the file is replaced
// whole.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "framework/core/Exception.h"
#include "framework/services/IniFiles.h"
#include "tests/framework/services/TempFolder.h"

namespace hx {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

struct TWriteCase {
    const char* What;
    std::string Before;
    const char* Section;
    const char* Key;
    const char* Value;
    std::string After;
};

TEST(IniFileWrite, KeepsEveryOtherByte)
{
    const TWriteCase cases[] = {
        {"no file", "", "SET", "FRON", "1", "[SET]\nFRON=1\n"},
        {"existing key replaced, CRLF and comments kept",
         "; settings\r\n\r\n[Other]\r\nA = 'x' \r\n\r\n[SET]\r\n  fron = 0 \r\nB=2\r\n",
         "SET", "FRON", "1",
         "; settings\r\n\r\n[Other]\r\nA = 'x' \r\n\r\n[SET]\r\nfron=1\r\nB=2\r\n"},
        {"missing key after the section's last entry, before the blank line",
         "[SET]\nA=1\n\n[Next]\nB=2\n", "SET", "FRON", "0",
         "[SET]\nA=1\nFRON=0\n\n[Next]\nB=2\n"},
        {"missing key in a section that ends the file without a break",
         "[SET]\r\nA=1", "SET", "FRON", "1", "[SET]\r\nA=1\r\nFRON=1\r\n"},
        {"missing key in an empty section", "[SET]\n[X]\n", "set", "FRON", "1",
         "[SET]\nFRON=1\n[X]\n"},
        {"missing section appended", "# comment\n[Other]\nA=1\n", "SET", "FRON", "1",
         "# comment\n[Other]\nA=1\n[SET]\nFRON=1\n"},
        {"missing section appended with the file's CRLF, after a last line without a break",
         "[Other]\r\nA=1", "SET", "FRON", "0", "[Other]\r\nA=1\r\n[SET]\r\nFRON=0\r\n"},
        {"BOM kept", "\xEF\xBB\xBF[SET]\nFRON=0\n", "SET", "FRON", "1", "\xEF\xBB\xBF[SET]\nFRON=1\n"},
        {"first of duplicate keys and sections written",
         "[S]\nK=a\nK=b\n[s]\nK=c\n", "S", "K", "z", "[S]\nK=z\nK=b\n[s]\nK=c\n"},
        {"garbage lines kept",
         "\xFF\x01\r junk\n[SET]\n\x80\x81=\x82\n", "SET", "FRON", "1",
         "\xFF\x01\r junk\n[SET]\n\x80\x81=\x82\nFRON=1\n"},
    };
    TTempFolder folder;
    const std::string path = folder.File("Hexatint91.ini");
    for (const TWriteCase& c : cases) {
        SCOPED_TRACE(c.What);
        std::filesystem::remove(path);
        if (!c.Before.empty())
            WriteBytes(path, c.Before);
        TIniFile ini(path);
        ini.WriteString(c.Section, c.Key, c.Value);
        EXPECT_EQ(ReadBytes(path), c.After);
        EXPECT_EQ(ini.ReadString(c.Section, c.Key, "<default>"), c.Value);
        EXPECT_EQ(folder.Listing(), "Hexatint91.ini;");  // no temporary file left
    }
}

TEST(IniFileWrite, NumbersAndBooleansRoundTrip)
{
    TTempFolder folder;
    TIniFile ini(folder.File("n.ini"));
    ini.WriteInteger("N", "Neg", -2147483647 - 1);
    ini.WriteBool("SET", "FRON", false);
    ini.WriteBool("SET", "On", true);
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(ini.FileName()), "[N]\nNeg=-2147483648\n[SET]\nFRON=0\nOn=1\n");
    EXPECT_EQ(ini.ReadInteger("N", "Neg", 0), -2147483647 - 1);
    EXPECT_FALSE(ini.ReadBool("SET", "FRON", true));
    EXPECT_TRUE(ini.ReadBool("SET", "On", false));
}

TEST(IniFileWrite, KeepsPermissionBitsAndGivesNewFilesTheUmaskDefault)
{
    TTempFolder folder;
    const std::string existing = folder.File("existing.ini");
    WriteBytes(existing, "[SET]\nFRON=1\n");
    ::chmod(existing.c_str(), 0640);
    TIniFile(existing).WriteBool("SET", "FRON", false);
    EXPECT_EQ(ModeOf(existing), 0640u);

    const mode_t mask = ::umask(027);
    const std::string fresh = folder.File("fresh.ini");
    TIniFile(fresh).WriteBool("SET", "FRON", true);
    ::umask(mask);
    EXPECT_EQ(ModeOf(fresh), 0640u);
}

TEST(IniFileWrite, ReplacesTheFileRatherThanRewritingIt)
{
    // Readers holding the old file keep reading the old content: the new content arrives
    // as a new file renamed over the old one.
    TTempFolder folder;
    const std::string path = folder.File("s.ini");
    WriteBytes(path, "[SET]\nFRON=1\n");
    struct stat before {};
    ::stat(path.c_str(), &before);
    TIniFile(path).WriteBool("SET", "FRON", false);
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_NE(before.st_ino, after.st_ino);
}

TEST(IniFileWrite, WritesThroughASymbolicLink)
{
    TTempFolder folder;
    const std::string real = folder.File("real.ini");
    const std::string link = folder.File("link.ini");
    WriteBytes(real, "[SET]\nFRON=1\n");
    std::filesystem::create_symlink(real, link);
    TIniFile(link).WriteBool("SET", "FRON", false);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "[SET]\nFRON=0\n");
}

TEST(IniFileWrite, FailureNamesTheFullPath)
{
    TTempFolder folder;
    const std::string path = folder.File("missing-folder/Hexatint91.ini");
    try {
        TIniFile(path).WriteBool("SET", "FRON", true);
        FAIL() << "the write should fail";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), path + " に書き込めません");
    }
    EXPECT_EQ(folder.Listing(), "");

    // A folder in place of the file.
    const std::string folderAsFile = folder.File("dir.ini");
    std::filesystem::create_directory(folderAsFile);
    EXPECT_THROW(TIniFile(folderAsFile).WriteBool("SET", "FRON", true), EIniFileException);
    EXPECT_EQ(folder.Listing(), "dir.ini;");
}

TEST(IniFileWrite, RelativePathIsReportedInFull)
{
    const std::string cwd = std::filesystem::current_path().string();
    try {
        TIniFile("no-such-folder-here/x.ini").WriteString("S", "K", "v");
        FAIL() << "the write should fail";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), cwd + "/no-such-folder-here/x.ini に書き込めません");
    }
}

} // namespace
} // namespace hx
