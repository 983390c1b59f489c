#pragma once
// Framework-private (Qt): the face a TFont stands for, built on first use after a change.
#include <optional>

#include <QFont>
#include <QFontMetrics>

#include "framework/Font.h"

namespace hx {

struct TFontData {
    bool Valid = false;
    QFont Face;
    std::optional<QFontMetrics> Metrics;
};

// The Qt face and its metrics for font (cached in the font until its next change).
const QFont& QtFontOf(const TFont& font);
const QFontMetrics& QtMetricsOf(const TFont& font);

} // namespace hx
