#include "aggregate/BalanceAggregator.h"

#include "host/HostLibrary.h"

BalanceAggregator::~BalanceAggregator()
{
    ReleaseRule();
}

// The summation of the host rows is not built yet: the run goes on with an empty statement.
int BalanceAggregator::Aggregate(int /*taxMode*/, const StFINDINFO* /*conditions*/,
                                 const StDATAINFO* /*company*/)
{
    progressWindow->Advance(0, 500);
    return 1;
}

void BalanceAggregator::ReleaseRule()
{
    delete rule;
    rule = nullptr;
}
