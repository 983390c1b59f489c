#pragma once
// The framework's error family. Every error the framework or the product raises derives
// from Exception; the application's guard around each message reports them (an EAbort
// silently). Messages are UTF-8 text.
#include <exception>
#include <stdexcept>
#include <string>

namespace hx {

class Exception : public std::exception {
public:
    explicit Exception(std::string message = {}) : FMessage(std::move(message)) {}
    const std::string& Message() const { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

#define HX_DECLARE_EXCEPTION(Name, Base)                                                        \
    class Name : public Base {                                                                  \
    public:                                                                                     \
        using Base::Base;                                                                       \
    };

// The silent error: ends a handler without any report.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};
HX_DECLARE_EXCEPTION(EInvalidOperation, Exception)   // e.g. drawing on a control without a parent window
HX_DECLARE_EXCEPTION(EOutOfResources, Exception)     // a timer or another platform resource could not be had
HX_DECLARE_EXCEPTION(EIniFileException, Exception)   // a settings file could not be written
HX_DECLARE_EXCEPTION(EClipboardException, Exception) // the clipboard could not be opened
HX_DECLARE_EXCEPTION(EConvertError, Exception)       // "Cannot assign a X to a Y"
HX_DECLARE_EXCEPTION(EInvalidGraphic, Exception)     // an image file that cannot be read
HX_DECLARE_EXCEPTION(EPropertyError, Exception)      // unknown or ill-typed published property
HX_DECLARE_EXCEPTION(EClassNotFound, Exception)      // a class a form description names is not registered
HX_DECLARE_EXCEPTION(EComponentError, Exception)     // duplicate or invalid component name

// Raised by CopyValuesFrom/CopyValuesTo when the two objects cannot be copied between.
// The message follows the framework's wording: "Cannot assign a <Source> to a <Dest>"
// (or "Cannot assign nil to a <Dest>" for a null source).
[[noreturn]] void RaiseAssignError(const char* sourceClass, const char* destClass);

// The guard around every call the framework makes from a Qt event (input, paint, timer,
// menu): an exception escaping fn goes to the installed handler and never unwinds into Qt.
// The application installs its HandleException; until then errors are dropped.
using TExceptionHandler = void (*)(std::exception_ptr error);
TExceptionHandler SetExceptionHandler(TExceptionHandler handler);
void HandleGuardedException(std::exception_ptr error) noexcept;

template <class F>
void Guarded(F&& fn) noexcept
{
    try {
        fn();
    } catch (...) {
        HandleGuardedException(std::current_exception());
    }
}

} // namespace hx
