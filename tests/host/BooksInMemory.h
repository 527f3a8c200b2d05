#pragma once
// The stand-in host's books built in memory, as a test writes its input inline: no data
// folder and nothing parsed. The data folder and its loader have tests of their own.

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "host/standin/HostData.h"

inline constexpr int64_t kYen = 10000;  // the host's amounts are ten-thousandths of a yen

// Amounts of the month slots, slot 0 first, in ten-thousandths of a yen; slots not given are 0.
using SlotAmounts = std::vector<int64_t>;
SlotAmounts Yen(std::initializer_list<int64_t> yen);

// A row of the summation rule named "row<code>": no exclusions, no sub-accounts, no attributes.
// A row without tax-inclusive amounts of its own has the same totals either way, as the host
// hands them over.
StKAMOKUSUMINFO BooksRow(int32_t code, const SlotAmounts& debit, const SlotAmounts& credit, uint8_t balanceSide = 1);
StKAMOKUSUMINFO WithInclusive(StKAMOKUSUMINFO row, const SlotAmounts& debit, const SlotAmounts& credit);

// The company the user has open, D12 with data number 12, with these rows. Codes 1 to 99 are
// accounts of class 0 unless `classes` gives them another; codes only there are accounts too.
standin::HostData OpenCompanyBooks(std::vector<StKAMOKUSUMINFO> rows, const std::map<int32_t, int8_t>& classes = {});

// The host serves `data` from its next call on; the call log goes to `logPath` (empty: none).
void ServeBooks(standin::HostData data, const std::wstring& logPath);
