#include "tests/dialog/WineDrives.h"

#include <windows.h>

#include <cwctype>
#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

namespace {

const wchar_t kDrivesKey[] = L"Software\\Wine\\Drives";

std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
}

std::wstring DriveValueName(char letter)
{
    return std::wstring(1, static_cast<wchar_t>(letter)) + L":";
}

}  // namespace

// Wine starts a Unix program without a handle to wait on: the command leaves a marker file
// that tells how it ended.
bool RunUnixShell(const std::string& command)
{
    static int counter = 0;
    const std::string marker = "/tmp/bridge-shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++counter);
    const std::string wrapped = "(" + command + ") && touch " + marker + ".ok || touch " + marker + ".failed";
    std::wstring line = L"/bin/sh -c \"" + WideFromUtf8(wrapped) + L"\"";
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);

    const std::wstring ok = WideFromUtf8("Z:" + marker + ".ok");
    const std::wstring failed = WideFromUtf8("Z:" + marker + ".failed");
    for (int i = 0; i < 400; ++i) {
        if (GetFileAttributesW(ok.c_str()) != INVALID_FILE_ATTRIBUTES) return DeleteFileW(ok.c_str()), true;
        if (GetFileAttributesW(failed.c_str()) != INVALID_FILE_ATTRIBUTES) return DeleteFileW(failed.c_str()), false;
        Sleep(25);
    }
    return false;
}

std::string WinePrefixFolder()
{
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"WINEPREFIX", value, 1024);
    return length > 0 && length < 1024 ? Utf8FromWide(value) : std::string();
}

std::string UnixPathOf(const std::wstring& windowsPath)
{
    const std::string prefix = WinePrefixFolder();
    if (prefix.empty() || windowsPath.size() < 2 || windowsPath[1] != L':') return std::string();
    const char letter = static_cast<char>(towlower(windowsPath[0]));
    std::string path = prefix + "/dosdevices/" + std::string(1, letter) + ":" + Utf8FromWide(windowsPath.substr(2));
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

MappedDrive::MappedDrive(char letter, const std::string& unixTarget, const std::string& type)
    : letter_(letter), type_(type)
{
    const std::string prefix = WinePrefixFolder();
    if (prefix.empty()) {
        problem_ = "not running under Wine (no WINEPREFIX)";
        return;
    }
    const std::string link = prefix + "/dosdevices/" + std::string(1, letter) + ":";
    const std::string command = unixTarget.empty() ? "rm -f " + Quoted(link)
                                                   : "ln -sfn " + Quoted(unixTarget) + " " + Quoted(link);
    if (!RunUnixShell(command)) {
        problem_ = "cannot change " + link;
        return;
    }
    if (!type.empty()) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kDrivesKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
            problem_ = "cannot open HKLM\\Software\\Wine\\Drives";
            return;
        }
        const std::wstring value = WideFromUtf8(type);
        RegSetValueExW(key, DriveValueName(letter).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    ready_ = true;
}

MappedDrive::~MappedDrive()
{
    const std::string prefix = WinePrefixFolder();
    if (prefix.empty()) return;
    RunUnixShell("rm -f " + Quoted(prefix + "/dosdevices/" + std::string(1, letter_) + ":"));
    // The drive type stays in the registry of the build's own prefix: Wine's mount manager
    // takes a type that changes back and forth over only after a while, and a letter
    // without its link is no drive whatever its type.
}

MappedShare::MappedShare(const std::string& server, const std::string& share, const std::string& unixTarget)
{
    const std::string prefix = WinePrefixFolder();
    if (prefix.empty()) return;
    serverFolder_ = prefix + "/dosdevices/unc/" + server;
    ready_ = RunUnixShell("mkdir -p " + Quoted(serverFolder_) + " && ln -sfn " + Quoted(unixTarget) + " " +
                          Quoted(serverFolder_ + "/" + share));
}

MappedShare::~MappedShare()
{
    if (!serverFolder_.empty()) RunUnixShell("rm -rf " + Quoted(serverFolder_));
}

MountedTmpfs::MountedTmpfs(const std::string& unixFolder, int inodes) : folder_(unixFolder)
{
    ready_ = !folder_.empty() &&
             RunUnixShell("mkdir -p " + Quoted(folder_) + " && mount -t tmpfs -o nr_inodes=" + std::to_string(inodes) +
                          ",size=64k tmpfs " + Quoted(folder_));
}

MountedTmpfs::~MountedTmpfs()
{
    if (ready_) RunUnixShell("umount " + Quoted(folder_));
}
