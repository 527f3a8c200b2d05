#include "dialog/MonthRange.h"

bool IsMonthRangeAccepted(long fromMonth, long toMonth, short first, short last)
{
    if (toMonth < 1 || toMonth > 12) return false;
    const long start = first;
    const long end = last % 100;
    const bool crossesYearEnd = last >= 100;
    if (!crossesYearEnd) {
        if (fromMonth < start || toMonth > end) return false;
        if (start >= 1 && end <= 12 && fromMonth > toMonth) return false;
        return true;
    }
    if (fromMonth >= 1 && fromMonth <= end && (toMonth < fromMonth || toMonth > end)) return false;
    if (fromMonth > end && fromMonth < start) return false;
    if (toMonth > end && toMonth < start) return false;
    return true;
}
