// The shine button's data: construction, colour sets and their notifications, setters and
// the repaints they ask for, the owned fonts and the glyph held at 32 bits.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/core/Exception.h"
#include "framework/runtime/Form.h"
#include "framework/services/RecordingPlatform.h"
#include "framework/services/Timer.h"
#include "widgets/shinespdbtn/Shinespdbtn.h"

namespace hx {
namespace {

// Counts the OnChange notifications of a colour set and checks their sender.
struct TChangeCounter {
    explicit TChangeCounter(TShineBtnColors& set) : Set(set)
    {
        set.OnChange = TNotifyEvent([this](TObject* sender) {
            ++Count;
            EXPECT_EQ(sender, &Set);
        });
    }
    TShineBtnColors& Set;
    int Count = 0;
};

// A button on a painted form: whether a call asks for a repaint shows as the form's
// invalid region after it.
class ShineButtonOnForm : public testing::Test {
protected:
    ShineButtonOnForm()
    {
        form.SetBounds(0, 0, 100, 60);
        button->SetParent(&form);
        button->SetBounds(10, 10, 25, 25);
        form.Update();
    }

    bool AsksForRepaint(const std::function<void()>& change)
    {
        form.Update();
        change();
        const TRect invalid = form.InvalidRect();
        form.Update();
        if (invalid.IsEmpty())
            return false;
        EXPECT_EQ(invalid, button->BoundsRect());
        return true;
    }

