#include "framework/runtime/Application.h"

#include <QApplication>
#include <QEventLoop>

#include "framework/runtime/Actions.h"
#include "framework/runtime/FirstFrameReport.h"
#include "framework/graphics/FontSubstitution.h"
#include "framework/runtime/Form.h"
#include "framework/graphics/GuiSession.h"
#include "framework/core/Platform.h"
#include "framework/core/StartupMarks.h"
#include "framework/services/QtPlatform.h"
#include "framework/services/Translator.h"

namespace hx {

namespace {

void ReportGuardedError(std::exception_ptr error)
{
    Application->HandleException(error);
}

QEventLoop* gLoop = nullptr;

} // namespace

// Made once and never destroyed: forms go in Shutdown, before main returns. When the
// platform ends the process with exit() from inside its event processing (a lost display),
// static destruction must find nothing of ours that still reaches into Qt.
TApplication* Application = new TApplication(nullptr);

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication()
{
    DestroyComponents();
}

void TApplication::Initialize()
{
    EnsureGuiSession();
    // Only closing the main form ends the run, never the toolkit's own idea of the last window.
    QApplication::setQuitOnLastWindowClosed(false);
    // A platform a test (or the program) installed first stays.
    TPlatform* installed = SetPlatform(nullptr);
    SetPlatform(installed ? installed : &QtPlatform());
    RegisterFontSubstitutions();
    SetExceptionHandler(ReportGuardedError);
    InstallFirstFrameReport();
    // The toolkit's own texts (standard dialog buttons) speak the program's language.
    InstallToolkitTranslations();
    MarkStartup("initialized");
}

void TApplication::FormCreated(TForm* form)
{
    if (!FMainForm)
        FMainForm = form;
}

void TApplication::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FMainForm)
        FMainForm = nullptr;
}

void TApplication::Run()
{
    MarkStartup("run");
    if (FMainForm)
        FMainForm->Show();
    if (!FTerminated) {
        QEventLoop loop;
        QEventLoop* outer = gLoop;
        gLoop = &loop;
        loop.exec();
        gLoop = outer;
    }
    // The run is over: the forms go now, while the platform and the toolkit they use are
    // whole (at static destruction they might not be).
    DestroyComponents();
}

void TApplication::Shutdown()
{
    DestroyComponents();
    FMainForm = nullptr;
    EndGuiSession();
}

void TApplication::Terminate()
{
    FTerminated = true;
    if (gLoop)
        gLoop->quit();
}

void TApplication::ProcessMessages()
{
    QApplication::sendPostedEvents();
    QApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::Idle()
{
    UpdateActions();
}

void TApplication::HandleException(std::exception_ptr error)
{
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        // the silent error
    } catch (const Exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception());
    }
}

std::string TApplication::ErrorBoxText(const std::string& message)
{
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

void TApplication::ShowException(const Exception& error)
{
    Platform().ShowErrorBox(FTitle, ErrorBoxText(error.Message()));
}

} // namespace hx
