#pragma once
// A windowless control for the runtime tests: it fills itself with its Color and records
// what the framework does to it (paints, mouse methods, clicks, notifications) in a log
// shared by every probe of a test.
#include <string>
#include <vector>

#include "framework/runtime/GraphicControl.h"
#include "framework/runtime/Form.h"

namespace hx::test {

using TLog = std::vector<std::string>;

class TProbe : public TGraphicControl {
public:
    TProbe(TForm* form, TLog& log, const std::string& name, TRect bounds, TColor color)
        : TGraphicControl(form), FLog(log)
    {
        SetName(name);
        SetBoundsRect(bounds);
        SetColor(color);
        SetParent(form);
    }

    int PaintCount = 0;

    void Paint() override
    {
        ++PaintCount;
        FLog.push_back("paint " + Name());
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
    void Click() override
    {
        FLog.push_back("click " + Name());
        TGraphicControl::Click();
    }
    void DblClick() override
    {
        FLog.push_back("dblclick " + Name());
        TGraphicControl::DblClick();
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        FLog.push_back("down " + Name() + Where(x, y) + ((s & ssDouble) ? " double" : ""));
        TGraphicControl::MouseDown(b, s, x, y);
    }
    void MouseMove(TShiftState s, int x, int y) override
    {
        FLog.push_back("move " + Name() + Where(x, y));
        TGraphicControl::MouseMove(s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        FLog.push_back("up " + Name() + Where(x, y));
        TGraphicControl::MouseUp(b, s, x, y);
    }
    void Dispatch(TMessage& message) override
    {
        const auto& m = message;
        if (m.Msg == CM_MOUSEENTER)
            FLog.push_back("enter " + Name());
        else if (m.Msg == CM_MOUSELEAVE)
            FLog.push_back("leave " + Name());
        TGraphicControl::Dispatch(message);
    }

protected:
    TLog& Log() { return FLog; }

private:
    // Appended piece by piece: GCC 12 misjudges `"literal" + std::string&&` as an overlapping
    // copy (-Wrestrict) in optimised builds.
    static std::string Where(int x, int y)
    {
        std::string where = " ";
        where += std::to_string(x);
        where += ',';
        where += std::to_string(y);
        return where;
    }
    TLog& FLog;
};

} // namespace hx::test
