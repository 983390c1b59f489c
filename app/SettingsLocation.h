#pragma once
// Where the tool keeps its one setting. Decided once at start-up; the window then reads and
// writes that one file, so there are never two live files and nothing is migrated.
//
//   E = the folder of the resolved executable      P = E/Hexatint91.ini
//   U = $XDG_CONFIG_HOME/Hexatint91/Hexatint91.ini, or $HOME/.config/Hexatint91/Hexatint91.ini
//       when XDG_CONFIG_HOME is unset or not absolute
//
//   | P                         | U exists | E writable | read | write |
//   |---------------------------|----------|------------|------|-------|
//   | regular file, writable    | any      | any        | P    | P     |  1 (a portable copy)
//   | anything else             | yes      | any        | U    | U     |  2
//   | regular file, read-only   | no       | any        | P    | U     |  3 (P gives the start)
//   | absent                    | no       | yes        | P    | P     |  4 (created at the close)
//   | anything else             | no       | any        | U    | U     |  5 (U's folder made 0700)
//
// "Absent" means no file behind the name: a link to a missing file is absent too, and saving
// creates the file it names. P is unusable (never opened) when it is not a regular file (a
// folder, FIFO, device, socket, or a link to one), when E cannot be resolved, or when a path
// is longer than PATH_MAX. A relative folder is never used: without an absolute config folder
// the rule has no U and P is used whatever its state (a save that fails names P).
#include <string>

namespace hx {

// What the rule looks at: the executable's path and the two environment values.
struct TSettingsPlaces {
    std::string ExecutablePath;
    std::string Home;          // $HOME, or the user's home folder from the user database
    std::string ConfigHome;    // $XDG_CONFIG_HOME; empty when unset
};

struct TSettingsLocation {
    std::string ReadPath;   // the starting values come from here
    std::string WritePath;  // the close saves here
    bool InConfigFolder = false;  // WritePath is U: its folder is made before saving
};

// The fixed file name, in both places.
extern const char* const kSettingsFileName;

// The config folder's settings file U for these places; empty when there is no absolute
// config folder or the path is too long.
std::string ConfigSettingsPath(const TSettingsPlaces& places);

// The rule above, applied to the file system as it is now.
TSettingsLocation ChooseSettingsLocation(const TSettingsPlaces& places);

// The running process's places: the platform's executable path, $HOME (or, when it is
// unset or relative, the user database's home folder) and $XDG_CONFIG_HOME.
TSettingsPlaces CurrentSettingsPlaces();

// Makes the missing folders above path with mode 0700 (the config folder is private).
// Failures are left to the save that follows, which reports the path.
void MakeSettingsFolders(const std::string& path);

} // namespace hx
