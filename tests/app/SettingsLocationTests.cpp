// The settings location rule on real folders: every branch, the files that must never be
// opened (a folder, FIFO, device or socket at P), paths that cannot be resolved or are too
// long, and where the config folder comes from. Read-only cases run as an unprivileged user
// (root writes anywhere), each after checking that a write really is refused.
#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "MainFormFixture.h"
#include "app/SettingsLocation.h"

namespace hx::test {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

// A fresh tree: root/app holds the executable, root/home is $HOME, root/xdg the config home.
class SettingsLocationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/hx-location-XXXXXX";
        Root = ::mkdtemp(pattern);
        ::chmod(Root.c_str(), 0755);  // reachable for the unprivileged children
        fs::create_directories(App());
        fs::create_directories(Home());
        ::chmod(App().c_str(), 0777);
        ::chmod(Home().c_str(), 0777);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(App(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(Root, ignored);
    }

    std::string App() const { return Root + "/app"; }
    std::string Home() const { return Root + "/home"; }
    std::string P() const { return App() + "/Hexatint91.ini"; }
    std::string U() const { return Home() + "/.config/Hexatint91/Hexatint91.ini"; }
    TSettingsPlaces Places() const { return {App() + "/Hexatint91", Home(), ""}; }

    // "read → write", each as P, U or the path itself, and "+folder" when U's folder is made.
    std::string Describe(const TSettingsLocation& where) const
    {
        const auto name = [&](const std::string& path) {
            return path == P() ? std::string("P") : path == U() ? std::string("U") : "'" + path + "'";
        };
        return name(where.ReadPath) + " -> " + name(where.WritePath) + (where.InConfigFolder ? " +folder" : "");
    }
    std::string Chosen(const TSettingsPlaces& places) const { return Describe(ChooseSettingsLocation(places)); }
    std::string Chosen() const { return Chosen(Places()); }

    void MakeU() const
    {
        fs::create_directories(fs::path(U()).parent_path());
        std::ofstream(U()) << "[SET]\nFRON=0\n";
    }

    std::string Root;
};

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs fn in a child as nobody:nogroup when we are root, else in a child as we are; returns
// what fn returned, or why it could not run.
std::string RunUnprivileged(const std::function<std::string()>& fn)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string result;
        if (::getuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNogroup) != 0 || ::setuid(kNobody) != 0))
            result = std::string("skip: cannot drop privileges: ") + std::strerror(errno);
        else
            result = fn();
        [[maybe_unused]] ssize_t written = ::write(channel[1], result.data(), result.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return result;
}

// Why writing the file, or creating a file in the folder, is not refused; empty when it is.
std::string NotRefused(const std::string& file, const std::string& folder)
{
    if (!file.empty()) {
        const int fd = ::open(file.c_str(), O_WRONLY);
        if (fd >= 0 || errno != EACCES) {
            if (fd >= 0)
                ::close(fd);
            return "skip: " + file + " is writable by this user";
        }
    }
    if (!folder.empty()) {
        const std::string probe = folder + "/probe";
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd >= 0 || errno != EACCES) {
            if (fd >= 0) {
                ::close(fd);
                ::unlink(probe.c_str());
            }
            return "skip: " + folder + " is writable by this user";
        }
    }
    return {};
}

#define SKIP_OR_EXPECT(result, expected)                                    \
    do {                                                                    \
        const std::string got_ = (result);                                  \
        if (got_.rfind("skip: ", 0) == 0)                                   \
            GTEST_SKIP() << got_.substr(6);                                 \
        EXPECT_EQ(got_, expected);                                          \
    } while (0)

// A Unix socket bound at path; the descriptor stays open until the test ends.
int BindSocket(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return fd;
}

TEST_F(SettingsLocationTest, AWritableFileBesideTheExecutableWinsOverTheConfigFolder)
{
    WriteFile(P(), "[SET]\nFRON=0\n");
    EXPECT_EQ(Chosen(), "P -> P");
    MakeU();
    EXPECT_EQ(Chosen(), "P -> P") << "a portable copy stays portable";
    fs::remove(P());
    EXPECT_EQ(Chosen(), "U -> U +folder") << "without P, an existing U is used";
}

