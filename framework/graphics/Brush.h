#pragma once
// TBrush: how areas are filled.
#include "framework/core/Color.h"
#include "framework/core/Events.h"
#include "framework/core/Object.h"

namespace hx {

enum TBrushStyle : unsigned char { bsSolid, bsClear };

class TBrush : public TPersistent {
public:
    const char* ClassName() const override { return "TBrush"; }

    TColor Color() const { return FColor; }
    // Setting a colour also makes a clear brush solid.
    void SetColor(TColor value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);

    TNotifyEvent OnChange; // once per real change

    void CopyValuesTo(TPersistent* dest) override;
    void CopyValuesFrom(TPersistent* source) override;

private:
    void Changed();

    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

} // namespace hx
