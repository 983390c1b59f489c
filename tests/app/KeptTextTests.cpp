// The main window shows the same pixels whether its text comes from kept runs or is drawn by
// the toolkit every time: at rest, through a hover fade and back (the caption changes colour
// on the way), after a click recolours the backdrop, and after one swatch's caption and font
// change.
#include "MainFormFixture.h"

#include <vector>

#include "framework/graphics/Font.h"
#include "framework/graphics/TextRun.h"

namespace hx::test {
namespace {

class KeptTextTest : public MainFormTest {
protected:
    void TearDown() override
    {
        SetTextRunsKept(true);
        MainFormTest::TearDown();
    }

    std::vector<TColor> Screen() const
    {
        std::vector<TColor> pixels;
        for (int y = 0; y < Form->ClientHeight(); ++y)
            for (int x = 0; x < Form->ClientWidth(); ++x)
                pixels.push_back(Form->SurfacePixel(x, y));
        return pixels;
    }

    void Ticks(int n)
    {
        for (int i = 0; i < n && !Platform.RunningTimers().empty(); ++i)
            Platform.FireTimer(Platform.RunningTimers().front());
    }

    // What the window shows after each step of the same session.
    std::vector<std::vector<TColor>> Session(bool kept)
    {
        SetTextRunsKept(kept);
        TMainForm1& form = Create();
        std::vector<std::vector<TColor>> frames;
        form.Update();
        frames.push_back(Screen());

        TGlowFadeButton* swatch = form.GlowFadeButton(1);
        form.MouseInput(miMove, mbLeft, swatch->Left() + 2, swatch->Top() + 2, 0);
        Ticks(10);
        frames.push_back(Screen());
        swatch->Perform(CM_MOUSELEAVE, 0, 0);
        Ticks(4);
        frames.push_back(Screen());

        TGlowFadeButton* white = form.GlowFadeButton(46);
        form.MouseInput(miDown, mbLeft, white->Left() + 3, white->Top() + 3, 0);
        form.MouseInput(miUp, mbLeft, white->Left() + 3, white->Top() + 3, 0);
        form.Update();
        frames.push_back(Screen());

        TGlowFadeButton* other = form.GlowFadeButton(2);
        other->SetCaption("#abcdef");
        frames.push_back(Screen());
        other->Font()->SetColor(clRed);
        other->Font()->SetHeight(-12);
        form.Update();
        frames.push_back(Screen());

        Form.reset();
        MainForm1 = nullptr;
        return frames;
    }
};

TEST_F(KeptTextTest, WindowPixelsDoNotDependOnKeptRuns)
{
    const std::vector<std::vector<TColor>> toolkit = Session(false);
    // The first session with kept runs fills them, the second only reuses them.
    for (int pass = 0; pass < 2; ++pass) {
        const std::vector<std::vector<TColor>> kept = Session(true);
        ASSERT_EQ(kept.size(), toolkit.size());
        for (std::size_t i = 0; i < kept.size(); ++i)
            EXPECT_TRUE(kept[i] == toolkit[i]) << "frame " << i << ", session " << pass;
    }
}

} // namespace
} // namespace hx::test
