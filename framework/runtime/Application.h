#pragma once
// TApplication: the process's application object. It makes the GUI session, creates the
// forms (the first one is the main form; closing it ends the run), runs the message loop
// and reports the errors that escape handlers.
#include <exception>
#include <string>

#include "framework/core/Component.h"
#include "framework/core/Exception.h"

namespace hx {

class TForm;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;
    const char* ClassName() const override { return "TApplication"; }

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value) { FTitle = value; }

    // Makes the GUI session, installs the Qt platform unless a platform is installed
    // already, registers the font substitutions and routes guarded errors to
    // HandleException.
    void Initialize();

    // Creates a form owned by the application: ref is set once it is built, the first form
    // becomes the main form, then its OnCreate runs.
    template <class T>
    void CreateForm(T*& ref)
    {
        ref = nullptr;
        T* form = new T(this);
        ref = form;
        FormCreated(form);
        form->AfterConstruction();
    }

    TForm* MainForm() const { return FMainForm; }
    // Shows the main form and dispatches messages until Terminate; then frees the forms.
    void Run();
    void Terminate();
    // The end of the process's GUI: frees any forms still there, then ends the GUI session,
    // which is when the toolkit hands a clipboard the process owns to the desktop's
    // clipboard manager. The entry function calls it on every path before it returns.
    void Shutdown();
    bool Terminated() const { return FTerminated; }
    // Handles the messages waiting now (input, paint passes, timers) and returns.
    void ProcessMessages();
    // The idle step, once the application has handled a batch of input (the form window
    // posts it; tests call it): every action list runs its actions' OnUpdate. Nothing
    // calls it while no input arrives, so an idle application runs no code.
    void Idle();

    // The default error report: EAbort is dropped silently, any other error is shown.
    void HandleException(std::exception_ptr error);
    // Shows the error box: captioned with Title; the message, with "." appended when it is
    // not empty and its last byte compares greater than ".".
    void ShowException(const Exception& error);
    static std::string ErrorBoxText(const std::string& message);

    void Notification(TComponent* component, TOperation operation) override;

private:
    void FormCreated(TForm* form);

    std::string FTitle;
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
};

// The application object of the process.
extern TApplication* Application;

} // namespace hx
