// Start-up paints the window once: while the description is read, the swatches' repaint-at-
// once setters find no canvas (each would otherwise paint once per property), and the
// first paint pass after reading shows every control.
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "MainFormFixture.h"
#include "framework/core/Exception.h"

namespace hx::test {
namespace {

TEST_F(MainFormTest, ReadingPaintsNothingAndTheFirstPassPaintsEverySwatch)
{
    TMainForm1& form = Create();
    // Swatch 1 (#0000ff) at (4, 54): its face starts two pixels in, past the border.
    const TColor blue = RGB(0, 0, 255);
    EXPECT_NE(form.SurfacePixel(6, 56), blue) << "painted while being read";
    EXPECT_EQ(form.PaintPassCount(), 0);
    EXPECT_FALSE(form.InvalidRect().IsEmpty()) << "the whole form waits for its first pass";

    form.Update();
    EXPECT_EQ(form.PaintPassCount(), 1);
    EXPECT_EQ(form.SurfacePixel(6, 56), blue);
    for (int n = 1; n <= kSwatchCount; ++n) {
        const TGlowFadeButton* swatch = form.GlowFadeButton(n);
        EXPECT_EQ(form.SurfacePixel(swatch->Left() + 2, swatch->Top() + 2), swatch->Color()) << n;
    }
}

// Start-up through the entry itself: nothing here sets the title or creates the window.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/hexatint-start-XXXXXX";
        Folder = mkdtemp(pattern);
        Platform.SetModuleFileName(Folder + "/Hexatint91");
        Application->SetTitle("");
    }
    void TearDown() override
    {
        MainForm1 = nullptr;
        std::filesystem::remove_all(Folder);
    }

    TPlatformScope Platform;
    std::string Folder;
};


TEST_F(StartupTest, TheEntryTitlesTheApplicationRunsTheMainWindowAndExitsWithZero)
{
    Application->Terminate(); // asked to end before the loop starts: Run shows, frees, returns
    EXPECT_EQ(HexatintMain(0, nullptr), 0);
    EXPECT_EQ(Application->Title(), "Hexatint91");
    EXPECT_TRUE(Platform.ErrorBoxes().empty());
    EXPECT_EQ(Application->MainForm(), nullptr) << "the run frees the forms it created";
}

TEST_F(StartupTest, TheLoopRunsWithTheMainWindowCreatedAndTheTitleSet)
{
    std::string title;
    TMainForm1* running = nullptr;
    const int status = StartHexatint([] { Application->CreateForm(MainForm1); },
                                     [&] {
                                         title = Application->Title();
                                         running = MainForm1;
                                     });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(title, "Hexatint91");
    ASSERT_NE(running, nullptr);
    EXPECT_EQ(Application->MainForm(), running);
    EXPECT_EQ(running->GlowFadeButton(89)->Caption(), "#ff9900") << "built from its description";
    EXPECT_TRUE(Platform.ErrorBoxes().empty());
    delete running;
}

struct TStartupFailure {
    const char* What;
    std::function<void()> Fail;
    TRecordingPlatform::TErrorBox Box;
};

// Rows print as their names in test listings.
void PrintTo(const TStartupFailure& row, std::ostream* out)
{
    *out << row.What;
}

class StartupFailureTest : public StartupTest, public ::testing::WithParamInterface<TStartupFailure> {};

TEST_P(StartupFailureTest, AnErrorEscapingFormCreationIsShownAndStartUpEndsWithZero)
{
    bool ran = false;
    EXPECT_EQ(StartHexatint(GetParam().Fail, [&] { ran = true; }), 0);
    EXPECT_FALSE(ran) << "the loop does not start";
    EXPECT_EQ(Platform.ErrorBoxes(), std::vector<TRecordingPlatform::TErrorBox>{GetParam().Box});
}

INSTANTIATE_TEST_SUITE_P(
    Errors, StartupFailureTest,
    ::testing::Values(
        TStartupFailure{"FrameworkError", [] { throw EComponentError("description damaged"); },
                        {"Hexatint91", "description damaged."}},
        TStartupFailure{"OtherError", [] { throw std::runtime_error("not ours"); }, {"Hexatint91", ""}}),
    [](const ::testing::TestParamInfo<TStartupFailure>& row) { return std::string(row.param.What); });

} // namespace
} // namespace hx::test
