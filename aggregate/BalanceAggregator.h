#pragma once
// Sums, for every account and sub-account row the host's summation rule delivers, the closing
// balance at the end of the chosen months and appends one statement entry per kept row.

#include <cstdint>

#include "aggregate/ProgressSink.h"
#include "aggregate/StatementList.h"

class ClRuleKamoku;
struct StDATAINFO;
struct StFINDINFO;
struct StKAMOKUSUMINFO;

class BalanceAggregator {
public:
    // The aggregation reports its steps to `progress` and appends to `statements`; both outlive it.
    BalanceAggregator(ProgressSink& progress, StatementList& statements)
        : m_progress(progress), m_statements(statements)
    {
    }
    virtual ~BalanceAggregator();
    BalanceAggregator(const BalanceAggregator&) = delete;
    BalanceAggregator& operator=(const BalanceAggregator&) = delete;

    // 1 when the rows were read to their end, 0 when the run failed. Any sum or difference of
    // a balance that reaches the money limit raises AmountOverflow; the rows appended before it
    // stay in the list.
    int Aggregate(int taxMode, const StFINDINFO* conditions, const StDATAINFO* company);
    // The classification of the account with `code` in the host's account set, -1 when the
    // set holds no such account.
    int16_t LookupAccountClass(int32_t code);
    void ReleaseRule();

    ClRuleKamoku* rule = nullptr;            // owned; created by the first run that needs it

private:
    bool CreateRule();
    long ReadRows(long count, int taxMode, const StFINDINFO& conditions, const StDATAINFO& company);
    bool IsKept(const StKAMOKUSUMINFO& row);

    ProgressSink& m_progress;
    StatementList& m_statements;
};
