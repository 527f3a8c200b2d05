#include <cstring>

#include "app/BridgeApp.h"
#include "host/HostRecords.h"

// The open company's record is not looked up yet: the run goes on with a zero record.
int CBridgeApp::ReadCompanyInfo(StDATAINFO* out)
{
    std::memset(out, 0, sizeof *out);
    return 0;
}

// The summation conditions are not built yet: the record stays zero.
void CBridgeApp::BuildFindConditions(StFINDINFO* /*out*/, const StDATAINFO* /*data*/,
                                     long /*fromMonth*/, long /*toMonth*/)
{
}
