#pragma once
// TClipboard: the desktop clipboard, plain text only. One object serves the process.
#include <string>

#include "framework/core/Object.h"

namespace hx {

class TClipboard : public TPersistent {
public:
    const char* ClassName() const override { return "TClipboard"; }

    // Puts zero-terminated text on the clipboard as plain text (null or "" puts an empty
    // text). Raises EClipboardException when the clipboard cannot be opened.
    void SetTextBuf(const char* text);

    std::string AsText() const;
    void SetAsText(const std::string& text);
};

// The process's clipboard object.
TClipboard* Clipboard();

} // namespace hx
