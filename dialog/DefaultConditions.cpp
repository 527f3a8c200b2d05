#include "dialog/DefaultConditions.h"

#include <cstring>

#include "dialog/PathFunctions.h"
#include "framework/CodePage.h"
#include "framework/Folders.h"
#include "host/HostLibrary.h"

namespace {

constexpr long kOutputFolderType = 0;
constexpr char kPattern[] = "*.xml";

}  // namespace

int16_t ReadTaxSetting()
{
    ClDataMgr* manager = ClDataMgr::Inst();
    // The kind fixes the class of the set; the host's objects may carry no type information.
    auto* dataSet = static_cast<ClSetData*>(manager->GetSetObject(kCompanyDataSet, 1));
    auto* taxSet = static_cast<ClSetShohizei*>(manager->GetSetObject(kTaxSet, 1));
    if (dataSet == nullptr || taxSet == nullptr) return 0;
    taxSet->AttachSetMgr(manager->GetSetMgr());

    char dataId[sizeof StDATAINFO::szDataId + 1] = {};
    std::memcpy(dataId, dataSet->GetSelectedInfo()->szDataId, sizeof StDATAINFO::szDataId);
    taxSet->SetCurDataID(dataId);

    StSHOHIZEIINFO record;
    std::memset(&record, 0, sizeof record);
    if (taxSet->Get(&record) != 0) std::memset(&record, 0, sizeof record);
    return record.bTaxIncluded != 0 ? 1 : 0;
}

CString DefaultOutputPath()
{
    char folder[kPathBufferSize] = {};
    if (ClFileMgr::Inst()->GetAppFolderPath(kOutputFolderType, folder, sizeof folder) == 0 && folder[0] != '\0') {
        folder[sizeof folder - 1] = '\0';
        CString path(folder);  // the host's folder text ends in its own backslash
        path += kPattern;
        return path;
    }

    CString path = GetTempFolder();
    if (path.IsEmpty()) return CString(kPattern);
    if (!EndsWithCp932Backslash(path.Bytes()) && static_cast<size_t>(path.GetLength()) < kPathBufferSize - 1) {
        path += "\\";
    }
    path += kPattern;
    return path;
}
