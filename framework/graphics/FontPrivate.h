#pragma once
// Framework-private (Qt): the face a TFont stands for, built on first use after a change.
#include <string>
#include <unordered_map>

#include <QFont>
#include <QFontMetrics>
#include <QRect>

#include "framework/graphics/Font.h"
#include "framework/graphics/TextRun.h"

namespace hx {

// One built face, shared process-wide by every font with the same face attributes (name,
// height, charset, style): a paint that copies a control's font into a fresh bitmap's
// canvas finds the face built already, and measuring the same caption again is a lookup
// instead of a shaping run.
struct TTextMetrics {
    int Advance = 0;
    QRect Ink; // the glyphs' bounding box, relative to the origin on the baseline
};

struct TFontFace {
    explicit TFontFace(const QFont& face) : Face(face), Metrics(face) {}
    QFont Face;
    QFontMetrics Metrics;
    std::unordered_map<std::string, TTextMetrics> Texts; // bounded: see TextMetricsOf
    std::unordered_map<std::string, TTextRun> Runs;      // bounded: see TextRunOf
};

struct TFontData {
    TFontFace* Face = nullptr; // null until first use after a change; never freed
};

// The built face of font (built now if a change left none).
TFontFace& FaceOf(const TFont& font);
// The Qt face and its metrics for font.
const QFont& QtFontOf(const TFont& font);
const QFontMetrics& QtMetricsOf(const TFont& font);
// The advance and ink box of text in font, measured once per face and text.
const TTextMetrics& TextMetricsOf(const TFont& font, const std::string& text);

} // namespace hx
