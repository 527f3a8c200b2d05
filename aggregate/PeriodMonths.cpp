#include "aggregate/PeriodMonths.h"

#include <cstdint>
#include <memory>
#include <new>

#include "host/HostLibrary.h"

void CalcPeriodMonths(long start, long end, short* first, short* last)
{
    short firstMonth = static_cast<short>(start % 10000 / 100);
    short lastMonth = static_cast<short>(end % 10000 / 100);

    // The calendar is deleted however the calls end, also when one of them throws.
    const std::unique_ptr<ClAccPeriod> calendar(new (std::nothrow) ClAccPeriod);
    if (!calendar) return;
    // The host names the accounting month of the start date under the period's closing day.
    short closingDay = 0;
    calendar->SetPeriod(start, end);
    calendar->GetClosingDayByEndDate(end, 0, &closingDay);
    calendar->SetClosingDay(closingDay);
    calendar->GetAMonthByDate(start, &firstMonth, 0);

    if (lastMonth < firstMonth) lastMonth = static_cast<short>(lastMonth + 100);
    if (first != nullptr) *first = firstMonth;
    if (last != nullptr) *last = lastMonth;
}

bool IsExportablePeriod(long start, long end)
{
    const int64_t oneYear = 10000;
    return start <= end && static_cast<int64_t>(end) < static_cast<int64_t>(start) + oneYear;
}
