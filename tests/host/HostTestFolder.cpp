#include "tests/host/HostTestFolder.h"

#include <windows.h>

#include <vector>

#include "framework/CodePage.h"
#include "host/standin/HostState.h"

namespace {

const char8_t kHostIni[] =
    u8"; test company\n"
    u8"[connection]\n"
    u8"Initiate = 0\n"
    u8"ExpSysLink = 0\n"
    u8"[user]\n"
    u8"UserId = suzuki\n"
    u8"SelectNo1 = 7\n"
    u8"SelectNo2 = 12\n"
    u8"[folders]\n"
    u8"Output = out\\\n"
    u8"Settings = conf/user\n"
    u8"[data 12]\n"
    u8"DataId = D12\n"
    u8"CompanyName = テスト工業\n"
    u8"PeriodStart = 20020401\n"
    u8"PeriodEnd = 20030331\n"
    u8"InterimFlag = 1\n"
    u8"DataKind = 0\n"
    u8"TaxIncluded = 1\n"
    u8"Accounts = accounts.csv\n"
    u8"Rows = rows.csv\n"
    u8"[data 13]\n"
    u8"DataId = D13\n"
    u8"CompanyName = 過去データ\n"
    u8"PeriodStart = 20010401\n"
    u8"PeriodEnd = 20020331\n"
    u8"DataKind = 99\n"
    u8"Accounts = accounts.csv\n"
    u8"Rows = rows.csv\n";

const char8_t kAccounts[] =
    u8"code,class\n"
    u8"1110000,0\n"
    u8"2110000,1\n"
    u8"3110000,-2\n";

const char8_t kRows[] =
    u8"code,name,exclude1,exclude2,has_sub,balance_side,attributes,debit_excl,debit_incl,credit_excl,credit_incl\n"
    u8"1110000,現金,0,0,0,1,0,100 1.5,110 1.65,0 0.0001,0\n"
    u8"2110000,買掛金,1,2,0,0,0x18000000,,,5 0 0 0 0 0 0 0 0 0 0 0 0 7 9,\n"
    u8"9990000,諸口,0,0,1,2,42,-0.5,,,\n";

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

}  // namespace

std::string U8(const char8_t* text)
{
    return reinterpret_cast<const char*>(text);
}

HostTestFolder::HostTestFolder()
{
    Write(L"host.ini", U8(kHostIni));
    Write(L"accounts.csv", U8(kAccounts));
    Write(L"rows.csv", U8(kRows));
}

void HostTestFolder::Write(const std::wstring& name, const std::string& bytes) const
{
    WriteFileBytes(temp_ / name, bytes);
}

void HostTestFolder::ReplaceLine(const std::wstring& name, int number, const std::string& line) const
{
    std::vector<std::string> lines = SplitLines(ReadFileBytes(temp_ / name));
    lines.at(static_cast<std::size_t>(number - 1)) = line;
    std::string text;
    for (const std::string& each : lines) text += each + "\n";
    Write(name, text);
}

std::string HostTestFolder::Cp932Path() const
{
    std::string path;
    Cp932FromWide(temp_.Path(), path);
    return path;
}

std::string HostTestFolder::Load(standin::HostData& data) const
{
    return standin::LoadHostData(Cp932Path().c_str(), data);
}

std::string HostTestFolder::Load() const
{
    standin::HostData data;
    return Load(data);
}

void ServeHostFolder(const std::wstring& folder, const std::wstring& logPath)
{
    SetEnvironmentVariableW(L"BRIDGE_HOST_DATA", folder.c_str());
    SetEnvironmentVariableW(L"BRIDGE_HOST_LOG", logPath.empty() ? nullptr : logPath.c_str());
    standin::ResetHostForTests();
}