TEST_F(SettingsLocationTest, WithNeitherFileAWritableExecutableFolderGetsTheNewFile)
{
    EXPECT_EQ(Chosen(), "P -> P");
    fs::create_symlink("elsewhere.ini", P());
    EXPECT_EQ(Chosen(), "P -> P") << "a link to a missing file: the save creates the file it names";
    fs::remove(P());
    fs::create_symlink(Root + "/missing/x.ini", P());
    EXPECT_EQ(Chosen(), "P -> P") << "even into a missing folder: the save then names P";
}

// What stands at P is never opened (a FIFO would block, a device never end): the rule moves
// on to the config folder, whether or not U exists yet.
TEST_F(SettingsLocationTest, AnythingButARegularFileAtPIsPassedOver)
{
    WriteFile(Root + "/target.ini", "[SET]\nFRON=0\n");
    int socketFd = -1;
    const struct {
        const char* What;
        std::function<void(const std::string&)> Make;
    } shapes[] = {
        {"a folder", [](const std::string& p) { fs::create_directory(p); }},
        {"a FIFO", [](const std::string& p) { ::mkfifo(p.c_str(), 0666); }},
        {"a link to a FIFO",
         [&](const std::string& p) {
             ::mkfifo((Root + "/fifo").c_str(), 0666);
             fs::create_symlink(Root + "/fifo", p);
         }},
        {"a link to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
        {"a link to /dev/stdin", [](const std::string& p) { fs::create_symlink("/dev/stdin", p); }},
        {"a socket", [&](const std::string& p) { socketFd = BindSocket(p); }},
        {"a link to a folder", [&](const std::string& p) { fs::create_symlink(Root, p); }},
        {"a link loop", [](const std::string& p) { fs::create_symlink(p, p); }},
    };
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.What);
        fs::remove_all(P());
        fs::remove_all(Root + "/fifo");
        fs::remove_all(Home() + "/.config");
        shape.Make(P());
        ASSERT_TRUE(fs::symlink_status(P()).type() != fs::file_type::not_found);
        EXPECT_EQ(Chosen(), "U -> U +folder") << "no U yet";
        MakeU();
        EXPECT_EQ(Chosen(), "U -> U +folder") << "U exists";
        if (socketFd >= 0)
            ::close(socketFd);
        socketFd = -1;
    }
}

// Removes folder name inside dirFd and all below it, through descriptors: deeper than
// PATH_MAX, no path reaches it.
void RemoveDeep(int dirFd, const std::string& name)
{
    const int fd = ::openat(dirFd, name.c_str(), O_DIRECTORY | O_NOFOLLOW);
    if (fd >= 0) {
        for (const std::string& child : {std::string(200, 'd'), std::string("Hexatint91.ini")}) {
            RemoveDeep(fd, child);
            ::unlinkat(fd, child.c_str(), 0);
        }
        ::close(fd);
    }
    ::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR);
}

