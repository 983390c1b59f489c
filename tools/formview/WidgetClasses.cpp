// Each widget unit adds its registration call here, so that formview can build forms that
// use it; the widgets library is linked in by tools/formview/CMakeLists.txt.
#include "tools/formview/WidgetClasses.h"

#include "widgets/glowfadebutton/Glowfadebutton.h"
#include "widgets/gradbox/Gradbox.h"
#include "widgets/shinespdbtn/Shinespdbtn.h"

namespace hx {

void RegisterWidgetClasses()
{
    RegisterGradbox();
    RegisterGlowfadebutton();
    RegisterShinespdbtn();
}

} // namespace hx
