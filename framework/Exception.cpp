#include "framework/Exception.h"

namespace hx {

void RaiseAssignError(const char* sourceClass, const char* destClass)
{
    const std::string source = sourceClass ? std::string("a ") + sourceClass : std::string("nil");
    throw EConvertError("Cannot assign " + source + " to a " + destClass);
}

} // namespace hx
