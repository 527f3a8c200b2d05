#pragma once

// The stand-in's tables: comma-separated text, a header line naming the columns (in any
// order), then one record per line. Fields are not quoted, so no field holds a comma;
// blanks around a field are removed. Blank lines and '#' or ';' comment lines are skipped.

#include <string>
#include <vector>

#include "host/standin/TextFile.h"

namespace standin {

struct TableColumn {
    const char* name;
    bool optional;
};

struct TableRecord {
    int line;
    std::vector<std::string> fields;   // in the order of the columns asked for; "" for an absent optional column
};

// Returns "" or the refusal: no header line, a column missing, unknown or given twice,
// a record with another number of fields than the header.
std::string ParseTable(const std::vector<TextLine>& lines, const std::string& fileName,
                       const std::vector<TableColumn>& columns, std::vector<TableRecord>& records);

}  // namespace standin
