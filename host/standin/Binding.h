#pragma once
// What the host's sets and rules have in common: binding to the set manager and to a
// company data set, each call written to the call log under the object's class name.

class ClSetMgr;

namespace standin {

long BindSetMgr(const char* className, ClSetMgr* setMgr, ClSetMgr*& bound);
long BindCompany(const char* className, const char* dataId, char (&current)[16]);

}  // namespace standin
