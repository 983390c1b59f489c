#include "framework/runtime/Accessibility.h"

#include <cstdint>
#include <map>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWindow>

#include "framework/runtime/Control.h"
#include "framework/core/Exception.h"
#include "framework/runtime/FormWindow.h"
#include "framework/runtime/Menus.h"
#include "framework/runtime/WinControl.h"

namespace hx {

namespace {

// The objects made for each live form, by key ("c<address>" for a control, "m<path>" for
// the menu and its items), so that asking twice gives the same object. A form's objects go
// with it; until then an object whose control or item has gone reports itself invalid.
using TObjectIds = std::map<std::string, QAccessible::Id>;

std::map<const TForm*, TObjectIds>& Registry()
{
    static auto* registry = new std::map<const TForm*, TObjectIds>; // forms outlive statics
    return *registry;
}

bool FormAlive(const TForm* form)
{
    return Registry().count(form) != 0;
}

template <class Make>
QAccessibleInterface* Shared(const TForm* form, const std::string& key, Make make)
{
    auto found = Registry().find(form);
    if (found == Registry().end())
        return nullptr;
    TObjectIds& ids = found->second;
    if (auto it = ids.find(key); it != ids.end())
        return QAccessible::accessibleInterface(it->second);
    QAccessibleInterface* iface = make();
    ids[key] = QAccessible::registerAccessibleInterface(iface);
    return iface;
}

bool Contains(const TWinControl* container, const TControl* control)
{
    for (int i = 0; i < container->ControlCount(); ++i) {
        const TControl* c = container->Controls(i);
        if (c == control)
            return true;
        if (auto* inner = dynamic_cast<const TWinControl*>(c); inner && Contains(inner, control))
            return true;
    }
    return false;
}

QString ToQ(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A menu caption as read aloud: "&S" marks the access key, "&&" is one ampersand.
QString StripAccel(const std::string& caption)
{
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return ToQ(out);
}

QAccessibleInterface* WindowInterface(const TForm* form)
{
    return QAccessible::queryAccessibleInterface(form->Impl().Window.get());
}

QAccessibleInterface* ControlInterface(TForm* form, TControl* control);
QAccessibleInterface* MenuInterface(TForm* form, const std::string& path);

// The children of the window or of a container: its controls in creation order; the
// window adds its context menu last.
int ChildCountOf(const TWinControl* container, bool withMenu)
{
    return container->ControlCount() + (withMenu && container->PopupMenu() ? 1 : 0);
}

QAccessibleInterface* ChildOf(TForm* form, TWinControl* container, int index)
{
    if (index < 0)
        return nullptr;
    if (index < container->ControlCount())
        return ControlInterface(form, container->Controls(index));
    if (container == form && index == container->ControlCount() && form->PopupMenu())
        return MenuInterface(form, "");
    return nullptr;
}

int IndexIn(const QAccessibleInterface* parent, const QAccessibleInterface* child)
{
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i) == child)
            return i;
    return -1;
}

// --- The window ------------------------------------------------------------------------------

class TFormAccessible final : public QAccessibleWidget {
public:
    explicit TFormAccessible(TFormWindow* window)
        : QAccessibleWidget(window, QAccessible::Window), FForm(window->Form())
    {
    }

    int childCount() const override { return FormAlive(FForm) ? ChildCountOf(FForm, true) : 0; }
    QAccessibleInterface* child(int index) const override
    {
        return FormAlive(FForm) ? ChildOf(FForm, FForm, index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override { return IndexIn(this, child); }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int i = childCount() - 1; i >= 0; --i) { // later controls lie over earlier ones
            QAccessibleInterface* c = child(i);
            if (c && !c->state().invisible && c->rect().contains(x, y))
                return c;
        }
        return nullptr;
    }

private:
    TForm* FForm;
};

// --- A windowless control ----------------------------------------------------------------------

QAccessible::Role ToQtRole(TAccessibleRole role)
{
    switch (role) {
    case arPushButton: return QAccessible::Button;
    case arStaticText: return QAccessible::StaticText;
    case arGraphic: return QAccessible::Graphic;
    default: return QAccessible::Pane;
    }
}

class TControlAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TControlAccessible(TForm* form, TControl* control) : FForm(form), FControl(control) {}

