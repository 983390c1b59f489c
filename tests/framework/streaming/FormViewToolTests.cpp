// formview, the built tool: renders a form offscreen to PNG without any display, writes
// it back, and reports errors as FILE:LINE:COLUMN on stderr with exit status 2.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

// What the tool refuses to read: anything but a regular file (a device never ends, a FIFO
// would wait for a writer) and a file beyond its size limit, each at once with its reason.
TEST(FormViewTool, RefusesFilesThatAreNotRegularOrTooLarge)
{
    const std::string fifo = TempPath("fifo.form"), sparse = TempPath("sparse.form");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    {
        const int fd = ::open(sparse.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, off_t{65} << 20), 0);
        ::close(fd);
    }
    struct TCase {
        std::string File;
        std::string Message;
    };
    for (const TCase& c : {TCase{"/dev/zero", "/dev/zero:1:1: Not a regular file\n"},
                           TCase{fifo, fifo + ":1:1: Not a regular file\n"},
                           TCase{sparse, sparse + ":1:1: File larger than 64 MiB\n"}}) {
        SCOPED_TRACE(c.File);
        const auto start = std::chrono::steady_clock::now();
        const TRun run = RunFormView("--png " + TempPath("refused.png") + " " + c.File);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(run.Status, 2);
        EXPECT_NE(run.Output.find(c.Message), std::string::npos) << run.Output;
    }
    std::remove(fifo.c_str());
    std::remove(sparse.c_str());
}

// The largest resident size of any finished child so far, in KiB.
long ChildrenPeakKiB()
{
    rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}

// Processor time of the finished children so far, in milliseconds: unlike the time on the
// clock, it does not depend on what else the machine is doing.
long long ChildrenCpuMs()
{
    rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000LL +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

std::string OneButtonForm(const std::string& width, const std::string& height)
{
    return "object F: TForm\n  ClientWidth = 120\n  ClientHeight = 60\n  object B: TSpeedButton\n"
           "    Left = -100\n    Top = -100\n    Width = " + width + "\n    Height = " + height +
           "\n    Caption = 'big'\n  end\nend\n";
}

// Sizes: a control far larger than its form renders at the cost of what is seen; one no
// screen could ever hold is refused where the description gives it.
TEST(FormViewTool, ControlSizesAreBoundedByWhatCanBeSeen)
{
    const std::string form = TempPath("big.form"), png = TempPath("big.png");
    WriteFile(form, OneButtonForm("30000", "30000"));
    const long long before = ChildrenCpuMs();
    TRun run = RunFormView("--png " + png + " " + form);
    const long long took = ChildrenCpuMs() - before;
    ASSERT_EQ(run.Status, 0) << run.Output;
    std::printf("a 30000 x 30000 button rendered in %lld ms of processor time, peak %ld KiB\n", took,
                ChildrenPeakKiB());
    EXPECT_LT(took, 10000);  // the whole run, start-up included
    EXPECT_LT(ChildrenPeakKiB(), 1024L * 1024);  // a whole face would take 3.4 GiB
    TBitmap image;
    image.LoadFromFile(png);
    EXPECT_EQ(image.Width(), 120);

    WriteFile(form, OneButtonForm("2147483647", "2147483647"));
    run = RunFormView("--png " + png + " " + form);
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Output.find(form + ":7:13: Cannot set Width: 2147483647 is out of range for a control's bounds"),
              std::string::npos)
        << run.Output;
    std::remove(form.c_str());
    std::remove(png.c_str());
}

// A name of twenty million characters is quoted by its start only.
TEST(FormViewTool, ErrorMessagesCutLongNames)
{
    const std::string form = TempPath("longname.form");
    WriteFile(form, "object F: TForm\n  " + std::string(20'000'000, 'N') + " = 1\nend\n");
    const TRun run = RunFormView("--png " + TempPath("longname.png") + " " + form);
    EXPECT_EQ(run.Status, 2);
    EXPECT_LT(run.Output.size(), 1000u);
    EXPECT_NE(run.Output.find(form + ":2:3: Unknown property " + std::string(64, 'N') + "... of class TForm"),
              std::string::npos)
        << run.Output.substr(0, 1000);
    std::remove(form.c_str());
}

// A hundred thousand components (unnamed, as a description may give them) are read, drawn
// and freed in a few seconds.
TEST(FormViewTool, AHundredThousandComponentsComeAndGoQuickly)
{
    const std::string form = TempPath("many.form");
    std::string text = "object F: TForm\n  ClientWidth = 200\n  ClientHeight = 100\n";
    for (int i = 0; i < 100000; ++i)
        text += "  object TSpeedButton\n    Left = " + std::to_string(i % 180) +
                "\n    Width = 20\n  end\n";
    text += "end\n";
    WriteFile(form, text);
    const long long before = ChildrenCpuMs();
    const TRun run = RunFormView("--png " + TempPath("many.png") + " " + form);
    const long long took = ChildrenCpuMs() - before;
    EXPECT_EQ(run.Status, 0) << run.Output.substr(0, 1000);
    std::printf("100000 components read, drawn and freed in %lld ms of processor time\n", took);
    EXPECT_LT(took, 30000);  // 10 000 take a tenth of that: no part of it grows faster than n
    std::remove(form.c_str());
    std::remove(TempPath("many.png").c_str());
}

} // namespace
} // namespace hx
