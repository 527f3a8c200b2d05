#pragma once

// The host accounting library's records, byte for byte as the host lays them out.
// Only the fields the bridge reads or writes carry names; the rest of each record is the
// host's own and is kept as reserved bytes so that every size and offset stays exact.

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// One company data set of the host (one per data number).
struct StDATAINFO {
    char szDataId[16];           // data id text, NUL-terminated
    int32_t nDataNo;             // data number, the key of the user's selection
    uint8_t reservedAt20[4];
    char szCompanyName[260];     // NUL-terminated
    int32_t nPeriodStart;        // first day of the accounting period, yyyymmdd
    int32_t nPeriodEnd;          // last day of the accounting period, yyyymmdd
    uint8_t reservedAt292[12];
    int32_t nInterimFlag;        // 1: the interim closing adjustment is kept in period 15
    uint8_t reservedAt308[18];
    int16_t nDataKind;           // 99: past-results data
    uint8_t reservedAt328[1163];
};

// One condition of a search or a summation. The bridge writes 16-bit values into nValue
// as well; the low 16 bits are then the value.
struct StFINDITEM {
    int32_t nField;              // the tested quantity (17 = accounting month index, 2 = account code)
    uint8_t reservedAt4[2];
    int16_t nOperator;           // 1 equal, 4 at least, 6 at most
    uint8_t reservedAt8[2];
    int16_t nValueType;
    uint8_t reservedAt12[6];
    int32_t nValue;
    uint8_t reservedAt22[8];
    int16_t nConnector;          // 0 last item, 1 and, 2 or
    uint8_t reservedAt32[2];
};

// The summation conditions: up to four items, unused items all zero.
struct StFINDINFO {
    StFINDITEM items[4];
};

// One row of the summation rule: an account or a sub-account with its totals per month slot
// (slot 0 opening, 1-12 the months of the accounting year, 13 period 18, 14 period 15).
// Amounts are ten-thousandths of a yen.
struct StKAMOKUSUMINFO {
    uint8_t reservedAt0[32];
    int32_t nCode;               // account code x 10000 + sub-account code
    uint8_t reservedAt36[33];
    char szName[57];             // NUL-terminated
    uint8_t bExclude1;
    uint8_t bExclude2;
    uint8_t reservedAt128[1];
    uint8_t bHasSub;             // an account row whose sub-account rows follow
    uint8_t bBalanceSide;        // 1 debit side, anything else credit side
    uint8_t reservedAt131[5];
    uint32_t nAttribute;
    uint8_t reservedAt140[12];
    int64_t debitExcl[15];       // debit totals without consumption tax
    int64_t debitIncl[15];       // debit totals with consumption tax
    int64_t creditExcl[15];
    int64_t creditIncl[15];
    uint8_t reservedAt632[4];
};

// One account of the host's account set.
struct StKAMOKUINFO {
    uint8_t reservedAt0[16];
    int32_t nCode;
    uint8_t reservedAt20[92];
    int8_t nClass;               // classification of the account
    uint8_t reservedAt113[95];
};

// The company's consumption-tax settings.
struct StSHOHIZEIINFO {
    uint8_t reservedAt0[5];
    uint8_t bTaxIncluded;        // nonzero: amounts are summed including consumption tax
    uint8_t reservedAt6[6];
};

#pragma pack(pop)

static_assert(sizeof(StDATAINFO) == 1491);
static_assert(offsetof(StDATAINFO, szDataId) == 0);
static_assert(offsetof(StDATAINFO, nDataNo) == 16);
static_assert(offsetof(StDATAINFO, szCompanyName) == 24);
static_assert(offsetof(StDATAINFO, nPeriodStart) == 284);
static_assert(offsetof(StDATAINFO, nPeriodEnd) == 288);
static_assert(offsetof(StDATAINFO, nInterimFlag) == 304);
static_assert(offsetof(StDATAINFO, nDataKind) == 326);

static_assert(sizeof(StFINDITEM) == 34);
static_assert(offsetof(StFINDITEM, nField) == 0);
static_assert(offsetof(StFINDITEM, nOperator) == 6);
static_assert(offsetof(StFINDITEM, nValueType) == 10);
static_assert(offsetof(StFINDITEM, nValue) == 18);
static_assert(offsetof(StFINDITEM, nConnector) == 30);
static_assert(sizeof(StFINDINFO) == 136);

static_assert(sizeof(StKAMOKUSUMINFO) == 636);
static_assert(offsetof(StKAMOKUSUMINFO, nCode) == 32);
static_assert(offsetof(StKAMOKUSUMINFO, szName) == 69);
static_assert(offsetof(StKAMOKUSUMINFO, bExclude1) == 126);
static_assert(offsetof(StKAMOKUSUMINFO, bExclude2) == 127);
static_assert(offsetof(StKAMOKUSUMINFO, bHasSub) == 129);
static_assert(offsetof(StKAMOKUSUMINFO, bBalanceSide) == 130);
static_assert(offsetof(StKAMOKUSUMINFO, nAttribute) == 136);
static_assert(offsetof(StKAMOKUSUMINFO, debitExcl) == 152);
static_assert(offsetof(StKAMOKUSUMINFO, debitIncl) == 272);
static_assert(offsetof(StKAMOKUSUMINFO, creditExcl) == 392);
static_assert(offsetof(StKAMOKUSUMINFO, creditIncl) == 512);

static_assert(sizeof(StKAMOKUINFO) == 208);
static_assert(offsetof(StKAMOKUINFO, nCode) == 16);
static_assert(offsetof(StKAMOKUINFO, nClass) == 112);

static_assert(sizeof(StSHOHIZEIINFO) == 12);
static_assert(offsetof(StSHOHIZEIINFO, bTaxIncluded) == 5);
