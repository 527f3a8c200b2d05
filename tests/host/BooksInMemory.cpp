#include "tests/host/BooksInMemory.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "framework/CodePage.h"
#include "host/standin/HostState.h"

namespace {

void Fill(int64_t (&slots)[15], const SlotAmounts& amounts)
{
    std::fill(std::begin(slots), std::end(slots), 0);
    std::copy_n(amounts.begin(), std::min(amounts.size(), std::size(slots)), slots);
}

}  // namespace

SlotAmounts Yen(std::initializer_list<int64_t> yen)
{
    SlotAmounts amounts;
    for (const int64_t each : yen) amounts.push_back(each * kYen);
    return amounts;
}

StKAMOKUSUMINFO BooksRow(int32_t code, const SlotAmounts& debit, const SlotAmounts& credit, uint8_t balanceSide)
{
    StKAMOKUSUMINFO row;
    std::memset(&row, 0, sizeof row);
    row.nCode = code;
    const std::string name = "row" + std::to_string(code);
    std::memcpy(row.szName, name.c_str(), std::min(name.size(), sizeof row.szName - 1));
    row.bBalanceSide = balanceSide;
    Fill(row.debitExcl, debit);
    Fill(row.creditExcl, credit);
    return WithInclusive(row, debit, credit);
}

StKAMOKUSUMINFO WithInclusive(StKAMOKUSUMINFO row, const SlotAmounts& debit, const SlotAmounts& credit)
{
    Fill(row.debitIncl, debit);
    Fill(row.creditIncl, credit);
    return row;
}

standin::HostData OpenCompanyBooks(std::vector<StKAMOKUSUMINFO> rows, const std::map<int32_t, int8_t>& classes)
{
    standin::HostData data;
    data.selectNo2 = 12;
    standin::CompanyBooks& company = data.companies.emplace_back();
    std::memcpy(company.record.szDataId, "D12", 4);
    company.record.nDataNo = 12;
    company.rows = std::move(rows);
    std::map<int32_t, int8_t> accounts = classes;
    for (int32_t code = 1; code < 100; ++code) accounts.try_emplace(code, 0);
    for (const auto& [code, classification] : accounts) {
        StKAMOKUINFO account;
        std::memset(&account, 0, sizeof account);
        account.nCode = code;
        account.nClass = classification;
        company.AddAccount(account);
    }
    return data;
}

void ServeBooks(standin::HostData data, const std::wstring& logPath)
{
    std::string log;
    Cp932FromWide(logPath, log);
    standin::ServeForTests(std::move(data), log);
}
