#include "util/collections.h"

#include <algorithm>

namespace zf {

EIndexOutOfRangeException::EIndexOutOfRangeException()
    : Exception(QStringLiteral("TOVObjectVector: Index out of range."))
{
}

EInvalidIteratorException::EInvalidIteratorException()
    : Exception(QStringLiteral("TOVObjectListIterator: Invalid Iterator."))
{
}

EEmptyVectorException::EEmptyVectorException()
    : Exception(QStringLiteral("TOVObjectVector: Vector is empty."))
{
}

TOVObject::~TOVObject() = default;

void TOVObject::FreeItems()
{
    // An item's destructor may touch the container, so each item leaves the list before it is
    // deleted. An item stored more than once leaves with all its copies, so it is deleted once.
    while (!m_items.empty()) {
        TOVItem* item = m_items.front();
        m_items.erase(m_items.begin());
        std::erase(m_items, item);
        delete item;
    }
}

void TOVObject::FreeWithItems(std::unique_ptr<TOVObject> container)
{
    if (container)
        container->FreeItems();
}

TOVObjectIterator* TOVObjectList::CreateIterator()
{
    m_iterators.push_back(std::make_unique<TOVObjectListIterator>(this));
    return m_iterators.back().get();
}

void TOVObjectList::ReleaseIterator(TOVObjectIterator* iterator)
{
    const auto it = std::find_if(m_iterators.begin(), m_iterators.end(),
                                 [iterator](const auto& owned) { return owned.get() == iterator; });
    if (it != m_iterators.end())
        m_iterators.erase(it);
}

int TOVObjectVector::Add(TOVItem* item)
{
    m_items.push_back(item);
    return Count() - 1;
}

TOVItem* TOVObjectVector::PopBack()
{
    if (m_items.empty())
        throw EEmptyVectorException();
    TOVItem* item = m_items.back();
    m_items.pop_back();
    return item;
}

TOVItem* TOVObjectVector::RemoveAt(int index)
{
    checkIndex(index);
    TOVItem* item = m_items[static_cast<size_t>(index)];
    m_items.erase(m_items.begin() + index);
    return item;
}

TOVItem* TOVObjectVector::GetAt(int index) const
{
    checkIndex(index);
    return m_items[static_cast<size_t>(index)];
}

void TOVObjectVector::checkIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EIndexOutOfRangeException();
}

TOVItem* TOVObjectListIterator::Next()
{
    if (m_position < 0 || m_position >= m_list->Count())
        throw EInvalidIteratorException();
    return m_list->GetAt(m_position++);
}

bool TOVObjectListIterator::HasNext() const
{
    return m_position < m_list->Count();
}

} // namespace zf
