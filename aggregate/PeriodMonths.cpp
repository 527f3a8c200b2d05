#include "aggregate/PeriodMonths.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "host/HostLibrary.h"
#include "host/HostRecords.h"

namespace {

const int32_t kMonthIndexField = 17;
const int16_t kAtLeast = 4;
const int16_t kAtMost = 6;
const int16_t kEqual = 1;
const int16_t kNumberValue = 2;
const int16_t kEndOfList = 0;
const int16_t kAnd = 1;
const int16_t kOr = 2;
const int16_t kInterimPeriod = 15;
const int16_t kYearEndPeriod = 18;

// The month values are written as 16-bit numbers into the items' value fields.
void SetItem(StFINDITEM& item, int16_t comparison, int16_t value, int16_t link)
{
    item.nField = kMonthIndexField;
    item.nOperator = comparison;
    item.nValueType = kNumberValue;
    std::memcpy(&item.nValue, &value, sizeof value);
    item.nConnector = link;
}

int16_t LowerMonthIndex(int16_t from, int16_t first)
{
    if (from == first) return 1;
    if (from > first) return static_cast<int16_t>(from - first + 1);
    return static_cast<int16_t>(from - first + 13);
}

int16_t UpperMonthIndex(int16_t to, int16_t first, int16_t lastMonth, bool wraps)
{
    if (to > lastMonth) return static_cast<int16_t>(to - first + 1);
    return static_cast<int16_t>(to - first + (wraps ? 13 : 1));
}

}  // namespace

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
    return start > 0 && start <= end && static_cast<int64_t>(end) < static_cast<int64_t>(start) + oneYear;
}

bool AreMonthsDistinct(long start, long end, short first, short last)
{
    if (first == 0 || last >= 100 || first != last) return true;
    const auto monthNumber = [](long date) { return static_cast<int64_t>(date / 10000) * 12 + date % 10000 / 100; };
    const int64_t months = monthNumber(end) - monthNumber(start);
    const bool reachesNextMonth = months > 1 || (months == 1 && end % 100 >= start % 100);
    return !reachesNextMonth;
}

// Month numbers are calendar months 1..12; the host wants month indexes of the accounting
// year, and the closing adjustments of the interim and the year end as periods 15 and 18.
void BuildFindConditions(StFINDINFO* out, const StDATAINFO* data, long fromMonth, long toMonth)
{
    short first = 0;
    short lastCode = 0;
    CalcPeriodMonths(data->nPeriodStart, data->nPeriodEnd, &first, &lastCode);
    const int16_t lastMonth = static_cast<int16_t>(lastCode % 100);
    const bool wraps = lastCode / 100 != 0;
    const int16_t from = static_cast<int16_t>(fromMonth);
    const int16_t to = static_cast<int16_t>(toMonth);
    const int16_t upper = UpperMonthIndex(to, first, lastMonth, wraps);

    int last = 1;
    SetItem(out->items[0], kAtLeast, LowerMonthIndex(from, first), kAnd);
    SetItem(out->items[1], kAtMost, upper, kEndOfList);
    if (data->nInterimFlag == 1 && upper == 6) {
        out->items[last].nConnector = kOr;
        SetItem(out->items[++last], kEqual, kInterimPeriod, kEndOfList);
    }
    if (to == lastMonth) {
        out->items[last].nConnector = kOr;
        SetItem(out->items[++last], kEqual, kYearEndPeriod, kEndOfList);
    }
}
