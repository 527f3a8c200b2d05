#include "tests/e2e/BridgeProcess.h"

#include <vector>

#include "tests/e2e/HostWindow.h"

namespace {

// The child inherits our environment with the two stand-in variables set.
void SetHostEnvironment(const std::wstring& dataFolder, const std::wstring& logPath)
{
    SetEnvironmentVariableW(L"BRIDGE_HOST_DATA", dataFolder.c_str());
    SetEnvironmentVariableW(L"BRIDGE_HOST_LOG", logPath.c_str());
}

}  // namespace

BridgeProcess::~BridgeProcess()
{
    Close();
}

void BridgeProcess::Close()
{
    if (info_.hProcess != nullptr) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    info_ = {};
}

bool BridgeProcess::Start(const std::wstring& exePath, const std::wstring& commandLine,
                          const std::wstring& hostDataFolder, const std::wstring& hostLogPath)
{
    Close();
    SetHostEnvironment(hostDataFolder, hostLogPath);
    std::wstring line = L"\"" + exePath + L"\"";
    if (!commandLine.empty()) line += L" " + commandLine;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    return CreateProcessW(exePath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info_) != FALSE;
}

bool BridgeProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!WaitPumping(info_.hProcess, timeoutMs)) return false;
    return GetExitCodeProcess(info_.hProcess, exitCode) != FALSE;
}
