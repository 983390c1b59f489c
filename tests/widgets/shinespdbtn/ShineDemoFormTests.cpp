// The demonstration forms of shine buttons, rendered by the built formview without a
// display: every button kind is created from the description and paints as described.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "framework/graphics/Bitmap.h"

namespace hx {
namespace {

int RunFormView(const std::string& args, std::string& output)
{
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ASAN_OPTIONS=detect_leaks=0 " +
                                std::string(HX_BINARY_DIR) + "/bin/formview " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Counts the pixels of exactly one colour in a rectangle of the image.
int Count(const TBitmap& image, int left, int top, int right, int bottom, std::uint32_t word)
{
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            n += image.PixelWord(x, y) == word ? 1 : 0;
    return n;
}

TEST(ShineDemoForm, RendersEveryButtonKindToPng)
{
    const std::string png = testing::TempDir() + "shine_demo_" + std::to_string(getpid()) + ".png";
    std::string output;
    const int status =
        RunFormView("--png " + png + " " + std::string(HX_SOURCE_DIR) + "/tools/examples/shine_demo.form", output);
    ASSERT_EQ(status, 0) << output;

    TBitmap image;
    image.LoadFromFile(png);
    std::remove(png.c_str());
    ASSERT_EQ(image.Width(), 516);
    ASSERT_EQ(image.Height(), 266);
    EXPECT_EQ(image.PixelWord(4, 4), 0x204070u) << "the form's colour between buttons";
    EXPECT_EQ(image.PixelWord(260, 230), 0x204070u) << "a transparent button without a frame";

    // Horizontal gradient white -> (0, 128, 255) over 116 columns: column 58 takes step 128.
    EXPECT_EQ(image.PixelWord(272 + 58, 10), 0x7FC0FFu);
    // Vertical gradient (255, 255, 128) -> (128, 64, 0) over 30 rows: row 2 takes step 17.
    EXPECT_EQ(image.PixelWord(400, 8 + 2), 0xF7F378u);

    // The shadowed caption: face, the black shadow, the grey highlight and the white text.
    EXPECT_EQ(image.PixelWord(220, 192), 0x2050A0u);
    EXPECT_GT(Count(image, 216, 188, 356, 218, 0x000000u), 10);
    EXPECT_GT(Count(image, 216, 188, 356, 218, 0x808080u), 10);
    EXPECT_GT(Count(image, 216, 188, 356, 218, 0xFFFFFFu), 10);

    // Glyphs: the ball's red on the frame-type buttons, its olive corner never drawn.
    EXPECT_GT(Count(image, 8, 8, 92, 38, 0xC81E28u), 20);
    EXPECT_EQ(Count(image, 0, 0, 516, 266, 0x808000u), 0);
}

// The demonstration of actions, reading order and constraints: a right-to-left form whose
// checked action latches its shine button, a constrained shine button and a framework speed
// button whose glyph the form's mode moves to the right.
TEST(ActionDemoForm, RendersLinkedMirroredAndConstrainedButtons)
{
    const std::string demo = std::string(HX_SOURCE_DIR) + "/tools/examples/action_demo.form";
    const std::string png = testing::TempDir() + "action_demo_" + std::to_string(getpid()) + ".png";
    std::string output;
    ASSERT_EQ(RunFormView("--png " + png + " " + demo, output), 0) << output;
    TBitmap image;
    image.LoadFromFile(png);
    std::remove(png.c_str());
    ASSERT_EQ(image.Width(), 300);
    ASSERT_EQ(image.Height(), 84);

    // BoldAction is checked: its button is down, in its pressed colour; ItalicButton is up.
    EXPECT_EQ(image.PixelWord(8 + 6, 8 + 15), 0x00FF00u);
    EXPECT_NE(image.PixelWord(100 + 6, 8 + 15), 0x00FF00u);
    // WideButton asked for 200 columns and got its MaxWidth of 100: from 192 to 292.
    EXPECT_NE(image.PixelWord(192 + 99, 8 + 15), 0x204070u);
    EXPECT_EQ(image.PixelWord(192 + 100, 8 + 15), 0x204070u);
    // The glyph (16 x 16, 4 from the edge) sits on the right under the form's bdRightToLeft.
    EXPECT_EQ(Count(image, 8, 46, 8 + 60, 76, 0xC81E28u), 0);
    EXPECT_GT(Count(image, 8 + 120 - 4 - 16, 46, 8 + 120 - 4, 76, 0xC81E28u), 20);
}

// The description formview writes (with --png, so that no display is needed), without any
// platform messages around it.
std::string WrittenBy(const std::string& file)
{
    const std::string png = testing::TempDir() + "written_" + std::to_string(getpid()) + ".png";
    std::string output;
    const int status = RunFormView("--write --png " + png + " " + file, output);
    std::remove(png.c_str());
    EXPECT_EQ(status, 0) << output;
    const size_t begin = output.find("object ");
    const size_t end = output.rfind("\nend\n");
    if (begin == std::string::npos || end == std::string::npos)
        return output;
    return output.substr(begin, end + 5 - begin);
}

// formview writes what it read: the linked values are left to the actions, and the text it
// writes reads back to the same text.
TEST(ActionDemoForm, WritesTheNewPropertiesAndReadsItsOwnTextBack)
{
    const std::string written = WrittenBy(std::string(HX_SOURCE_DIR) + "/tools/examples/action_demo.form");
    for (const char* line : {"  BiDiMode = bdRightToLeft\n", "    Action = BoldAction\n", "      Action = BoldAction\n",
                             "    Constraints.MaxWidth = 100\n", "    ParentBiDiMode = False\n",
                             "      ShortCut = 16450\n", "      OnUpdate = ItalicActionUpdate\n", "    Width = 100\n"})
        EXPECT_NE(written.find(line), std::string::npos) << line << " in\n" << written;
    const size_t bold = written.find("  object BoldButton:");
    ASSERT_NE(bold, std::string::npos);
    const std::string boldBlock = written.substr(bold, written.find("  end\n", bold) - bold);
    EXPECT_EQ(boldBlock.find("Caption"), std::string::npos) << "the button's caption is its action's:\n" << boldBlock;
    EXPECT_EQ(boldBlock.find("Down"), std::string::npos) << boldBlock;

    const std::string again = testing::TempDir() + "action_demo_again_" + std::to_string(getpid()) + ".form";
    FILE* f = std::fopen(again.c_str(), "w");
    ASSERT_TRUE(f);
    std::fwrite(written.data(), 1, written.size(), f);
    std::fclose(f);
    const std::string rewritten = WrittenBy(again);
    std::remove(again.c_str());
    EXPECT_EQ(rewritten, written);
}

} // namespace
} // namespace hx
