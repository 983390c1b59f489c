#pragma once
// The process-wide GUI session (Qt's application object). Created once, on first need,
// by TApplication::Initialize or by a test's main; every window, font and clipboard
// operation needs it.
namespace hx {

// The one line a program prints (on standard error, before exiting with status 1) when the
// session finds no display to open.
extern const char* const kNoDisplayMessage;

// Creates the session if there is none yet. argc/argv may be null. Before creating it, the
// windowing platform is chosen (ChooseDisplayPlatform); when there is no display, prints
// kNoDisplayMessage and ends the process with status 1 instead of letting the toolkit abort.
void EnsureGuiSession(int* argc = nullptr, char** argv = nullptr);
bool HasGuiSession();

// Picks the platform through QT_QPA_PLATFORM before the session exists; false when no
// display answers. A user's own choice is kept (and only checked for xcb and wayland):
//
//   | QT_QPA_PLATFORM      | WAYLAND_DISPLAY | X server answers | platform
//   |----------------------|-----------------|------------------|---------------------------
//   | unset                | set             | yes              | xcb, through Xwayland (1)
//   | unset                | set             | no               | wayland if it answers (2)
//   | unset                | unset           | yes / no         | xcb / none
//   | xcb                  | any             | yes / no         | xcb / none
//   | wayland              | answers / not   | any              | wayland / none
//   | anything else        | any             | any              | that one, judged by Qt
//
// (1) The Wayland plugin supports neither staying on top nor tool windows; X11 does.
// (2) Without Xwayland, a window without those beats none (when the plugin is installed).
bool ChooseDisplayPlatform();

} // namespace hx
