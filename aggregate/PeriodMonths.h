#pragma once
// The accounting months of a company's period, from the host's period calendar: the run and
// the condition dialog both take them from here.

// Writes the period's first accounting month (1..12) and its last month code (calendar month
// of the end date, plus 100 when the period crosses a year end). A null pointer skips that
// output. Without a host period calendar neither output is written.
void CalcPeriodMonths(long start, long end, short* first, short* last);

// Whether a period's months fit the twelve month slots of the host's rows: it starts no later
// than it ends, and ends before the same day of the month a year after its start (yyyymmdd
// numbers compared, so a year from 29 February runs to 28 February). A zero period, of a
// company record not found, passes.
bool IsExportablePeriod(long start, long end);
