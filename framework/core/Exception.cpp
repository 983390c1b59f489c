#include "framework/core/Exception.h"

namespace hx {

void RaiseAssignError(const char* sourceClass, const char* destClass)
{
    const std::string source = sourceClass ? std::string("a ") + sourceClass : std::string("nil");
    throw EConvertError("Cannot assign " + source + " to a " + destClass);
}

namespace {
TExceptionHandler gHandler = nullptr;
}

TExceptionHandler SetExceptionHandler(TExceptionHandler handler)
{
    TExceptionHandler previous = gHandler;
    gHandler = handler;
    return previous;
}

void HandleGuardedException(std::exception_ptr error) noexcept
{
    if (!gHandler)
        return;
    try {
        gHandler(error);
    } catch (...) {
        // The handler itself failed (an error box that could not be shown): nothing is left
        // to report it to, and it must not reach Qt.
    }
}

} // namespace hx
