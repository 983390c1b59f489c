// Settings files that are not what they should be (a link to nothing, a folder, noise) and
// many writers at once. Whatever happens, the file that remains parses and holds the key
// exactly once, and nothing but the settings file is left in the folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
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

// Paths that name something other than a regular file: each reads as missing at once (a
// FIFO with or without a writer, a device that never ends, a socket), cannot be written
// (the usual error, with the path), and stays what it was.
TEST(IniFileFault, NotARegularFileReadsAsMissingAtOnceAndIsNeverWritten)
{
    TTempFolder folder;
    const std::string path = folder.File("Hexatint91.ini");
    struct TShape {
        const char* Name;
        void (*Make)(const std::string& path, const std::string& folder);
    };
    const TShape shapes[] = {
        {"FIFO", [](const std::string& p, const std::string&) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"link to a FIFO",
         [](const std::string& p, const std::string& f) {
             ASSERT_EQ(::mkfifo((f + "/pipe").c_str(), 0600), 0);
             std::filesystem::create_symlink("pipe", p);
         }},
        {"link to /dev/zero", [](const std::string& p, const std::string&) { std::filesystem::create_symlink("/dev/zero", p); }},
        {"link to /dev/null", [](const std::string& p, const std::string&) { std::filesystem::create_symlink("/dev/null", p); }},
        {"socket",
         [](const std::string& p, const std::string&) {
             const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address {};
             address.sun_family = AF_UNIX;
             std::strncpy(address.sun_path, p.c_str(), sizeof address.sun_path - 1);
             ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
             ::close(s);
         }},
    };
    for (const TShape& shape : shapes) {
        SCOPED_TRACE(shape.Name);
        std::filesystem::remove_all(path);
        std::filesystem::remove(folder.File("pipe"));
        shape.Make(path, folder.Path());
        const auto type = std::filesystem::symlink_status(path).type();
        // A FIFO that has a writer (which never writes) must not be read either.
        int writer = -1;
        if (std::filesystem::status(path).type() == std::filesystem::file_type::fifo)
            writer = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
        const auto start = std::chrono::steady_clock::now();
        TIniFile ini(path);
        EXPECT_TRUE(ini.ReadBool("SET", "FRON", true));
        EXPECT_FALSE(ini.ReadBool("SET", "FRON", false));
        try {
            ini.WriteBool("SET", "FRON", false);
            ADD_FAILURE() << "the write should fail";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), path + " に書き込めません");
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), type);
        if (writer >= 0)
            ::close(writer);
    }
}

// The largest resident size of this process so far, in KiB.
long PeakKiB()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Reading and writing share one size limit: what is written reads back whole, and a file
// the reader would see only part of is refused rather than cut.
TEST(IniFileFault, OneSizeLimitForReadingAndWriting)
{
    TTempFolder folder;
    const std::string path = folder.File("Hexatint91.ini");
    const std::string entry = "[SET]\nFRON=1\n";

    // Two MiB of comments before the key: the write changes the one line, the next start
    // reads it back, and every other byte stays.
    std::string comments;
    while (comments.size() < (2u << 20))
        comments += "; " + std::string(77, 'c') + "\n";
    WriteBytes(path, comments + entry);
    {
        TIniFile ini(path);
        EXPECT_TRUE(ini.ReadBool("SET", "FRON", false));
        ini.WriteBool("SET", "FRON", false);
        EXPECT_FALSE(TIniFile(path).ReadBool("SET", "FRON", true));
        EXPECT_EQ(ReadBytes(path), comments + "[SET]\nFRON=0\n");
    }

    // A write that would take the file past the limit fails and leaves it as it was; a
    // file exactly at the limit is read to its last line.
    std::string filler = "[A]\n";
    while (filler.size() + 100 < TIniFile::kSizeLimit - entry.size())
        filler += "; " + std::string(97, 'f') + "\n";
    filler += "; " + std::string(TIniFile::kSizeLimit - entry.size() - filler.size() - 3, 'f') + "\n";
    ASSERT_EQ(filler.size() + entry.size(), TIniFile::kSizeLimit);
    WriteBytes(path, filler + entry);
    {
        TIniFile ini(path);
        EXPECT_TRUE(ini.ReadBool("SET", "FRON", false));
        ini.WriteBool("SET", "FRON", false);  // same length: still within the limit
        EXPECT_FALSE(ini.ReadBool("SET", "FRON", true));
        EXPECT_THROW(ini.WriteString("SET", "FRON", "10"), EIniFileException);
        EXPECT_EQ(ReadBytes(path), filler + "[SET]\nFRON=0\n");
    }

    // A file above the limit is never read whole: even a sparse 64 GB one is refused at
    // once, the box has its text, and memory stays where it was.
    std::filesystem::remove(path);
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, off_t{64} << 30), 0);
        ::close(fd);
    }
    const long peakBefore = PeakKiB();
    const auto start = std::chrono::steady_clock::now();
    TIniFile ini(path);
    EXPECT_TRUE(ini.ReadBool("SET", "FRON", true));
    try {
        ini.WriteBool("SET", "FRON", false);
        ADD_FAILURE() << "the write should fail";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), path + " に書き込めません");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_LT(PeakKiB() - peakBefore, 64 * 1024);
    EXPECT_EQ(std::filesystem::file_size(path), std::uintmax_t{64} << 30);
}

} // namespace
} // namespace hx
