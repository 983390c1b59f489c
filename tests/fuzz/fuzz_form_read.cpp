// Arbitrary bytes as a form description, read into a plain TForm root with every class
// formview knows registered. The read either succeeds or raises EReadError with a
// FILE:LINE:COLUMN message (any other error, a crash, a leak or a hang is a finding). A
// form that reads is written back, and the written text must read and write back to the
// same text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "framework/core/Exception.h"
#include "framework/runtime/Form.h"
#include "framework/streaming/FormReader.h"
#include "framework/streaming/FormWriter.h"
#include "framework/streaming/FrameworkClasses.h"
#include "framework/graphics/GuiSession.h"
#include "tools/formview/WidgetClasses.h"
#include "widgets/shinespdbtn/Shinespdbtn.h"

namespace {

const std::string kFileName = "fuzz.form";

[[noreturn]] void Fail(const std::string& what, std::string_view text)
{
    std::fprintf(stderr, "\n*** %s\n--- text:\n%.*s\n---\n", what.c_str(), static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
    std::abort();
}

// Handler names bind to nothing: the stand-in root has no methods, as in formview.
void ReadInto(hx::TForm& root, const std::string& text, std::string& rootClassName)
{
    hx::TFormReader reader;
    reader.SetFallbackHandler([](const std::string&) { return [] {}; });
    reader.Read(&root, text, kFileName);
    rootClassName = reader.RootClassName();
}

std::size_t CountLines(std::string_view text)
{
    std::size_t lines = 1;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

void CheckError(const hx::EReadError& e, const std::string& text)
{
    const std::string prefix = kFileName + ":" + std::to_string(e.Line()) + ":" + std::to_string(e.Column()) + ": ";
    if (e.FileName() != kFileName || e.Message() != prefix + e.Text() || e.Text().empty())
        Fail("malformed error message: " + e.Message(), text);
    // A column counts characters; a line has no more characters than bytes (+1 for the
    // position just past its end).
    if (e.Line() < 1 || static_cast<std::size_t>(e.Line()) > CountLines(text) || e.Column() < 1 ||
        static_cast<std::size_t>(e.Column()) > text.size() + 1)
        Fail("error position out of the text: " + e.Message(), text);
}

// A shine button set down in a group and then given GroupIndex 0 (a description may name a
// property twice) stays down until it is next released: that is the widget's rule. No
// description can store the state, since Down is read after GroupIndex and refused without
// a group, so such a form comes back with the button up.
bool HoldsADownButtonOutsideAnyGroup(const hx::TForm& root)
{
    for (int i = 0; i < root.ComponentCount(); ++i)
        if (const auto* b = dynamic_cast<const hx::TShineSpeedButton*>(root.Components(i)))
            if (b->Down() && b->GroupIndex() == 0)
                return true;
    return false;
}

// Writes what a form holds, then reads the text back into a new form.
std::string WriteAndReadBack(hx::TForm& form, const std::string& className, std::unique_ptr<hx::TForm>& again,
                             std::string& againClass, const std::string& input)
{
    std::string written;
    try {
        written = hx::WriteComponent(&form, className);
    } catch (const hx::Exception& e) {
        Fail("writing a form that was read failed: " + e.Message() + "\n--- input:\n" + input, "");
    }
    again = std::make_unique<hx::TForm>(nullptr);
    try {
        ReadInto(*again, written, againClass);
    } catch (const hx::Exception& e) {
        Fail("the written form does not read: " + e.Message() + "\n--- input:\n" + input, written);
    }
    return written;
}

// What root holds is written; the form written must come back to the same text (after one
// more round where root held a state no description stores).
void CheckRoundTrip(hx::TForm& root, const std::string& rootClassName, const std::string& input)
{
    std::unique_ptr<hx::TForm> again;
    std::string againClass;
    std::string written = WriteAndReadBack(root, rootClassName, again, againClass, input);
    if (HoldsADownButtonOutsideAnyGroup(root)) {
        std::unique_ptr<hx::TForm> first = std::move(again);
        const std::string firstClass = againClass;
        written = WriteAndReadBack(*first, firstClass, again, againClass, input);
    }
    const std::string rewritten = hx::WriteComponent(again.get(), againClass);
    if (rewritten != written)
        Fail("writing the written form again differs:\n" + rewritten + "--- input:\n" + input, written);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    hx::EnsureGuiSession();
    hx::RegisterFrameworkClasses();
    hx::RegisterWidgetClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 256 * 1024)
        return -1;
    const std::string text(reinterpret_cast<const char*>(data), size);
    auto root = std::make_unique<hx::TForm>(nullptr);
    std::string rootClassName;
    try {
        ReadInto(*root, text, rootClassName);
    } catch (const hx::EReadError& e) {
        CheckError(e, text);
        return 0;
    } catch (const std::exception& e) {
        Fail(std::string("an error other than EReadError: ") + e.what(), text);
    }
    CheckRoundTrip(*root, rootClassName, text);
    return 0;
}
