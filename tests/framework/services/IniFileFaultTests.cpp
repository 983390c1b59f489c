// Settings files that are not what they should be (a link to nothing, a folder, noise) and
// many writers at once. Whatever happens, the file that remains parses and holds the key
// exactly once, and nothing but the settings file is left in the folder.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <set>
#include <string_view>

#include "framework/core/Exception.h"
#include "framework/services/IniFiles.h"
#include "tests/framework/services/TempFolder.h"

namespace hx {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

// How many lines of the file's first [SET] section hold the key FRON, by a reading of the
// format independent of the one under test.
int FronLines(const std::string& text)
{
    int count = 0;
    bool inSet = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (!line.empty() && line.front() == '[' && line.find(']') != std::string_view::npos) {
            if (inSet)
                break;
            inSet = line.substr(0, 5) == "[SET]";
        } else if (inSet && line.substr(0, 5) == "FRON=") {
            ++count;
        }
    }
    return count;
}

TEST(IniFileFault, DanglingSymbolicLink)
{
    TTempFolder folder;
    const std::string link = folder.File("Hexatint91.ini");

    // A link to a file not there yet reads as a missing file; the first write creates the
    // file the link names and keeps the link.
    std::filesystem::create_symlink("elsewhere.ini", link);
    TIniFile ini(link);
    EXPECT_TRUE(ini.ReadBool("SET", "FRON", true));
    EXPECT_FALSE(ini.ReadBool("SET", "FRON", false));
    ini.WriteBool("SET", "FRON", false);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(folder.File("elsewhere.ini")), "[SET]\nFRON=0\n");
    EXPECT_FALSE(ini.ReadBool("SET", "FRON", true));
    EXPECT_EQ(folder.Listing(), "Hexatint91.ini;elsewhere.ini;");

    // A link into a folder that does not exist cannot be written: the error names the
    // settings file as the program knows it, and the link stays as it was.
    std::filesystem::remove(link);
    std::filesystem::remove(folder.File("elsewhere.ini"));
    std::filesystem::create_symlink("gone/elsewhere.ini", link);
    try {
        ini.WriteBool("SET", "FRON", true);
        FAIL() << "the write should fail";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), link + " に書き込めません");
    }
    EXPECT_EQ(std::filesystem::read_symlink(link), "gone/elsewhere.ini");
    EXPECT_EQ(folder.Listing(), "Hexatint91.ini;");

    // A link to itself reads as missing and is not replaced by a file.
    std::filesystem::remove(link);
    std::filesystem::create_symlink("Hexatint91.ini", link);
    EXPECT_TRUE(ini.ReadBool("SET", "FRON", true));
    EXPECT_THROW(ini.WriteBool("SET", "FRON", true), EIniFileException);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(folder.Listing(), "Hexatint91.ini;");
}

TEST(IniFileFault, FolderInPlaceOfTheFileReadsAsMissing)
{
    TTempFolder folder;
    const std::string path = folder.File("Hexatint91.ini");
    std::filesystem::create_directory(path);
    WriteBytes(path + "/FRON=0", "");  // names inside the folder are not lines of a file
    TIniFile ini(path);
    EXPECT_TRUE(ini.ReadBool("SET", "FRON", true));
    EXPECT_EQ(ini.ReadString("SET", "FRON", "<default>"), "<default>");
    EXPECT_THROW(ini.WriteBool("SET", "FRON", false), EIniFileException);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(folder.Listing(), "Hexatint91.ini;");
}

TEST(IniFileFault, NoiseWithNulBytesIsKeptAndTheKeyAddedOnce)
{
    TTempFolder folder;
    const std::string path = folder.File("Hexatint91.ini");
    std::mt19937 random(91);
    std::uniform_int_distribution<int> byte(0, 255);
    for (const bool endsInBreak : {false, true}) {
        SCOPED_TRACE(endsInBreak ? "noise ending in a line break" : "noise without a last break");
        std::string noise;
        for (int i = 0; i < 20000; ++i)
            noise += static_cast<char>(byte(random));
        noise += endsInBreak ? "\n" : "\x01";
        WriteBytes(path, noise);
        TIniFile ini(path);
        EXPECT_TRUE(ini.ReadBool("SET", "FRON", true));
        ini.WriteBool("SET", "FRON", false);
        ini.WriteBool("SET", "FRON", true);
        ini.WriteBool("SET", "FRON", false);
        const std::string now = ReadBytes(path);
        EXPECT_EQ(now.substr(0, noise.size()), noise);
        EXPECT_EQ(FronLines(now), 1);
        EXPECT_FALSE(ini.ReadBool("SET", "FRON", true));
        EXPECT_EQ(folder.Listing(), "Hexatint91.ini;");
    }
}

// Twenty processes write the key at the same moment, again and again, while this one
// reads. Every reading sees one whole file: the old or one of the new contents, never a
// mix, never a second key line, and no writer fails.
TEST(IniFileFault, TwentyWritersAtOnceLeaveOneWholeFile)
{
    TTempFolder folder;
    const std::string path = folder.File("Hexatint91.ini");
    const std::string head = "; kept\n[Other]\nA=1\n";
    const std::string tail = "[Tail]\nB=" + std::string(20000, 'b') + "\n";
    const std::string before = head + tail;  // no [SET] yet: the first writers add it
    const std::string with0 = head + tail + "[SET]\nFRON=0\n";
    const std::string with1 = head + tail + "[SET]\nFRON=1\n";
    WriteBytes(path, before);

    constexpr int kWriters = 20;
    constexpr int kWritesEach = 25;
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> writers;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(go[1]);
            char byte;
            if (::read(go[0], &byte, 1) != 0)  // released together when the pipe closes
                ::_exit(3);
            try {
                TIniFile ini(path);
                for (int i = 0; i < kWritesEach; ++i)
                    ini.WriteBool("SET", "FRON", (w + i) % 2 == 0);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        writers.push_back(child);
    }
    ::close(go[0]);
    ::close(go[1]);

    std::set<std::string> torn;
    int readings = 0;
    const auto allDone = [&] {
        for (pid_t& pid : writers) {
            if (pid == 0)
                continue;
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed";
                pid = 0;
            }
        }
        for (pid_t pid : writers)
            if (pid != 0)
                return false;
        return true;
    };
    while (!allDone()) {
        const std::string now = ReadBytes(path);
        ++readings;
        if (now != before && now != with0 && now != with1)
            torn.insert(now.substr(0, 200));
    }
    EXPECT_TRUE(torn.empty()) << torn.size() << " torn readings out of " << readings;
    const std::string last = ReadBytes(path);
    EXPECT_TRUE(last == with0 || last == with1);
    EXPECT_EQ(FronLines(last), 1);
    EXPECT_EQ(folder.Listing(), "Hexatint91.ini;");
}

} // namespace
} // namespace hx
