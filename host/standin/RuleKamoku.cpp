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

using standin::CallLogLine;

namespace {

constexpr long kFailed = -1;
constexpr long kNoMoreRows = 5000;

}  // namespace

ClRuleBase::ClRuleBase(const char* className) : m_pszClassName(className) {}

ClRuleBase::~ClRuleBase() = default;

long ClRuleBase::AttachSetMgr(ClSetMgr* setMgr)
{
    return standin::BindSetMgr(m_pszClassName, setMgr, m_pSetMgr);
}

long ClRuleBase::SetCurDataID(const char* dataId)
{
    return standin::BindCompany(m_pszClassName, dataId, m_szCurDataId);
}

long ClRuleBase::AttachOptLink(ClOptLink* optLink)
{
    m_pOptLink = optLink;
    const long result = optLink != nullptr ? 0 : kFailed;
    CallLogLine(m_pszClassName, "AttachOptLink")
        .Arg(optLink != nullptr ? "optlink" : nullptr)
        .Result(result)
        .Write();
    return result;
}

ClRuleKamoku::ClRuleKamoku() : ClRuleBase("ClRuleKamoku") {}

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
    const standin::CompanyBooks* company = standin::CompanyFor(m_szCurDataId);
    m_bReady = company != nullptr;
    m_nPosition = 0;
    if (m_bReady) CopyCp932Text(m_szReadyDataId, sizeof m_szReadyDataId, company->record.szDataId, sizeof company->record.szDataId);
    const long result = m_bReady ? 0 : kFailed;
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
    const standin::CompanyBooks* company = m_bReady ? standin::CompanyFor(m_szReadyDataId) : nullptr;
    long result = kFailed;
    if (count != nullptr) *count = 0;
    if (data != nullptr && data->faults.getSumCountStatus != 0) {
        result = data->faults.getSumCountStatus;
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
    const standin::CompanyBooks* company = m_bReady ? standin::CompanyFor(m_szReadyDataId) : nullptr;
    long result = kFailed;
    if (data != nullptr && data->faults.setMovePosStatus != 0) {
        result = data->faults.setMovePosStatus;
    } else if (company != nullptr && position >= 0 && static_cast<std::size_t>(position) <= company->rows.size()) {
        m_nPosition = static_cast<std::size_t>(position);
        result = 0;
    }
    CallLogLine("ClRuleKamoku::SetMovePos").Arg(position).Result(result).Write();
    return result;
}

long ClRuleKamoku::MoveNext(StKAMOKUSUMINFO* row)
{
    const standin::HostData* data = standin::ServedData();
    const standin::CompanyBooks* company = m_bReady ? standin::CompanyFor(m_szReadyDataId) : nullptr;
    long result = kFailed;
    const bool faultyRow = data != nullptr && data->faults.moveNextRow != 0 &&
                           m_nPosition + 1 == static_cast<std::size_t>(data->faults.moveNextRow);
    if (faultyRow) {
        result = data->faults.moveNextStatus;
    } else if (row != nullptr && company != nullptr) {
        result = kNoMoreRows;
        if (m_nPosition < company->rows.size()) {
            *row = company->rows[m_nPosition++];
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
    m_bReady = false;
    m_nPosition = 0;
    CallLogLine("ClRuleKamoku::MoveFinish").Write();
    return 0;
}
