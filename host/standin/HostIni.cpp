#include <cstring>
#include <limits>

#include "framework/CodePage.h"
#include "host/standin/Cp932Text.h"
#include "host/standin/HostDataLoading.h"
#include "host/standin/IniFile.h"
#include "host/standin/ValueText.h"

namespace standin {
namespace {

const std::string kIniName = "host.ini";
constexpr int64_t kLongMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kLongMax = std::numeric_limits<int32_t>::max();
constexpr std::size_t kLongestUserId = 64;
constexpr int64_t kLongestDelayMs = 60000;  // a minute per row is slow enough for anyone
constexpr std::size_t kLongestDataId = sizeof(StDATAINFO::szDataId) - 1;

// Takes the keys of one section. The first problem is kept and later calls do nothing, so
// a section is read top to bottom and asked once at the end; keys nobody asked for are
// refused then, which catches misspelt keys.
class SectionReader {
public:
    explicit SectionReader(const IniSection& section) : section_(section) {}

    void Integer(const char* key, int64_t minimum, int64_t maximum, bool required, int64_t& value)
    {
        const IniEntry* entry = Take(key, required);
        if (entry != nullptr && !ParseInteger(entry->value, minimum, maximum, value)) {
            Refuse(*entry, std::string(key) + " must be a whole number from " + std::to_string(minimum) + " to " +
                               std::to_string(maximum));
        }
    }

    void Long(const char* key, bool required, long& value)
    {
        int64_t wide = value;
        Integer(key, kLongMin, kLongMax, required, wide);
        value = static_cast<long>(wide);
    }

    void Text(const char* key, bool required, std::string& utf8)
    {
        const IniEntry* entry = Take(key, required);
        if (entry != nullptr) utf8 = entry->value;
    }

    // Text as the host hands it over; `longest` 0 means no limit.
    void HostText(const char* key, bool required, std::size_t longest, std::string& cp932)
    {
        const IniEntry* entry = Take(key, required);
        if (entry == nullptr) return;
        if (!Cp932FromUtf8(entry->value, cp932)) {
            Refuse(*entry, std::string(key) + " has a character without a code page 932 form");
        } else if (longest != 0 && cp932.size() > longest) {
            Refuse(*entry, std::string(key) + " is longer than " + std::to_string(longest) + " bytes");
        }
    }

    void Refuse(const IniEntry& entry, const std::string& what) { Refuse(entry.line, what); }

    void Refuse(int line, const std::string& what)
    {
        if (refusal_.empty()) refusal_ = RefusalAt(kIniName, line, what);
    }

    const IniEntry* Take(const char* key, bool required)
    {
        taken_.push_back(key);
        if (!refusal_.empty()) return nullptr;
        const IniEntry* entry = section_.Find(key);
        if (entry == nullptr && required) Refuse(section_.line, "[" + section_.name + "] has no " + key);
        return entry;
    }

    std::string Finish()
    {
        if (!refusal_.empty()) return refusal_;
        for (const IniEntry& entry : section_.entries) {
            if (WasTaken(entry.key)) continue;
            return RefusalAt(kIniName, entry.line, "unknown key " + entry.key + " in [" + section_.name + "]");
        }
        return "";
    }

private:
    bool WasTaken(const std::string& key) const
    {
        for (const std::string& taken : taken_) {
            if (taken == key) return true;
        }
        return false;
    }

