#pragma once
// The test company served by the stand-in host, with its call log, for tests of the stages
// that call the host.

#include <algorithm>
#include <string>
#include <vector>

#include "tests/host/HostTestFolder.h"

// The names of the calls in a call log, one per line, in order.
inline std::vector<std::string> CallNamesIn(const std::wstring& logPath)
{
    std::vector<std::string> names;
    const std::string text = ReadFileBytes(logPath);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        names.push_back(line.substr(0, line.find(' ')));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return names;
}

class ServedTestCompany {
public:
    ServedTestCompany() { Serve(); }
    ~ServedTestCompany() { ServeHostFolder(L""); }

    // Adds lines to host.ini's [faults] section and serves the folder again.
    void Faults(const std::string& lines)
    {
        folder.Write(L"host.ini", ReadFileBytes(folder.Path() + L"\\host.ini") + "[faults]\n" + lines);
        Serve();
    }

    // Replaces the line `from` of host.ini (e.g. "ExpSysLink = 0") with `to` and serves the
    // folder again.
    void ReplaceHostLine(const std::string& from, const std::string& to)
    {
        std::string ini = ReadFileBytes(folder.Path() + L"\\host.ini");
        const std::size_t at = ini.find(from + "\n");
        if (at != std::string::npos) ini.replace(at, from.size(), to);
        folder.Write(L"host.ini", ini);
        Serve();
    }

    void Serve() { ServeHostFolder(folder.Path(), folder.Path() + L"\\calls.log"); }

    std::vector<std::string> CallNames() const { return CallNamesIn(folder.Path() + L"\\calls.log"); }
    // How many times the log holds `call`.
    long CallCount(const std::string& call) const
    {
        const std::vector<std::string> names = CallNames();
        return static_cast<long>(std::count(names.begin(), names.end(), call));
    }

    HostTestFolder folder;
};
