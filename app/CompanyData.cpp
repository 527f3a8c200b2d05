// The open company's record, and the user who has it open.

#include "app/CompanyData.h"

#include <cstring>

#include "app/BridgeApp.h"
#include "host/HostLibrary.h"
#include "host/HostRecords.h"

namespace {

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
