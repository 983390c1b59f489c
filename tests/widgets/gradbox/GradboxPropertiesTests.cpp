// Construction, setters and what they repaint, the published properties and streaming.
#include <cctype>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "GradboxFixture.h"
#include "framework/streaming/ClassRegistry.h"
#include "framework/streaming/FormReader.h"
#include "framework/streaming/FormWriter.h"

namespace hx::test {
namespace {

TEST_F(GradboxTest, ConstructionSetsTheDefaultsWithoutOpaqueness)
{
    TGradBox panel(nullptr);
    EXPECT_EQ(panel.ControlStyle(), kDefaultControlStyle | csReplicatable);
    EXPECT_EQ(panel.Width(), 200);
    EXPECT_EQ(panel.Height(), 100);
    EXPECT_EQ(panel.CaptionLeft(), 10);
    EXPECT_EQ(panel.CaptionTop(), 10);
    EXPECT_EQ(panel.TopColor(), clGreen);
    EXPECT_EQ(panel.LastColor(), clLime);
    EXPECT_EQ(panel.OutLineColor(), clBlack);
    EXPECT_FALSE(panel.DrawOutLine());
    EXPECT_EQ(panel.GradStyle(), gsTopBottom);
    EXPECT_FALSE(panel.Font3D());
    EXPECT_EQ(panel.FontDepth(), 1);
    EXPECT_EQ(panel.Style3D(), fsRaise3D);
    EXPECT_EQ(panel.BackFont(), clYellow);
    EXPECT_EQ(panel.Caption(), "");
    EXPECT_FALSE(panel.OnPaint().Assigned());
}

TEST_F(GradboxTest, SettingTheSameTopColorTwiceRepaintsOnce)
{
    TGradBox* panel = AddPanel(0, 0, 200, 228, gsLeftRight, clBlack, clWhite);
    int paints = 0;
    panel->SetOnPaint(TNotifyEvent([&](TObject*) { ++paints; }));
    form.Update();
    paints = 0;

    panel->SetTopColor(RGB(255, 153, 0));
    panel->SetTopColor(RGB(255, 153, 0));
    form.Update();
    EXPECT_EQ(paints, 1);
    // Column 0 shows entry 2 of the orange-to-white ramp: green 153 + 2 x 0.4, blue 0 + 2.
    EXPECT_EQ(form.SurfacePixel(0, 0), RGB(255, 153, 2));
    panel->SetTopColor(RGB(255, 153, 0));
    form.Update();
    EXPECT_EQ(paints, 1);
}

// Whether a change asks for a repaint, read from the form's invalid region.
struct SetterCase {
    const char* name;
    std::function<void(TGradBox&)> setup;
    std::function<void(TGradBox&)> change;
    bool invalidates;
};

// Rows print as their names in test listings.
void PrintTo(const SetterCase& row, std::ostream* out)
{
    *out << row.name;
}

// One row a setter and situation, each on a fresh form.
class GradboxSetterTest : public GradboxTest, public ::testing::WithParamInterface<SetterCase> {};

TEST_P(GradboxSetterTest, SettersRepaintOnlyOnARealChangeThatShows)
{
    const SetterCase& c = GetParam();
    auto* panel = new TGradBox(&form);
    panel->SetBounds(30, 40, 200, 100);
    panel->SetParent(&form);
    if (c.setup)
        c.setup(*panel);
    form.Update();
    ASSERT_TRUE(form.InvalidRect().IsEmpty());
    c.change(*panel);
    EXPECT_EQ(form.InvalidRect(), c.invalidates ? Rect(30, 40, 230, 140) : TRect{});
}

// "OutLineColor while designed" -> "OutLineColorWhileDesigned".
std::string RowName(const ::testing::TestParamInfo<SetterCase>& row)
{
    std::string name;
    bool upper = false;
    for (const char* p = row.param.name; *p; ++p) {
        if (*p == ' ') {
            upper = true;
        } else {
            name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(*p))) : *p;
            upper = false;
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Setters, GradboxSetterTest, ::testing::ValuesIn(std::vector<SetterCase>{
        {"CaptionLeft", {}, [](TGradBox& p) { p.SetCaptionLeft(11); }, true},
        {"CaptionLeft same", {}, [](TGradBox& p) { p.SetCaptionLeft(10); }, false},
        {"CaptionTop", {}, [](TGradBox& p) { p.SetCaptionTop(0); }, true},
        {"CaptionTop same", {}, [](TGradBox& p) { p.SetCaptionTop(10); }, false},
        {"TopColor", {}, [](TGradBox& p) { p.SetTopColor(clRed); }, true},
        {"LastColor", {}, [](TGradBox& p) { p.SetLastColor(clRed); }, true},
        {"LastColor same", {}, [](TGradBox& p) { p.SetLastColor(clLime); }, false},
        {"GradStyle", {}, [](TGradBox& p) { p.SetGradStyle(gsNone); }, true},
        {"GradStyle same", {}, [](TGradBox& p) { p.SetGradStyle(gsTopBottom); }, false},
        {"DrawOutLine", {}, [](TGradBox& p) { p.SetDrawOutLine(true); }, true},
        {"Font3D", {}, [](TGradBox& p) { p.SetFont3D(true); }, true},
        {"Style3D", {}, [](TGradBox& p) { p.SetStyle3D(fsLow3D); }, true},
        {"Style3D same", {}, [](TGradBox& p) { p.SetStyle3D(fsRaise3D); }, false},
        {"OutLineColor without outline", {}, [](TGradBox& p) { p.SetOutLineColor(clRed); }, false},
        {"OutLineColor while designed", [](TGradBox& p) { p.SetDesigning(true); },
         [](TGradBox& p) { p.SetOutLineColor(clRed); }, false},
        {"OutLineColor with outline", [](TGradBox& p) { p.SetDrawOutLine(true); },
         [](TGradBox& p) { p.SetOutLineColor(clRed); }, true},
        {"OutLineColor same with outline", [](TGradBox& p) { p.SetDrawOutLine(true); },
         [](TGradBox& p) { p.SetOutLineColor(clBlack); }, false},
        {"FontDepth without 3D", {}, [](TGradBox& p) { p.SetFontDepth(3); }, false},
        {"FontDepth with 3D", [](TGradBox& p) { p.SetFont3D(true); }, [](TGradBox& p) { p.SetFontDepth(3); }, true},
        {"BackFont without 3D", {}, [](TGradBox& p) { p.SetBackFont(clRed); }, false},
        {"BackFont with 3D", [](TGradBox& p) { p.SetFont3D(true); }, [](TGradBox& p) { p.SetBackFont(clRed); }, true},
        {"BackFont same with 3D", [](TGradBox& p) { p.SetFont3D(true); }, [](TGradBox& p) { p.SetBackFont(clYellow); }, false},
        {"Caption", {}, [](TGradBox& p) { p.SetCaption("a"); }, true},
        {"Caption same", {}, [](TGradBox& p) { p.SetCaption(""); }, false},
        {"Font", {}, [](TGradBox& p) { p.Font()->SetHeight(-20); }, true},
    }), RowName);

TEST_F(GradboxTest, TextChangeRunsTheDefaultHandlingThenRepaints)
{
    TGradBox* panel = AddPanel(0, 0, 100, 50, gsTopBottom, clBlack, clWhite);
    form.Update();
    // Sent straight to the panel, the notification repaints even with the text unchanged.
    panel->Perform(CM_TEXTCHANGED, 0, 0);
    EXPECT_EQ(form.InvalidRect(), Rect(0, 0, 100, 50));
    form.Update();
    // Other messages keep the framework's handling: a click still reaches OnClick.
    int clicks = 0;
    panel->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
    form.MouseInput(miDown, mbLeft, 5, 5, 0);
    form.MouseInput(miUp, mbLeft, 5, 5, 0);
    EXPECT_EQ(clicks, 1);
}

TEST(GradboxPublished, PropertiesAreListedInOrderWithTheirDefaults)
{
    RegisterGradbox();
    const TClassInfo* info = TClassInfo::Find("TGradBox");
    ASSERT_NE(info, nullptr);
    std::vector<std::string> names;
    for (const TPropInfo& p : info->Properties())
        names.push_back(p.Name);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "Name", "Left", "Top", "Width", "Height", "CaptionLeft", "CaptionTop", "TopColor",
                         "LastColor", "OutLineColor", "DrawOutLine", "GradStyle", "Font3D", "FontDepth", "Style3D",
                         "BackFont", "Align", "Caption", "DragCursor", "DragMode", "Enabled", "Font", "ParentFont",
                         "ParentShowHint", "PopupMenu", "ShowHint", "Visible", "OnClick", "OnDblClick",
                         "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp",
                         "OnPaint", "OnStartDrag"}));

    struct Default {
        const char* name;
        std::optional<std::int64_t> value;
    };
    for (const Default& d : {Default{"CaptionLeft", 10}, Default{"CaptionTop", 10}, Default{"TopColor", clGreen},
                             Default{"LastColor", clLime}, Default{"OutLineColor", clBlack},
                             Default{"DrawOutLine", std::nullopt}, Default{"GradStyle", gsTopBottom},
                             Default{"Font3D", std::nullopt}, Default{"FontDepth", 1},
                             Default{"Style3D", fsRaise3D}, Default{"BackFont", clYellow},
                             Default{"Align", alNone}, Default{"DragCursor", crDrag},
                             Default{"DragMode", dmManual}, Default{"Enabled", 1}, Default{"ParentFont", 1},
                             Default{"ParentShowHint", 1}, Default{"Visible", 1}})
        EXPECT_EQ(info->FindProperty(d.name)->Default, d.value) << d.name;
    EXPECT_EQ(info->FindProperty("Caption")->DefaultString, std::string());
    EXPECT_EQ(info->FindProperty("GradStyle")->Enum->Values,
              (std::vector<std::string>{"gsTopBottom", "gsBottomTop", "gsLeftRight", "gsRightLeft", "gsNone"}));
    EXPECT_EQ(info->FindProperty("Style3D")->Enum->Values,
              (std::vector<std::string>{"fsLowShadow", "fsRaiseShadow", "fsLow3D", "fsRaise3D"}));
    EXPECT_NE(FindClass("TGradBox"), nullptr);
}

