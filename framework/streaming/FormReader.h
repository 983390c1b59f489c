#pragma once
// The form-description reader. A description is UTF-8 text:
//
//   object MainForm1: TMainForm1
//     Left = 20
//     Font.Height = -11
//     PopupMenu = PopupMenu1
//     OnCreate = FormCreate
//     object GradBox1: TGradBox
//       Align = alLeft
//     end
//   end
//
// A component without a name is written "object TClass", by its class alone.
//
// The root object is an existing instance (the form being constructed); nested objects
// are created through the class registry, owned by the root, and given the enclosing
// object as parent before their properties are set. Properties are applied in the order
// listed. Component references are resolved once the whole description has been read;
// then every component's Loaded() runs (the root's first, then in creation order).
//
// Every error is one EReadError whose message is "FILE:LINE:COLUMN: message" (columns
// count characters, from 1). Components created before an error stay owned by the root,
// which frees them.
#include <functional>
#include <string>

#include "framework/core/Component.h"
#include "framework/core/Exception.h"

namespace hx {

class EReadError : public Exception {
public:
    EReadError(const std::string& fileName, int line, int column, const std::string& text);
    const std::string& FileName() const { return FFileName; }
    int Line() const { return FLine; }
    int Column() const { return FColumn; }
    const std::string& Text() const { return FText; } // the message without its location

private:
    std::string FFileName;
    int FLine;
    int FColumn;
    std::string FText;
};

// Deeper nesting than this is refused (a description, not a stack, sets the depth).
constexpr int MaxObjectNesting = 1000;

class TFormReader {
public:
    // Called for a handler name that the root's method table lacks; returns the function
    // the handler runs (its arguments are ignored). Without one, such a name is an error.
    using TFallbackHandler = std::function<std::function<void()>(const std::string& handlerName)>;

    void SetFallbackHandler(TFallbackHandler fallback) { FFallback = std::move(fallback); }

    // Reads text into root. fileName only labels errors.
    void Read(TComponent* root, const std::string& text, const std::string& fileName);

    // The class name the description gives its root object (after Read).
    const std::string& RootClassName() const { return FRootClassName; }

private:
    TFallbackHandler FFallback;
    std::string FRootClassName;
};

// Reads text into root with the root's own method table.
void ReadComponent(TComponent* root, const std::string& text, const std::string& fileName);

} // namespace hx
