#include "framework/core/TypInfo.h"

#include <algorithm>
#include <map>
#include <strings.h>

namespace hx {

namespace {

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return strcasecmp(a.c_str(), b.c_str()) < 0; }
};

// Declared classes live for the whole process: builders and parents hold pointers to them.
std::map<std::string, std::unique_ptr<TClassInfo>, CaseLess>& Classes()
{
    static std::map<std::string, std::unique_ptr<TClassInfo>, CaseLess> classes;
    return classes;
}

std::vector<const TEnumInfo*>& KnownEnums()
{
    static std::vector<const TEnumInfo*> enums;
    return enums;
}

// Names that differ in length never match (case folding keeps the length), which spares the
// reader a folded comparison against nearly every other property of a class.
bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

} // namespace

bool TIdentMap::ToIdent(std::int64_t value, std::string& name) const
{
    for (const Entry& e : FEntries)
        if (e.Value == value) {
            name = e.Name;
            return true;
        }
    return false;
}

bool TIdentMap::FromIdent(const std::string& name, std::int64_t& value) const
{
    for (const Entry& e : FEntries)
        if (SameName(e.Name, name)) {
            value = e.Value;
            return true;
        }
    return false;
}

const TIdentMap& ColorIdents()
{
    static const TIdentMap map{
        {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
        {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
        {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
        {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
        {clNone, "clNone"}, {clDefault, "clDefault"},
        {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
        {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
        {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
        {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
        {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
        {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
        {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
        {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
        {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
        {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
        {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
        {clGradientActiveCaption, "clGradientActiveCaption"},
        {clGradientInactiveCaption, "clGradientInactiveCaption"},
        {clMenuHighlight, "clMenuHighlight"}, {clMenuBar, "clMenuBar"},
    };
    return map;
}

const TIdentMap& CursorIdents()
{
    static const TIdentMap map{
        {0, "crDefault"}, {-1, "crNone"}, {-2, "crArrow"}, {-3, "crCross"}, {-4, "crIBeam"},
        {-22, "crSizeAll"}, {-6, "crSizeNESW"}, {-7, "crSizeNS"}, {-8, "crSizeNWSE"},
        {-9, "crSizeWE"}, {-10, "crUpArrow"}, {-11, "crHourGlass"}, {-12, "crDrag"},
        {-13, "crNoDrop"}, {-14, "crHSplit"}, {-15, "crVSplit"}, {-16, "crMultiDrag"},
        {-17, "crSQLWait"}, {-18, "crNo"}, {-19, "crAppStart"}, {-20, "crHelp"},
        {-21, "crHandPoint"}, {-22, "crSize"},
    };
    return map;
}

const TIdentMap& CharsetIdents()
{
    static const TIdentMap map{
        {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"},
        {77, "MAC_CHARSET"}, {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
        {130, "JOHAB_CHARSET"}, {134, "GB2312_CHARSET"}, {136, "CHINESEBIG5_CHARSET"},
        {161, "GREEK_CHARSET"}, {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"},
        {177, "HEBREW_CHARSET"}, {178, "ARABIC_CHARSET"}, {186, "BALTIC_CHARSET"},
        {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"}, {238, "EASTEUROPE_CHARSET"},
        {255, "OEM_CHARSET"},
    };
    return map;
}

int TEnumInfo::IndexOf(const std::string& name) const
{
    for (size_t i = 0; i < Values.size(); ++i)
        if (SameName(Values[i], name))
            return static_cast<int>(i);
    return -1;
}

const TEnumInfo* FindEnumOfValue(const std::string& valueName)
{
    for (const TEnumInfo* e : KnownEnums())
        if (e->IndexOf(valueName) >= 0)
            return e;
    return nullptr;
}

TClassInfo& TClassInfo::Declare(const std::string& name, const TClassInfo* parent)
{
    auto& slot = Classes()[name];
    if (!slot)
        slot = std::make_unique<TClassInfo>();
    // Declaring again rebuilds the same object, so pointers to it stay valid.
    TClassInfo& info = *slot;
    info.FName = name;
    info.FParent = parent;
    info.FProps.clear();
    info.FMethods.clear();
    info.FSetParent = nullptr;
    info.FGetParent = nullptr;
    return info;
}

const TClassInfo* TClassInfo::Find(const std::string& name)
{
    auto it = Classes().find(name);
    return it == Classes().end() ? nullptr : it->second.get();
}

bool TClassInfo::InheritsFrom(const TClassInfo* other) const
{
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (c == other)
            return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(const std::string& name) const
{
    for (const TPropInfo& p : FProps)
        if (SameName(p.Name, name))
            return &p;
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const std::string& name) const
{
    for (const TClassInfo* c = this; c; c = c->FParent)
        for (const TMethodInfo& m : c->FMethods)
            if (SameName(m.Name, name))
                return &m;
    return nullptr;
}

const TSetParentFn* TClassInfo::SetParentHook() const
{
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (c->FSetParent)
            return &c->FSetParent;
    return nullptr;
}

const TGetParentFn* TClassInfo::GetParentHook() const
{
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (c->FGetParent)
            return &c->FGetParent;
    return nullptr;
}

void TClassInfo::AddProperty(TPropInfo prop)
{
    if (FindProperty(prop.Name))
        throw EPropertyError("Property " + prop.Name + " is published twice by " + FName);
    if (prop.Enum && std::find(KnownEnums().begin(), KnownEnums().end(), prop.Enum) == KnownEnums().end())
        KnownEnums().push_back(prop.Enum);
    FProps.push_back(std::move(prop));
}

void TClassInfo::SetParentHooks(TSetParentFn set, TGetParentFn get)
{
    FSetParent = std::move(set);
    FGetParent = std::move(get);
}

void TClassInfo::SetLastStored(bool stored)
{
    if (!FProps.empty())
        FProps.back().Stored = stored;
}

void TClassInfo::SetLastStoredWhen(std::function<bool(TObject*)> pred)
{
    if (!FProps.empty())
        FProps.back().IsStored = std::move(pred);
}

void InheritProperty(TClassInfo& info, const std::string& name)
{
    for (const TClassInfo* c = info.Parent(); c; c = c->Parent())
        if (const TPropInfo* p = c->FindProperty(name)) {
            info.AddProperty(*p);
            return;
        }
    throw EPropertyError("Class " + info.Name() + " has no inherited property " + name);
}

void InheritAllProperties(TClassInfo& info)
{
    if (info.Parent())
        for (const TPropInfo& p : info.Parent()->Properties())
            info.AddProperty(p);
}

const TClassInfo* ClassInfoOf(const TObject* object)
{
    return object ? TClassInfo::Find(object->ClassName()) : nullptr;
}

} // namespace hx
