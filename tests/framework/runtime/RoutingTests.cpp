// Input routing: which control a mouse message reaches, click synthesis, capture, double
// clicks, pointer tracking, context menus and dialog characters.
#include <gtest/gtest.h>

#include "Probe.h"
#include "framework/runtime/Menus.h"
#include "framework/runtime/PointerTracker.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

class RoutingTest : public ::testing::Test {
protected:
    RoutingTest()
    {
        form.SetBounds(100, 100, 200, 100);
        form.OnClick = TNotifyEvent([this](TObject*) { log.push_back("click form"); });
    }
    ~RoutingTest() override { PointerTracker().SetCapture(nullptr); }

    void Press(int x, int y) { form.MouseInput(miDown, mbLeft, x, y, ssLeft); }
    void Release(int x, int y) { form.MouseInput(miUp, mbLeft, x, y, 0); }
    void Move(int x, int y, TShiftState s = 0) { form.MouseInput(miMove, mbLeft, x, y, s); }
    void PointerAt(int x, int y)
    {
        platform.SetCursorPos(form.ClientToScreen(Point(x, y)));
        PointerTracker().Track();
    }

    TPlatformScope platform;
    TLog log;
    TForm form{nullptr};
    // b overlaps the lower right of a; c touches a on its right edge.
    TProbe* a = new TProbe(&form, log, "A", Rect(0, 0, 50, 50), clRed);
    TProbe* b = new TProbe(&form, log, "B", Rect(30, 30, 80, 80), clBlue);
    TProbe* c = new TProbe(&form, log, "C", Rect(50, 0, 100, 30), clLime);
};

