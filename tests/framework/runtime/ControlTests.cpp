// Controls and containers: the child list, hit testing, broadcast, alignment, caption,
// parent font and colour, messages, and the references the framework drops.
#include <gtest/gtest.h>

#include "Probe.h"
#include "framework/runtime/Menus.h"
#include "framework/runtime/PointerTracker.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

class ControlTest : public ::testing::Test {
protected:
    ControlTest() { form.SetBounds(0, 0, 200, 100); }

    TPlatformScope platform;
    TLog log;
    TForm form{nullptr};
};

TEST_F(ControlTest, ChildrenKeepCreationOrderAndTheLastOneContainingThePointIsFound)
{
    auto* a = new TProbe(&form, log, "A", Rect(0, 0, 50, 50), clRed);
    auto* b = new TProbe(&form, log, "B", Rect(25, 25, 75, 75), clRed);
    auto* c = new TProbe(&form, log, "C", Rect(100, 0, 150, 50), clRed);
    ASSERT_EQ(form.ControlCount(), 3);
    EXPECT_EQ(form.Controls(0), a);
    EXPECT_EQ(form.Controls(2), c);
    EXPECT_EQ(form.ControlAtPos(Point(30, 30), false), b);
    EXPECT_EQ(form.ControlAtPos(Point(24, 30), false), a);
    EXPECT_EQ(form.ControlAtPos(Point(75, 30), false), nullptr); // right edge is outside
    b->SetEnabled(false);
    EXPECT_EQ(form.ControlAtPos(Point(30, 30), false), a);
    EXPECT_EQ(form.ControlAtPos(Point(30, 30), true), b);
    b->SetVisible(false);
    EXPECT_EQ(form.ControlAtPos(Point(30, 30), true), a);

    b->SetParent(nullptr);
    EXPECT_EQ(form.ControlCount(), 2);
    EXPECT_EQ(b->Parent(), nullptr);
    b->SetParent(&form); // back in, now last
    EXPECT_EQ(form.Controls(2), b);
    delete a;            // leaves the list as it goes
    EXPECT_EQ(form.ControlCount(), 2);
    EXPECT_EQ(form.Controls(0), c);
}

TEST_F(ControlTest, BroadcastStopsAtTheFirstReceiverThatSetsAResult)
{
    struct TCounter : TGraphicControl {
        TCounter(TForm* f, int answer, int& calls) : TGraphicControl(f), Answer(answer), Calls(calls)
        {
            SetParent(f);
        }
        void Dispatch(TMessage& m) override
        {
            if (m.Msg == CM_BUTTONPRESSED) {
                ++Calls;
                m.Result = Answer;
                return;
            }
            TGraphicControl::Dispatch(m);
        }
        int Answer;
        int& Calls;
    };
    int calls = 0;
    new TCounter(&form, 0, calls);
    new TCounter(&form, 7, calls);
    new TCounter(&form, 0, calls);
    TMessage m{CM_BUTTONPRESSED, 1, 0, 0};
    form.Broadcast(m);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(m.Result, 7);
}

TEST_F(ControlTest, AlignLaysChildrenOutAndFollowsResizes)
{
    struct Case {
        const char* name;
        TAlign align;
        TRect before;
        TRect expected;
    };
    // Client 200 x 100.
    const Case cases[] = {
        {"T1", alTop, Rect(5, 5, 15, 25), Rect(0, 0, 200, 20)},
        {"B1", alBottom, Rect(0, 0, 10, 10), Rect(0, 90, 200, 100)},
        {"L1", alLeft, Rect(0, 0, 30, 5), Rect(0, 20, 30, 90)},
        {"R1", alRight, Rect(0, 0, 40, 5), Rect(160, 20, 200, 90)},
        {"C1", alClient, Rect(0, 0, 1, 1), Rect(30, 20, 160, 90)},
        {"N1", alNone, Rect(3, 4, 13, 14), Rect(3, 4, 13, 14)},
    };
    std::vector<TProbe*> probes;
    for (const Case& k : cases) {
        probes.push_back(new TProbe(&form, log, k.name, k.before, clRed));
        probes.back()->SetAlign(k.align);
    }
    for (size_t i = 0; i < probes.size(); ++i)
        EXPECT_EQ(probes[i]->BoundsRect(), cases[i].expected) << cases[i].name;

    form.SetClientWidth(300);
    EXPECT_EQ(probes[0]->BoundsRect(), Rect(0, 0, 300, 20));
    EXPECT_EQ(probes[3]->BoundsRect(), Rect(260, 20, 300, 90));
    EXPECT_EQ(probes[4]->BoundsRect(), Rect(30, 20, 260, 90));
    probes[0]->SetVisible(false); // the others take its band
    EXPECT_EQ(probes[4]->BoundsRect(), Rect(30, 0, 260, 90));
}

TEST_F(ControlTest, AnchoredChildrenFollowTheirEdgesOnResize)
{
    struct Case {
        TAnchors anchors;
        TRect expected; // after the client grows by 20 x 10
    };
    const Case cases[] = {
        {akLeft | akTop, Rect(10, 10, 30, 30)},
        {akRight | akTop, Rect(30, 10, 50, 30)},
        {akLeft | akRight | akTop, Rect(10, 10, 50, 30)},
        {akLeft | akTop | akBottom, Rect(10, 10, 30, 40)},
        {akRight | akBottom, Rect(30, 20, 50, 40)},
    };
    std::vector<TProbe*> probes;
    for (const Case& k : cases) {
        probes.push_back(new TProbe(&form, log, "", Rect(10, 10, 30, 30), clRed));
        probes.back()->SetAnchors(k.anchors);
    }
    form.SetBounds(0, 0, 220, 110);
    for (size_t i = 0; i < probes.size(); ++i)
        EXPECT_EQ(probes[i]->BoundsRect(), cases[i].expected) << i;
}

