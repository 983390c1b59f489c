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
// Ends a session EnsureGuiSession created: the toolkit's own leave-taking runs now (a
// clipboard the process owns is handed to the desktop's clipboard manager). Every window
// must be gone by then. Nothing happens when there is no session.
void EndGuiSession();

// Picks the platform through QT_QPA_PLATFORM before the session exists; false when there
// is plainly no display. A user's own choice is kept (and only checked for wayland):
//
//   | QT_QPA_PLATFORM      | WAYLAND_DISPLAY | DISPLAY | platform
//   |----------------------|-----------------|---------|-----------------------------------
//   | unset                | set             | set     | xcb, through Xwayland (1)
//   | unset                | answers         | unset   | wayland, if its plugin is there (2)
//   | unset                | unset           | set     | Qt's default (xcb)
//   | unset or xcb         | -               | unset   | none
//   | wayland              | answers / not   | any     | wayland / none
//   | anything else        | any             | any     | that one, judged by Qt
//
// (1) The Wayland plugin supports neither staying on top nor tool windows; X11 does.
// (2) Without Xwayland, a window without those beats none.
// An X server named by DISPLAY that does not answer is found by the session's own
// connection, and ends the program the same way.
bool ChooseDisplayPlatform();

} // namespace hx
