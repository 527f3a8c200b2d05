#pragma once
// The in-memory statement: references to the rows in the order the aggregation appended
// them, which is the order the host's summation rule delivered them. The list never owns
// the rows: the application allocates and frees them.

#include <cstddef>
#include <vector>

#include "aggregate/StatementEntry.h"

class StatementList {
public:
    using Entries = std::vector<StatementEntry*>;
    using iterator = Entries::iterator;
    using const_iterator = Entries::const_iterator;

    void Append(StatementEntry* entry);
    size_t GetCount() const;
    bool IsEmpty() const;

    // Front to back. Iterators yield StatementEntry*& so that the owner can free a row and
    // clear its reference in one pass.
    iterator begin() { return m_entries.begin(); }
    iterator end() { return m_entries.end(); }
    const_iterator begin() const { return m_entries.begin(); }
    const_iterator end() const { return m_entries.end(); }

    // Drops every reference; the rows themselves are left as they are.
    void RemoveAll();

private:
    Entries m_entries;
};
