// formview: builds the form a description gives and shows it in a window, renders its
// client area to a PNG file offscreen, or writes it back in the same format.
//
//   formview [--design] [--write] [--png OUT.png] FILE
//
// Without options the form is shown in a window until it is closed. --png builds it
// offscreen, runs the first paint pass and saves the client area; --write prints the form
// back in the same format (and then exits, unless --png is also given); --design marks
// every component as being designed.
//
// The root is a plain TForm whatever class the description names; it has no handlers of
// its own, so every handler name binds to one that prints the name on stdout. Any error
// prints FILE:LINE:COLUMN: message on stderr and exits with 2.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "framework/runtime/Application.h"
#include "framework/graphics/Bitmap.h"
#include "framework/runtime/Form.h"
#include "framework/streaming/FormReader.h"
#include "framework/streaming/FormWriter.h"
#include "framework/streaming/FrameworkClasses.h"
#include "tools/formview/WidgetClasses.h"

namespace {

struct TOptions {
    std::string File;
    std::string Png;
    bool Design = false;
    bool Write = false;
};

constexpr int ExitUsage = 1;
constexpr int ExitError = 2;

bool ParseArgs(int argc, char** argv, TOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--png" && i + 1 < argc)
            options.Png = argv[++i];
        else if (arg == "--design")
            options.Design = true;
        else if (arg == "--write")
            options.Write = true;
        else if (!arg.empty() && arg[0] != '-' && options.File.empty())
            options.File = arg;
        else
            return false;
    }
    return !options.File.empty();
}

// What the form being built reads; set before the form is created.
std::string gText;
std::string gFileName;
std::string gRootClassName;

// The stand-in root: a TForm (its ClassName stays "TForm", so it streams as one) that
// reads the description in its constructor, as a real form class does.
class TViewForm : public hx::TForm {
public:
    explicit TViewForm(hx::TComponent* owner) : TForm(owner)
    {
        hx::TFormReader reader;
        reader.SetFallbackHandler([](const std::string& name) {
            return [name] { std::cout << name << std::endl; };
        });
        reader.Read(this, gText, gFileName);
        gRootClassName = reader.RootClassName();
    }
};

// The surface holds red << 16 | green << 8 | blue words, as a 32-bit bitmap row does.
void SavePng(hx::TForm& form, const std::string& fileName)
{
    hx::TBitmap bitmap;
    bitmap.SetPixelFormat(hx::pf32bit);
    const int width = form.ClientWidth(), height = form.ClientHeight();
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<std::uint32_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < width; ++x) {
            const hx::TColor c = form.SurfacePixel(x, y);
            row[x] = static_cast<std::uint32_t>(hx::GetRValue(c) << 16 | hx::GetGValue(c) << 8 | hx::GetBValue(c));
        }
    }
    bitmap.SaveToFile(fileName);
}

int Run(const TOptions& options)
{
    std::ifstream in(options.File, std::ios::binary);
    if (!in)
        throw hx::EReadError(options.File, 1, 1, "Cannot open the file");
    std::ostringstream text;
    text << in.rdbuf();
    gText = text.str();
    gFileName = options.File;

    hx::Application->Initialize();
    hx::RegisterFrameworkClasses();
    hx::RegisterWidgetClasses();

    TViewForm* form = nullptr;
    hx::Application->CreateForm(form);
    if (options.Design)
        form->SetDesigning(true);
    if (options.Write)
        std::cout << hx::WriteComponent(form, gRootClassName) << std::flush;
    if (!options.Png.empty()) {
        form->Invalidate();
        form->Update();
        SavePng(*form, options.Png);
        return 0;
    }
    if (!options.Write)
        hx::Application->Run();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    TOptions options;
    if (!ParseArgs(argc, argv, options)) {
        std::cerr << "usage: formview [--design] [--write] [--png OUT.png] FILE" << std::endl;
        return ExitUsage;
    }
    if (!options.Png.empty())
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    try {
        return Run(options);
    } catch (const hx::EReadError& e) {
        std::cerr << e.Message() << std::endl;
    } catch (const std::exception& e) {
        std::cerr << options.File << ":1:1: " << e.what() << std::endl;
    } catch (...) {
        std::cerr << options.File << ":1:1: unknown error" << std::endl;
    }
    return ExitError;
}
