#include "framework/FormReader.h"

#include <cstdint>
#include <strings.h>
#include <vector>

#include "framework/Chars.h"
#include "framework/ClassRegistry.h"
#include "framework/FrameworkClasses.h"
#include "framework/MessageText.h"
#include "framework/TypInfo.h"

namespace hx {

EReadError::EReadError(const std::string& fileName, int line, int column, const std::string& text)
    : Exception(fileName + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + CutLongNames(text)),
      FFileName(fileName), FLine(line), FColumn(column), FText(CutLongNames(text))
{
}

namespace {

struct TPos {
    int Line = 1;
    int Column = 1;
};

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool SameText(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Length of the valid UTF-8 sequence at s[i], or 0 when it is not one (overlong forms,
// surrogates and values above U+10FFFF included).
size_t Utf8Length(const std::string& s, size_t i)
{
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80)
        return 1;
    size_t n;
    std::uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k) {
        if (!IsContinuation(b(i + k)))
            return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

enum class TTok { Ident, Integer, String, Binary, Symbol, End };

struct TToken {
    TTok Kind = TTok::End;
    std::string Text; // identifier (dotted), string value, binary bytes
    std::int64_t Int = 0;
    char Symbol = 0;
    TPos At;
};

// Splits a description into tokens, tracking line and column (in characters).
class TLexer {
public:
    TLexer(const std::string& text, const std::string& fileName) : S(text), FFile(fileName) {}

    [[noreturn]] void Fail(TPos at, const std::string& message) const { throw EReadError(FFile, at.Line, at.Column, message); }

    // NUL bytes and invalid UTF-8 are refused before anything is built.
    void Validate() const
    {
        TPos p;
        for (size_t i = 0; i < S.size();) {
            if (S[i] == '\0')
                Fail(p, "NUL byte in form description");
            const size_t n = Utf8Length(S, i);
            if (n == 0)
                Fail(p, "Invalid UTF-8 in form description");
            if (S[i] == '\n') {
                ++p.Line;
                p.Column = 1;
            } else {
                ++p.Column;
            }
            i += n;
        }
    }

    // The next token without taking it.
    TToken Peek()
    {
        const size_t i = I;
        const int line = FLine, column = FColumn;
        TToken t = Next();
        I = i;
        FLine = line;
        FColumn = column;
        return t;
    }

    TToken Next()
    {
        SkipSpace();
        TToken t;
        t.At = Here();
        if (I >= S.size())
            return t;
        const char c = S[I];
        if (IsIdentStart(c))
            return Ident(t);
        if ((c >= '0' && c <= '9') || c == '$' || c == '-')
            return Number(t);
        if (c == '\'' || c == '#')
            return String(t);
        if (c == '{')
            return Binary(t);
        if (c == '=' || c == ':' || c == '[' || c == ']' || c == ',') {
            Advance();
            t.Kind = TTok::Symbol;
            t.Symbol = c;
            return t;
        }
        Fail(t.At, std::string("Unexpected character '") + S.substr(I, std::max<size_t>(1, Utf8Length(S, I))) + "'");
    }

    TPos Here() const { return TPos{FLine, FColumn}; }

private:
    void Advance()
    {
        const unsigned char c = static_cast<unsigned char>(S[I++]);
        if (c == '\n') {
            ++FLine;
            FColumn = 1;
        } else if (!IsContinuation(c)) {
            ++FColumn;
        }
    }

    void SkipSpace()
    {
        while (I < S.size() && IsSpace(S[I]))
            Advance();
    }

    TToken Ident(TToken& t)
    {
        t.Kind = TTok::Ident;
        for (;;) {
            while (I < S.size() && IsIdentChar(S[I])) {
                t.Text += S[I];
                Advance();
            }
            if (I + 1 < S.size() && S[I] == '.' && IsIdentStart(S[I + 1])) {
                t.Text += '.';
                Advance();
                continue;
            }
            return t;
        }
    }

    TToken Number(TToken& t)
    {
        t.Kind = TTok::Integer;
        bool negative = false;
        if (S[I] == '-') {
            negative = true;
            Advance();
        }
        const bool hex = I < S.size() && S[I] == '$';
        if (hex)
            Advance();
        const int base = hex ? 16 : 10;
        std::uint64_t value = 0;
        int digits = 0;
        while (I < S.size()) {
            const int d = hex ? HexDigit(S[I]) : (S[I] >= '0' && S[I] <= '9' ? S[I] - '0' : -1);
            if (d < 0)
                break;
            value = value * base + static_cast<std::uint64_t>(d);
            if (value > 0xFFFFFFFFull)
                Fail(t.At, "Integer out of range");
            ++digits;
            Advance();
        }
        if (digits == 0)
            Fail(t.At, "Number expected");
        if (I < S.size() && IsIdentChar(S[I]))
            Fail(Here(), "Invalid number");
        // $hex spans the 32 bits (system colours have the top bit set); decimal is signed.
        std::int64_t v = static_cast<std::int64_t>(value);
        if (hex)
            v = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        else if (value > 0x7FFFFFFFull + (negative ? 1 : 0))
            Fail(t.At, "Integer out of range");
        t.Int = negative ? -v : v;
        return t;
    }

    // 'text' pieces ('' is one quote) and #code characters, joined directly or with '+'.
    TToken String(TToken& t)
    {
        t.Kind = TTok::String;
        for (;;) {
            StringPieces(t.Text);
            const size_t saveI = I;
            const int saveLine = FLine, saveColumn = FColumn;
            SkipSpace();
            if (I < S.size() && S[I] == '+') {
                Advance();
                SkipSpace();
                if (I >= S.size() || (S[I] != '\'' && S[I] != '#'))
                    Fail(Here(), "String expected after '+'");
                continue;
            }
            I = saveI;
            FLine = saveLine;
            FColumn = saveColumn;
            return t;
        }
    }

    void StringPieces(std::string& out)
    {
        while (I < S.size() && (S[I] == '\'' || S[I] == '#')) {
            const TPos start = Here();
            if (S[I] == '#') {
                Advance();
                const bool hex = I < S.size() && S[I] == '$';
                if (hex)
                    Advance();
                std::uint32_t cp = 0;
                int digits = 0;
                while (I < S.size()) {
                    const int d = hex ? HexDigit(S[I]) : (S[I] >= '0' && S[I] <= '9' ? S[I] - '0' : -1);
                    if (d < 0)
                        break;
                    cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
                    if (cp > 0x10FFFF)
                        Fail(start, "Invalid character code");
                    ++digits;
                    Advance();
                }
                if (digits == 0 || cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF))
                    Fail(start, "Invalid character code");
                AppendUtf8(out, cp);
                continue;
            }
            Advance();
            for (;;) {
                if (I >= S.size() || S[I] == '\n' || S[I] == '\r')
                    Fail(start, "Unterminated string");
                if (S[I] == '\'') {
                    if (I + 1 < S.size() && S[I + 1] == '\'') {
                        out += '\'';
                        Advance();
                        Advance();
                        continue;
                    }
                    Advance();
                    break;
                }
                out += S[I];
                Advance();
            }
        }
    }

    TToken Binary(TToken& t)
    {
        t.Kind = TTok::Binary;
        Advance();
        int high = -1;
        for (;;) {
            if (I >= S.size())
                Fail(t.At, "Unterminated binary data");
            const char c = S[I];
            if (c == '}') {
                if (high >= 0)
                    Fail(Here(), "Odd number of hex digits in binary data");
                Advance();
                return t;
            }
            if (!IsSpace(c)) {
                const int d = HexDigit(c);
                if (d < 0)
                    Fail(Here(), "Invalid character in binary data");
                if (high < 0) {
                    high = d;
                } else {
                    t.Text += static_cast<char>((high << 4) | d);
                    high = -1;
                }
            }
            Advance();
        }
    }

    const std::string& S;
    const std::string& FFile;
    size_t I = 0;
    int FLine = 1;
    int FColumn = 1;
};

const char* TokenName(const TToken& t)
{
    switch (t.Kind) {
    case TTok::Ident: return "identifier";
    case TTok::Integer: return "number";
    case TTok::String: return "string";
    case TTok::Binary: return "binary data";
    case TTok::Symbol: return "symbol";
    case TTok::End: return "end of file";
    }
    return "token";
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
            return At(v.At, context, [&] { prop->SetString(target, v.Text); });
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
}

} // namespace hx