// The right backdrop panel as the main window describes it, plus every own property set
// away from its default.
const char* const kDescription =
    "object Backdrop: TForm\n"
    "  ClientHeight = 228\n"
    "  ClientWidth = 448\n"
    "  object GradBox2: TGradBox\n"
    "    Left = 248\n"
    "    Top = 0\n"
    "    Width = 200\n"
    "    Height = 228\n"
    "    TopColor = clBlack\n"
    "    LastColor = clWhite\n"
    "    DrawOutLine = False\n"
    "    GradStyle = gsRightLeft\n"
    "    Font3D = False\n"
    "    Align = alRight\n"
    "  end\n"
    "  object Fancy: TGradBox\n"
    "    Left = 5\n"
    "    Top = 6\n"
    "    Width = 70\n"
    "    Height = 80\n"
    "    CaptionLeft = -3\n"
    "    CaptionTop = 4\n"
    "    TopColor = $00123456\n"
    "    LastColor = clBtnFace\n"
    "    OutLineColor = clRed\n"
    "    DrawOutLine = True\n"
    "    GradStyle = gsNone\n"
    "    Font3D = True\n"
    "    FontDepth = 3\n"
    "    Style3D = fsLowShadow\n"
    "    BackFont = clNavy\n"
    "    Caption = 'it''s 3D'\n"
    "    Enabled = False\n"
    "  end\n"
    "end\n";

