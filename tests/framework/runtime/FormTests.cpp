// The form's own properties: window place and size, surface size, styles applied live.
#include <algorithm>

#include <gtest/gtest.h>

#include "Probe.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

TEST(FormTest, ClientSizeIsTheSurfaceSizeAndStylesKeepThePlace)
{
    TPlatformScope platform;
    TForm form(nullptr);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.Color(), clBtnFace);
    form.SetLeft(20);
    form.SetTop(20);
    form.SetClientHeight(228);
    form.SetClientWidth(448);
    form.SetBorderStyle(bsToolWindow);
    form.SetCaption("Hexatint91");
    form.Update();
    EXPECT_EQ(form.SurfacePixel(447, 227), ColorToRGB(clBtnFace));
    EXPECT_EQ(form.SurfacePixel(448, 227), -1);
    EXPECT_EQ(form.ClientRect(), Rect(0, 0, 448, 228));

    form.SetFormStyle(fsStayOnTop); // before the window first shows
    form.Show();
    EXPECT_TRUE(form.Showing());
    for (TFormStyle style : {fsNormal, fsStayOnTop, fsNormal}) {
        form.SetFormStyle(style); // on the live window
        EXPECT_EQ(form.FormStyle(), style);
        EXPECT_TRUE(form.Visible());
        EXPECT_EQ(form.Left(), 20);
        EXPECT_EQ(form.Top(), 20);
        EXPECT_EQ(form.ClientWidth(), 448);
        EXPECT_EQ(form.ClientHeight(), 228);
    }
    form.Hide();
    EXPECT_FALSE(form.Showing());
}

TEST(FormTest, ClientSizeBeyondAnyScreenIsCutSoTheSurfaceStaysSmall)
{
    TPlatformScope platform;
    TForm form(nullptr);
    form.SetClientWidth(18000000); // as a damaged description may give it
    form.SetClientHeight(0x7FFFFFFF);
    EXPECT_EQ(form.ClientWidth(), TForm::kMaxClientExtent);
    EXPECT_EQ(form.ClientHeight(), TForm::kMaxClientExtent);
    form.Update();
    EXPECT_EQ(form.SurfacePixel(TForm::kMaxClientExtent - 1, 0), ColorToRGB(clBtnFace));
    form.SetClientWidth(-5);
    EXPECT_EQ(form.ClientWidth(), 0);
}

// A probe that notes its own destruction in the shared log.
class TMortalProbe : public TProbe {
public:
    using TProbe::TProbe;
    ~TMortalProbe() override { Log().push_back("destroyed " + Name()); }
};

TEST(FormTest, FreeingTheFormFreesItsControlsAndOwnedComponents)
{
    TPlatformScope platform;
    TLog log;
    auto* form = new TForm(nullptr);
    auto* owned = new TMortalProbe(form, log, "Owned", Rect(0, 0, 10, 10), clRed);
    auto* foreign = new TMortalProbe(nullptr, log, "Foreign", Rect(0, 0, 10, 10), clRed);
    foreign->SetParent(form); // inserted but not owned: freed as a child
    owned->Invalidate();
    log.clear();
    delete form; // ASan would also report a double free or a use after free
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (TLog{"destroyed Foreign", "destroyed Owned"})) << "each freed exactly once";
}

} // namespace
} // namespace hx::test
