#include "framework/core/MessageText.h"

#include <algorithm>

namespace hx {

namespace {

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

} // namespace

std::string CutLongNames(std::string_view text)
{
    std::string out;
    out.reserve(std::min(text.size(), std::size_t{4096}));
    std::size_t i = 0;
    while (i < text.size()) {
        if (!IsNameChar(text[i])) {
            out += text[i++];
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && IsNameChar(text[end]))
            ++end;
        if (end - i > kMaxQuotedName) {
            out.append(text.substr(i, kMaxQuotedName));
            out += "...";
        } else {
            out.append(text.substr(i, end - i));
        }
        i = end;
    }
    return out;
}

} // namespace hx
