#pragma once
// Drive letters and network shares of the Wine prefix the tests run in, made and removed by
// the tests themselves: drives through Wine's mount manager, shares as links in the prefix's
// dosdevices\unc folder. Outside Wine (or without the rights) they report failure and
// the tests that need them are skipped, saying why.

#include <string>

// Runs a command of the Unix shell under which Wine runs; true when it exits with 0.
bool RunUnixShell(const std::string& command);
// The prefix's Unix folder ("" outside Wine).
std::string WinePrefixFolder();

// The Unix form of a Windows path, through the drive links of the prefix ("" outside Wine).
std::string UnixPathOf(const std::wstring& windowsPath);

// While it lives, drive `letter` names `unixTarget` with the drive type given (DRIVE_CDROM,
// ...), defined through Wine's mount manager as its configuration tool does; with no target
// the letter names no drive at all. The letter is undefined again at the end.
class MappedDrive {
public:
    MappedDrive(char letter, const std::string& unixTarget, unsigned driveType);
    ~MappedDrive();
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;

    bool Ready() const { return ready_; }
    const std::string& Problem() const { return problem_; }

private:
    char letter_;
    bool ready_ = false;
    std::string problem_;
};

// While it lives, \\server\share names `unixTarget`.
class MappedShare {
public:
    MappedShare(const std::string& server, const std::string& share, const std::string& unixTarget);
    ~MappedShare();
    MappedShare(const MappedShare&) = delete;
    MappedShare& operator=(const MappedShare&) = delete;

    bool Ready() const { return ready_; }

private:
    std::string serverFolder_;
    bool ready_ = false;
};

// While it lives, a small tmpfs is mounted on `unixFolder` (created when missing), with
// room for `inodes` inodes, its root included. Needs root.
class MountedTmpfs {
public:
    MountedTmpfs(const std::string& unixFolder, int inodes);
    ~MountedTmpfs();
    MountedTmpfs(const MountedTmpfs&) = delete;
    MountedTmpfs& operator=(const MountedTmpfs&) = delete;

    bool Ready() const { return ready_; }

private:
    std::string folder_;
    bool ready_ = false;
};