// E is unusable when the executable's folder cannot be resolved or a path is too long; the
// current folder is never the answer.
TEST_F(SettingsLocationTest, AnExecutableFolderThatCannotBeResolvedLeavesTheConfigFolder)
{
    // A chain of folders whose real path is longer than PATH_MAX, with a writable settings
    // file at its end, reached through two short links.
    const std::string part(200, 'd');
    const int depth = PATH_MAX / static_cast<int>(part.size() + 1) + 2;
    std::string firstHalf = Root, secondHalf = "l1";
    int fd = ::open(Root.c_str(), O_DIRECTORY);
    for (int level = 0; level < depth; ++level) {
        ::mkdirat(fd, part.c_str(), 0755);
        const int next = ::openat(fd, part.c_str(), O_DIRECTORY);
        ::close(fd);
        fd = next;
        (level < depth / 2 ? firstHalf : secondHalf) += "/" + part;
    }
    ASSERT_GE(fd, 0);
    ::close(::openat(fd, "Hexatint91.ini", O_WRONLY | O_CREAT, 0666));
    ::close(fd);
    ASSERT_EQ(::symlink(firstHalf.c_str(), (Root + "/l1").c_str()), 0);
    ASSERT_EQ(::symlink(secondHalf.c_str(), (Root + "/l2").c_str()), 0);

    // A real folder whose path just fits, so that P does not.
    std::string nearLimit = App();
    while (nearLimit.size() + part.size() + 1 < PATH_MAX - 20) {
        nearLimit += "/" + part;
        ::mkdir(nearLimit.c_str(), 0777);
    }
    nearLimit += "/" + std::string(PATH_MAX - 6 - nearLimit.size(), 'n');
    ASSERT_EQ(::mkdir(nearLimit.c_str(), 0777), 0);

    const std::string longName(PATH_MAX, 'x');
    const struct {
        const char* What;
        std::string Executable;
    } cases[] = {
        {"no executable path", ""},
        {"a relative executable path", "Hexatint91"},
        {"a name in the current folder", "./Hexatint91"},
        {"a folder that is not there", Root + "/missing/Hexatint91"},
        {"a folder name longer than PATH_MAX", App() + "/" + longName + "/Hexatint91"},
        {"an INI path over PATH_MAX in a folder that fits", nearLimit + "/Hexatint91"},
        {"a real path over PATH_MAX behind short links", Root + "/l2/Hexatint91"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(Chosen({c.Executable, Home(), ""}), "U -> U +folder");
    }
    const int rootFd = ::open(Root.c_str(), O_DIRECTORY);
    RemoveDeep(rootFd, part);
    ::close(rootFd);
}

TEST_F(SettingsLocationTest, TheConfigFolderComesFromXdgConfigHomeThenHome)
{
    const std::string xdg = Root + "/xdg";
    const std::string tooLong(PATH_MAX, 'z');
    const struct {
        std::string Home, ConfigHome, Expected;
    } cases[] = {
        {Home(), xdg, xdg + "/Hexatint91/Hexatint91.ini"},
        {Home(), "", U()},
        {Home(), "relative/xdg", U()},
        {Home(), "~/xdg", U()},
        {"", xdg, xdg + "/Hexatint91/Hexatint91.ini"},
        {"relative", "", ""},
        {"", "", ""},
        {Home(), "/" + tooLong, ""},
        {"/", "", "/.config/Hexatint91/Hexatint91.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("HOME=" + c.Home + " XDG_CONFIG_HOME=" + c.ConfigHome);
        EXPECT_EQ(ConfigSettingsPath({App() + "/Hexatint91", c.Home, c.ConfigHome}), c.Expected);
    }
    // Without a config folder, P is used whatever its state.
    fs::create_directory(P());
    EXPECT_EQ(Chosen({App() + "/Hexatint91", "relative", ""}), "P -> P");
}

TEST_F(SettingsLocationTest, ReadOnlyFileGivesTheStartAndTheConfigFolderTakesTheSave)
{
    WriteFile(P(), "[SET]\nFRON=0\n");
    ::chmod(P().c_str(), 0444);
    const std::string result = RunUnprivileged([&] {
        if (std::string why = NotRefused(P(), ""); !why.empty())
            return why;
        std::string seen = Chosen();
        MakeU();  // (the home folder is writable by everyone here)
        return seen + "; with U: " + Chosen();
    });
    SKIP_OR_EXPECT(result, "P -> U +folder; with U: U -> U +folder");
}

TEST_F(SettingsLocationTest, AnExecutableFolderTheUserCannotWriteSendsTheNewFileToTheConfigFolder)
{
    ::chmod(App().c_str(), 0555);
    const std::string result = RunUnprivileged([&] {
        if (std::string why = NotRefused("", App()); !why.empty())
            return why;
        return Chosen();
    });
    SKIP_OR_EXPECT(result, "U -> U +folder");

    // A read-only file in a read-only folder: the same as a read-only file.
    ::chmod(App().c_str(), 0755);
    WriteFile(P(), "[SET]\nFRON=0\n");
    ::chmod(P().c_str(), 0444);
    ::chmod(App().c_str(), 0555);
    const std::string both = RunUnprivileged([&] {
        if (std::string why = NotRefused(P(), App()); !why.empty())
            return why;
        return Chosen();
    });
    SKIP_OR_EXPECT(both, "P -> U +folder");
}

TEST(SettingsPlaces, HomeFallsBackToTheUserDatabaseAndXdgIsTakenAsItIs)
{
    const auto keep = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const auto restore = [](const char* name, const std::optional<std::string>& value) {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    };
    const std::optional<std::string> home = keep("HOME"), xdg = keep("XDG_CONFIG_HOME");

    ::setenv("HOME", "/some/home", 1);
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    TSettingsPlaces places = CurrentSettingsPlaces();
    EXPECT_EQ(places.Home, "/some/home");
    EXPECT_EQ(places.ConfigHome, "relative") << "the rule, not the reader, judges it";

    ::unsetenv("HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    places = CurrentSettingsPlaces();
    EXPECT_FALSE(places.Home.empty()) << "the user database names a home folder";
    EXPECT_EQ(places.Home[0], '/');
    EXPECT_EQ(places.ConfigHome, "");
    ::setenv("HOME", "not/absolute", 1);
    EXPECT_EQ(CurrentSettingsPlaces().Home, places.Home);

    restore("HOME", home);
    restore("XDG_CONFIG_HOME", xdg);
}

TEST_F(SettingsLocationTest, TheConfigFoldersAreMadePrivateAndNothingAboveThem)
{
    const std::string xdg = Root + "/xdg";
    const std::string u = xdg + "/Hexatint91/Hexatint91.ini";
    MakeSettingsFolders(u);
    for (const std::string& folder : {xdg, xdg + "/Hexatint91"}) {
        struct stat info {};
        ASSERT_EQ(::stat(folder.c_str(), &info), 0) << folder;
        EXPECT_EQ(info.st_mode & 07777, 0700u) << folder;
    }
    EXPECT_FALSE(fs::exists(u)) << "the file is the save's business";
    MakeSettingsFolders(u);  // already there: nothing changes
    EXPECT_TRUE(fs::is_directory(xdg + "/Hexatint91"));

    MakeSettingsFolders(Root + "/no-home/.config/Hexatint91/Hexatint91.ini");
    EXPECT_FALSE(fs::exists(Root + "/no-home")) << "a missing home folder is not made";
}

// The window follows the rule: what stands at P is not opened (a FIFO there would keep the
// window from coming up), the close makes the private config folder and saves there, and
// the next start reads it back.
TEST_F(MainFormTest, SomethingElseBesideTheExecutableSendsTheSettingToTheConfigFolder)
{
    const struct {
        const char* What;
        std::function<void(const std::string&)> Make;
    } shapes[] = {
        {"a folder", [](const std::string& p) { fs::create_directory(p); }},
        {"a FIFO", [](const std::string& p) { ::mkfifo(p.c_str(), 0666); }},
        {"a link to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
    };
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.What);
        fs::remove_all(Folder + "/config");
        fs::remove_all(SettingsFile());
        shape.Make(SettingsFile());

        TMainForm1& form = Create();
        EXPECT_EQ(form.Settings().ReadPath, ConfigFile());
        EXPECT_TRUE(form.N4->Checked());
        form.N4->Click();
        form.Show();
        Guarded([&] { form.Close(); });
        EXPECT_TRUE(Platform.ErrorBoxes().empty());
        EXPECT_EQ(ReadBytes(ConfigFile()), "[SET]\nFRON=0\n");
        struct stat info {};
        ASSERT_EQ(::stat((Folder + "/config/Hexatint91").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0700u);
        Form.reset();

        TMainForm1& again = Create();
        EXPECT_FALSE(again.N4->Checked()) << "the next start reads the config folder's file";
        Form.reset();
        MainForm1 = nullptr;
        EXPECT_NE(fs::symlink_status(SettingsFile()).type(), fs::file_type::regular) << "P was left alone";
    }
}

} // namespace
} // namespace hx::test