    TPlatformScope platform;
    TForm form{nullptr};
    TShineSpeedButton* button = new TShineSpeedButton(&form);
};

TEST(ShineButton, ConstructionGivesTheDefaultsAndExactlyCaptureOpaqueAndDoubleClicks)
{
    TPlatformScope platform;
    TShineSpeedButton button(nullptr);
    EXPECT_EQ(button.ControlStyle(), csCaptureMouse | csOpaque | csDoubleClicks);
    EXPECT_EQ(button.Width(), 25);
    EXPECT_EQ(button.Height(), 25);
    EXPECT_EQ(button.Caption(), "");
    EXPECT_EQ(button.State(), ssUp);
    EXPECT_FALSE(button.Down());
    EXPECT_EQ(button.GroupIndex(), 0);
    EXPECT_FALSE(button.AllowAllUp());
    EXPECT_FALSE(button.ClickDownHook());
    EXPECT_FALSE(button.AccelCharDown());
    EXPECT_EQ(button.FrameType(), ftNormalFrame);
    EXPECT_FALSE(button.Transparent());
    EXPECT_TRUE(button.ActiveFrame());
    EXPECT_TRUE(button.UpFrame());
    EXPECT_TRUE(button.DownFrame());
    EXPECT_EQ(button.ActiveImage(), aiFrameLight);
    EXPECT_EQ(button.DisabledImage(), diDefault);
    EXPECT_EQ(button.DisabledHighlight(), clBtnHighlight);
    EXPECT_EQ(button.DisabledShadow(), clBtnShadow);
    EXPECT_EQ(button.ShineColor(), clYellow);
    EXPECT_EQ(button.FontHighlight(), clNone);
    EXPECT_EQ(button.FontShadow(), clNone);
    EXPECT_EQ(button.Layout(), blGlyphLeft);
    EXPECT_EQ(button.Margin(), -1);
    EXPECT_EQ(button.Spacing(), 4);
    EXPECT_FALSE(button.MouseInside());
    EXPECT_FALSE(button.Tracking());
    EXPECT_FALSE(button.OnMouseEnter.Assigned());
    EXPECT_FALSE(button.OnMouseLeave.Assigned());

    for (TShineBtnColors* set : {button.Colors(), button.PressedColors()}) {
        EXPECT_EQ(set->Highlight(), clBtnHighlight);
        EXPECT_EQ(set->Shadow(), clBtnShadow);
        EXPECT_EQ(set->DarkShadow(), clWindowFrame);
        EXPECT_EQ(set->GradColor(), clBlue);
        EXPECT_FALSE(set->GradVertical());
        EXPECT_FALSE(set->Gradation());
        EXPECT_TRUE(set->OnChange.Assigned());
    }
    EXPECT_EQ(button.Colors()->Color(), clBtnFace);
    EXPECT_EQ(button.PressedColors()->Color(), clBtnHighlight);
    EXPECT_EQ(button.Font()->Color(), clBtnText);
    EXPECT_EQ(button.ActiveFont()->Color(), clHighlight);
    EXPECT_NE(button.Font(), button.TControl::Font()); // its own font, not the control's

    TBitmap* glyph = button.Glyph();
    EXPECT_TRUE(glyph->Empty());
    EXPECT_EQ(glyph->PixelFormat(), pf32bit);
    EXPECT_EQ(glyph->HandleType(), bmDIB);
    EXPECT_EQ(glyph->TransparentColor(), clOlive);

    TTimer* timer = button.ActiveButtonTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->Owner(), &button);
    EXPECT_EQ(timer->Interval(), 200);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_TRUE(timer->OnTimer().Assigned());
    EXPECT_FALSE(timer->Running());
}

TEST(ShineButton, NamingDoesNotFillTheCaption)
{
    TPlatformScope platform;
    TShineSpeedButton button(nullptr);
    button.SetName("ShineSpeedButton1");
    EXPECT_EQ(button.Caption(), "");
}

TEST(ShineButton, DestructionFreesTheTimer)
{
    TPlatformScope platform;
    struct TWatcher : TComponent {
        using TComponent::TComponent;
        void Notification(TComponent* c, TOperation op) override
        {
            if (op == opRemove)
                Removed.push_back(c);
            TComponent::Notification(c, op);
        }
        std::vector<TComponent*> Removed;
    } watcher(nullptr);
    auto* button = new TShineSpeedButton(nullptr);
    TTimer* timer = button->ActiveButtonTimer();
    timer->FreeNotification(&watcher);
    delete button; // the sets, fonts and glyph would show as leaks under the sanitizer
    EXPECT_EQ(watcher.Removed, (std::vector<TComponent*>{timer}));
}

// --- Colour sets ---------------------------------------------------------------------------

TEST(ShineBtnColors, EachSetterNotifiesOncePerRealChangeAndNeverForTheSameValue)
{
    struct Case {
        const char* name;
        std::function<void(TShineBtnColors&)> sameValue;
        std::function<void(TShineBtnColors&)> newValue;
    };
    const std::vector<Case> cases = {
        {"Color", [](auto& s) { s.SetColor(clBtnFace); }, [](auto& s) { s.SetColor(clRed); }},
        {"Highlight", [](auto& s) { s.SetHighlight(clBtnHighlight); }, [](auto& s) { s.SetHighlight(clWhite); }},
        {"Shadow", [](auto& s) { s.SetShadow(clBtnShadow); }, [](auto& s) { s.SetShadow(clGray); }},
        {"DarkShadow", [](auto& s) { s.SetDarkShadow(clWindowFrame); }, [](auto& s) { s.SetDarkShadow(clBlack); }},
        {"GradColor", [](auto& s) { s.SetGradColor(clBlue); }, [](auto& s) { s.SetGradColor(clLime); }},
        {"GradVertical", [](auto& s) { s.SetGradVertical(false); }, [](auto& s) { s.SetGradVertical(true); }},
        {"Gradation", [](auto& s) { s.SetGradation(false); }, [](auto& s) { s.SetGradation(true); }},
    };
    for (const Case& c : cases) {
        TShineBtnColors set;
        EXPECT_EQ(set.Color(), clBtnFace);
        TChangeCounter counter(set);
        c.sameValue(set);
        EXPECT_EQ(counter.Count, 0) << c.name;
        c.newValue(set);
        EXPECT_EQ(counter.Count, 1) << c.name;
        c.newValue(set);
        EXPECT_EQ(counter.Count, 1) << c.name;
    }
}

TEST(ShineBtnColors, AssigningOneSetToAnotherCopiesAllSevenAndNotifiesTwice)
{
    TShineBtnColors source;
    source.SetColor(RGB(1, 2, 3));
    source.SetHighlight(RGB(4, 5, 6));
    source.SetShadow(RGB(7, 8, 9));
    source.SetDarkShadow(RGB(10, 11, 12));
    source.SetGradColor(RGB(13, 14, 15));
    source.SetGradVertical(true);
    source.SetGradation(true);
    TChangeCounter sourceCounter(source);

    TShineBtnColors dest;
    TChangeCounter destCounter(dest);
    dest.CopyValuesFrom(&source);
    EXPECT_EQ(destCounter.Count, 2);
    EXPECT_EQ(sourceCounter.Count, 0);
    EXPECT_EQ(dest.Color(), RGB(1, 2, 3));
    EXPECT_EQ(dest.Highlight(), RGB(4, 5, 6));
    EXPECT_EQ(dest.Shadow(), RGB(7, 8, 9));
    EXPECT_EQ(dest.DarkShadow(), RGB(10, 11, 12));
    EXPECT_EQ(dest.GradColor(), RGB(13, 14, 15));
    EXPECT_TRUE(dest.GradVertical());
    EXPECT_TRUE(dest.Gradation());

    dest.CopyValuesFrom(&source); // nothing differs, yet the copy notifies twice again
    EXPECT_EQ(destCounter.Count, 4);

    TShineBtnColors other;
    TChangeCounter otherCounter(other);
    source.CopyValuesTo(&other); // writing into another set notifies it once
    EXPECT_EQ(otherCounter.Count, 1);
    EXPECT_EQ(other.GradColor(), RGB(13, 14, 15));
}

TEST(ShineBtnColors, NullOrForeignObjectsRaiseTheAssignmentErrorAndChangeNothing)
{
    TShineBtnColors set;
    TChangeCounter counter(set);
    TFont font;
    auto message = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const EConvertError& e) {
            return e.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { set.CopyValuesFrom(nullptr); }), "Cannot assign nil to a TShineBtnColors");
    EXPECT_EQ(message([&] { set.CopyValuesFrom(&font); }), "Cannot assign a TFont to a TShineBtnColors");
    EXPECT_EQ(message([&] { set.CopyValuesTo(&font); }), "Cannot assign a TShineBtnColors to a TFont");
    EXPECT_EQ(message([&] { set.CopyValuesTo(nullptr); }), "Cannot assign a TShineBtnColors to a nil");
    EXPECT_EQ(counter.Count, 0);
    EXPECT_EQ(set.Color(), clBtnFace);
}

