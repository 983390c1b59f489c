#pragma once
// TFont: the attributes of a text face as the canvas and the controls see them. The Qt face
// built from them lives in the implementation and is rebuilt only after a change.
#include <memory>
#include <string>

#include "framework/core/Color.h"
#include "framework/core/EnumNames.h"
#include "framework/core/Events.h"
#include "framework/core/Object.h"

namespace hx {

// Character sets a font may ask for.
enum : int {
    ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, SHIFTJIS_CHARSET = 128,
    HANGEUL_CHARSET = 129, GB2312_CHARSET = 134, CHINESEBIG5_CHARSET = 136, OEM_CHARSET = 255,
};
using TFontCharset = int;

// Font style: a set of these bit flags (named, in bit order, by the list).
using TFontStyles = unsigned;
#define HX_FONTSTYLE_VALUES(X) X(fsBold) X(fsItalic) X(fsUnderline) X(fsStrikeOut)
enum : unsigned {
    fsBold = 1u << 0,
    fsItalic = 1u << 1,
    fsUnderline = 1u << 2,
    fsStrikeOut = 1u << 3,
};
static_assert(FlagsFollowList({HX_FONTSTYLE_VALUES(HX_ENUM_VALUE)}));

struct TFontData; // the Qt face cache (implementation only)

class TFont : public TPersistent {
public:
    TFont();
    ~TFont() override;
    const char* ClassName() const override { return "TFont"; }

    const std::string& Name() const { return FName; }
    void SetName(const std::string& value);
    // Negative: the character height in pixels (the em); positive: the cell height.
    int Height() const { return FHeight; }
    void SetHeight(int value);
    // Points at 96 pixels per inch: Size = -Height * 72 / 96, rounded.
    int Size() const;
    void SetSize(int value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);

    // Raised once after each real change (a setter given the current value is silent).
    TNotifyEvent OnChange;

    // Copying between fonts takes every attribute and raises the destination's OnChange once.
    void CopyValuesTo(TPersistent* dest) override;
    void CopyValuesFrom(TPersistent* source) override;

    // Framework-private: the cached face (see FontPrivate.h).
    TFontData& Data() const { return *FData; }

private:
    // faceChanged: false when only the colour changed, which keeps the cached face.
    void Changed(bool faceChanged = true);

    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
    std::unique_ptr<TFontData> FData;
};

} // namespace hx
