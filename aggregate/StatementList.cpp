#include "aggregate/StatementList.h"

void StatementList::Append(StatementEntry* entry)
{
    m_entries.push_back(entry);
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
