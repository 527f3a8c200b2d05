#pragma once

// The steps of loading the data folder: host.ini first, then each company's two tables.
// Refusals are UTF-8 text here; LoadHostData hands them over in code page 932.

#include <string>
#include <vector>

#include "host/standin/HostData.h"

namespace standin {

// Where a company's tables are, as host.ini names them.
struct CompanyTableNames {
    std::string accounts;      // UTF-8 file name, relative to the data folder or absolute
    std::string rows;
    int line;                  // line of the [data N] header
};

// Fills everything but the tables; `tables` gets one entry per company, in the same order.
std::string ReadHostIni(const std::wstring& iniPath, const std::string& dataFolder, HostData& data,
                        std::vector<CompanyTableNames>& tables);

// Fills the accounts and their index by code.
std::string ReadAccountsTable(const std::wstring& path, const std::string& fileName, CompanyBooks& company);

std::string ReadRowsTable(const std::wstring& path, const std::string& fileName,
                          std::vector<StKAMOKUSUMINFO>& rows);

// A folder or file named in host.ini: absolute as written ("C:\...", "\\server\...", "\..."),
// else relative to the data folder.
bool IsAbsolutePath(const std::string& path);

}  // namespace standin
