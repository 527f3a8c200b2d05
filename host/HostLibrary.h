#pragma once

// The host accounting library's classes as the bridge calls them. Results are 32-bit
// (`long`), 0 for success. Objects reached through the singletons belong to the host; the
// bridge creates and deletes only ClAccPeriod and ClRuleKamoku, always with
// `new (std::nothrow)`, so that a failed creation is a null pointer and not an exception.
// Those two classes bring their own allocation functions: the library allocates and frees
// its objects itself, whatever heap the program uses.

#include <windows.h>

#include <cstddef>
#include <new>

#include "host/HostRecords.h"

// Values the bridge passes to ClRuleKamoku::MoveReady: sum by account, no departments,
// the ordinary display, this year's books (no past results).
constexpr long _RuleKamokuSumType_Base = 1;
constexpr long _RuleKamokuSumType_Bmn = 0;
constexpr long _RuleKamokuSumType_Disptype = 0;
constexpr long _RuleKamokuSumType_Past = 0;

// The connection of this program to the host.
class ClAccConnect {
public:
    static ClAccConnect* Inst();

    const char* m_pszCaption = nullptr;   // caption of the host's messages
    HWND m_hOwnerWnd = nullptr;           // owner window of the host's messages

    long SetAppType(long appType);
    long SetUseDataType(long dataType);
    long Initiate();
    long ExpSysLink();                    // 0 go on, 1 cancelled, anything else failed
    long DispMsg(HWND owner, const char* text, const char* caption, UINT style);
    long LogOut();
    long Terminate();
    long Release();

private:
    ClAccConnect() = default;
};

class ClSetMgr;    // the host's set manager; opaque to the bridge
class ClOptLink;   // the host's option link; opaque to the bridge

// A set of the host's data, bound to one company data set by its data id.
class ClSetBase {
public:
    virtual ~ClSetBase();
    long AttachSetMgr(ClSetMgr* setMgr);
    long SetCurDataID(const char* dataId);

protected:
    ClSetBase();
};

// The company data sets (one StDATAINFO per data number).
class ClSetData : public ClSetBase {
public:
    ClSetData();
    long GetDatCursor(long* cursor);
    long ReadyDat(long cursor, long mode);
    long WalkDat(StDATAINFO* record, long cursor);   // 0 record delivered, nonzero no more
    long ReleaseDatCursor(long cursor);
    const StDATAINFO* GetSelectedInfo();             // the open company's record, never null
};

// The accounts of a company.
class ClSetKamoku : public ClSetBase {
public:
    ClSetKamoku();
    long GetCursor(long* cursor);
    long ReadyCursor(long cursor);
    long WalkFind(long cursor, const StFINDITEM* condition, StKAMOKUINFO* found);
    long ReleaseCursor(long cursor);
};

// The consumption-tax settings of a company.
class ClSetShohizei : public ClSetBase {
public:
    ClSetShohizei();
    long Get(StSHOHIZEIINFO* record);
};

// The user signed in to the host and the company data that user has open.
class ClSysUser {
public:
    long GetCurUserID(char* userId /* 65 bytes */);
    long GetSelectedNo(const char* userId, long* no1, long* no2);
};

// The kinds of set ClDataMgr::GetSetObject hands out; the kind fixes the set's class.
enum SetKind : long {
    kAccountSet = 1,       // ClSetKamoku
    kTaxSet = 4,           // ClSetShohizei
    kCompanyDataSet = 5,   // ClSetData
};

class ClDataMgr {
public:
    static ClDataMgr* Inst();
    ClSetBase* GetSetObject(long kind, long flag);   // kind: a SetKind
    ClSetMgr* GetSetMgr();
    ClSysUser* GetSysUserObject();
};

class ClLinkMgr {
public:
    static ClLinkMgr* Inst();
    ClOptLink* GetOptLink();
};

class ClFileMgr {
public:
    static ClFileMgr* Inst();
    // Folder type 0 output, 1 settings. The text is empty or ends in a backslash; when it
    // does not fit `size` bytes the result is nonzero and `path` is empty.
    long GetAppFolderPath(long folderType, char* path, long size);
};

// The host's calendar of an accounting period: which accounting month a date belongs to,
// given the period's closing day.
class ClAccPeriod {
public:
    ClAccPeriod();
    virtual ~ClAccPeriod();
    long SetPeriod(long start, long end);                           // yyyymmdd
    long GetClosingDayByEndDate(long endDate, long mode, short* closingDay);  // 31: month end
    long SetClosingDay(short day);
    long GetAMonthByDate(long date, short* month, long mode);      // calendar month 1..12

    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* object) noexcept;
};

class ClRuleBase {
public:
    virtual ~ClRuleBase();
    long AttachSetMgr(ClSetMgr* setMgr);
    long SetCurDataID(const char* dataId);
    long AttachOptLink(ClOptLink* optLink);

protected:
    ClRuleBase();
};

// The summation rule: delivers a company's account and sub-account rows with their totals.
// After an account row with the sub-account flag come its sub-account rows, then one more
// account-level row of that account.
class ClRuleKamoku : public ClRuleBase {
public:
    ClRuleKamoku();
    ~ClRuleKamoku() override;
    long MoveReady(long sumBase, long sumBmn, long sumDispType, const StFINDINFO* conditions,
                   const void* bmnRecord, long sumPast);
    long GetSumCount(long* count);
    long SetMovePos(long position);
    long MoveNext(StKAMOKUSUMINFO* row);   // 0 row delivered, 5000 no more rows
    long MoveFinish();

    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* object) noexcept;
};
