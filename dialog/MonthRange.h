#pragma once
// Which to-months the condition dialog accepts for a period.

// `first` and `last` are the period's months as CalcPeriodMonths gives them (the last one
// plus 100 when the period crosses a year end). The to-month must be one of the period's
// months: first to last in one calendar year, first to 12 or 1 to last across a year end.
bool IsMonthRangeAccepted(long fromMonth, long toMonth, short first, short last);
