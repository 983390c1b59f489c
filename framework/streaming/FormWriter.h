#pragma once
// The form-description writer: the reader's format, back. Each property is written unless
// it equals its declared default (one without a default always is); sub-objects as dotted
// names, only where they differ; component references and handlers by name; child
// components nested under their parent in creation order, two spaces a level.
#include <string>

#include "framework/core/Component.h"

namespace hx {

// The description of root and everything it owns. rootClassName replaces the root's own
// class name in the first line when given (a stand-in root shows what it stood in for).
std::string WriteComponent(TComponent* root, const std::string& rootClassName = {});

// One value as the writer spells it: 'it''s', #13, $00FF8000.
std::string QuoteString(const std::string& text);

} // namespace hx
