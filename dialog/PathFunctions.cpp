#include "dialog/PathFunctions.h"

#include <cstring>
#include <string_view>

#include "framework/CodePage.h"
#include "framework/Folders.h"

namespace {

constexpr size_t kNone = std::string_view::npos;
constexpr size_t kMaxPathText = kPathBufferSize - 1;
constexpr std::string_view kRefusedChars = "/:,;*?\"><|";

std::string_view View(const char* text)
{
    return text ? std::string_view(text) : std::string_view();
}

// The offset of the first single-byte `c` at or after `from`; kNone when there is none.
size_t FindChar(std::string_view text, char c, size_t from = 0)
{
    for (size_t i = 0; i < text.size(); i += Cp932CharLength(text, i))
        if (i >= from && text[i] == c) return i;
    return kNone;
}

size_t FindLastChar(std::string_view text, char c)
{
    size_t found = kNone;
    for (size_t i = 0; i < text.size(); i += Cp932CharLength(text, i))
        if (text[i] == c) found = i;
    return found;
}

// A path cut at its last real `separator`: the text up to and including it (empty when there
// is none) and the text after it (the whole path when there is none).
struct PathSplit {
    CString head;
    CString tail;
};

PathSplit SplitAtLast(const char* path, char separator)
{
    const std::string_view text = View(path);
    const size_t last = FindLastChar(text, separator);
    if (last == kNone) return {CString(), CString(path)};
    return {CString(text.data(), static_cast<int>(last + 1)), CString(text.data() + last + 1)};
}

bool HasDoubleBackslash(std::string_view text, size_t from)
{
    for (size_t i = 0; i < text.size(); i += Cp932CharLength(text, i))
        if (i >= from && text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') return true;
    return false;
}

bool HasRefusedChar(std::string_view text)
{
    for (const char refused : kRefusedChars)
        if (FindChar(text, refused) != kNone) return true;
    return false;
}

// Control characters (0x01-0x1F, 0x7F) have no place in a file name.
bool HasControlChar(std::string_view text)
{
    for (size_t i = 0; i < text.size(); i += Cp932CharLength(text, i)) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) return true;
    }
    return false;
}

bool IsNetworkPath(std::string_view path)
{
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

char FoldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal texts, ASCII letters compared without case; double-byte characters as they are.
bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size();) {
        const size_t length = Cp932CharLength(a, i);
        if (length == 2 ? a.substr(i, 2) != b.substr(i, 2) : FoldCase(a[i]) != FoldCase(b[i])) return false;
        i += length;
    }
    return true;
}

// The length of the root at the start of the path: "X:\" or "\" alone, or "\\server\share\"
// (the whole text when nothing follows the share name); 0 when it has none.
size_t RootLength(std::string_view path)
{
    if (IsNetworkPath(path)) {
        const size_t serverEnd = FindChar(path, '\\', 2);
        if (serverEnd == kNone || serverEnd == 2) return 0;
        const size_t shareEnd = FindChar(path, '\\', serverEnd + 1);
        if (shareEnd == serverEnd + 1) return 0;
        return shareEnd == kNone ? path.size() : shareEnd + 1;
    }
    if (path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\') return 3;
    if (!path.empty() && path[0] == '\\') return 1;
    return 0;
}

// Copies a path into a working buffer; FALSE (and nothing copied) when it is empty or longer
// than the buffer holds: a path is never cut.
bool CopyPath(char (&buffer)[kPathBufferSize], const char* path)
{
    buffer[0] = '\0';
    const std::string_view text = View(path);
    if (text.empty() || text.size() > kMaxPathText) return false;
    CopyCp932Text(buffer, sizeof buffer, text.data(), text.size());
    return true;
}

// A folder in normal form with its trailing backslash, split into root and remainder.
struct RootedFolder {
    char text[kPathBufferSize] = {};
    size_t rootLength = 0;

    bool Load(const char* path)
    {
        if (!CopyPath(text, path) || !NormalizeFolderPath(text) || !AddTrailingBackslash(text, sizeof text))
            return false;
        rootLength = RootLength(text);
        return rootLength != 0;
    }
    std::string_view Root() const { return std::string_view(text, rootLength); }
    std::string_view Remainder() const { return std::string_view(text).substr(rootLength); }
    // The root and the first `length` bytes of the remainder, then a backslash.
    CString Level(size_t length) const
    {
        CString level(text, static_cast<int>(rootLength + length));
        if (!EndsWithCp932Backslash(View(level))) level += "\\";
        return level;
    }
};

}  // namespace

BOOL IsValidPathChars(const char* path)
{
    const std::string_view text = View(path);
    std::string_view checked = text;
    if (IsNetworkPath(text)) {
        if (HasDoubleBackslash(text, 2)) return FALSE;
        checked = text.substr(2);
    } else {
        if (HasDoubleBackslash(text, 0)) return FALSE;
        // A colon belongs only right after a leading drive letter; anywhere else it would
        // name a stream of a file. A digit there is left for the drive check to refuse.
        const bool driveColon =
            text.size() >= 2 && text[1] == ':' && (IsAsciiLetter(text[0]) || IsAsciiDigit(text[0]));
        if (driveColon) checked = text.substr(2);
    }
    return HasRefusedChar(checked) || HasControlChar(checked) ? FALSE : TRUE;
}

