#include <algorithm>
#include <cstring>
#include <limits>

#include "framework/CodePage.h"
#include "host/standin/Cp932Text.h"
#include "host/standin/HostDataLoading.h"
#include "host/standin/TableFile.h"
#include "host/standin/ValueText.h"

namespace standin {
namespace {

constexpr int kSlots = 15;

// Reads the fields of one table record; the first problem is kept and names the line.
class RecordReader {
public:
    RecordReader(const std::string& fileName, const TableRecord& record) : fileName_(fileName), record_(record) {}

    // An optional column that is absent or empty reads as 0.
    int64_t Integer(std::size_t field, const char* column, int64_t minimum, int64_t maximum, bool optional = false)
    {
        int64_t value = 0;
        const std::string& text = record_.fields[field];
        if (!(optional && text.empty()) && !ParseInteger(text, minimum, maximum, value)) {
            Refuse(std::string(column) + " \"" + text + "\" must be a whole number from " + std::to_string(minimum) +
                   " to " + std::to_string(maximum));
        }
        return value;
    }

    uint32_t Bits(std::size_t field, const char* column)
    {
        uint32_t value = 0;
        const std::string& text = record_.fields[field];
        if (!text.empty() && !ParseBits(text, value)) {
            Refuse(std::string(column) + " \"" + text + "\" must be 32 bits in decimal or 0x hexadecimal");
        }
        return value;
    }

    // The amounts of an optional column; when it is absent or empty, a copy of `standIn`.
    void AmountsOr(std::size_t field, const char* column, const int64_t (&standIn)[kSlots], int64_t (&slots)[kSlots])
    {
        if (record_.fields[field].empty()) {
            std::copy(std::begin(standIn), std::end(standIn), std::begin(slots));
            return;
        }
        Amounts(field, column, slots);
    }

    // Up to 15 amounts separated by blanks; slots not written are zero.
    void Amounts(std::size_t field, const char* column, int64_t (&slots)[kSlots])
    {
        std::memset(slots, 0, sizeof slots);
        const std::string& text = record_.fields[field];
        std::size_t pos = 0;
        for (int slot = 0;; ++slot) {
            pos = text.find_first_not_of(" \t", pos);
            if (pos == std::string::npos) return;
            const std::size_t end = std::min(text.find_first_of(" \t", pos), text.size());
            const std::string amount = text.substr(pos, end - pos);
            pos = end;
            if (slot == kSlots) {
                Refuse(std::string(column) + " has more than 15 amounts");
                return;
            }
            AmountIntoSlot(amount, column, slot, slots[slot]);
        }
    }

    std::string HostText(std::size_t field, const char* column)
    {
        std::string cp932;
        if (!Cp932FromUtf8(record_.fields[field], cp932)) {
            Refuse(std::string(column) + " has a character without a code page 932 form");
        }
        return cp932;
    }

    void Refuse(const std::string& what)
    {
        if (refusal_.empty()) refusal_ = RefusalAt(fileName_, record_.line, what);
    }

    const std::string& Refusal() const { return refusal_; }

private:
    void AmountIntoSlot(const std::string& amount, const char* column, int slot, int64_t& value)
    {
        const std::string where = std::string(column) + " slot " + std::to_string(slot) + " \"" + amount + "\": ";
        switch (ParseYenAmount(amount, value)) {
        case AmountProblem::None: return;
        case AmountProblem::NotANumber: Refuse(where + "amount is not a number"); return;
        case AmountProblem::TooManyDecimals: Refuse(where + "amount has more than four decimals"); return;
        case AmountProblem::OutOfRange: Refuse(where + "amount is out of range"); return;
        }
    }

