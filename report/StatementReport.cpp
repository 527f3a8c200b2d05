#include "report/StatementReport.h"

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "framework/CodePage.h"
#include "framework/ReplacementFile.h"
#include "framework/WinApp.h"
#include "host/HostRecords.h"
#include "report/CarriedText.h"
#include "report/FullWidthText.h"
#include "report/SupportInfo.h"
#include "report/XmlWriter.h"
#include "res/Edition.h"

namespace {

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";
const char kDefaultProductVersion[] = "17.00.0X";
const UINT kProgramVersionString = 1;
const size_t kLineBytes = 256;
const size_t kRootLineBytes = 500;
const size_t kFullWidthNameBytes = 32;
const int kProgressEnd = 1000;

// The decimal digits of `value`, right-aligned in `width` characters with blanks in front.
// Every entry formats three numbers, so this takes no format string.
template <size_t N>
void FormatNumber(char (&text)[N], int64_t value, size_t width = 0)
{
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    const size_t length = error == std::errc() ? static_cast<size_t>(end - digits) : 0;
    const size_t blanks = width > length ? width - length : 0;
    static_assert(N >= 24, "room for any 64-bit number");
    const size_t padding = std::min(blanks, N - 1 - length);
    std::memset(text, ' ', padding);
    std::memcpy(text + padding, digits, length);
    text[padding + length] = '\0';
}

// Whole yen, cut toward zero, empty for zero. False for a balance beyond the twelve
// characters the receiving program reads (10^12 yen or more, -10^11 yen or less): an empty
// element would read as zero there, so such a balance is never written.
bool FormatAmount(char (&text)[24], int64_t balance)
{
    const int64_t yen = balance / 10000;
    text[0] = '\0';
    if (yen < -99'999'999'999LL || yen > 999'999'999'999LL) return false;
    if (yen != 0) FormatNumber(text, yen);
    return true;
}

// The entry's name, terminated whatever its field holds.
using EntryNameText = char[sizeof StatementEntry::name + 1];
void CopyName(EntryNameText& name, const StatementEntry& entry)
{
    const size_t length = strnlen(entry.name, sizeof entry.name);
    std::memcpy(name, entry.name, length);
    name[length] = '\0';
}

// An account's own row; any other code is a sub-account row of account code / 10000.
bool IsAccountRow(const StatementEntry& entry)
{
    return entry.code % 10000 == 0;
}

// Where the DATA walk stands. A group is a "KANJYOKAMOKU" element left open for the
// sub-accounts that follow their account.
struct DataWalk {
    int accountNumber = 1;
    int subAccountNumber = 1;
    bool groupOpen = false;
    int32_t groupAccount = 0;  // the account code of the open group
    // The account whose sub-accounts are being left out with it: the rest of its run of
    // sub-account rows is passed over without looking ahead again.
    bool leavingOut = false;
    int32_t leftOutAccount = 0;
};

class DataWriter {
public:
    explicit DataWriter(XmlWriter& writer) : writer_(writer) {}

    // The entry `at` points to; the entries after it, up to `end`, are looked at only to head a
    // group whose account row was left out.
    int Entry(StatementList::const_iterator at, StatementList::const_iterator end);
    int Finish() { return walk_.groupOpen ? CloseGroup() : 1; }
    // The entry whose balance the file cannot carry, where the walk stopped; null otherwise.
    const StatementEntry* Refused() const { return refused_; }

private:
    int Account(const StatementEntry& entry);
    int SubAccount(const StatementEntry& entry);
    static const StatementEntry* GroupEndRow(StatementList::const_iterator at, StatementList::const_iterator end);
    int HeadlessGroup(int32_t accountCode, const StatementEntry& groupEnd);
    int AccountHead(int32_t accountCode, const char* name, const char* amount);
    int CloseGroup();
    bool Amount(char (&text)[24], const StatementEntry& entry);

