#include "host/standin/TableFile.h"

namespace standin {
namespace {

constexpr int kAbsent = -1;

std::vector<std::string> SplitFields(const std::string& text)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        fields.push_back(Trimmed(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) return fields;
        start = comma + 1;
    }
}

int ColumnIndex(const std::vector<TableColumn>& columns, const std::string& name)
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (name == columns[i].name) return static_cast<int>(i);
    }
    return kAbsent;
}

// For each column asked for, its position in the file's records (kAbsent when not there).
std::string MapHeader(const TextLine& header, const std::string& fileName,
                      const std::vector<TableColumn>& columns, std::vector<int>& positions)
{
    positions.assign(columns.size(), kAbsent);
    const std::vector<std::string> names = SplitFields(header.text);
    for (std::size_t position = 0; position < names.size(); ++position) {
        const int column = ColumnIndex(columns, names[position]);
        if (column == kAbsent) return RefusalAt(fileName, header.number, "unknown column \"" + names[position] + "\"");
        if (positions[column] != kAbsent) {
            return RefusalAt(fileName, header.number, "column " + names[position] + " is given twice");
        }
        positions[column] = static_cast<int>(position);
    }
    for (std::size_t column = 0; column < columns.size(); ++column) {
        if (positions[column] == kAbsent && !columns[column].optional) {
            return RefusalAt(fileName, header.number, std::string("column ") + columns[column].name + " is missing");
        }
    }
    return "";
}

}  // namespace

std::string ParseTable(const std::vector<TextLine>& lines, const std::string& fileName,
                       const std::vector<TableColumn>& columns, std::vector<TableRecord>& records)
{
    records.clear();
    const TextLine* header = nullptr;
    std::vector<int> positions;
    std::size_t headerFields = 0;
    for (const TextLine& line : lines) {
        if (IsBlankOrComment(line.text)) continue;
        if (header == nullptr) {
            header = &line;
            const std::string refusal = MapHeader(line, fileName, columns, positions);
            if (!refusal.empty()) return refusal;
            headerFields = SplitFields(line.text).size();
            continue;
        }
        const std::vector<std::string> fields = SplitFields(line.text);
        if (fields.size() != headerFields) {
            return RefusalAt(fileName, line.number, std::to_string(fields.size()) + " fields, the header names " +
                                                        std::to_string(headerFields));
        }
        TableRecord record{line.number, {}};
        for (const int position : positions) record.fields.push_back(position == kAbsent ? "" : fields[position]);
        records.push_back(std::move(record));
    }
    if (header == nullptr) return fileName + ": no header line (the file is empty)";
    return "";
}

}  // namespace standin
