#include "aggregate/StatementList.h"

#include <new>

bool StatementList::Append(std::unique_ptr<StatementEntry> entry)
{
    try {
        m_entries.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

size_t StatementList::GetCount() const
{
    return m_entries.size();
}

bool StatementList::IsEmpty() const
{
    return m_entries.empty();
}

void StatementList::RemoveAll()
{
    m_entries.clear();
}
