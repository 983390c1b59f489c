#include "framework/services/Clipboard.h"

#include "framework/core/Platform.h"

namespace hx {

void TClipboard::SetTextBuf(const char* text)
{
    SetAsText(text ? std::string(text) : std::string());
}

std::string TClipboard::AsText() const
{
    return Platform().GetClipboardText();
}

void TClipboard::SetAsText(const std::string& text)
{
    Platform().SetClipboardText(text);
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}

} // namespace hx
