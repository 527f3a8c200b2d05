#pragma once
// The accounting months of a company's period, from the host's period calendar: the run and
// the condition dialog both take them from here.

// Writes the period's first accounting month (1..12) and its last month code (calendar month
// of the end date, plus 100 when the period crosses a year end). A null pointer skips that
// output. Without a host period calendar neither output is written.
void CalcPeriodMonths(long start, long end, short* first, short* last);
