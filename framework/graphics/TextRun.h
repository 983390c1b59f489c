#pragma once
// TTextRun: the pixels a line of text covers, rendered once per face and text and then kept,
// so that drawing the same caption again (every paint of a swatch, every fade tick) writes
// ink over known pixels instead of shaping and rasterising the text again.
//
// Text is drawn without antialiasing, so each pixel of it is either the ink or untouched:
// one run serves every colour and every position. A text whose rendering is not of that
// kind (a face that blends its edges all the same) is marked inexact and is drawn by the
// toolkit each time, so the pixels never differ from what the toolkit would draw.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/graphics/Canvas.h"

namespace hx {

// One row's stretch of ink, relative to the text's origin on the baseline.
struct TInkSpan {
    int X = 0, Y = 0, Length = 0;
};

struct TTextRun {
    bool Rendered = false;       // false until the text is drawn a second time
    bool Exact = false;          // false: draw through the toolkit
    std::vector<TInkSpan> Spans; // row by row, top to bottom, each row left to right
};

// The run of text in font's face, shared by every font of the same face (name, height,
// charset, style); the colour is not part of it. It is rendered when the text is asked for
// the second time: a text drawn only once (each caption of the first frame) costs no more
// than the toolkit's own drawing, and the first call returns a run that is not exact.
const TTextRun& TextRunOf(const TFont& font, const std::string& text);

// Writes ink over the run's pixels with its origin at (left, baseline), inside limit (image
// coordinates; limit lies within the target's image).
void DrawTextRun(const TTextRun& run, const TCanvasTarget& target, int left, int baseline, const TRect& limit,
                 std::uint32_t ink);

// Whether canvases draw text from kept runs (the default) or through the toolkit every
// time; tests compare the two.
void SetTextRunsKept(bool kept);
bool TextRunsKept();

} // namespace hx
