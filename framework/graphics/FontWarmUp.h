#pragma once
// The toolkit's font database, filled in the background. The first text the toolkit
// measures makes it read the font configuration and the description of every installed
// face (fontconfig's files and cache): the largest single part of the start. Begun as soon
// as the GUI session exists, that work runs on another core while the main form is read and
// built; the first text measured then waits only for what is left of it (the database
// guards itself with a lock, so whoever comes second waits for the first).
namespace hx {

// EnsureGuiSession calls it once the session is made; a second call does nothing.
void StartFontWarmUp();
// Waits until the background work is over; EndGuiSession calls it before ending the session,
// and every fork before the child is made.
void FinishFontWarmUp();

} // namespace hx
