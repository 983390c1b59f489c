// formview, the built tool: renders a form offscreen to PNG without any display, writes
// it back, and reports errors as FILE:LINE:COLUMN on stderr with exit status 2.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "framework/graphics/Bitmap.h"

namespace hx {
namespace {

struct TRun {
    int Status = -1;
    std::string Output; // stdout and stderr together
};

TRun RunFormView(const std::string& args)
{
    // No display at all: the tool must choose the offscreen platform by itself.
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ASAN_OPTIONS=detect_leaks=1 " +
                                std::string(HX_BINARY_DIR) + "/bin/formview " + args + " 2>&1";
    TRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.Output.append(buffer, n);
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string TempPath(const std::string& name)
{
    return testing::TempDir() + "formview_" + std::to_string(getpid()) + "_" + name;
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

const char* const kSmallForm =
    "object Small: TMainForm1\n"
    "  Left = 0\n"
    "  Top = 0\n"
    "  Caption = 'small'\n"
    "  ClientHeight = 12\n"
    "  ClientWidth = 30\n"
    "  Color = $00336699\n"
    "  OldCreateOrder = False\n"
    "  OnCreate = FormCreate\n"
    "  PixelsPerInch = 96\n"
    "  TextHeight = 13\n"
    "end\n";

TEST(FormViewTool, RendersTheClientAreaToPngWithoutADisplay)
{
    const std::string form = TempPath("small.form"), png = TempPath("small.png");
    WriteFile(form, kSmallForm);
    const TRun run = RunFormView("--png " + png + " " + form);
    ASSERT_EQ(run.Status, 0) << run.Output;
    // The stand-in root binds every handler to one that prints its name.
    EXPECT_NE(run.Output.find("FormCreate\n"), std::string::npos) << run.Output;

    TBitmap image;
    image.LoadFromFile(png);
    EXPECT_EQ(image.Width(), 30);
    EXPECT_EQ(image.Height(), 12);
    EXPECT_EQ(image.PixelWord(0, 0), 0x00996633u);
    EXPECT_EQ(image.PixelWord(29, 11), 0x00996633u);
    std::remove(form.c_str());
    std::remove(png.c_str());
}

TEST(FormViewTool, WritesTheFormBackInTheSameFormat)
{
    const std::string form = TempPath("write.form");
    WriteFile(form, kSmallForm);
    const TRun run = RunFormView("--write --png " + TempPath("write.png") + " " + form);
    ASSERT_EQ(run.Status, 0) << run.Output;
    const size_t start = run.Output.find("object Small: TMainForm1\n");
    ASSERT_NE(start, std::string::npos) << run.Output;
    // The default font is written out in full; the rest is as read.
    EXPECT_NE(run.Output.find("  Color = $00336699\n  Font.Charset = DEFAULT_CHARSET\n", start), std::string::npos);
    EXPECT_NE(run.Output.find("  OnCreate = FormCreate\n  PixelsPerInch = 96\n  TextHeight = 13\nend\n", start),
              std::string::npos);
    std::remove(form.c_str());
    std::remove(TempPath("write.png").c_str());
}

TEST(FormViewTool, ErrorsGoToStderrWithTheirPlaceAndStatusTwo)
{
    const std::string form = TempPath("bad.form");
    WriteFile(form, "object F: TForm\n  Caption = 'never closed\nend\n");
    TRun run = RunFormView("--png " + TempPath("bad.png") + " " + form);
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Output.find(form + ":2:13: Unterminated string\n"), std::string::npos) << run.Output;

    WriteFile(form, std::string("object F: TForm\n  Caption = 'a\0'\nend\n", 33));
    run = RunFormView("--png " + TempPath("bad.png") + " " + form);
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Output.find(form + ":2:15: NUL byte in form description\n"), std::string::npos) << run.Output;

    run = RunFormView("--png " + TempPath("bad.png") + " " + TempPath("missing.form"));
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Output.find(TempPath("missing.form") + ":1:1: Cannot open the file"), std::string::npos);
    std::remove(form.c_str());
}

} // namespace
} // namespace hx
