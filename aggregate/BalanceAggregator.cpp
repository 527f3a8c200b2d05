#include "aggregate/BalanceAggregator.h"

#include <cstring>
#include <memory>
#include <new>

#include "aggregate/FixedAmount.h"
#include "host/HostCursor.h"
#include "host/HostLibrary.h"
#include "host/HostRecords.h"

namespace {

const long kNoMoreRows = 5000;
const long kEntryAllocationFailed = -1001;
const int kSlots = 15;
const int kYearEndSlot = 13;       // host period 18
const int kInterimSlot = 14;       // host period 15
const int16_t kYearEndPeriod = 18;
const uint32_t kLeftOutAttributes = 0x18000000;

// What the aggregation reads of the conditions: the month indexes of the range and whether
// an item after it asks for the year-end adjustment.
struct MonthRange {
    int first;
    int last;
    bool yearEnd;
};

// The 16-bit value of a condition item, as the conditions were written.
int16_t ValueOf(const StFINDITEM& item)
{
    int16_t value;
    std::memcpy(&value, &item.nValue, sizeof value);
    return value;
}

// The items after the two of the range are linked by their connectors; any of them may ask
// for period 18 (a six-month year with the interim flag asks for period 15 first).
bool AsksForYearEnd(const StFINDINFO& conditions)
{
    const size_t items = sizeof conditions.items / sizeof conditions.items[0];
    for (size_t item = 2; item < items && conditions.items[item - 1].nConnector != 0; ++item) {
        if (ValueOf(conditions.items[item]) == kYearEndPeriod) return true;
    }
    return false;
}

MonthRange RangeOf(const StFINDINFO& conditions)
{
    MonthRange range;
    range.first = ValueOf(conditions.items[0]);
    range.last = ValueOf(conditions.items[1]);
    range.yearEnd = AsksForYearEnd(conditions);
    return range;
}

bool InsideTheSlots(const MonthRange& range)
{
    return range.first >= 0 && range.first < kSlots && range.last >= 0 && range.last < kSlots;
}

// Every step of a balance is checked against the money limit: a sum let past it (or wrapped
// beyond 64 bits) would be written as a plausible, wrong figure. The sums stay in
// ten-thousandths, the host's unit: a FixedAmount a slot would split and join every amount.
struct Totals {
    int64_t debit = 0;
    int64_t credit = 0;

    void Add(const int64_t* debits, const int64_t* credits, int slot)
    {
        debit = FixedAmount::CheckedAddScaled(debit, debits[slot]);
        credit = FixedAmount::CheckedAddScaled(credit, credits[slot]);
    }
};

// The closing balance of a row on its own side, in ten-thousandths: the opening from the slots
// before the range, then the months of the range with the closing adjustments the conditions
// ask for. Raises AmountOverflow when a step reaches the money limit.
int64_t ClosingBalance(const StKAMOKUSUMINFO& row, int taxMode, const MonthRange& range, const StDATAINFO& company)
{
    const bool taxIncluded = taxMode == 1;
    const int64_t* debits = taxIncluded ? row.debitIncl : row.debitExcl;
    const int64_t* credits = taxIncluded ? row.creditIncl : row.creditExcl;
    const bool debitSide = row.bBalanceSide == 1;

    Totals before;
    for (int slot = 0; slot < range.first; ++slot) before.Add(debits, credits, slot);
    const int64_t opening = debitSide ? FixedAmount::CheckedSubtractScaled(before.debit, before.credit)
                                      : FixedAmount::CheckedSubtractScaled(before.credit, before.debit);

    Totals period;
    if (range.yearEnd) period.Add(debits, credits, kYearEndSlot);
    for (int slot = range.first; slot <= range.last; ++slot) period.Add(debits, credits, slot);
    if (company.nInterimFlag == 1 && range.last == 6) period.Add(debits, credits, kInterimSlot);

    const int64_t own = debitSide ? period.debit : period.credit;
    const int64_t other = debitSide ? period.credit : period.debit;
    return FixedAmount::CheckedSubtractScaled(FixedAmount::CheckedAddScaled(opening, own), other);
}

std::unique_ptr<StatementEntry> NewEntry(const StKAMOKUSUMINFO& row, int64_t closing)
{
    std::unique_ptr<StatementEntry> entry(new (std::nothrow) StatementEntry);
    if (!entry) return entry;
    std::memset(entry.get(), 0, sizeof *entry);
    entry->code = row.nCode;
    CopyEntryName(entry->name, row.szName, sizeof row.szName);
    entry->hasSubAccounts = row.bHasSub;
    entry->balance = closing;
    return entry;
}

}  // namespace