    const IniSection& section_;
    std::vector<std::string> taken_;
    std::string refusal_;
};

// "out\" against data folder "Z:/tmp/x" gives "Z:\tmp\x\out\".
std::string ResolveFolder(const std::string& dataFolder, const std::string& folder)
{
    if (folder.empty()) return "";
    std::string resolved = folder;
    if (!IsAbsolutePath(folder)) {
        resolved = dataFolder;
        if (!resolved.empty() && !EndsWithCp932Backslash(resolved) && resolved.back() != '/') resolved += '\\';
        resolved += folder;
    }
    // '/' (0x2F) is never the second byte of a double-byte character.
    for (char& c : resolved) {
        if (c == '/') c = '\\';
    }
    if (!EndsWithCp932Backslash(resolved)) resolved += '\\';
    return resolved;
}

std::string ReadConnection(const IniSection& section, HostData& data)
{
    SectionReader reader(section);
    reader.Long("Initiate", false, data.initiateResult);
    reader.Long("ExpSysLink", false, data.expSysLinkResult);
    reader.HostText("ReceivingProgram", false, 0, data.receivingProgram);
    return reader.Finish();
}

std::string ReadUser(const IniSection& section, HostData& data)
{
    SectionReader reader(section);
    reader.HostText("UserId", true, kLongestUserId, data.userId);
    reader.Long("SelectNo1", true, data.selectNo1);
    reader.Long("SelectNo2", true, data.selectNo2);
    return reader.Finish();
}

std::string ReadFolders(const IniSection& section, const std::string& dataFolder, HostData& data)
{
    SectionReader reader(section);
    const char* const keys[2] = {"Output", "Settings"};
    for (int type = 0; type < 2; ++type) {
        std::string folder;
        reader.HostText(keys[type], false, 0, folder);
        data.appFolders[type] = ResolveFolder(dataFolder, folder);
    }
    return reader.Finish();
}

// "fail" makes the creation fail; "ok" (or no key) leaves it alone.
void ReadCreationFault(SectionReader& reader, const char* key, bool& fail)
{
    const IniEntry* entry = reader.Take(key, false);
    if (entry == nullptr) return;
    if (entry->value != "fail" && entry->value != "ok") reader.Refuse(*entry, std::string(key) + " must be fail or ok");
    fail = entry->value == "fail";
}

// "MoveNext = row status": at that 1-based row MoveNext returns the status instead of the row.
void ReadMoveNextFault(SectionReader& reader, HostFaults& faults)
{
    const IniEntry* entry = reader.Take("MoveNext", false);
    if (entry == nullptr) return;
    const std::size_t blank = entry->value.find_first_of(" \t");
    int64_t row = 0;
    int64_t status = 0;
    const bool ok = blank != std::string::npos && ParseInteger(entry->value.substr(0, blank), 1, kLongMax, row) &&
                    ParseInteger(Trimmed(entry->value.substr(blank)), kLongMin, kLongMax, status);
    if (!ok || status == 0) {
        reader.Refuse(*entry, "MoveNext must be a row number from 1 and a nonzero status, e.g. 3 -1");
        return;
    }
    faults.moveNextRow = static_cast<long>(row);
    faults.moveNextStatus = static_cast<long>(status);
}

// "SumCount = n": GetSumCount succeeds with a count of n, whatever the rows are.
void ReadSumCount(SectionReader& reader, HostFaults& faults)
{
    const IniEntry* entry = reader.Take("SumCount", false);
    if (entry == nullptr) return;
    int64_t count = 0;
    if (!ParseInteger(entry->value, kLongMin, kLongMax, count)) {
        reader.Refuse(*entry, "SumCount must be a whole number from " + std::to_string(kLongMin) + " to " +
                                  std::to_string(kLongMax));
        return;
    }
    faults.sumCount = static_cast<long>(count);
}

// "Throw = Class::Operation [N]": that call (only its Nth one when N is given) does its work,
// is logged, and then throws. Creating and deleting objects cannot throw (the program relies
// on new (std::nothrow) and on delete).
void ReadThrowFault(SectionReader& reader, HostFaults& faults)
{
    const IniEntry* entry = reader.Take("Throw", false);
    if (entry == nullptr) return;
    const std::size_t blank = entry->value.find_first_of(" \t");
    const std::string call = entry->value.substr(0, blank);
    const std::size_t colons = call.find("::");
    const bool named = colons != std::string::npos && colons > 0 && colons + 2 < call.size();
    const std::string operation = named ? call.substr(colons + 2) : "";
    int64_t number = 0;
    const bool numbered = blank == std::string::npos ||
                          ParseInteger(Trimmed(entry->value.substr(blank)), 1, kLongMax, number);
    if (!named || operation == "new" || operation == "delete" || !numbered) {
        reader.Refuse(*entry, "Throw must name a host call as Class::Operation, e.g. ClSysUser::GetCurUserID, "
                              "and may add which of its calls throws, from 1");
        return;
    }
    faults.throwingCall = call;
    faults.throwingCallNumber = static_cast<long>(number);
}

std::string ReadFaults(const IniSection& section, HostFaults& faults)
{
    SectionReader reader(section);
    ReadCreationFault(reader, "RuleCreation", faults.failRuleCreation);
    ReadCreationFault(reader, "PeriodCreation", faults.failPeriodCreation);
    reader.Long("GetSumCount", false, faults.getSumCountStatus);
    ReadSumCount(reader, faults);
    reader.Long("SetMovePos", false, faults.setMovePosStatus);
    ReadMoveNextFault(reader, faults);
    reader.Long("TaxGet", false, faults.taxGetStatus);
    ReadThrowFault(reader, faults);
    return reader.Finish();
}

// "Class::Operation = ms" slows that call, named as in the call log; "MoveNext = ms" is
// ClRuleKamoku::MoveNext. A key that names no call is refused as unknown.
std::string ReadTiming(const IniSection& section, HostTiming& timing)
{
    SectionReader reader(section);
    for (const IniEntry& entry : section.entries) {
        const std::string call = entry.key == "MoveNext" ? "ClRuleKamoku::MoveNext" : entry.key;
        const std::size_t colons = call.find("::");
        if (colons == std::string::npos || colons == 0 || colons + 2 >= call.size()) continue;
        int64_t delay = 0;
        reader.Integer(entry.key.c_str(), 0, kLongestDelayMs, false, delay);
        timing.delayMsByCall[call] = static_cast<long>(delay);
    }
    return reader.Finish();
}

void ReadPeriod(SectionReader& reader, StDATAINFO& record)
{
    int64_t start = 0;
    int64_t end = 0;
    reader.Integer("PeriodStart", 0, kLongMax, true, start);
    reader.Integer("PeriodEnd", 0, kLongMax, true, end);
    const IniEntry* startEntry = reader.Take("PeriodStart", false);
    const IniEntry* endEntry = reader.Take("PeriodEnd", false);
    if (startEntry != nullptr && !IsCalendarDate(static_cast<long>(start))) {
        reader.Refuse(*startEntry, "PeriodStart is not a date written yyyymmdd");
    } else if (endEntry != nullptr && !IsCalendarDate(static_cast<long>(end))) {
        reader.Refuse(*endEntry, "PeriodEnd is not a date written yyyymmdd");
    } else if (endEntry != nullptr && end < start) {
        reader.Refuse(*endEntry, "PeriodEnd lies before PeriodStart");
    }
    record.nPeriodStart = static_cast<int32_t>(start);
    record.nPeriodEnd = static_cast<int32_t>(end);
}

std::string ReadCompany(const IniSection& section, long dataNo, CompanyBooks& company, CompanyTableNames& tables)
{
    std::memset(&company.record, 0, sizeof company.record);
    std::memset(&company.taxRecord, 0, sizeof company.taxRecord);
    StDATAINFO& record = company.record;
    record.nDataNo = dataNo;

    SectionReader reader(section);
    std::string dataId;
    std::string name;
    reader.HostText("DataId", true, kLongestDataId, dataId);
    if (const IniEntry* entry = reader.Take("DataId", false); entry != nullptr && dataId.empty()) {
        reader.Refuse(*entry, "DataId is empty");
    }
    reader.HostText("CompanyName", true, 0, name);
    ReadPeriod(reader, record);
    int64_t interim = 0;
    int64_t kind = 0;
    int64_t taxIncluded = 0;
    reader.Integer("InterimFlag", kLongMin, kLongMax, false, interim);
    reader.Integer("DataKind", std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max(), false, kind);
    reader.Integer("TaxIncluded", 0, 255, false, taxIncluded);
    reader.Text("Accounts", true, tables.accounts);
    reader.Text("Rows", true, tables.rows);
    tables.line = section.line;

    CopyCp932Text(record.szDataId, sizeof record.szDataId, dataId.data(), dataId.size());
    CopyCp932Text(record.szCompanyName, sizeof record.szCompanyName, name.data(), name.size());
    record.nInterimFlag = static_cast<int32_t>(interim);
    record.nDataKind = static_cast<int16_t>(kind);
    company.taxRecord.bTaxIncluded = static_cast<uint8_t>(taxIncluded);
    return reader.Finish();
}

// "data 3" gives 3.
bool CompanyNumber(const std::string& sectionName, long& dataNo)
{
    if (sectionName.compare(0, 5, "data ") != 0) return false;
    int64_t number = 0;
    if (!ParseInteger(Trimmed(sectionName.substr(5)), kLongMin, kLongMax, number)) return false;
    dataNo = static_cast<long>(number);
    return true;
}

std::string AddCompany(const IniSection& section, long dataNo, HostData& data, std::vector<CompanyTableNames>& tables)
{
    CompanyBooks company;
    CompanyTableNames names;
    const std::string refusal = ReadCompany(section, dataNo, company, names);
    if (!refusal.empty()) return refusal;
    if (data.FindByDataNo(dataNo) != nullptr) {
        return RefusalAt(kIniName, section.line, "data number " + std::to_string(dataNo) + " is given twice");
    }
    if (data.FindByDataId(company.record.szDataId) != nullptr) {
        return RefusalAt(kIniName, section.line, "DataId is the same as another company's");
    }
    data.companies.push_back(std::move(company));
    tables.push_back(std::move(names));
    return "";
}

std::string ReadSection(const IniSection& section, const std::string& dataFolder, HostData& data,
                        std::vector<CompanyTableNames>& tables)
{
    long dataNo = 0;
    if (section.name == "connection") return ReadConnection(section, data);
    if (section.name == "user") return ReadUser(section, data);
    if (section.name == "folders") return ReadFolders(section, dataFolder, data);
    if (section.name == "faults") return ReadFaults(section, data.faults);
    if (section.name == "timing") return ReadTiming(section, data.timing);
    if (CompanyNumber(section.name, dataNo)) return AddCompany(section, dataNo, data, tables);
    return RefusalAt(kIniName, section.line, "unknown section [" + section.name + "]");
}

}  // namespace

bool IsAbsolutePath(const std::string& path)
{
    const bool driveLetter = path.size() >= 2 && path[1] == ':' &&
                             ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return driveLetter || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

std::string ReadHostIni(const std::wstring& iniPath, const std::string& dataFolder, HostData& data,
                        std::vector<CompanyTableNames>& tables)
{
    std::vector<TextLine> lines;
    std::string refusal = ReadTextLines(iniPath, kIniName, lines);
    std::vector<IniSection> sections;
    if (refusal.empty()) refusal = ParseIni(lines, kIniName, sections);
    bool hasUser = false;
    for (const IniSection& section : sections) {
        if (!refusal.empty()) break;
        refusal = ReadSection(section, dataFolder, data, tables);
        hasUser = hasUser || section.name == "user";
    }
    if (refusal.empty() && !hasUser) refusal = kIniName + ": no [user] section";
    return refusal;
}

}  // namespace standin
