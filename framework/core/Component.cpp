#include "framework/core/Component.h"

#include <algorithm>
#include <iterator>
#include <strings.h>

#include "framework/core/Exception.h"

namespace hx {

bool IsValidIdent(const std::string& name)
{
    if (name.empty())
        return false;
    auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!alpha(name[0]))
        return false;
    return std::all_of(name.begin() + 1, name.end(), [&](char c) { return alpha(c) || digit(c); });
}

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    FComponentState |= csDestroying;
    // Taken out first: a notified component's handler cannot change the set being walked.
    const std::unordered_set<TComponent*> notifies = std::move(FFreeNotifies);
    FFreeNotifies.clear();
    for (TComponent* c : notifies)
        c->Notification(this, opRemove);
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::SetName(const std::string& name)
{
    if (name == FName)
        return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError("''" + name + "'' is not a valid component name");
    if (!name.empty() && FOwner) {
        TComponent* other = FOwner->FindComponent(name);
        if (other && other != this)
            throw EComponentError("A component named " + name + " already exists");
    }
    FName = name;
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    // A name of another length cannot match, whatever its case: no folded comparison needed.
    for (TComponent* c : FComponents)
        if (c->FName.size() == name.size() && strcasecmp(c->FName.c_str(), name.c_str()) == 0)
            return c;
    return nullptr;
}

void TComponent::SetDesigning(bool designing)
{
    if (designing)
        FComponentState |= csDesigning;
    else
        FComponentState &= ~csDesigning;
    for (TComponent* c : FComponents)
        c->SetDesigning(designing);
}

void TComponent::SetLoading(bool loading)
{
    if (loading)
        FComponentState |= csLoading | csReading;
    else
        FComponentState &= ~(csLoading | csReading);
}

void TComponent::Loaded()
{
    FComponentState &= ~csLoading;
}

namespace {

// Removes one entry, looking from the end: components are freed last first, so the one
// going is usually the last one in the list, and freeing n of them costs O(n).
void EraseFromBack(std::vector<TComponent*>& list, const TComponent* item)
{
    const auto found = std::find(list.rbegin(), list.rend(), item);
    if (found != list.rend())
        list.erase(std::next(found).base());
}

} // namespace

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove)
        FFreeNotifies.erase(component);
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    FFreeNotifies.insert(component);
    component->FFreeNotifies.insert(this);
}

// While an owner frees everything it owns, its components are not told of each other's
// going (they all go; one that holds a reference asked for FreeNotification), and the owner
// counts as being destroyed, so that nothing rearranges what is about to go. That keeps
// freeing n components O(n).
void TComponent::DestroyComponents()
{
    const TComponentState before = FComponentState;
    FComponentState |= csDestroying;
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        delete last; // its destructor removes it from FComponents
    }
    FComponentState = (FComponentState & ~csDestroying) | (before & csDestroying);
}

void TComponent::InsertComponent(TComponent* component)
{
    if (component->FOwner)
        component->FOwner->RemoveComponent(component);
    component->FOwner = this;
    FComponents.push_back(component);
    // Only the owner hears of an insertion: telling every sibling would make reading a
    // form of n components O(n^2), and no component acts on another's arrival.
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    if (FComponentState & csDestroying)
        Notification(component, opRemove);
    else
        NotifyAll(component, opRemove);
    EraseFromBack(FComponents, component);
    component->FOwner = nullptr;
}

void TComponent::NotifyAll(TComponent* component, TOperation operation)
{
    Notification(component, operation);
    for (TComponent* c : FComponents)
        if (c != component)
            c->Notification(component, operation);
}

} // namespace hx
