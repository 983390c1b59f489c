#include "tests/fuzz/IniReference.h"

#include <charconv>
#include <cstdint>

namespace hx::fuzz {

std::string_view TrimBlanks(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool SameAscii(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::vector<TRawLine> RawLines(std::string_view file)
{
    std::vector<TRawLine> lines;
    while (!file.empty()) {
        const std::size_t lf = file.find('\n');
        if (lf == std::string_view::npos) {
            lines.push_back({file, ""});
            break;
        }
        const bool crlf = lf > 0 && file[lf - 1] == '\r';
        lines.push_back({file.substr(0, crlf ? lf - 1 : lf), crlf ? "\r\n" : "\n"});
        file.remove_prefix(lf + 1);
    }
    return lines;
}

namespace {

// The lines as the reader sees them: a CR that ends the file ends its last line.
std::vector<TRawLine> LogicalLines(std::string_view file)
{
    std::vector<TRawLine> lines = RawLines(file);
    if (!lines.empty() && lines.back().Break.empty() && !lines.back().Text.empty() && lines.back().Text.back() == '\r') {
        lines.back().Text.remove_suffix(1);
        lines.back().Break = "\r";
    }
    return lines;
}

// A section header's name, when the line is one.
std::optional<std::string_view> HeaderName(std::string_view line)
{
    const std::string_view t = TrimBlanks(line);
    if (t.empty() || t[0] != '[')
        return std::nullopt;
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return TrimBlanks(t.substr(1, close - 1));
}

} // namespace

std::optional<std::string> ReferenceValue(std::string_view file, std::string_view section,
                                          std::string_view key)
{
    if (file.substr(0, 3) == "\xEF\xBB\xBF")
        file.remove_prefix(3);
    bool inside = false;
    for (const TRawLine& line : LogicalLines(file)) {
        if (const auto name = HeaderName(line.Text)) {
            if (inside)
                return std::nullopt;  // only the first section of that name counts
            inside = SameAscii(*name, section);
            continue;
        }
        const std::string_view t = TrimBlanks(line.Text);
        if (!inside || t.empty())
            continue;
        const std::size_t eq = t.find('=');
        if (!SameAscii(TrimBlanks(t.substr(0, eq)), key))
            continue;
        std::string_view value = eq == std::string_view::npos ? std::string_view() : TrimBlanks(t.substr(eq + 1));
        if (value.size() >= 2 && (value[0] == '\'' || value[0] == '"') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        return std::string(value.substr(0, 2047));
    }
    return std::nullopt;
}

std::optional<int> ReferenceInteger(std::string_view text)
{
    while (!text.empty() && text[0] == ' ')
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && (text[0] == '$' || text[0] == 'x' || text[0] == 'X')) {
        base = 16;
        text.remove_prefix(1);
    }
    // from_chars takes no sign or prefix of its own here, and must consume everything.
    if (text.empty() || text[0] == '-' || text[0] == '+')
        return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    if (magnitude > limit)
        return std::nullopt;
    const std::uint32_t bits = negative ? 0u - static_cast<std::uint32_t>(magnitude) : static_cast<std::uint32_t>(magnitude);
    return static_cast<int>(bits);
}

TNames NamesIn(std::string_view file, std::size_t limit)
{
    TNames names;
    for (const TRawLine& line : LogicalLines(file)) {
        if (const auto name = HeaderName(line.Text)) {
            if (names.Sections.size() < limit)
                names.Sections.emplace_back(*name);
            continue;
        }
        const std::string_view t = TrimBlanks(line.Text);
        if (!t.empty() && names.Keys.size() < limit)
            names.Keys.emplace_back(TrimBlanks(t.substr(0, t.find('='))));
    }
    return names;
}

} // namespace hx::fuzz
