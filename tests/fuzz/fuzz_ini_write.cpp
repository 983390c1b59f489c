// Arbitrary bytes as a settings file, then one WriteString. The input is
//   section NUL key NUL value NUL file-bytes
// (without three NULs the whole input is the file and the write is SET/FRON = 1). The
// names and the value are cut to what a settings line can hold. Afterwards the key reads
// back as written, and the file is the old one byte for byte except for the key's own
// line, or one line added in its section, or one section added at the end.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/services/IniFiles.h"
#include "tests/fuzz/FuzzScratch.h"
#include "tests/fuzz/IniReference.h"

namespace {

using namespace hx::fuzz;

struct TWrite {
    std::string Section = "SET";
    std::string Key = "FRON";
    std::string Value = "1";
    std::string_view File;
};

std::string Without(std::string_view s, std::string_view banned)
{
    std::string out;
    for (char c : s)
        if (banned.find(c) == std::string_view::npos)
            out += c;
    return out;
}

// A value reads back as written only when it is trimmed, fits the read buffer and is not
// wrapped in a pair of quotes (the reader strips them).
std::string Storable(std::string value)
{
    for (;;) {
        value = std::string(TrimBlanks(value.substr(0, hx::TIniFile::kMaxValueLength)));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value.pop_back();
        else
            return value;
    }
}

TWrite Split(std::string_view input)
{
    TWrite w;
    std::size_t fields[3];
    std::size_t at = 0;
    for (std::size_t& end : fields) {
        end = input.find('\0', at);
        if (end == std::string_view::npos) {
            w.File = input;
            return w;
        }
        at = end + 1;
    }
    // A header is "[" name "]" and a line break ends every line; a key ends at "=" and may
    // not open like a header.
    w.Section = std::string(TrimBlanks(Without(input.substr(0, fields[0]), "]\r\n")));
    std::string key = Without(input.substr(fields[0] + 1, fields[1] - fields[0] - 1), "=\r\n");
    w.Key = std::string(TrimBlanks(std::string_view(key).substr(std::min(key.find_first_not_of(" \t["), key.size()))));
    w.Value = Storable(Without(input.substr(fields[1] + 1, fields[2] - fields[1] - 1), "\r\n"));
    w.File = input.substr(fields[2] + 1);
    return w;
}

// Whether a line is a section header, and its name.
std::optional<std::string_view> HeaderName(std::string_view text)
{
    const std::string_view t = TrimBlanks(text);
    const std::size_t close = t.find(']');
    if (t.empty() || t[0] != '[' || close == std::string_view::npos)
        return std::nullopt;
    return TrimBlanks(t.substr(1, close - 1));
}

bool IsKeyLine(std::string_view text, const TWrite& w, bool withValue)
{
    const std::string_view t = withValue ? text : TrimBlanks(text);
    const std::size_t eq = t.find('=');
    if (!SameAscii(TrimBlanks(t.substr(0, eq)), w.Key))
        return false;
    return !withValue || (eq != std::string_view::npos && t.substr(eq + 1) == w.Value);
}

// Lines for a report: control bytes and bytes above 0x7E as \xNN, then the break.
std::string Show(const std::vector<TRawLine>& lines)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const TRawLine& l : lines) {
        out += "  |";
        for (const unsigned char c : l.Text)
            if (c >= 0x20 && c < 0x7F)
                out += static_cast<char>(c);
            else
                out += std::string("\\x") + digits[c >> 4] + digits[c & 15];
        out += (l.Break == "\r\n" ? "\\r\\n" : l.Break == "\n" ? "\\n" : "") + std::string("\n");
    }
    return out;
}

