#pragma once
// The class registry: a class must be registered to be created from a form description.
// RegisterComponents also lists classes on a named palette page, which only the design
// tools look at.
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/TypInfo.h"

namespace hx {

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

struct TRegisteredClass {
    const TClassInfo* Info = nullptr;
    TComponentFactory Create;
};

// Registers (or registers again) the class described by info. A null info or factory
// raises EClassNotFound.
void RegisterClass(const TClassInfo* info, TComponentFactory factory);

template <class T>
void RegisterClass(const TClassInfo* info)
{
    RegisterClass(info, [](TComponent* owner) -> TComponent* { return new T(owner); });
}

// The registered class of that name (case-insensitive), or null.
const TRegisteredClass* FindClass(const std::string& name);
// As FindClass, but a missing class raises EClassNotFound ("Class TFoo not found").
const TRegisteredClass& GetClass(const std::string& name);

// Lists already registered classes on a palette page (created on first use), in the
// order given; a class not registered raises EClassNotFound.
void RegisterComponents(const std::string& page, const std::vector<std::string>& classNames);
// Registers the classes and lists them on the page:
//   RegisterComponents("Hexatint", {ComponentClass<TShineSpeedButton>(info)});
void RegisterComponents(const std::string& page, std::initializer_list<TRegisteredClass> classes);

template <class T>
TRegisteredClass ComponentClass(const TClassInfo* info)
{
    return TRegisteredClass{info, [](TComponent* owner) -> TComponent* { return new T(owner); }};
}

struct TPalettePage {
    std::string Name;
    std::vector<std::string> Classes;
};
const std::vector<TPalettePage>& PalettePages();

} // namespace hx
