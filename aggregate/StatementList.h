#pragma once
// The in-memory statement: the rows in the order the aggregation appended them, which is the
// order the host's summation rule delivered them. The list owns every row appended to it.

#include <cstddef>
#include <memory>
#include <vector>

#include "aggregate/StatementEntry.h"

class StatementList {
public:
    using Entries = std::vector<std::unique_ptr<StatementEntry>>;
    using const_iterator = Entries::const_iterator;

    // Takes the row over. False when the list could not grow: the row is then freed and the
    // list is as it was.
    bool Append(std::unique_ptr<StatementEntry> entry);
    size_t GetCount() const;
    bool IsEmpty() const;

    // Front to back; each element is the owning pointer of a row (entry->code).
    const_iterator begin() const { return m_entries.begin(); }
    const_iterator end() const { return m_entries.end(); }

    // Frees every row; the list is empty afterwards.
    void RemoveAll();

private:
    Entries m_entries;
};
