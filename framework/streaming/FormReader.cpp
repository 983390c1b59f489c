#include "framework/streaming/FormReader.h"

#include <cstdint>
#include <strings.h>
#include <vector>

#include "framework/streaming/FormLexer.h"
#include "framework/streaming/ClassRegistry.h"
#include "framework/streaming/FrameworkClasses.h"
#include "framework/core/MessageText.h"
#include "framework/core/StartupMarks.h"
#include "framework/core/TypInfo.h"
#include "framework/runtime/Form.h"
#include "framework/runtime/PointerTracker.h"
#include "framework/services/Translator.h"

namespace hx {

EReadError::EReadError(const std::string& fileName, int line, int column, const std::string& text)
    : Exception(fileName + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + CutLongNames(text)),
      FFileName(fileName), FLine(line), FColumn(column), FText(CutLongNames(text))
{
}

namespace {

using namespace formtext;

bool SameText(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// A component of another live form: "Form2" names the form, "Form2.Action1" one of its
// components. Null when there is none.
TComponent* FindGlobalComponent(const std::string& name)
{
    const size_t dot = name.find('.');
    const std::string formName = name.substr(0, dot);
    for (TForm* form : PointerTracker().Forms())
        if (SameText(form->Name(), formName.c_str()))
            return dot == std::string::npos ? form : form->FindComponent(name.substr(dot + 1));
    return nullptr;
}

// A property value as written, before it meets its property.
struct TValue {
    TToken Token;                   // Ident, Integer, String or Binary; Symbol '[' for a set
    std::vector<TToken> SetItems;   // identifiers of a set
};

// One description being read: the open objects form an explicit stack, so the depth of
// nesting costs heap, never call stack. With an object open, the next token decides:
//
//   Name = value     set the property on the innermost open object (references wait)
//   object N: C      create C owned by the root, parent it to the innermost object, push
//   end              pop; once the root is closed only the end of the text may follow
//   end of text      error: an object is still open
class TReadSession {
public:
    TReadSession(TComponent* root, const std::string& text, const std::string& fileName,
                 const TFormReader::TFallbackHandler& fallback)
        : FRoot(root), FLex(text, fileName), FFallback(fallback)
    {
    }

    std::string Run()
    {
        FLex.Validate();
        try {
            ReadAll();
        } catch (...) {
            for (const TLoaded& l : FLoaded)
                l.Component->SetLoading(false);
            throw;
        }
        return FRootClassName;
    }

private:
    struct TFrame {
        TComponent* Component;
        const TClassInfo* Info;
        TPos At;
    };
    struct TLoaded {
        TComponent* Component;
        TPos At;
    };
    struct TPendingReference {
        TObject* Target;
        const TPropInfo* Prop;
        TToken Name;
    };

    [[noreturn]] void Fail(TPos at, const std::string& message) const { FLex.Fail(at, message); }

    // Runs fn and gives any error it raises this position.
    template <class F>
    void At(TPos pos, const std::string& context, F&& fn)
    {
        try {
            fn();
        } catch (const EReadError&) {
            throw;
        } catch (const std::exception& e) {
            Fail(pos, context + e.what());
        }
    }

    TToken Expect(TTok kind, char symbol, const char* what)
    {
        TToken t = FLex.Next();
        if (t.Kind != kind || (kind == TTok::Symbol && t.Symbol != symbol))
            Fail(t.At, std::string(what) + " expected but " + TokenName(t) + " found");
        return t;
    }

    bool IsKeyword(const TToken& t, const char* word) const { return t.Kind == TTok::Ident && SameText(t.Text, word); }

    // After 'object': "Name: TClass", or "TClass" alone for a component without a name.
    std::pair<TToken, TToken> Header()
    {
        const TToken first = Expect(TTok::Ident, 0, "Object name");
        const TToken next = FLex.Peek();
        if (next.Kind != TTok::Symbol || next.Symbol != ':') {
            TToken unnamed = first;
            unnamed.Text.clear();
            return {unnamed, first};
        }
        FLex.Next();
        return {first, Expect(TTok::Ident, 0, "Class name")};
    }

    void ReadAll()
    {
        TToken t = FLex.Next();
        if (!IsKeyword(t, "object"))
            Fail(t.At, "'object' expected");
        const std::pair<TToken, TToken> header = Header();
        const TToken& name = header.first;
        const TToken& cls = header.second;
        FRootClassName = cls.Text;
        const TClassInfo* info = ClassInfoOf(FRoot);
        if (!info)
            Fail(cls.At, std::string("Class ") + FRoot->ClassName() + " has no type information");
        FRoot->SetLoading(true);
        FLoaded.push_back({FRoot, t.At});
        At(name.At, "", [&] { FRoot->SetName(name.Text); });
        FStack.push_back({FRoot, info, t.At});

        while (!FStack.empty())
            Step();
        const TToken trailing = FLex.Next();
        if (trailing.Kind != TTok::End)
            Fail(trailing.At, "Text after the end of the root object");
        ResolveReferences();
        for (const TLoaded& l : FLoaded)
            At(l.At, "", [&] {
                l.Component->Loaded();
                l.Component->SetLoading(false);
            });
    }

    void Step()
    {
        const TToken t = FLex.Next();
        if (t.Kind == TTok::End)
            Fail(t.At, "Missing 'end' of object " + FStack.back().Component->Name() + " begun at line " +
                           std::to_string(FStack.back().At.Line));
        if (IsKeyword(t, "end")) {
            FStack.pop_back();
            return;
        }
        if (IsKeyword(t, "object")) {
            OpenChild(t);
            return;
        }
        if (t.Kind != TTok::Ident)
            Fail(t.At, std::string("Property name expected but ") + TokenName(t) + " found");
        Expect(TTok::Symbol, '=', "'='");
        const TValue value = ReadValue();
        Assign(t, value);
    }

    void OpenChild(const TToken& keyword)
    {
        if (static_cast<int>(FStack.size()) >= MaxObjectNesting)
            Fail(keyword.At, "Objects nested deeper than " + std::to_string(MaxObjectNesting));
        const std::pair<TToken, TToken> header = Header();
        const TToken& name = header.first;
        const TToken& cls = header.second;
        const TRegisteredClass* rc = FindClass(cls.Text);
        if (!rc)
            Fail(cls.At, "Class " + cls.Text + " not found");
        TComponent* child = nullptr;
        At(cls.At, "", [&] { child = rc->Create(FRoot); });
        child->SetLoading(true);
        FLoaded.push_back({child, keyword.At});
        At(name.At, "", [&] { child->SetName(name.Text); });
        if (const TSetParentFn* hook = rc->Info->SetParentHook())
            At(keyword.At, "", [&] { (*hook)(child, FStack.back().Component); });
        FStack.push_back({child, rc->Info, keyword.At});
    }

    TValue ReadValue()
    {
        TValue v;
        v.Token = FLex.Next();
        switch (v.Token.Kind) {
        case TTok::Ident:
        case TTok::Integer:
        case TTok::String:
        case TTok::Binary:
            return v;
        case TTok::Symbol:
            if (v.Token.Symbol == '[') {
                ReadSet(v);
                return v;
            }
            break;
        case TTok::End:
            break;
        }
        Fail(v.Token.At, std::string("Property value expected but ") + TokenName(v.Token) + " found");
    }

    void ReadSet(TValue& v)
    {
        TToken t = FLex.Next();
        if (t.Kind == TTok::Symbol && t.Symbol == ']')
            return;
        for (;;) {
            if (t.Kind != TTok::Ident)
                Fail(t.At, "Set element expected");
            v.SetItems.push_back(t);
            t = FLex.Next();
            if (t.Kind == TTok::Symbol && t.Symbol == ']')
                return;
            if (t.Kind != TTok::Symbol || t.Symbol != ',')
                Fail(t.At, "',' or ']' expected");
            t = FLex.Next();
        }
    }

    // Follows a dotted name through sub-objects to the object and property it sets.
    std::pair<TObject*, const TPropInfo*> Resolve(const TToken& name)
    {
        TObject* target = FStack.back().Component;
        const TClassInfo* info = FStack.back().Info;
        size_t start = 0;
        for (;;) {
            const size_t dot = name.Text.find('.', start);
            const std::string part = name.Text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
            const TPropInfo* prop = info->FindProperty(part);
            if (!prop)
                Fail(name.At, "Unknown property " + part + " of class " + info->Name());
            if (dot == std::string::npos) {
                if (prop->Kind == TTypeKind::Class)
                    Fail(name.At, "Property " + part + " is an object; set its properties (" + part + ".Name)");
                return {target, prop};
            }
            if (prop->Kind != TTypeKind::Class)
                Fail(name.At, "Property " + part + " has no sub-properties");
            TPersistent* sub = prop->GetObject(target);
            if (!sub)
                Fail(name.At, "Property " + part + " holds no object");
            const TClassInfo* subInfo = ClassInfoOf(sub);
            if (!subInfo)
                subInfo = TClassInfo::Find(prop->TypeName);
            if (!subInfo)
                Fail(name.At, std::string("Class ") + sub->ClassName() + " has no type information");
            target = sub;
            info = subInfo;
            start = dot + 1;
        }
    }

    // Texts a user reads (captions, hints) in the user's language, looked up under the root's
    // class; every other string, and a text without a translation, as written.
    std::string Translated(const TPropInfo& prop, const std::string& text) const
    {
        if (!SameText(prop.Name, "Caption") && !SameText(prop.Name, "Hint"))
            return text;
        return Tr(FRoot->ClassName(), text);
    }

    [[noreturn]] void Invalid(const TToken& name, const TToken& value, const std::string& why) const
    {
        Fail(value.At, "Invalid value for " + name.Text + ": " + why);
    }

    void Expect(const TToken& name, const TToken& value, TTok kind, const char* what) const
    {
        if (value.Kind != kind)
            Invalid(name, value, std::string(what) + " expected");
    }

    void Assign(const TToken& name, const TValue& value)
    {
        // Plain variables, not a structured binding: the lambdas below capture them, which
        // clang before 16 refuses for bindings (the fuzz build uses clang).
        const std::pair<TObject*, const TPropInfo*> resolved = Resolve(name);
        TObject* const target = resolved.first;
        const TPropInfo* const prop = resolved.second;
        const TToken& v = value.Token;
        const std::string context = "Cannot set " + name.Text + ": ";
        auto setOrdinal = [&](std::int64_t x) { At(v.At, context, [&] { prop->SetOrdinal(target, x); }); };

        switch (prop->Kind) {
        case TTypeKind::Integer:
        case TTypeKind::Color:
        case TTypeKind::Cursor: {
            if (v.Kind == TTok::Integer)
                return setOrdinal(v.Int);
            std::int64_t x = 0;
            if (v.Kind == TTok::Ident && prop->Idents && prop->Idents->FromIdent(v.Text, x))
                return setOrdinal(x);
            Invalid(name, v, v.Kind == TTok::Ident ? v.Text + " is not a " + prop->TypeName + " value"
                                                   : prop->TypeName + " expected");
        }
        case TTypeKind::Boolean:
            if (v.Kind == TTok::Ident && (SameText(v.Text, "True") || SameText(v.Text, "False")))
                return setOrdinal(SameText(v.Text, "True") ? 1 : 0);
            Invalid(name, v, "True or False expected");
        case TTypeKind::Enumeration:
            Expect(name, v, TTok::Ident, "Enumeration value");
            return setOrdinal(EnumValue(*prop, v));
        case TTypeKind::Set: {
            Expect(name, v, TTok::Symbol, "Set");
            std::int64_t mask = 0;
            for (const TToken& item : value.SetItems)
                mask |= std::int64_t{1} << EnumValue(*prop, item);
            return setOrdinal(mask);
        }
        case TTypeKind::String:
            Expect(name, v, TTok::String, "String");
            return At(v.At, context, [&] { prop->SetString(target, Translated(*prop, v.Text)); });
        case TTypeKind::Binary:
            Expect(name, v, TTok::Binary, "Binary data");
            return At(v.At, context, [&] { prop->SetString(target, v.Text); });
        case TTypeKind::Component:
            Expect(name, v, TTok::Ident, "Component name");
            FReferences.push_back({target, prop, v});
            return;
        case TTypeKind::Event:
            Expect(name, v, TTok::Ident, "Handler name");
            return BindHandler(target, *prop, v);
        case TTypeKind::Class:
            break;
        }
        Invalid(name, v, "not a streamable property");
    }

    std::int64_t EnumValue(const TPropInfo& prop, const TToken& item)
    {
        const int index = prop.Enum->IndexOf(item.Text);
        if (index >= 0)
            return index;
        if (const TEnumInfo* other = FindEnumOfValue(item.Text))
            Fail(item.At, item.Text + " is a value of " + other->Name + ", not of " + prop.Enum->Name);
        Fail(item.At, item.Text + " is not a value of " + prop.Enum->Name);
    }

    void BindHandler(TObject* target, const TPropInfo& prop, const TToken& handler)
    {
        const TClassInfo* rootInfo = FStack.front().Info;
        if (const TMethodInfo* m = rootInfo->FindMethod(handler.Text)) {
            if (m->EventType != prop.EventType)
                Fail(handler.At, "Handler " + handler.Text + " does not fit event " + prop.Name + " (" + prop.TypeName + ")");
            At(handler.At, "Cannot bind " + handler.Text + ": ", [&] { prop.SetEvent(target, m->Bind(FRoot)); });
            return;
        }
        if (!FFallback)
            Fail(handler.At, "Handler " + handler.Text + " is not a method of " + rootInfo->Name());
        At(handler.At, "Cannot bind " + handler.Text + ": ",
           [&] { prop.SetEvent(target, prop.MakeEvent(FFallback(handler.Text), handler.Text)); });
    }

    void ResolveReferences()
    {
        for (const TPendingReference& r : FReferences) {
            TComponent* c = nullptr;
            if (!SameText(r.Name.Text, "nil")) {
                c = SameText(r.Name.Text, FRoot->Name().c_str()) ? FRoot : FRoot->FindComponent(r.Name.Text);
                if (!c)
                    c = FindGlobalComponent(r.Name.Text);
                if (!c)
                    Fail(r.Name.At, "Component " + r.Name.Text + " not found");
                if (!r.Prop->AcceptsComponent(c))
                    Fail(r.Name.At, r.Name.Text + " is not a " + r.Prop->TypeName);
            }
            At(r.Name.At, "Cannot set " + r.Prop->Name + ": ", [&] { r.Prop->SetComponent(r.Target, c); });
        }
    }

    TComponent* FRoot;
    TLexer FLex;
    const TFormReader::TFallbackHandler& FFallback;
    std::string FRootClassName;
    std::vector<TFrame> FStack;
    std::vector<TLoaded> FLoaded;
    std::vector<TPendingReference> FReferences;
};

} // namespace

void TFormReader::Read(TComponent* root, const std::string& text, const std::string& fileName)
{
    if (!root)
        throw EReadError(fileName, 1, 1, "No root object to read into");
    RegisterFrameworkClasses();
    TReadSession session(root, text, fileName, FFallback);
    FRootClassName = session.Run();
}

void ReadComponent(TComponent* root, const std::string& text, const std::string& fileName)
{
    TFormReader reader;
    reader.Read(root, text, fileName);
    MarkStartup("description read");
}

} // namespace hx
