#pragma once
// Published-property type information: per streamable class an explicit, ordered list of
// properties (name, kind, accessors, declared default or none) that the form reader and
// writer walk. A class may re-publish inherited properties in an order of its own, so the
// list is never derived from the base class implicitly.
//
// A class's information is found through its virtual ClassName(): ClassInfoOf(object)
// looks the name up among the declared classes. A class that streams therefore overrides
// ClassName() and declares its table once, at registration time:
//
//   TClassInfo::Of<TGradBox>("TGradBox", "TGraphicControl")
//       .Int("CaptionLeft", &TGradBox::CaptionLeft, &TGradBox::SetCaptionLeft, 10)
//       .Color("TopColor", &TGradBox::TopColor, &TGradBox::SetTopColor, clGreen)
//       .Enum("GradStyle", GradStyleInfo, &TGradBox::GradStyle, &TGradBox::SetGradStyle, gsTopBottom)
//       .Bool("DrawOutLine", &TGradBox::DrawOutLine, &TGradBox::SetDrawOutLine) // no default
//       .Inherit("Align")
//       .Object("Font", &TGradBox::Font)
//       .Event<TNotifyEvent>("OnPaint", &TGradBox::OnPaint, &TGradBox::SetOnPaint);
//
// Getters and setters are anything std::invoke accepts: member functions, data members
// (getters only) or lambdas taking the object.
#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

#include "framework/core/Color.h"
#include "framework/core/Component.h"
#include "framework/core/Events.h"
#include "framework/core/Exception.h"

namespace hx {

enum class TTypeKind : unsigned char {
    Integer,     // a number; optionally with names for some values (charsets)
    Boolean,     // True / False
    Enumeration, // one value name of a TEnumInfo
    Set,         // [a, b]: bit i stands for value i of a TEnumInfo
    String,      // UTF-8 text
    Color,       // a TColor: its cl name when it has one, else $hex
    Cursor,      // a cursor number: its cr name when it has one
    Class,       // an owned sub-object, streamed as dotted names (Font.Height)
    Component,   // a reference to another component, resolved after the whole form is read
    Event,       // a handler, bound by name from the root form's method table
    Binary,      // bytes in braces (an image file for a bitmap)
};

// Names for some integer values (colours, cursors, charsets). Lookup by name ignores case.
class TIdentMap {
public:
    struct Entry {
        std::int64_t Value;
        const char* Name;
    };
    TIdentMap(std::initializer_list<Entry> entries) : FEntries(entries) {}
    bool ToIdent(std::int64_t value, std::string& name) const;
    bool FromIdent(const std::string& name, std::int64_t& value) const;

private:
    std::vector<Entry> FEntries;
};

const TIdentMap& ColorIdents();   // clBlack … clMenuBar, clNone, clDefault
const TIdentMap& CursorIdents();  // crDefault, crArrow, … crHandPoint
const TIdentMap& CharsetIdents(); // ANSI_CHARSET, DEFAULT_CHARSET, SHIFTJIS_CHARSET, …

// An enumeration type: its name and its value names, value i being Values[i].
struct TEnumInfo {
    std::string Name;
    std::vector<std::string> Values;
    // The value with that name (case-insensitive), or -1.
    int IndexOf(const std::string& name) const;
};
// The enumeration (among those declared so far) that has a value of that name, or null.
const TEnumInfo* FindEnumOfValue(const std::string& valueName);

class TClassInfo;

// One published property. The accessors take the object as a TObject* that must be an
// instance of the class that declared the property.
struct TPropInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::Integer;
    std::string TypeName; // "Integer", "TGradStyle", "TFont", "TPopupMenu", "TNotifyEvent", …
    bool Stored = true;   // false: never written (Name, for one)
    std::function<bool(TObject*)> IsStored; // when set, written only where it says so

    std::optional<std::int64_t> Default;       // ordinal kinds; none = always written
    std::optional<std::string> DefaultString;  // String kind; none = always written

    const TEnumInfo* Enum = nullptr;    // Enumeration, Set
    const TIdentMap* Idents = nullptr;  // Integer, Color, Cursor
    std::type_index EventType = typeid(void);

    // Ordinal kinds (Integer, Boolean, Enumeration, Set, Color, Cursor).
    std::function<std::int64_t(TObject*)> GetOrdinal;
    std::function<void(TObject*, std::int64_t)> SetOrdinal;
    // String and Binary (bytes held in a std::string).
    std::function<std::string(TObject*)> GetString;
    std::function<void(TObject*, const std::string&)> SetString;
    // Class.
    std::function<TPersistent*(TObject*)> GetObject;
    // Component.
    std::function<TComponent*(TObject*)> GetComponent;
    std::function<void(TObject*, TComponent*)> SetComponent;
    std::function<bool(TComponent*)> AcceptsComponent; // the reference's class fits
    // Event: the bound handler travels type-erased as a std::any holding the TEvent<...>.
    std::function<void(TObject*, const std::any&)> SetEvent;    // EPropertyError on a wrong type
    std::function<std::string(TObject*)> GetHandlerName;         // empty when unassigned or unnamed
    std::function<bool(TObject*)> EventAssigned;
    // Builds an event of this property's type that ignores its arguments and calls fn.
    std::function<std::any(std::function<void()> fn, const std::string& name)> MakeEvent;
};

