#pragma once
// TComponent: the owned, named building block of forms. An owner frees the components
// it owns (last first) when it is freed; a form description creates components with
// their owner and names them.
#include <string>
#include <vector>

#include "framework/core/Object.h"

namespace hx {

using TComponentState = unsigned;
enum : unsigned {
    csLoading = 1u << 0,    // being read from a form description; cleared by Loaded()
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,  // being designed (formview --design): dashed outlines and the like
};

enum TOperation : unsigned char { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    const char* ClassName() const override { return "TComponent"; }

    TComponent* Owner() const { return FOwner; }

    const std::string& Name() const { return FName; }
    // A name is empty or an identifier (a letter or '_', then letters, digits, '_'),
    // unique among the owner's components (case-insensitive). Else EComponentError.
    virtual void SetName(const std::string& name);

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(static_cast<size_t>(index)); }
    // The owned component with that name (case-insensitive), or null.
    TComponent* FindComponent(const std::string& name) const;

    TComponentState ComponentState() const { return FComponentState; }
    bool IsLoading() const { return (FComponentState & csLoading) != 0; }
    bool IsDesigning() const { return (FComponentState & csDesigning) != 0; }
    // Marks this component and everything it owns as being designed (or not).
    void SetDesigning(bool designing);
    // Set by the form reader before it applies properties; Loaded() clears it.
    void SetLoading(bool loading);

    // Called once by the form reader after the whole description has been read.
    virtual void Loaded();

    // Tells this component that another one it may refer to is being inserted or freed.
    // Every component owned by the same owner hears of it; override to drop references.
    virtual void Notification(TComponent* component, TOperation operation);
    // Ask to hear of the freeing of a component outside the owner's family.
    void FreeNotification(TComponent* component);

    // Frees every owned component, last first. A class whose owned components refer back
    // to it (a form and its controls) calls this in its own destructor.
    void DestroyComponents();

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

private:
    void NotifyAll(TComponent* component, TOperation operation);

    TComponent* FOwner = nullptr;
    std::string FName;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState = 0;
};

// True when name is a valid component or handler identifier.
bool IsValidIdent(const std::string& name);

} // namespace hx