    XmlWriter& writer_;
    char line_[kLineBytes] = {};
    DataWalk walk_;
    const StatementEntry* refused_ = nullptr;
};

// The host delivers an account with sub-accounts as its row, the sub-account rows, and its
// row once more, which ends the group and is not written. Rows the aggregation left out can
// break that order; the walk then still closes every element it opens:
// - a group ends at any account row; only the same account's row is taken as its end;
// - a sub-account row outside its account's group opens a group of its own, with the account
//   code, headed with the name and balance of the account's row after its sub-accounts when
//   that row was kept;
// - sub-accounts follow their account: when neither of its rows was kept (left out, or its
//   code not in the accounts table), they are left out with it. An account element without a
//   name and a balance would be read as a balance of 0 over sub-accounts that are not.
int DataWriter::Entry(StatementList::const_iterator at, StatementList::const_iterator end)
{
    const StatementEntry& entry = **at;
    const int32_t accountCode = entry.code / 10000;
    if (IsAccountRow(entry)) {
        walk_.leavingOut = false;
        if (walk_.groupOpen) {
            const bool endsGroup = accountCode == walk_.groupAccount;
            if (!CloseGroup()) return 0;
            if (endsGroup) return 1;
        }
        return Account(entry);
    }
    if (walk_.groupOpen && accountCode != walk_.groupAccount && !CloseGroup()) return 0;
    if (!walk_.groupOpen) {
        if (walk_.leavingOut && accountCode == walk_.leftOutAccount) return 1;
        const StatementEntry* groupEnd = GroupEndRow(at, end);
        if (groupEnd == nullptr) {
            walk_.leavingOut = true;
            walk_.leftOutAccount = accountCode;
            return 1;
        }
        if (!HeadlessGroup(accountCode, *groupEnd)) return 0;
        walk_.groupOpen = true;
        walk_.groupAccount = accountCode;
    }
    return SubAccount(entry);
}

int DataWriter::Account(const StatementEntry& entry)
{
    EntryNameText name;
    char amount[24];
    CopyName(name, entry);
    if (!Amount(amount, entry) || !AccountHead(entry.code / 10000, name, amount)) return 0;
    if (entry.hasSubAccounts != 0) {
        walk_.groupOpen = true;
        walk_.groupAccount = entry.code / 10000;
        return 1;
    }
    if (!writer_.EndElement(line_, "KANJYOKAMOKU", 2)) return 0;
    ++walk_.accountNumber;
    return 1;
}

// The account's row after the sub-accounts that follow `at`, when the list holds it there.
const StatementEntry* DataWriter::GroupEndRow(StatementList::const_iterator at, StatementList::const_iterator end)
{
    const int32_t accountCode = (*at)->code / 10000;
    for (++at; at != end && (*at)->code / 10000 == accountCode; ++at) {
        if (IsAccountRow(**at)) return &**at;
    }
    return nullptr;
}

int DataWriter::HeadlessGroup(int32_t accountCode, const StatementEntry& groupEnd)
{
    EntryNameText name;
    char amount[24];
    CopyName(name, groupEnd);
    return Amount(amount, groupEnd) && AccountHead(accountCode, name, amount);
}

int DataWriter::AccountHead(int32_t accountCode, const char* name, const char* amount)
{
    char count[24], code[24];
    FormatNumber(count, walk_.accountNumber, 4);
    FormatNumber(code, accountCode);
    return writer_.StartElement(line_, "KANJYOKAMOKU", 2, "Count", count) &&
           writer_.WriteElement(line_, "KANJYOKAMOKU_CODE", code, 3) &&
           writer_.WriteElement(line_, "KANJYOKAMOKU_NAME", name, 3) &&
           writer_.WriteElement(line_, "KANJYOKAMOKU_ZANDAKA", amount, 3);
}

int DataWriter::SubAccount(const StatementEntry& entry)
{
    char count[24], code[24], amount[24];
    EntryNameText name;
    if (!Amount(amount, entry)) return 0;
    FormatNumber(count, walk_.subAccountNumber, 4);
    FormatNumber(code, entry.code % 10000);
    CopyName(name, entry);
    const int written = writer_.StartElement(line_, "HOJYOKAMOKU", 3, "Count", count) &&
                        writer_.WriteElement(line_, "HOJYOKAMOKU_CODE", code, 4) &&
                        writer_.WriteElement(line_, "HOJYOKAMOKU_NAME", name, 4) &&
                        writer_.WriteElement(line_, "HOJYOKAMOKU_ZANDAKA", amount, 4) &&
                        writer_.EndElement(line_, "HOJYOKAMOKU", 3);
    if (written) ++walk_.subAccountNumber;
    return written ? 1 : 0;
}

// The entry's balance as the file carries it; false, with the entry noted, when it cannot.
bool DataWriter::Amount(char (&text)[24], const StatementEntry& entry)
{
    if (FormatAmount(text, entry.balance)) return true;
    refused_ = &entry;
    return false;
}

int DataWriter::CloseGroup()
{
    walk_.groupOpen = false;
    walk_.subAccountNumber = 1;
    ++walk_.accountNumber;
    return writer_.EndElement(line_, "KANJYOKAMOKU", 2);
}

}  // namespace

int16_t StatementReport::SetProgressBase(int16_t base)
{
    progressBase = base;
    return progressBase;
}

void StatementReport::Tick()
{
    m_progress.Tick();
}

void StatementReport::Advance(int from, int to)
{
    m_progress.Advance(static_cast<short>(from), static_cast<short>(to));
}

