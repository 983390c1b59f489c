#include "framework/runtime/SizeConstraints.h"

#include <string>

#include "framework/core/Exception.h"

namespace hx {

int TSizeConstraints::Constrain(int value, int least, int most)
{
    if (most > 0 && value > most)
        value = most;
    if (least > 0 && value < least)
        value = least;
    return value;
}

void TSizeConstraints::SetLimits(int& own, int& other, int value, bool isMinimum)
{
    if (value < 0)
        throw EInvalidOperation("A size constraint cannot be negative (" + std::to_string(value) + ")");
    if (value == own)
        return;
    own = value;
    // 0 is no limit: it never crosses the other end.
    if (value > 0 && other > 0 && (isMinimum ? value > other : value < other))
        other = value;
    Changed();
}

void TSizeConstraints::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TSizeConstraints::CopyValuesTo(TPersistent* dest)
{
    auto* to = dynamic_cast<TSizeConstraints*>(dest);
    if (!to) {
        TPersistent::CopyValuesTo(dest);
        return;
    }
    to->FMinWidth = FMinWidth;
    to->FMinHeight = FMinHeight;
    to->FMaxWidth = FMaxWidth;
    to->FMaxHeight = FMaxHeight;
    to->Changed();
}

} // namespace hx
