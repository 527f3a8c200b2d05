#pragma once
// Sums, for every account and sub-account row the host's summation rule delivers, the closing
// balance at the end of the chosen months and appends one statement entry per kept row.

#include "aggregate/ProgressSink.h"
#include "aggregate/StatementList.h"

class ClRuleKamoku;
struct StDATAINFO;
struct StFINDINFO;

class BalanceAggregator {
public:
    BalanceAggregator() = default;
    virtual ~BalanceAggregator();
    BalanceAggregator(const BalanceAggregator&) = delete;
    BalanceAggregator& operator=(const BalanceAggregator&) = delete;

    // 1 when the rows were read to their end, 0 when the run failed.
    int Aggregate(int taxMode, const StFINDINFO* conditions, const StDATAINFO* company);
    void ReleaseRule();

    ProgressSink* progressWindow = nullptr;  // not owned
    StatementList* statementList = nullptr;  // not owned
    ClRuleKamoku* rule = nullptr;            // owned; created by the first run that needs it
};
