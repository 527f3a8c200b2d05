#pragma once
// A copy of the sample company in a fresh temporary folder, with the stand-in host's call log
// beside it.

#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

class CompanyFolder {
public:
    CompanyFolder();

    // Sets `key` in `[section]` of the company's host.ini, adding the line when it is missing.
    void SetHostValue(const std::string& section, const std::string& key, const std::string& value);

    // The host calls the run made, one UTF-8 line each.
    std::vector<std::string> CallLines() const;

    std::wstring OutputFolder() const { return temp_ / L"out"; }
    std::wstring Root() const { return temp_.Path(); }
    const std::wstring& DataFolder() const { return data_; }
    const std::wstring& LogPath() const { return log_; }

private:
    TempFolder temp_;
    std::wstring data_;
    std::wstring log_;
};
