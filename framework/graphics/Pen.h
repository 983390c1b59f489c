#pragma once
// TPen: how lines and outlines are drawn.
#include "framework/core/Color.h"
#include "framework/core/Events.h"
#include "framework/core/Object.h"

namespace hx {

enum TPenStyle : unsigned char { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// Raster modes: how the pen colour P combines with the pixel D already there.
enum TPenMode : unsigned char {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor,
};

class TPen : public TPersistent {
public:
    const char* ClassName() const override { return "TPen"; }

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    int Width() const { return FWidth; }
    void SetWidth(int value); // values below 1 count as 1
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode value);

    TNotifyEvent OnChange; // once per real change

    void CopyValuesTo(TPersistent* dest) override;
    void CopyValuesFrom(TPersistent* source) override;

private:
    void Changed();

    TColor FColor = clBlack;
    TPenStyle FStyle = psSolid;
    int FWidth = 1;
    TPenMode FMode = pmCopy;
};

} // namespace hx
