#include "host/standin/Binding.h"

#include "host/standin/CallLog.h"
#include "host/standin/HostState.h"

namespace standin {

long BindSetMgr(const char* className, ClSetMgr* setMgr, ClSetMgr*& bound)
{
    bound = setMgr;
    const long result = setMgr != nullptr ? 0 : -1;
    CallLogLine(className, "AttachSetMgr").Arg(setMgr != nullptr ? "setmgr" : nullptr).Result(result).Write();
    return result;
}

long BindCompany(const char* className, const char* dataId, char (&current)[16])
{
    const long result = TakeCurrentDataId(dataId, current);
    CallLogLine(className, "SetCurDataID").Arg(dataId).Result(result).Write();
    return result;
}

}  // namespace standin
