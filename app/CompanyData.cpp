// The open company's record and the summation conditions of the chosen months.

#include "app/CompanyData.h"

#include <cstring>

#include "aggregate/PeriodMonths.h"
#include "app/BridgeApp.h"
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

// A walk of the company-data set: the cursor is released however the walk ends, also when a
// host call throws. A release that throws in turn has nothing left to undo.
class DataCursor {
public:
    // A constructor that throws runs no destructor: what it acquired it gives back itself.
    explicit DataCursor(ClSetData& dataSet) : dataSet_(dataSet)
    {
        dataSet_.GetDatCursor(&cursor_);
        try {
            dataSet_.ReadyDat(cursor_, 0);
        } catch (...) {
            Release();
            throw;
        }
    }
    ~DataCursor() { Release(); }
    DataCursor(const DataCursor&) = delete;
    DataCursor& operator=(const DataCursor&) = delete;

    long Id() const { return cursor_; }

private:
    void Release()
    {
        try {
            dataSet_.ReleaseDatCursor(cursor_);
        } catch (...) {
        }
    }

    ClSetData& dataSet_;
    long cursor_ = 0;
};

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

HostUser ReadHostUser()
{
    HostUser result;
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    if (user == nullptr) return result;
    user->GetCurUserID(result.id);
    result.id[sizeof result.id - 1] = '\0';
    user->GetSelectedNo(result.id, &result.selectNo1, &result.selectNo2);
    return result;
}

int CBridgeApp::ReadCompanyInfo(StDATAINFO* out)
{
    if (m_pDataSet == nullptr) {
        m_pDataSet = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(kCompanyDataSet, 1));
    }
    const long selectedNo = ReadHostUser().selectNo2;
    std::memset(out, 0, sizeof *out);
    if (m_pDataSet == nullptr) return 0;

    const DataCursor cursor(*m_pDataSet);
    StDATAINFO record;
    std::memset(&record, 0, sizeof record);
    while (m_pDataSet->WalkDat(&record, cursor.Id()) == 0) {
        if (record.nDataNo == selectedNo) {
            *out = record;
            return 1;
        }
    }
    return 0;
}

// Month numbers are calendar months 1..12; the host wants month indexes of the accounting
// year, and the closing adjustments of the interim and the year end as periods 15 and 18.
void CBridgeApp::BuildFindConditions(StFINDINFO* out, const StDATAINFO* data, long fromMonth, long toMonth)
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
