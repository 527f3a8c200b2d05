#include "tests/e2e/CompanyFolder.h"

#include <windows.h>

#include <sstream>

CompanyFolder::CompanyFolder() : data_(temp_ / L"company"), log_(temp_ / L"host-calls.log")
{
    CopyFolder(TestEnvironmentFolder(L"BRIDGE_SOURCE_DIR") + L"\\samples", data_);
    CreateDirectoryW(OutputFolder().c_str(), nullptr);
}

void CompanyFolder::SetHostValue(const std::string& section, const std::string& key, const std::string& value)
{
    const std::wstring iniPath = data_ + L"\\host.ini";
    std::istringstream in(ReadFileBytes(iniPath));
    std::string out, line;
    bool inSection = false, done = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            if (inSection && !done) {
                out += key + " = " + value + "\n";
                done = true;
            }
            inSection = (line == "[" + section + "]");
        } else if (inSection && !done && line.rfind(key, 0) == 0 &&
                   line.find_first_not_of(' ', key.size()) == line.find('=', key.size())) {
            line = key + " = " + value;
            done = true;
        }
        out += line + "\n";
    }
    if (!done) out += (inSection ? "" : "[" + section + "]\n") + key + " = " + value + "\n";
    WriteFileBytes(iniPath, out);
}

std::vector<std::string> CompanyFolder::CallLines() const
{
    std::istringstream in(ReadFileBytes(log_));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}