// A handler of a form class, found by name: binds the handler to a form instance.
struct TMethodInfo {
    std::string Name;
    std::type_index EventType = typeid(void);
    std::function<std::any(TObject* instance)> Bind;
};

// Where a component sits in its container's tree: a control's parent control, a menu
// item's menu. The reader sets it before any property of the child; the writer nests
// children under it.
using TSetParentFn = std::function<void(TComponent* child, TComponent* parent)>;
using TGetParentFn = std::function<TComponent*(TComponent* child)>;

template <class T>
class TClassBuilder;

// A setter that assigns a public field, for events held as data members:
//   .Event<TNotifyEvent>("OnClick", &TControl::OnClick, FieldSetter<&TControl::OnClick>{})
template <auto Member>
struct FieldSetter {
    template <class O, class V>
    void operator()(O& object, const V& value) const { object.*Member = value; }
};

class TClassInfo {
public:
    // Declares (or declares again, in place) the class information of T. A parent is
    // looked up by name; a missing parent raises EPropertyError.
    template <class T>
    static TClassBuilder<T> Of(const std::string& name, const TClassInfo* parent = nullptr);
    template <class T>
    static TClassBuilder<T> Of(const std::string& name, const std::string& parentName);

    // The declared class of that name (case-insensitive), or null.
    static const TClassInfo* Find(const std::string& name);

    const std::string& Name() const { return FName; }
    const TClassInfo* Parent() const { return FParent; }
    bool InheritsFrom(const TClassInfo* other) const;

    const std::vector<TPropInfo>& Properties() const { return FProps; }
    // The published property of that name (case-insensitive), or null.
    const TPropInfo* FindProperty(const std::string& name) const;
    // The handler of that name in this class's method table or an ancestor's, or null.
    const TMethodInfo* FindMethod(const std::string& name) const;
    const TSetParentFn* SetParentHook() const;
    const TGetParentFn* GetParentHook() const;

    // Used by TClassBuilder.
    static TClassInfo& Declare(const std::string& name, const TClassInfo* parent);
    void AddProperty(TPropInfo prop);
    void AddMethod(TMethodInfo method) { FMethods.push_back(std::move(method)); }
    void SetParentHooks(TSetParentFn set, TGetParentFn get);
    void SetLastStored(bool stored);
    void SetLastStoredWhen(std::function<bool(TObject*)> pred);

private:
    std::string FName;
    const TClassInfo* FParent = nullptr;
    std::vector<TPropInfo> FProps;
    std::vector<TMethodInfo> FMethods;
    TSetParentFn FSetParent;
    TGetParentFn FGetParent;
};

// The class information of an object, through its ClassName(); null when its class
// declared none.
const TClassInfo* ClassInfoOf(const TObject* object);

namespace typinfo_detail {

// Converts to whatever integral or enumeration type a setter takes.
struct Ordinal {
    std::int64_t Value;
    template <class X>
        requires(std::is_integral_v<X> || std::is_enum_v<X>)
    operator X() const { return static_cast<X>(Value); }
};

template <class T, class G>
std::int64_t GetOrd(G& getter, TObject* o)
{
    return static_cast<std::int64_t>(std::invoke(getter, *static_cast<T*>(o)));
}

template <class M>
struct MethodTraits;
template <class C, class... Args>
struct MethodTraits<void (C::*)(Args...)> {
    using Event = TEvent<Args...>;
};

} // namespace typinfo_detail

