#include "base/rc_vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

TEST(GrowCapacity, FollowsTheIncrementOrDoubles)
{
    EXPECT_EQ(Wex::GrowCapacity(8, 0, 8), 8);
    EXPECT_EQ(Wex::GrowCapacity(8, 0, 3), 8);
    EXPECT_EQ(Wex::GrowCapacity(0, 0, 1), 1);
    EXPECT_EQ(Wex::GrowCapacity(0, 0, 5), 5);
    EXPECT_EQ(Wex::GrowCapacity(4, 0, 5), 8);
    EXPECT_EQ(Wex::GrowCapacity(4, 0, 20), 20);
    EXPECT_EQ(Wex::GrowCapacity(4, 10, 5), 14);
    EXPECT_EQ(Wex::GrowCapacity(4, 10, 30), 30);
    EXPECT_EQ(Wex::GrowCapacity(0, 3, 1), 3);
}

TEST(GrowCapacity, SaturatesInsteadOfOverflowing)
{
    EXPECT_EQ(Wex::GrowCapacity(kMax / 2 + 1, 0, kMax / 2 + 2), kMax);
    EXPECT_EQ(Wex::GrowCapacity(kMax - 1, 10, kMax), kMax);
}

TEST(RCVector, DoublesFromEmptyAndKeepsOrder)
{
    ref<Wex::rcVector<int>> v(new Wex::rcVector<int>());
    std::vector<int64_t> capacities;
    for (int i = 0; i < 9; ++i) {
        v->Append(i);
        capacities.push_back(v->GetCapacity());
    }
    EXPECT_EQ(capacities, (std::vector<int64_t>{1, 2, 4, 4, 8, 8, 8, 8, 16}));
    EXPECT_EQ(std::vector<int>(v->begin(), v->end()), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(RCVector, InsertKeepsStorageWhileItFitsAndMovesTheTail)
{
    ref<Wex::rcVector<char>> v(new Wex::rcVector<char>("abcdef", 6));
    v->SetGrowthIncrement(10);
    v->Insert(6, "g", 1);
    EXPECT_EQ(v->GetCapacity(), 16);
    const char* storage = v->GetData();
    v->Insert(2, "XY", 2);
    EXPECT_EQ(v->GetData(), storage);
    EXPECT_STREQ(v->GetData(), "abXYcdefg");
    v->Insert(0, "0123456789", 10);
    EXPECT_NE(v->GetData(), storage);
    EXPECT_EQ(v->GetCapacity(), 26);
    EXPECT_STREQ(v->GetData(), "0123456789abXYcdefg");
    EXPECT_EQ(v->GetSize(), 19);
}

TEST(RCVector, TextVectorsStayTerminatedAfterEveryChange)
{
    ref<Wex::rcVector<UniChar>> v(new Wex::rcVector<UniChar>(3));
    EXPECT_EQ(v->GetSize(), 3);
    EXPECT_EQ((*v)[3], 0);
    (*v)[0] = u'a';
    (*v)[1] = u'b';
    (*v)[2] = u'c';
    v->Remove(1, 1);
    EXPECT_EQ(v->GetSize(), 2);
    EXPECT_EQ(std::u16string(v->GetData()), u"ac");
    v->SetSize(1);
    EXPECT_EQ(std::u16string(v->GetData()), u"a");
    v->SetSize(3);
    EXPECT_EQ(v->GetSize(), 3);
    EXPECT_EQ((*v)[1], 0);
    EXPECT_EQ((*v)[3], 0);
}

TEST(RCVector, InsertingItsOwnEntriesCopiesThemFirst)
{
    ref<Wex::rcVector<char>> v(new Wex::rcVector<char>("abc", 3));
    v->Insert(1, v->GetData(), 3);
    EXPECT_STREQ(v->GetData(), "aabcbc");
    v->Insert(0, v->GetData() + 4, 2);
    EXPECT_STREQ(v->GetData(), "bcaabcbc");
}

struct Tracked : Wex::rc {
    Tracked(int id, std::vector<int>* log) : fId(id), fLog(log) {}
    ~Tracked() override { fLog->push_back(fId); }
    int fId;
    std::vector<int>* fLog;
};

TEST(RCVector, HoldsOneReferencePerEntryAndReleasesFirstToLast)
{
    std::vector<int> destroyed;
    std::vector<ref<Tracked>> objects;
    for (int i = 0; i < 5; ++i) {
        objects.emplace_back(new Tracked(i, &destroyed));
    }
    {
        ref<Wex::rcVector<ref<Tracked>>> v(new Wex::rcVector<ref<Tracked>>());
        for (const auto& object : objects) {
            v->Insert(0, object); // reversed, with growth moves on the way
        }
        for (const auto& object : objects) {
            EXPECT_EQ(object->GetReferenceCount(), 2);
        }
        v->Remove(1, 2); // drops 3 and 2
        EXPECT_EQ(objects[3]->GetReferenceCount(), 1);
        EXPECT_EQ(objects[2]->GetReferenceCount(), 1);
        (*v)[0] = objects[0]; // overwriting releases 4
        EXPECT_EQ(objects[4]->GetReferenceCount(), 1);
        EXPECT_EQ(objects[0]->GetReferenceCount(), 3);
        v->Append(objects[4]);
        objects.clear(); // 2 and 3 had no other holder
        std::sort(destroyed.begin(), destroyed.end());
        EXPECT_EQ(destroyed, (std::vector<int>{2, 3}));
    }
    // The vector held [0, 1, 0, 4]: 1 goes at its only release, 0 at its second.
    EXPECT_EQ(destroyed, (std::vector<int>{2, 3, 1, 0, 4}));
}

TEST(RCVector, DestructionReleasesEntriesInOrder)
{
    std::vector<int> destroyed;
    {
        ref<Wex::rcVector<ref<Tracked>>> v(new Wex::rcVector<ref<Tracked>>());
        for (int i = 0; i < 4; ++i) {
            v->Append(ref<Tracked>(new Tracked(i, &destroyed)));
        }
    }
    EXPECT_EQ(destroyed, (std::vector<int>{0, 1, 2, 3}));
}

TEST(RCVector, WriteAtGrowsToCoverTheCopiedEntries)
{
    ref<Wex::rcVector<char>> source(new Wex::rcVector<char>("hello", 5));
    ref<Wex::rcVector<char>> v(new Wex::rcVector<char>("ab", 2));
    EXPECT_EQ(v->Write(4, *source, 1, 3), 3);
    EXPECT_EQ(v->GetSize(), 7);
    EXPECT_EQ(std::string(v->GetData(), 7), std::string("ab\0\0ell", 7));
    v->WriteAt(0, *v, 4, 3);
    EXPECT_EQ(std::string(v->GetData(), 7), std::string("ell\0ell", 7));
    v->WriteAt(2, *v, 0, 3); // overlapping forwards
    EXPECT_EQ(std::string(v->GetData(), 7), std::string("elellll"));
    EXPECT_EQ(v->GetMaxSize(), kMax);
}

TEST(RCVector, BadPositionsAndCountsThrow)
{
    ref<Wex::rcVector<char>> v(new Wex::rcVector<char>("abc", 3));
    EXPECT_THROW(v->Insert(4, "x", 1), QorDebug::Assert);
    EXPECT_THROW(v->Insert(-1, "x", 1), QorDebug::Assert);
    EXPECT_THROW(v->Insert(0, "x", -1), QorDebug::Assert);
    EXPECT_THROW(v->Remove(2, 2), QorDebug::Assert);
    EXPECT_THROW(v->SetSize(-1), QorDebug::Assert);
    EXPECT_THROW(v->WriteAt(0, *v, 2, 2), QorDebug::Assert);
    EXPECT_THROW(Wex::rcVector<char>(-2), QorDebug::Assert);
    EXPECT_THROW(v->SetSize(kMax), std::bad_alloc);
    EXPECT_STREQ(v->GetData(), "abc");
}

TEST(ARef, IndexesTheHeldVector)
{
    aref<Wex::rcVector<int*>> list;
    EXPECT_EQ(list.GetSize(), 0);
    int a = 0;
    int b = 0;
    list = new Wex::rcVector<int*>();
    list->Append(&a);
    list->Append(&b);
    EXPECT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list[1], &b);
}

} // namespace
