#include "framework/core/Platform.h"

#include <iterator>

namespace hx {

TPlatform::~TPlatform() = default;

TColor ClassicSysColor(int index)
{
    // The classic desktop scheme: grey button faces, navy highlight, pale yellow tooltips.
    static constexpr TColor kClassic[] = {
        RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
        RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
        RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
        RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
        RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
        RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
        RGB(255, 255, 225), RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240),
        RGB(192, 192, 192), RGB(10, 36, 106),   RGB(212, 208, 200),
    };
    if (index < 0 || index >= static_cast<int>(std::size(kClassic)))
        return 0;
    return kClassic[index];
}

namespace {

// Answers when no platform is installed: silent, fixed colours, no timers.
class TStandInPlatform final : public TPlatform {
public:
    void MessageBeep(unsigned) override {}
    void ShellOpen(const std::string&) override {}
    std::string ModuleFileName() override { return {}; }
    TPoint GetCursorPos() override { return {}; }
    std::int16_t GetKeyState(int) override { return 0; }
    bool GetCapture() override { return false; }
    TColor GetSysColor(int index) override { return ClassicSysColor(index); }
    void SetClipboardText(const std::string&) override {}
    void ShowErrorBox(const std::string&, const std::string&) override {}
    int StartTimer(int, std::function<void()>) override { return 0; }
    void StopTimer(int) override {}
};

TStandInPlatform gStandIn;
TPlatform* gPlatform = nullptr;

} // namespace

namespace {
bool gCaptureHeld = false;
}

void SetCaptureHeld(bool held)
{
    gCaptureHeld = held;
}

bool CaptureHeld()
{
    return gCaptureHeld;
}

TPlatform& Platform()
{
    return gPlatform ? *gPlatform : gStandIn;
}

TPlatform* SetPlatform(TPlatform* p)
{
    TPlatform* previous = gPlatform;
    gPlatform = p;
    return previous;
}

} // namespace hx
