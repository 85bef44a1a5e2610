#include "util/collections.h"

#include "tests/util/print.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zf {
namespace {

// Records its own deletion and how many items its container still held at that moment.
class TrackedItem : public TOVItem
{
public:
    TrackedItem(int id, std::vector<int>& deleted, std::vector<int>& countsSeen,
                const TOVObject* owner)
        : m_id(id), m_deleted(deleted), m_countsSeen(countsSeen), m_owner(owner)
    {
    }
    ~TrackedItem() override
    {
        m_deleted.push_back(m_id);
        if (m_owner)
            m_countsSeen.push_back(m_owner->Count());
    }
    int id() const { return m_id; }

private:
    int m_id;
    std::vector<int>& m_deleted;
    std::vector<int>& m_countsSeen;
    const TOVObject* m_owner;
};

class CountedIterator : public TOVObjectListIterator
{
public:
    CountedIterator(const TOVObjectList* list, int& alive)
        : TOVObjectListIterator(list), m_alive(alive)
    {
        ++m_alive;
    }
    ~CountedIterator() override { --m_alive; }

private:
    int& m_alive;
};

// Hands out iterators that count themselves, to see who frees them.
class CountingVector : public TOVObjectVector
{
public:
    CountingVector(int& aliveIterators, bool* destroyed = nullptr)
        : m_alive(aliveIterators), m_destroyed(destroyed)
    {
    }
    ~CountingVector() override
    {
        if (m_destroyed)
            *m_destroyed = true;
    }
    TOVObjectIterator* CreateIterator() override
    {
        m_iterators.push_back(std::make_unique<CountedIterator>(this, m_alive));
        return m_iterators.back().get();
    }

private:
    int& m_alive;
    bool* m_destroyed;
};

class ObjectVectorTest : public ::testing::Test
{
protected:
    TrackedItem* item(int id, const TOVObject* owner = nullptr)
    {
        return new TrackedItem(id, deleted, countsSeen, owner);
    }
    static int idOf(TOVItem* item) { return static_cast<TrackedItem*>(item)->id(); }