    const std::string& fileName_;
    const TableRecord& record_;
    std::string refusal_;
};

std::string ReadTable(const std::wstring& path, const std::string& fileName, const std::vector<TableColumn>& columns,
                      std::vector<TableRecord>& records)
{
    std::vector<TextLine> lines;
    std::string refusal = ReadTextLines(path, fileName, lines);
    if (refusal.empty()) refusal = ParseTable(lines, fileName, columns, records);
    return refusal;
}

// Columns of the accounts table, in the order the fields arrive.
enum AccountColumn { kAccountCode, kAccountClass, kAccountNote };
const std::vector<TableColumn> kAccountColumns = {{"code", false}, {"class", false}, {"note", true}};

// Columns of the rows table, in the order the fields arrive.
enum RowColumn {
    kRowCode, kRowName, kRowExclude1, kRowExclude2, kRowHasSub, kRowBalanceSide, kRowAttributes,
    kRowDebitExcl, kRowDebitIncl, kRowCreditExcl, kRowCreditIncl
};
const std::vector<TableColumn> kRowColumns = {
    {"code", false},       {"name", false},        {"exclude1", true},    {"exclude2", true},
    {"has_sub", false},    {"balance_side", false}, {"attributes", true},  {"debit_excl", false},
    {"debit_incl", true},  {"credit_excl", false}, {"credit_incl", true}};

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

StKAMOKUSUMINFO RowFromRecord(RecordReader& reader)
{
    StKAMOKUSUMINFO row;
    std::memset(&row, 0, sizeof row);
    row.nCode = static_cast<int32_t>(reader.Integer(kRowCode, "code", kInt32Min, kInt32Max));
    const std::string name = reader.HostText(kRowName, "name");
    CopyCp932Text(row.szName, sizeof row.szName, name.data(), name.size());
    row.bExclude1 = static_cast<uint8_t>(reader.Integer(kRowExclude1, "exclude1", 0, 255, true));
    row.bExclude2 = static_cast<uint8_t>(reader.Integer(kRowExclude2, "exclude2", 0, 255, true));
    row.bHasSub = static_cast<uint8_t>(reader.Integer(kRowHasSub, "has_sub", 0, 255));
    row.bBalanceSide = static_cast<uint8_t>(reader.Integer(kRowBalanceSide, "balance_side", 0, 255));
    row.nAttribute = reader.Bits(kRowAttributes, "attributes");
    reader.Amounts(kRowDebitExcl, "debit_excl", row.debitExcl);
    reader.Amounts(kRowCreditExcl, "credit_excl", row.creditExcl);
    // A company without tax-inclusive figures of its own has the same totals either way.
    reader.AmountsOr(kRowDebitIncl, "debit_incl", row.debitExcl, row.debitIncl);
    reader.AmountsOr(kRowCreditIncl, "credit_incl", row.creditExcl, row.creditIncl);
    return row;
}

}  // namespace

// Codes are checked against an index as they arrive, so that a large table loads in time
// proportional to its length.
std::string ReadAccountsTable(const std::wstring& path, const std::string& fileName, CompanyBooks& company)
{
    std::vector<TableRecord> records;
    const std::string refusal = ReadTable(path, fileName, kAccountColumns, records);
    if (!refusal.empty()) return refusal;
    company.accounts.reserve(records.size());
    company.accountByCode.reserve(records.size());
    std::vector<int> lines;
    for (const TableRecord& record : records) {
        RecordReader reader(fileName, record);
        StKAMOKUINFO account;
        std::memset(&account, 0, sizeof account);
        account.nCode = static_cast<int32_t>(reader.Integer(kAccountCode, "code", kInt32Min, kInt32Max));
        account.nClass = static_cast<int8_t>(reader.Integer(kAccountClass, "class", -128, 127));
        if (!reader.Refusal().empty()) return reader.Refusal();
        if (!company.AddAccount(account)) {
            reader.Refuse("code " + std::to_string(account.nCode) + " is given twice (first on line " +
                          std::to_string(lines[company.accountByCode.at(account.nCode)]) + ")");
            return reader.Refusal();
        }
        lines.push_back(record.line);
    }
    return "";
}

std::string ReadRowsTable(const std::wstring& path, const std::string& fileName,
                          std::vector<StKAMOKUSUMINFO>& rows)
{
    std::vector<TableRecord> records;
    const std::string refusal = ReadTable(path, fileName, kRowColumns, records);
    if (!refusal.empty()) return refusal;
    for (const TableRecord& record : records) {
        RecordReader reader(fileName, record);
        const StKAMOKUSUMINFO row = RowFromRecord(reader);
        if (!reader.Refusal().empty()) return reader.Refusal();
        rows.push_back(row);
    }
    return "";
}

}  // namespace standin
