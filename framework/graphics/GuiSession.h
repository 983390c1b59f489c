#pragma once
// The process-wide GUI session (Qt's application object). Created once, on first need,
// by TApplication::Initialize or by a test's main; every window, font and clipboard
// operation needs it.
namespace hx {

// Creates the session if there is none yet. argc/argv may be null.
void EnsureGuiSession(int* argc = nullptr, char** argv = nullptr);
bool HasGuiSession();
// Ends a session EnsureGuiSession created: the toolkit's own leave-taking runs now (a
// clipboard the process owns is handed to the desktop's clipboard manager). Every window
// must be gone by then. Nothing happens when there is no session.
void EndGuiSession();

} // namespace hx
