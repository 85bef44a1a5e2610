#pragma once

#include "util/exception.h"

#include <memory>
#include <vector>

namespace zf {

// What the containers hold: any object that can be deleted through this base, so that
// FreeItems and FreeWithItems can free items of any kind.
class TOVItem
{
public:
    virtual ~TOVItem() = default;
};

class EIndexOutOfRangeException : public Exception
{
public:
    EIndexOutOfRangeException();
};

class EInvalidIteratorException : public Exception
{
public:
    EInvalidIteratorException();
};

class EEmptyVectorException : public Exception
{
public:
    EEmptyVectorException();
};

class TOVObjectIterator
{
public:
    virtual ~TOVObjectIterator() = default;
    virtual TOVItem* Next() = 0;
    virtual bool HasNext() const = 0;
};

// A container of item pointers. It does not own its items (FreeItems and FreeWithItems free
// them on request), but it owns every iterator it hands out: those still registered are freed
// with it.
class TOVObject
{
public:
    TOVObject() = default;
    TOVObject(const TOVObject&) = delete;
    TOVObject& operator=(const TOVObject&) = delete;
    virtual ~TOVObject();

    virtual TOVObjectIterator* CreateIterator() = 0;
    // Unregisters and frees the iterator; one this container did not hand out is left alone.
    virtual void ReleaseIterator(TOVObjectIterator* iterator) = 0;

    int Count() const { return static_cast<int>(m_items.size()); }

    // Frees every item, first to last, each removed from the container before it is freed.
    void FreeItems();
    // Frees every item and then the container itself.
    static void FreeWithItems(std::unique_ptr<TOVObject> container);

protected:
    std::vector<TOVItem*> m_items;
    std::vector<std::unique_ptr<TOVObjectIterator>> m_iterators;
};

class TOVObjectList : public TOVObject
{
public:
    TOVObjectIterator* CreateIterator() override;
    void ReleaseIterator(TOVObjectIterator* iterator) override;

    // Returns the index of the new last item.
    virtual int Add(TOVItem* item) = 0;
    // The removed item is not freed.
    virtual TOVItem* PopBack() = 0;
    virtual TOVItem* RemoveAt(int index) = 0;
    virtual TOVItem* GetAt(int index) const = 0;
};

class TOVObjectVector : public TOVObjectList
{
public:
    int Add(TOVItem* item) override;
    TOVItem* PopBack() override;
    TOVItem* RemoveAt(int index) override;
    TOVItem* GetAt(int index) const override;

private:
    void checkIndex(int index) const;
};

// Walks a list by position; it asks the list for its count on every step, so items added
// during the walk are reached.
class TOVObjectListIterator : public TOVObjectIterator
{
public:
    explicit TOVObjectListIterator(const TOVObjectList* list) : m_list(list) {}

    TOVItem* Next() override;
    bool HasNext() const override;

private:
    const TOVObjectList* m_list; // not owned
    int m_position = 0;
};

} // namespace zf