    std::vector<int> deleted;
    std::vector<int> countsSeen;
};

TEST_F(ObjectVectorTest, AddGetRemovePopKeepOrderAndNeverFree)
{
    TOVObjectVector v;
    EXPECT_EQ(v.Add(item(10)), 0);
    EXPECT_EQ(v.Add(item(11)), 1);
    EXPECT_EQ(v.Add(item(12)), 2);
    ASSERT_EQ(v.Count(), 3);
    EXPECT_EQ(idOf(v.GetAt(2)), 12);

    std::unique_ptr<TOVItem> removed(v.RemoveAt(1));
    EXPECT_EQ(idOf(removed.get()), 11);
    ASSERT_EQ(v.Count(), 2);
    EXPECT_EQ(idOf(v.GetAt(1)), 12);

    std::unique_ptr<TOVItem> last(v.PopBack());
    EXPECT_EQ(idOf(last.get()), 12);
    EXPECT_EQ(v.Count(), 1);
    EXPECT_TRUE(deleted.empty());

    delete v.PopBack();
    EXPECT_EQ(deleted, (std::vector<int>{10}));
}

TEST_F(ObjectVectorTest, IndexOutsideTheItemsRaisesWithItsMessage)
{
    TOVObjectVector v;
    v.Add(nullptr);
    v.Add(nullptr);
    for (int index : {-1, 2, 100}) {
        try {
            v.GetAt(index);
            ADD_FAILURE() << "GetAt(" << index << ") did not raise";
        } catch (const EIndexOutOfRangeException& e) {
            EXPECT_EQ(e.message(), QStringLiteral("TOVObjectVector: Index out of range."));
        }
        EXPECT_THROW(v.RemoveAt(index), EIndexOutOfRangeException);
    }
    EXPECT_EQ(v.Count(), 2);
}

TEST_F(ObjectVectorTest, PopBackOfEmptyVectorRaises)
{
    TOVObjectVector v;
    try {
        v.PopBack();
        ADD_FAILURE() << "PopBack did not raise";
    } catch (const EEmptyVectorException& e) {
        EXPECT_EQ(e.message(), QStringLiteral("TOVObjectVector: Vector is empty."));
    }
    v.Add(nullptr);
    v.PopBack();
    EXPECT_THROW(v.PopBack(), EEmptyVectorException);
}

TEST_F(ObjectVectorTest, ExceptionsAreTheProgramsOwn)
{
    TOVObjectVector v;
    EXPECT_THROW(v.GetAt(0), Exception);
    EXPECT_THROW(v.PopBack(), Exception);
}

TEST_F(ObjectVectorTest, IteratorOverEmptyVectorHasNothing)
{
    TOVObjectVector v;
    TOVObjectIterator* it = v.CreateIterator();
    EXPECT_FALSE(it->HasNext());
    try {
        it->Next();
        ADD_FAILURE() << "Next did not raise";
    } catch (const EInvalidIteratorException& e) {
        EXPECT_EQ(e.message(), QStringLiteral("TOVObjectListIterator: Invalid Iterator."));
    }
}

TEST_F(ObjectVectorTest, IteratorWalksInOrderAndReachesItemsAddedOnTheWay)
{
    TOVObjectVector v;
    std::vector<std::unique_ptr<TOVItem>> items;
    for (int id = 0; id < 4; ++id)
        items.emplace_back(item(id));
    v.Add(items[0].get());
    v.Add(items[1].get());

    TOVObjectIterator* it = v.CreateIterator();
    std::vector<int> seen;
    while (it->HasNext()) {
        seen.push_back(idOf(it->Next()));
        if (seen.size() == 2)
            v.Add(items[2].get());
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
    EXPECT_THROW(it->Next(), EInvalidIteratorException);

    // A second iterator starts from the first item, independently of the first one.
    TOVObjectIterator* again = v.CreateIterator();
    EXPECT_EQ(idOf(again->Next()), 0);
    v.Add(items[3].get());
    EXPECT_TRUE(it->HasNext());
    EXPECT_EQ(idOf(it->Next()), 3);
}

TEST_F(ObjectVectorTest, IteratorPastShrunkVectorIsInvalid)
{
    TOVObjectVector v;
    v.Add(nullptr);
    v.Add(nullptr);
    TOVObjectIterator* it = v.CreateIterator();
    it->Next();
    v.PopBack();
    EXPECT_FALSE(it->HasNext());
    EXPECT_THROW(it->Next(), EInvalidIteratorException);
}

TEST_F(ObjectVectorTest, IteratorsAreFreedByReleaseOrWithTheirContainer)
{
    int alive = 0;
    {
        CountingVector v(alive);
        TOVObjectIterator* a = v.CreateIterator();
        v.CreateIterator();
        v.CreateIterator();
        EXPECT_EQ(alive, 3);
        v.ReleaseIterator(a);
        EXPECT_EQ(alive, 2);
    }
    EXPECT_EQ(alive, 0);
}

TEST_F(ObjectVectorTest, ReleasingAnotherContainersIteratorLeavesItAlone)
{
    int alive = 0;
    CountingVector owner(alive);
    CountingVector other(alive);
    owner.Add(nullptr);
    TOVObjectIterator* it = owner.CreateIterator();
    other.ReleaseIterator(it);
    other.ReleaseIterator(nullptr);
    EXPECT_EQ(alive, 1);
    EXPECT_TRUE(it->HasNext());
}

TEST_F(ObjectVectorTest, DestroyingTheContainerLeavesTheItems)
{
    auto kept = std::unique_ptr<TrackedItem>(item(1));
    {
        TOVObjectVector v;
        v.Add(kept.get());
    }
    EXPECT_TRUE(deleted.empty());
}

TEST_F(ObjectVectorTest, FreeItemsFreesFirstToLastEachRemovedBeforehand)
{
    TOVObjectVector v;
    for (int id = 0; id < 3; ++id)
        v.Add(item(id, &v));
    v.FreeItems();
    EXPECT_EQ(deleted, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(countsSeen, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(v.Count(), 0);

    // The container stays usable.
    v.Add(item(7));
    v.FreeItems();
    EXPECT_EQ(deleted.back(), 7);
}

TEST_F(ObjectVectorTest, FreeItemsFreesAnItemStoredTwiceOnce)
{
    TOVObjectVector v;
    TrackedItem* twice = item(5);
    v.Add(twice);
    v.Add(item(6));
    v.Add(twice);
    v.FreeItems();
    EXPECT_EQ(deleted, (std::vector<int>{5, 6}));
    EXPECT_EQ(v.Count(), 0);
}

TEST_F(ObjectVectorTest, FreeWithItemsFreesItemsThenTheContainerAndItsIterators)
{
    int alive = 0;
    bool destroyed = false;
    auto v = std::make_unique<CountingVector>(alive, &destroyed);
    v->Add(item(1));
    v->Add(item(2));
    v->CreateIterator();
    TOVObject::FreeWithItems(std::move(v));
    EXPECT_EQ(deleted, (std::vector<int>{1, 2}));
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(alive, 0);

    TOVObject::FreeWithItems(nullptr); // nothing to free
}

} // namespace
} // namespace zf