    bool isValid() const override { return Live() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        return FormAlive(FForm) ? FForm->Impl().Window->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        TControl* c = Live();
        if (!c)
            return nullptr;
        if (c->Parent() == FForm)
            return WindowInterface(FForm);
        return ControlInterface(FForm, c->Parent());
    }
    int childCount() const override
    {
        auto* container = dynamic_cast<TWinControl*>(Live());
        return container ? ChildCountOf(container, false) : 0;
    }
    QAccessibleInterface* child(int index) const override
    {
        auto* container = dynamic_cast<TWinControl*>(Live());
        return container ? ChildOf(FForm, container, index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override { return IndexIn(this, child); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        TControl* c = Live();
        if (!c)
            return {};
        const TAccessibleInfo info = c->AccessibleInfo();
        switch (t) {
        case QAccessible::Name: return ToQ(info.Name);
        case QAccessible::Description: return ToQ(info.Description);
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        TControl* c = Live();
        if (!c)
            return {};
        const TPoint p = c->ClientToScreen(Point(0, 0));
        return QRect(p.X, p.Y, c->Width(), c->Height());
    }
    QAccessible::Role role() const override
    {
        TControl* c = Live();
        return c ? ToQtRole(c->AccessibleInfo().Role) : QAccessible::NoRole;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        TControl* c = Live();
        if (!c) {
            s.invalid = true;
            return s;
        }
        s.invisible = !c->IsShowing();
        s.disabled = !c->Enabled();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override
    {
        TControl* c = Live();
        if (c && c->Enabled() && c->AccessibleInfo().Pressable)
            return {pressAction()};
        return {};
    }
    void doAction(const QString& name) override
    {
        if (!actionNames().contains(name))
            return;
        TControl* c = Live();
        Guarded([c] { c->Click(); });
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    TControl* Live() const { return FormAlive(FForm) && Contains(FForm, FControl) ? FControl : nullptr; }

    TForm* FForm;
    TControl* FControl; // compared before it is used: it may have been freed
};

// --- The context menu and its items ------------------------------------------------------------
// path: "" for the menu, else the item's indexes joined by "." (found again at every call,
// so items added or freed since never leave a dangling object).

class TMenuAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TMenuAccessible(TForm* form, std::string path) : FForm(form), FPath(std::move(path)) {}

    bool isValid() const override { return Item() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        return FormAlive(FForm) ? FForm->Impl().Window->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        if (!FormAlive(FForm))
            return nullptr;
        if (FPath.empty())
            return WindowInterface(FForm);
        const size_t dot = FPath.rfind('.');
        return MenuInterface(FForm, dot == std::string::npos ? std::string() : FPath.substr(0, dot));
    }
    int childCount() const override
    {
        TMenuItem* item = Item();
        return item ? item->Count() : 0;
    }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        return MenuInterface(FForm, FPath.empty() ? std::to_string(index) : FPath + "." + std::to_string(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override { return IndexIn(this, child); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        TMenuItem* item = Item();
        if (!item || FPath.empty() || t != QAccessible::Name || item->IsLine())
            return {};
        return StripAccel(item->Caption());
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; } // laid out only while it is open
    QAccessible::Role role() const override
    {
        TMenuItem* item = Item();
        if (FPath.empty())
            return QAccessible::PopupMenu;
        return item && item->IsLine() ? QAccessible::Separator : QAccessible::MenuItem;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        TMenuItem* item = Item();
        if (!item) {
            s.invalid = true;
            return s;
        }
        // The menu is on screen only while it is open (then the toolkit's own menu speaks).
        s.invisible = FPath.empty() || !item->Visible();
        s.disabled = !item->Enabled();
        s.checkable = !FPath.empty() && !item->IsLine();
        s.checked = item->Checked();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override
    {
        TMenuItem* item = Item();
        if (item && !FPath.empty() && !item->IsLine() && item->Enabled() && item->Count() == 0)
            return {pressAction()};
        return {};
    }
    void doAction(const QString& name) override
    {
        if (!actionNames().contains(name))
            return;
        TMenuItem* item = Item();
        Guarded([item] { item->Click(); });
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    TMenuItem* Item() const
    {
        if (!FormAlive(FForm) || !FForm->PopupMenu())
            return nullptr;
        TMenuItem* item = FForm->PopupMenu()->Items();
        size_t pos = 0;
        while (item && pos < FPath.size()) {
            const size_t dot = FPath.find('.', pos);
            const int index = std::stoi(FPath.substr(pos, dot - pos));
            item = index < item->Count() ? item->Items(index) : nullptr;
            pos = dot == std::string::npos ? FPath.size() : dot + 1;
        }
        return item;
    }

    TForm* FForm;
    std::string FPath;
};

QAccessibleInterface* ControlInterface(TForm* form, TControl* control)
{
    std::string key = "c"; // appended, not `"c" + ...`: GCC 12 misreads that as an overlapping copy
    key += std::to_string(reinterpret_cast<std::uintptr_t>(control));
    return Shared(form, key, [&] { return new TControlAccessible(form, control); });
}

QAccessibleInterface* MenuInterface(TForm* form, const std::string& path)
{
    // The menu object answers for whichever menu the form names when asked.
    return Shared(form, "m" + path, [&] { return new TMenuAccessible(form, path); });
}

QAccessibleInterface* Factory(const QString&, QObject* object)
{
    auto* window = dynamic_cast<TFormWindow*>(object);
    if (!window || !FormAlive(window->Form()))
        return nullptr;
    return new TFormAccessible(window);
}

// --- Query side --------------------------------------------------------------------------------

std::string RoleName(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Window: return "Window";
    case QAccessible::Button: return "PushButton";
    case QAccessible::Pane: return "Pane";
    case QAccessible::StaticText: return "StaticText";
    case QAccessible::Graphic: return "Graphic";
    case QAccessible::PopupMenu: return "PopupMenu";
    case QAccessible::MenuItem: return "MenuItem";
    case QAccessible::Separator: return "Separator";
    case QAccessible::Client: return "Client";
    default: return "Role" + std::to_string(static_cast<int>(role));
    }
}

TAccessibleNode ToNode(QAccessibleInterface* iface, int depth)
{
    TAccessibleNode node;
    if (!iface || !iface->isValid())
        return node;
    node.Role = RoleName(iface->role());
    node.Name = iface->text(QAccessible::Name).toStdString();
    node.Description = iface->text(QAccessible::Description).toStdString();
    if (QAccessibleActionInterface* actions = iface->actionInterface())
        for (const QString& name : actions->actionNames())
            node.Actions.push_back(name.toStdString());
    const QRect r = iface->rect();
    node.ScreenRect = Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    const QAccessible::State s = iface->state();
    node.Invisible = s.invisible;
    node.Disabled = s.disabled;
    node.Checkable = s.checkable;
    node.Checked = s.checked;
    if (depth < 8)
        for (int i = 0; i < iface->childCount(); ++i)
            node.Children.push_back(ToNode(iface->child(i), depth + 1));
    return node;
}

} // namespace

void InstallFormAccessibility(const TForm* form)
{
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(Factory);
    }
    Registry()[form];
}

void ReleaseFormAccessibility(const TForm* form)
{
    auto found = Registry().find(form);
    if (found == Registry().end())
        return;
    for (const auto& [key, id] : found->second)
        QAccessible::deleteAccessibleInterface(id);
    Registry().erase(found);
}

TAccessibleNode AccessibleTree(const TForm* form)
{
    return ToNode(WindowInterface(form), 0);
}

bool DoAccessibleAction(const TForm* form, const std::vector<int>& path, const std::string& action)
{
    QAccessibleInterface* iface = WindowInterface(form);
    for (const int index : path) {
        if (!iface || index < 0 || index >= iface->childCount())
            return false;
        iface = iface->child(index);
    }
    QAccessibleActionInterface* actions = iface ? iface->actionInterface() : nullptr;
    const QString name = QString::fromStdString(action);
    if (!actions || !actions->actionNames().contains(name))
        return false;
    actions->doAction(name);
    return true;
}

} // namespace hx
