// The application object: creating forms, the error report, closing.
#include <gtest/gtest.h>

#include "Probe.h"
#include "framework/runtime/Application.h"
#include "framework/core/Exception.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

TEST(ErrorBoxTextTest, FullStopIsAddedWhenTheLastByteComparesGreaterThanFullStop)
{
    struct Case {
        const char* message;
        const char* text;
    };
    const Case cases[] = {
        {"", ""},
        {"boom", "boom."},
        {"done.", "done."},
        {"space ", "space "},
        {"bang!", "bang!"},   // '!' is below '.'
        {"a-", "a-"},         // '-' is just below '.'
        {"a/", "a/."},        // '/' is just above
        {"7", "7."},
        {"/tmp/x.ini に書き込めません", "/tmp/x.ini に書き込めません."}, // a multibyte ending
    };
    for (const Case& k : cases)
        EXPECT_EQ(TApplication::ErrorBoxText(k.message), k.text) << k.message;
}

class ApplicationTest : public ::testing::Test {
protected:
    ApplicationTest()
    {
        Application->Initialize();
        Application->SetTitle("Hexatint91");
        form.SetBounds(0, 0, 100, 100);
    }

    void ClickA()
    {
        // What the window does with each event: the handler runs under the guard.
        Guarded([this] {
            form.MouseInput(miDown, mbLeft, 5, 5, ssLeft);
            form.MouseInput(miUp, mbLeft, 5, 5, 0);
        });
    }

    TPlatformScope platform;
    TLog log;
    TForm form{nullptr};
    TProbe* a = new TProbe(&form, log, "A", Rect(0, 0, 50, 50), clRed);
};

TEST_F(ApplicationTest, ErrorInAHandlerShowsTheBoxAndTheProgramGoesOn)
{
    struct Case {
        const char* what;
        std::function<void()> raise;
        std::vector<TRecordingPlatform::TErrorBox> boxes;
    };
    const Case cases[] = {
        {"framework error", [] { throw EClipboardException("クリップボードを開くことができません"); },
         {{"Hexatint91", "クリップボードを開くことができません."}}},
        {"ends in a full stop", [] { throw Exception("Stop."); }, {{"Hexatint91", "Stop."}}},
        {"abort", [] { throw EAbort(); }, {}},
        {"not ours", [] { throw 42; }, {{"Hexatint91", ""}}},
        {"standard error", [] { throw std::runtime_error("x"); }, {{"Hexatint91", ""}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        platform.ClearRecords();
        log.clear();
        a->OnClick = TNotifyEvent([&k](TObject*) { k.raise(); });
        ClickA();
        EXPECT_EQ(platform.ErrorBoxes(), k.boxes);
        // The rest of the failed handling is skipped; the next event is handled as usual.
        EXPECT_EQ(log, (TLog{"down A 5,5", "click A"}));
        a->OnClick.Clear();
        ClickA();
        EXPECT_EQ(platform.ErrorBoxes().size(), k.boxes.size());
    }
}

TEST_F(ApplicationTest, ErrorInOnCloseKeepsTheFormOpen)
{
    form.Show();
    int attempts = 0;
    form.OnClose = TCloseEvent([&](TObject*, TCloseAction&) {
        ++attempts;
        throw EIniFileException("/opt/Hexatint91.ini に書き込めません");
    });
    Guarded([this] { form.Close(); });
    Guarded([this] { form.Close(); });
    EXPECT_EQ(attempts, 2);
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(platform.ErrorBoxes().size(), 2u);
    EXPECT_EQ(platform.ErrorBoxes()[0].Text, "/opt/Hexatint91.ini に書き込めません.");

    // Without an error the close goes on: an ordinary form hides; caNone keeps it.
    form.OnClose = TCloseEvent([](TObject*, TCloseAction& action) { action = caNone; });
    form.Close();
    EXPECT_TRUE(form.Visible());
    form.OnClose.Clear();
    form.Close();
    EXPECT_FALSE(form.Visible());
}

// A form that builds its controls in its constructor, as a form read from its description.
class TTestForm : public TForm {
public:
    explicit TTestForm(TComponent* owner) : TForm(owner)
    {
        Button = new TProbe(this, FLog, "Button", Rect(0, 0, 10, 10), clRed);
        OnCreate = TNotifyEvent(this, &TTestForm::FormCreate);
    }
    void FormCreate(TObject*) { ControlsAtCreate = ControlCount(); }

    TProbe* Button;
    int ControlsAtCreate = -1;

private:
    TLog FLog;
};

TEST_F(ApplicationTest, CreateFormMakesTheFirstFormTheMainFormAndRunsOnCreateAfterConstruction)
{
    TTestForm* first = nullptr;
    TTestForm* second = nullptr;
    Application->CreateForm(first);
    Application->CreateForm(second);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Application->MainForm(), first);
    EXPECT_EQ(first->ControlsAtCreate, 1);
    EXPECT_EQ(first->Owner(), Application);

    // Closing another form hides it; closing the main form ends the application.
    second->Show();
    second->Close();
    EXPECT_FALSE(Application->Terminated());
    first->Show();
    first->Close();
    EXPECT_TRUE(Application->Terminated());
    Application->Run(); // terminated already: shows the main form, frees the forms, returns
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(Application->ComponentCount(), 0);
}

TEST_F(ApplicationTest, ErrorInOnCreateIsReportedAndTheFormStays)
{
    struct TFailing : TForm {
        explicit TFailing(TComponent* owner) : TForm(owner)
        {
            OnCreate = TNotifyEvent([](TObject*) { throw Exception("bad setting"); });
        }
    };
    TFailing* f = nullptr;
    Application->CreateForm(f);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(platform.ErrorBoxes(), (std::vector<TRecordingPlatform::TErrorBox>{{"Hexatint91", "bad setting."}}));
    delete f;
}

} // namespace
} // namespace hx::test
