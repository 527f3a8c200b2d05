// The open company's record, and the user who has it open.

#include "app/CompanyData.h"

#include <cstring>

#include "app/BridgeApp.h"
#include "host/HostCursor.h"
#include "host/HostLibrary.h"
#include "host/HostRecords.h"

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

    const HostCursor cursor(*m_pDataSet, &ClSetData::GetDatCursor, &ClSetData::ReleaseDatCursor,
                            [](ClSetData& set, long id) { set.ReadyDat(id, 0); });
    if (!cursor.IsHeld()) return 0;
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
