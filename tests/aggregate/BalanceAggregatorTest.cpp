// The balance aggregation through the real stand-in host: the books of each case built in
// memory, the host's call log read back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "aggregate/BalanceAggregator.h"
#include "aggregate/FixedAmount.h"
#include "host/HostLibrary.h"
#include "tests/host/BooksInMemory.h"
#include "tests/host/ServedTestCompany.h"

namespace {

// Nothrow allocations of a statement entry's size fail once this many more have succeeded
// (negative: never). The aggregation's entries are the only such allocations of a run.
int g_entryAllocationsLeft = -1;

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (size == sizeof(StatementEntry) && g_entryAllocationsLeft >= 0 && g_entryAllocationsLeft-- == 0) {
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

using standin::HostFaults;
using Rows = std::vector<StKAMOKUSUMINFO>;
using Fault = std::function<void(HostFaults&)>;

// Counts what the aggregation asks of the progress window.
class RecordingSink : public ProgressSink {
public:
    void Advance(short from, short to) override { advances.emplace_back(from, to); }
    void Tick() override { ++ticks; }

    std::vector<std::pair<short, short>> advances;
    long ticks = 0;
};

// Rows 1, 2, ... each with an opening debit of its own number in yen.
Rows NumberedRows(int count)
{
    Rows rows;
    for (int code = 1; code <= count; ++code) rows.push_back(BooksRow(code, Yen({code}), {}));
    return rows;
}

// Conditions with the month indexes first..last and, when given, a third item's value.
StFINDINFO Months(int16_t first, int16_t last, int16_t third = 0, int16_t fourth = 0)
{
    StFINDINFO conditions;
    std::memset(&conditions, 0, sizeof conditions);
    conditions.items[0].nValue = first;
    conditions.items[0].nConnector = 1;
    conditions.items[1].nValue = last;
    if (third != 0) {
        conditions.items[1].nConnector = 2;
        conditions.items[2].nValue = third;
    }
    if (fourth != 0) {
        conditions.items[2].nConnector = 2;
        conditions.items[3].nValue = fourth;
    }
    return conditions;
}

StDATAINFO Company(int32_t interimFlag)
{
    StDATAINFO company;
    std::memset(&company, 0, sizeof company);
    company.nInterimFlag = interimFlag;
    return company;
}

class Aggregation : public ::testing::Test {
protected:
    TempFolder folder;
    RecordingSink sink;
    StatementList list;
    BalanceAggregator aggregator{sink, list};

    void TearDown() override
    {
        g_entryAllocationsLeft = -1;
        aggregator.ReleaseRule();
        ServeHostFolder(L"");
    }

    // Serves company D12 with these rows; every code from 1 to 99 is an account of class 0
    // unless `classes` says otherwise. `fault` sets the host's faults.
    void Serve(Rows rows, const std::map<int32_t, int8_t>& classes = {}, const Fault& fault = {}, bool log = true)
    {
        standin::HostData books = OpenCompanyBooks(std::move(rows), classes);
        if (fault) fault(books.faults);
        DeleteFileW(LogPath().c_str());
        ServeBooks(std::move(books), log ? LogPath() : L"");
    }

    // Forgets the last run: its entries, its kept rule and its progress.
    void Reset() { list.RemoveAll(); aggregator.ReleaseRule(); sink.advances.clear(); }

    std::wstring LogPath() const { return folder / L"calls.log"; }

    std::vector<std::string> CallNames() const { return CallNamesIn(LogPath()); }

    long Count(const std::string& call) const
    {
        const std::vector<std::string> names = CallNames();
        return std::count(names.begin(), names.end(), call);
    }

    int Run(const StFINDINFO& conditions, int taxMode = 0, int32_t interimFlag = 0)
    {
        const StDATAINFO company = Company(interimFlag);
        return aggregator.Aggregate(taxMode, &conditions, &company);
    }

    std::vector<int64_t> Balances() const
    {
        std::vector<int64_t> balances;
        for (const auto& entry : list) balances.push_back(entry->balance);
        return balances;
    }

    std::vector<int32_t> Codes() const
    {
        std::vector<int32_t> codes;
        for (const auto& entry : list) codes.push_back(entry->code);
        return codes;
    }
};

// Debits and credits of slots 0..6, in yen: the opening of slots 0..3 is 1,130,000 on the
// debit side, the months 4..6 add 40,000 and take 15,000.
const SlotAmounts kDebits = Yen({1000000, 200000, 0, 50000, 30000, 0, 10000, 777, 777, 777, 777, 777, 777, 777, 777});
const SlotAmounts kCredits = Yen({0, 100000, 20000, 0, 0, 15000, 0, 999, 999, 999, 999, 999, 999, 999, 999});

TEST_F(Aggregation, WorkedExampleOnBothSidesAndInEveryTaxMode)
{
    Serve({WithInclusive(BooksRow(1, kDebits, kCredits, 1), Yen({2000000, 0, 0, 0, 30000}), Yen({0, 0, 0, 0, 0, 5000})),
           BooksRow(2, kDebits, kCredits, 0), BooksRow(3, kDebits, kCredits, 2)});
    // Mode 2 reads the tax-exclusive amounts as mode 0 does; in mode 1 rows 2 and 3 have no
    // inclusive amounts of their own and give the exclusive ones.
    using Mode = std::pair<int, int64_t>;  // tax mode, first row's yen
    for (const auto& [mode, firstYen] : {Mode{0, 1155000}, Mode{2, 1155000}, Mode{1, 2025000}}) {
        list.RemoveAll();
        EXPECT_EQ(Run(Months(4, 6), mode), 1) << "tax mode " << mode;
        EXPECT_EQ(Balances(), (std::vector<int64_t>{firstYen * kYen, -1155000 * kYen, -1155000 * kYen})) << mode;
    }
}

TEST_F(Aggregation, OpeningIsSlotZeroAloneWhenTheRangeStartsAtTheFirstMonth)
{
    Serve({BooksRow(1, Yen({100, 20, 3}), Yen({0, 0, 1}))});
    EXPECT_EQ(Run(Months(1, 1)), 1);
    EXPECT_EQ(Balances(), (std::vector<int64_t>{120 * kYen}));
}

// Slot 13 holds period 18, slot 14 period 15 (with the company's interim flag).
TEST_F(Aggregation, ClosingAdjustmentSlotsCountOnlyWhenTheConditionsAskForThem)
{
    Serve({BooksRow(1, Yen({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1000, 7}), {})});
    struct Case {
        StFINDINFO conditions;
        int32_t interimFlag;
        int64_t yen;
    } cases[] = {
        {Months(1, 6), 1, 7},           // the interim adjustment with a range ending at month 6
        {Months(1, 6), 0, 0},           // not without the company's flag
        {Months(1, 7), 1, 0},           // nor with a range ending later
        {Months(7, 12), 1, 0},          // nor in the opening of a range starting later
        {Months(1, 12, 18), 1, 1000},   // the year-end adjustment asked for third
        {Months(1, 6, 15, 18), 1, 1007},  // a six-month year: the interim third, the year end fourth
        {Months(1, 6, 15, 18), 0, 1000},  // the year end asked for fourth counts without the flag too
        {Months(1, 6, 18, 15), 0, 1000},
    };
    for (const Case& each : cases) {
        list.RemoveAll();
        EXPECT_EQ(Run(each.conditions, 0, each.interimFlag), 1);
        EXPECT_EQ(Balances(), (std::vector<int64_t>{each.yen * kYen}))
            << "months " << each.conditions.items[0].nValue << ".." << each.conditions.items[1].nValue
            << " third " << each.conditions.items[2].nValue << " interim " << each.interimFlag;
    }
}

TEST_F(Aggregation, RowsAreLeftOutByTheirFlagsAndTheirAccountsClassification)
{
    // A row of 5 yen with these flags and attributes.
    const auto marked = [](int32_t code, uint8_t exclude1, uint8_t exclude2, uint32_t attribute,
                           const SlotAmounts& debit = Yen({5})) {
        StKAMOKUSUMINFO row = BooksRow(code, debit, {});
        row.bExclude1 = exclude1;
        row.bExclude2 = exclude2;
        row.nAttribute = attribute;
        return row;
    };
    Serve({marked(11, 1, 0, 0),                 // byte 126
           marked(12, 0, 1, 0),                 // byte 127
           marked(13, 0, 0, 0x08000000),        // attribute bit 27
           marked(14, 0, 0, 0x10000000),        // attribute bit 28
           marked(15, 0, 0, 0x04000000, {}),    // another bit; a zero balance is kept
           marked(150000, 0, 0, 0),             // no such account
           marked(16, 0, 0, 0),                 // class 0
           marked(17, 0, 0, 0),                 // class 1
           marked(18, 0, 0, 0),                 // class 2
           marked(19, 0, 0, 0),                 // class -1
           marked(0, 0, 0, 0),                  // code 0, no such account either
           marked(20, 1, 0, 0, {999999999999999999, kYen})},  // left out: never summed
          {{17, 1}, {18, 2}, {19, -1}});
    EXPECT_EQ(Run(Months(1, 12)), 1);
    EXPECT_EQ(Codes(), (std::vector<int32_t>{15, 16, 17}));
    EXPECT_EQ(sink.ticks, 12) << "left-out rows tick as well";
    EXPECT_EQ(Count("ClSetKamoku::WalkFind"), 7) << "one lookup per row past the three byte and bit filters";
    EXPECT_EQ(Count("ClSetKamoku::GetCursor"), 7);
    EXPECT_EQ(Count("ClSetKamoku::ReleaseCursor"), 7);
}

TEST_F(Aggregation, EntryCarriesTheRowsCodeNameCutToSixteenBytesAndSubAccountFlag)
{
    // Seven single-byte characters and five double-byte ones: the fifth does not fit.
    StKAMOKUSUMINFO row = BooksRow(10000, {123456}, {});
    std::snprintf(row.szName, sizeof row.szName, "%s", "ABCDEFGアイウエオ");
    row.bHasSub = 1;
    Serve({row}, {{10000, 0}});
    EXPECT_EQ(Run(Months(1, 12)), 1);
    ASSERT_EQ(list.GetCount(), 1u);
    const StatementEntry& entry = **list.begin();
    EXPECT_EQ(entry.code, 10000);
    EXPECT_STREQ(entry.name, "ABCDEFGアイウエ");
    EXPECT_EQ(entry.hasSubAccounts, 1);
    EXPECT_EQ(entry.balance, 123456);
}

// The rule is created, bound to the open company, readied, counted, read and deleted, in
// this order.
TEST_F(Aggregation, HostIsDrivenInItsOrderAndTheProgressPlanIsFollowed)
{
    Serve(NumberedRows(2));
    EXPECT_EQ(Run(Months(1, 12)), 1);
    std::vector<std::string> ruleCalls;
    for (const std::string& name : CallNames()) {
        if (name.rfind("ClRuleKamoku::", 0) == 0) ruleCalls.push_back(name.substr(14));
    }
    const std::vector<std::string> order = {"new", "AttachSetMgr", "SetCurDataID", "AttachOptLink", "MoveReady",
                                            "GetSumCount", "SetMovePos", "MoveNext", "MoveNext", "MoveFinish",
                                            "delete"};
    EXPECT_EQ(ruleCalls, order) << "the count is reached: no further MoveNext";
    const std::string log = ReadFileBytes(LogPath());
    EXPECT_NE(log.find("ClRuleKamoku::SetCurDataID D12 -> 0"), std::string::npos) << log;
    EXPECT_NE(log.find("ClRuleKamoku::MoveReady 1 0 0 [0 0 0 1 1][0 0 0 12 0] -> 0"), std::string::npos) << log;
    EXPECT_EQ(aggregator.rule, nullptr);
    const std::vector<std::pair<short, short>> plan = {{0, 100}, {100, 300}, {300, 400}, {400, 500}};
    EXPECT_EQ(sink.advances, plan);
    EXPECT_EQ(sink.ticks, 2);
}

TEST_F(Aggregation, HostWithoutRowsGivesAnEmptyStatement)
{
    Serve({});
    EXPECT_EQ(Run(Months(1, 12)), 1);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(Count("ClRuleKamoku::MoveNext"), 0);
    EXPECT_EQ(Count("ClRuleKamoku::MoveFinish"), 1);
    EXPECT_EQ(sink.advances.back(), (std::pair<short, short>{400, 500}));
}

TEST_F(Aggregation, HostRunningOutOfRowsBeforeItsCountIsANormalEnd)
{
    Serve(NumberedRows(3), {}, [](HostFaults& f) { f.moveNextRow = 3; f.moveNextStatus = 5000; });
    EXPECT_EQ(Run(Months(1, 12)), 1);
    EXPECT_EQ(Codes(), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(Count("ClRuleKamoku::MoveFinish"), 1);
    EXPECT_EQ(aggregator.rule, nullptr);
}

struct FailureCase {
    const char* what;
    Fault fault;
    std::vector<int32_t> kept;
    bool ruleKept;
};

TEST_F(Aggregation, EveryHostFailureFailsTheAggregationAndLeavesWhatWasRead)
{
    const FailureCase cases[] = {
        {"no rule", [](HostFaults& f) { f.failRuleCreation = true; }, {}, false},
        {"GetSumCount -3", [](HostFaults& f) { f.getSumCountStatus = -3; }, {}, true},
        {"SetMovePos -4", [](HostFaults& f) { f.setMovePosStatus = -4; }, {}, true},
        {"MoveNext -7 at row 3", [](HostFaults& f) { f.moveNextRow = 3; f.moveNextStatus = -7; }, {1, 2}, true},
        {"a count of -2", [](HostFaults& f) { f.sumCount = -2; }, {}, true},  // a count that cannot be right
    };
    for (const FailureCase& each : cases) {
        Serve(NumberedRows(3), {}, each.fault);
        EXPECT_EQ(Run(Months(1, 12)), 0) << each.what;
        EXPECT_EQ(Codes(), each.kept) << each.what;
        EXPECT_EQ(aggregator.rule != nullptr, each.ruleKept) << each.what;
        EXPECT_EQ(Count("ClRuleKamoku::MoveFinish"), 0) << each.what;
        EXPECT_NE(sink.advances.back(), (std::pair<short, short>{400, 500})) << each.what;
        Reset();
    }
}

TEST_F(Aggregation, KeptRuleIsUsedAgainWithoutAttachingIt)
{
    Serve(NumberedRows(1), {}, [](HostFaults& f) { f.getSumCountStatus = -3; });
    EXPECT_EQ(Run(Months(1, 12)), 0);
    ASSERT_NE(aggregator.rule, nullptr);
    Serve(NumberedRows(1));
    EXPECT_EQ(Run(Months(1, 12)), 1);
    EXPECT_EQ(Count("ClRuleKamoku::new"), 0) << "the log starts afresh with the second run";
    EXPECT_EQ(Count("ClRuleKamoku::AttachSetMgr"), 0);
    EXPECT_EQ(Count("ClRuleKamoku::MoveReady"), 1);
    EXPECT_EQ(Codes(), (std::vector<int32_t>{1}));
}

TEST_F(Aggregation, ALookupWhoseHostCallThrowsStillReleasesItsCursor)
{
    for (const char* thrown : {"ClSetKamoku::WalkFind", "ClSetKamoku::ReadyCursor"}) {
        Serve(NumberedRows(1), {}, [&](HostFaults& f) { f.throwingCall = thrown; });
        EXPECT_ANY_THROW(Run(Months(1, 12))) << thrown;
        const std::vector<std::string> calls = CallNames();
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls[calls.size() - 2], thrown);
        EXPECT_EQ(calls.back(), "ClSetKamoku::ReleaseCursor") << thrown;
        Reset();
    }
}

TEST_F(Aggregation, FailedEntryAllocationStopsTheRowsWithEarlierEntriesKept)
{
    Serve(NumberedRows(3));
    g_entryAllocationsLeft = 1;
    EXPECT_EQ(Run(Months(1, 12)), 0);
    EXPECT_EQ(Codes(), (std::vector<int32_t>{1}));
    EXPECT_NE(aggregator.rule, nullptr);
    EXPECT_EQ(Count("ClRuleKamoku::MoveFinish"), 0);
    EXPECT_EQ(Count("ClRuleKamoku::MoveNext"), 2);
}

TEST_F(Aggregation, MonthIndexesOutsideTheSlotsReadNoRow)
{
    Serve(NumberedRows(1));
    for (const StFINDINFO& conditions : {Months(-1, 12), Months(1, 15), Months(15, 15), Months(0, -1)}) {
        EXPECT_EQ(Run(conditions), 0);
    }
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(Count("ClRuleKamoku::MoveNext"), 0);
    // Slot 0 and slot 14 are inside: a range of 0..14 reads every slot once.
    EXPECT_EQ(Run(Months(0, 14)), 1);
}

// 10^18 ten-thousandths is 99,999,999,999,999.9999 yen plus 0.0001. The range is months
// 1..3: slot 0 is the opening.
TEST_F(Aggregation, SumReachingTheMoneyLimitRaisesOverflowWithEarlierEntriesKept)
{
    const int64_t most = 999999999999999999;  // 99,999,999,999,999.9999 yen
    const SlotAmounts wrapping = Yen({0, 922337203685477, 922337203685477, 1000000});
    const struct {
        Rows rows;
        std::vector<int32_t> kept;
        const char* what;
    } overflows[] = {
        {{BooksRow(1, Yen({1}), {}), BooksRow(2, {most, 1}, {}), BooksRow(3, Yen({1}), {})}, {1}, "debit side"},
        {{BooksRow(2, {}, {most, 1}, 0)}, {}, "credit side, on the sum of opening and credits"},
        {{BooksRow(2, {0, -1}, {most}, 1)}, {}, "a sum of -10^18"},
        {{BooksRow(2, wrapping, {})}, {}, "months whose sum wraps 64 bits"},
        {{BooksRow(2, {}, wrapping, 0)}, {}, "the same on the credit side"},
        {{BooksRow(2, {}, {most, 1}, 1)}, {}, "the closing's subtraction reaching -10^18"},
        {{BooksRow(2, {most, -kYen}, {-1}, 1)}, {}, "the opening's subtraction reaching 10^18"},
    };
    for (const auto& each : overflows) {
        Serve(each.rows);
        EXPECT_THROW(Run(Months(1, 3)), AmountOverflow) << each.what;
        EXPECT_EQ(Codes(), each.kept) << each.what;
        Reset();
    }
    Serve({BooksRow(2, {most}, {}), BooksRow(3, {}, {most})});
    EXPECT_EQ(Run(Months(1, 3)), 1);
    EXPECT_EQ(Balances(), (std::vector<int64_t>{999999999999999999, -999999999999999999}));
}

TEST_F(Aggregation, EveryRowTheHostCountsIsReadBeyondSixteenBits)
{
    const int rows = 33000;
    Rows table;
    for (int i = 0; i < rows; ++i) table.push_back(BooksRow(1 + i % 90, Yen({1}), {}));
    Serve(table, {}, {}, false);
    EXPECT_EQ(Run(Months(1, 12)), 1);
    EXPECT_EQ(list.GetCount(), static_cast<size_t>(rows));
    EXPECT_EQ(sink.ticks, rows);
}

}  // namespace
