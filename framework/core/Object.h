#pragma once
// Root classes: TObject (a name for its class) and TPersistent (copyable values).
#include <string>

namespace hx {

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The class name as the product spells it ("TGradBox"); set by each class that streams.
    virtual const char* ClassName() const { return "TObject"; }
};

class TPersistent : public TObject {
public:
    const char* ClassName() const override { return "TPersistent"; }

    // Take the values of source. The default asks source to write itself into this
    // object (source->CopyValuesTo(this)); a null source raises the assignment error.
    virtual void CopyValuesTo(TPersistent* dest);
    virtual void CopyValuesFrom(TPersistent* source);
};

} // namespace hx
