#pragma once
// An independent, deliberately plain reading of a settings file and of its integer rule,
// for the fuzzers to hold TIniFile against. It shares no code with framework/services/IniFiles.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hx::fuzz {

// The value ReadString finds for section/key in file, or nullopt where it gives the
// default. file must fit within TIniFile::kSizeLimit.
std::optional<std::string> ReferenceValue(std::string_view file, std::string_view section,
                                          std::string_view key);

// The settings reader's integer rule, spelled with std::from_chars.
std::optional<int> ReferenceInteger(std::string_view text);

// Section and key names that occur in file (at most `limit` of each), so that the fuzzers
// ask for names that are there, plus names that are not.
struct TNames {
    std::vector<std::string> Sections;
    std::vector<std::string> Keys;
};
TNames NamesIn(std::string_view file, std::size_t limit);

// One line of file as the fuzzers compare them: its text and its line break ("\n",
// "\r\n" or "" for a last line without one), as views into the file.
struct TRawLine {
    std::string_view Text;
    std::string_view Break;
    bool operator==(const TRawLine&) const = default;
};
std::vector<TRawLine> RawLines(std::string_view file);

std::string_view TrimBlanks(std::string_view s);
bool SameAscii(std::string_view a, std::string_view b);

} // namespace hx::fuzz
