// The main window as assistive technology sees it, read through the toolkit's own
// accessibility objects: swatches are push buttons named by their code and described by
// their decimal form, the panels are panes, the context menu lists its items; pressing a
// swatch or an item through them does what a click does.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MainFormFixture.h"
#include "framework/runtime/Accessibility.h"

namespace hx::test {
namespace {

constexpr int kPanels = 2;
constexpr int kSwatches = 91;

TEST_F(MainFormTest, AccessibleTreeShowsPanelsSwatchesAndMenu)
{
    TMainForm1& form = Create();
    const TAccessibleNode root = AccessibleTree(&form);
    EXPECT_EQ(root.Role, "Window");
    EXPECT_EQ(root.Name, "Hexatint91");
    ASSERT_EQ(root.Children.size(), static_cast<size_t>(kPanels + kSwatches + 1));

    for (int i = 0; i < kPanels; ++i) {
        EXPECT_EQ(root.Children[i].Role, "Pane") << i;
        EXPECT_TRUE(root.Children[i].Actions.empty()) << i;
    }
    for (int n = 1; n <= kSwatches; ++n) {
        const TAccessibleNode& swatch = root.Children[kPanels + n - 1];
        const TGlowFadeButton* button = form.GlowFadeButton(n);
        SCOPED_TRACE("swatch " + std::to_string(n));
        EXPECT_EQ(swatch.Role, "PushButton");
        EXPECT_EQ(swatch.Name, button->Caption());
        EXPECT_EQ(swatch.Description, button->Hint());
        EXPECT_EQ(swatch.Actions, std::vector<std::string>{"Press"});
        const TPoint origin = button->ClientToScreen(Point(0, 0));
        EXPECT_EQ(swatch.ScreenRect, Bounds(origin.X, origin.Y, button->Width(), button->Height()));
    }
    const TAccessibleNode& swatch89 = root.Children[kPanels + 88];
    EXPECT_EQ(swatch89.Name, "#ff9900");
    EXPECT_EQ(swatch89.Description, "RGB(255,153,0)");

    const TAccessibleNode& menu = root.Children.back();
    EXPECT_EQ(menu.Role, "PopupMenu");
    const struct {
        const char* Role;
        const char* Name;
        bool Checked;
        bool Pressable;
    } items[] = {
        {"MenuItem", "常に手前に表示(S)", true, true},
        {"Separator", "", false, false},
        {"MenuItem", "インフォメーション(I)...", false, true},
        {"Separator", "", false, false},
        {"MenuItem", "終了する(X)", false, true},
    };
    ASSERT_EQ(menu.Children.size(), std::size(items));
    for (size_t i = 0; i < std::size(items); ++i) {
        SCOPED_TRACE("menu item " + std::to_string(i));
        EXPECT_EQ(menu.Children[i].Role, items[i].Role);
        EXPECT_EQ(menu.Children[i].Name, items[i].Name);
        EXPECT_EQ(menu.Children[i].Checked, items[i].Checked);
        EXPECT_EQ(menu.Children[i].Actions.empty(), !items[i].Pressable);
    }
}

TEST_F(MainFormTest, PressingASwatchThroughAccessibilityClicksIt)
{
    TMainForm1& form = Create();
    ASSERT_TRUE(DoAccessibleAction(&form, {kPanels + 88}, "Press"));
    ASSERT_EQ(Platform.ClipboardTexts(), std::vector<std::string>{"#ff9900"});
    EXPECT_EQ(form.GradBox1->TopColor(), RGB(255, 153, 0));
    EXPECT_EQ(form.GradBox2->TopColor(), RGB(255, 153, 0));
    EXPECT_EQ(Platform.Beeps(), std::vector<unsigned>{0});

    EXPECT_FALSE(DoAccessibleAction(&form, {0}, "Press")) << "a panel has nothing to press";
    EXPECT_FALSE(DoAccessibleAction(&form, {kPanels + kSwatches + 1}, "Press")) << "no such child";
    EXPECT_EQ(Platform.ClipboardTexts().size(), 1u);
}

TEST_F(MainFormTest, AccessibleMenuItemTogglesAlwaysOnTop)
{
    TMainForm1& form = Create();
    ASSERT_TRUE(DoAccessibleAction(&form, {kPanels + kSwatches, 0}, "Press"));
    EXPECT_FALSE(form.N4->Checked());
    EXPECT_EQ(form.FormStyle(), fsNormal);
    EXPECT_FALSE(AccessibleTree(&form).Children.back().Children[0].Checked);
    EXPECT_FALSE(DoAccessibleAction(&form, {kPanels + kSwatches, 1}, "Press")) << "a separator";
}

TEST_F(MainFormTest, DisabledOrFreedSwatchesLeaveTheAccessibleTreeConsistent)
{
    TMainForm1& form = Create();
    form.GlowFadeButton(1)->SetEnabled(false);
    TAccessibleNode root = AccessibleTree(&form);
    EXPECT_TRUE(root.Children[kPanels].Disabled);
    EXPECT_TRUE(root.Children[kPanels].Actions.empty());
    EXPECT_FALSE(DoAccessibleAction(&form, {kPanels}, "Press"));
    EXPECT_TRUE(Platform.ClipboardTexts().empty());

    delete form.GlowFadeButton(2);
    root = AccessibleTree(&form);
    ASSERT_EQ(root.Children.size(), static_cast<size_t>(kPanels + kSwatches));
    EXPECT_EQ(root.Children[kPanels + 1].Name, form.GlowFadeButton(3)->Caption());
}

} // namespace
} // namespace hx::test
