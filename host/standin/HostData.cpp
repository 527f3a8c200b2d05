#include "host/standin/HostData.h"

#include <windows.h>

#include <cstring>

#include "framework/CodePage.h"
#include "host/standin/Cp932Text.h"
#include "host/standin/HostDataLoading.h"
#include "host/standin/TextFile.h"
#include "host/standin/Utf8.h"

namespace standin {
namespace {

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty()) return name;
    const wchar_t last = folder.back();
    return (last == L'\\' || last == L'/') ? folder + name : folder + L'\\' + name;
}

// A table named in host.ini: absolute as written, else in the data folder.
std::wstring TablePath(const std::wstring& folder, const std::string& utf8Name)
{
    std::wstring name;
    WideFromUtf8(utf8Name, name);   // host.ini was checked to be UTF-8
    return IsAbsolutePath(utf8Name) ? name : JoinPath(folder, name);
}

std::string CheckTableExists(const std::wstring& path, const std::string& name, int iniLine)
{
    if (name.empty()) return RefusalAt("host.ini", iniLine, "a table file name is empty");
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return "";
    return RefusalAt("host.ini", iniLine, "table file " + name + " not found");
}

std::string ReadCompanyTables(const std::wstring& folder, const CompanyTableNames& names, CompanyBooks& company)
{
    const std::wstring accountsPath = TablePath(folder, names.accounts);
    const std::wstring rowsPath = TablePath(folder, names.rows);
    std::string refusal = CheckTableExists(accountsPath, names.accounts, names.line);
    if (refusal.empty()) refusal = CheckTableExists(rowsPath, names.rows, names.line);
    if (refusal.empty()) refusal = ReadAccountsTable(accountsPath, names.accounts, company);
    if (refusal.empty()) refusal = ReadRowsTable(rowsPath, names.rows, company.rows);
    return refusal;
}

// Refusals may quote what the file held; a character without a code page 932 form shows as '?'.
std::string Cp932Refusal(const std::string& utf8)
{
    std::wstring wide;
    if (!WideFromUtf8(utf8, wide)) return "host data refused";
    std::string cp932;
    Cp932FromWide(wide, cp932);
    return cp932;
}

}  // namespace

bool CompanyBooks::AddAccount(const StKAMOKUINFO& account)
{
    if (!accountByCode.try_emplace(account.nCode, accounts.size()).second) return false;
    accounts.push_back(account);
    return true;
}

const CompanyBooks* HostData::FindByDataId(const char* dataId) const
{
    if (dataId == nullptr) return nullptr;
    for (const CompanyBooks& company : companies) {
        if (std::strncmp(company.record.szDataId, dataId, sizeof company.record.szDataId) == 0) return &company;
    }
    return nullptr;
}

const CompanyBooks* HostData::FindByDataNo(long dataNo) const
{
    for (const CompanyBooks& company : companies) {
        if (company.record.nDataNo == dataNo) return &company;
    }
    return nullptr;
}

std::string LoadHostData(const char* folder, HostData& data)
{
    data = HostData{};
    const std::string folderText = folder != nullptr ? folder : "";
    const std::wstring wideFolder = WideFromCp932(folderText);
    const std::wstring iniPath = JoinPath(wideFolder, L"host.ini");
    if (::GetFileAttributesW(iniPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return Cp932Refusal("host.ini: file not found in " + Utf8FromCp932(folderText));
    }
    std::vector<CompanyTableNames> tables;
    std::string refusal = ReadHostIni(iniPath, folderText, data, tables);
    for (std::size_t i = 0; refusal.empty() && i < data.companies.size(); ++i) {
        refusal = ReadCompanyTables(wideFolder, tables[i], data.companies[i]);
    }
    return refusal.empty() ? "" : Cp932Refusal(refusal);
}

}  // namespace standin