// --- Setters and repaints ------------------------------------------------------------------

TEST_F(ShineButtonOnForm, ComparingSettersRepaintOnlyOnARealChange)
{
    struct Case {
        const char* name;
        std::function<void(TShineSpeedButton&)> sameValue;
        std::function<void(TShineSpeedButton&)> newValue;
    };
    const std::vector<Case> cases = {
        {"ClickDownHook", [](auto& b) { b.SetClickDownHook(false); }, [](auto& b) { b.SetClickDownHook(true); }},
        {"AccelCharDown", [](auto& b) { b.SetAccelCharDown(false); }, [](auto& b) { b.SetAccelCharDown(true); }},
        {"FrameType", [](auto& b) { b.SetFrameType(ftNormalFrame); }, [](auto& b) { b.SetFrameType(ftEnclosedFrame); }},
        {"ActiveFrame", [](auto& b) { b.SetActiveFrame(true); }, [](auto& b) { b.SetActiveFrame(false); }},
        {"UpFrame", [](auto& b) { b.SetUpFrame(true); }, [](auto& b) { b.SetUpFrame(false); }},
        {"DownFrame", [](auto& b) { b.SetDownFrame(true); }, [](auto& b) { b.SetDownFrame(false); }},
        {"ActiveImage", [](auto& b) { b.SetActiveImage(aiFrameLight); }, [](auto& b) { b.SetActiveImage(aiMaskLight); }},
        {"DisabledImage", [](auto& b) { b.SetDisabledImage(diDefault); }, [](auto& b) { b.SetDisabledImage(diGrayscale); }},
        {"DisabledHighlight", [](auto& b) { b.SetDisabledHighlight(clBtnHighlight); },
         [](auto& b) { b.SetDisabledHighlight(clWhite); }},
        {"DisabledShadow", [](auto& b) { b.SetDisabledShadow(clBtnShadow); }, [](auto& b) { b.SetDisabledShadow(clGray); }},
        {"ShineColor", [](auto& b) { b.SetShineColor(clYellow); }, [](auto& b) { b.SetShineColor(clAqua); }},
        {"Layout", [](auto& b) { b.SetLayout(blGlyphLeft); }, [](auto& b) { b.SetLayout(blGlyphBottom); }},
        {"Margin", [](auto& b) { b.SetMargin(-1); }, [](auto& b) { b.SetMargin(-7); }},
        {"Spacing", [](auto& b) { b.SetSpacing(4); }, [](auto& b) { b.SetSpacing(-3); }},
        {"Colors.Color", [](auto& b) { b.Colors()->SetColor(clBtnFace); }, [](auto& b) { b.Colors()->SetColor(clRed); }},
        {"PressedColors.Gradation", [](auto& b) { b.PressedColors()->SetGradation(false); },
         [](auto& b) { b.PressedColors()->SetGradation(true); }},
        {"Font.Height", [](auto& b) { b.Font()->SetHeight(b.Font()->Height()); }, [](auto& b) { b.Font()->SetHeight(-20); }},
        {"ActiveFont.Color", [](auto& b) { b.ActiveFont()->SetColor(clHighlight); },
         [](auto& b) { b.ActiveFont()->SetColor(clRed); }},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(AsksForRepaint([&] { c.sameValue(*button); })) << c.name;
        EXPECT_TRUE(AsksForRepaint([&] { c.newValue(*button); })) << c.name;
        EXPECT_FALSE(AsksForRepaint([&] { c.newValue(*button); })) << c.name << " again";
    }
    EXPECT_EQ(button->Margin(), -7);  // stored as passed, not validated
    EXPECT_EQ(button->Spacing(), -3);
}