// The old lines B against the new lines A: one key line replaced, or lines inserted.
void CheckLines(const TWrite& w, std::string_view before, std::string_view after)
{
    const std::vector<TRawLine> b = RawLines(before), a = RawLines(after);
    const std::size_t firstLf = before.find('\n');
    const std::string eol = firstLf != std::string_view::npos && firstLf > 0 && before[firstLf - 1] == '\r' ? "\r\n" : "\n";
    // Built only for a report: it costs more than the whole check.
    const auto context = [&] { return "\nbefore:\n" + Show(b) + "after:\n" + Show(a); };

    std::size_t p = 0;
    while (p < b.size() && p < a.size() && a[p] == b[p])
        ++p;
    if (a.size() == b.size()) {
        if (p == b.size())
            return;  // the key held that value already
        // A CR that ends the file stays where it is, after the new value.
        const auto logical = [](const TRawLine& l) {
            const bool cr = l.Break.empty() && !l.Text.empty() && l.Text.back() == '\r';
            return std::string_view(l.Text).substr(0, l.Text.size() - cr);
        };
        if (!IsKeyLine(logical(b[p]), w, false) || !IsKeyLine(logical(a[p]), w, true) || a[p].Break != b[p].Break ||
            (logical(a[p]).size() == a[p].Text.size()) != (logical(b[p]).size() == b[p].Text.size()))
            Fail("line " + std::to_string(p + 1) + " changed but is not the key's" + context());
        for (std::size_t i = p + 1; i < b.size(); ++i)
            if (a[i] != b[i])
                Fail("two lines changed" + context());
        return;
    }
    // A last line without a break gains one when something is added after it: the file's
    // break, or the LF that completes a CR ending the file.
    bool gainedBreak = false;
    const auto completed = [&](const TRawLine& l) { return std::string(l.Text) + (!l.Text.empty() && l.Text.back() == '\r' ? "\n" : eol); };
    if (p + 1 == b.size() && b[p].Break.empty() && std::string(a[p].Text) + std::string(a[p].Break) == completed(b[p])) {
        gainedBreak = true;
        ++p;
    }
    if (p < b.size() && gainedBreak)
        Fail("a break was added inside the file" + context());
    const std::size_t added = a.size() - b.size();
    if (a.size() < b.size() || added > 2)
        Fail(std::to_string(a.size()) + " lines after the write, " + std::to_string(b.size()) + " before" + context());
    for (std::size_t i = p; i < b.size(); ++i)
        if (a[i + added] != b[i])
            Fail("old line " + std::to_string(i + 1) + " changed" + context());
    const TRawLine& keyLine = a[p + added - 1];
    if (!IsKeyLine(keyLine.Text, w, true) || keyLine.Break != eol)
        Fail("the added line is not the key's" + context());

    // The byte order mark is not part of the first line's text.
    std::vector<std::string_view> texts;
    for (const TRawLine& l : b)
        texts.push_back(l.Text);
    if (!texts.empty() && texts[0].starts_with("\xEF\xBB\xBF"))
        texts[0].remove_prefix(3);
    if (!b.empty() && b.back().Break.empty() && texts.back().ends_with('\r'))
        texts.back().remove_suffix(1);
    const auto isHeader = [&](std::size_t i) { return HeaderName(texts[i]).has_value(); };
    std::size_t header = 0;
    while (header < b.size() && !(isHeader(header) && SameAscii(*HeaderName(texts[header]), w.Section)))
        ++header;
    if (added == 2) {
        const std::string newHeader = "[" + w.Section + "]";
        if (header != b.size() || p != b.size() || a[p] != TRawLine{newHeader, eol})
            Fail("a section was added though it exists, or not at the end" + context());
        return;
    }
    // One line added: inside the first section of that name, after its last non-blank line.
    if (header >= p)
        Fail("the key was added outside its section" + context());
    for (std::size_t i = header + 1; i < p; ++i)
        if (isHeader(i))
            Fail("the key was added after the end of its section" + context());
    for (std::size_t i = p; i < b.size() && !isHeader(i); ++i)
        if (!TrimBlanks(texts[i]).empty())
            Fail("the key was added before other lines of its section" + context());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 65536)
        return -1;
    const TWrite w = Split(std::string_view(reinterpret_cast<const char*>(data), size));
    WriteScratch(w.File);
    hx::TIniFile ini(ScratchFile());
    try {
        ini.WriteString(w.Section, w.Key, w.Value);
    } catch (const hx::Exception& e) {
        Fail("WriteString failed: " + e.Message());
    }
    const std::string after = ReadScratch();
    if (ini.ReadString(w.Section, w.Key, "\x01") != w.Value)
        Fail("the key does not read back as written");
    CheckLines(w, w.File, after);

    // Every other name keeps its value (read by the plain reference, so no file is read).
    const TNames names = NamesIn(w.File, 3);
    for (const std::string& section : names.Sections)
        for (const std::string& key : names.Keys)
            if (!(SameAscii(section, w.Section) && SameAscii(key, w.Key)) &&
                ReferenceValue(w.File, section, key) != ReferenceValue(after, section, key))
                Fail("writing changed the value of another key");

    // Writing the same again changes nothing.
    ini.WriteString(w.Section, w.Key, w.Value);
    if (ReadScratch() != after)
        Fail("writing the same value again changed the file");
    return 0;
}