TEST_F(RoutingTest, ClickGoesToTheLastCreatedEnabledVisibleControlUnderThePointer)
{
    struct Case {
        const char* what;
        int x, y;
        bool bEnabled, bVisible;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"overlap: later control wins", 40, 40, true, true, {"down B 10,10", "click B", "up B 10,10"}},
        {"only the earlier one", 10, 10, true, true, {"down A 10,10", "click A", "up A 10,10"}},
        {"disabled later one is skipped", 40, 40, false, true, {"down A 40,40", "click A", "up A 40,40"}},
        {"hidden later one is skipped", 40, 40, true, false, {"down A 40,40", "click A", "up A 40,40"}},
        {"no control: the form", 150, 90, true, true, {"click form"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        b->SetEnabled(k.bEnabled);
        b->SetVisible(k.bVisible);
        log.clear();
        Press(k.x, k.y);
        Release(k.x, k.y);
        EXPECT_EQ(log, k.expected);
    }
}

TEST_F(RoutingTest, ClickIsRaisedBeforeTheMouseUpEvent)
{
    a->OnClick = TNotifyEvent([this](TObject* s) { log.push_back(s == a ? "OnClick" : "OnClick?"); });
    a->OnMouseUp = TMouseEvent([this](TObject*, TMouseButton b, TShiftState, int x, int y) {
        log.push_back("OnMouseUp " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
    });
    Press(5, 6);
    Release(7, 8);
    EXPECT_EQ(log, (TLog{"down A 5,6", "click A", "OnClick", "up A 7,8", "OnMouseUp 0 7,8"}));
}

TEST_F(RoutingTest, CaptureSendsMovesAndTheReleaseOutsideToThePressedControlWithoutAClick)
{
    Press(10, 10);
    EXPECT_EQ(PointerTracker().Capture(), a);
    EXPECT_TRUE(CaptureHeld());
    Move(190, 90, ssLeft);  // over nothing
    Move(60, 10, ssLeft);   // over C
    Release(60, 10);
    EXPECT_EQ(log, (TLog{"down A 10,10", "move A 190,90", "move A 60,10", "up A 60,10"}));
    EXPECT_EQ(PointerTracker().Capture(), nullptr);
    EXPECT_FALSE(CaptureHeld());

    log.clear();
    Move(60, 10);  // free again: the control under the pointer
    EXPECT_EQ(log, (TLog{"move C 10,10"}));
}

TEST_F(RoutingTest, ControlWithoutCaptureStyleLetsTheReleaseGoWhereThePointerIs)
{
    a->SetControlStyle(a->ControlStyle() & ~csCaptureMouse);
    Press(10, 10);
    EXPECT_EQ(PointerTracker().Capture(), nullptr);
    Release(60, 10);
    EXPECT_EQ(log, (TLog{"down A 10,10", "up C 10,10"}));
}

TEST_F(RoutingTest, DoubleClickGivesOneClickAndOneDoubleClick)
{
    // What the window reports for a double click: press, release, double, release.
    auto doubleClick = [this] {
        Press(10, 10);
        Release(10, 10);
        form.MouseInput(miDoubleClick, mbLeft, 10, 10, ssLeft);
        Release(10, 10);
    };
    doubleClick();
    EXPECT_EQ(log, (TLog{"down A 10,10", "click A", "up A 10,10", "dblclick A", "down A 10,10 double",
                         "up A 10,10"}));

    // Without the double-click style the second press is a plain press: two clicks.
    log.clear();
    a->SetControlStyle(a->ControlStyle() & ~csDoubleClicks);
    doubleClick();
    EXPECT_EQ(log, (TLog{"down A 10,10", "click A", "up A 10,10", "down A 10,10", "click A", "up A 10,10"}));

    // Double-click style without click events: a mouse-down with ssDouble, no events.
    log.clear();
    a->SetControlStyle(csCaptureMouse | csDoubleClicks);
    doubleClick();
    EXPECT_EQ(log, (TLog{"down A 10,10", "up A 10,10", "down A 10,10 double", "up A 10,10"}));
}

class TrackingTest : public RoutingTest {
protected:
    TrackingTest()
    {
        form.Show();
        log.clear();
    }
};

TEST_F(TrackingTest, CrossingToATouchingControlSendsLeaveThenEnter)
{
    PointerAt(49, 5);
    EXPECT_EQ(PointerTracker().MouseControl(), a);
    PointerAt(50, 5);
    PointerAt(51, 5);  // same control: nothing
    c->SetEnabled(false);
    PointerAt(49, 5);  // back over A
    PointerAt(60, 5);  // disabled controls are tracked too
    PointerAt(150, 90); // the form's background
    platform.SetCursorPos(Point(-500, -500)); // off the window
    PointerTracker().Track();
    EXPECT_EQ(log, (TLog{"enter A", "leave A", "enter C", "leave C", "enter A", "leave A", "enter C", "leave C"}));
    EXPECT_EQ(PointerTracker().MouseControl(), nullptr);
}

TEST_F(TrackingTest, WhileAControlCapturesOnlyItHearsEnterAndLeave)
{
    PointerAt(10, 10);
    Press(10, 10);
    log.clear();
    PointerAt(60, 10);  // over C while A captures: A hears the leave, C hears nothing
    PointerAt(10, 10);  // back over A: A hears the enter
    PointerAt(60, 10);
    Release(60, 10);
    PointerAt(150, 90); // capture over: C is the old control and hears the leave
    EXPECT_EQ(log, (TLog{"leave A", "enter A", "leave A", "up A 60,10", "leave C"}));
}

TEST_F(TrackingTest, EnterAndLeaveReachTheParentWithTheControlAsSender)
{
    class TListeningForm : public TForm {
    public:
        using TForm::TForm;
        std::vector<std::pair<unsigned, LPARAM>> Heard;
        void Dispatch(TMessage& m) override
        {
            if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE)
                Heard.emplace_back(m.Msg, m.LParam);
            TForm::Dispatch(m);
        }
    } parent(nullptr);
    auto* child = new TProbe(&parent, log, "P", Rect(0, 0, 10, 10), clRed);
    child->Perform(CM_MOUSEENTER, 0, 0);
    child->Perform(CM_MOUSELEAVE, 0, 0);
    const auto sender = reinterpret_cast<LPARAM>(child);
    EXPECT_EQ(parent.Heard, (std::vector<std::pair<unsigned, LPARAM>>{{CM_MOUSEENTER, sender}, {CM_MOUSELEAVE, sender}}));
}

TEST_F(TrackingTest, HintShowsAfterHalfASecondOfRestAndHidesAfterTwoAndAHalf)
{
    a->SetHint("RGB(255,0,0)");
    a->SetShowHint(true);
    PointerAt(10, 10);
    platform.Advance(499);
    EXPECT_FALSE(PointerTracker().HintShowing());
    platform.Advance(1);
    EXPECT_TRUE(PointerTracker().HintShowing());
    EXPECT_EQ(PointerTracker().HintText(), "RGB(255,0,0)");
    platform.Advance(2499);
    EXPECT_TRUE(PointerTracker().HintShowing());
    platform.Advance(1);
    EXPECT_FALSE(PointerTracker().HintShowing());
    EXPECT_TRUE(platform.RunningTimers().empty());
}

// A hint reads as its control does: the form's right-to-left mode reaches A, C keeps its own.
TEST_F(TrackingTest, HintFollowsTheControlsReadingOrder)
{
    c->SetBiDiMode(bdLeftToRight);
    form.SetBiDiMode(bdRightToLeftReadingOnly);
    for (TProbe* p : {a, c}) {
        p->SetHint("(R, G, B)");
        p->SetShowHint(true);
    }
    PointerAt(10, 10);
    platform.Advance(500);
    ASSERT_TRUE(PointerTracker().HintShowing());
    EXPECT_TRUE(PointerTracker().HintRightToLeft());
    EXPECT_EQ(PointerTracker().HintText(), "(R, G, B)") << "the text itself is the control's";
    PointerAt(60, 10);
    platform.Advance(500);
    ASSERT_TRUE(PointerTracker().HintShowing());
    EXPECT_FALSE(PointerTracker().HintRightToLeft());
}

TEST_F(TrackingTest, HintNeedsShowHintAndTextAndRestartsOnAnotherControl)
{
    a->SetHint("a");
    a->SetShowHint(true);
    c->SetHint("c");  // ShowHint off (from the form)
    PointerAt(10, 10);
    platform.Advance(300);
    PointerAt(60, 10);  // C: no hint, A's is cancelled
    platform.Advance(1000);
    EXPECT_FALSE(PointerTracker().HintShowing());
    form.SetShowHint(true);  // C takes its parent's switch
    PointerAt(10, 10);
    PointerAt(60, 10);
    platform.Advance(500);
    EXPECT_EQ(PointerTracker().HintText(), "c");
    Press(60, 10);  // a press puts it away
    EXPECT_FALSE(PointerTracker().HintShowing());
    Release(60, 10);
}

TEST_F(TrackingTest, WindowTakesTheCursorOfTheControlUnderThePointer)
{
    c->SetCursor(crHandPoint);
    PointerAt(60, 10);
    EXPECT_EQ(form.WindowCursor(), crHandPoint);
    PointerAt(10, 10);
    EXPECT_EQ(form.WindowCursor(), crDefault);
    form.SetCursor(crCross);  // a control with crDefault shows its parent's
    PointerAt(11, 10);
    EXPECT_EQ(form.WindowCursor(), crCross);
    PointerAt(150, 90);
    EXPECT_EQ(form.WindowCursor(), crCross);
    PointerAt(60, 10);
    EXPECT_EQ(form.WindowCursor(), crHandPoint);
}

TEST_F(RoutingTest, RightClickOpensTheNearestPopupMenuAtThePointer)
{
    auto* formMenu = new TPopupMenu(&form);
    auto* ownMenu = new TPopupMenu(&form);
    form.SetPopupMenu(formMenu);
    c->SetPopupMenu(ownMenu);
    std::vector<std::pair<TPopupMenu*, TPoint>> opened;
    TPopupRunner previous = SetPopupRunner([&](TPopupMenu* m, int x, int y) -> TMenuItem* {
        opened.emplace_back(m, Point(x, y));
        return nullptr;
    });
    auto rightClick = [this](int x, int y) {
        form.MouseInput(miDown, mbRight, x, y, ssRight);
        form.MouseInput(miUp, mbRight, x, y, 0);
    };
    rightClick(60, 10);   // C has its own
    rightClick(10, 10);   // A: its parent's, the form's
    rightClick(150, 90);  // the background
    ownMenu->SetAutoPopup(false);
    rightClick(60, 11);
    SetPopupRunner(previous);
    const TPoint o = form.ClientOrigin();
    ASSERT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[0], std::make_pair(ownMenu, Point(o.X + 60, o.Y + 10)));
    EXPECT_EQ(opened[1], std::make_pair(formMenu, Point(o.X + 10, o.Y + 10)));
    EXPECT_EQ(opened[2], std::make_pair(formMenu, Point(o.X + 150, o.Y + 90)));
    EXPECT_EQ(opened[3].first, formMenu);
    EXPECT_EQ(formMenu->PopupComponent(), &form);
}

