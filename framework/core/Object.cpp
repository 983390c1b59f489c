#include "framework/Object.h"

#include "framework/Exception.h"

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
