// The host's accounting calendar. A period's months end on its closing day; a date after
// the closing day belongs to the next month. Closing day 31 (or any day past the end of a
// month) means the month's last day.

#include "host/HostLibrary.h"
#include "host/standin/CallLog.h"
#include "host/standin/HostState.h"
#include "host/standin/ObjectState.h"
#include "host/standin/ValueText.h"

using standin::CallLogLine;

namespace {

constexpr long kFailed = -1;
constexpr short kMonthEnd = 31;

int YearOf(long date) { return static_cast<int>(date / 10000); }
int MonthOf(long date) { return static_cast<int>(date % 10000 / 100); }
int DayOf(long date) { return static_cast<int>(date % 100); }

// What a calendar keeps between calls.
struct CalendarState {
    long start = 0;
    long end = 0;
    short closingDay = kMonthEnd;
};

standin::StateTable<CalendarState>& Calendars()
{
    static standin::StateTable<CalendarState> calendars;
    return calendars;
}

// The closing day of a period that ends on `endDay`, the last day of its month, told by the
// day before its start: a day inside its month (not the month's last) at or after `endDay` is
// the closing day; anything else, or no period set, is month end.
short ClosingDayBeforeStart(long start, int endDay)
{
    const int dayBefore = DayOf(start) - 1;
    return dayBefore >= endDay ? static_cast<short>(dayBefore) : kMonthEnd;
}

}  // namespace

ClAccPeriod::ClAccPeriod()
{
    Calendars().Of(this);
}

ClAccPeriod::~ClAccPeriod()
{
    Calendars().Forget(this);
}

void* ClAccPeriod::operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    const standin::HostData* data = standin::ServedData();
    const bool fail = data == nullptr || data->faults.failPeriodCreation;
    void* object = fail ? nullptr : ::operator new(size, std::nothrow);
    CallLogLine("ClAccPeriod::new").Raw(object != nullptr ? " -> created" : " -> (null)").Write();
    return object;
}

void ClAccPeriod::operator delete(void* object) noexcept
{
    if (object == nullptr) return;
    CallLogLine("ClAccPeriod::delete").Write();
    ::operator delete(object);
}

long ClAccPeriod::SetPeriod(long start, long end)
{
    const bool valid = standin::IsCalendarDate(start) && standin::IsCalendarDate(end) && start <= end;
    if (valid) {
        CalendarState& calendar = Calendars().Of(this);
        calendar.start = start;
        calendar.end = end;
    }
    const long result = valid ? 0 : kFailed;
    CallLogLine("ClAccPeriod::SetPeriod").Arg(start).Arg(end).Result(result).Write();
    return result;
}

// A period that ends on a month's last day closes at month end (31); one that ends on the
// 20th closes on the 20th of every month. The last day of a short month leaves the day open
// (28 February ends a month closing on the 28th as well as one closing at month end): then
// the day before the period's start, the previous period's last day, tells. A period from
// 2024/02/29 to 2025/02/28 closes on the 28th, as 2024/02/28 is not a month end.
long ClAccPeriod::GetClosingDayByEndDate(long endDate, long mode, short* closingDay)
{
    const bool valid = closingDay != nullptr && standin::IsCalendarDate(endDate);
    if (valid) {
        const int day = DayOf(endDate);
        const bool lastDay = day == standin::DaysInMonth(YearOf(endDate), MonthOf(endDate));
        *closingDay = lastDay ? ClosingDayBeforeStart(Calendars().Of(this).start, day) : static_cast<short>(day);
    }
    const long result = valid ? 0 : kFailed;
    CallLogLine line("ClAccPeriod::GetClosingDayByEndDate");
    line.Arg(endDate).Arg(mode).Result(result);
    if (valid) line.Arg(*closingDay);
    line.Write();
    return result;
}

long ClAccPeriod::SetClosingDay(short day)
{
    const bool valid = day >= 1 && day <= kMonthEnd;
    if (valid) Calendars().Of(this).closingDay = day;
    const long result = valid ? 0 : kFailed;
    CallLogLine("ClAccPeriod::SetClosingDay").Arg(day).Result(result).Write();
    return result;
}

// The accounting month is named by the calendar month in which it closes.
long ClAccPeriod::GetAMonthByDate(long date, short* month, long mode)
{
    const bool valid = month != nullptr && standin::IsCalendarDate(date);
    if (valid) {
        const int calendarMonth = MonthOf(date);
        const int daysInMonth = standin::DaysInMonth(YearOf(date), calendarMonth);
        const short closingDay = Calendars().Of(this).closingDay;
        const int closing = closingDay < daysInMonth ? closingDay : daysInMonth;
        const bool afterClosing = DayOf(date) > closing;
        *month = static_cast<short>(afterClosing ? calendarMonth % 12 + 1 : calendarMonth);
    }
    const long result = valid ? 0 : kFailed;
    CallLogLine line("ClAccPeriod::GetAMonthByDate");
    line.Arg(date).Arg(mode).Result(result);
    if (valid) line.Arg(*month);
    line.Write();
    return result;
}
