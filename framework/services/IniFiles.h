#pragma once
// TIniFile: a settings file in the private-profile format ("[Section]" lines, then
// "Key=Value" lines).
//
// Reading: section and key names compare case-insensitively (ASCII); a value is trimmed of
// spaces and tabs, then loses one pair of surrounding matching quotes (' or "). A missing
// file, section or key gives the default. The first occurrence of a key in a section wins,
// and only the first section of a name counts. A UTF-8 byte order mark is not part of the
// first line. Lines end in LF or CR LF; a CR that ends the file ends its last line too (a
// file cut after it), so that adding a line after it keeps the last value as it read.
//
// Writing is immediate: every other line of the file stays byte for byte; a missing section
// is appended at the end, a missing key is added after the last non-blank line of its
// section. The file is replaced atomically (readers see the old or the new file, even if the
// writer dies), or rewritten in place where the folder is read-only but the file is
// writable. A failed write raises EIniFileException "<full path> に書き込めません".
#include <cstddef>
#include <string>
#include <string_view>

#include "framework/core/Object.h"

namespace hx {

class TIniFile : public TObject {
public:
    // Lookups read at most this many bytes from the start of the file, so that a huge
    // file cannot stall the program; keys beyond it are not seen.
    static constexpr std::size_t kReadLimit = 1u << 20;
    // A value read is cut to this many bytes (the private-profile 2048-byte buffer).
    static constexpr std::size_t kMaxValueLength = 2047;

    explicit TIniFile(std::string fileName);
    const char* ClassName() const override { return "TIniFile"; }
    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // The value by the rule of TryStrToInt; the default when it does not convert.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // True when the integer read is non-zero; the default when it does not convert.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value); // "1" / "0"

    // Writes are immediate; nothing is cached.
    void UpdateFile() {}

private:
    [[noreturn]] void RaiseWriteError() const;

    std::string FFileName;
};

// The settings reader's integer rule: leading spaces skipped; one "-" or "+"; then "$",
// "x", "X", "0x" or "0X" and hexadecimal digits, or decimal digits; nothing after. A decimal
// number must fit a signed 32-bit integer; a hexadecimal one 32 bits (so "$FFFFFFFF" is -1).
bool TryStrToInt(std::string_view text, int& value);

} // namespace hx