BOOL IsValidDrive(const char* path)
{
    const std::string_view text = View(path);
    if (text.empty()) return FALSE;
    if (IsNetworkPath(text)) {
        const size_t serverEnd = FindChar(text, '\\', 2);
        const size_t shareEnd = serverEnd == kNone ? kNone : FindChar(text, '\\', serverEnd + 1);
        if (shareEnd == kNone) return FALSE;
        const CString share(text.data(), static_cast<int>(shareEnd));
        return IsAccessible(share, 6);
    }
    if (HasDoubleBackslash(text, 0)) return FALSE;
    // A path without a drive and its root ("statement.xml", "C:a.xml") would go to whatever
    // folder is current, where nobody looks for the statement.
    if (text.size() < 3 || text[1] != ':' || text[2] != '\\') return FALSE;
    return IsUsableDriveLetter(static_cast<unsigned char>(text[0]), 6);
}

BOOL IsUsableDriveLetter(int letter, int mode)
{
    const int index = (letter >= 'A' && letter <= 'Z') ? letter - 'A' : letter - 'a';
    if (index < 0 || index > 25) return FALSE;
    const char root[] = {static_cast<char>('A' + index), ':', '\\', '\0'};
    switch (GetDriveTypeOf(root)) {
    case DRIVE_UNKNOWN: return FALSE;
    case DRIVE_NO_ROOT_DIR: return TRUE;
    case DRIVE_REMOVABLE:
    case DRIVE_FIXED:
    case DRIVE_REMOTE: return IsAccessible(root, mode);
    case DRIVE_CDROM:
    case DRIVE_RAMDISK: return FALSE;
    default: return TRUE;
    }
}

CString GetFolderPart(const char* path) { return SplitAtLast(path, '\\').head; }
CString GetFileNamePart(const char* path) { return SplitAtLast(path, '\\').tail; }
CString GetDrivePart(const char* path) { return SplitAtLast(path, ':').head; }
CString GetAfterDrivePart(const char* path) { return SplitAtLast(path, ':').tail; }

BOOL IsDbcsPosition(const char* text, size_t index)
{
    const std::string_view view = View(text);
    for (size_t i = 0; i < view.size();) {
        const size_t length = Cp932CharLength(view, i);
        if (length == 2 && (index == i || index == i + 1)) return TRUE;
        if (i > index) break;
        i += length;
    }
    return FALSE;
}

BOOL AddTrailingBackslash(char* text, size_t capacity)
{
    if (!text || !*text) return FALSE;
    const size_t length = std::strlen(text);
    if (EndsWithCp932Backslash(std::string_view(text, length))) return TRUE;
    if (capacity == 0 || length >= capacity - 1) return FALSE;
    text[length] = '\\';
    text[length + 1] = '\0';
    return TRUE;
}

BOOL NormalizeFolderPath(char* path)
{
    if (!path || !*path) return FALSE;
    const std::string_view text(path);
    // The drive ("C:") and the folders up to the last backslash; the rest is a file name.
    const size_t driveLength = text.size() >= 2 && text[1] == ':' && Cp932CharLength(text, 0) == 1 ? 2 : 0;
    const size_t lastBackslash = FindLastChar(text, '\\');
    const size_t keep = (lastBackslash != kNone && lastBackslash >= driveLength) ? lastBackslash + 1 : driveLength;
    if (keep == 0) return FALSE;
    const bool addBackslash = !EndsWithCp932Backslash(text.substr(0, keep)) && keep + 1 <= text.size();
    path[keep] = '\0';
    if (addBackslash) {
        path[keep] = '\\';
        path[keep + 1] = '\0';
    }
    return TRUE;
}

BOOL IsExistingFolder(const char* path)
{
    char folder[kPathBufferSize];
    if (!CopyPath(folder, path) || !NormalizeFolderPath(folder)) return FALSE;
    return IsFolder(folder);
}

BOOL CreateFolderTree(const char* folder)
{
    RootedFolder target;
    if (!target.Load(folder)) return FALSE;

    CString deepestExisting = target.Level(0);
    const std::string_view remainder = target.Remainder();
    for (size_t i = 0; i < remainder.size(); i += Cp932CharLength(remainder, i)) {
        if (remainder[i] != '\\') continue;
        const CString candidate = target.Level(i);
        if (IsExistingFolder(candidate)) {
            deepestExisting = candidate;
        } else if (!CreateFolder(candidate)) {
            RemoveCreatedFolders(candidate, deepestExisting);
            return FALSE;
        }
    }
    return TRUE;
}

BOOL RemoveCreatedFolders(const char* path, const char* stopFolder)
{
    RootedFolder target;
    RootedFolder stop;
    if (!target.Load(path) || !stop.Load(stopFolder)) return FALSE;
    const std::string_view remainder = target.Remainder();
    const std::string_view stopRemainder = stop.Remainder();
    if (!SameIgnoringCase(target.Root(), stop.Root())) return FALSE;
    if (stopRemainder.size() > remainder.size() ||
        !SameIgnoringCase(remainder.substr(0, stopRemainder.size()), stopRemainder))
        return FALSE;

    // Deepest first: each level below the stop folder that exists was made by the attempt.
    for (size_t k = remainder.size(); k-- > 1;) {
        if (remainder[k] != '\\' || IsDbcsPosition(target.text + target.rootLength, k)) continue;
        if (stopRemainder.size() >= k && SameIgnoringCase(stopRemainder.substr(0, k), remainder.substr(0, k)))
            return TRUE;
        const CString candidate = target.Level(k);
        if (IsExistingFolder(candidate) && !RemoveFolder(candidate)) return FALSE;
    }
    return TRUE;
}
