#pragma once
// The hook through which formview learns the widget classes a description may name.
namespace hx {

// Declares and registers every widget class (after the framework's own classes).
void RegisterWidgetClasses();

} // namespace hx