TEST_F(ControlTest, CaptionFollowsTheNameWhileTheyAreEqual)
{
    auto* a = new TProbe(&form, log, "Panel1", Rect(0, 0, 10, 10), clRed);
    EXPECT_EQ(a->Caption(), "Panel1");
    a->SetName("Panel2");
    EXPECT_EQ(a->Caption(), "Panel2");
    a->SetCaption("Hello");
    a->SetName("Panel3");
    EXPECT_EQ(a->Caption(), "Hello");

    auto* b = new TProbe(&form, log, "", Rect(0, 0, 10, 10), clRed);
    b->SetControlStyle(b->ControlStyle() & ~csSetCaption);
    b->SetName("Quiet");
    EXPECT_EQ(b->Caption(), "");
}

TEST_F(ControlTest, ChildTakesTheParentsFontAndColourUntilItSetsItsOwn)
{
    form.Font()->SetName("ＭＳ Ｐゴシック");
    form.Font()->SetHeight(-12);
    auto* a = new TProbe(&form, log, "A", Rect(0, 0, 10, 10), clRed);
    auto* b = new TProbe(&form, log, "B", Rect(0, 0, 10, 10), clRed);
    EXPECT_EQ(a->Font()->Name(), "ＭＳ Ｐゴシック");
    EXPECT_TRUE(a->ParentFont());
    b->Font()->SetColor(clWhite);
    EXPECT_FALSE(b->ParentFont());

    form.Font()->SetHeight(-20);
    EXPECT_EQ(a->Font()->Height(), -20);
    EXPECT_EQ(b->Font()->Height(), -12);
    EXPECT_TRUE(a->ParentFont());

    a->SetParentColor(true);
    EXPECT_EQ(a->Color(), form.Color());
    form.SetColor(clAqua);
    EXPECT_EQ(a->Color(), clAqua);
    EXPECT_EQ(b->Color(), clRed);
}

TEST_F(ControlTest, ShowHintComesFromTheParentUntilSet)
{
    auto* a = new TProbe(&form, log, "A", Rect(0, 0, 10, 10), clRed);
    EXPECT_FALSE(a->ShowHint());
    form.SetShowHint(true);
    EXPECT_TRUE(a->ShowHint());
    a->SetShowHint(false);
    EXPECT_FALSE(a->ParentShowHint());
    EXPECT_FALSE(a->ShowHint());
}

TEST_F(ControlTest, FreeingAPopupMenuClearsTheControlsReference)
{
    auto* a = new TProbe(&form, log, "A", Rect(0, 0, 10, 10), clRed);
    auto* menu = new TPopupMenu(&form);
    a->SetPopupMenu(menu);
    form.SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(a->PopupMenu(), nullptr);
    EXPECT_EQ(form.PopupMenu(), nullptr);
}

TEST_F(ControlTest, FreeingAControlDropsTheCaptureAndThePointerTracking)
{
    form.Show();
    auto* a = new TProbe(&form, log, "A", Rect(0, 0, 50, 50), clRed);
    platform.SetCursorPos(form.ClientToScreen(Point(10, 10)));
    PointerTracker().Track();
    form.MouseInput(miDown, mbLeft, 10, 10, ssLeft);
    EXPECT_EQ(PointerTracker().Capture(), a);
    EXPECT_EQ(PointerTracker().MouseControl(), a);
    delete a;
    EXPECT_EQ(PointerTracker().Capture(), nullptr);
    EXPECT_FALSE(CaptureHeld());
    EXPECT_EQ(PointerTracker().MouseControl(), nullptr);
    form.MouseInput(miUp, mbLeft, 10, 10, 0); // reaches the form, nothing dangling
    PointerTracker().Track();
    EXPECT_EQ(PointerTracker().MouseControl(), &form);
}

TEST_F(ControlTest, ScreenAndClientCoordinatesFollowTheParents)
{
    auto* inner = new TWinControl(&form);
    inner->SetBounds(20, 10, 100, 80);
    inner->SetParent(&form);
    auto* a = new TProbe(&form, log, "A", Rect(5, 6, 15, 16), clRed);
    a->SetParent(inner);
    const TPoint o = form.ClientOrigin();
    EXPECT_EQ(a->ClientToScreen(Point(1, 2)), Point(o.X + 26, o.Y + 18));
    EXPECT_EQ(a->ScreenToClient(Point(o.X + 26, o.Y + 18)), Point(1, 2));
    EXPECT_EQ(a->ParentForm(), &form);

    // Routing and painting descend into the container.
    form.MouseInput(miDown, mbLeft, 26, 18, ssLeft);
    form.MouseInput(miUp, mbLeft, 26, 18, 0);
    EXPECT_EQ(log, (TLog{"down A 1,2", "click A", "up A 1,2"}));
    form.Update();
    EXPECT_EQ(form.SurfacePixel(25, 16), clRed);
    EXPECT_EQ(form.SurfacePixel(24, 16), ColorToRGB(clBtnFace));
}

} // namespace
} // namespace hx::test
