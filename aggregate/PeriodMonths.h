#pragma once
// The accounting months of a company's period, from the host's period calendar: the run and
// the condition dialog both take them from here, and the run asks the host for the chosen
// months' rows in those terms.

struct StDATAINFO;
struct StFINDINFO;

// Writes the period's first accounting month (1..12) and its last month code (calendar month
// of the end date, plus 100 when the period crosses a year end). A null pointer skips that
// output. Without a host period calendar neither output is written.
void CalcPeriodMonths(long start, long end, short* first, short* last);

// Whether a period's months fit the twelve month slots of the host's rows: it starts no later
// than it ends, and ends before the same day of the month a year after its start (yyyymmdd
// numbers compared, so a year from 29 February runs to 28 February). A zero period, of a
// company record not found, is no period and does not pass.
bool IsExportablePeriod(long start, long end);

// Whether the period's months, `first` and `last` as CalcPeriodMonths gives them, name each
// accounting month of the period once. A period that reaches the same day of the next
// calendar month or later, but starts and ends in the same accounting month, wraps around
// the year: its first and last months would fall into one month slot. Months of 0 (no
// period calendar) give nothing to tell by and pass.
bool AreMonthsDistinct(long start, long end, short first, short last);

// Writes into `out` the conditions that select the rows of the calendar months `fromMonth` to
// `toMonth` (1..12) of the company `data`, with the closing adjustments of the interim and the
// year end where the range reaches them. Items after the last one written are left as they are.
void BuildFindConditions(StFINDINFO* out, const StDATAINFO* data, long fromMonth, long toMonth);
