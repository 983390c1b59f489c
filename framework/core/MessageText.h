#pragma once
// Error messages that quote what they were given: a name taken from a damaged or hostile
// input may be megabytes long, and a message repeats only its start.
#include <cstddef>
#include <string>
#include <string_view>

namespace hx {

// Names longer than this many characters are cut to this many.
constexpr std::size_t kMaxQuotedName = 64;

// text with every run of name characters (ASCII letters, digits, '_', '.') longer than
// kMaxQuotedName cut to its first kMaxQuotedName characters followed by "...".
std::string CutLongNames(std::string_view text);

} // namespace hx
