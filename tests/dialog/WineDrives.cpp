#include "tests/dialog/WineDrives.h"

#include <windows.h>

#include <winioctl.h>

#include <cwctype>
#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

namespace {

std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
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

namespace {

// Wine's request to its mount manager that defines (or, with type 0 and no path, removes)
// a drive letter; the Unix folder follows the record.
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE(static_cast<ULONG>('m'), 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

bool DefineUnixDrive(char letter, ULONG type, const std::string& unixTarget)
{
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    std::vector<char> request(sizeof(UnixDriveRequest) + (unixTarget.empty() ? 0 : unixTarget.size() + 1), '\0');
    auto* drive = reinterpret_cast<UnixDriveRequest*>(request.data());
    drive->size = static_cast<ULONG>(request.size());
    drive->type = type;
    drive->letter = static_cast<WCHAR>(letter);
    if (!unixTarget.empty()) {
        drive->mountPointOffset = sizeof(UnixDriveRequest);
        unixTarget.copy(request.data() + sizeof(UnixDriveRequest), unixTarget.size());
    }
    const BOOL done = DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()),
                                      nullptr, 0, nullptr, nullptr);
    CloseHandle(manager);
    return done != FALSE;
}

}  // namespace

MappedDrive::MappedDrive(char letter, const std::string& unixTarget, unsigned driveType) : letter_(letter)
{
#ifdef BRIDGE_NO_DRIVE_TESTS
    problem_ = "drive letters are tested by dialog_tests alone";
    return;
#endif
    ready_ = DefineUnixDrive(letter, unixTarget.empty() ? 0 : driveType, unixTarget);
    if (!ready_) problem_ = "Wine's mount manager refused to define the drive";
}

MappedDrive::~MappedDrive()
{
    if (ready_) DefineUnixDrive(letter_, 0, "");
}

MappedShare::MappedShare(const std::string& server, const std::string& share, const std::string& unixTarget)
{
#ifdef BRIDGE_NO_DRIVE_TESTS
    return;  // shares are tested by dialog_tests alone
#endif
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
