#include "app/CopyFormat.h"

#include <cctype>

#include "framework/core/Chars.h"

namespace hx {

namespace {

constexpr std::string_view kNames[] = {"hex", "upper", "short", "bare", "rgb"};

bool IsWebCode(std::string_view code)
{
    if (code.size() != 7 || code[0] != '#')
        return false;
    for (std::size_t i = 1; i < code.size(); ++i)
        if (HexDigit(code[i]) < 0)
            return false;
    return true;
}

int Channel(std::string_view digits, int index)
{
    return HexDigit(digits[2 * index]) * 16 + HexDigit(digits[2 * index + 1]);
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string Upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// "#" and digits, appended rather than "#" + digits: GCC 12's optimiser misreads that
// pattern as an overlapping copy (-Wrestrict).
std::string WithHash(std::string_view digits)
{
    std::string out;
    out.reserve(digits.size() + 1);
    out += '#';
    out += digits;
    return out;
}

std::string ShortForm(const std::string& digits)
{
    for (std::size_t i = 0; i < digits.size(); i += 2)
        if (digits[i] != digits[i + 1])
            return WithHash(digits);
    return {'#', digits[0], digits[2], digits[4]};
}

} // namespace

std::string FormatColorCode(std::string_view code, TCopyFormat format)
{
    if (!IsWebCode(code))
        return std::string(code);
    const std::string digits = Lower(code.substr(1));
    switch (format) {
    case TCopyFormat::Hex:
        return std::string(code); // as written, as a copy always was
    case TCopyFormat::UpperHex:
        return WithHash(Upper(digits));
    case TCopyFormat::ShortHex:
        return ShortForm(digits);
    case TCopyFormat::BareHex:
        return digits;
    case TCopyFormat::Rgb:
        return "rgb(" + std::to_string(Channel(digits, 0)) + ", " + std::to_string(Channel(digits, 1)) + ", " +
               std::to_string(Channel(digits, 2)) + ")";
    }
    return WithHash(digits);
}

std::string_view CopyFormatName(TCopyFormat format)
{
    return kNames[static_cast<int>(format)];
}

TCopyFormat CopyFormatFromName(std::string_view name)
{
    const std::string lower = Lower(name);
    for (TCopyFormat format : kCopyFormats)
        if (lower == CopyFormatName(format))
            return format;
    return kDefaultCopyFormat;
}

} // namespace hx
