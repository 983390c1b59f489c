#include "framework/streaming/FormWriter.h"

#include <cstdio>
#include <map>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/core/TypInfo.h"

namespace hx {

namespace {

// Bytes up to this many go on the property's line; longer data gets lines of its own.
constexpr size_t InlineBinaryBytes = 32;
constexpr size_t BinaryBytesPerLine = 32;

std::string Hex(const std::string& bytes, size_t from, size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = from; i < from + count && i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string FormatOrdinal(const TPropInfo& prop, std::int64_t value)
{
    std::string name;
    switch (prop.Kind) {
    case TTypeKind::Boolean:
        return value ? "True" : "False";
    case TTypeKind::Enumeration:
        if (value >= 0 && value < static_cast<std::int64_t>(prop.Enum->Values.size()))
            return prop.Enum->Values[static_cast<size_t>(value)];
        return std::to_string(value);
    case TTypeKind::Set: {
        std::string out = "[";
        for (size_t i = 0; i < prop.Enum->Values.size() && i < 63; ++i)
            if (value & (std::int64_t{1} << i)) {
                if (out.size() > 1)
                    out += ", ";
                out += prop.Enum->Values[i];
            }
        return out + "]";
    }
    case TTypeKind::Color:
        if (prop.Idents && prop.Idents->ToIdent(value, name))
            return name;
        {
            char buf[16];
            std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(static_cast<std::uint32_t>(value)));
            return buf;
        }
    default:
        if (prop.Idents && prop.Idents->ToIdent(value, name))
            return name;
        return std::to_string(value);
    }
}

class TWriter {
public:
    explicit TWriter(TComponent* root) : FRoot(root)
    {
        // Every owned component nests under its parent component, or the root without one.
        for (int i = 0; i < root->ComponentCount(); ++i) {
            TComponent* c = root->Components(i);
            TComponent* parent = nullptr;
            if (const TClassInfo* info = ClassInfoOf(c))
                if (const TGetParentFn* hook = info->GetParentHook())
                    parent = (*hook)(c);
            if (!parent || (parent != root && parent->Owner() != root))
                parent = root;
            FChildren[parent].push_back(c);
        }
    }

    std::string Write(const std::string& rootClassName)
    {
        Object(FRoot, rootClassName.empty() ? std::string(FRoot->ClassName()) : rootClassName, 0);
        return FOut;
    }

private:
    void Object(TComponent* c, const std::string& className, int depth)
    {
        const std::string indent(static_cast<size_t>(depth) * 2, ' ');
        // A component without a name (made in code, or renamed to '') is written by its
        // class alone.
        FOut += indent + "object " + (c->Name().empty() ? "" : c->Name() + ": ") + className + "\n";
        const TClassInfo* info = ClassInfoOf(c);
        if (!info)
            throw EPropertyError(std::string("Class ") + c->ClassName() + " has no type information");
        Properties(c, *info, indent + "  ", "");
        for (TComponent* child : FChildren[c])
            Object(child, child->ClassName(), depth + 1);
        FOut += indent + "end\n";
    }

    void Properties(TObject* obj, const TClassInfo& info, const std::string& indent, const std::string& prefix)
    {
        for (const TPropInfo& p : info.Properties())
            if (p.Stored && (!p.IsStored || p.IsStored(obj)))
                Property(obj, p, indent, prefix);
    }

    void Line(const std::string& indent, const std::string& name, const std::string& value)
    {
        FOut += indent + name + " = " + value + "\n";
    }

    void Property(TObject* obj, const TPropInfo& p, const std::string& indent, const std::string& prefix)
    {
        const std::string name = prefix + p.Name;
        switch (p.Kind) {
        case TTypeKind::Integer:
        case TTypeKind::Boolean:
        case TTypeKind::Enumeration:
        case TTypeKind::Set:
        case TTypeKind::Color:
        case TTypeKind::Cursor: {
            const std::int64_t v = p.GetOrdinal(obj);
            if (!p.Default || *p.Default != v)
                Line(indent, name, FormatOrdinal(p, v));
            return;
        }
        case TTypeKind::String: {
            const std::string v = p.GetString(obj);
            if (!p.DefaultString || *p.DefaultString != v)
                Line(indent, name, QuoteString(v));
            return;
        }
        case TTypeKind::Binary:
            return Binary(indent, name, p.GetString(obj));
        case TTypeKind::Class: {
            TPersistent* sub = p.GetObject(obj);
            if (!sub)
                return;
            const TClassInfo* subInfo = ClassInfoOf(sub);
            if (!subInfo)
                subInfo = TClassInfo::Find(p.TypeName);
            if (subInfo)
                Properties(sub, *subInfo, indent, name + ".");
            return;
        }
        case TTypeKind::Component: {
            TComponent* c = p.GetComponent(obj);
            if (c && !c->Name().empty())
                Line(indent, name, ReferenceName(c));
            return;
        }
        case TTypeKind::Event: {
            // A handler bound in code has no name and cannot be written.
            const std::string handler = p.GetHandlerName(obj);
            if (!handler.empty())
                Line(indent, name, handler);
            return;
        }
        }
    }

    // A component of the root's family by its name; one of another (named) form as
    // Form2.Action1, which the reader finds among the live forms.
    std::string ReferenceName(const TComponent* c) const
    {
        const TComponent* owner = c->Owner();
        if (c == FRoot || owner == FRoot || !owner || owner->Name().empty())
            return c->Name();
        return owner->Name() + "." + c->Name();
    }

    void Binary(const std::string& indent, const std::string& name, const std::string& bytes)
    {
        if (bytes.empty())
            return;
        if (bytes.size() <= InlineBinaryBytes)
            return Line(indent, name, std::string("{").append(Hex(bytes, 0, bytes.size())).append("}"));
        FOut += indent + name + " = {\n";
        for (size_t i = 0; i < bytes.size(); i += BinaryBytesPerLine) {
            FOut += indent + "  " + Hex(bytes, i, BinaryBytesPerLine);
            FOut += i + BinaryBytesPerLine >= bytes.size() ? "}\n" : "\n";
        }
    }

    TComponent* FRoot;
    std::map<TComponent*, std::vector<TComponent*>> FChildren;
    std::string FOut;
};

} // namespace

std::string QuoteString(const std::string& text)
{
    // Control characters travel as #codes so that a value never breaks its line.
    std::string out;
    bool quoted = false;
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            if (quoted)
                out += '\'';
            quoted = false;
            out += '#' + std::to_string(c);
            continue;
        }
        if (!quoted)
            out += '\'';
        quoted = true;
        out += ch;
        if (ch == '\'')
            out += '\'';
    }
    if (quoted)
        out += '\'';
    return out.empty() ? "''" : out;
}

std::string WriteComponent(TComponent* root, const std::string& rootClassName)
{
    if (!root)
        throw EPropertyError("No component to write");
    return TWriter(root).Write(rootClassName);
}

} // namespace hx
