#include "app/SettingsLocation.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "framework/core/Platform.h"

namespace hx {

const char* const kSettingsFileName = "Hexatint91.ini";

namespace {

enum class TFileState { Unusable, Absent, Writable, ReadOnly };

bool IsAbsolute(const std::string& path)
{
    return !path.empty() && path[0] == '/';
}

bool FitsPathMax(const std::string& path)
{
    return path.size() < PATH_MAX;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// E resolved through every link; empty when it cannot be (missing, or its real path does
// not fit PATH_MAX, where realpath fails).
std::string ResolvedExecutableFolder(const std::string& executablePath)
{
    if (!IsAbsolute(executablePath))
        return {};
    const std::string folder = FolderOf(executablePath);
    if (!FitsPathMax(folder))
        return {};
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(folder.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder == "/" ? folder + name : folder + "/" + name;
}

// Only stat: the file itself is never opened here, so a FIFO cannot block the start.
TFileState StateOf(const std::string& path)
{
    if (path.empty() || !FitsPathMax(path))
        return TFileState::Unusable;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? TFileState::Absent : TFileState::Unusable;
    if (!S_ISREG(info.st_mode))
        return TFileState::Unusable;
    return ::access(path.c_str(), W_OK) == 0 ? TFileState::Writable : TFileState::ReadOnly;
}

bool Exists(const std::string& path)
{
    struct stat info {};
    return !path.empty() && ::lstat(path.c_str(), &info) == 0;
}

bool FolderWritable(const std::string& folder)
{
    struct stat info {};
    return !folder.empty() && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace

std::string ConfigSettingsPath(const TSettingsPlaces& places)
{
    std::string configHome;
    if (IsAbsolute(places.ConfigHome))
        configHome = places.ConfigHome;
    else if (IsAbsolute(places.Home))
        configHome = Join(places.Home, ".config");
    else
        return {};
    const std::string path = Join(configHome, std::string("Hexatint91/") + kSettingsFileName);
    return FitsPathMax(path) ? path : std::string();
}

TSettingsLocation ChooseSettingsLocation(const TSettingsPlaces& places)
{
    const std::string folder = ResolvedExecutableFolder(places.ExecutablePath);
    const std::string portable = folder.empty() ? std::string() : Join(folder, kSettingsFileName);
    const std::string config = ConfigSettingsPath(places);
    const TFileState state = StateOf(portable);

    if (state == TFileState::Writable)
        return {portable, portable, false};
    if (config.empty())  // no config folder: P whatever it is
        return {portable, portable, false};
    if (Exists(config))
        return {config, config, true};
    if (state == TFileState::ReadOnly)
        return {portable, config, true};
    if (state == TFileState::Absent && FolderWritable(folder))
        return {portable, portable, false};
    return {config, config, true};
}

TSettingsPlaces CurrentSettingsPlaces()
{
    TSettingsPlaces places;
    places.ExecutablePath = Platform().ModuleFileName();
    const char* home = std::getenv("HOME");
    if (home && IsAbsolute(home)) {
        places.Home = home;
    } else if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) {
        places.Home = user->pw_dir;
    }
    if (const char* configHome = std::getenv("XDG_CONFIG_HOME"))
        places.ConfigHome = configHome;
    return places;
}

void MakeSettingsFolders(const std::string& path)
{
    const std::string folder = FolderOf(path);
    const std::string configHome = FolderOf(folder);
    if (!configHome.empty())
        ::mkdir(configHome.c_str(), 0700);
    if (!folder.empty())
        ::mkdir(folder.c_str(), 0700);
}

} // namespace hx
