// Arbitrary bytes as a settings file: every lookup must come back (no crash, no hang) with
// the value an independent plain reading finds, and the integer and boolean reads must
// follow the integer rule.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/services/IniFiles.h"
#include "tests/fuzz/FuzzScratch.h"
#include "tests/fuzz/IniReference.h"

namespace {

using namespace hx::fuzz;

std::string Quoted(std::string_view s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            static const char digits[] = "0123456789abcdef";
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out + "\"";
}

// The names looked up: those in the file, a case-changed spelling of the first of each,
// the application's own and ones that are not there.
std::vector<std::string> Candidates(std::vector<std::string> names, const char* own)
{
    if (!names.empty()) {
        std::string flipped = names[0];
        for (char& c : flipped)
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                c ^= 0x20;
        names.push_back(flipped);
    }
    names.emplace_back(own);
    names.emplace_back("");
    return names;
}

void CheckLookup(const hx::TIniFile& ini, std::string_view file, const std::string& section, const std::string& key)
{
    const std::string where = "[" + Quoted(section) + "] " + Quoted(key);
    const std::string fallback = "\x01" "default";
    const std::string got = ini.ReadString(section, key, fallback);
    const auto expected = ReferenceValue(file, section, key);
    if (got != expected.value_or(fallback))
        Fail("ReadString " + where + " gave " + Quoted(got) + ", expected " +
             (expected ? Quoted(*expected) : std::string("the default")));

    // Where the key is missing the number reads are the same default path; once is enough.
    if (!expected && !(section == "SET" && key == "FRON"))
        return;
    const auto number = expected ? ReferenceInteger(*expected) : std::nullopt;
    const int integer = ini.ReadInteger(section, key, -12345);
    if (integer != number.value_or(-12345))
        Fail("ReadInteger " + where + " gave " + std::to_string(integer));
    for (const bool fallbackBool : {false, true})
        if (ini.ReadBool(section, key, fallbackBool) != (number ? *number != 0 : fallbackBool))
            Fail("ReadBool " + where + " disagrees with the integer rule");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    if (file.size() > hx::TIniFile::kReadLimit)
        return -1;  // beyond the head that lookups read; not worth the time

    // The integer rule on its own, on the whole input and on its first line.
    for (const std::string_view text : {file, file.substr(0, file.find('\n'))}) {
        int value = 0;
        const bool ok = hx::TryStrToInt(text, value);
        const auto expected = ReferenceInteger(text);
        if (ok != expected.has_value() || (ok && value != *expected))
            Fail("TryStrToInt " + Quoted(text) + " gave " + (ok ? std::to_string(value) : "no number"));
    }

    WriteScratch(file);
    const hx::TIniFile ini(ScratchFile());
    const TNames names = NamesIn(file, 2);
    for (const std::string& section : Candidates(names.Sections, "SET"))
        for (const std::string& key : Candidates(names.Keys, "FRON"))
            CheckLookup(ini, file, section, key);
    return 0;
}