// The file goes to a fresh file beside the target, which takes the target's place only after
// every line was written and flushed; after any failure the fresh file is gone and the target
// is as it was.
int StatementReport::WriteReport(const char* outputPath, int16_t functionId, const StDATAINFO* company)
{
    m_refusedName.reset();
    CReplacementFile file;
    XmlWriter writer;
    char rootLine[kRootLineBytes] = {};
    writer.Open(&file, outputPath);
    // A file that cannot be created fails these unnoticed and SYSTEM's first line noticed.
    writer.WriteRaw(kDeclaration);
    writer.StartElement(rootLine, "REPORT", 0);
    Tick();

    int result = 0;
    if (WriteSystem(writer, functionId)) {
        Tick();
        if (WriteBasic(writer, company)) {
            Tick();
            if (WriteData(writer)) {
                Tick();
                result = 1;
            }
        }
    }
    const int rootClosed = writer.EndElement(rootLine, "REPORT", 0);
    if (result == 1 && !(rootClosed && file.Commit())) result = 0;
    writer.Close();
    return result;
}

int StatementReport::WriteSystem(XmlWriter& writer, int16_t functionId)
{
    char line[kLineBytes] = {};
    char number[16];
    std::snprintf(number, sizeof number, "%d", static_cast<int>(functionId));
    const CString programVersion = AfxLoadString(kProgramVersionString);

    if (!writer.StartElement(line, "SYSTEM", 1)) return 0;
    const char* const fixed[][2] = {
        {"GYOUMUPREFIX", "RK13"}, {"VERSION", "1"}, {"FUNCTIONID", number}, {"CONNECTEDPROGRAMVER", programVersion}};
    for (const auto& element : fixed) {
        if (!writer.WriteElement(line, element[0], element[1], 2)) return 0;
        Tick();
    }

    // The values point into the support file's block, which lives to the end of the section;
    // the writer cuts them to their lines.
    SupportInfo support;
    const char* productName = support.GetProductName();
    if (*productName == '\0') productName = kEdition.editionName;
    const char* productVersion = support.GetProductVersion();
    if (*productVersion == '\0') productVersion = kDefaultProductVersion;

    if (!writer.WriteElement(line, "PROGRAMNAME", productName, 2)) return 0;
    Tick();
    if (!writer.WriteElement(line, "PROGRAMVER", productVersion, 2)) return 0;
    Tick();
    if (!writer.EndElement(line, "SYSTEM", 1)) return 0;
    Advance(progressBase, progressBase + 100);
    return 1;
}

int StatementReport::WriteBasic(XmlWriter& writer, const StDATAINFO* company)
{
    StDATAINFO none{};
    if (company == nullptr) company = &none;
    char line[kLineBytes] = {};
    const std::string companyName(company->szCompanyName,
                                  strnlen(company->szCompanyName, sizeof company->szCompanyName));
    char from[16], to[16];
    std::snprintf(from, sizeof from, "%" PRId32, company->nPeriodStart);
    std::snprintf(to, sizeof to, "%" PRId32, company->nPeriodEnd);

    if (!writer.StartElement(line, "BASIC", 1)) return 0;
    const char* const elements[][2] = {
        {"KOMONSAKINAME", ToFullWidthName(companyName.c_str())}, {"JIGYOUNENDOFROM", from}, {"JIGYOUNENDOTO", to}};
    for (const auto& element : elements) {
        if (!writer.WriteElement(line, element[0], element[1], 2)) return 0;
        Tick();
    }
    if (!writer.EndElement(line, "BASIC", 1)) return 0;
    Advance(progressBase + 100, progressBase + 200);
    return 1;
}

int StatementReport::WriteData(XmlWriter& writer)
{
    char line[kLineBytes] = {};
    if (!writer.StartElement(line, "DATA", 1)) return 0;
    DataWriter data(writer);
    for (auto at = m_statements.begin(); at != m_statements.end(); ++at) {
        cursor = &**at;
        Tick();
        if (!data.Entry(at, m_statements.end())) {
            const StatementEntry* refused = data.Refused();
            if (refused != nullptr) m_refusedName = CarriedText({refused->name, sizeof refused->name});
            return 0;
        }
    }
    cursor = nullptr;
    if (!data.Finish()) return 0;
    if (!writer.EndElement(line, "DATA", 1)) return 0;
    Advance(progressBase + 200, kProgressEnd);
    return 1;
}

const char* StatementReport::RefusedBalanceName() const
{
    return m_refusedName ? m_refusedName->c_str() : nullptr;
}

// A control byte becomes a blank before the mapping, which makes it a full-width one.
const char* StatementReport::ToFullWidthName(const char* text)
{
    const std::string fullWidth = FullWidthCp932(CarriedText(text != nullptr ? text : ""));
    CopyCp932Text(m_fullWidthName, kFullWidthNameBytes + 1, fullWidth.data(), fullWidth.size());
    return m_fullWidthName;
}