BalanceAggregator::~BalanceAggregator()
{
    ReleaseRule();
}

int BalanceAggregator::Aggregate(int taxMode, const StFINDINFO* conditions, const StDATAINFO* company)
{
    // Month indexes outside the 15 slots of a row would read beyond its amounts.
    if (!InsideTheSlots(RangeOf(*conditions))) return 0;
    m_progress.Advance(0, 100);
    if (rule == nullptr && !CreateRule()) return 0;
    m_progress.Advance(100, 300);

    rule->MoveReady(_RuleKamokuSumType_Base, _RuleKamokuSumType_Bmn, _RuleKamokuSumType_Disptype, conditions,
                    nullptr, _RuleKamokuSumType_Past);
    long count = 0;
    // A negative count is no count: an empty statement would pass for the company's books.
    if (rule->GetSumCount(&count) != 0 || count < 0) return 0;
    m_progress.Advance(300, 400);
    if (rule->SetMovePos(0) != 0) return 0;

    const long status = ReadRows(count, taxMode, *conditions, *company);
    if (status != 0 && status != kNoMoreRows) return 0;

    m_progress.Advance(400, 500);
    rule->MoveFinish();
    ReleaseRule();
    return 1;
}

// The rule works on the company the user has open, with the host's set manager and options.
bool BalanceAggregator::CreateRule()
{
    rule = new (std::nothrow) ClRuleKamoku;
    if (rule == nullptr) return false;
    ClDataMgr* dataMgr = ClDataMgr::Inst();
    rule->AttachSetMgr(dataMgr->GetSetMgr());
    auto* dataSet = static_cast<ClSetData*>(dataMgr->GetSetObject(kCompanyDataSet, 1));
    rule->SetCurDataID(dataSet != nullptr ? dataSet->GetSelectedInfo()->szDataId : "");
    rule->AttachOptLink(ClLinkMgr::Inst()->GetOptLink());
    return true;
}

// Every row the host counted is read, one tick each, also those that are left out. Returns
// the status that ended the loop: 0 when the count was reached, 5000 when the host ran out
// of rows first, anything else a failure.
long BalanceAggregator::ReadRows(long count, int taxMode, const StFINDINFO& conditions, const StDATAINFO& company)
{
    const MonthRange range = RangeOf(conditions);
    StKAMOKUSUMINFO row;
    for (long read = 0; read < count; ++read) {
        m_progress.Tick();
        std::memset(&row, 0, sizeof row);
        const long status = rule->MoveNext(&row);
        if (status != 0) return status;
        // A row left out is not summed: its figures, whatever they are, cannot fail the run.
        if (!IsKept(row)) continue;
        const int64_t closing = ClosingBalance(row, taxMode, range, company);
        std::unique_ptr<StatementEntry> entry = NewEntry(row, closing);
        if (!entry || !m_statements.Append(std::move(entry))) return kEntryAllocationFailed;
    }
    return 0;
}

// The filters in the order the host's data asks for them; only the last one costs a call.
bool BalanceAggregator::IsKept(const StKAMOKUSUMINFO& row)
{
    if (row.bExclude1 != 0 || row.bExclude2 != 0) return false;
    if ((row.nAttribute & kLeftOutAttributes) != 0) return false;
    const int16_t accountClass = LookupAccountClass(row.nCode);
    return accountClass == 0 || accountClass == 1;
}

int16_t BalanceAggregator::LookupAccountClass(int32_t code)
{
    auto* accounts = static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(kAccountSet, 1));
    if (accounts == nullptr) return -1;
    StFINDITEM condition;
    std::memset(&condition, 0, sizeof condition);
    condition.nField = 2;        // the account code
    condition.nOperator = 1;     // equal
    condition.nValueType = 3;    // a number
    condition.nValue = code;
    condition.nConnector = 0;    // the last condition
    StKAMOKUINFO found;
    std::memset(&found, 0, sizeof found);
    const HostCursor cursor(*accounts, &ClSetKamoku::GetCursor, &ClSetKamoku::ReleaseCursor,
                            [](ClSetKamoku& set, long id) { set.ReadyCursor(id); });
    if (!cursor.IsHeld()) return -1;
    // Not found, the record stays all zero: a row of code 0 would match it.
    if (accounts->WalkFind(cursor.Id(), &condition, &found) != 0) return -1;
    return found.nCode == code ? found.nClass : -1;
}

void BalanceAggregator::ReleaseRule()
{
    delete rule;
    rule = nullptr;
}