template <class T>
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : FInfo(info) {}

    const TClassInfo& Info() const { return FInfo; }
    operator const TClassInfo*() const { return &FInfo; }

    template <class G, class S>
    TClassBuilder& Int(const std::string& name, G get, S set) { return Ord(name, TTypeKind::Integer, "Integer", nullptr, nullptr, get, set, std::nullopt); }
    template <class G, class S>
    TClassBuilder& Int(const std::string& name, G get, S set, std::int64_t def) { return Ord(name, TTypeKind::Integer, "Integer", nullptr, nullptr, get, set, def); }
    // An integer written with a name where idents has one (a font's charset).
    template <class G, class S>
    TClassBuilder& IntIdents(const std::string& name, const std::string& typeName, const TIdentMap& idents, G get, S set, std::optional<std::int64_t> def = std::nullopt)
    { return Ord(name, TTypeKind::Integer, typeName, nullptr, &idents, get, set, def); }
    template <class G, class S>
    TClassBuilder& Bool(const std::string& name, G get, S set) { return Ord(name, TTypeKind::Boolean, "Boolean", nullptr, nullptr, get, set, std::nullopt); }
    template <class G, class S>
    TClassBuilder& Bool(const std::string& name, G get, S set, bool def) { return Ord(name, TTypeKind::Boolean, "Boolean", nullptr, nullptr, get, set, def ? 1 : 0); }
    template <class G, class S>
    TClassBuilder& Color(const std::string& name, G get, S set) { return Ord(name, TTypeKind::Color, "TColor", nullptr, &ColorIdents(), get, set, std::nullopt); }
    template <class G, class S>
    TClassBuilder& Color(const std::string& name, G get, S set, TColor def) { return Ord(name, TTypeKind::Color, "TColor", nullptr, &ColorIdents(), get, set, def); }
    template <class G, class S>
    TClassBuilder& Cursor(const std::string& name, G get, S set, std::int64_t def) { return Ord(name, TTypeKind::Cursor, "TCursor", nullptr, &CursorIdents(), get, set, def); }
    template <class G, class S>
    TClassBuilder& Enum(const std::string& name, const TEnumInfo& e, G get, S set) { return Ord(name, TTypeKind::Enumeration, e.Name, &e, nullptr, get, set, std::nullopt); }
    template <class G, class S, class D>
        requires(std::is_enum_v<D> || std::is_integral_v<D>)
    TClassBuilder& Enum(const std::string& name, const TEnumInfo& e, G get, S set, D def)
    { return Ord(name, TTypeKind::Enumeration, e.Name, &e, nullptr, get, set, static_cast<std::int64_t>(def)); }
    // A set of values of e; the stored mask has bit i for value i.
    template <class G, class S>
    TClassBuilder& Set(const std::string& name, const std::string& typeName, const TEnumInfo& e, G get, S set, std::optional<std::int64_t> def = std::nullopt)
    { return Ord(name, TTypeKind::Set, typeName, &e, nullptr, get, set, def); }

    template <class G, class S>
    TClassBuilder& String(const std::string& name, G get, S set, std::optional<std::string> def = std::nullopt)
    {
        TPropInfo p = Base(name, TTypeKind::String, "string");
        p.DefaultString = std::move(def);
        p.GetString = [get](TObject* o) { return std::string(std::invoke(get, *static_cast<T*>(o))); };
        p.SetString = [set](TObject* o, const std::string& v) { std::invoke(set, *static_cast<T*>(o), v); };
        FInfo.AddProperty(std::move(p));
        return *this;
    }
    // Bytes (an image file for a bitmap) held in a std::string or a std::vector<std::uint8_t>;
    // empty bytes are not written.
    template <class G, class S>
    TClassBuilder& Binary(const std::string& name, G get, S set)
    {
        TPropInfo p = Base(name, TTypeKind::Binary, "binary");
        p.GetString = [get](TObject* o) {
            const auto& bytes = std::invoke(get, *static_cast<T*>(o));
            return std::string(bytes.begin(), bytes.end());
        };
        p.SetString = [set](TObject* o, const std::string& v) {
            if constexpr (std::is_invocable_v<S, T&, const std::string&>)
                std::invoke(set, *static_cast<T*>(o), v);
            else
                std::invoke(set, *static_cast<T*>(o), std::vector<std::uint8_t>(v.begin(), v.end()));
        };
        FInfo.AddProperty(std::move(p));
        return *this;
    }
    // An owned sub-object; the reader sets its properties in place (Font.Height = -11).
    template <class G>
    TClassBuilder& Object(const std::string& name, G get, const std::string& typeName = {})
    {
        TPropInfo p = Base(name, TTypeKind::Class, typeName);
        p.GetObject = [get](TObject* o) -> TPersistent* { return std::invoke(get, *static_cast<T*>(o)); };
        FInfo.AddProperty(std::move(p));
        return *this;
    }
    // A reference to a component of class C (or derived).
    template <class C, class G, class S>
    TClassBuilder& Component(const std::string& name, const std::string& typeName, G get, S set)
    {
        TPropInfo p = Base(name, TTypeKind::Component, typeName);
        p.GetComponent = [get](TObject* o) -> TComponent* { return std::invoke(get, *static_cast<T*>(o)); };
        p.SetComponent = [set](TObject* o, TComponent* c) { std::invoke(set, *static_cast<T*>(o), dynamic_cast<C*>(c)); };
        p.AcceptsComponent = [](TComponent* c) { return c == nullptr || dynamic_cast<C*>(c) != nullptr; };
        FInfo.AddProperty(std::move(p));
        return *this;
    }
    template <class E, class G, class S>
    TClassBuilder& Event(const std::string& name, G get, S set, const std::string& typeName = "event")
    {
        TPropInfo p = Base(name, TTypeKind::Event, typeName);
        p.EventType = typeid(E);
        std::string propName = name;
        p.SetEvent = [set, propName](TObject* o, const std::any& handler) {
            const E* e = std::any_cast<E>(&handler);
            if (!e)
                throw EPropertyError("Handler has the wrong type for event " + propName);
            std::invoke(set, *static_cast<T*>(o), *e);
        };
        p.GetHandlerName = [get](TObject* o) {
            const E& e = std::invoke(get, *static_cast<T*>(o));
            return e.Assigned() ? e.Name() : std::string();
        };
        p.EventAssigned = [get](TObject* o) { return std::invoke(get, *static_cast<T*>(o)).Assigned(); };
        p.MakeEvent = [](std::function<void()> fn, const std::string& handlerName) {
            return std::any(MakeIgnoring(std::move(fn), handlerName, static_cast<E*>(nullptr)));
        };
        FInfo.AddProperty(std::move(p));
        return *this;
    }

    // Re-publishes an inherited property, at this point of the list.
    TClassBuilder& Inherit(const std::string& name);
    template <class... Names>
    TClassBuilder& Inherit(const std::string& first, const Names&... rest)
    {
        Inherit(first);
        return Inherit(rest...);
    }
    // Re-publishes every property of the parent, in its order.
    TClassBuilder& InheritAll();
    // The property declared last is never written (it is still read).
    TClassBuilder& NotStored()
    {
        FInfo.SetLastStored(false);
        return *this;
    }
    // The property declared last is written only where pred(object) holds (a control's
    // Font only when it does not follow its parent's).
    template <class P>
    TClassBuilder& StoredWhen(P pred)
    {
        FInfo.SetLastStoredWhen([pred](TObject* o) { return static_cast<bool>(std::invoke(pred, *static_cast<T*>(o))); });
        return *this;
    }

    // A handler of the method table, bound by name from form descriptions.
    template <class M>
    TClassBuilder& Method(const std::string& name, M method)
    {
        using E = typename typinfo_detail::MethodTraits<M>::Event;
        FInfo.AddMethod(TMethodInfo{name, typeid(E), [method, name](TObject* o) {
                                        return std::any(E(static_cast<T*>(o), method, name));
                                    }});
        return *this;
    }

    TClassBuilder& ParentHooks(TSetParentFn set, TGetParentFn get)
    {
        FInfo.SetParentHooks(std::move(set), std::move(get));
        return *this;
    }

