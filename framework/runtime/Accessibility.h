#pragma once
// Forms are visible to assistive technology through the toolkit's accessibility objects:
// the window, each windowless control (from its TControl::AccessibleInfo) and the form's
// context menu with its items. A control or item that can be pressed offers the toolkit's
// press action, which does what a click does.
//
// The query side below reads the same objects a screen reader reads, without the toolkit's
// types, for tests and diagnostics.
#include <string>
#include <vector>

#include "framework/core/Types.h"

namespace hx {

class TForm;

struct TAccessibleNode {
    std::string Role; // "Window", "PushButton", "Pane", "StaticText", "Graphic", "PopupMenu",
                      // "MenuItem", "Separator"
    std::string Name;
    std::string Description;
    std::vector<std::string> Actions; // the toolkit's action names ("Press", "ShowMenu", …)
    TRect ScreenRect;
    bool Invisible = false;
    bool Disabled = false;
    bool Checkable = false;
    bool Checked = false;
    std::vector<TAccessibleNode> Children;
};

// The accessibility tree of form's window as the toolkit reports it.
TAccessibleNode AccessibleTree(const TForm* form);
// Runs the action named action of the object reached from the window by path (child
// indexes, one per level). False when there is no such object or it offers no such action.
bool DoAccessibleAction(const TForm* form, const std::vector<int>& path, const std::string& action);

// Framework-private: makes form's window accessible (the toolkit's factory is installed
// once per process) and drops the form's objects when the form goes.
void InstallFormAccessibility(const TForm* form);
void ReleaseFormAccessibility(const TForm* form);

} // namespace hx