TEST_F(RoutingTest, TypedCharacterGoesToTheControlsUntilOneTakesIt)
{
    class TAccel : public TGraphicControl {
    public:
        TAccel(TForm* f, TLog& log, const std::string& caption) : TGraphicControl(f), FLog(log)
        {
            SetCaption(caption);
            SetParent(f);
        }
        void Dispatch(TMessage& m) override
        {
            if (m.Msg == CM_DIALOGCHAR) {
                FLog.push_back("char " + Caption());
                if (IsAccel(static_cast<unsigned>(m.WParam), Caption()))
                    m.Result = 1;
                return;
            }
            TGraphicControl::Dispatch(m);
        }
        TLog& FLog;
    };
    new TAccel(&form, log, "&Save");
    new TAccel(&form, log, "E&xit");
    new TAccel(&form, log, "&Exit");
    form.KeyChar('x');
    EXPECT_EQ(log, (TLog{"char &Save", "char E&xit"}));
    log.clear();
    form.KeyChar('e');
    EXPECT_EQ(log, (TLog{"char &Save", "char E&xit", "char &Exit"}));
}

TEST(IsAccelTest, MatchesTheMarkedCharacterWithoutRegardToCase)
{
    struct Case {
        unsigned ch;
        const char* caption;
        bool expected;
    };
    const Case cases[] = {
        {'s', "常に手前に表示(&S)", true}, {'S', "&save", true}, {'a', "s&ave", true},
        {'x', "Exit", false},           {'&', "A&&B", false}, {'b', "A&&&B", true},
        {'a', "&", false},              {'x', "", false},
    };
    for (const Case& k : cases)
        EXPECT_EQ(IsAccel(k.ch, k.caption), k.expected) << k.caption << " " << static_cast<char>(k.ch);
}

} // namespace
} // namespace hx::test