TEST_F(GradboxTest, FormDescriptionRoundTrip)
{
    RegisterGradbox();
    TForm read(nullptr);
    ReadComponent(&read, kDescription, "backdrop.form");

    auto* right = dynamic_cast<TGradBox*>(read.FindComponent("GradBox2"));
    auto* fancy = dynamic_cast<TGradBox*>(read.FindComponent("Fancy"));
    ASSERT_NE(right, nullptr);
    ASSERT_NE(fancy, nullptr);
    EXPECT_EQ(right->Parent(), &read);
    EXPECT_EQ(right->GradStyle(), gsRightLeft);
    EXPECT_EQ(right->TopColor(), clBlack);
    EXPECT_EQ(right->Align(), alRight);
    EXPECT_EQ(fancy->CaptionLeft(), -3);
    EXPECT_EQ(fancy->TopColor(), 0x123456);
    EXPECT_EQ(fancy->LastColor(), clBtnFace);
    EXPECT_EQ(fancy->FontDepth(), 3);
    EXPECT_EQ(fancy->Style3D(), fsLowShadow);
    EXPECT_EQ(fancy->Caption(), "it's 3D");
    EXPECT_FALSE(fancy->Enabled());

    // Written back: the panels' blocks as they were read (defaults left out), except the
    // two Booleans without a default, which are always written.
    const std::string written = WriteComponent(&read);
    std::string expectedPanels = kDescription;
    expectedPanels = expectedPanels.substr(expectedPanels.find("  object GradBox2"));
    EXPECT_NE(written.find(expectedPanels), std::string::npos) << written;

    TForm again(nullptr);
    ReadComponent(&again, written, "written.form");
    EXPECT_EQ(WriteComponent(&again), written);
}

} // namespace
} // namespace hx::test