TEST_F(ShineButtonOnForm, CaptionPassColoursRepaintEvenWhenUnchanged)
{
    EXPECT_TRUE(AsksForRepaint([&] { button->SetFontShadow(clNone); }));
    EXPECT_TRUE(AsksForRepaint([&] { button->SetFontHighlight(clNone); }));
    EXPECT_TRUE(AsksForRepaint([&] { button->SetFontShadow(clGray); }));
    EXPECT_EQ(button->FontShadow(), clGray);
}

TEST_F(ShineButtonOnForm, GroupSettersStoreWithoutRepainting)
{
    EXPECT_FALSE(AsksForRepaint([&] { button->SetGroupIndex(3); }));
    EXPECT_EQ(button->GroupIndex(), 3);
    EXPECT_FALSE(AsksForRepaint([&] { button->SetAllowAllUp(true); }));
    EXPECT_TRUE(button->AllowAllUp());
}

TEST_F(ShineButtonOnForm, TransparentSwitchesTheOpaqueStyle)
{
    EXPECT_FALSE(AsksForRepaint([&] { button->SetTransparent(false); }));
    EXPECT_TRUE(AsksForRepaint([&] { button->SetTransparent(true); }));
    EXPECT_EQ(button->ControlStyle(), csCaptureMouse | csDoubleClicks);
    EXPECT_FALSE(AsksForRepaint([&] { button->SetTransparent(true); }));
    EXPECT_TRUE(AsksForRepaint([&] { button->SetTransparent(false); }));
    EXPECT_EQ(button->ControlStyle(), csCaptureMouse | csOpaque | csDoubleClicks);
}

TEST_F(ShineButtonOnForm, AssignedColourSetIsCopiedIntoTheOwnedOne)
{
    TShineBtnColors given;
    given.SetColor(clRed);
    given.SetGradation(true);
    TChangeCounter givenCounter(given);
    TShineBtnColors* own = button->PressedColors();
    EXPECT_TRUE(AsksForRepaint([&] { button->SetPressedColors(&given); }));
    EXPECT_EQ(button->PressedColors(), own);
    EXPECT_EQ(own->Color(), clRed);
    EXPECT_TRUE(own->Gradation());
    EXPECT_EQ(givenCounter.Count, 0);
    given.SetColor(clBlue);
    EXPECT_EQ(own->Color(), clRed); // a copy, not a link

    EXPECT_THROW(button->SetColors(nullptr), EConvertError);
    EXPECT_EQ(button->Colors()->Color(), clBtnFace);
}

TEST_F(ShineButtonOnForm, FontsTakeTheGivenAttributesAndIgnoreNull)
{
    EXPECT_FALSE(AsksForRepaint([&] { button->SetFont(nullptr); }));
    EXPECT_FALSE(AsksForRepaint([&] { button->SetActiveFont(nullptr); }));

    TFont given;
    given.SetName("IPAPGothic");
    given.SetHeight(-15);
    given.SetColor(clRed);
    given.SetStyle(fsBold);
    TFont* own = button->Font();
    EXPECT_TRUE(AsksForRepaint([&] { button->SetFont(&given); }));
    EXPECT_EQ(button->Font(), own);
    EXPECT_EQ(own->Name(), "IPAPGothic");
    EXPECT_EQ(own->Height(), -15);
    EXPECT_EQ(own->Color(), clRed);
    EXPECT_EQ(own->Style(), fsBold);
    given.SetHeight(-30);
    EXPECT_EQ(own->Height(), -15);

    EXPECT_TRUE(AsksForRepaint([&] { button->SetActiveFont(&given); }));
    EXPECT_EQ(button->ActiveFont()->Height(), -30);
    EXPECT_EQ(button->Font()->Height(), -15);
}

