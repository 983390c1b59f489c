#include "framework/core/Object.h"

#include "framework/core/Exception.h"

namespace hx {

void TPersistent::CopyValuesTo(TPersistent* dest)
{
    RaiseAssignError(ClassName(), dest ? dest->ClassName() : "nil");
}

void TPersistent::CopyValuesFrom(TPersistent* source)
{
    if (!source)
        RaiseAssignError(nullptr, ClassName());
    source->CopyValuesTo(this);
}

} // namespace hx
