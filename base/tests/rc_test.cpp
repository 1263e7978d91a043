#include "base/rc.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

struct Tracked : Wex::rc {
    explicit Tracked(int* destroyed) : fDestroyed(destroyed) {}
    ~Tracked() override { ++*fDestroyed; }
    int* fDestroyed;
};

struct iGreeter {
    virtual ~iGreeter() = default;
    virtual int Greet() = 0;
};

struct iCounter {
    virtual ~iCounter() = default;
    virtual int Count() = 0;
};

// The interfaces sit at different offsets, so a wrong pointer adjustment shows.
struct Both : Tracked, iGreeter, iCounter {
    using Tracked::Tracked;
    int Greet() override { return 1; }
    int Count() override { return 2; }
};

TEST(Ref, CopiesAndMovesKeepOneObjectAliveUntilTheLastReferenceGoes)
{
    int destroyed = 0;
    {
        ref<Tracked> a(new Tracked(&destroyed));
        EXPECT_EQ(a->GetReferenceCount(), 1);
        ref<Tracked> b = a;
        EXPECT_EQ(a->GetReferenceCount(), 2);
        ref<Tracked> c = std::move(b);
        EXPECT_FALSE(b);
        EXPECT_EQ(c->GetReferenceCount(), 2);
        const ref<Tracked>& same = c;
        c = same; // self-assignment keeps the reference
        EXPECT_EQ(c->GetReferenceCount(), 2);
        a = nullptr;
        EXPECT_EQ(destroyed, 0);
        EXPECT_EQ(c->GetReferenceCount(), 1);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(Ref, AssigningReleasesTheOldObjectAndConvertsToBase)
{
    int destroyed = 0;
    ref<Both> derived(new Both(&destroyed));
    ref<Wex::rc> base = derived;
    EXPECT_TRUE(base == derived);
    EXPECT_EQ(derived->GetReferenceCount(), 2);
    base = ref<Tracked>(new Tracked(&destroyed));
    EXPECT_EQ(derived->GetReferenceCount(), 1);
    derived = nullptr;
    EXPECT_EQ(destroyed, 1);
    base = nullptr;
    EXPECT_EQ(destroyed, 2);
}

TEST(Ref, ReleasingNullIsIgnoredAndDetachHandsOverTheReference)
{
    Wex::ReleaseReference(nullptr);
    Wex::AddReference(nullptr);
    int destroyed = 0;
    ref<Tracked> a(new Tracked(&destroyed));
    Tracked* raw = a.Detach();
    EXPECT_FALSE(a);
    EXPECT_EQ(raw->GetReferenceCount(), 1);
    Wex::ReleaseReference(raw);
    EXPECT_EQ(destroyed, 1);
}

Wex::rc* gLastDeleted = nullptr;

void RecordingDeleter(Wex::rc* object)
{
    gLastDeleted = object;
    delete object;
}

TEST(Ref, TheGlobalDeleterIsReplaceable)
{
    int destroyed = 0;
    const Wex::Deleter previous = Wex::SetDeleter(RecordingDeleter);
    auto* object = new Tracked(&destroyed);
    { ref<Tracked> a(object); }
    EXPECT_EQ(gLastDeleted, object);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(Wex::SetDeleter(previous), RecordingDeleter);
}

TEST(Ref, CountsStayExactUnderConcurrentCopies)
{
    int destroyed = 0;
    ref<Tracked> shared(new Tracked(&destroyed));
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([shared] {
            for (int i = 0; i < 20000; ++i) {
                ref<Tracked> copy = shared;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(shared->GetReferenceCount(), 1);
    shared = nullptr;
    EXPECT_EQ(destroyed, 1);
}

TEST(IRef, HoldsTheObjectAndCallsTheRightInterface)
{
    int destroyed = 0;
    auto* object = new Both(&destroyed);
    iref<iCounter> counter(object);
    iref<iGreeter> greeter(object);
    EXPECT_EQ(object->GetReferenceCount(), 2);
    EXPECT_EQ(counter->Count(), 2);
    EXPECT_EQ(greeter->Greet(), 1);
    EXPECT_EQ(counter.Get(), static_cast<iCounter*>(object));
    EXPECT_EQ(counter.GetObject(), static_cast<Wex::rc*>(object));

    iref<iCounter> same{ref<Both>(object)};
    EXPECT_TRUE(same == counter);
    EXPECT_FALSE(counter == iref<iCounter>());
    greeter = nullptr;
    counter = nullptr;
    EXPECT_EQ(destroyed, 0);
    same = nullptr;
    EXPECT_EQ(destroyed, 1);
}

TEST(IRef, ObjectAndInterfaceMayBeGivenSeparately)
{
    int destroyed = 0;
    auto* owner = new Tracked(&destroyed);
    struct Part : iCounter {
        int Count() override { return 7; }
    } part;
    {
        iref<iCounter> counter(owner, &part);
        EXPECT_EQ(counter->Count(), 7);
        EXPECT_EQ(owner->GetReferenceCount(), 1);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(IRef, AMovedFromReferenceIsEmpty)
{
    int destroyed = 0;
    auto* object = new Both(&destroyed);
    iref<iCounter> counter(object);
    iref<iCounter> moved(std::move(counter));
    EXPECT_FALSE(counter);
    EXPECT_EQ(counter.GetObject(), nullptr);
    EXPECT_EQ(moved->Count(), 2);

    iref<iCounter> assigned;
    assigned = std::move(moved);
    EXPECT_FALSE(moved);
    EXPECT_EQ(object->GetReferenceCount(), 1);
    assigned = nullptr;
    EXPECT_EQ(destroyed, 1);
}

} // namespace
