#include "framework/streaming/ClassRegistry.h"

#include <map>
#include <strings.h>

#include "framework/core/Exception.h"

namespace hx {

namespace {

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return strcasecmp(a.c_str(), b.c_str()) < 0; }
};

std::map<std::string, TRegisteredClass, CaseLess>& Registered()
{
    static std::map<std::string, TRegisteredClass, CaseLess> classes;
    return classes;
}

std::vector<TPalettePage>& Pages()
{
    static std::vector<TPalettePage> pages;
    return pages;
}

} // namespace

void RegisterClass(const TClassInfo* info, TComponentFactory factory)
{
    if (!info || !factory)
        throw EClassNotFound("A class needs type information and a factory to be registered");
    Registered()[info->Name()] = TRegisteredClass{info, std::move(factory)};
}

const TRegisteredClass* FindClass(const std::string& name)
{
    auto it = Registered().find(name);
    return it == Registered().end() ? nullptr : &it->second;
}

const TRegisteredClass& GetClass(const std::string& name)
{
    if (const TRegisteredClass* c = FindClass(name))
        return *c;
    throw EClassNotFound("Class " + name + " not found");
}

void RegisterComponents(const std::string& page, const std::vector<std::string>& classNames)
{
    for (const std::string& name : classNames)
        GetClass(name);
    TPalettePage* target = nullptr;
    for (TPalettePage& p : Pages())
        if (p.Name == page)
            target = &p;
    if (!target) {
        Pages().push_back(TPalettePage{page, {}});
        target = &Pages().back();
    }
    for (const std::string& name : classNames) {
        bool listed = false;
        for (const std::string& c : target->Classes)
            listed = listed || strcasecmp(c.c_str(), name.c_str()) == 0;
        if (!listed)
            target->Classes.push_back(GetClass(name).Info->Name());
    }
}

void RegisterComponents(const std::string& page, std::initializer_list<TRegisteredClass> classes)
{
    std::vector<std::string> names;
    for (const TRegisteredClass& c : classes) {
        RegisterClass(c.Info, c.Create);
        names.push_back(c.Info->Name());
    }
    RegisterComponents(page, names);
}

const std::vector<TPalettePage>& PalettePages()
{
    return Pages();
}

} // namespace hx
