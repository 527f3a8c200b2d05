#pragma once
// One run of an edition's executable, started the way the host product starts it, with the
// stand-in host pointed at a company folder and a call log.

#include <windows.h>

#include <string>

class BridgeProcess {
public:
    BridgeProcess() = default;
    ~BridgeProcess();
    BridgeProcess(const BridgeProcess&) = delete;
    BridgeProcess& operator=(const BridgeProcess&) = delete;

    // Starts `exePath` with `commandLine` (the text after the program name; may be empty) and
    // the stand-in host's data folder and call log. False when the process could not start.
    // A process started earlier by this object is let go of (ended if it still runs).
    bool Start(const std::wstring& exePath, const std::wstring& commandLine,
               const std::wstring& hostDataFolder, const std::wstring& hostLogPath);

    DWORD Id() const { return info_.dwProcessId; }

    // The exit code, or nothing when the process is still running after `timeoutMs`.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);

private:
    void Close();  // lets go of an earlier run's handles, ending it if it still runs

    PROCESS_INFORMATION info_ = {};
};
