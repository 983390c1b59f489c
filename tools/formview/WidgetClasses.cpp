// Each widget unit adds its registration call here, so that formview can build forms that
// use it; the widgets library is linked in by tools/formview/CMakeLists.txt once it exists.
#include "tools/formview/WidgetClasses.h"

namespace hx {

void RegisterWidgetClasses()
{
}

} // namespace hx
