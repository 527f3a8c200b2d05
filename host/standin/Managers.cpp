// The host's managers: the user, the sets, the option link and the application folders.

#include <cstring>

#include "framework/CodePage.h"
#include "host/HostLibrary.h"
#include "host/standin/CallLog.h"
#include "host/standin/Cp932Text.h"
#include "host/standin/HostState.h"

using standin::CallLogLine;

// The bridge only passes these along; the stand-in needs nothing inside them.
class ClSetMgr {};
class ClOptLink {};

namespace {

constexpr long kFailed = -1;
constexpr std::size_t kUserIdBuffer = 65;

}  // namespace

long ClSysUser::GetCurUserID(char* userId)
{
    const standin::HostData* data = standin::ServedData();
    const long result = (userId != nullptr && data != nullptr) ? 0 : kFailed;
    if (result == 0) CopyCp932Text(userId, kUserIdBuffer, data->userId.data(), data->userId.size());
    CallLogLine line("ClSysUser::GetCurUserID");
    line.Result(result);
    if (result == 0) line.Arg(userId);
    line.Write();
    return result;
}

// The numbers are the signed-in user's; another user id has none.
long ClSysUser::GetSelectedNo(const char* userId, long* no1, long* no2)
{
    const standin::HostData* data = standin::ServedData();
    const bool known = userId != nullptr && data != nullptr && data->userId == userId;
    const long result = (known && no1 != nullptr && no2 != nullptr) ? 0 : kFailed;
    if (result == 0) {
        *no1 = data->selectNo1;
        *no2 = data->selectNo2;
    }
    CallLogLine line("ClSysUser::GetSelectedNo");
    line.Arg(userId).Result(result);
    if (result == 0) line.Arg(*no1).Arg(*no2);
    line.Write();
    return result;
}

ClDataMgr* ClDataMgr::Inst()
{
    static ClDataMgr manager;
    return &manager;
}

ClSetBase* ClDataMgr::GetSetObject(long kind, long flag)
{
    static ClSetKamoku accounts;
    static ClSetShohizei tax;
    static ClSetData companies;
    ClSetBase* set = nullptr;
    if (kind == kAccountSet) set = &accounts;
    else if (kind == kTaxSet) set = &tax;
    else if (kind == kCompanyDataSet) set = &companies;
    CallLogLine("ClDataMgr::GetSetObject").Arg(kind).Arg(flag).Raw(set != nullptr ? "" : " -> (null)").Write();
    return set;
}

ClSetMgr* ClDataMgr::GetSetMgr()
{
    static ClSetMgr setMgr;
    CallLogLine("ClDataMgr::GetSetMgr").Write();
    return &setMgr;
}

ClSysUser* ClDataMgr::GetSysUserObject()
{
    static ClSysUser user;
    CallLogLine("ClDataMgr::GetSysUserObject").Write();
    return &user;
}

ClLinkMgr* ClLinkMgr::Inst()
{
    static ClLinkMgr manager;
    return &manager;
}

ClOptLink* ClLinkMgr::GetOptLink()
{
    static ClOptLink optLink;
    CallLogLine("ClLinkMgr::GetOptLink").Write();
    return &optLink;
}

ClFileMgr* ClFileMgr::Inst()
{
    static ClFileMgr manager;
    return &manager;
}

long ClFileMgr::GetAppFolderPath(long folderType, char* path, long size)
{
    const standin::HostData* data = standin::ServedData();
    long result = kFailed;
    if (path != nullptr && size > 0) {
        path[0] = '\0';
        const bool known = data != nullptr && (folderType == 0 || folderType == 1);
        const std::string* folder = known ? &data->appFolders[folderType] : nullptr;
        // A path cut short would name another folder: it is handed over whole or not at all.
        if (folder != nullptr && folder->size() < static_cast<std::size_t>(size)) {
            std::memcpy(path, folder->c_str(), folder->size() + 1);
            result = 0;
        }
    }
    CallLogLine line("ClFileMgr::GetAppFolderPath");
    line.Arg(folderType).Result(result);
    if (result == 0) line.Arg(path);
    line.Write();
    return result;
}
