// The host's data sets: company records, accounts and consumption-tax settings, served
// from the loaded data folder. A set works on the company whose data id it was given, or
// on the company the user has open.

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "host/HostLibrary.h"
#include "host/standin/Binding.h"
#include "host/standin/CallLog.h"
#include "host/standin/Cp932Text.h"
#include "host/standin/HostState.h"
#include "host/standin/ObjectState.h"

using standin::CallLogLine;

namespace {

constexpr long kFailed = -1;
constexpr long kNoMoreRecords = 5000;

// Each open cursor with the position of the next record to look at. A few are open at a time
// and the program opens one for every row it looks up: a vector keeps its room.
using OpenCursors = std::vector<std::pair<long, std::size_t>>;

OpenCursors::iterator FindCursor(OpenCursors& cursors, long cursor)
{
    return std::find_if(cursors.begin(), cursors.end(), [cursor](const auto& open) { return open.first == cursor; });
}

// What a set keeps between calls.
struct SetState {
    const char* className = "ClSetBase";  // how the set names itself in the call log
    ClSetMgr* setMgr = nullptr;
    char curDataId[16] = {};              // empty: the company the user has open
    OpenCursors cursors;
    long lastCursor = 0;
};

standin::StateTable<SetState>& SetStates()
{
    static standin::StateTable<SetState> states;
    return states;
}

SetState& StateOf(const ClSetBase* set)
{
    return SetStates().Of(set);
}

long OpenCursor(const ClSetBase* set, const char* call, long* cursor)
{
    CallLogLine line(call);
    if (cursor == nullptr) {
        line.Result(kFailed).Write();
        return kFailed;
    }
    SetState& state = StateOf(set);
    *cursor = ++state.lastCursor;
    state.cursors.emplace_back(*cursor, 0);
    line.Result(0).Arg(*cursor).Write();
    return 0;
}

// Null for an unknown cursor.
std::size_t* CursorPosition(const ClSetBase* set, long cursor)
{
    OpenCursors& cursors = StateOf(set).cursors;
    const auto found = FindCursor(cursors, cursor);
    return found != cursors.end() ? &found->second : nullptr;
}

long RewindCursor(const ClSetBase* set, const char* call, long cursor)
{
    std::size_t* position = CursorPosition(set, cursor);
    if (position != nullptr) *position = 0;
    const long result = position != nullptr ? 0 : kFailed;
    CallLogLine(call).Arg(cursor).Result(result).Write();
    return result;
}

long CloseCursor(const ClSetBase* set, const char* call, long cursor)
{
    OpenCursors& cursors = StateOf(set).cursors;
    const auto found = FindCursor(cursors, cursor);
    const long result = found != cursors.end() ? 0 : kFailed;
    if (found != cursors.end()) cursors.erase(found);
    CallLogLine(call).Arg(cursor).Result(result).Write();
    return result;
}

// The search the bridge makes in the account set: field 2 (account code) equal (1) to a
// number (3).
bool IsAccountCodeSearch(const StFINDITEM& condition)
{
    return condition.nField == 2 && condition.nOperator == 1 && condition.nValueType == 3;
}

}  // namespace

ClSetBase::ClSetBase()
{
    StateOf(this);
}

ClSetBase::~ClSetBase()
{
    SetStates().Forget(this);
}

long ClSetBase::AttachSetMgr(ClSetMgr* setMgr)
{
    SetState& state = StateOf(this);
    return standin::BindSetMgr(state.className, setMgr, state.setMgr);
}

long ClSetBase::SetCurDataID(const char* dataId)
{
    SetState& state = StateOf(this);
    return standin::BindCompany(state.className, dataId, state.curDataId);
}

ClSetData::ClSetData()
{
    StateOf(this).className = "ClSetData";
}

long ClSetData::GetDatCursor(long* cursor)
{
    return OpenCursor(this, "ClSetData::GetDatCursor", cursor);
}

