#include "framework/core/Component.h"

#include <algorithm>
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
    for (TComponent* c : FFreeNotifies)
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
    for (TComponent* c : FComponents)
        if (strcasecmp(c->FName.c_str(), name.c_str()) == 0)
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

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove) {
        std::erase(FFreeNotifies, component);
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
        component->FFreeNotifies.end())
        component->FFreeNotifies.push_back(this);
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        delete last; // its destructor removes it from FComponents
    }
}

void TComponent::InsertComponent(TComponent* component)
{
    if (component->FOwner)
        component->FOwner->RemoveComponent(component);
    component->FOwner = this;
    FComponents.push_back(component);
    NotifyAll(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    NotifyAll(component, opRemove);
    std::erase(FComponents, component);
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
