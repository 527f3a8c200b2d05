#pragma once

// Everything the stand-in host serves, as loaded from its data folder. The records are
// built at load time exactly as the host hands them over (code page 932 text, amounts in
// ten-thousandths of a yen), so that serving them is a copy.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/HostRecords.h"

namespace standin {

// One company data set with its books.
struct CompanyBooks {
    StDATAINFO record{};
    StSHOHIZEIINFO taxRecord{};
    std::vector<StKAMOKUINFO> accounts;        // in file order; codes are unique
    std::unordered_map<int32_t, std::size_t> accountByCode;   // position in accounts
    std::vector<StKAMOKUSUMINFO> rows;         // the summation rule's rows, in file order

    // Adds an account at the end, indexed by its code; false, with nothing added, when the
    // code is taken.
    bool AddAccount(const StKAMOKUINFO& account);
};

// Host calls made to fail on purpose. Statuses of 0 mean no fault.
struct HostFaults {
    bool failRuleCreation = false;             // new (std::nothrow) ClRuleKamoku gives null
    bool failPeriodCreation = false;           // new (std::nothrow) ClAccPeriod gives null
    long getSumCountStatus = 0;
    std::optional<long> sumCount;              // the count GetSumCount reports in place of the rows'
    long setMovePosStatus = 0;
    long moveNextRow = 0;                      // 1-based row at which MoveNext returns moveNextStatus
    long moveNextStatus = 0;
    long taxGetStatus = 0;                     // ClSetShohizei::Get
    std::string throwingCall;                  // "Class::Operation" that throws instead of returning
    long throwingCallNumber = 0;               // only its Nth call throws; 0: every call
    mutable long throwingCallsMade = 0;        // calls of throwingCall so far, counted as they are made
};

// Slowed host calls, so that a person (or a picture) can see a run's progress window, and a
// run can be made to last.
struct HostTiming {
    std::map<std::string, long> delayMsByCall; // "Class::Operation" (as in the call log) waits this long at each call
};

struct HostData {
    long initiateResult = 0;
    long expSysLinkResult = 0;
    std::string receivingProgram;              // code page 932; replaces ES_APRPACKAGENAME when not empty
    std::string userId;                        // code page 932, at most 64 bytes
    long selectNo1 = 0;
    long selectNo2 = 0;                        // data number of the company the user has open
    std::string appFolders[2];                 // 0 output, 1 settings: code page 932, empty or ending in '\'
    std::vector<CompanyBooks> companies;       // in the order of host.ini
    HostFaults faults;
    HostTiming timing;

    const CompanyBooks* FindByDataId(const char* dataId) const;
    const CompanyBooks* FindByDataNo(long dataNo) const;
};

// Reads the data folder (code page 932 path). Returns "" when everything was taken, else
// the refusal in code page 932, naming the file and the line ("rows.csv line 7: ...");
// `data` is then incomplete and must not be served.
std::string LoadHostData(const char* folder, HostData& data);

}  // namespace standin