long ClSetData::ReadyDat(long cursor, long mode)
{
    std::size_t* position = CursorPosition(this, cursor);
    if (position != nullptr) *position = 0;
    const long result = position != nullptr ? 0 : kFailed;
    CallLogLine("ClSetData::ReadyDat").Arg(cursor).Arg(mode).Result(result).Write();
    return result;
}

long ClSetData::WalkDat(StDATAINFO* record, long cursor)
{
    const standin::HostData* data = standin::ServedData();
    std::size_t* next = CursorPosition(this, cursor);
    long result = kFailed;
    long deliveredNo = 0;
    if (record != nullptr && data != nullptr && next != nullptr) {
        result = kNoMoreRecords;
        if (*next < data->companies.size()) {
            *record = data->companies[(*next)++].record;
            deliveredNo = record->nDataNo;
            result = 0;
        }
    }
    CallLogLine line("ClSetData::WalkDat");
    line.Arg(cursor).Result(result);
    if (result == 0) line.Arg(deliveredNo);
    line.Write();
    return result;
}

long ClSetData::ReleaseDatCursor(long cursor)
{
    return CloseCursor(this, "ClSetData::ReleaseDatCursor", cursor);
}

const StDATAINFO* ClSetData::GetSelectedInfo()
{
    const StDATAINFO& record = standin::SelectedRecord();
    CallLogLine("ClSetData::GetSelectedInfo").Raw(" -> ").Raw(record.szDataId).Write();
    return &record;
}

ClSetKamoku::ClSetKamoku()
{
    StateOf(this).className = "ClSetKamoku";
}

long ClSetKamoku::GetCursor(long* cursor)
{
    return OpenCursor(this, "ClSetKamoku::GetCursor", cursor);
}

long ClSetKamoku::ReadyCursor(long cursor)
{
    return RewindCursor(this, "ClSetKamoku::ReadyCursor", cursor);
}

long ClSetKamoku::WalkFind(long cursor, const StFINDITEM* condition, StKAMOKUINFO* found)
{
    if (found != nullptr) std::memset(found, 0, sizeof *found);
    const standin::CompanyBooks* company = standin::CompanyFor(StateOf(this).curDataId);
    std::size_t* position = CursorPosition(this, cursor);
    long result = kFailed;
    if (found != nullptr && condition != nullptr && company != nullptr && position != nullptr &&
        IsAccountCodeSearch(*condition)) {
        // Codes are unique: the account is the one the index names, when the cursor has not
        // passed it yet. Either way the cursor ends behind the records looked at.
        result = kNoMoreRecords;
        std::size_t& next = *position;
        const auto hit = company->accountByCode.find(condition->nValue);
        if (hit != company->accountByCode.end() && hit->second >= next) {
            *found = company->accounts[hit->second];
            next = hit->second + 1;
            result = 0;
        } else {
            next = company->accounts.size();
        }
    }
    CallLogLine line("ClSetKamoku::WalkFind");
    line.Arg(cursor).Condition(condition).Result(result);
    if (result == 0) line.Arg(found->nClass);
    line.Write();
    return result;
}

long ClSetKamoku::ReleaseCursor(long cursor)
{
    return CloseCursor(this, "ClSetKamoku::ReleaseCursor", cursor);
}

ClSetShohizei::ClSetShohizei()
{
    StateOf(this).className = "ClSetShohizei";
}

long ClSetShohizei::Get(StSHOHIZEIINFO* record)
{
    const standin::HostData* data = standin::ServedData();
    const standin::CompanyBooks* company = standin::CompanyFor(StateOf(this).curDataId);
    long result = kFailed;
    if (data != nullptr && data->faults.taxGetStatus != 0) {
        result = data->faults.taxGetStatus;
    } else if (record != nullptr && company != nullptr) {
        *record = company->taxRecord;
        result = 0;
    }
    CallLogLine line("ClSetShohizei::Get");
    line.Result(result);
    if (result == 0) line.Arg(record->bTaxIncluded);
    line.Write();
    return result;
}