TEST_F(ShineButtonOnForm, DownLatchesOnlyInAGroupAndFollowsAllowAllUp)
{
    EXPECT_FALSE(AsksForRepaint([&] { button->SetDown(true); }));
    EXPECT_FALSE(button->Down()); // group 0 never latches
    EXPECT_EQ(button->State(), ssUp);

    button->SetGroupIndex(1);
    button->SetDown(true);
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(button->State(), ssDown);
    EXPECT_EQ(form.SurfacePixel(12, 12), ColorToRGB(clBtnHighlight)); // painted at once, pressed face
    button->SetDown(false);
    EXPECT_TRUE(button->Down()); // without AllowAllUp only another button raises it

    button->SetAllowAllUp(true);
    button->SetDown(false);
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(button->State(), ssUp);
    EXPECT_EQ(form.SurfacePixel(12, 12), ColorToRGB(clBtnFace));
}

TEST_F(ShineButtonOnForm, PaintingADisabledButtonPutsItInTheDisabledState)
{
    button->SetEnabled(false);
    button->Invalidate();
    form.Update();
    EXPECT_EQ(button->State(), ssDisabled);
    EXPECT_FALSE(button->Tracking());
}

// --- Glyph -------------------------------------------------------------------------------------

// A 3 x 2 image in the given format with distinct pixels.
void FillSample(TBitmap& bitmap, TPixelFormat format)
{
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(3, 2);
    bitmap.Canvas()->SetPixel(0, 0, RGB(10, 20, 30));
    bitmap.Canvas()->SetPixel(2, 1, RGB(200, 100, 50));
}

TEST_F(ShineButtonOnForm, AssignedGlyphIsACopyHeldAtThirtyTwoBits)
{
    TBitmap given;
    FillSample(given, pf24bit);
    TBitmap* own = button->Glyph();
    EXPECT_TRUE(AsksForRepaint([&] { button->SetGlyph(&given); }));
    EXPECT_EQ(button->Glyph(), own);
    EXPECT_EQ(own->PixelFormat(), pf32bit);
    EXPECT_EQ(own->HandleType(), bmDIB);
    EXPECT_EQ(own->Width(), 3);
    EXPECT_EQ(own->Height(), 2);
    EXPECT_EQ(own->PixelWord(0, 0), 0x0A141Eu);
    EXPECT_EQ(own->PixelWord(2, 1), 0xC86432u);
    EXPECT_EQ(own->PixelWord(1, 0), 0xFFFFFFu);
    EXPECT_EQ(given.PixelFormat(), pf24bit); // the caller's bitmap keeps its format

    EXPECT_TRUE(AsksForRepaint([&] { button->SetGlyph(nullptr); }));
    EXPECT_EQ(button->Glyph(), own);
    EXPECT_TRUE(own->Empty());
    EXPECT_EQ(own->Width(), 0);
    EXPECT_EQ(own->Height(), 0);
    EXPECT_EQ(given.Width(), 3);
}

TEST_F(ShineButtonOnForm, GlyphChangedDirectlyIsConvertedAtOnce)
{
    // A one-bit PNG loads as a one-bit bitmap anywhere else.
    TBitmap mono;
    mono.SetPixelFormat(pf1bit);
    mono.SetSize(4, 2);
    mono.Canvas()->SetPixel(1, 1, clBlack);
    const std::vector<std::uint8_t> png = mono.SaveToData();
    TBitmap plain;
    plain.LoadFromData(png);
    ASSERT_EQ(plain.PixelFormat(), pf1bit);

    EXPECT_TRUE(AsksForRepaint([&] { button->Glyph()->LoadFromData(png); }));
    EXPECT_EQ(button->Glyph()->PixelFormat(), pf32bit);
    EXPECT_EQ(button->Glyph()->PixelWord(1, 1), 0u);
    EXPECT_EQ(button->Glyph()->PixelWord(0, 1), 0xFFFFFFu);

    button->Glyph()->SetPixelFormat(pf24bit);
    EXPECT_EQ(button->Glyph()->PixelFormat(), pf32bit);
    button->Glyph()->SetHandleType(bmDDB);
    EXPECT_EQ(button->Glyph()->PixelFormat(), pf32bit);
    EXPECT_EQ(button->Glyph()->HandleType(), bmDIB);
    EXPECT_TRUE(AsksForRepaint([&] { button->Glyph()->SetSize(5, 5); }));
    EXPECT_EQ(button->Glyph()->PixelFormat(), pf32bit);
}

} // namespace
} // namespace hx
