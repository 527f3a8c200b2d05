// The summation rule: the company's rows of the rows table, in file order, with all their
// month slots. The host's conditions choose the months for its own reports; the bridge
// picks the slots it needs itself, so the rows go out whole and the conditions are only
// written to the call log.

#include <cstring>

#include "framework/CodePage.h"
#include "host/HostLibrary.h"
#include "host/standin/Binding.h"
#include "host/standin/CallLog.h"
#include "host/standin/Cp932Text.h"
#include "host/standin/HostState.h"
#include "host/standin/ObjectState.h"

using standin::CallLogLine;

namespace {

constexpr long kFailed = -1;
constexpr long kNoMoreRows = 5000;

// What a rule keeps between calls.
struct RuleState {
    const char* className = "ClRuleBase";   // how the rule names itself in the call log
    ClSetMgr* setMgr = nullptr;
    ClOptLink* optLink = nullptr;
    char curDataId[16] = {};
    bool ready = false;
    char readyDataId[16] = {};              // the company whose rows are being read
    std::size_t position = 0;               // index of the next row to deliver
};

standin::StateTable<RuleState>& RuleStates()
{
    static standin::StateTable<RuleState> states;
    return states;
}

RuleState& StateOf(const ClRuleBase* rule)
{
    return RuleStates().Of(rule);
}

}  // namespace

ClRuleBase::ClRuleBase()
{
    StateOf(this);
}

ClRuleBase::~ClRuleBase()
{
    RuleStates().Forget(this);
}

long ClRuleBase::AttachSetMgr(ClSetMgr* setMgr)
{
    RuleState& state = StateOf(this);
    return standin::BindSetMgr(state.className, setMgr, state.setMgr);
}

long ClRuleBase::SetCurDataID(const char* dataId)
{
    RuleState& state = StateOf(this);
    return standin::BindCompany(state.className, dataId, state.curDataId);
}

long ClRuleBase::AttachOptLink(ClOptLink* optLink)
{
    RuleState& state = StateOf(this);
    state.optLink = optLink;
    const long result = optLink != nullptr ? 0 : kFailed;
    CallLogLine(state.className, "AttachOptLink")
        .Arg(optLink != nullptr ? "optlink" : nullptr)
        .Result(result)
        .Write();
    return result;
}

ClRuleKamoku::ClRuleKamoku()
{
    StateOf(this).className = "ClRuleKamoku";
}

ClRuleKamoku::~ClRuleKamoku() = default;

void* ClRuleKamoku::operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    const standin::HostData* data = standin::ServedData();
    const bool fail = data == nullptr || data->faults.failRuleCreation;
    void* object = fail ? nullptr : ::operator new(size, std::nothrow);
    CallLogLine("ClRuleKamoku::new").Raw(object != nullptr ? " -> created" : " -> (null)").Write();
    return object;
}

void ClRuleKamoku::operator delete(void* object) noexcept
{
    if (object == nullptr) return;
    CallLogLine("ClRuleKamoku::delete").Write();
    ::operator delete(object);
}

long ClRuleKamoku::MoveReady(long sumBase, long sumBmn, long sumDispType, const StFINDINFO* conditions,
                             const void* /*bmnRecord*/, long /*sumPast*/)
{
    RuleState& state = StateOf(this);
    const standin::CompanyBooks* company = standin::CompanyFor(state.curDataId);
    state.ready = company != nullptr;
    state.position = 0;
    if (state.ready)
        CopyCp932Text(state.readyDataId, sizeof state.readyDataId, company->record.szDataId, sizeof company->record.szDataId);
    const long result = state.ready ? 0 : kFailed;
    CallLogLine("ClRuleKamoku::MoveReady")
        .Arg(sumBase)
        .Arg(sumBmn)
        .Arg(sumDispType)
        .Raw(standin::ConditionsText(conditions))
        .Result(result)
        .Write();
    return result;
}

long ClRuleKamoku::GetSumCount(long* count)
{
    const standin::HostData* data = standin::ServedData();
    RuleState& state = StateOf(this);
    const standin::CompanyBooks* company = state.ready ? standin::CompanyFor(state.readyDataId) : nullptr;
    long result = kFailed;
    if (count != nullptr) *count = 0;
    if (data != nullptr && data->faults.getSumCountStatus != 0) {
        result = data->faults.getSumCountStatus;
    } else if (count != nullptr && data != nullptr && data->faults.sumCount) {
        *count = *data->faults.sumCount;
        result = 0;
    } else if (count != nullptr && company != nullptr) {
        *count = static_cast<long>(company->rows.size());
        result = 0;
    }
    CallLogLine line("ClRuleKamoku::GetSumCount");
    line.Result(result);
    if (result == 0) line.Arg(*count);
    line.Write();
    return result;
}

long ClRuleKamoku::SetMovePos(long position)
{
    const standin::HostData* data = standin::ServedData();
    RuleState& state = StateOf(this);
    const standin::CompanyBooks* company = state.ready ? standin::CompanyFor(state.readyDataId) : nullptr;
    long result = kFailed;
    if (data != nullptr && data->faults.setMovePosStatus != 0) {
        result = data->faults.setMovePosStatus;
    } else if (company != nullptr && position >= 0 && static_cast<std::size_t>(position) <= company->rows.size()) {
        state.position = static_cast<std::size_t>(position);
        result = 0;
    }
    CallLogLine("ClRuleKamoku::SetMovePos").Arg(position).Result(result).Write();
    return result;
}

long ClRuleKamoku::MoveNext(StKAMOKUSUMINFO* row)
{
    const standin::HostData* data = standin::ServedData();
    RuleState& state = StateOf(this);
    const standin::CompanyBooks* company = state.ready ? standin::CompanyFor(state.readyDataId) : nullptr;
    long result = kFailed;
    const bool faultyRow = data != nullptr && data->faults.moveNextRow != 0 &&
                           state.position + 1 == static_cast<std::size_t>(data->faults.moveNextRow);
    if (faultyRow) {
        result = data->faults.moveNextStatus;
    } else if (row != nullptr && company != nullptr) {
        result = kNoMoreRows;
        if (state.position < company->rows.size()) {
            *row = company->rows[state.position++];
            result = 0;
        }
    }
    CallLogLine line("ClRuleKamoku::MoveNext");
    line.Result(result);
    if (result == 0 && !faultyRow) line.Arg(row->nCode);
    line.Write();
    return result;
}

long ClRuleKamoku::MoveFinish()
{
    RuleState& state = StateOf(this);
    state.ready = false;
    state.position = 0;
    CallLogLine("ClRuleKamoku::MoveFinish").Write();
    return 0;
}
