// Owners and the components they own: who is told of a component's going, and what freeing
// many of them costs.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

#include "Probe.h"
#include "framework/runtime/Menus.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

// Counts every notification it hears, and remembers a component it refers to.
class TListener : public TComponent {
public:
    TListener(TComponent* owner, long& heard) : TComponent(owner), FHeard(heard) {}
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        ++FHeard;
        if (operation == opRemove && component == Target)
            Target = nullptr;
    }
    void SetTarget(TComponent* target)
    {
        Target = target;
        if (target)
            target->FreeNotification(this);
    }
    TComponent* Target = nullptr;

private:
    long& FHeard;
};

// Freeing one component tells the others of its owner; freeing the owner tells each
// component only what it asked to hear, so the count grows with n, not n².
TEST(Component, FreeingAnOwnerNotifiesLinearly)
{
    for (const int n : {1000, 4000}) {
        SCOPED_TRACE(n);
        long heard = 0;
        auto* owner = new TComponent(nullptr);
        std::vector<TListener*> all;
        for (int i = 0; i < n; ++i)
            all.push_back(new TListener(owner, heard));
        EXPECT_LE(heard, 0) << "an insertion is told to the owner only";

        // One freed alone: every other component hears of it.
        delete all.back();
        all.pop_back();
        EXPECT_EQ(heard, n - 1);

        // Each refers to the first one through a free notification.
        for (int i = 1; i < n - 1; ++i)
            all[static_cast<std::size_t>(i)]->SetTarget(all.front());
        heard = 0;
        delete owner;
        EXPECT_LE(heard, 2L * n);
    }
}

TEST(Component, AReferenceIsDroppedWhateverOrderTheOwnerFreesIn)
{
    long heard = 0;
    TComponent owner(nullptr);
    auto* early = new TListener(&owner, heard);
    auto* late = new TListener(&owner, heard);
    early->SetTarget(late);  // freed first (last first): early must hear of it
    late->SetTarget(early);
    owner.DestroyComponents();
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(owner.ComponentState() & csDestroying, 0u) << "the owner lives on";

    auto* a = new TListener(&owner, heard);
    auto* b = new TListener(&owner, heard);
    a->SetTarget(b);
    delete b;
    EXPECT_EQ(a->Target, nullptr);
}

// A form of 100 000 controls sharing one popup menu (each asked to hear of its going) is
// freed in well under two seconds of processor time, even in a sanitized build (processor
// time: the machine may be busy with other work).
TEST(Component, AHundredThousandControlsAreFreedQuickly)
{
    TPlatformScope platform;
    TLog log;
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 200, 100);
    auto* menu = new TPopupMenu(form);
    for (int i = 0; i < 100000; ++i) {
        auto* probe = new TProbe(form, log, "", Rect(i % 190, 0, i % 190 + 10, 10), clRed);
        probe->SetPopupMenu(menu);
    }
    const std::clock_t start = std::clock();
    delete form;
    const long long ms = (std::clock() - start) * 1000LL / CLOCKS_PER_SEC;
    EXPECT_LT(ms, 2000);
    std::printf("freed 100000 controls in %lld ms of processor time\n", ms);
}

} // namespace
} // namespace hx::test
