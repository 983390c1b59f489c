#pragma once
// Events are bound methods: an object and one of its members (or any callable).
// "Assigned" is testable. An event bound from a form description also remembers the
// handler's name, so that a writer can put the same name back.
#include <functional>
#include <string>
#include <utility>

#include "framework/core/Object.h"

namespace hx {

template <class... Args>
class TEvent {
public:
    TEvent() = default;

    template <class C>
    TEvent(C* object, void (C::*method)(Args...), std::string name = {})
        : FData(object), FName(std::move(name)),
          FCall([object, method](Args... args) { (object->*method)(std::forward<Args>(args)...); })
    {
    }

    template <class F>
    explicit TEvent(F&& callable, TObject* data = nullptr, std::string name = {})
        : FData(data), FName(std::move(name)), FCall(std::forward<F>(callable))
    {
    }

    bool Assigned() const { return static_cast<bool>(FCall); }
    explicit operator bool() const { return Assigned(); }
    void operator()(Args... args) const { FCall(std::forward<Args>(args)...); }
    void Clear() { *this = TEvent(); }

    TObject* Data() const { return FData; }          // the object the handler belongs to
    const std::string& Name() const { return FName; } // the handler's name, when bound by name

private:
    TObject* FData = nullptr;
    std::string FName;
    std::function<void(Args...)> FCall;
};

// Shift state: the modifier keys and mouse buttons held during an input event.
using TShiftState = unsigned;
enum : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};

enum TMouseButton : unsigned char { mbLeft, mbRight, mbMiddle };

enum TCloseAction : unsigned char { caNone, caHide, caFree, caMinimize };

using TNotifyEvent = TEvent<TObject*>;
using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TCloseEvent = TEvent<TObject*, TCloseAction&>;

} // namespace hx