private:
    template <class... Args>
    static TEvent<Args...> MakeIgnoring(std::function<void()> fn, const std::string& name, TEvent<Args...>*)
    {
        return TEvent<Args...>([fn](Args...) { fn(); }, nullptr, name);
    }

    TPropInfo Base(const std::string& name, TTypeKind kind, const std::string& typeName)
    {
        TPropInfo p;
        p.Name = name;
        p.Kind = kind;
        p.TypeName = typeName;
        return p;
    }

    template <class G, class S>
    TClassBuilder& Ord(const std::string& name, TTypeKind kind, const std::string& typeName, const TEnumInfo* e,
                       const TIdentMap* idents, G get, S set, std::optional<std::int64_t> def)
    {
        TPropInfo p = Base(name, kind, typeName);
        p.Enum = e;
        p.Idents = idents;
        p.Default = def;
        p.GetOrdinal = [get](TObject* o) { return typinfo_detail::GetOrd<T>(get, o); };
        p.SetOrdinal = [set](TObject* o, std::int64_t v) {
            std::invoke(set, *static_cast<T*>(o), typinfo_detail::Ordinal{v});
        };
        FInfo.AddProperty(std::move(p));
        return *this;
    }

    TClassInfo& FInfo;
};

template <class T>
TClassBuilder<T> TClassInfo::Of(const std::string& name, const TClassInfo* parent)
{
    return TClassBuilder<T>(Declare(name, parent));
}

template <class T>
TClassBuilder<T> TClassInfo::Of(const std::string& name, const std::string& parentName)
{
    const TClassInfo* parent = Find(parentName);
    if (!parent)
        throw EPropertyError("Class " + parentName + " has no type information");
    return TClassBuilder<T>(Declare(name, parent));
}

// Shared by every builder instantiation.
void InheritProperty(TClassInfo& info, const std::string& name);
void InheritAllProperties(TClassInfo& info);

template <class T>
TClassBuilder<T>& TClassBuilder<T>::Inherit(const std::string& name)
{
    InheritProperty(FInfo, name);
    return *this;
}

template <class T>
TClassBuilder<T>& TClassBuilder<T>::InheritAll()
{
    InheritAllProperties(FInfo);
    return *this;
}

} // namespace hx
