#pragma once
// The desktop's font configuration, read on a thread of its own while the main form is
// read.
//
// The first text the program draws makes the toolkit fill its font database, and most of
// that is fontconfig reading its configuration files, which needs nothing of the toolkit or
// the display. Started once the toolkit's session is made, the reading overlaps reading the
// main form, and the font database later finds the configuration read. Only fontconfig runs
// on the thread, so it may still run when anything else asks for fonts (fontconfig's own
// start is safe from several threads) and when the process exits (it is joined first).
// While it runs, nothing may change the environment or the locale: fontconfig reads both.

namespace hx {

// Starts the reading once; nothing when the toolkit was built without fontconfig.
void StartFontConfigReading();
// Waits for it to end; at once when it never started or has ended.
void AwaitFontConfigReading();

} // namespace hx
